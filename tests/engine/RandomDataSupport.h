// Random data sets for the tests that compare two ways of computing the same run: populations at
// five loci, the last one haploid, with missing copies and untyped loci.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

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

} // namespace randomdata
