#include "engine/criteria/ScoreTables.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/criteria/Criteria.h"

namespace {
size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TUnitCodes TUnitCodes::Of(const TCompactMatch& m, const TCompactUnit& unit) {
  TUnitCodes codes;
  codes.Fill(m, unit);
  return codes;
}

void TUnitCodes::Fill(const TCompactMatch& m, const TCompactUnit& unit) {
  TUnitCodes& codes = *this;
  codes.Simple = true;
  const int loci = m.LocusCount();
  codes.First.resize(At(loci));
  codes.Second.resize(At(loci));
  codes.X.resize(At(loci));
  for (int l = 0; l < loci; ++l) {
    const std::int32_t K = m.Loci[At(l)].K;
    const std::int32_t zero = 2 * K; // the slot holding 0
    const std::int32_t begin = unit.Begin[At(l)], entries = unit.Begin[At(l) + 1] - begin;
    const std::int32_t X = unit.X[At(l)];
    std::int32_t first = zero, second = zero;
    if (X == 1 && entries == 1) {
      first = unit.Entry[At(begin)];
    } else if (X == 2 && entries == 2) {
      first = unit.Entry[At(begin)];
      second = unit.Entry[At(begin) + 1];
    } else if (X == 2 && entries == 1) {
      first = K + unit.Entry[At(begin)]; // the homozygote's slot
    } else if (X != 0) {
      codes.Simple = false;
    }
    codes.First[At(l)] = first;
    codes.Second[At(l)] = second;
    codes.X[At(l)] = X <= 2 ? X : 0;
  }
}

bool TScoreTable::Covers(TCriterion criterion, bool leaveOut) {
  return criterion == TCriterion::BaudouinLebrun || criterion == TCriterion::RannalaMountain ||
         (criterion == TCriterion::Paetkau && !leaveOut);
}

// Per locus, three constants (for 0, 1 and 2 copies) and 2K + 1 slots: the term of one copy of
// each allele, the term of its homozygote, and a 0 for the copy a unit lacks. The terms are those
// of the direct evaluation: ln X! - sum ln x! plus, for the Dirichlet criteria, the rising
// products ln (prior + n)... over ln (a + N)..., for the frequency criterion x ln(n / N) or the
// default frequency.
TScoreTable::TScoreTable(const TCompactMatch& m, const TCompactCriterion& criterion,
                         const TCompactPopulation& population, bool leaveOut) {
  Build(m, criterion, population, leaveOut);
}

void TScoreTable::Build(const TCompactMatch& m, const TCompactCriterion& criterion,
                        const TCompactPopulation& population, bool leaveOut) {
  // Per locus, one slot per allele for one copy, one per allele for two, and an empty one.
  const int L = m.LocusCount();
  offset_.resize(At(L));
  std::int32_t slotCount = 0;
  for (int l = 0; l < L; ++l) {
    offset_[At(l)] = slotCount;
    slotCount += 2 * m.Loci[At(l)].K + 1;
  }
  // Every slot is written below but the empty one of each locus, which holds 0.
  values_.resize(At(slotCount));
  base_.resize(3 * At(L));
  const bool dirichlet = criterion.criterion_ != TCriterion::Paetkau;
  // Taking a unit out lowers each count by its copies: by one for a copy of a heterozygote or
  // a haploid, by two for a homozygote, and the genes by the unit's copies.
  const std::int32_t out = leaveOut ? 1 : 0;
  const std::vector<double>& lnFact = criterion.lnFact_;
  for (int l = 0; l < L; ++l) {
    const std::int32_t K = m.Loci[At(l)].K;
    const std::int32_t N = population.N[At(l)];
    double* slots = values_.data() + offset_[At(l)];
    slots[2 * K] = 0.0;
    double* base = base_.data() + 3 * At(l);
    if (dirichlet) {
      if (K == 0) {
        // Nothing can be carried there: only the empty locus, undefined without genes.
        base[0] = N == 0 ? kNaN : 0.0;
        base[1] = base[2] = kNaN;
        continue;
      }
      const double* lnPrior = criterion.lnPrior_[At(l)].data();
      const double* lnTotal = criterion.lnTotal_[At(l)].data();
      // Counts the unit cannot have are clamped to 0: their slots are never read.
      auto n1 = [out](std::int32_t n) { return At(std::max(n - out, 0)); };
      auto n2 = [out](std::int32_t n) { return At(std::max(n - 2 * out, 0)); };
      base[0] = N == 0 ? kNaN : lnFact[0];
      base[1] = lnFact[1] - lnTotal[n1(N)];
      base[2] = lnFact[2] - lnTotal[n2(N)] - lnTotal[n2(N) + 1];
      for (std::int32_t e = 0; e < K; ++e) {
        const std::int32_t n = population.Count(l, e);
        slots[e] = lnPrior[n1(n)] - lnFact[1];
        slots[K + e] = lnPrior[n2(n)] + lnPrior[n2(n) + 1] - lnFact[2];
      }
    } else {
      if (N <= 0) {
        base[0] = base[1] = base[2] = kNaN;
        continue;
      }
      base[0] = kNaN;
      base[1] = lnFact[1];
      base[2] = lnFact[2];
      const double lnN = criterion.lnInt_[At(N)];
      for (std::int32_t e = 0; e < K; ++e) {
        const std::int32_t n = population.Count(l, e);
        const double term = n > 0 ? criterion.lnInt_[At(n)] - lnN : criterion.lnDefault_;
        slots[e] = term - lnFact[1];
        slots[K + e] = 2 * term - lnFact[2];
      }
    }
  }
}

double TScoreTable::Score(const TUnitCodes& unit, const std::int32_t* used, int nUsed) const {
  if (nUsed == 0) return kNaN;
  double s = 0;
  for (int k = 0; k < nUsed; ++k) {
    const size_t l = At(used[k]);
    const double* slots = values_.data() + offset_[l];
    s += base_[3 * l + unit.X[l]] + slots[unit.First[l]] + slots[unit.Second[l]];
  }
  return s; // NaN when an undefined locus entered
}

Extended ScoreOf(const TScoreTable* table, const TCompactCriterion& criterion,
                 const TCompactPopulation& population, const TCompactUnit& unit,
                 const TUnitCodes& codes, const std::vector<std::int32_t>& used, bool leaveOut) {
  const int nUsed = static_cast<int>(used.size());
  if (table && codes.Simple) return table->Score(codes, used.data(), nUsed);
  return criterion.Score(population, unit, used.data(), nUsed, leaveOut);
}
