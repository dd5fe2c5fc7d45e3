#include "engine/CompactSimulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "engine/CompactTallies.h"
#include "model/Real.h"

// A list read once is counted without being sorted: every probability must be the one the
// sorted list gives, ties (within the tolerance), infinities and undefined scores included.
TEST(CompactSimulation, UnsortedKeysGiveTheSortedProbabilities) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coarse(-40, 0);
  std::vector<double> keys;
  for (int i = 0; i < 500; ++i)
    keys.push_back(coarse(rng) * 0.5); // many exact ties
  keys.push_back(-INFINITY);
  keys.push_back(-INFINITY);
  keys.push_back(INFINITY);
  std::vector<double> sorted = keys;
  std::sort(sorted.begin(), sorted.end());
  std::vector<Extended> scores = {0.0L, -3.0L, -3.0L + 1e-12L, -3.0L - 1e-12L, -7.25L, 5.0L,
                                  -100.0L, -INFINITY, INFINITY, Undefined()};
  for (Extended score : scores)
    for (bool distance : {false, true}) {
      const Extended a = KeyProbability(sorted, score, distance);
      const Extended b = KeyProbability(keys, score, distance, false);
      if (IsUndefined(a)) {
        EXPECT_TRUE(IsUndefined(b)) << static_cast<double>(score);
      } else {
        EXPECT_EQ(a, b) << static_cast<double>(score) << (distance ? " distance" : "");
      }
    }
  EXPECT_TRUE(IsUndefined(KeyProbability({}, 1.0L, false, false)));
}
