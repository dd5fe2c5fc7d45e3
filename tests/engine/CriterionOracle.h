// The criteria computed straight from a plain description of the data (allele names and
// genotypes as lists), with products and powers instead of logarithms and tallies: what the
// engine's kernels are compared with. Also random data sets in that description: missing copies,
// haploid loci, untyped loci and samples, alleles known to one file only.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/Real.h"
#include "engine/common/Match.h"
#include "engine/criteria/Criteria.h"
#include "tests/engine/MatchTestSupport.h"

namespace oracle {

using namespace matchtest;

// ---- expected values, computed from the raw description with products

using TUnit = std::vector<const TRawIndividual*>;

struct TTally {
  std::map<std::string, int> Counts;
  int Genes = 0;
  int Count(const std::string& allele) const {
    auto it = Counts.find(allele);
    return it == Counts.end() ? 0 : it->second;
  }
};

inline TTally Tally(const TUnit& unit, int locus) {
  TTally t;
  if (locus < 0) return t;
  for (const TRawIndividual* ind : unit)
    for (const std::string& a : ind->Loci[static_cast<size_t>(locus)].Alleles) {
      ++t.Counts[a];
      ++t.Genes;
    }
  return t;
}

inline TUnit Members(const TRawSample& s, const TRawIndividual* without = nullptr) {
  TUnit unit;
  for (const TRawIndividual& ind : s.Individuals)
    if (&ind != without) unit.push_back(&ind);
  return unit;
}

inline std::set<std::string> KnownAlleles(const TRawSet& raw, int locus) {
  std::set<std::string> names(raw.Loci[static_cast<size_t>(locus)].Declared.begin(),
                              raw.Loci[static_cast<size_t>(locus)].Declared.end());
  for (const TRawSample& s : raw.Samples)
    for (const TRawIndividual& ind : s.Individuals)
      for (const std::string& a : ind.Loci[static_cast<size_t>(locus)].Alleles)
        names.insert(a);
  return names;
}

inline Extended Factorial(int n) {
  Extended f = 1;
  for (int i = 2; i <= n; ++i)
    f *= i;
  return f;
}

// a (a + 1) ... (a + n - 1) = Γ(a + n) / Γ(a)
inline Extended Rising(Extended a, int n) {
  Extended r = 1;
  for (int i = 0; i < n; ++i)
    r *= a + i;
  return r;
}

inline Extended Size(const TRawLocus& locus, const std::string& allele) {
  auto it = locus.Sizes.find(allele);
  if (it == locus.Sizes.end()) return std::atoi(allele.c_str());
  return it->second.second != 0 ? it->second.second : it->second.first;
}

// The priors of criterion 1, by locus name and allele name.
struct TPriors {
  std::map<std::string, Extended> F, A;
  std::map<std::pair<std::string, std::string>, Extended> Alpha, MeanFrequency;
  Extended GlobalFst = 0;
};

inline TPriors ExpectedPriors(const TRawSet& ref, const TRawSet& target,
                              const std::vector<std::string>& loci,
                              const TRawIndividual* excluded) {
  TPriors priors;
  Extended allNum = 0, allDen = 0;
  for (const std::string& name : loci) {
    const int rl = ref.LocusIndex(name);
    std::set<std::string> alleles = KnownAlleles(ref, rl);
    const std::set<std::string> more = KnownAlleles(target, target.LocusIndex(name));
    alleles.insert(more.begin(), more.end());
    Extended num = 0, den = 0;
    for (const std::string& allele : alleles) {
      Extended A1 = 0, N1 = 0, Q1 = 0, S1 = 0, G = 0, H = 0, D = 0, Q2 = 0, S2 = 0;
      int k1 = 0, k2 = 0;
      for (const TRawSample& s : ref.Samples) {
        int h = 0, c = 0, d = 0, g = 0, m = 0;
        for (const TRawIndividual* ind : Members(s, excluded)) {
          const TRawGenotype& gt = ind->Loci[static_cast<size_t>(rl)];
          const auto copies = std::count(gt.Alleles.begin(), gt.Alleles.end(), allele);
          if (gt.Ploidy == 1 && gt.Alleles.size() == 1) {
            ++h;
            c += static_cast<int>(copies);
          } else if (gt.Ploidy == 2 && gt.Alleles.size() == 2) {
            ++d;
            g += static_cast<int>(copies);
            m += copies == 2;
          }
        }
        if (h > 0) {
          A1 += c, N1 += h, Q1 += Extended(h) * h, S1 += Extended(c) * c / h, ++k1;
        }
        if (d > 0) {
          G += g, H += m, D += d, Q2 += Extended(d) * d, S2 += Extended(g) * g / (2 * d), ++k2;
        }
      }
      if (k1 > 1) {
        const Extended w = (A1 - S1) / (N1 - k1);
        const Extended a = ((S1 - A1 * A1 / N1) / (k1 - 1) - w) / ((N1 - Q1 / N1) / (k1 - 1));
        num += a;
        den += w + a;
      }
      if (k2 > 1) {
        const Extended w = (G / 2 - H) / D;
        const Extended b = (H + G / 2 - S2) / (D - k2);
        const Extended a = ((S2 - G * G / 2 / D) / (k2 - 1) - b) / (2 * (D - Q2 / D) / (k2 - 1));
        num += a;
        den += a + (b - w) / 2 + w;
      }
      priors.MeanFrequency[{name, allele}] = k1 + k2 < 1 ? 0 : (A1 + G) / (2 * D + N1);
    }
    Extended F = den == 0 ? 0 : num / den;
    Extended A = (1 - F) / F;
    if (F <= 0 || F > 1) F = A = 0;
    priors.F[name] = F;
    priors.A[name] = A;
    for (const std::string& allele : alleles)
      priors.Alpha[{name, allele}] = priors.MeanFrequency[{name, allele}] * A;
    allNum += num;
    allDen += den;
  }
  priors.GlobalFst = allNum / allDen;
  return priors;
}

// Every criterion of one population and one unit, computed directly.
struct TExpectation {
  const TRawSet& Ref;
  const TRawSet& Target;
  std::vector<std::string> Loci; // the selection, in match order
  TUnit Pop, Unit;
  const TPriors* Priors = nullptr;

