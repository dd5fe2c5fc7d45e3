// Data sets drawn from known populations for the Monte-Carlo tests: every population has known
// allele frequencies at every locus, individuals are diploids drawn from them with a fixed seed,
// and a sample may also hold migrants drawn from another population.
#pragma once

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/engine/MatchTestSupport.h"

namespace simtest {

// Frequencies by locus and allele (allele a is named "a+1").
using TFrequencies = std::vector<std::vector<double>>;

// Differentiated populations: at each locus one of `alleles` alleles dominates, a different one
// in each population, the others share the rest.
inline std::vector<TFrequencies> Populations(int populations, int loci, int alleles,
                                             unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> uniform(0.2, 1.0);
  std::vector<TFrequencies> all(static_cast<size_t>(populations));
  for (int p = 0; p < populations; ++p)
    for (int l = 0; l < loci; ++l) {
      std::vector<double> f(static_cast<size_t>(alleles));
      double sum = 0;
      for (int a = 0; a < alleles; ++a) {
        f[static_cast<size_t>(a)] = uniform(random) + (a == (p + l) % alleles ? 2.0 : 0.0);
        sum += f[static_cast<size_t>(a)];
      }
      for (double& x : f)
        x /= sum;
      all[static_cast<size_t>(p)].push_back(f);
    }
  return all;
}

inline std::string DrawAllele(const std::vector<double>& f, std::mt19937& random) {
  std::discrete_distribution<int> d(f.begin(), f.end());
  return std::to_string(d(random) + 1);
}

// One sample: `residents` individuals drawn from `home`, then `migrants` drawn from `origin`.
struct TSampleDraw {
  std::string Name;
  const TFrequencies* Home;
  int Residents;
  const TFrequencies* Origin = nullptr;
  int Migrants = 0;
};

inline std::unique_ptr<TPGDSStructure> Draw(const std::vector<TSampleDraw>& samples,
                                            unsigned seed) {
  std::mt19937 random(seed);
  const size_t loci = samples.front().Home->size();
  std::vector<std::string> names;
  for (size_t l = 0; l < loci; ++l)
    names.push_back("L" + std::to_string(l + 1));
  std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> raw;
  for (const TSampleDraw& s : samples) {
    auto& individuals = raw.emplace_back(s.Name, std::vector<std::vector<std::string>>()).second;
    for (int i = 0; i < s.Residents + s.Migrants; ++i) {
      const TFrequencies& f = i < s.Residents ? *s.Home : *s.Origin;
      std::vector<std::string> genotypes;
      for (size_t l = 0; l < loci; ++l)
        genotypes.push_back(DrawAllele(f[l], random) + "/" + DrawAllele(f[l], random));
      individuals.push_back(genotypes);
    }
  }
  return matchtest::Build(matchtest::Raw(names, raw));
}

inline std::vector<std::string> LocusNames(const TPGDSStructure& ds) {
  std::vector<std::string> names;
  for (int l = 0; l < ds.LociCount(); ++l)
    names.push_back(ds.LocusAt(l)->Name);
  return names;
}

} // namespace simtest
