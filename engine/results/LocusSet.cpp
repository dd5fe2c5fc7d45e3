#include "engine/results/LocusSet.h"

void TLocusSet::Assign(std::span<const std::int32_t> positions, int lociCount) {
  count_ = static_cast<std::int32_t>(positions.size());
  // Distinct positions below lociCount, as many as the loci: every locus.
  all_ = count_ > 0 && count_ == lociCount;
  bits_.clear();
  if (all_ || count_ == 0) return;
  for (const std::int32_t l : positions) {
    const size_t word = static_cast<size_t>(l) / 64;
    if (bits_.size() <= word) bits_.resize(word + 1, 0);
    bits_[word] |= std::uint64_t{1} << (static_cast<unsigned>(l) % 64);
  }
}

void TLocusSet::Clear() {
  count_ = 0;
  all_ = false;
  bits_.clear();
}
