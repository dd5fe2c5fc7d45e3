#include "engine/criteria/CompactTallies.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/criteria/Bayesien2.h"
#include "engine/criteria/Criteria.h"
#include "model/GroupAbstract.h"

namespace {
constexpr Extended kPi = 3.14159265358979323846264338327950288L;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}
} // namespace

// ---- the match

TCompactMatch::TCompactMatch(const TMatchPGDS& match) : Match(match) {
  Loci.resize(static_cast<size_t>(match.LocusCount()));
  for (int i = 0; i < match.LocusCount(); ++i) {
    const TMatchedLoci& m = match.Locus(i);
    TCompactLocus& c = Loci[static_cast<size_t>(i)];
    c.K = m.Count();
    c.RefLocus = m.RefLocus;
    c.TargetLocus = m.TargetLocus;
    const TLocus& refLocus = *match.Reference->LocusAt(m.RefLocus);
    const TLocus& targetLocus = *match.Target->LocusAt(m.TargetLocus);
    c.RefEntry.assign(static_cast<size_t>(refLocus.NbAlleles()), -1);
    c.TargetEntry.assign(static_cast<size_t>(targetLocus.NbAlleles()), -1);
    c.Size.assign(static_cast<size_t>(c.K), 0);
    c.Repeats.assign(static_cast<size_t>(c.K), 0);
    for (int j = 0; j < c.K; ++j) {
      const TMatchedAlleles& e = m.Allele(j);
      const TAllele* allele = nullptr;
      if (e.TargetAllele >= 0) {
        c.TargetEntry[static_cast<size_t>(e.TargetAllele)] = static_cast<std::int16_t>(j);
        allele = targetLocus.GetAllele(e.TargetAllele);
      }
      if (e.RefAllele >= 0) {
        c.RefEntry[static_cast<size_t>(e.RefAllele)] = static_cast<std::int16_t>(j);
        allele = refLocus.GetAllele(e.RefAllele); // the reference's size comes first
      }
      if (!allele) {
        c.SizesDefined = false;
        continue;
      }
      c.Repeats[static_cast<size_t>(j)] = allele->NbRepeats;
      c.Size[static_cast<size_t>(j)] = allele->NbRepeats != 0 ? allele->NbRepeats : allele->Length;
    }
    for (std::int16_t entry : c.RefEntry)
      if (entry >= 0) c.TallyOrder.push_back(entry);
  }
}

// ---- units

void TCompactUnit::Reset(int loci) {
  Begin.assign(1, 0);
  Begin.reserve(static_cast<size_t>(loci) + 1);
  Entry.clear();
  Copies.clear();
  X.clear();
  X.reserve(static_cast<size_t>(loci));
}

void TCompactUnit::AddCopy(std::int16_t entry) {
  const std::int32_t first = Begin.back();
  for (std::int32_t i = first; i < static_cast<std::int32_t>(Entry.size()); ++i)
    if (Entry[At(i)] == entry) {
      ++Copies[At(i)];
      return;
    }
  // Kept in ascending order: units carry a handful of entries per locus.
  auto position = Entry.begin() + first;
  while (position != Entry.end() && *position < entry)
    ++position;
  const auto index = position - Entry.begin();
  Entry.insert(position, entry);
  Copies.insert(Copies.begin() + index, 1);
}

void TCompactUnit::EndLocus() {
  std::int32_t x = 0;
  for (std::int32_t i = Begin.back(); i < static_cast<std::int32_t>(Entry.size()); ++i)
    x += Copies[At(i)];
  X.push_back(x);
  Begin.push_back(static_cast<std::int32_t>(Entry.size()));
}

