#include "engine/simulation/Simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "engine/common/EngineTexts.h"
#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"
#include "engine/simulation/CompactSimulation.h"
#include "model/Individual.h"
#include "model/Sample.h"
#include "tests/engine/KernelValues.h"
#include "tests/engine/MatchTestSupport.h"
#include "tests/engine/SimulationTestSupport.h"

namespace {

using matchtest::Build;
using matchtest::Raw;

TIntegerList AllPositions(const TMatchPGDS& match) {
  TIntegerList all;
  for (int i = 0; i < match.LocusCount(); ++i)
    all.Add(i);
  return all;
}

std::vector<std::int32_t> AllLoci(const TCompactMatch& m) {
  std::vector<std::int32_t> all;
  for (int l = 0; l < m.LocusCount(); ++l)
    all.push_back(l);
  return all;
}

TAssignmentParams SimulatedParams(TCriterion criterion, TSimulationAlgorithm algorithm, int count,
                                  bool self) {
  TAssignmentParams p;
  p.Criterion = criterion;
  p.SelfAssignment = self;
  p.SimulationOn = true;
  p.SimulationAlgorithm = algorithm;
  p.SimulatedCount = count;
  return p;
}

// The share of the individuals of `table` whose row `population` holds a probability below
// alpha; only individuals of rows [first, last).
double ExclusionRate(const TTableResultats& table, int first, int last, int population,
                     Extended alpha) {
  int excluded = 0;
  for (int i = first; i < last; ++i) {
    const Extended p = table.Item(i).Row(population).Value;
    excluded += !IsUndefined(p) && p < alpha;
  }
  return static_cast<double>(excluded) / (last - first);
}

} // namespace

TEST(Simulation, ProbabilityIsTheRankAmongSimulatedValues) {
  // Sorted keys: log-likelihoods or distances.
  const std::vector<double> ties{1, 2, 2, 3};
  EXPECT_EQ(KeyProbability(ties, 2, false), 0.5L);
  EXPECT_EQ(KeyProbability(ties, 2, true), 0.5L);
  // Larger likelihoods rank high, larger distances rank low.
  EXPECT_EQ(KeyProbability(ties, 5, false), 1);
  EXPECT_EQ(KeyProbability(ties, 5, true), 0);
  EXPECT_EQ(KeyProbability(ties, 0.5L, true), 1);
  EXPECT_TRUE(IsUndefined(KeyProbability(ties, Undefined(), false)));
  EXPECT_TRUE(IsUndefined(KeyProbability({}, 1, false)));
}

TEST(Simulation, PaetkauBatchesCoverTheSimulatedCount) {
  const auto freqs = simtest::Populations(1, 4, 5, 11);
  const TCriterionArgs args{TCriterion::RannalaMountain, 0.01L, nullptr};
  for (const auto& [size, batches, values] : {std::tuple{25, 40, 1000}, std::tuple{30, 34, 1020}}) {
    auto ds = simtest::Draw({{"A", &freqs[0], size}}, 5);
    const TMatchPGDS match(*ds, *ds, simtest::LocusNames(*ds));
    const TCompactMatch m(match);
    const TCompactCriterion criterion(m, args.Criterion, args.DefaultFrequency, 2 * size + 4);
    const TCompactPopulation population = TCompactPopulation::Of(m, *ds->SampleAt(0));
    const TCompactMembers members = TCompactMembers::Of(m, *ds->SampleAt(0));
    std::vector<int> percents;
    std::vector<std::string> panels;
    TScopedProgressHook hook([&](int percent, const std::string& panel, const std::string&, bool&) {
      percents.push_back(percent);
      panels.push_back(panel);
    });
    // The stream a pre-simulation gives the first sample.
    SimulationGenerator().SetSeeds(1, 2, 3, 4);
    TGenMars random(DrawStreamSeeds(SimulationGenerator()));
    std::vector<double> keys;
    ASSERT_TRUE(SimulateKeys(keys, {m, criterion, population, members}, AllLoci(m), 1000,
                             TSimulationAlgorithm::Paetkau2004, random));
    // One chance to stop per simulated population, nothing to show.
    EXPECT_EQ(percents, std::vector<int>(static_cast<size_t>(batches), -1));
    EXPECT_EQ(panels, std::vector<std::string>(static_cast<size_t>(batches), " "));
    EXPECT_EQ(static_cast<int>(keys.size()), values);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    // The pre-simulation shows its progress per sample and keeps the same list.
    percents.clear();
    panels.clear();
    SimulationGenerator().SetSeeds(1, 2, 3, 4);
    ASSERT_EQ(TRunResult::Completed,
              Presimulate(*ds, match, args, TSimulationAlgorithm::Paetkau2004, 1000));
    EXPECT_EQ(panels.back(), kStatusPresimulation());
    EXPECT_EQ(percents.back(), 100);
    ASSERT_NE(PresimulatedList(*ds->SampleAt(0)), nullptr);
    EXPECT_EQ(*PresimulatedList(*ds->SampleAt(0)), keys);
  }
}

