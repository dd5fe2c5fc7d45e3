#include "engine/common/GenMars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

// RANMAR as first published (one-based lag table, lags 97 and 33), in double precision: every
// value lies on the 2^-24 grid, so both must agree exactly.
class TReferenceRanmar {
public:
  TReferenceRanmar(int i, int j, int k, int l) {
    for (int ii = 1; ii <= 97; ++ii) {
      double s = 0.0, t = 0.5;
      for (int jj = 1; jj <= 24; ++jj) {
        int m = ((i * j) % 179) * k % 179;
        i = j, j = k, k = m;
        l = (53 * l + 1) % 169;
        if ((l * m) % 64 >= 32) s += t;
        t *= 0.5;
      }
      u_[ii] = s;
    }
  }
  double Next() {
    double uni = u_[i97_] - u_[j97_];
    if (uni < 0.0) uni += 1.0;
    u_[i97_] = uni;
    if (--i97_ == 0) i97_ = 97;
    if (--j97_ == 0) j97_ = 97;
    c_ -= 7654321.0 / 16777216.0;
    if (c_ < 0.0) c_ += 16777213.0 / 16777216.0;
    uni -= c_;
    return uni < 0.0 ? uni + 1.0 : uni;
  }

private:
  std::array<double, 98> u_{};
  double c_ = 362436.0 / 16777216.0;
  int i97_ = 97, j97_ = 33;
};

TGenMars Seeded(int i, int j, int k, int l) {
  TGenMars g;
  g.SetSeeds(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(j),
             static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(l));
  return g;
}

} // namespace

TEST(GenMars, StreamMatchesPublishedRecurrence) {
  TGenMars g = Seeded(1, 2, 3, 4);
  TGenMars twin = Seeded(1, 2, 3, 4);
  TReferenceRanmar reference(1, 2, 3, 4);
  for (int n = 0; n < 1000; ++n) {
    const Extended x = g.Next();
    ASSERT_EQ(x, static_cast<Extended>(reference.Next())) << "value " << n;
    ASSERT_EQ(twin.Next(), x);
    ASSERT_EQ(g.Last(), x);
    EXPECT_TRUE(n != 96 || (g.I97 == 96 && g.J97 == 32)); // one full turn of the lags
  }

  // Every kind of seed byte: zeros and multiples of 179 among i, j, k (a lag table of zeros),
  // the largest bytes, and seeds that the published ranges leave out.
  const int bytes[] = {0, 1, 2, 97, 168, 169, 178, 179, 200, 255};
  for (int i : bytes)
    for (int j : bytes)
      for (int k : bytes)
        for (int l : {0, 1, 168, 255}) {
          TGenMars seeded = Seeded(i, j, k, l);
          TReferenceRanmar expected(i, j, k, l);
          for (int n = 0; n < 120; ++n)
            ASSERT_EQ(seeded.Next(), static_cast<Extended>(expected.Next()))
                << i << " " << j << " " << k << " " << l << " value " << n;
        }

  // The published check of the algorithm: seeds 1802 / 9373 (i, j, k, l = 12, 34, 56, 78); after
  // 20000 values the next six, times 2^24.
  TGenMars published = Seeded(12, 34, 56, 78);
  for (int n = 0; n < 20000; ++n)
    published.Next();
  for (Extended e : {6533892, 14220222, 7275067, 6172232, 8354498, 10633180})
    EXPECT_EQ(published.Next() * 16777216.0L, e);
}

