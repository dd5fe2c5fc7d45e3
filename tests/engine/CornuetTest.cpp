// Criterion 9 on data sets: θ of the populations, the memories across evaluations, progress and
// stop, and assignment of individuals drawn from well-separated populations.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Progress.h"
#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/criteria/CornuetEstimator.h"
#include "engine/criteria/Criteria.h"
#include "engine/criteria/Memorize.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"
#include "tests/engine/KernelValues.h"
#include "tests/engine/MatchTestSupport.h"

namespace {

using TSamples = std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>>;

// A data set whose allele names are their numbers of repeats.
std::unique_ptr<TPGDSStructure> Sized(const std::vector<std::string>& loci,
                                      const TSamples& samples) {
  matchtest::TRawSet raw = matchtest::Raw(loci, samples);
  for (const matchtest::TRawSample& s : raw.Samples)
    for (const matchtest::TRawIndividual& ind : s.Individuals)
      for (size_t l = 0; l < ind.Loci.size(); ++l)
        for (const std::string& a : ind.Loci[l].Alleles)
          raw.Loci[l].Sizes[a] = {std::atoi(a.c_str()), std::atoi(a.c_str())};
  return matchtest::Build(raw);
}

// Populations p = 0, 1, ... whose sizes at locus l lie around 10 + 12 p + l (one repeat more or
// less with probability 1/4 each).
std::unique_ptr<TPGDSStructure> Separated(int populations, int individuals, int loci) {
  std::mt19937 random(99);
  std::discrete_distribution<int> step({1, 2, 1});
  std::vector<std::string> names;
  for (int l = 0; l < loci; ++l)
    names.push_back("L" + std::to_string(l + 1));
  TSamples samples;
  for (int p = 0; p < populations; ++p) {
    auto& list = samples
                     .emplace_back(std::string(1, static_cast<char>('A' + p)),
                                   std::vector<std::vector<std::string>>())
                     .second;
    for (int i = 0; i < individuals; ++i) {
      std::vector<std::string> genotypes;
      for (int l = 0; l < loci; ++l) {
        const int centre = 10 + 12 * p + l;
        genotypes.push_back(std::to_string(centre + step(random) - 1) + "/" +
                            std::to_string(centre + step(random) - 1));
      }
      list.push_back(genotypes);
    }
  }
  return Sized(names, samples);
}

std::unique_ptr<TMatchPGDS> MatchOf(const TPGDSStructure& ds) {
  std::vector<std::string> names;
  for (int l = 0; l < ds.LociCount(); ++l)
    names.push_back(ds.LocusAt(l)->Name);
  return std::make_unique<TMatchPGDS>(ds, ds, names);
}

TIntegerList AllLoci(const TMatchPGDS& match) {
  TIntegerList used;
  for (int l = 0; l < match.LocusCount(); ++l)
    used.Add(l);
  return used;
}

TAssignmentParams SelfParams() {
  TAssignmentParams params;
  params.Criterion = TCriterion::Cornuet;
  params.SelfAssignment = true;
  return params;
}

void Seed() {
  CornuetGenerator().SetSeeds(11, 22, 33, 44);
  CornuetRuntimeGenerator().seed(12345u);
}

} // namespace

TEST(CornuetCriterion, ThetaOfPopulations) {
  // L1: A monomorphic at size 1 (the first class of the window 1 .. 13, kept), B one individual,
  // C untyped. L2: every population polymorphic.
  auto ds = Sized({"L1", "L2"}, {{"A", {{"1/1", "5/6"}, {"1/1", "6/6"}, {"1/1", "5/7"}}},
                                 {"B", {{"3/3", "6/7"}}},
                                 {"C", {{"", "5/6"}, {"", "6/7"}}}});
  ClearCornuetMemories();
  Seed();
  auto match = MatchOf(*ds);
  const TIntegerList used = AllLoci(*match);
  const TCornuetSettings settings{2000, 100};
  const TIndividual& unit = *ds->AllIndividuals.Items(0);
  Extended value = 0;
  for (int k = 0; k < 3; ++k) {
    const TSample& pop = *ds->SampleAt(k);
    ASSERT_TRUE(kernel::Cornuet(pop, unit, *match, used, settings, {}, value));
    // Fewer than two genes at a used locus: no θ, no value.
    EXPECT_EQ(IsUndefined(value), k == 2) << k;
    if (k < 2) {
      EXPECT_GT(value, 0);
    }
  }
  std::vector<std::int32_t> h(13, 0);
  h[0] = 6;
  double theta = 0;
  ASSERT_TRUE(ThetaMemory().FindTheta(h, theta));
  EXPECT_DOUBLE_EQ(theta, 1 / (21.306 * std::log(6.0) + 7.2321));
  h[0] = 0;
  h[2] = 2;
  ASSERT_TRUE(ThetaMemory().FindTheta(h, theta));
  EXPECT_DOUBLE_EQ(theta, 0.050892);
  h[2] = 0;
  ASSERT_TRUE(ThetaMemory().FindTheta(h, theta));
  EXPECT_TRUE(std::isnan(theta));
  // A polymorphic population: the best of θ0·3^k, θ0 from the gene diversity.
  std::vector<std::int32_t> l2(17, 0); // window 1 .. 17 at L2
  l2[4] = 2;
  l2[5] = 3;
  l2[6] = 1;
  ASSERT_TRUE(ThetaMemory().FindTheta(l2, theta));
  const double he = 6.0 / 5 * (1 - (4.0 + 9 + 1) / 36);
  const double theta0 = (1 / ((1 - he) * (1 - he)) - 1) / 2;
  bool candidate = false;
  for (int k = -2; k <= 2; ++k)
    candidate = candidate || std::fabs(theta - theta0 * std::pow(3.0, k)) < 1e-12 * theta;
  EXPECT_TRUE(candidate) << theta << " from " << theta0;
  // Five candidates for A and for B at L2; C stopped at L1.
  EXPECT_EQ(CandidateMemory().Count(), 5 * 2);
  ClearCornuetMemories();
}