TEST(Simulation, SimulatedIndividualsFollowThePopulation) {
  // L1 diploid, L2 haploid, L3 untyped everywhere, L4 untyped in a2 only; allele 1 holds 3 of
  // the 4 genes of L2.
  auto ds = Build(Raw({"L1", "L2", "L3", "L4"}, {{"A",
                                                  {{"1/2", "1", "", "1/2"},
                                                   {"2/2", "1", "", ""},
                                                   {"1/1", "2", "", "2/2"},
                                                   {"1/2", "1", "", "1/1"}}}}));
  const TSample& a = *ds->SampleAt(0);
  const TMatchPGDS match(*ds, *ds, simtest::LocusNames(*ds));
  const TCompactMatch m(match);
  const TCompactPopulation population = TCompactPopulation::Of(m, a);
  const TCompactMembers members = TCompactMembers::Of(m, a);
  const std::int16_t allele1 = m.Loci[1].RefEntry[0];
  TGenMars random(TGenMarsSeeds{7, 8, 9, 10});
  TGenMarsCursor stream(random);
  for (TSimulationAlgorithm algorithm :
       {TSimulationAlgorithm::Cornuet1999, TSimulationAlgorithm::Rannala1997}) {
    TCompactIndividualDraw draw(m, population, members, AllLoci(m), algorithm);
    TCompactUnit individual;
    int drawn1 = 0;
    const int draws = 4000;
    for (int i = 0; i < draws; ++i) {
      draw.Draw(individual, stream);
      ASSERT_EQ(individual.X[0], 2);
      ASSERT_EQ(individual.X[1], 1);
      ASSERT_EQ(individual.X[2], 0);
      ASSERT_NE(individual.X[3], 1);
      drawn1 += individual.Entry[static_cast<size_t>(individual.Begin[1])] == allele1;
    }
    // Frequencies 3/4; posterior predictive (3 + 1/2) / (4 + 1).
    const double expected = algorithm == TSimulationAlgorithm::Cornuet1999 ? 0.75 : 0.7;
    EXPECT_NEAR(static_cast<double>(drawn1) / draws, expected, 0.025);
  }
  // Offspring: one copy from each diploid parent, one from either haploid parent; untyped
  // parents hand down missing copies. The tallies are the offspring's.
  std::vector<TCompactUnit> offspring(200);
  TCompactPopulation tallies;
  DrawOffspring(m, members, std::vector<char>(4, 1), offspring, tallies, stream);
  int oneCopy = 0;
  std::vector<std::int32_t> genes(4, 0);
  for (const TCompactUnit& child : offspring) {
    EXPECT_EQ(child.X[0], 2);
    EXPECT_EQ(child.X[1], 1);
    EXPECT_EQ(child.X[2], 0);
    oneCopy += child.X[3] == 1;
    for (size_t l = 0; l < 4; ++l)
      genes[l] += child.X[l];
  }
  EXPECT_EQ(tallies.N, genes);
  // a2 is one parent out of two for 3 children in 8.
  EXPECT_GT(oneCopy, 50);
  EXPECT_LT(oneCopy, 100);
}

