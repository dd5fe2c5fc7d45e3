#include "engine/runs/Migrants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/results/ResultTables.h"
#include "engine/simulation/Simulation.h"
#include "model/Sample.h"
#include "tests/engine/MatchTestSupport.h"
#include "tests/engine/SimulationTestSupport.h"

namespace {

// One locus; a4 looks like B, b3 carries an allele the rest of B lacks.
std::unique_ptr<TPGDSStructure> Residents() {
  return matchtest::Build(matchtest::Raw(
      {"L1"}, {{"A", {{"1/1"}, {"1/1"}, {"1/2"}, {"2/2"}}}, {"B", {{"2/2"}, {"2/2"}, {"1/2"}}}}));
}

TMigrantParams Params(const TPGDSStructure& ds, TCriterion criterion) {
  TMigrantParams p;
  p.LocusNames = simtest::LocusNames(ds);
  p.Criterion = criterion;
  p.Threshold = 0.05L;
  return p;
}

struct TDetection {
  TRunResult Result = TRunResult::Unavailable;
  std::unique_ptr<TTableResultats> Table;
  std::int32_t Flagged = -1;
};

// option 0: L_home, 1: L_home / L_max, 2: L_home / L_max_not_home.
TDetection Detect(const TPGDSStructure& ds, const TMigrantParams& params, int option) {
  TDetection d;
  d.Result = option == 0
                 ? DetectMigrantsHome(ds, std::make_unique<TMatchPGDS>(ds, ds, params.LocusNames),
                                      params, d.Table, d.Flagged)
                 : DetectMigrantsRatio(ds, params, option == 2, d.Table, d.Flagged);
  return d;
}

// Flagged individuals among the rows [first, last) of the table.
int FlaggedAmong(const TTableResultats& table, int first, int last) {
  int n = 0;
  for (int i = first; i < last; ++i)
    n += table.Item(i).IsMigrant;
  return n;
}

} // namespace

TEST(Migrants, WithoutSimulationTheBestPopulationDecides) {
  auto ds = Residents();
  const TMigrantParams params = Params(*ds, TCriterion::Paetkau);

  // a1 against A without it (p1 = 1/2) and B (p1 = 1/6); a4 against A without it (p2 = 1/6) and
  // B (p2 = 5/6); b3 against B without it (no allele 1: default frequency 0.01).
  TDetection home = Detect(*ds, params, 0);
  ASSERT_EQ(home.Result, TRunResult::Completed);
  const TResultats& a1 = home.Table->Item(0);
  EXPECT_EQ(a1.Caption, "A/A_0");
  EXPECT_NEAR(static_cast<double>(a1.Row(0).Value), 0.25, 1e-15);
  EXPECT_NEAR(static_cast<double>(a1.Row(1).Score), -std::log10(1.0 / 36), 1e-12);
  EXPECT_EQ(a1.SortedRow(0).Name, "A");
  EXPECT_NEAR(static_cast<double>(a1.SortedRow(0).Score), -std::log10(0.25), 1e-12);
  EXPECT_FALSE(a1.IsMigrant);
  EXPECT_EQ(a1.LikeliestPopulation, -1);
  const TResultats& a4 = home.Table->Item(3);
  EXPECT_TRUE(a4.IsMigrant);
  EXPECT_EQ(a4.LikeliestPopulation, 1);
  EXPECT_TRUE(home.Table->Item(6).IsMigrant);
  EXPECT_EQ(home.Flagged, 2);

  // Ratios: a1 is best at home (R = 1 over all, 9 over the others), a4 is not (R = 1/25).
  for (int option : {1, 2}) {
    TDetection ratio = Detect(*ds, params, option);
    ASSERT_EQ(ratio.Result, TRunResult::Completed);
    EXPECT_NEAR(static_cast<double>(ratio.Table->Item(0).SortedRow(0).Value),
                option == 1 ? 1.0 : 9.0, 1e-12);
    EXPECT_FALSE(ratio.Table->Item(0).IsMigrant);
    EXPECT_NEAR(static_cast<double>(ratio.Table->Item(3).SortedRow(0).Value), 0.04, 1e-15);
    EXPECT_NEAR(static_cast<double>(ratio.Table->Item(3).SortedRow(0).Score), -std::log10(0.04),
                1e-12);
    EXPECT_TRUE(ratio.Table->Item(3).IsMigrant);
    EXPECT_EQ(ratio.Flagged, 2);
  }

  // Distances: the home is farther than the nearest population when R = D_home / D_min > 1.
  TDetection distance = Detect(*ds, Params(*ds, TCriterion::Rogers), 1);
  ASSERT_EQ(distance.Result, TRunResult::Completed);
  EXPECT_EQ(distance.Table->Item(0).SortedRow(0).Value, 1);
  EXPECT_GT(distance.Table->Item(3).SortedRow(0).Value, 1);
  EXPECT_TRUE(distance.Table->Item(3).IsMigrant);
  EXPECT_EQ(distance.Table->Item(3).LikeliestPopulation, 1);
}