TCompactUnit TCompactUnit::Of(const TCompactMatch& m, const TBioCalculable& unit, bool target) {
  TCompactUnit u;
  u.Reset(m.LocusCount());
  // An individual is read from its genotypes, which its tally only repeats.
  if (const auto* individual = dynamic_cast<const TIndividual*>(&unit)) {
    for (const TCompactLocus& c : m.Loci) {
      const std::vector<std::int16_t>& map = target ? c.TargetEntry : c.RefEntry;
      for (std::int16_t code : individual->GetTypage(target ? c.TargetLocus : c.RefLocus).Alleles())
        if (code >= 0 && At(code) < map.size() && map[At(code)] >= 0) u.AddCopy(map[At(code)]);
      u.EndLocus();
    }
    return u;
  }
  for (const TCompactLocus& c : m.Loci) {
    const std::vector<std::int16_t>& map = target ? c.TargetEntry : c.RefEntry;
    const TSampledLocus& tally = unit.GetSampledLocus(target ? c.TargetLocus : c.RefLocus);
    std::int32_t x = 0;
    for (const TAlleleFeatures& f : tally.Features) {
      if (f.Count <= 0 || f.AlleleCode < 0 || At(f.AlleleCode) >= map.size()) continue;
      const std::int16_t entry = map[At(f.AlleleCode)];
      if (entry < 0) continue;
      auto position = std::lower_bound(u.Entry.begin() + u.Begin.back(), u.Entry.end(), entry);
      const auto index = position - u.Entry.begin();
      u.Entry.insert(position, entry);
      u.Copies.insert(u.Copies.begin() + index, f.Count);
      x += f.Count;
    }
    u.X.push_back(x);
    u.Begin.push_back(static_cast<std::int32_t>(u.Entry.size()));
  }
  return u;
}

// ---- populations

TCompactPopulation TCompactPopulation::Empty(const TCompactMatch& m) {
  TCompactPopulation p;
  std::int32_t offset = 0;
  for (const TCompactLocus& c : m.Loci) {
    p.Offset.push_back(offset);
    offset += c.K;
  }
  p.Counts.assign(At(offset), 0);
  p.N.assign(m.Loci.size(), 0);
  p.SumSquares.assign(m.Loci.size(), 0);
  p.SumSizes.assign(m.Loci.size(), 0);
  return p;
}

void TCompactPopulation::Zero(const TCompactMatch& m) {
  if (N.size() != m.Loci.size() || Offset.size() != m.Loci.size()) {
    *this = Empty(m);
    return;
  }
  std::fill(Counts.begin(), Counts.end(), 0);
  std::fill(N.begin(), N.end(), 0);
  std::fill(SumSquares.begin(), SumSquares.end(), 0);
  std::fill(SumSizes.begin(), SumSizes.end(), 0);
  Frequencies.clear();
}

void TCompactPopulation::ComputeSums(const TCompactMatch& m) {
  for (int l = 0; l < m.LocusCount(); ++l) {
    const TCompactLocus& c = m.Loci[At(l)];
    const std::int32_t* counts = Counts.data() + Offset[At(l)];
    std::int32_t copies = 0;
    std::int64_t squares = 0, sizes = 0;
    for (int e = 0; e < c.K; ++e) {
      const std::int64_t n = counts[e];
      copies += counts[e];
      squares += n * n;
      sizes += n * c.Size[At(e)];
    }
    N[At(l)] = copies;
    SumSquares[At(l)] = squares;
    SumSizes[At(l)] = sizes;
  }
}

void TCompactPopulation::ComputeGenes(const TCompactMatch& m) {
  for (int l = 0; l < m.LocusCount(); ++l) {
    const std::int32_t* counts = Counts.data() + Offset[At(l)];
    std::int32_t copies = 0;
    for (int e = 0; e < m.Loci[At(l)].K; ++e)
      copies += counts[e];
    N[At(l)] = copies;
  }
}

TCompactPopulation TCompactPopulation::Of(const TCompactMatch& m,
                                          const TGroupAbstract& population) {
  TCompactPopulation p = Empty(m);
  for (int l = 0; l < m.LocusCount(); ++l) {
    const TCompactLocus& c = m.Loci[At(l)];
    for (const TAlleleFeatures& f : population.GetSampledLocus(c.RefLocus).Features) {
      if (f.Count <= 0 || f.AlleleCode < 0 || At(f.AlleleCode) >= c.RefEntry.size()) continue;
      const std::int16_t entry = c.RefEntry[At(f.AlleleCode)];
      if (entry < 0) continue;
      p.Counts[At(p.Offset[At(l)] + entry)] += f.Count;
    }
  }
  p.ComputeSums(m);
  return p;
}