TEST(Simulation, ExclusionOfTheHomeHappensAtAlpha) {
  // Three populations; sample A also holds 4 individuals born in B.
  const auto freqs = simtest::Populations(3, 8, 6, 2024);
  auto ds = simtest::Draw(
      {{"A", &freqs[0], 40, &freqs[1], 4}, {"B", &freqs[1], 40}, {"C", &freqs[2], 40}}, 99);
  const Extended alpha = 0.05L;
  struct TCase {
    TCriterion Criterion;
    TSimulationAlgorithm Algorithm;
  };
  for (const TCase c : {TCase{TCriterion::RannalaMountain, TSimulationAlgorithm::Paetkau2004},
                        TCase{TCriterion::Paetkau, TSimulationAlgorithm::Cornuet1999},
                        TCase{TCriterion::NeiDA, TSimulationAlgorithm::Paetkau2004}}) {
    SCOPED_TRACE(testing::Message()
                 << CriterionCode(c.Criterion) << " " << SimulationAlgorithmCode(c.Algorithm));
    SimulationGenerator().SetSeeds(21, 22, 23, 24);
    TAssignmentParams params = SimulatedParams(c.Criterion, c.Algorithm, 100, true);
    auto match = std::make_unique<TMatchPGDS>(*ds, *ds, simtest::LocusNames(*ds));
    ASSERT_EQ(TRunResult::Completed,
              Presimulate(*ds, *match, {c.Criterion, 0.01L, nullptr}, c.Algorithm, 100));
    std::unique_ptr<TTableResultats> table;
    TAssignmentQuality quality;
    ASSERT_EQ(TRunResult::Completed,
              AssignIndividuals(*ds, *ds, std::move(match), params, table, quality));
    // Residents of A, B and C against their home (left out), migrants against A.
    const double residents =
        (ExclusionRate(*table, 0, 40, 0, alpha) + ExclusionRate(*table, 44, 84, 1, alpha) +
         ExclusionRate(*table, 84, 124, 2, alpha)) /
        3;
    // Resampling the sample's own frequencies (algorithms 0 and 1) ignores their sampling
    // error and excludes somewhat more often than alpha; simulated populations do not.
    EXPECT_GE(residents, 0.02);
    EXPECT_LE(residents, c.Algorithm == TSimulationAlgorithm::Paetkau2004 ? 0.09 : 0.15);
    const double migrants = ExclusionRate(*table, 40, 44, 0, alpha);
    EXPECT_GE(migrants, 0.5);
    EXPECT_GT(migrants, 4 * residents);
    // Residents of A against the list pre-simulated for B.
    EXPECT_GE(ExclusionRate(*table, 0, 40, 1, alpha), 0.8);
    EXPECT_GT(quality.QualityIndex, 50);
  }
}

// A simulated offspring is scored against its population without it, taken out on the fly.
TEST(Simulation, LeaveOneOutOfASimulatedPopulationMatchesThePopulationWithoutTheMember) {
  const auto freqs = simtest::Populations(1, 5, 6, 3);
  auto ds = simtest::Draw({{"A", &freqs[0], 30}}, 4);
  const TMatchPGDS match(*ds, *ds, simtest::LocusNames(*ds));
  const TCompactMatch m(match);
  const std::vector<std::int32_t> all = AllLoci(m);
  std::vector<TCompactUnit> simulated(30);
  TCompactPopulation tallies;
  TGenMars random(TGenMarsSeeds{3, 4, 5, 6});
  {
    TGenMarsCursor stream(random);
    DrawOffspring(m, TCompactMembers::Of(m, *ds->SampleAt(0)), std::vector<char>(5, 1), simulated,
                  tallies, stream);
  }
  for (TCriterion c : {TCriterion::RannalaMountain, TCriterion::Paetkau, TCriterion::NeiStandard,
                       TCriterion::CavalliSforza}) {
    const TCompactCriterion criterion(m, c, 0.01L, 64);
    for (int j = 0; j < 30; ++j) {
      const TCompactUnit& member = simulated[static_cast<size_t>(j)];
      TCompactPopulation without = tallies;
      without.Add(m, member, -1);
      const Extended expected = criterion.Score(without, member, all.data(), 5, false);
      const Extended actual = criterion.Score(tallies, member, all.data(), 5, true);
      ASSERT_TRUE(expected == actual || (IsUndefined(expected) && IsUndefined(actual)))
          << int(c) << " " << j;
    }
  }
}

