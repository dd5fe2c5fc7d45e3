// A growable array of extended reals: the criterion values simulated for one reference
// population, sorted once and then counted below or above an observed value.
#pragma once

#include <vector>

#include "base/Real.h"
#include "model/Persistent.h"

// Whether a simulated value v ties with an observed value x: equal, or within a relative 1E-10.
// Criterion values that are equal in exact arithmetic (two genotypes whose alleles have the
// same counts) come out of sums taken in different orders and differ in their last bits; they
// must still count as ties, however the sums were ordered.
constexpr Extended kTieTolerance = 1E-10L;
inline bool TiesWith(Extended v, Extended x) {
  return v == x ||
         (v - x <= kTieTolerance * (x < 0 ? -x : x) && x - v <= kTieTolerance * (x < 0 ? -x : x));
}

class TExtendedList : public TPersistent {
public:
  explicit TExtendedList(int capacity = 0);

  const char* ClassName() const override { return "TExtendedList"; }
  // Copies the values (and the sorted flag) into another TExtendedList.
  void AssignTo(TPersistent& dest) const override;

  int Count() const { return count_; }
  int Capacity() const { return static_cast<int>(items_.size()); }
  // True after Sort, until the next change.
  bool Sorted() const { return sorted_; }
  // A capacity below Count drops the values beyond it.
  void SetCapacity(int n);

  // Value i; raises ERangeError outside 0 .. Count-1.
  Extended Get(int i) const;
  Extended Items(int i) const { return Get(i); }
  // Replaces value i; raises ERangeError outside 0 .. Count-1.
  void Put(int i, Extended x);
  // Appends x, growing the capacity by half when full; returns its index.
  int Add(Extended x);
  // Zeroes the values and empties the list; the capacity stays.
  void Clear();
  // Ascending order (undefined values, if any, go last).
  void Sort();

  // Values below x, plus half (truncated) of the values tied with x (TiesWith).
  int CountBelow(Extended x) const;
  // Values above x, plus half (truncated) of the values tied with x.
  int CountAbove(Extended x) const;

private:
  [[noreturn]] void RangeError(int i) const;
  void QuickSort(int lo, int hi);

  std::vector<Extended> items_; // its size is the capacity
  int count_ = 0;
  bool sorted_ = false;
};