TEST(Migrants, RefusedCriteria) {
  auto ds = Residents();
  TMigrantParams params = Params(*ds, static_cast<TCriterion>(42));
  EXPECT_EQ(Detect(*ds, params, 0).Result, TRunResult::Unavailable);
  EXPECT_EQ(Detect(*ds, params, 2).Result, TRunResult::Unavailable);
  // The stepwise-mutation criterion has no ratio and no simulated values; L_home alone leaves
  // its rows empty.
  params.Criterion = TCriterion::Cornuet;
  EXPECT_EQ(Detect(*ds, params, 1).Result, TRunResult::Unavailable);
  TDetection home = Detect(*ds, params, 0);
  EXPECT_EQ(home.Result, TRunResult::Completed);
  EXPECT_EQ(home.Table->Item(0).Count, 0);
  EXPECT_EQ(home.Flagged, 0);
  params.SimulationOn = true;
  EXPECT_EQ(Detect(*ds, params, 0).Result, TRunResult::Unavailable);
}

TEST(Migrants, SimulationFlagsAlphaOfResidentsAndMostMigrants) {
  // Every sample holds 40 residents and 2 individuals born in the next population.
  const auto freqs = simtest::Populations(3, 8, 6, 77);
  auto ds = simtest::Draw({{"A", &freqs[0], 40, &freqs[1], 2},
                           {"B", &freqs[1], 40, &freqs[2], 2},
                           {"C", &freqs[2], 40, &freqs[0], 2}},
                          78);
  struct TCase {
    int Option;
    TCriterion Criterion;
    TSimulationAlgorithm Algorithm;
  };
  for (const TCase c : {TCase{0, TCriterion::RannalaMountain, TSimulationAlgorithm::Paetkau2004},
                        TCase{2, TCriterion::RannalaMountain, TSimulationAlgorithm::Paetkau2004},
                        TCase{1, TCriterion::Paetkau, TSimulationAlgorithm::Cornuet1999},
                        TCase{2, TCriterion::NeiDA, TSimulationAlgorithm::Rannala1997}}) {
    SCOPED_TRACE(testing::Message() << c.Option << " " << CriterionCode(c.Criterion));
    SimulationGenerator().SetSeeds(31, 32, 33, 34);
    TMigrantParams params = Params(*ds, c.Criterion);
    params.SimulationOn = true;
    params.SimulationAlgorithm = c.Algorithm;
    params.SimulatedCount = 100;
    TDetection d = Detect(*ds, params, c.Option);
    ASSERT_EQ(d.Result, TRunResult::Completed);
    int residents = 0, migrants = 0;
    for (int k = 0; k < 3; ++k) {
      residents += FlaggedAmong(*d.Table, 42 * k, 42 * k + 40);
      migrants += FlaggedAmong(*d.Table, 42 * k + 40, 42 * k + 42);
    }
    // About alpha (6 of 120) of the residents; resampling the sample frequencies (algorithms 0
    // and 1) errs somewhat more often.
    EXPECT_GE(residents, 1);
    EXPECT_LE(residents, c.Algorithm == TSimulationAlgorithm::Paetkau2004 ? 10 : 14);
    EXPECT_GE(migrants, 5);
    EXPECT_EQ(d.Flagged, residents + migrants);
    // The slots hold no simulated populations once the run is over.
    for (int k = 0; k < 3 && c.Option != 0; ++k)
      EXPECT_EQ(ds->SampleAt(k)->SimulationData, nullptr);
  }
}

TEST(Migrants, StoppedDetectionKeepsItsCount) {
  auto ds = Residents();
  TMigrantParams params = Params(*ds, TCriterion::Paetkau);
  // Without simulation a4 (the fourth individual) is flagged; stop when the fifth starts.
  TScopedProgressHook hook([&](int, const std::string&, const std::string& detail, bool& abort) {
    abort = detail == "4/7";
  });
  TDetection d = Detect(*ds, params, 2);
  EXPECT_EQ(d.Result, TRunResult::Stopped);
  EXPECT_EQ(d.Flagged, 1);
  EXPECT_TRUE(d.Table->Item(3).IsMigrant);
  EXPECT_EQ(d.Table->Item(4).Count, 0);
  params.SimulationOn = true;
  params.SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  params.SimulatedCount = 20;
  d = Detect(*ds, params, 2);
  EXPECT_EQ(d.Result, TRunResult::Stopped);
  EXPECT_EQ(ds->SampleAt(0)->SimulationData, nullptr);
}
