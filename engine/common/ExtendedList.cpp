#include "engine/common/ExtendedList.h"

#include <algorithm>
#include <utility>

#include "base/Errors.h"
#include "model/ModelTexts.h"

namespace {
// A total order on the values: undefined values after every defined one.
bool Before(Extended a, Extended b) {
  if (IsUndefined(a)) return false;
  if (IsUndefined(b)) return true;
  return a < b;
}
} // namespace

TExtendedList::TExtendedList(int capacity) {
  SetCapacity(capacity);
}

void TExtendedList::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TExtendedList*>(&dest);
  if (!d) {
    TPersistent::AssignTo(dest);
    return;
  }
  d->items_ = items_;
  d->count_ = count_;
  d->sorted_ = sorted_;
}

void TExtendedList::SetCapacity(int n) {
  if (n < 0) n = 0;
  items_.resize(static_cast<size_t>(n), 0.0L);
  if (count_ > n) count_ = n;
}

void TExtendedList::RangeError(int i) const {
  throw ERangeError(Format(kIndexOutOfLimits(), i, ClassName(), "TExtendedList"));
}

Extended TExtendedList::Get(int i) const {
  if (i < 0 || i >= count_) RangeError(i);
  return items_[static_cast<size_t>(i)];
}

void TExtendedList::Put(int i, Extended x) {
  if (i < 0 || i >= count_) RangeError(i);
  items_[static_cast<size_t>(i)] = x;
  sorted_ = false;
}

int TExtendedList::Add(Extended x) {
  if (count_ == Capacity()) SetCapacity(count_ + 1 + count_ / 2);
  items_[static_cast<size_t>(count_)] = x;
  sorted_ = false;
  return count_++;
}

void TExtendedList::Clear() {
  std::fill(items_.begin(), items_.end(), 0.0L);
  count_ = 0;
  sorted_ = false;
}

// Hoare partition around the middle element; the smaller part is sorted by recursion and the
// larger one by iteration, so the depth stays logarithmic.
void TExtendedList::QuickSort(int lo, int hi) {
  while (lo < hi) {
    const Extended pivot = items_[static_cast<size_t>(lo + (hi - lo) / 2)];
    int i = lo, j = hi;
    while (i <= j) {
      while (Before(items_[static_cast<size_t>(i)], pivot))
        ++i;
      while (Before(pivot, items_[static_cast<size_t>(j)]))
        --j;
      if (i <= j) {
        std::swap(items_[static_cast<size_t>(i)], items_[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    }
    if (j - lo < hi - i) {
      QuickSort(lo, j);
      lo = i;
    } else {
      QuickSort(i, hi);
      hi = j;
    }
  }
}

void TExtendedList::Sort() {
  if (count_ > 1) QuickSort(0, count_ - 1);
  sorted_ = true;
}

int TExtendedList::CountBelow(Extended x) const {
  int below = 0, equal = 0;
  for (int i = 0; i < count_; ++i) {
    const Extended v = items_[static_cast<size_t>(i)];
    if (TiesWith(v, x))
      ++equal;
    else if (v < x)
      ++below;
  }
  return below + equal / 2;
}

int TExtendedList::CountAbove(Extended x) const {
  int above = 0, equal = 0;
  for (int i = 0; i < count_; ++i) {
    const Extended v = items_[static_cast<size_t>(i)];
    if (TiesWith(v, x))
      ++equal;
    else if (v > x)
      ++above;
  }
  return above + equal / 2;
}
