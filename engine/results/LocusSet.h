// The loci of a run that one result was computed on, or that it lacks: a subset of the run's
// loci (positions 0 .. L-1 in the run's order). Most units are typed at every locus, so "every
// locus" and "no locus" are kept without any storage; other subsets keep one bit per locus.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

class TLocusSet {
public:
  // The set of `positions` among `lociCount` loci. The positions are ascending and distinct.
  void Assign(std::span<const std::int32_t> positions, int lociCount);
  // No locus.
  void Clear();

  // Number of loci in the set.
  int Count() const { return count_; }
  // Calls `visit(position)` for every locus of the set, in the run's order.
  template <class F> void ForEach(F&& visit) const {
    if (all_) {
      for (int l = 0; l < count_; ++l)
        visit(l);
      return;
    }
    for (size_t w = 0; w < bits_.size(); ++w)
      for (std::uint64_t word = bits_[w]; word != 0; word &= word - 1)
        visit(static_cast<int>(w * 64 + static_cast<size_t>(std::countr_zero(word))));
  }

private:
  std::int32_t count_ = 0;
  bool all_ = false; // every locus 0 .. count_-1, without bits
  std::vector<std::uint64_t> bits_;
};
