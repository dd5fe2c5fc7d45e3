// Units treated on several threads are still followed in order on the calling thread, and a
// failure anywhere ends the run with its exception rather than ending the program.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "engine/common/ThreadPool.h"

namespace {

TEST(ParallelUnits, FollowsEveryUnitInOrderAndStopsWhereAsked) {
  for (int threads : {1, 2, 3}) {
    std::vector<int> treated(50, 0);
    std::vector<int> followed;
    const TRunResult done = ParallelUnits(
        50, threads, [&](int i) { treated[static_cast<size_t>(i)] = i * i; },
        [](int) { return false; },
        [&](int i) {
          // Unit i is finished when it is followed.
          EXPECT_EQ(treated[static_cast<size_t>(i)], i * i);
          followed.push_back(i);
          return false;
        },
        [] { return false; });
    EXPECT_EQ(done, TRunResult::Completed);
    ASSERT_EQ(followed.size(), 50u) << threads;
    for (int i = 0; i < 50; ++i)
      EXPECT_EQ(followed[static_cast<size_t>(i)], i);

    followed.clear();
    EXPECT_EQ(TRunResult::Stopped, ParallelUnits(
                                       50, threads, [](int) {}, [](int) { return false; },
                                       [&](int i) {
                                         followed.push_back(i);
                                         return i == 9;
                                       },
                                       [] { return false; }));
    EXPECT_EQ(followed.size(), 10u) << threads;
  }
}

TEST(ParallelUnits, AnExceptionOfAUnitOrOfTheCallingThreadReachesTheCaller) {
  for (int threads : {1, 2, 3}) {
    EXPECT_THROW(ParallelUnits(
                     40, threads,
                     [](int i) {
                       if (i == 17) throw std::runtime_error("unit");
                     },
                     [](int) { return false; }, [](int) { return false; }, [] { return false; }),
                 std::runtime_error)
        << threads;
    // The hooks of the calling thread throwing while workers still run: the workers are
    // stopped and joined before the exception leaves.
    std::atomic<int> started{0};
    EXPECT_THROW(ParallelUnits(
                     1000, threads, [&](int) { ++started; },
                     [](int i) {
                       if (i == 5) throw std::logic_error("before");
                       return false;
                     },
                     [](int) { return false; }, [] { return false; }),
                 std::logic_error)
        << threads;
    EXPECT_THROW(ParallelUnits(
                     1000, threads, [&](int) { ++started; }, [](int) { return false; },
                     [](int i) {
                       if (i == 3) throw std::logic_error("after");
                       return false;
                     },
                     [] { return false; }),
                 std::logic_error)
        << threads;
    EXPECT_GT(started.load(), 0);
  }
}

} // namespace
