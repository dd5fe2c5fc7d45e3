// The assignment runs: every row holds the criterion computed directly from the data (the home
// population without the individual in self-assignment), and with simulation the probabilities
// do not depend on the number of threads.
#include <gtest/gtest.h>

#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/criteria/Bayesien2.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"
#include "engine/simulation/Simulation.h"
#include "model/Sample.h"
#include "tests/engine/CriterionOracle.h"
#include "tests/engine/RandomDataSupport.h"

namespace {

using randomdata::RandomSet;
using randomdata::TableText;

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
  run.Completed = (groups ? AssignGroups(reference, target, std::move(match), p, run.Table)
                          : AssignIndividuals(reference, target, std::move(match), p, run.Table,
                                              run.Quality)) == TRunResult::Completed;
  return run;
}

TAssignmentParams Params(TCriterion criterion, bool self,
                         std::vector<std::string> loci = {"L1", "L2", "L3", "L4", "L5"}) {
  TAssignmentParams p;
  p.LocusNames = std::move(loci);
  p.Criterion = criterion;
  p.DefaultFrequency = 0.01L;
  p.SelfAssignment = self;
  return p;
}

} // namespace

// Individuals and groups of a samples file, and the reference's own individuals in
// self-assignment (criterion 1 with priors estimated without the individual), on one to three
// threads: the used loci, and each row against the direct computation.
TEST(AssignmentRuns, RowsHoldTheCriterionComputedFromTheData) {
  using namespace oracle;
  for (unsigned seed = 200; seed <= 215; ++seed) {
    const TRandomData data = RandomData(seed);
    auto ref = Build(data.Ref);
    auto target = Build(data.Target);
    TBayesien2Data bayes; // the runs estimate their own, over their match
    bayes.Prepare(*ref, TMatchPGDS(*ref, *target, data.Selection), nullptr);
    const TPriors priors = ExpectedPriors(data.Ref, data.Target, data.Selection, nullptr);
    for (int mode = 0; mode < 3; ++mode) {
      const bool self = mode == 0, groups = mode == 2;
      const TRawSet& rawTarget = self ? data.Ref : data.Target;
      // The units in table order: their genotypes, home sample and priors.
      std::vector<std::tuple<TUnit, int, TPriors>> units;
      for (int s = 0; s < static_cast<int>(rawTarget.Samples.size()); ++s) {
        const TRawSample& sample = rawTarget.Samples[static_cast<size_t>(s)];
        if (groups) units.emplace_back(Members(sample), -1, priors);
        for (const TRawIndividual& ind : sample.Individuals)
          if (!groups)
            units.emplace_back(TUnit{&ind}, self ? s : -1,
                               self ? ExpectedPriors(data.Ref, data.Ref, data.Selection, &ind)
                                    : priors);
      }
      for (TCriterion code : kCodes) {
        const std::string what = "seed " + std::to_string(seed) + " mode " + std::to_string(mode) +
                                 " criterion " + std::to_string(CriterionCode(code));
        TAssignmentParams p = Params(code, self, data.Selection);
        p.Bayes = &bayes;
        std::vector<TRun> runs;
        for (p.Threads = 1; p.Threads <= 3; ++p.Threads) {
          runs.push_back(Assign(*ref, self ? *ref : *target, p, groups));
          ASSERT_TRUE(runs.back().Completed) << what;
          ASSERT_EQ(runs.back().Table->Count(), static_cast<int>(units.size())) << what;
        }
        for (int i = 0; i < static_cast<int>(units.size()); ++i) {
          const auto& [unit, home, own] = units[static_cast<size_t>(i)];
          for (int k = 0; k < ref->SamplesCount(); ++k) {
            const TRawSample& pop = data.Ref.Samples[static_cast<size_t>(k)];
            const TExpectation expected{data.Ref,       rawTarget,
                                        data.Selection, Members(pop, k == home ? unit[0] : nullptr),
                                        unit,           &own};
            const Extended value = expected.Value(CriterionCode(code), p.DefaultFrequency);
            for (int t = 0; t < 3; ++t) {
              const TResultats& r = runs[static_cast<size_t>(t)].Table->Item(i);
              const std::string where = what + " threads " + std::to_string(t + 1) + " unit " +
                                        std::to_string(i) + " population " + std::to_string(k);
              ASSERT_EQ(r.Count, ref->SamplesCount()) << where;
              if (k == 0) {
                EXPECT_EQ(r.LocusNames(r.UsedLoci), expected.UsedNames()) << where;
              }
              ExpectClose(r.Row(k).Value, value, where);
            }
          }
        }
      }
    }
  }
}

