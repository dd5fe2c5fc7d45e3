#include "engine/criteria/Bayesien2.h"

#include "base/Errors.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/criteria/Criteria.h"
#include "model/GroupAbstract.h"
#include "model/Individual.h"

// ---- TAlpha

Extended TAlpha::Get(int locus, int entry) const {
  if (locus < 0 || locus >= RowCount()) return Undefined();
  try {
    return Rows[static_cast<size_t>(locus)]->Get(entry);
  } catch (const ERangeError&) {
    return Undefined();
  }
}

void TAlpha::Set(int locus, int entry, Extended value) {
  while (RowCount() <= locus)
    Rows.push_back(std::make_unique<TExtendedList>(20));
  TExtendedList& row = *Rows[static_cast<size_t>(locus)];
  while (row.Count() <= entry)
    row.Add(0.0L);
  row.Put(entry, value);
}

Extended TAlpha::GetLocus(int locus) const {
  try {
    return LocusValues.Get(locus);
  } catch (const ERangeError&) {
    return Undefined();
  }
}

void TAlpha::SetLocus(int locus, Extended value) {
  while (LocusValues.Count() <= locus)
    LocusValues.Add(0.0L);
  LocusValues.Put(locus, value);
}

void TAlpha::Clear() {
  Rows.clear();
  LocusValues.Clear();
}

// ---- TBayesien2Data

namespace {

// The genotypes of one reference sample at one locus, by reference allele code.
struct TSampleTally {
  int Haploids = 0;                    // genotypes of ploidy 1 with their allele
  std::vector<int> HaploidCarriers;    // haploids carrying the allele
  int Diploids = 0;                    // genotypes of ploidy 2 with both alleles
  std::vector<int> DiploidCopies;      // copies of the allele among the diploids
  std::vector<int> DiploidHomozygotes; // diploids homozygous for the allele
};

std::vector<TSampleTally> TallyLocus(const TPGDSStructure& reference, int locus, int nbAlleles,
                                     const TIndividual* excluded) {
  const auto n = static_cast<size_t>(nbAlleles);
  auto valid = [nbAlleles](std::int16_t code) { return code >= 0 && code < nbAlleles; };
  std::vector<TSampleTally> tallies(static_cast<size_t>(reference.SamplesCount()));
  for (int s = 0; s < reference.SamplesCount(); ++s) {
    TSampleTally& t = tallies[static_cast<size_t>(s)];
    t.HaploidCarriers.assign(n, 0);
    t.DiploidCopies.assign(n, 0);
    t.DiploidHomozygotes.assign(n, 0);
    const TGroupAbstract& sample = *reference.SamplesGroup.Members.Items(s);
    for (int k = 0; k < sample.NbIndividuals(); ++k) {
      const TIndividual* ind = sample.Individuals.Items(k);
      if (ind == excluded) continue;
      const auto g = ind->GetTypage(locus);
      if (g.Ploidy() == 1 && g.Count() == 1) {
        ++t.Haploids;
        if (valid(g.Alleles()[0])) ++t.HaploidCarriers[static_cast<size_t>(g.Alleles()[0])];
      } else if (g.Ploidy() == 2 && g.Count() == 2) {
        ++t.Diploids;
        const std::int16_t a = g.Alleles()[0], b = g.Alleles()[1];
        if (valid(a)) ++t.DiploidCopies[static_cast<size_t>(a)];
        if (valid(b)) ++t.DiploidCopies[static_cast<size_t>(b)];
        if (a == b && valid(a)) ++t.DiploidHomozygotes[static_cast<size_t>(a)];
      }
    }
  }
  return tallies;
}

} // namespace

void TBayesien2Data::Prepare(const TPGDSStructure& reference, const TMatchPGDS& match,
                             const TIndividual* excluded) {
  Alpha.Clear();
  MeanFrequencies.Clear();
  Fst.Clear();
  Extended totalNumerator = 0, totalDenominator = 0;

  for (int i = 0; i < match.LocusCount(); ++i) {
    const TMatchedLoci& m = match.Locus(i);
    const int nbAlleles = reference.LocusAt(m.RefLocus)->NbAlleles();
    const std::vector<TSampleTally> tallies =
        TallyLocus(reference, m.RefLocus, nbAlleles, excluded);

    // Variance components of the frequency of each allele, summed over the alleles.
    Extended numerator = 0, denominator = 0;
    std::vector<Extended> meanFrequency(static_cast<size_t>(m.Count()), 0.0L);
    for (int j = 0; j < m.Count(); ++j) {
      const int r = m.Allele(j).RefAllele;
      Extended A1 = 0, N1 = 0, Q1 = 0, S1 = 0;
      Extended G = 0, H = 0, D = 0, Q2 = 0, S2 = 0;
      int k1 = 0, k2 = 0;
      for (const TSampleTally& t : tallies) {
        if (t.Haploids > 0) {
          const Extended h = t.Haploids;
          const Extended c = r < 0 ? 0 : t.HaploidCarriers[static_cast<size_t>(r)];
          A1 += c;
          N1 += h;
          Q1 += h * h;
          S1 += c * c / h;
          ++k1;
        }
        if (t.Diploids > 0) {
          const Extended d = t.Diploids;
          const Extended g = r < 0 ? 0 : t.DiploidCopies[static_cast<size_t>(r)];
          const Extended hom = r < 0 ? 0 : t.DiploidHomozygotes[static_cast<size_t>(r)];
          G += g;
          H += hom;
          D += d;
          Q2 += d * d;
          S2 += g * g / (2 * d);
          ++k2;
        }
      }
      if (k1 > 1) {
        const Extended within = (A1 - S1) / (N1 - k1);
        const Extended among =
            ((S1 - A1 * A1 / N1) / (k1 - 1) - within) / ((N1 - Q1 / N1) / (k1 - 1));
        numerator += among;
        denominator += within + among;
      }
      if (k2 > 1) {
        const Extended within = (0.5L * G - H) / D;
        const Extended betweenInd = (H + 0.5L * G - S2) / (D - k2);
        const Extended among =
            ((S2 - 0.5L * G * G / D) / (k2 - 1) - betweenInd) / (2 * (D - Q2 / D) / (k2 - 1));
        numerator += among;
        denominator += among + 0.5L * (betweenInd - within) + within;
      }
      if (k1 + k2 >= 1) meanFrequency[static_cast<size_t>(j)] = (A1 + G) / (2 * D + N1);
    }

    Extended F = denominator == 0 ? 0 : numerator / denominator;
    Extended A;
    if (F <= 0 || F > 1)
      F = A = 0;
    else
      A = (1 - F) / F;
    Fst.SetLocus(i, F);
    Alpha.SetLocus(i, A);
    for (int j = 0; j < m.Count(); ++j) {
      MeanFrequencies.Set(i, j, meanFrequency[static_cast<size_t>(j)]);
      Alpha.Set(i, j, meanFrequency[static_cast<size_t>(j)] * A);
    }
    totalNumerator += numerator;
    totalDenominator += denominator;
  }
  GlobalFst = totalDenominator == 0 ? Undefined() : totalNumerator / totalDenominator;
}
