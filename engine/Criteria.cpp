#include "engine/Criteria.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "dataset/PGDSStructure.h"
#include "engine/Bayesien2.h"
#include "engine/Match.h"
#include "model/GroupAbstract.h"

namespace {

constexpr Extended kPi = 3.14159265358979323846264338327950288L;

// Calls perLocus(matched locus) for every used locus where both the population and the unit
// have genes; answers how many there were (the L of the distances).
template <class F>
int ForCountedLoci(const TGroupAbstract& pop, const TBioCalculable& unit, const TMatchPGDS& match,
                   const TIntegerList& used, F perLocus) {
  int counted = 0;
  for (int k = 0; k < used.Count(); ++k) {
    const TMatchedLoci& m = match.Locus(used[k]);
    if (pop.NbGenes(m.RefLocus) <= 0 || unit.NbGenes(m.TargetLocus) <= 0) continue;
    ++counted;
    perLocus(m);
  }
  return counted;
}

// The number of repeats of an entry's allele (reference side first), or its length when the
// number of repeats is 0.
Extended AlleleSize(const TMatchPGDS& match, const TMatchedLoci& m, const TMatchedAlleles& e) {
  const TAllele* allele;
  if (e.RefAllele >= 0)
    allele = match.Reference->LocusAt(m.RefLocus)->GetAllele(e.RefAllele);
  else if (e.TargetAllele >= 0)
    allele = match.Target->LocusAt(m.TargetLocus)->GetAllele(e.TargetAllele);
  else
    return Undefined();
  return allele->NbRepeats != 0 ? allele->NbRepeats : allele->Length;
}

} // namespace

// ---- likelihoods

Extended DirichletLikelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used, std::uint8_t code) {
  if (code != criterion::BaudouinLebrun && code != criterion::RannalaMountain) return Undefined();
  if (used.Count() == 0) return Undefined();
  Extended S = 0;
  for (int k = 0; k < used.Count(); ++k) {
    const TMatchedLoci& m = match.Locus(used[k]);
    const int K = m.Count();
    const Extended N = pop.NbGenes(m.RefLocus);
    const Extended X = unit.NbGenes(m.TargetLocus);
    if (N == 0 && X == 0) return Undefined();
    if (K == 0) continue;
    // The prior of each allele is a/K: 1 (code 0) or 1/K (code 2).
    const Extended a = code == criterion::BaudouinLebrun ? K : 1;
    const Extended prior = a / K;
    Extended s1 = 0, s2 = 0, s3 = 0;
    for (int j = 0; j < K; ++j) {
      const TMatchedAlleles& e = m.Allele(j);
      const Extended n = RefCount(pop, m, e);
      const Extended x = TargetCount(unit, m, e);
      s1 += LnGamma(prior + n + x);
      s2 += LnGamma(x + 1);
      s3 += LnGamma(prior + n);
    }
    S += LnGamma(X + 1) + LnGamma(N + a) + s1 - s2 - s3 - LnGamma(N + X + a);
  }
  return std::exp(S);
}

Extended FrequencyLikelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used,
                             Extended defaultFrequency) {
  if (used.Count() == 0) return Undefined();
  Extended S = 0;
  for (int k = 0; k < used.Count(); ++k) {
    const TMatchedLoci& m = match.Locus(used[k]);
    const std::int32_t X = unit.NbGenes(m.TargetLocus);
    // One used locus where the population has no gene leaves its whole value undefined.
    if (pop.NbGenes(m.RefLocus) <= 0 || X <= 0) return Undefined();
    Extended sLog = 0, sFact = 0;
    for (int j = 0; j < m.Count(); ++j) {
      const TMatchedAlleles& e = m.Allele(j);
      const Extended x = TargetCount(unit, m, e);
      if (x == 0) continue;
      Extended p = RefFrequency(pop, m, e);
      if (IsUndefined(p) || p <= 0) p = defaultFrequency;
      sLog += x * std::log(p);
      sFact += LnGamma(x + 1);
    }
    S += LnGamma(static_cast<Extended>(X) + 1) - sFact + sLog;
  }
  return std::exp(S);
}

// ---- distances

Extended NeiStandardDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used) {
  Extended jx = 0, jy = 0, jxy = 0;
  const int L = ForCountedLoci(pop, unit, match, used, [&](const TMatchedLoci& m) {
    for (const TMatchedAlleles& e : m.Alleles) {
      const Extended q = TargetFrequency(unit, m, e), p = RefFrequency(pop, m, e);
      jx += q * q;
      jy += p * p;
      jxy += q * p;
    }
  });
  if (L == 0 || IsUndefined(jx) || IsUndefined(jy) || IsUndefined(jxy)) return Undefined();
  // No allele in common at any locus: the identity is 0 and the distance is not finite.
  if (jx * jy <= 0 || jxy == 0) return Undefined();
  jx /= L;
  jy /= L;
  jxy /= L;
  return -std::log(jxy / std::sqrt(jx * jy));
}