// Probabilities: the same on one to three threads, and again when the seeded run is repeated.
TEST(AssignmentRuns, SameProbabilitiesWithEveryAlgorithmAndThreadCount) {
  const auto reference = RandomSet(7, 10, 0);
  const auto samples = RandomSet(8, 4, 2);
  TBayesien2Data bayes;
  bayes.Prepare(
      *reference,
      TMatchPGDS(*reference, *reference, Params(TCriterion::BaudouinLebrun, true).LocusNames),
      nullptr);
  int rows = 0, defined = 0;
  for (TSimulationAlgorithm algorithm :
       {TSimulationAlgorithm::Cornuet1999, TSimulationAlgorithm::Rannala1997,
        TSimulationAlgorithm::Paetkau2004})
    for (TCriterion c : oracle::kCodes)
      for (bool self : {true, false}) {
        const std::string what = "algorithm " + std::to_string(SimulationAlgorithmCode(algorithm)) +
                                 " criterion " + std::to_string(CriterionCode(c)) +
                                 (self ? " self" : " samples");
        TAssignmentParams p = Params(c, self);
        p.Bayes = &bayes;
        p.SimulationOn = true;
        p.SimulationAlgorithm = algorithm;
        p.SimulatedCount = 40;
        p.Threads = 1;
        const TPGDSStructure& target = self ? *reference : *samples;
        const TRun first = Assign(*reference, target, p, false);
        ASSERT_TRUE(first.Completed) << what;
        for (int i = 0; i < first.Table->Count(); ++i, ++rows)
          defined += !IsUndefined(first.Table->Item(i).Row(0).Value);
        for (int threads : {1, 2, 3}) {
          p.Threads = threads;
          const TRun again = Assign(*reference, target, p, false);
          ASSERT_TRUE(again.Completed) << what << " threads " << threads;
          EXPECT_EQ(TableText(*first.Table), TableText(*again.Table))
              << what << " threads " << threads;
          EXPECT_EQ(first.Quality.QualityIndex, again.Quality.QualityIndex) << what;
          EXPECT_EQ(first.Quality.CorrectlyAssigned, again.Quality.CorrectlyAssigned) << what;
        }
      }
  // The comparison means something only if the rows hold probabilities.
  EXPECT_GT(defined, rows * 9 / 10);
}

TEST(AssignmentRuns, IndividualsLackingTheSameLociShareTheirSimulatedLists) {
  const auto reference = RandomSet(9, 10, 0);
  // The same genotypes without L2 in two samples, and between them others without L2 and L4.
  const std::vector<std::string> g{"10/11", "", "12/12", "13/14", "15"};
  std::vector<std::string> h = g;
  h[3] = "";
  const auto target = matchtest::Build(
      matchtest::Raw({"L1", "L2", "L3", "L4", "L5"}, {{"S1", {g, h}}, {"S2", {g}}}));
  for (TSimulationAlgorithm algorithm :
       {TSimulationAlgorithm::Cornuet1999, TSimulationAlgorithm::Paetkau2004})
    for (int threads : {1, 3}) {
      TAssignmentParams p = Params(TCriterion::RannalaMountain, false);
      p.SimulationOn = true;
      p.SimulationAlgorithm = algorithm;
      p.SimulatedCount = 40;
      p.Threads = threads;
      const TRun run = Assign(*reference, *target, p, false);
      ASSERT_TRUE(run.Completed);
      for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(!IsUndefined(run.Table->Item(0).Row(k).Value) &&
                    run.Table->Item(0).Row(k).Value == run.Table->Item(2).Row(k).Value)
            << SimulationAlgorithmCode(algorithm) << " " << threads << " population " << k;
    }
}
