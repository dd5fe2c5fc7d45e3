#include "engine/runs/Assignment.h"

#include "engine/criteria/Bayesien2.h"

#include "base/Progress.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/results/ResultTables.h"
#include "tests/engine/KernelValues.h"
#include "tests/support/DataSetBuilders.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using support::TDataBuilder;

// Two populations of one locus: A carries allele 1 three times in four, B once in four.
std::unique_ptr<TPGDSStructure> TwoPopulations() {
  return TDataBuilder({"L1"})
      .Sample("A")
      .Individual("a1", {"1/1"})
      .Individual("a2", {"1/2"})
      .Sample("B")
      .Individual("b1", {"1/2"})
      .Individual("b2", {"2/2"})
      .Loaded();
}

// Self-assignment data: a1 lacks L2, a4 is untyped everywhere; a3 and b3 are heterozygotes that
// look more like the other population once left out of their own.
std::unique_ptr<TPGDSStructure> SelfData() {
  return TDataBuilder({"L1", "L2"})
      .Sample("A")
      .Individual("a1", {"1/1", ""})
      .Individual("a2", {"1/1", "9/9"})
      .Individual("a3", {"1/2", "9/9"})
      .Individual("a4", {"", ""})
      .Sample("B")
      .Individual("b1", {"2/2", "9/9"})
      .Individual("b2", {"2/2", "9/9"})
      .Individual("b3", {"1/2", "9/9"})
      .Loaded();
}

std::unique_ptr<TMatchPGDS> MatchOf(const TPGDSStructure& reference, const TPGDSStructure& target) {
  std::vector<std::string> names;
  for (int l = 0; l < target.LociCount(); ++l)
    names.push_back(target.LocusAt(l)->Name);
  return std::make_unique<TMatchPGDS>(reference, target, names);
}

TAssignmentParams Params(TCriterion criterion, bool self) {
  TAssignmentParams p;
  p.Criterion = criterion;
  p.SelfAssignment = self;
  p.DefaultFrequency = 0.01L;
  return p;
}

struct TSelfRun {
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  bool completed = false;
};

TSelfRun RunSelf(const TPGDSStructure& ds, TCriterion criterion) {
  TSelfRun run;
  run.completed = AssignIndividuals(ds, ds, MatchOf(ds, ds), Params(criterion, true), run.table,
                                    run.quality) == TRunResult::Completed;
  return run;
}

// The ranked score of the population named `name`.
Extended SortedScoreOf(const TResultats& r, const std::string& name) {
  for (int k = 0; k < r.Count; ++k)
    if (r.SortedRow(k).Name == name) return r.SortedRow(k).Score;
  return Undefined();
}

} // namespace

TEST(Assignment, LikelihoodSharesOfAnotherDataSet) {
  auto reference = TwoPopulations();
  // A haploid carrier of allele 1: likelihood 0.75 in A, 0.25 in B.
  auto target = TDataBuilder({"L1"}).Sample("T").Individual("t1", {"1"}).Loaded();
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  ASSERT_EQ(TRunResult::Completed,
            AssignIndividuals(*reference, *target, MatchOf(*reference, *target),
                              Params(TCriterion::Paetkau, false), table, quality));
  const TResultats& r = table->Item(0);
  EXPECT_EQ(r.Caption, "T/t1");
  ASSERT_EQ(r.Count, 2);
  EXPECT_NEAR(static_cast<double>(r.Row(0).Value), 0.75, 1e-15);
  EXPECT_NEAR(static_cast<double>(r.Row(1).Score), 0.25, 1e-15);
  EXPECT_EQ(r.SortedRow(0).Name, "A");
  EXPECT_NEAR(static_cast<double>(r.SortedRow(0).Score), 75, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.SortedRow(1).Score), 25, 1e-12);
  EXPECT_EQ(quality.CorrectlyAssigned, 0);

  // The sample as a whole gives the same shares, under the sample's name.
  std::unique_ptr<TTableResultats> groups;
  ASSERT_EQ(TRunResult::Completed, AssignGroups(*reference, *target, MatchOf(*reference, *target),
                                                Params(TCriterion::Paetkau, true), groups));
  EXPECT_EQ(groups->Item(0).Caption, "T");
  EXPECT_NEAR(static_cast<double>(groups->Item(0).SortedRow(0).Score), 75, 1e-12);
}