void TCompactPopulation::ComputeFrequencies() {
  Frequencies.assign(Counts.size(), 0);
  for (size_t l = 0; l < N.size(); ++l) {
    const size_t end = l + 1 < Offset.size() ? At(Offset[l + 1]) : Counts.size();
    const Extended en = N[l];
    if (N[l] <= 0) continue;
    for (size_t i = At(Offset[l]); i < end; ++i)
      Frequencies[i] = static_cast<Extended>(static_cast<std::int64_t>(Counts[i])) / en;
  }
}

void TCompactPopulation::Add(const TCompactMatch& m, const TCompactUnit& unit, int sign) {
  Frequencies.clear();
  for (int l = 0; l < m.LocusCount(); ++l) {
    for (std::int32_t i = unit.Begin[At(l)]; i < unit.Begin[At(l) + 1]; ++i) {
      std::int32_t& n = Counts[At(Offset[At(l)] + unit.Entry[At(i)])];
      const std::int64_t before = n;
      n += sign * unit.Copies[At(i)];
      SumSquares[At(l)] += static_cast<std::int64_t>(n) * n - before * before;
      SumSizes[At(l)] += sign * static_cast<std::int64_t>(unit.Copies[At(i)]) *
                         m.Loci[At(l)].Size[At(unit.Entry[At(i)])];
    }
    N[At(l)] += sign * unit.X[At(l)];
  }
}

// ---- criteria

TCompactCriterion::TCompactCriterion(const TCompactMatch& m, TCriterion criterion,
                                     Extended defaultFrequency, int maxCount,
                                     const TBayesien2Data* priors)
    : m_(m), criterion_(criterion), distance_(::IsDistance(criterion)),
      maxCount_(std::max(maxCount, 2)), priors_(priors) {
  const size_t n = At(maxCount_) + 1;
  lnFact_.assign(n, 0);
  lnInt_.assign(n, -std::numeric_limits<double>::infinity());
  for (size_t c = 1; c < n; ++c) {
    lnInt_[c] = static_cast<double>(std::log(static_cast<Extended>(c)));
    lnFact_[c] = lnFact_[c - 1] + lnInt_[c];
  }
  lnDefault_ = static_cast<double>(std::log(defaultFrequency));
  if (criterion != TCriterion::BaudouinLebrun && criterion != TCriterion::RannalaMountain) return;
  for (const TCompactLocus& c : m.Loci) {
    // The prior of each allele is a/K: 1 (criterion 0) or 1/K (criterion 2).
    const Extended K = c.K;
    const Extended a = criterion == TCriterion::BaudouinLebrun ? K : 1;
    const Extended prior = c.K > 0 ? a / K : 0;
    std::vector<double> lnPrior(n), lnTotal(n);
    for (size_t i = 0; i < n; ++i) {
      lnPrior[i] = static_cast<double>(std::log(prior + static_cast<Extended>(i)));
      lnTotal[i] = static_cast<double>(std::log(a + static_cast<Extended>(i)));
    }
    lnPrior_.push_back(std::move(lnPrior));
    lnTotal_.push_back(std::move(lnTotal));
  }
}

bool TCompactCriterion::Covers(TCriterion c) {
  return (IsLikelihood(c) && c != TCriterion::Cornuet) || ::IsDistance(c);
}

Extended TCompactCriterion::Value(Extended score) const {
  if (std::isnan(score)) return Undefined();
  return distance_ ? score : std::exp(score);
}

