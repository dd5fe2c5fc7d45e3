// Random data sets for the tests of the runs and simulations: populations at five loci, the last
// one haploid, with missing copies and untyped loci. Also a result table written out in full, to
// compare runs that must find exactly the same.
#pragma once

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/results/ResultTables.h"
#include "tests/engine/MatchTestSupport.h"

namespace randomdata {

// One population per entry of `sizes`, with that many individuals, at five loci. Alleles favour
// one of six per population; `extraAlleles` weighs a seventh that other sets drawn with 0 lack.
inline std::unique_ptr<TPGDSStructure> RandomSet(unsigned seed, const std::vector<int>& sizes,
                                                 int extraAlleles) {
  std::mt19937 random(seed);
  const std::vector<std::string> loci{"L1", "L2", "L3", "L4", "L5"};
  std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> samples;
  for (int p = 0; p < static_cast<int>(sizes.size()); ++p) {
    auto& members =
        samples.emplace_back("P" + std::to_string(p + 1), std::vector<std::vector<std::string>>())
            .second;
    for (int i = 0; i < sizes[static_cast<size_t>(p)]; ++i) {
      std::vector<std::string> genotypes;
      for (int l = 0; l < 5; ++l) {
        std::discrete_distribution<int> allele{1, 1, 1, 1, 1, 1, 1.0 * extraAlleles};
        auto draw = [&] {
          int a = allele(random);
          if (a < 6 && random() % 3 == 0) a = (p + l) % 6;
          return std::to_string(10 + a);
        };
        const unsigned missing = random() % 20;
        std::string g;
        if (l == 4)
          g = missing == 0 ? "" : draw();
        else if (missing == 0)
          g = "";
        else if (missing == 1)
          g = draw() + "/";
        else
          g = draw() + "/" + draw();
        genotypes.push_back(g);
      }
      members.push_back(genotypes);
    }
  }
  return matchtest::Build(matchtest::Raw(loci, samples));
}

// Three populations of `individuals` each.
inline std::unique_ptr<TPGDSStructure> RandomSet(unsigned seed, int individuals, int extraAlleles) {
  return RandomSet(seed, std::vector<int>(3, individuals), extraAlleles);
}

// Every result of `table`: caption, verdicts, loci, rows and ranked rows, numbers to the last bit.
inline std::string TableText(const TTableResultats& table) {
  std::ostringstream out;
  out << std::hexfloat;
  for (int i = 0; i < table.Count(); ++i) {
    const TResultats& r = table.Item(i);
    out << r.Caption << " " << r.WellClassified << r.IsMigrant << " " << r.LikeliestPopulation;
    for (const TLocusSet* loci : {&r.UsedLoci, &r.MissingLoci}) {
      out << " :";
      for (const std::string& name : r.LocusNames(*loci))
        out << " " << name;
    }
    for (int k = 0; k < r.Count; ++k)
      out << " | " << r.Row(k).Value << " " << r.Row(k).Score << " " << r.SortedRow(k).Name << " "
          << r.SortedRow(k).Value << " " << r.SortedRow(k).Score;
    out << "\n";
  }
  return out.str();
}

} // namespace randomdata