  struct TLocusData {
    std::string Name;
    std::set<std::string> Alleles; // K = every allele known in either file
    std::set<std::string> TargetAlleles;
    TTally PopTally, UnitTally;
    const TRawLocus* RefLocus;
    const TRawLocus* TargetLocus;
  };

  std::vector<TLocusData> Used() const {
    std::vector<TLocusData> used;
    for (const std::string& name : Loci) {
      const int rl = Ref.LocusIndex(name), tl = Target.LocusIndex(name);
      TLocusData d{name,
                   KnownAlleles(Ref, rl),
                   KnownAlleles(Target, tl),
                   Tally(Pop, rl),
                   Tally(Unit, tl),
                   &Ref.Loci[static_cast<size_t>(rl)],
                   &Target.Loci[static_cast<size_t>(tl)]};
      d.Alleles.insert(d.TargetAlleles.begin(), d.TargetAlleles.end());
      if (d.UnitTally.Genes > 0) used.push_back(d);
    }
    return used;
  }

  std::vector<std::string> UsedNames() const {
    std::vector<std::string> names;
    for (const TLocusData& d : Used())
      names.push_back(d.Name);
    return names;
  }

  Extended Dirichlet(int code) const {
    const auto used = Used();
    if (used.empty()) return Undefined();
    Extended L = 1;
    for (const TLocusData& d : used) {
      const int K = static_cast<int>(d.Alleles.size());
      const Extended a = code == 0 ? K : 1;
      const int N = d.PopTally.Genes, X = d.UnitTally.Genes;
      L *= Factorial(X) / Rising(N + a, X);
      for (const std::string& allele : d.Alleles) {
        const int x = d.UnitTally.Count(allele);
        L *= Rising(a / K + d.PopTally.Count(allele), x) / Factorial(x);
      }
    }
    return L;
  }

  Extended Bayes() const {
    const auto used = Used();
    if (used.empty()) return Undefined();
    Extended L = 1;
    for (const TLocusData& d : used) {
      const int N = d.PopTally.Genes, X = d.UnitTally.Genes;
      const Extended A = Priors->A.at(d.Name);
      if (A + N <= 0) return Undefined();
      L *= Factorial(X) / Rising(A + N, X);
      for (const std::string& allele : d.Alleles) {
        const int n = d.PopTally.Count(allele), x = d.UnitTally.Count(allele);
        const Extended alpha = Priors->Alpha.at({d.Name, allele});
        if (n == 0 && alpha <= 0) continue;
        L *= Rising(alpha + n, x) / Factorial(x);
      }
    }
    return L;
  }