TEST(CornuetCriterion, SecondEvaluationDrawsNothing) {
  auto ds = Separated(2, 5, 2);
  ClearCornuetMemories();
  Seed();
  auto match = MatchOf(*ds);
  const TIntegerList used = AllLoci(*match);
  const TCornuetSettings settings{3000, 100};
  const TSample& pop = *ds->SampleAt(0);
  const TIndividual& unit = *ds->SampleAt(1)->Individuals.Items(0);
  Extended first = 0, second = 0;
  ASSERT_TRUE(kernel::Cornuet(pop, unit, *match, used, settings, {}, first));
  const int thetas = ThetaMemory().Count(), probabilities = ProbabilityMemory().Count();
  EXPECT_EQ(thetas, 2);
  EXPECT_EQ(probabilities, 4); // with and without the unit, at both loci
  const TGenMars generator = CornuetGenerator();
  const std::mt19937 runtime = CornuetRuntimeGenerator();
  ASSERT_TRUE(kernel::Cornuet(pop, unit, *match, used, settings, {}, second));
  EXPECT_EQ(first, second);
  EXPECT_EQ(ThetaMemory().Count(), thetas);
  EXPECT_EQ(ProbabilityMemory().Count(), probabilities);
  EXPECT_EQ(CornuetGenerator().I97, generator.I97);
  EXPECT_EQ(CornuetGenerator().C, generator.C);
  EXPECT_EQ(CornuetGenerator().U, generator.U);
  EXPECT_TRUE(CornuetRuntimeGenerator() == runtime);
  // An individual of the population itself is far likelier there than the other's.
  Extended own = 0;
  ASSERT_TRUE(kernel::Cornuet(pop, *pop.Individuals.Items(0), *match, used, settings, {}, own));
  EXPECT_GT(own, 1000 * first);
  ClearCornuetMemories();
}

TEST(CornuetCriterion, AssignsResidentsHome) {
  auto ds = Separated(3, 8, 2);
  ClearCornuetMemories();
  Seed();
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  std::vector<std::string> panels;
  std::vector<int> percents;
  TScopedProgressHook hook([&](int percent, const std::string& panel, const std::string&, bool&) {
    panels.push_back(panel);
    percents.push_back(percent);
  });
  ASSERT_TRUE(AssignmentAvailable(SelfParams()));
  ASSERT_EQ(TRunResult::Completed,
            AssignIndividuals(*ds, *ds, MatchOf(*ds), SelfParams(), table, quality));
  ASSERT_EQ(table->Count(), 24);
  int home = 0;
  for (int i = 0; i < table->Count(); ++i) {
    const TResultats& r = table->Item(i);
    ASSERT_EQ(r.Count, 3);
    Extended sum = 0;
    for (int k = 0; k < r.SortedCount(); ++k)
      sum += r.SortedRow(k).Score;
    EXPECT_NEAR(static_cast<double>(sum), 100, 1e-9) << r.Caption;
    const std::string pop = r.Caption.substr(0, 1);
    if (r.SortedRow(0).Name == pop) ++home;
    EXPECT_EQ(r.WellClassified, r.SortedRow(0).Name == pop);
  }
  EXPECT_GE(home, 22);
  EXPECT_EQ(quality.CorrectlyAssigned, home);
  EXPECT_GT(quality.QualityIndex, 80);
  // Every locus of every population reports; percentages stay within the run.
  EXPECT_NE(std::find(panels.begin(), panels.end(), "Ref=\"B\",  Loc=\"L2\""), panels.end());
  EXPECT_EQ(std::count(panels.begin(), panels.end(), "Ref=\"A\",  Loc=\"L1\""), 2 * 24);
  for (int p : percents) {
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 100);
  }

  // A stop requested at a locus ends the run.
  {
    TScopedProgressHook stop([](int, const std::string& panel, const std::string&, bool& abort) {
      abort = panel == "Ref=\"C\",  Loc=\"L2\"";
    });
    EXPECT_EQ(TRunResult::Stopped,
              AssignIndividuals(*ds, *ds, MatchOf(*ds), SelfParams(), table, quality));
  }
  // No probabilities for this criterion.
  TAssignmentParams simulated = SelfParams();
  simulated.SimulationOn = true;
  simulated.SimulatedCount = 100;
  simulated.SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  EXPECT_FALSE(AssignmentAvailable(simulated));
  EXPECT_EQ(TRunResult::Unavailable,
            AssignIndividuals(*ds, *ds, MatchOf(*ds), simulated, table, quality));
  ClearCornuetMemories();
}
