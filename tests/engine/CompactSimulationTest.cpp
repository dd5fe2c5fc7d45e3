#include "engine/simulation/CompactSimulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "base/Real.h"
#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/criteria/CompactTallies.h"
#include "engine/criteria/ScoreTables.h"
#include "model/Sample.h"
#include "tests/engine/MatchTestSupport.h"
#include "tests/engine/RandomDataSupport.h"
#include "tests/engine/SimulationTestSupport.h"

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
  std::vector<Extended> scores = {0.0L, -3.0L,   -3.0L + 1e-12L, -3.0L - 1e-12L, -7.25L,
                                  5.0L, -100.0L, -INFINITY,      INFINITY,       Undefined()};
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

// Individuals drawn straight as score-table slots are the slots of the individuals drawn as
// tallies, from the same values of the stream, at every locus or some of them; a member carrying
// three copies at a used locus keeps the draw as tallies.
TEST(CompactSimulation, SlotsDrawnStraightAreThoseOfTheDrawnIndividual) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const auto ds = randomdata::RandomSet(seed, {7, 1, 12}, static_cast<int>(seed % 2));
    const TMatchPGDS match(*ds, *ds, simtest::LocusNames(*ds));
    const TCompactMatch compact(match);
    for (const std::vector<std::int32_t>& used :
         {std::vector<std::int32_t>{0, 1, 2, 3, 4}, std::vector<std::int32_t>{1, 4}}) {
      for (TSimulationAlgorithm algorithm :
           {TSimulationAlgorithm::Cornuet1999, TSimulationAlgorithm::Rannala1997}) {
        for (int k = 0; k < ds->SamplesCount(); ++k) {
          const TCompactPopulation population = TCompactPopulation::Of(compact, *ds->SampleAt(k));
          const TCompactMembers members = TCompactMembers::Of(compact, *ds->SampleAt(k), nullptr);
          TCompactIndividualDraw draw(compact, population, members, used, algorithm);
          ASSERT_TRUE(draw.Simple());
          TGenMars a(TGenMarsSeeds{3, 5, 7, static_cast<std::uint8_t>(seed)});
          TGenMars b(TGenMarsSeeds{3, 5, 7, static_cast<std::uint8_t>(seed)});
          {
            TGenMarsCursor streamA(a), streamB(b);
            TCompactUnit individual;
            TUnitCodes filled, straight;
            for (int i = 0; i < 300; ++i) {
              draw.Draw(individual, streamA);
              filled.Fill(compact, individual);
              draw.DrawCodes(straight, streamB);
              ASSERT_TRUE(straight.Simple);
              ASSERT_EQ(straight.First, filled.First) << "draw " << i;
              ASSERT_EQ(straight.Second, filled.Second) << "draw " << i;
              ASSERT_EQ(straight.X, filled.X) << "draw " << i;
            }
          }
          EXPECT_EQ(a.NextUnits(), b.NextUnits());
        }
      }
    }
  }

  const auto triploid = matchtest::Build(
      matchtest::Raw({"L1", "L2"}, {{"P", {{"10/11", "12/12/13"}, {"11/11", "12/13"}}}}));
  const TMatchPGDS match(*triploid, *triploid, {"L1", "L2"});
  const TCompactMatch compact(match);
  const TCompactPopulation population = TCompactPopulation::Of(compact, *triploid->SampleAt(0));
  const TCompactMembers members = TCompactMembers::Of(compact, *triploid->SampleAt(0), nullptr);
  for (TSimulationAlgorithm algorithm :
       {TSimulationAlgorithm::Cornuet1999, TSimulationAlgorithm::Rannala1997}) {
    EXPECT_FALSE(TCompactIndividualDraw(compact, population, members, {0, 1}, algorithm).Simple());
    EXPECT_TRUE(TCompactIndividualDraw(compact, population, members, {0}, algorithm).Simple());
  }
}
