// Allele tallies: the count and frequency of one allele (TAlleleFeatures) and the tally of one
// locus (TSampledLocus), kept in ascending order of allele code.
#pragma once

#include <cstdint>
#include <vector>

#include "model/Real.h"
#include "model/SmallVector.h"

struct TAlleleFeatures {
  std::int16_t AlleleCode = 0;
  std::int32_t Count = 0;
  Extended Frequency = 0;
};

class TSampledLocus {
public:
  // An individual's tally holds one or two alleles: those stay inside the tally.
  TSmallVector<TAlleleFeatures, 2> Features;
  std::int32_t NbGenes = 0;
  Extended Ho = 0;
  Extended He = 0;

  explicit TSampledLocus(int capacity = 0) { Features.reserve(static_cast<size_t>(capacity)); }

  void Clear();
  int Count() const { return static_cast<int>(Features.size()); }
  // Feature i, or null outside 0 .. Count-1.
  TAlleleFeatures* Items(int i);
  const TAlleleFeatures* Items(int i) const;
  TAlleleFeatures& Append(std::int16_t code, std::int32_t count);
  TAlleleFeatures& Insert(int i, std::int16_t code, std::int32_t count);
  // Appends copies of the features and copies NbGenes, Ho and He (the destination's existing
  // features stay).
  void AssignTo(TSampledLocus& dest) const;
  // The index of the first feature whose code is >= `code` (Count when none).
  int LowerBound(std::int16_t code) const;
};
