// Migrant detection: every row holds the criterion computed directly from the data (the home
// population without the individual), and with simulation the probabilities and flags do not
// depend on the number of threads.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/Progress.h"
#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/criteria/Bayesien2.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Migrants.h"
#include "engine/simulation/Simulation.h"
#include "model/Sample.h"
#include "tests/engine/CriterionOracle.h"
#include "tests/engine/RandomDataSupport.h"

namespace {

using randomdata::TableText;

struct TDetection {
  bool Completed = false;
  std::unique_ptr<TTableResultats> Table;
  std::int32_t Flagged = -1;
};

// option 0: L_home, 1: L_home / L_max, 2: L_home / L_max_not_home; every run from the same seeds.
TDetection Detect(const TPGDSStructure& ds, const TMigrantParams& p, int option) {
  SimulationGenerator().SetSeeds(21, 22, 23, 24);
  TDetection d;
  d.Completed =
      (option == 0
           ? DetectMigrantsHome(ds, std::make_unique<TMatchPGDS>(ds, ds, p.LocusNames), p, d.Table,
                                d.Flagged)
           : DetectMigrantsRatio(ds, p, option == 2, d.Table, d.Flagged)) == TRunResult::Completed;
  return d;
}

TMigrantParams Params(TCriterion criterion,
                      std::vector<std::string> loci = {"L1", "L2", "L3", "L4", "L5"}) {
  TMigrantParams p;
  p.LocusNames = std::move(loci);
  p.Criterion = criterion;
  p.Threshold = 0.05L;
  return p;
}

// A sample of one individual (left out, its home is empty) and an empty sample among them.
std::unique_ptr<TPGDSStructure> Reference(unsigned seed) {
  return randomdata::RandomSet(seed, {7, 1, 6, 0}, 0);
}

} // namespace

// Every option on one to three threads: the rows hold the values against every population, the
// home without the individual (criterion 1 with priors estimated without it), and their scores;
// with the ratios, the home row holds the ratio of the home value to the best one.
TEST(MigrantRuns, RowsHoldTheCriterionComputedFromTheData) {
  using namespace oracle;
  for (unsigned seed = 300; seed <= 315; ++seed) {
    const TRandomData data = RandomData(seed);
    auto ref = Build(data.Ref);
    TBayesien2Data bayes; // the detections estimate their own
    bayes.Prepare(*ref, TMatchPGDS(*ref, *ref, data.Selection), nullptr);
    // The individuals in table order: genotypes, home sample and priors without them.
    std::vector<std::tuple<const TRawIndividual*, int, TPriors>> units;
    for (int s = 0; s < static_cast<int>(data.Ref.Samples.size()); ++s)
      for (const TRawIndividual& ind : data.Ref.Samples[static_cast<size_t>(s)].Individuals)
        units.emplace_back(&ind, s, ExpectedPriors(data.Ref, data.Ref, data.Selection, &ind));
    const int populations = ref->SamplesCount();
    for (TCriterion code : kCodes) {
      const bool likelihood = IsLikelihood(code);
      TMigrantParams p = Params(code, data.Selection);
      p.Bayes = &bayes;
      for (int option : {0, 1, 2}) {
        const std::string what = "seed " + std::to_string(seed) + " criterion " +
                                 std::to_string(CriterionCode(code)) + " option " +
                                 std::to_string(option);
        std::vector<TDetection> runs;
        for (p.Threads = 1; p.Threads <= 3; ++p.Threads) {
          runs.push_back(Detect(*ref, p, option));
          ASSERT_TRUE(runs.back().Completed) << what;
        }
        for (int i = 0; i < static_cast<int>(units.size()); ++i) {
          const auto& [ind, home, own] = units[static_cast<size_t>(i)];
          std::vector<Extended> values;
          for (int k = 0; k < populations; ++k) {
            const TUnit pop = Members(data.Ref.Samples[static_cast<size_t>(k)], ind);
            // The ratios give a population without any individual no value.
            Extended v =
                option != 0 && pop.empty()
                    ? Undefined()
                    : TExpectation{data.Ref, data.Ref, data.Selection, pop, {ind}, &own}.Value(
                          CriterionCode(code), 0.01L);
            // A distance of 0 up to the rounding of the direct computation is 0.
            if (!likelihood && std::fabs(v) < 1e-17L) v = 0;
            values.push_back(v);
          }
          int best = -1;
          const Extended ratio = HomeRatio(values, home, option == 2, likelihood, best);
          for (int t = 0; t < 3; ++t) {
            const TResultats& r = runs[static_cast<size_t>(t)].Table->Item(i);
            const std::string unit =
                what + " threads " + std::to_string(t + 1) + " unit " + std::to_string(i);
            ASSERT_EQ(r.Count, populations) << unit;
            for (int k = 0; k < populations; ++k) {
              const Extended v = values[static_cast<size_t>(k)], score = r.Row(k).Score;
              ExpectClose(r.Row(k).Value, v, unit + " population " + std::to_string(k));
              // The score (-log10 of a likelihood, a distance itself) read back as the value.
              ExpectClose(likelihood ? std::pow(10.0L, -score) : score, v,
                          unit + " score " + std::to_string(k));
            }
            if (option != 0) ExpectClose(r.SortedRow(0).Value, ratio, unit + " ratio");
          }
        }
      }
    }
  }
}

