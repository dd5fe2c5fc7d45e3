#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/common/GenMars.h"
#include "engine/simulation/SharedLists.h"

namespace {

// A stand-in simulation: a few values of the stream, counted.
struct TCountedSimulation {
  std::atomic<int>* Made;
  bool operator()(std::vector<double>& keys, TGenMars& random) const {
    ++*Made;
    keys.clear();
    for (int i = 0; i < 100; ++i)
      keys.push_back(static_cast<double>(random.Next()));
    return true;
  }
};

} // namespace

TEST(SharedLists, UnitsOfOnePatternShareListsSeededInTheOrderOfTheirFirstUnit) {
  // Units 0 and 3 lack locus 2, unit 2 loci 0 and 4, unit 1 none.
  const std::vector<std::vector<std::int32_t>> missing{{2}, {}, {0, 4}, {2}};
  TGenMars generator(TGenMarsSeeds{1, 2, 3, 4});
  const TLocusPatterns patterns(missing, 3, generator);
  ASSERT_EQ(patterns.Count(), 2);
  EXPECT_EQ(patterns.PatternOf(0), 0);
  EXPECT_EQ(patterns.PatternOf(1), -1);
  EXPECT_EQ(patterns.PatternOf(2), 1);
  EXPECT_EQ(patterns.PatternOf(3), 0);
  EXPECT_EQ(patterns.Units(0), 2);
  TGenMars again(TGenMarsSeeds{1, 2, 3, 4});
  for (int p = 0; p < 2; ++p)
    for (int k = 0; k < 3; ++k) {
      const TGenMarsSeeds s = DrawStreamSeeds(again);
      EXPECT_EQ(patterns.Seeds(p, k).I, s.I);
      EXPECT_EQ(patterns.Seeds(p, k).L, s.L);
    }

  // Ample memory: each list made once, units 0 and 3 read the same one, and the pattern's lists
  // go with its last unit.
  std::atomic<int> made{0};
  TSharedLists<std::vector<double>> lists(patterns);
  const auto first = lists.Get(0, 1, TCountedSimulation{&made});
  EXPECT_EQ(lists.Get(3, 1, TCountedSimulation{&made}), first);
  const std::vector<double> other = *lists.Get(0, 2, TCountedSimulation{&made});
  EXPECT_NE(other, *first);
  EXPECT_EQ(made, 2);
  const std::vector<double> kept = *first;
  lists.Done(0);
  EXPECT_GT(lists.Bytes(), 0u);
  lists.Done(3);
  EXPECT_EQ(lists.Bytes(), 0u);

  // No memory to spare, several threads: a list drops the other one, which is made again when
  // asked for, with the same values; what a stopped simulation made is not kept.
  TSharedLists<std::vector<double>> tight(patterns, 0);
  made = 0;
  std::vector<std::thread> threads;
  std::atomic<int> differ{0};
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&] {
      for (int repeat = 0; repeat < 20; ++repeat) {
        differ += *tight.Get(3, 1, TCountedSimulation{&made}) != kept;
        differ += *tight.Get(0, 2, TCountedSimulation{&made}) != other;
      }
    });
  for (std::thread& t : threads)
    t.join();
  EXPECT_EQ(differ, 0);
  EXPECT_GT(made, 2);
  EXPECT_EQ(tight.Get(2, 0, [](std::vector<double>&, TGenMars&) { return false; }), nullptr);
  EXPECT_NE(tight.Get(2, 0, TCountedSimulation{&made}), nullptr);
}
