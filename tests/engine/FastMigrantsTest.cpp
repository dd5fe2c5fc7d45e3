// The fast migrant detection must find exactly what the step-by-step detection finds: the same
// values (up to rounding), the same simulated individuals and so the same probabilities and
// flags, whatever the number of threads.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/GenMars.h"
#include "engine/Match.h"
#include "engine/Migrants.h"
#include "base/Progress.h"
#include "engine/ResultTables.h"
#include "engine/Simulation.h"
#include "model/Sample.h"
#include "tests/engine/RandomDataSupport.h"

namespace {

struct TDetection {
  bool Completed = false;
  std::unique_ptr<TTableResultats> Table;
  std::int32_t Flagged = -1;
};

// option 0: L_home, 1: L_home / L_max, 2: L_home / L_max_not_home; every run from the same seeds.
TDetection Detect(const TPGDSStructure& ds, const TMigrantParams& p, int option) {
  SimulationGenerator().SetSeeds(21, 22, 23, 24);
  TDetection d;
  d.Completed = option == 0
                    ? DetectMigrantsHome(ds, std::make_unique<TMatchPGDS>(ds, ds, p.LocusNames), p,
                                         d.Table, d.Flagged)
                    : DetectMigrantsRatio(ds, p, option == 2, d.Table, d.Flagged);
  return d;
}

bool Close(Extended a, Extended b) {
  if (IsUndefined(a) || IsUndefined(b)) return IsUndefined(a) && IsUndefined(b);
  if (std::isinf(a) || std::isinf(b)) return a == b;
  return std::fabs(a - b) <= 1e-12L * std::max(std::fabs(a), std::fabs(b)) + 1e-15L;
}

bool Same(Extended a, Extended b) {
  return a == b || (IsUndefined(a) && IsUndefined(b));
}

// Same rows, home rows, verdicts and loci; with simulation the probabilities (the home row, and
// every row of option 0) compared exactly.
void ExpectSame(const TDetection& slow, const TDetection& fast, bool simulation, int option,
                const std::string& what) {
  ASSERT_TRUE(slow.Completed) << what;
  ASSERT_TRUE(fast.Completed) << what;
  EXPECT_EQ(slow.Flagged, fast.Flagged) << what;
  ASSERT_EQ(slow.Table->Count(), fast.Table->Count()) << what;
  for (int i = 0; i < slow.Table->Count(); ++i) {
    const TResultats& a = slow.Table->Item(i);
    const TResultats& b = fast.Table->Item(i);
    const std::string unit = what + " unit " + std::to_string(i);
    ASSERT_EQ(a.Count, b.Count) << unit;
    EXPECT_EQ(a.Caption, b.Caption) << unit;
    EXPECT_EQ(a.LocusNames(a.UsedLoci), b.LocusNames(b.UsedLoci)) << unit;
    EXPECT_EQ(a.LocusNames(a.MissingLoci), b.LocusNames(b.MissingLoci)) << unit;
    EXPECT_EQ(a.IsMigrant, b.IsMigrant) << unit;
    EXPECT_EQ(a.LikeliestPopulation, b.LikeliestPopulation) << unit;
    for (int k = 0; k < a.Count; ++k) {
      const Extended x = a.Row(k).Value, y = b.Row(k).Value;
      EXPECT_TRUE(simulation && option == 0 ? Same(x, y) : Close(x, y))
          << unit << " population " << k;
      EXPECT_TRUE(Close(a.Row(k).Score, b.Row(k).Score)) << unit << " population " << k;
      EXPECT_EQ(a.SortedRow(k).Name, b.SortedRow(k).Name) << unit;
      EXPECT_TRUE(Close(a.SortedRow(k).Score, b.SortedRow(k).Score)) << unit << " rank " << k;
    }
    if (a.Count == 0) continue;
    const Extended x = a.SortedRow(0).Value, y = b.SortedRow(0).Value;
    EXPECT_TRUE(simulation ? Same(x, y) : Close(x, y))
        << unit << " home " << static_cast<double>(x) << " " << static_cast<double>(y);
  }
}

TMigrantParams Params(std::uint8_t criterion) {
  TMigrantParams p;
  p.LocusNames = {"L1", "L2", "L3", "L4", "L5"};
  p.Criterion = criterion;
  p.Threshold = 0.05L;
  return p;
}

// A sample of one individual (left out, its home is empty) and an empty sample among them.
std::unique_ptr<TPGDSStructure> Reference(unsigned seed) {
  return randomdata::RandomSet(seed, {7, 1, 6, 0}, 0);
}

} // namespace