// Probabilities and flags: the same on one to three threads, and again when the seeded run is
// repeated.
TEST(MigrantRuns, SameProbabilitiesWithEveryAlgorithmAndThreadCount) {
  const auto ds = Reference(4);
  int flaggedSomewhere = 0;
  for (TSimulationAlgorithm algorithm :
       {TSimulationAlgorithm::Cornuet1999, TSimulationAlgorithm::Rannala1997,
        TSimulationAlgorithm::Paetkau2004})
    for (TCriterion c : {TCriterion::RannalaMountain, TCriterion::Paetkau, TCriterion::NeiMinimum,
                         TCriterion::Goldstein})
      for (int option : {0, 1, 2}) {
        const std::string what = "algorithm " + std::to_string(SimulationAlgorithmCode(algorithm)) +
                                 " criterion " + std::to_string(CriterionCode(c)) + " option " +
                                 std::to_string(option);
        TMigrantParams p = Params(c);
        p.SimulationOn = true;
        p.SimulationAlgorithm = algorithm;
        p.SimulatedCount = 24;
        p.Threads = 1;
        const TDetection first = Detect(*ds, p, option);
        ASSERT_TRUE(first.Completed) << what;
        flaggedSomewhere += first.Flagged > 0;
        for (p.Threads = 1; p.Threads <= 3; ++p.Threads) {
          const TDetection again = Detect(*ds, p, option);
          ASSERT_TRUE(again.Completed) << what;
          EXPECT_EQ(first.Flagged, again.Flagged) << what << " threads " << p.Threads;
          EXPECT_EQ(TableText(*first.Table), TableText(*again.Table))
              << what << " threads " << p.Threads;
        }
        // Algorithm 2 leaves no simulated populations behind with the ratios.
        if (option != 0 && algorithm == TSimulationAlgorithm::Paetkau2004) {
          for (int k = 0; k < ds->SamplesCount(); ++k)
            EXPECT_EQ(ds->SampleAt(k)->SimulationData, nullptr) << what;
        }
      }
  // The comparison means something only if some runs flag individuals.
  EXPECT_GT(flaggedSomewhere, 6);
}

TEST(MigrantRuns, StoppedRunKeepsWhatWasTreatedBeforeTheStop) {
  const auto ds = Reference(5);
  const int n = ds->AllIndividuals.Count();
  for (bool simulation : {false, true}) {
    SCOPED_TRACE(simulation);
    TMigrantParams p = Params(TCriterion::RannalaMountain);
    p.SimulationOn = simulation;
    p.SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
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