TEST(GenMars, SeedsFromTheDeviceBytes) {
  char path[] = "/tmp/genmarsXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(path, std::ios::binary).write("\xC8\xAA\x03\xFF", 4); // 200 170 3 255
  TGenMars fromFile(path);
  TGenMars expected = Seeded(200 % 168 + 1, 170 % 168 + 1, 3 % 168 + 1, 255 % 169);
  for (int n = 0; n < 200; ++n)
    ASSERT_EQ(fromFile.Next(), expected.Next());
  // A byte that is a multiple of 169 must not give a zero seed j or k: the lag table would be all
  // zeros and the stream the bare arithmetic sequence.
  std::ofstream(path, std::ios::binary).write("\x10\xA9\x00\x00", 4); // 16 169 0 0
  TGenMars zeros(path);
  EXPECT_TRUE(std::any_of(zeros.U.begin(), zeros.U.end(), [](std::int32_t u) { return u != 0; }));
  std::remove(path);
  // Neither may the seeds of the streams a run draws for its populations and units.
  TGenMars source = Seeded(1, 2, 3, 4);
  for (int n = 0; n < 3000; ++n) {
    const TGenMarsSeeds seeds = DrawStreamSeeds(source);
    ASSERT_TRUE(seeds.I >= 1 && seeds.J >= 1 && seeds.K >= 1 && seeds.I <= 168 && seeds.J <= 168 &&
                seeds.K <= 168 && seeds.L <= 168);
  }

  // No device: clock-based seeds, still a working generator.
  TGenMars fallback("/nonexistent/random");
  for (int n = 0; n < 100; ++n) {
    const Extended x = fallback.Next();
    ASSERT_TRUE(x >= 0 && x < 1);
  }
}

TEST(GenMars, IntegerDrawsAndUniformity) {
  TGenMars g = Seeded(1, 2, 3, 4);
  std::array<int, 7> faces{};
  Extended sum = 0;
  const int draws = 60000;
  for (int n = 0; n < draws; ++n) {
    ASSERT_EQ(g.RandomFrom0(1), 0);
    const int face = g.RandomFrom1(6);
    ASSERT_TRUE(face >= 1 && face <= 6);
    ++faces[static_cast<size_t>(face)];
    sum += g.Next();
  }
  EXPECT_NEAR(static_cast<double>(sum / draws), 0.5, 0.005);
  for (int face = 1; face <= 6; ++face)
    EXPECT_NEAR(faces[static_cast<size_t>(face)], 10000, 400);
}

TEST(GenMars, CursorDrawsTheGeneratorsStreamAndHandsItBack) {
  TGenMars g = Seeded(12, 34, 56, 78);
  TGenMars twin = g;
  // Across several turns of the lag table, with the integer draws of every kind.
  for (int round = 0; round < 3; ++round) {
    {
      TGenMarsCursor cursor(g);
      for (int n = 0; n < 150; ++n) {
        ASSERT_EQ(cursor.NextUnits(), twin.NextUnits()) << "round " << round << " value " << n;
        ASSERT_EQ(cursor.RandomFrom0(50), twin.RandomFrom0(50));
        ASSERT_EQ(cursor.RandomFrom0(-7), twin.RandomFrom0(-7));
        ASSERT_EQ(cursor.RandomFrom0(0), twin.RandomFrom0(0));
      }
    }
    // Handed back: the generator goes on where the cursor stopped.
    EXPECT_EQ(g.Last(), twin.Last());
    EXPECT_EQ(g.I97, twin.I97);
    EXPECT_EQ(g.J97, twin.J97);
    EXPECT_EQ(g.C, twin.C);
    EXPECT_EQ(g.U, twin.U);
    ASSERT_EQ(g.Next(), twin.Next());
  }
}

TEST(GenMars, CursorHandsBackTheStateInsideAndAtTheEndOfItsBlocks) {
  TGenMars g = Seeded(3, 141, 59, 26);
  TGenMars twin = g;
  // Lifetimes around the block length and across many turns of the lag table, so the cursor
  // hands back states taken inside a block, at its end and after its storage was moved back.
  for (int draws : {0, 1, 31, 32, 33, 64, 97, 1000, 5000, 2}) {
    {
      TGenMarsCursor cursor(g);
      for (int n = 0; n < draws; ++n) {
        switch (n % 3) {
        case 0:
          ASSERT_EQ(cursor.NextUnits(), twin.NextUnits()) << draws << " draws, value " << n;
          break;
        case 1:
          ASSERT_EQ(cursor.RandomFrom0(50), twin.RandomFrom0(50));
          break;
        default:
          ASSERT_EQ(cursor.Next(), twin.Next());
          break;
        }
      }
    }
    EXPECT_EQ(g.LastUnits, twin.LastUnits) << draws << " draws";
    EXPECT_EQ(g.I97, twin.I97);
    EXPECT_EQ(g.J97, twin.J97);
    EXPECT_EQ(g.C, twin.C);
    EXPECT_EQ(g.U, twin.U);
    ASSERT_EQ(g.Next(), twin.Next());
  }
}