Extended NeiMinimumDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                            const TMatchPGDS& match, const TIntegerList& used) {
  Extended jx = 0, jy = 0, jxy = 0;
  const int L = ForCountedLoci(pop, unit, match, used, [&](const TMatchedLoci& m) {
    for (const TMatchedAlleles& e : m.Alleles) {
      const Extended q = TargetFrequency(unit, m, e), p = RefFrequency(pop, m, e);
      jx += q * q;
      jy += p * p;
      jxy += q * p;
    }
  });
  if (L == 0) return Undefined();
  const Extended d = (jx / L + jy / L) / 2 - jxy / L;
  return IsUndefined(d) ? Undefined() : d;
}

Extended NeiDaDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                       const TMatchPGDS& match, const TIntegerList& used) {
  Extended s = 0;
  const int L = ForCountedLoci(pop, unit, match, used, [&](const TMatchedLoci& m) {
    // Reference-only alleles have no frequency in the unit: they add nothing.
    for (int j = 0; j < m.NbTargetAlleles; ++j) {
      const TMatchedAlleles& e = m.Allele(j);
      s += std::sqrt(TargetFrequency(unit, m, e) * RefFrequency(pop, m, e));
    }
  });
  if (L == 0) return Undefined();
  const Extended d = 1 - s / L;
  return IsUndefined(d) ? Undefined() : d;
}

Extended CavalliSforzaDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                               const TMatchPGDS& match, const TIntegerList& used) {
  Extended s = 0;
  const int L = ForCountedLoci(pop, unit, match, used, [&](const TMatchedLoci& m) {
    Extended c = 0;
    for (const TMatchedAlleles& e : m.Alleles)
      c += std::sqrt(TargetFrequency(unit, m, e) * RefFrequency(pop, m, e));
    // Rounding may push the sum of the geometric means of identical frequencies above 1.
    if (c > 1) c = 1;
    s += std::sqrt(2 * (1 - c));
  });
  if (L == 0) return Undefined();
  const Extended d = 2 / (kPi * L) * s;
  return IsUndefined(d) ? Undefined() : d;
}

Extended GoldsteinDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                           const TMatchPGDS& match, const TIntegerList& used) {
  Extended s = 0;
  const int L = ForCountedLoci(pop, unit, match, used, [&](const TMatchedLoci& m) {
    Extended mux = 0, muy = 0;
    for (const TMatchedAlleles& e : m.Alleles) {
      const Extended size = AlleleSize(match, m, e);
      mux += TargetFrequency(unit, m, e) * size;
      muy += RefFrequency(pop, m, e) * size;
    }
    s += (mux - muy) * (mux - muy);
  });
  if (L == 0) return Undefined();
  const Extended d = s / L;
  return IsUndefined(d) ? Undefined() : d;
}

Extended RogersDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                        const TMatchPGDS& match, const TIntegerList& used) {
  // Rogers (1972): per locus the Euclidean distance between the two frequency vectors,
  // sqrt(1/2 sum (p - q)^2), averaged over the loci.
  Extended s = 0;
  const int L = ForCountedLoci(pop, unit, match, used, [&](const TMatchedLoci& m) {
    Extended squares = 0;
    for (const TMatchedAlleles& e : m.Alleles) {
      const Extended diff = TargetFrequency(unit, m, e) - RefFrequency(pop, m, e);
      squares += diff * diff;
    }
    s += std::sqrt(squares / 2);
  });
  if (L == 0) return Undefined();
  const Extended d = s / L;
  return IsUndefined(d) ? Undefined() : d;
}

// ---- dispatch

bool EvaluateCriterion(const TCriterionArgs& args, const TGroupAbstract& pop,
                       const TBioCalculable& unit, const TMatchPGDS& match,
                       const TIntegerList& used, Extended& value) {
  using namespace criterion;
  switch (args.Criterion) {
  case BaudouinLebrun:
  case RannalaMountain:
    value = DirichletLikelihood(pop, unit, match, used, args.Criterion);
    return true;
  case Baudouin2:
    if (!args.Bayes) throw std::invalid_argument("criterion 1 needs its prepared priors");
    value = Bayesien2Likelihood(pop, unit, match, used, *args.Bayes);
    return true;
  case Paetkau:
    value = FrequencyLikelihood(pop, unit, match, used, args.DefaultFrequency);
    return true;
  case NeiStandard:
    value = NeiStandardDistance(pop, unit, match, used);
    return true;
  case NeiMinimum:
    value = NeiMinimumDistance(pop, unit, match, used);
    return true;
  case NeiDA:
    value = NeiDaDistance(pop, unit, match, used);
    return true;
  case CavalliSforza:
    value = CavalliSforzaDistance(pop, unit, match, used);
    return true;
  case Goldstein:
    value = GoldsteinDistance(pop, unit, match, used);
    return true;
  case Rogers:
    value = RogersDistance(pop, unit, match, used);
    return true;
  default:
    value = Undefined();
    return false;
  }
}