TEST(Assignment, SelfAssignmentLeavesTheIndividualOut) {
  auto ds = SelfData();
  TSelfRun run = RunSelf(*ds, TCriterion::Paetkau);
  ASSERT_TRUE(run.completed);

  // a1 against A without it: p1 = 3/4 (a2, a3), not 5/6; B keeps all its genes: p1 = 1/6.
  const TResultats& a1 = run.table->Item(0);
  EXPECT_NEAR(static_cast<double>(a1.Row(0).Value), 0.5625, 1e-15);
  EXPECT_NEAR(static_cast<double>(a1.Row(1).Value), 1.0 / 36, 1e-15);
  EXPECT_TRUE(a1.WellClassified);
  EXPECT_EQ(a1.LocusNames(a1.UsedLoci), std::vector<std::string>{"L1"});
  EXPECT_EQ(a1.LocusNames(a1.MissingLoci), std::vector<std::string>{"L2"});

  // a3 without itself leaves A with allele 1 only: 2 x 1 x 0.01 against 2 x 1/6 x 5/6 in B.
  const TResultats& a3 = run.table->Item(2);
  EXPECT_NEAR(static_cast<double>(a3.Row(0).Value), 0.02, 1e-15);
  EXPECT_EQ(a3.SortedRow(0).Name, "B");
  EXPECT_FALSE(a3.WellClassified);

  // The untyped individual: undefined everywhere, all loci missing, outside the quality figures.
  const TResultats& a4 = run.table->Item(3);
  EXPECT_TRUE(a4.LocusNames(a4.UsedLoci).empty());
  EXPECT_EQ(a4.LocusNames(a4.MissingLoci), (std::vector<std::string>{"L1", "L2"}));
  EXPECT_TRUE(IsUndefined(a4.Row(0).Value) && IsUndefined(a4.SortedRow(1).Score));

  // Quality: the mean home share over the six scored individuals; a3 and b3 are misplaced.
  const Extended homeShareHomozygote = 0.5625L / (0.5625L + 1.0L / 36);
  const Extended homeShareHeterozygote = 0.02L / (0.02L + 2.0L * 5 / 36);
  EXPECT_NEAR(static_cast<double>(run.quality.QualityIndex),
              static_cast<double>(100 * (2 * homeShareHomozygote + homeShareHeterozygote) / 3),
              1e-12);
  EXPECT_EQ(run.quality.CorrectlyAssigned, 4);
  EXPECT_NEAR(static_cast<double>(run.quality.CorrectlyAssignedPercentage), 400.0 / 6, 1e-12);

  // The reference samples are unchanged by the run.
  const TSample& a = *ds->SampleAt(0);
  EXPECT_EQ(a.NbIndividuals(), 4);
  EXPECT_EQ(a.NbGenes(0), 6);
  EXPECT_EQ(a.AlleleCount(0, 0), 5);
}

