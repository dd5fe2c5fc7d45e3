// The priors of criterion 1 ("Baudouin (TEST)"): per matched locus a differentiation index F
// estimated from the reference samples (haploid and diploid genotypes, each by an analysis of
// variance of allele frequencies), and per allele entry a Dirichlet prior proportional to the
// mean frequency of the allele over the samples.
#pragma once

#include <memory>
#include <vector>

#include "base/Real.h"
#include "engine/common/ExtendedList.h"

class TPGDSStructure;
class TMatchPGDS;
class TIndividual;

// A two-level table of extended reals: one row per matched locus indexed by allele entry, and
// one value per matched locus. Writing beyond the end first appends zeros up to the cell;
// reading a cell that does not exist gives the undefined value.
class TAlpha {
public:
  std::vector<std::unique_ptr<TExtendedList>> Rows;
  TExtendedList LocusValues{20};

  Extended Get(int locus, int entry) const;
  void Set(int locus, int entry, Extended value);
  Extended GetLocus(int locus) const;
  void SetLocus(int locus, Extended value);
  int RowCount() const { return static_cast<int>(Rows.size()); }
  void Clear();
};

class TBayesien2Data {
public:
  // Per locus A = (1 - F) / F; per entry alpha = pbar × A.
  TAlpha Alpha;
  // Per entry pbar, the mean frequency of the allele over the reference samples.
  TAlpha MeanFrequencies;
  // Per locus F.
  TAlpha Fst;
  // Sum of the numerators over sum of the denominators of every locus.
  Extended GlobalFst = Undefined();

  // Fills the three tables from the samples of `reference` (the match's reference data set),
  // leaving `excluded` (when not null) out of every count.
  void Prepare(const TPGDSStructure& reference, const TMatchPGDS& match,
               const TIndividual* excluded);
};