TEST(Simulation, AssignmentRowsHoldProbabilities) {
  const auto freqs = simtest::Populations(2, 4, 4, 8);
  auto reference = simtest::Draw({{"A", &freqs[0], 20}, {"B", &freqs[1], 20}}, 9);
  // t3 lacks L4; sample U is untyped at L4 as a whole.
  auto target = Build(Raw(
      {"L1", "L2", "L3", "L4"},
      {{"T",
        {{"1/1", "2/2", "3/3", "4/4"}, {"2/3", "3/4", "4/1", "1/2"}, {"1/2", "2/3", "3/4", ""}}},
       {"U", {{"1/2", "2/2", "3/3", ""}, {"1/1", "2/3", "3/3", ""}}}}));
  const std::vector<std::string> loci = simtest::LocusNames(*target);
  SimulationGenerator().SetSeeds(5, 6, 7, 8);
  // Lists left by a run over L1 only must not serve a run over all four loci.
  const TMatchPGDS l1(*reference, *target, {"L1"});
  const TCriterionArgs args{TCriterion::RannalaMountain, 0.01L, nullptr};
  ASSERT_EQ(TRunResult::Completed,
            Presimulate(*reference, l1, args, TSimulationAlgorithm::Cornuet1999, 100));

  TAssignmentParams params =
      SimulatedParams(TCriterion::RannalaMountain, TSimulationAlgorithm::Cornuet1999, 100, false);
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  ASSERT_EQ(TRunResult::Completed,
            AssignIndividuals(*reference, *target,
                              std::make_unique<TMatchPGDS>(*reference, *target, loci), params,
                              table, quality));
  const TMatchPGDS match(*reference, *target, loci);
  const TIntegerList all = AllPositions(match);
  const TSimulationKey key =
      SimulationKeyOf(match, all, args, TSimulationAlgorithm::Cornuet1999, params.SimulatedCount);
  for (int k = 0; k < 2; ++k) {
    const TSample& population = *reference->SampleAt(k);
    const std::vector<double>* list = PresimulatedList(population, key);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->size(), 100u);
    for (int i = 0; i < 2; ++i) {
      // The log-likelihood ranked among the simulated ones.
      const Extended lnL =
          kernel::Score(args, population, *target->AllIndividuals.Items(i), match, all);
      EXPECT_EQ(table->Item(i).Row(k).Value, KeyProbability(*list, lnL, false));
    }
  }
  // A unit lacking a locus is compared with a list of its own: still a probability.
  const TResultats& t3 = table->Item(2);
  EXPECT_EQ(t3.LocusNames(t3.MissingLoci), std::vector<std::string>{"L4"});
  Extended shares = 0;
  for (int k = 0; k < 2; ++k) {
    EXPECT_GE(t3.Row(k).Value, 0);
    EXPECT_LE(t3.Row(k).Value, 1);
    shares += t3.SortedRow(k).Score;
  }
  EXPECT_NEAR(static_cast<double>(shares), 100, 1e-12);

  // Distances rank by the probabilities themselves; a group lacking a locus is simulated with
  // the run's count.
  params.Criterion = TCriterion::NeiDA;
  std::unique_ptr<TTableResultats> groups;
  ASSERT_EQ(TRunResult::Completed,
            AssignGroups(*reference, *target,
                         std::make_unique<TMatchPGDS>(*reference, *target, loci), params, groups));
  for (int g = 0; g < 2; ++g) {
    const TResultats& r = groups->Item(g);
    const Extended top = std::max(r.Row(0).Value, r.Row(1).Value);
    EXPECT_FALSE(IsUndefined(top));
    EXPECT_EQ(r.SortedRow(0).Score, top);
  }
  EXPECT_EQ(groups->Item(1).LocusNames(groups->Item(1).MissingLoci),
            std::vector<std::string>{"L4"});
}