// ln of the Dirichlet-multinomial probability of the unit's copies given the population's
// counts: ln X! - sum ln x! + sum over the unit's alleles of ln (prior + n)(prior + n + 1)...
// (x factors) - ln (a + N)(a + N + 1)... (X factors).
double TCompactCriterion::DirichletLocus(const TCompactPopulation& pop, const TCompactUnit& unit,
                                         int l, bool leaveOut, bool& undefined) const {
  const TCompactLocus& c = m_.Loci[At(l)];
  const std::int32_t X = unit.X[At(l)];
  const std::int32_t N = pop.N[At(l)] - (leaveOut ? X : 0);
  if (N == 0 && X == 0) {
    undefined = true;
    return 0;
  }
  if (c.K == 0) return 0;
  const double* lnPrior = lnPrior_[At(l)].data();
  const double* lnTotal = lnTotal_[At(l)].data();
  double s = lnFact_[At(X)];
  const std::int32_t offset = pop.Offset[At(l)];
  for (std::int32_t i = unit.Begin[At(l)]; i < unit.Begin[At(l) + 1]; ++i) {
    const std::int32_t x = unit.Copies[At(i)];
    const std::int32_t n = pop.Counts[At(offset + unit.Entry[At(i)])] - (leaveOut ? x : 0);
    s -= lnFact_[At(x)];
    for (std::int32_t t = 0; t < x; ++t)
      s += lnPrior[At(n + t)];
  }
  for (std::int32_t t = 0; t < X; ++t)
    s -= lnTotal[At(N + t)];
  return s;
}

// ln of the multinomial probability of the unit's copies under the population's frequencies, an
// allele the population lacks taking the default frequency.
double TCompactCriterion::FrequencyLocus(const TCompactPopulation& pop, const TCompactUnit& unit,
                                         int l, bool leaveOut, bool& undefined) const {
  const std::int32_t X = unit.X[At(l)];
  const std::int32_t N = pop.N[At(l)] - (leaveOut ? X : 0);
  if (N <= 0 || X <= 0) {
    undefined = true;
    return 0;
  }
  double s = lnFact_[At(X)];
  const double lnN = lnInt_[At(N)];
  const std::int32_t offset = pop.Offset[At(l)];
  for (std::int32_t i = unit.Begin[At(l)]; i < unit.Begin[At(l) + 1]; ++i) {
    const std::int32_t x = unit.Copies[At(i)];
    const std::int32_t n = pop.Counts[At(offset + unit.Entry[At(i)])] - (leaveOut ? x : 0);
    s -= lnFact_[At(x)];
    s += x * (n > 0 ? lnInt_[At(n)] - lnN : lnDefault_);
  }
  return s;
}

namespace {

// ln Γ(a + n) - ln Γ(a) for a whole number n ≥ 0: the logarithm of a (a + 1) ... (a + n - 1).
// When F is close to 0 the prior weights a are huge and the difference of two log-gammas would
// lose every digit, so the product is summed term by term whenever a exceeds n (and for small
// n anyway).
Extended LnRising(Extended a, Extended n) {
  if (n <= 64 || a > n) {
    Extended s = 0;
    for (Extended t = 0; t < n; t += 1)
      s += std::log(a + t);
    return s;
  }
  return LnGamma(a + n) - LnGamma(a);
}

} // namespace

// Criterion 1: the Dirichlet-multinomial probability of the unit's copies with one prior weight
// per allele, X! / Π x! × Π Γ(alpha + n + x) / Γ(alpha + n) × Γ(A + N) / Γ(A + N + X), in
// extended precision (the weights can be huge). A locus where neither side has a gene adds
// nothing; one with neither a prior nor a gene of the population has no distribution to draw
// from. An allele without prior weight nor copy in the population carries no information (its
// terms cancel in the limit): it adds nothing.
Extended TCompactCriterion::PriorsLocus(const TCompactPopulation& pop, const TCompactUnit& unit,
                                        int l, bool leaveOut, bool& undefined) const {
  const std::int32_t X = unit.X[At(l)];
  const std::int32_t N = pop.N[At(l)] - (leaveOut ? X : 0);
  if (N == 0 && X == 0) return 0;
  const Extended A = priors_->Alpha.GetLocus(l);
  if (A + N <= 0) {
    undefined = true;
    return 0;
  }
  Extended T = 0;
  const std::int32_t offset = pop.Offset[At(l)];
  for (std::int32_t i = unit.Begin[At(l)]; i < unit.Begin[At(l) + 1]; ++i) {
    const std::int32_t x = unit.Copies[At(i)];
    const std::int32_t n = pop.Counts[At(offset + unit.Entry[At(i)])] - (leaveOut ? x : 0);
    const Extended alpha = priors_->Alpha.Get(l, unit.Entry[At(i)]);
    if (n == 0 && alpha <= 0) continue;
    T += LnRising(alpha + n, x) - LnGamma(static_cast<Extended>(x) + 1);
  }
  return LnGamma(static_cast<Extended>(X) + 1) + T - LnRising(A + N, X);
}

