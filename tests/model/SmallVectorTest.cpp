#include "model/SmallVector.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

template <unsigned N>
void ExpectSame(const TSmallVector<int, N>& small, const std::vector<int>& reference) {
  ASSERT_EQ(small.size(), reference.size());
  for (size_t i = 0; i < reference.size(); ++i)
    ASSERT_EQ(small[i], reference[i]) << "element " << i;
}

} // namespace

// Random pushes, inserts and erases, across the inline limit and back, agree with std::vector;
// copies and moves keep the elements whether they live inline or on the heap.
TEST(SmallVector, BehavesAsAVectorAcrossItsInlineLimit) {
  std::mt19937 random(7);
  TSmallVector<int, 2> small;
  std::vector<int> reference;
  for (int step = 0; step < 2000; ++step) {
    const int op = static_cast<int>(random() % 4);
    const int value = static_cast<int>(random() % 100);
    if (op == 0 || reference.empty()) {
      small.push_back(value);
      reference.push_back(value);
    } else if (op == 1) {
      const size_t at = random() % (reference.size() + 1);
      small.insert(small.begin() + at, value);
      reference.insert(reference.begin() + static_cast<long>(at), value);
    } else if (op == 2) {
      const size_t at = random() % reference.size();
      small.erase(small.begin() + at);
      reference.erase(reference.begin() + static_cast<long>(at));
    } else if (reference.size() > 6) {
      small.clear();
      reference.clear();
    }
    ExpectSame(small, reference);
  }

  // A value of the vector itself pushed while the storage grows.
  TSmallVector<int, 2> self = {4, 5};
  self.push_back(self[0]);
  self.insert(self.begin(), self.back());
  ExpectSame(self, {4, 4, 5, 4});

  TSmallVector<int, 2> inlineOnly = {1};
  TSmallVector<int, 2> onHeap = {1, 2, 3, 4, 5};
  TSmallVector<int, 2> copy = onHeap;
  ExpectSame(copy, {1, 2, 3, 4, 5});
  copy = inlineOnly;
  ExpectSame(copy, {1});
  TSmallVector<int, 2> moved = std::move(onHeap);
  ExpectSame(moved, {1, 2, 3, 4, 5});
  EXPECT_TRUE(onHeap.empty());
  onHeap.push_back(9); // a moved-from vector is usable again
  ExpectSame(onHeap, {9});
  moved = std::move(inlineOnly);
  ExpectSame(moved, {1});
  EXPECT_EQ(moved.capacity(), 2u);
  EXPECT_THROW(moved.at(1), std::out_of_range);
  EXPECT_TRUE(copy == moved);
}
