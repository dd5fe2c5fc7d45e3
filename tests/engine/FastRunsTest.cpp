// The fast runs must find exactly what the step-by-step runs find: the same values (up to
// rounding), the same simulated individuals and so the same probabilities, whatever the number
// of threads.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/Assignment.h"
#include "engine/GenMars.h"
#include "engine/Match.h"
#include "engine/ResultTables.h"
#include "engine/Simulation.h"
#include "model/Sample.h"
#include "tests/engine/RandomDataSupport.h"

namespace {

using randomdata::RandomSet;

struct TRun {
  bool Completed = false;
  std::unique_ptr<TTableResultats> Table;
  TAssignmentQuality Quality;
};

TRun Assign(const TPGDSStructure& reference, const TPGDSStructure& target, TAssignmentParams p,
            bool groups) {
  // Every run starts from the same seeds and pre-simulates afresh.
  for (int k = 0; k < reference.SamplesCount(); ++k)
    reference.SampleAt(k)->SimulationData.reset();
  SimulationGenerator().SetSeeds(11, 12, 13, 14);
  TRun run;
  auto match = std::make_unique<TMatchPGDS>(reference, target, p.LocusNames);
  run.Completed =
      groups ? AssignGroups(reference, target, std::move(match), p, run.Table)
             : AssignIndividuals(reference, target, std::move(match), p, run.Table, run.Quality);
  return run;
}

bool Close(Extended a, Extended b) {
  if (IsUndefined(a) || IsUndefined(b)) return IsUndefined(a) && IsUndefined(b);
  return std::fabs(a - b) <= 1e-12L * std::max(std::fabs(a), std::fabs(b)) + 1e-15L;
}

// Same rows, same ranking, same loci; probabilities compared exactly.
void ExpectSame(const TRun& slow, const TRun& fast, bool exact, const std::string& what) {
  ASSERT_TRUE(slow.Completed) << what;
  ASSERT_TRUE(fast.Completed) << what;
  ASSERT_EQ(slow.Table->Count(), fast.Table->Count()) << what;
  for (int i = 0; i < slow.Table->Count(); ++i) {
    const TResultats& a = slow.Table->Item(i);
    const TResultats& b = fast.Table->Item(i);
    ASSERT_EQ(a.Count, b.Count) << what;
    EXPECT_EQ(a.Caption, b.Caption) << what;
    EXPECT_EQ(a.LocusNames(a.UsedLoci), b.LocusNames(b.UsedLoci)) << what;
    EXPECT_EQ(a.LocusNames(a.MissingLoci), b.LocusNames(b.MissingLoci)) << what;
    EXPECT_EQ(a.WellClassified, b.WellClassified) << what << " unit " << i;
    for (int k = 0; k < a.Count; ++k) {
      if (exact)
        EXPECT_TRUE(a.Row(k).Value == b.Row(k).Value ||
                    (IsUndefined(a.Row(k).Value) && IsUndefined(b.Row(k).Value)))
            << what << " unit " << i << " population " << k << ": "
            << static_cast<double>(a.Row(k).Value) << " " << static_cast<double>(b.Row(k).Value);
      else
        EXPECT_TRUE(Close(a.Row(k).Value, b.Row(k).Value))
            << what << " unit " << i << " population " << k;
      EXPECT_TRUE(Close(a.SortedRow(k).Score, b.SortedRow(k).Score))
          << what << " unit " << i << " rank " << k;
      EXPECT_EQ(a.SortedRow(k).Name, b.SortedRow(k).Name) << what << " unit " << i;
    }
  }
  EXPECT_TRUE(Close(slow.Quality.QualityIndex, fast.Quality.QualityIndex)) << what;
  EXPECT_EQ(slow.Quality.CorrectlyAssigned, fast.Quality.CorrectlyAssigned) << what;
}

TAssignmentParams Params(std::uint8_t criterion, bool self) {
  TAssignmentParams p;
  p.LocusNames = {"L1", "L2", "L3", "L4", "L5"};
  p.Criterion = criterion;
  p.DefaultFrequency = 0.01L;
  p.SelfAssignment = self;
  p.ReferenceSampleCount = 3;
  return p;
}

const std::uint8_t kCriteria[] = {0, 2, 3, 4, 5, 6, 7, 8, 10};

} // namespace

TEST(FastRuns, SameValuesAsTheStepByStepRuns) {
  const auto reference = RandomSet(5, 12, 0);
  const auto samples = RandomSet(6, 4, 2);
  for (std::uint8_t c : kCriteria) {
    const std::string what = "criterion " + std::to_string(c);
    for (int mode = 0; mode < 3; ++mode) {
      const bool self = mode == 0, groups = mode == 2;
      const TPGDSStructure& target = self ? *reference : *samples;
      TAssignmentParams p = Params(c, self);
      p.FastPath = false;
      const TRun slow = Assign(*reference, target, p, groups);
      p.FastPath = true;
      p.Threads = 2;
      ExpectSame(slow, Assign(*reference, target, p, groups), false,
                 what + " mode " + std::to_string(mode));
    }
  }
}

TEST(FastRuns, SameProbabilitiesWithEveryAlgorithmAndThreadCount) {
  const auto reference = RandomSet(7, 10, 0);
  const auto samples = RandomSet(8, 4, 2);
  for (std::uint8_t algorithm : {0, 1, 2})
    for (std::uint8_t c : kCriteria) {
      const std::string what =
          "algorithm " + std::to_string(algorithm) + " criterion " + std::to_string(c);
      for (bool self : {true, false}) {
        TAssignmentParams p = Params(c, self);
        p.SimulationOn = true;
        p.SimulationAlgorithm = algorithm;
        p.SimulatedCount = 40;
        const TPGDSStructure& target = self ? *reference : *samples;
        p.FastPath = false;
        const TRun slow = Assign(*reference, target, p, false);
        p.FastPath = true;
        for (int threads : {1, 2, 3}) {
          p.Threads = threads;
          ExpectSame(slow, Assign(*reference, target, p, false), true,
                     what + (self ? " self" : " samples") + " threads " + std::to_string(threads));
        }
      }
    }
}

TEST(FastRuns, IndividualsLackingTheSameLociShareTheirSimulatedLists) {
  const auto reference = RandomSet(9, 10, 0);
  // The same genotypes without L2 in two samples, and between them others without L2 and L4.
  const std::vector<std::string> g{"10/11", "", "12/12", "13/14", "15"};
  std::vector<std::string> h = g;
  h[3] = "";
  const auto target = matchtest::Build(
      matchtest::Raw({"L1", "L2", "L3", "L4", "L5"}, {{"S1", {g, h}}, {"S2", {g}}}));
  for (std::uint8_t algorithm : {0, 2})
    for (bool fast : {false, true})
      for (int threads : {1, 3}) {
        TAssignmentParams p = Params(criterion::RannalaMountain, false);
        p.SimulationOn = true;
        p.SimulationAlgorithm = algorithm;
        p.SimulatedCount = 40;
        p.FastPath = fast;
        p.Threads = threads;
        const TRun run = Assign(*reference, *target, p, false);
        ASSERT_TRUE(run.Completed);
        for (int k = 0; k < 3; ++k)
          EXPECT_TRUE(!IsUndefined(run.Table->Item(0).Row(k).Value) &&
                      run.Table->Item(0).Row(k).Value == run.Table->Item(2).Row(k).Value)
              << int{algorithm} << fast << threads << " population " << k;
      }
}