namespace {

// The sums over the loci that a distance is made of, and the number of loci counted.
struct TDistanceSums {
  Extended Jx = 0, Jy = 0, Jxy = 0, S = 0;
  int L = 0;
  bool Undefined = false;
};

enum class TDistanceTerms { Moments, Roots, Sizes, Differences };

// The sums of one kind of distance between `unit` and `pop` over the used loci.
template <TDistanceTerms Terms>
TDistanceSums DistanceSums(const TCompactMatch& m, TCriterion distance,
                           const TCompactPopulation& pop, const TCompactUnit& unit,
                           const std::int32_t* used, int nUsed, bool leaveOut) {
  const Extended* frequencies = pop.Frequencies.empty() ? nullptr : pop.Frequencies.data();
  TDistanceSums r;
  for (int k = 0; k < nUsed; ++k) {
    const int l = used[k];
    const TCompactLocus& c = m.Loci[At(l)];
    const std::int32_t X = unit.X[At(l)];
    const std::int32_t N = pop.N[At(l)] - (leaveOut ? X : 0);
    if (N <= 0 || X <= 0) continue;
    ++r.L;
    const Extended ex = X, en = N;
    const std::int32_t offset = pop.Offset[At(l)];
    // What the population carries beyond the unit's alleles: the squared counts of the others.
    std::int64_t othersSquares = pop.SumSquares[At(l)];
    std::int64_t sizes = pop.SumSizes[At(l)];
    Extended sqq = 0, spp = 0, sqp = 0, sroot = 0, mux = 0, sdiff = 0;
    for (std::int32_t i = unit.Begin[At(l)]; i < unit.Begin[At(l) + 1]; ++i) {
      const std::int32_t x = unit.Copies[At(i)];
      const std::int64_t full = pop.Counts[At(offset + unit.Entry[At(i)])];
      const std::int64_t n = full - (leaveOut ? x : 0);
      othersSquares -= full * full;
      if (leaveOut) sizes -= static_cast<std::int64_t>(x) * c.Size[At(unit.Entry[At(i)])];
      const Extended q = x / ex;
      const Extended p = leaveOut || frequencies == nullptr
                             ? static_cast<Extended>(n) / en
                             : frequencies[offset + unit.Entry[At(i)]];
      if constexpr (Terms == TDistanceTerms::Moments) {
        sqq += q * q;
        spp += p * p;
        sqp += q * p;
      }
      if constexpr (Terms == TDistanceTerms::Roots) sroot += std::sqrt(q * p);
      if constexpr (Terms == TDistanceTerms::Sizes)
        mux += q * static_cast<Extended>(c.Size[At(unit.Entry[At(i)])]);
      if constexpr (Terms == TDistanceTerms::Differences) sdiff += (q - p) * (q - p);
    }
    const Extended others = static_cast<Extended>(othersSquares) / (en * en);
    if constexpr (Terms == TDistanceTerms::Moments) {
      r.Jx += sqq;
      r.Jy += spp + others;
      r.Jxy += sqp;
    } else if constexpr (Terms == TDistanceTerms::Roots) {
      if (distance == TCriterion::NeiDA)
        r.S += sroot;
      else // Cavalli-Sforza; rounding may push the sum of the geometric means above 1
        r.S += std::sqrt(2 * (1 - std::min<Extended>(sroot, 1)));
    } else if constexpr (Terms == TDistanceTerms::Sizes) {
      if (!c.SizesDefined) {
        r.Undefined = true;
        return r;
      }
      const Extended d = mux - static_cast<Extended>(sizes) / en;
      r.S += d * d;
    } else { // Rogers: the Euclidean distance of the locus's frequencies
      r.S += std::sqrt((sdiff + others) / 2);
    }
  }
  return r;
}

} // namespace

