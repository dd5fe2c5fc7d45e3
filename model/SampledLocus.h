// Allele tallies: the count and frequency of one allele (TAlleleFeatures), the tally of one
// locus (TSampledLocus), kept in ascending order of allele code, and the tallies of an entity, one
// per locus (TSampledLoci).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/Real.h"
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

// The tallies of an entity, one per locus. A copy shares its source's tallies until either of
// them changes one: the copies of a data set's samples and individuals (the root of a text
// format's groups, a copied data set) then hold no tally of their own. Tallies never written
// take no room: they read as empty tallies until the first access through a non-const
// reference, so an individual whose tallies nobody asks for carries none. Reading through a
// const reference never copies or allocates; the first access through a non-const one takes a
// copy of the tallies when they are shared. A reference follows the block it was taken from:
// one taken through a non-const access is not to be written through once the entity has been
// copied.
class TSampledLoci {
public:
  using value_type = TSampledLocus;
  using iterator = TSampledLocus*;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  const TSampledLocus& operator[](std::size_t i) const { return loci_ ? (*loci_)[i] : Empty(); }
  TSampledLocus& operator[](std::size_t i) { return Own()[i]; }
  iterator begin() { return size_ ? Own().data() : nullptr; }
  iterator end() { return size_ ? Own().data() + size_ : nullptr; }
  // Whether any tally has been written (or shared from an entity that wrote one).
  bool Stored() const { return loci_ != nullptr; }

  // No tally: a shared block is left to its other owners.
  void clear() {
    loci_.reset();
    size_ = 0;
  }
  // `n` empty tallies.
  void Reset(std::size_t n);

private:
  static const TSampledLocus& Empty();
  // The tallies, made or copied first when this entity has none of its own.
  std::vector<TSampledLocus>& Own();

  std::shared_ptr<std::vector<TSampledLocus>> loci_;
  std::size_t size_ = 0;
};