  Extended Frequency(Extended defaultFrequency) const {
    const auto used = Used();
    if (used.empty()) return Undefined();
    Extended L = 1;
    for (const TLocusData& d : used) {
      const int N = d.PopTally.Genes, X = d.UnitTally.Genes;
      if (N == 0) return Undefined();
      L *= Factorial(X);
      for (const auto& [allele, x] : d.UnitTally.Counts) {
        const int n = d.PopTally.Count(allele);
        const Extended p = n > 0 ? Extended(n) / N : defaultFrequency;
        L *= std::pow(p, x) / Factorial(x);
      }
    }
    return L;
  }

  // Sum over the loci where both sides have genes of perLocus(q, p, sizes, locus); counted loci.
  template <class F> int Distance(F perLocus) const {
    int counted = 0;
    for (const TLocusData& d : Used()) {
      if (d.PopTally.Genes == 0) continue;
      ++counted;
      std::vector<Extended> q, p, size;
      for (const std::string& allele : d.Alleles) {
        q.push_back(Extended(d.UnitTally.Count(allele)) / d.UnitTally.Genes);
        p.push_back(Extended(d.PopTally.Count(allele)) / d.PopTally.Genes);
        const bool inRef = KnownAlleles(Ref, Ref.LocusIndex(d.Name)).count(allele) > 0;
        size.push_back(Size(inRef ? *d.RefLocus : *d.TargetLocus, allele));
      }
      perLocus(q, p, size);
    }
    return counted;
  }