TEST(FastMigrants, SameResultsWithoutSimulation) {
  const auto ds = Reference(3);
  for (std::uint8_t c : {0, 2, 3, 4, 5, 6, 7, 8, 10})
    for (int option : {0, 1, 2}) {
      const std::string what =
          "criterion " + std::to_string(c) + " option " + std::to_string(option);
      TMigrantParams p = Params(c);
      p.FastPath = false;
      const TDetection slow = Detect(*ds, p, option);
      p.FastPath = true;
      p.Threads = 2;
      ExpectSame(slow, Detect(*ds, p, option), false, option, what);
    }
}

TEST(FastMigrants, SameProbabilitiesWithEveryAlgorithmAndThreadCount) {
  const auto ds = Reference(4);
  int flaggedSomewhere = 0;
  for (std::uint8_t algorithm : {0, 1, 2})
    for (std::uint8_t c : {2, 3, 5, 8})
      for (int option : {0, 1, 2}) {
        const std::string what = "algorithm " + std::to_string(algorithm) + " criterion " +
                                 std::to_string(c) + " option " + std::to_string(option);
        TMigrantParams p = Params(c);
        p.SimulationOn = true;
        p.SimulationAlgorithm = algorithm;
        p.SimulatedCount = 24;
        p.FastPath = false;
        const TDetection slow = Detect(*ds, p, option);
        flaggedSomewhere += slow.Flagged > 0;
        p.FastPath = true;
        for (int threads : {1, 2, 3}) {
          p.Threads = threads;
          ExpectSame(slow, Detect(*ds, p, option), true, option,
                     what + " threads " + std::to_string(threads));
        }
        // Algorithm 2 leaves no simulated populations behind with the ratios.
        if (option != 0 && algorithm == simulation::Paetkau2004) {
          for (int k = 0; k < ds->SamplesCount(); ++k)
            EXPECT_EQ(ds->SampleAt(k)->SimulationData, nullptr) << what;
        }
      }
  // The comparison means something only if some runs flag individuals.
  EXPECT_GT(flaggedSomewhere, 6);
}

TEST(FastMigrants, StoppedRunKeepsWhatWasTreatedBeforeTheStop) {
  const auto ds = Reference(5);
  const int n = ds->AllIndividuals.Count();
  for (bool simulation : {false, true}) {
    SCOPED_TRACE(simulation);
    TMigrantParams p = Params(criterion::RannalaMountain);
    p.SimulationOn = simulation;
    p.SimulationAlgorithm = simulation::Paetkau2004;
    p.SimulatedCount = 12;
    p.Threads = 3;
    const TDetection complete = Detect(*ds, p, 2);
    ASSERT_TRUE(complete.Completed);
    int flaggedBefore = 0;
    for (int i = 0; i < 6; ++i)
      flaggedBefore += complete.Table->Item(i).IsMigrant;
    const std::string stopAt = "6/" + std::to_string(n);
    TScopedProgressHook hook([&](int, const std::string&, const std::string& detail, bool& abort) {
      abort = detail == stopAt;
    });
    for (int option : {0, 2}) {
      const TDetection stopped = Detect(*ds, p, option);
      EXPECT_FALSE(stopped.Completed) << option;
      if (option == 2) {
        EXPECT_EQ(stopped.Flagged, flaggedBefore);
      }
      EXPECT_EQ(stopped.Table->Item(5).Caption, complete.Table->Item(5).Caption);
      for (int i = 6; i < n; ++i)
        EXPECT_EQ(stopped.Table->Item(i).Count, 0) << option << " unit " << i;
    }
    EXPECT_EQ(ds->SampleAt(0)->SimulationData, nullptr);
  }
}
