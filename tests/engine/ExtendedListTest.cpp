#include "engine/common/ExtendedList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Texts.h"

namespace {
std::unique_ptr<TExtendedList> ListOf(const std::vector<Extended>& values) {
  auto list = std::make_unique<TExtendedList>(0);
  for (Extended v : values)
    list->Add(v);
  return list;
}
} // namespace

TEST(ExtendedList, CountsBelowAndAboveSplitTies) {
  auto owned = ListOf({2, 1, 3, 2});
  TExtendedList& list = *owned;
  EXPECT_EQ(list.CountBelow(2), 2); // 1 below, half of the two 2s
  EXPECT_EQ(list.CountAbove(2), 2);
  EXPECT_EQ(list.CountBelow(2.5L), 3);
  EXPECT_EQ(list.CountAbove(2.5L), 1);
  EXPECT_EQ(list.CountBelow(Undefined()), 0);

  // An odd number of ties: the half is truncated.
  auto ties = ListOf({5, 5, 5, 4, 6});
  EXPECT_EQ(ties->CountBelow(5), 2);
  EXPECT_EQ(ties->CountAbove(5), 2);
  EXPECT_EQ(ListOf({7})->CountBelow(7), 0);

  // All below or all above the observed value.
  TExtendedList many(1000);
  for (int i = 0; i < 1000; ++i)
    many.Add(i * 1e-3L);
  EXPECT_EQ(many.CountBelow(2), 1000);
  EXPECT_EQ(many.CountAbove(2), 0);
  EXPECT_EQ(many.CountBelow(-1), 0);
  EXPECT_EQ(many.CountAbove(-1), 1000);
  EXPECT_EQ(TExtendedList(10).CountBelow(0), 0);
}

TEST(ExtendedList, SortsAscending) {
  std::mt19937 random(7);
  for (int n : {0, 1, 2, 3, 17, 1000, 5000}) {
    std::vector<Extended> values;
    for (int i = 0; i < n; ++i)
      values.push_back(i % 3 == 0 ? 0.25L : static_cast<Extended>(random() % 50) / 7);
    auto owned = ListOf(values);
    TExtendedList& list = *owned;
    list.Sort();
    EXPECT_TRUE(list.Sorted());
    std::sort(values.begin(), values.end());
    ASSERT_EQ(list.Count(), n);
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(list.Get(i), values[static_cast<size_t>(i)]) << n;
  }

  // Already sorted, reversed and constant lists.
  TExtendedList reversed(0), constant(0);
  for (int i = 0; i < 20000; ++i) {
    reversed.Add(20000 - i);
    constant.Add(1);
  }
  reversed.Sort();
  constant.Sort();
  for (int i = 0; i < 20000; ++i)
    ASSERT_EQ(reversed.Get(i), i + 1);
  EXPECT_EQ(constant.CountBelow(1), 10000);

  // Undefined values go last instead of breaking the order.
  auto owned = ListOf({3, Undefined(), 1, 2});
  TExtendedList& withNaN = *owned;
  withNaN.Sort();
  EXPECT_EQ(withNaN.Get(0), 1);
  EXPECT_EQ(withNaN.Get(2), 3);
  EXPECT_TRUE(IsUndefined(withNaN.Get(3)));

  // Any change clears the sorted flag.
  withNaN.Put(3, 4);
  EXPECT_FALSE(withNaN.Sorted());
  withNaN.Sort();
  withNaN.Add(0);
  EXPECT_FALSE(withNaN.Sorted());
}

TEST(ExtendedList, StorageAndIndexErrors) {
  TExtendedList list(0);
  std::vector<int> capacities;
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list.Add(i), i);
    capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 4, 7}));

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 7);
  list.Add(9);
  EXPECT_EQ(list.Items(0), 9);

  SetCurrentLanguage(lang::French);
  try {
    list.Get(1);
    FAIL() << "read beyond Count";
  } catch (const ERangeError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Index 1 en dehors des limites dans TExtendedList(TExtendedList)");
  }
  EXPECT_THROW(list.Get(-1), ERangeError);
  EXPECT_THROW(list.Put(1, 0), ERangeError);

  list.SetCapacity(0);
  EXPECT_EQ(list.Count(), 0);

  TExtendedList copy(0);
  ListOf({1, 2})->AssignTo(copy);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Get(1), 2);
}