TEST(Simulation, StoppedRunsKeepWhatTheyDid) {
  const auto freqs = simtest::Populations(2, 3, 4, 12);
  auto ds = simtest::Draw({{"A", &freqs[0], 10}, {"B", &freqs[1], 10}}, 13);
  const std::vector<std::string> loci = simtest::LocusNames(*ds);
  const TMatchPGDS match(*ds, *ds, loci);
  const TCriterionArgs args{TCriterion::Paetkau, 0.01L, nullptr};
  {
    // Stopped while simulating A: A carries no partial list.
    int calls = 0;
    TScopedProgressHook hook(
        [&](int, const std::string&, const std::string&, bool& abort) { abort = ++calls == 3; });
    EXPECT_EQ(TRunResult::Stopped,
              Presimulate(*ds, match, args, TSimulationAlgorithm::Paetkau2004, 50));
    EXPECT_EQ(PresimulatedList(*ds->SampleAt(0)), nullptr);
  }
  // Stopped when the second individual starts: the first result is complete, the others empty.
  TScopedProgressHook hook([&](int, const std::string&, const std::string& detail, bool& abort) {
    abort = detail == "1/20";
  });
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  EXPECT_EQ(TRunResult::Stopped,
            AssignIndividuals(
                *ds, *ds, std::make_unique<TMatchPGDS>(*ds, *ds, loci),
                SimulatedParams(TCriterion::Paetkau, TSimulationAlgorithm::Paetkau2004, 50, true),
                table, quality));
  ASSERT_EQ(table->Count(), 20);
  EXPECT_EQ(table->Item(0).Count, 2);
  EXPECT_FALSE(IsUndefined(table->Item(0).Row(0).Value));
  EXPECT_EQ(table->Item(1).Count, 0);
  // Stopped inside the first individual's simulation: no result from a partial list.
  bool started = false;
  TScopedProgressHook inside([&](int, const std::string&, const std::string& detail, bool& abort) {
    started |= detail == "0/20";
    abort = started && detail == " ";
  });
  TAssignmentParams p =
      SimulatedParams(TCriterion::Paetkau, TSimulationAlgorithm::Paetkau2004, 50, true);
  p.Threads = 1;
  EXPECT_EQ(
      TRunResult::Stopped,
      AssignIndividuals(*ds, *ds, std::make_unique<TMatchPGDS>(*ds, *ds, loci), p, table, quality));
  EXPECT_EQ(table->Item(0).Count, 0);
}

// Parents hand down one or two copies only: a tetraploid reference simulated by Paetkau et al.
// (2004) yields no probability. Such units are then neither well classified nor counted in the
// quality index, where the ties of their empty shares used to count every one as correct.
TEST(Simulation, UndefinedHomeProbabilitiesAreNotCountedAsCorrect) {
  auto ds =
      Build(Raw({"L1", "L2"},
                {{"A", {{"1/1/2/2", "3/3/4/4"}, {"1/2/2/2", "3/4/4/4"}, {"1/1/1/2", "3/3/3/4"}}},
                 {"B", {{"5/5/6/6", "7/7/8/8"}, {"5/6/6/6", "7/8/8/8"}, {"5/5/5/6", "7/7/7/8"}}}}));
  SimulationGenerator().SetSeeds(1, 2, 3, 4);
  const TAssignmentParams params =
      SimulatedParams(TCriterion::RannalaMountain, TSimulationAlgorithm::Paetkau2004, 50, true);
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  ASSERT_EQ(TRunResult::Completed,
            AssignIndividuals(*ds, *ds,
                              std::make_unique<TMatchPGDS>(*ds, *ds, simtest::LocusNames(*ds)),
                              params, table, quality));
  for (int i = 0; i < table->Count(); ++i) {
    EXPECT_TRUE(IsUndefined(table->Item(i).Row(i < 3 ? 0 : 1).Value));
    EXPECT_FALSE(table->Item(i).WellClassified);
  }
  EXPECT_EQ(quality.CorrectlyAssigned, 0);
}