TEST(Assignment, DistanceShares) {
  // Pure homozygote populations: an individual 1/1 is at Nei's standard distance 0 from A.
  auto reference = TDataBuilder({"L1"})
                       .Sample("A")
                       .Individual("a1", {"1/1"})
                       .Sample("B")
                       .Individual("b1", {"1/2"})
                       .Sample("C")
                       .Individual("c1", {"1/1"})
                       .Individual("c2", {"2/2"})
                       .Individual("c3", {"2/2"})
                       .Sample("D")
                       .Individual("d1", {"1/1"})
                       .Loaded();
  auto target =
      TDataBuilder({"L1"}).Sample("T").Individual("t1", {"1/1"}).Individual("t2", {"2/2"}).Loaded();
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  ASSERT_EQ(TRunResult::Completed,
            AssignIndividuals(*reference, *target, MatchOf(*reference, *target),
                              Params(TCriterion::NeiStandard, false), table, quality));
  // t1 is at distance 0 from A and D: they share the whole 100 %.
  const TResultats& t1 = table->Item(0);
  EXPECT_EQ(t1.Row(0).Value, 0);
  EXPECT_EQ(SortedScoreOf(t1, "A"), 50);
  EXPECT_EQ(SortedScoreOf(t1, "D"), 50);
  EXPECT_EQ(SortedScoreOf(t1, "B"), 0);
  EXPECT_EQ(t1.SortedRow(0).Name, "A");
  EXPECT_EQ(t1.SortedRow(1).Name, "D");

  // t2 shares no allele with A and D (undefined distance) and is at a positive distance from B
  // and C: inverse-distance shares over B and C, a vanishing score for the others.
  const TResultats& t2 = table->Item(1);
  EXPECT_TRUE(IsUndefined(t2.Row(0).Value));
  const Extended dB = t2.Row(1).Value, dC = t2.Row(2).Value;
  ASSERT_GT(dB, 0);
  ASSERT_NE(dB, dC);
  EXPECT_NEAR(static_cast<double>(SortedScoreOf(t2, "B")),
              static_cast<double>(100 * (1 / dB) / (1 / dB + 1 / dC)), 1e-12);
  EXPECT_LT(SortedScoreOf(t2, "A"), 1e-4000L);
  EXPECT_EQ(t2.SortedRow(2).Name, "A");
}

TEST(Assignment, DistanceRunsHaveQualityFigures) {
  auto ds = SelfData();
  for (TCriterion c : {TCriterion::NeiMinimum, TCriterion::Rogers}) {
    TSelfRun run = RunSelf(*ds, c);
    ASSERT_TRUE(run.completed);
    // The quality index is the mean ranked score of each scored individual's own population.
    Extended sum = 0;
    int scored = 0, correct = 0;
    for (int i = 0; i < run.table->Count(); ++i) {
      const TResultats& r = run.table->Item(i);
      const Extended score = SortedScoreOf(r, r.Caption.substr(0, 1));
      if (IsUndefined(score)) continue;
      sum += score;
      ++scored;
      correct += r.WellClassified;
    }
    EXPECT_EQ(scored, 6);
    EXPECT_GT(correct, 0);
    EXPECT_NEAR(static_cast<double>(run.quality.QualityIndex), static_cast<double>(sum / 6), 1e-9);
    EXPECT_EQ(run.quality.CorrectlyAssigned, correct);
  }
}

TEST(Assignment, ProgressAndAbort) {
  auto ds = SelfData();
  std::vector<std::string> details;
  std::vector<int> percents;
  {
    TScopedProgressHook hook(
        [&](int percent, const std::string& panel, const std::string& detail, bool&) {
          EXPECT_EQ(panel, " ");
          details.push_back(detail);
          percents.push_back(percent);
        });
    ASSERT_TRUE(RunSelf(*ds, TCriterion::Paetkau).completed);
  }
  std::vector<std::string> expected;
  for (int i = 0; i < 7; ++i) {
    expected.push_back(std::to_string(i) + "/7");
    expected.push_back(std::to_string(i) + "/7");
  }
  expected.push_back("7/7");
  EXPECT_EQ(details, expected);
  EXPECT_EQ(percents[2], 14); // 14.29 %
  EXPECT_EQ(percents.back(), 100);

  // Stopped at the third report: the first individual is done, the table is kept.
  int calls = 0;
  TSelfRun stopped;
  {
    TScopedProgressHook hook(
        [&](int, const std::string&, const std::string&, bool& abort) { abort = ++calls == 3; });
    stopped = RunSelf(*ds, TCriterion::Paetkau);
  }
  EXPECT_FALSE(stopped.completed);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(stopped.table->Item(0).Caption, "A/a1");
  EXPECT_EQ(stopped.table->Item(0).Count, 2);
  EXPECT_EQ(stopped.table->Item(1).Count, 0);
  EXPECT_EQ(stopped.quality.CorrectlyAssigned, 0);
  EXPECT_FALSE(ProgressHook());

  // Halves round to the even percent.
  std::vector<int> rounded;
  TScopedProgressHook hook([&](int percent, const std::string&, const std::string&, bool&) {
    rounded.push_back(percent);
  });
  for (Extended p : {12.5L, 13.5L})
    ReportProgress(" ", " ", p);
  EXPECT_EQ(rounded, (std::vector<int>{12, 14}));
}