Extended TCompactCriterion::Score(const TCompactPopulation& pop, const TCompactUnit& unit,
                                  const std::int32_t* used, int nUsed, bool leaveOut) const {
  if (nUsed == 0) return kNaN;
  if (criterion_ == TCriterion::Baudouin2) {
    Extended s = 0;
    bool undefined = priors_ == nullptr;
    for (int k = 0; k < nUsed && !undefined; ++k)
      s += PriorsLocus(pop, unit, used[k], leaveOut, undefined);
    return undefined ? kNaN : s;
  }
  if (!distance_) {
    double s = 0;
    bool undefined = false;
    const bool dirichlet = criterion_ != TCriterion::Paetkau;
    for (int k = 0; k < nUsed && !undefined; ++k)
      s += dirichlet ? DirichletLocus(pop, unit, used[k], leaveOut, undefined)
                     : FrequencyLocus(pop, unit, used[k], leaveOut, undefined);
    return undefined ? kNaN : s;
  }

  // Distances: loci where both sides have genes count; frequencies as the tallies hold them.
  // Only the sums the distance uses are formed (a square root per allele costs more than the
  // rest of the locus), each distance with a loop of its own.
  TDistanceSums sums;
  switch (criterion_) {
  case TCriterion::NeiStandard:
  case TCriterion::NeiMinimum:
    sums = DistanceSums<TDistanceTerms::Moments>(m_, criterion_, pop, unit, used, nUsed, leaveOut);
    break;
  case TCriterion::NeiDA:
  case TCriterion::CavalliSforza:
    sums = DistanceSums<TDistanceTerms::Roots>(m_, criterion_, pop, unit, used, nUsed, leaveOut);
    break;
  case TCriterion::Goldstein:
    sums = DistanceSums<TDistanceTerms::Sizes>(m_, criterion_, pop, unit, used, nUsed, leaveOut);
    break;
  case TCriterion::Rogers:
    sums =
        DistanceSums<TDistanceTerms::Differences>(m_, criterion_, pop, unit, used, nUsed, leaveOut);
    break;
  case TCriterion::BaudouinLebrun:
  case TCriterion::Baudouin2:
  case TCriterion::RannalaMountain:
  case TCriterion::Paetkau:
  case TCriterion::Cornuet:
    return kNaN;
  }
  if (sums.Undefined) return kNaN;
  const int L = sums.L;
  const Extended jx = sums.Jx, jy = sums.Jy, jxy = sums.Jxy, s = sums.S;
  if (L == 0) return kNaN;
  switch (criterion_) {
  case TCriterion::NeiStandard:
    // No allele in common at any locus: the identity is 0 and the distance is not finite.
    if (jx * jy <= 0 || jxy == 0) return kNaN;
    return -std::log((jxy / L) / std::sqrt((jx / L) * (jy / L)));
  case TCriterion::NeiMinimum:
    return (jx / L + jy / L) / 2 - jxy / L;
  case TCriterion::NeiDA:
    return 1 - s / L;
  case TCriterion::CavalliSforza:
    return 2 / (kPi * L) * s;
  case TCriterion::Goldstein:
    return s / L;
  case TCriterion::Rogers:
    return s / L;
  case TCriterion::BaudouinLebrun:
  case TCriterion::Baudouin2:
  case TCriterion::RannalaMountain:
  case TCriterion::Paetkau:
  case TCriterion::Cornuet:
    return kNaN;
  }
  return kNaN; // a value that names no criterion
}