  Extended Value(int code, Extended defaultFrequency) const {
    if (code == 0 || code == 2) return Dirichlet(code);
    if (code == 1) return Bayes();
    if (code == 3) return Frequency(defaultFrequency);
    Extended jx = 0, jy = 0, jxy = 0, s = 0;
    const int L = Distance([&](const auto& q, const auto& p, const auto& size) {
      Extended c = 0, mx = 0, my = 0, r = 0;
      for (size_t i = 0; i < q.size(); ++i) {
        jx += q[i] * q[i], jy += p[i] * p[i], jxy += q[i] * p[i];
        c += std::sqrt(q[i] * p[i]);
        mx += q[i] * size[i], my += p[i] * size[i];
        r += (q[i] - p[i]) * (q[i] - p[i]);
      }
      switch (code) {
      case 6:
        s += c;
        break;
      case 7:
        s += std::sqrt(2 * (1 - std::min<Extended>(c, 1)));
        break;
      case 8:
        s += (mx - my) * (mx - my);
        break;
      case 10:
        s += std::sqrt(r / 2);
        break;
      }
    });
    if (L == 0) return Undefined();
    switch (code) {
    case 4:
      return jxy == 0 ? Undefined() : -std::log((jxy / L) / std::sqrt(jx / L * jy / L));
    case 5:
      return (jx + jy) / (2 * L) - jxy / L;
    case 6:
      return 1 - s / L;
    case 7:
      return 2 * s / (3.14159265358979323846264338327950288L * L);
    case 8:
      return s / L;
    case 10:
      return s / L;
    }
    return Undefined();
  }
};

inline void ExpectClose(Extended got, Extended expected, const std::string& what) {
  if (IsUndefined(expected)) {
    EXPECT_TRUE(IsUndefined(got)) << what << ": " << static_cast<double>(got);
    return;
  }
  ASSERT_FALSE(IsUndefined(got)) << what << ": expected " << static_cast<double>(expected);
  EXPECT_LE(std::fabs(got - expected), 1e-13L * std::fabs(expected) + 1e-17L)
      << what << ": " << static_cast<double>(got) << " instead of "
      << static_cast<double>(expected);
}

// ---- random data sets

struct TRandomData {
  TRawSet Ref, Target;
  std::vector<std::string> Selection;
};

inline int Pick(std::mt19937& rng, int n) {
  return static_cast<int>(rng() % static_cast<unsigned>(n));
}

inline std::vector<std::string> Pool(std::mt19937& rng, int from, int to, int min, int max) {
  std::vector<std::string> names;
  for (int v = from; v <= to; v += 2)
    names.push_back(std::to_string(v));
  std::shuffle(names.begin(), names.end(), rng);
  names.resize(static_cast<size_t>(min + Pick(rng, max - min + 1)));
  return names;
}

inline TRawGenotype RandomGenotype(std::mt19937& rng, const std::vector<std::string>& pool,
                                   const std::vector<int>& weights) {
  std::discrete_distribution<int> draw(weights.begin(), weights.end());
  auto allele = [&] { return pool[static_cast<size_t>(draw(rng))]; };
  const int kind = Pick(rng, 100);
  if (kind < 65) return {{allele(), allele()}, 2};
  if (kind < 78) return {{allele()}, 1};
  if (kind < 86) return {{allele()}, 2}; // one copy missing
  if (kind < 94) return {{}, 2};
  return {{}, 0};
}

inline void AddSamples(std::mt19937& rng, TRawSet& raw,
                       const std::vector<std::vector<std::string>>& pools, int samples,
                       int maxIndividuals, const std::string& prefix) {
  for (int s = 0; s < samples; ++s) {
    TRawSample& sample = raw.Samples.emplace_back();
    sample.Name = prefix + std::to_string(s);
    std::vector<std::vector<int>> weights;
    std::vector<bool> untyped;
    for (const auto& pool : pools) {
      std::vector<int> w;
      for (size_t i = 0; i < pool.size(); ++i)
        w.push_back(Pick(rng, 4) == 0 ? 0 : 1 + Pick(rng, 9));
      w[static_cast<size_t>(Pick(rng, static_cast<int>(w.size())))] += 1;
      weights.push_back(w);
      untyped.push_back(Pick(rng, 8) == 0);
    }
    const int n = 1 + Pick(rng, maxIndividuals);
    for (int k = 0; k < n; ++k) {
      TRawIndividual& ind = sample.Individuals.emplace_back();
      ind.Name = sample.Name + "_" + std::to_string(k);
      for (size_t l = 0; l < pools.size(); ++l)
        ind.Loci.push_back(untyped[l] ? TRawGenotype{{}, 2}
                                      : RandomGenotype(rng, pools[l], weights[l]));
    }
  }
}

inline TRandomData RandomData(unsigned seed) {
  std::mt19937 rng(seed);
  TRandomData data;
  data.Ref.FileName = "ref.xml";
  data.Target.FileName = "target.xml";
  const std::vector<std::string> shared = {"L0", "L1", "L2", "L3", "L4"};

  // Reference loci in file order, plus one of its own.
  std::vector<std::vector<std::string>> refPools;
  for (const std::string& name : shared) {
    TRawLocus& locus = data.Ref.Loci.emplace_back();
    locus.Name = name;
    locus.Declared = Pool(rng, 98, 112, 2, 6);
    refPools.push_back(locus.Declared);
    if (Pick(rng, 2) == 0) locus.Declared.push_back("130"); // known but never seen
    for (const std::string& a : locus.Declared) {
      const int v = std::stoi(a);
      locus.Sizes[a] = {v, v % 3 == 0 ? 0 : v / 2};
    }
  }
  data.Ref.Loci.push_back({"R9", {"1", "2"}, {}});
  refPools.push_back({"1", "2"});
  AddSamples(rng, data.Ref, refPools, 2 + Pick(rng, 3), 6, "P");

  // Target loci in another order; alleles partly shared, sized differently.
  std::vector<std::string> order = shared;
  order.push_back("T9");
  std::shuffle(order.begin(), order.end(), rng);
  std::vector<std::vector<std::string>> targetPools;
  for (const std::string& name : order) {
    TRawLocus& locus = data.Target.Loci.emplace_back();
    locus.Name = name;
    locus.Declared = Pool(rng, 96, 116, 1, 5);
    targetPools.push_back(locus.Declared);
    for (const std::string& a : locus.Declared) {
      const int v = std::stoi(a);
      locus.Sizes[a] = {v + 1, v % 4 == 0 ? 0 : v / 2 + 1};
    }
  }
  AddSamples(rng, data.Target, targetPools, 2, 4, "S");

  data.Selection = shared;
  std::shuffle(data.Selection.begin(), data.Selection.end(), rng);
  data.Selection.resize(static_cast<size_t>(1 + Pick(rng, 5)));
  return data;
}

inline std::vector<std::string> Names(const TMatchPGDS& match, const TIntegerList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i)
    names.push_back(match.Target->LocusAt(match.Locus(list[i]).TargetLocus)->Name);
  return names;
}

inline const std::vector<TCriterion> kCodes = {
    TCriterion::BaudouinLebrun, TCriterion::Baudouin2,     TCriterion::RannalaMountain,
    TCriterion::Paetkau,        TCriterion::NeiStandard,   TCriterion::NeiMinimum,
    TCriterion::NeiDA,          TCriterion::CavalliSforza, TCriterion::Goldstein,
    TCriterion::Rogers};

} // namespace oracle