TEST(Assignment, UnavailableRunsFailCleanly) {
  auto ds = SelfData();
  auto run = [&](TAssignmentParams params) {
    std::unique_ptr<TTableResultats> table = std::make_unique<TTableResultats>(1);
    table->Journal.push_back("previous run");
    TAssignmentQuality quality;
    const TRunResult result =
        AssignIndividuals(*ds, *ds, MatchOf(*ds, *ds), params, table, quality);
    EXPECT_EQ(table->Count(), 7);
    EXPECT_TRUE(table->Journal.empty());
    for (int i = 0; i < table->Count(); ++i)
      EXPECT_EQ(table->Item(i).Count, 0);
    return result;
  };
  EXPECT_TRUE(AssignmentAvailable(Params(TCriterion::Cornuet, true))); // without probabilities
  EXPECT_EQ(TRunResult::Unavailable, run(Params(static_cast<TCriterion>(42), true)));
  EXPECT_EQ(TRunResult::Unavailable,
            run(Params(TCriterion::Baudouin2, true))); // no prepared priors
  // Probabilities are offered for every criterion but 9, with a known algorithm and
  // individuals to simulate.
  TAssignmentParams simulated = Params(TCriterion::Paetkau, true);
  simulated.SimulationOn = true;
  simulated.SimulatedCount = 100;
  EXPECT_TRUE(AssignmentAvailable(simulated));
  simulated.SimulationAlgorithm = static_cast<TSimulationAlgorithm>(3);
  EXPECT_EQ(TRunResult::Unavailable, run(simulated));
  simulated.SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  simulated.SimulatedCount = 0;
  EXPECT_EQ(TRunResult::Unavailable, run(simulated));
  simulated.SimulatedCount = 100;
  simulated.Criterion = TCriterion::Cornuet;
  EXPECT_FALSE(AssignmentAvailable(simulated));
  EXPECT_EQ(TRunResult::Unavailable, run(simulated));
}

TEST(Assignment, EstimatedPriorsLeaveTheIndividualOut) {
  auto ds = SelfData();
  TBayesien2Data bayes;
  TAssignmentParams params = Params(TCriterion::Baudouin2, true);
  params.Bayes = &bayes;
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  ASSERT_EQ(TRunResult::Completed,
            AssignIndividuals(*ds, *ds, MatchOf(*ds, *ds), params, table, quality));

  // The priors were last prepared without b3, the last individual: its rows must be the
  // likelihoods against A and against B without b3, with those priors.
  auto match = MatchOf(*ds, *ds);
  TBayesien2Data withoutB3;
  const TIndividual& b3 = *ds->AllIndividuals.Items(6);
  withoutB3.Prepare(*ds, *match, &b3);
  TIntegerList used, missing;
  UsableLoci(*match, b3, used, missing);
  const TSample& b = *ds->SampleAt(1);
  auto bWithoutB3 = b.CopyWithout(b.Individuals.IndexOfObject(&b3), false);
  const TResultats& r = table->Item(6);
  EXPECT_EQ(r.Row(0).Value, kernel::Value({TCriterion::Baudouin2, 0.01L, &withoutB3},
                                          *ds->SampleAt(0), b3, *match, used));
  EXPECT_EQ(r.Row(1).Value, kernel::Value({TCriterion::Baudouin2, 0.01L, &withoutB3}, *bWithoutB3,
                                          b3, *match, used));
  EXPECT_GT(quality.QualityIndex, 0);
}
