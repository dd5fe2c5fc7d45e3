#include "engine/criteria/Criteria.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/common/Match.h"
#include "engine/criteria/Bayesien2.h"
#include "tests/engine/CriterionOracle.h"
#include "tests/engine/KernelValues.h"
#include "tests/engine/MatchTestSupport.h"

using namespace matchtest;
using namespace oracle;

namespace {

// The criteria as the engine's kernels compute them, one unit against one population.
bool EvaluateCriterion(const TCriterionArgs& args, const TGroupAbstract& pop,
                       const TBioCalculable& unit, const TMatchPGDS& match,
                       const TIntegerList& used, Extended& value) {
  return kernel::Value(args, pop, unit, match, used, value);
}
Extended ValueOf(TCriterion code, const TGroupAbstract& pop, const TBioCalculable& unit,
                 const TMatchPGDS& match, const TIntegerList& used,
                 Extended defaultFrequency = 0.01L, const TBayesien2Data* bayes = nullptr) {
  return kernel::Value({code, defaultFrequency, bayes}, pop, unit, match, used);
}
Extended DirichletLikelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used, TCriterion code) {
  return ValueOf(code, pop, unit, match, used);
}
Extended FrequencyLikelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used,
                             Extended defaultFrequency) {
  return ValueOf(TCriterion::Paetkau, pop, unit, match, used, defaultFrequency);
}
Extended Bayesien2Likelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used,
                             const TBayesien2Data& bayes) {
  return ValueOf(TCriterion::Baudouin2, pop, unit, match, used, 0.01L, &bayes);
}
Extended NeiStandardDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used) {
  return ValueOf(TCriterion::NeiStandard, pop, unit, match, used);
}
Extended NeiMinimumDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                            const TMatchPGDS& match, const TIntegerList& used) {
  return ValueOf(TCriterion::NeiMinimum, pop, unit, match, used);
}
Extended CavalliSforzaDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                               const TMatchPGDS& match, const TIntegerList& used) {
  return ValueOf(TCriterion::CavalliSforza, pop, unit, match, used);
}
Extended RogersDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                        const TMatchPGDS& match, const TIntegerList& used) {
  return ValueOf(TCriterion::Rogers, pop, unit, match, used);
}

// Every criterion of `pop` and `unit` through the dispatcher, against the direct computation.
void CompareEveryCriterion(const TExpectation& expected, const TGroupAbstract& pop,
                           const TBioCalculable& unit, const TMatchPGDS& match,
                           const TIntegerList& used, const TBayesien2Data& bayes,
                           const std::string& label) {
  TCriterionArgs args;
  args.Bayes = &bayes;
  args.DefaultFrequency = 0.004L;
  for (TCriterion code : kCodes) {
    args.Criterion = code;
    Extended value;
    ASSERT_TRUE(EvaluateCriterion(args, pop, unit, match, used, value));
    ExpectClose(value, expected.Value(CriterionCode(code), args.DefaultFrequency),
                label + " " + unit.Name + " / " + pop.Name + ", criterion " +
                    std::to_string(CriterionCode(code)));
  }
}

} // namespace

TEST(Criteria, WorkedExamples) {
  auto ref = Build(Raw({"L"}, {{"A", {{"a/a"}, {"a/b"}}}}));
  auto target = Build(Raw({"L"}, {{"X", {{"a/b"}}}}));
  const TMatchPGDS match(*ref, *target, {"L"});
  TIntegerList used;
  used.Add(0);
  const TSample& pop = *ref->SampleAt(0);
  const TIndividual& ind = *target->AllIndividuals.Items(0);
  auto near = [](Extended got, Extended expected) {
    EXPECT_LE(std::fabs(got / expected - 1), 1e-15L) << static_cast<double>(got);
  };
  near(DirichletLikelihood(pop, ind, match, used, TCriterion::RannalaMountain), 0.35L);
  near(DirichletLikelihood(pop, ind, match, used, TCriterion::BaudouinLebrun), 16.0L / 42);
  near(FrequencyLikelihood(pop, ind, match, used, 0.01L), 0.375L);

  // The same through the dispatcher; unknown codes fail.
  TCriterionArgs args;
  Extended value;
  args.Criterion = TCriterion::RannalaMountain;
  ASSERT_TRUE(EvaluateCriterion(args, pop, ind, match, used, value));
  near(value, 0.35L);
  for (TCriterion code :
       {TCriterion::Cornuet, static_cast<TCriterion>(11), static_cast<TCriterion>(255)}) {
    args.Criterion = code;
    EXPECT_FALSE(EvaluateCriterion(args, pop, ind, match, used, value));
    EXPECT_TRUE(IsUndefined(value));
  }
}

TEST(Criteria, EdgeCases) {
  // Locus L2: population B has no genes; allele 9 of the individual is unknown to the reference.
  auto ref = Build(Raw(
      {"L1", "L2"}, {{"A", {{"1/2", "3/3"}, {"1/1", "3/4"}}}, {"B", {{"2/2", ""}, {"5/5", ""}}}}));
  auto target = Build(Raw({"L1", "L2"}, {{"X", {{"1/9", "3/4"}, {"", ""}, {"5/5", "4"}}}}));
  const TMatchPGDS match(*ref, *target, {"L1", "L2"});
  const TSample& A = *ref->SampleAt(0);
  const TSample& B = *ref->SampleAt(1);
  const TIndividual& x0 = *target->AllIndividuals.Items(0);
  TIntegerList both, none;
  both.Add(0);
  both.Add(1);

  // The allele unseen in every population counts with the default frequency.
  const Extended fa = FrequencyLikelihood(A, x0, match, both, 0.001L);
  EXPECT_NEAR(static_cast<double>(fa), 2 * 0.75 * 0.001 * 2 * 0.75 * 0.25, 1e-18);
  // No genes in B at a used locus: the frequency likelihood is undefined, the Dirichlet ones
  // are not, and the distances skip that locus.
  EXPECT_TRUE(IsUndefined(FrequencyLikelihood(B, x0, match, both, 0.01L)));
  EXPECT_TRUE(std::isfinite(DirichletLikelihood(B, x0, match, both, TCriterion::BaudouinLebrun)));
  EXPECT_TRUE(std::isfinite(DirichletLikelihood(B, x0, match, both, TCriterion::RannalaMountain)));
  TIntegerList first;
  first.Add(0);
  EXPECT_EQ(RogersDistance(B, x0, match, both), RogersDistance(B, x0, match, first));
  // Rogers (1972) averages the loci's Euclidean distances sqrt(1/2 sum (p - q)^2), where Nei's
  // minimum distance averages their squares.
  TIntegerList second;
  second.Add(1);
  const Extended d1 = NeiMinimumDistance(A, x0, match, first);
  const Extended d2 = NeiMinimumDistance(A, x0, match, second);
  EXPECT_NEAR(static_cast<double>(RogersDistance(A, x0, match, both)),
              static_cast<double>((std::sqrt(d1) + std::sqrt(d2)) / 2), 1e-15);
  EXPECT_NEAR(static_cast<double>(NeiMinimumDistance(A, x0, match, both)),
              static_cast<double>((d1 + d2) / 2), 1e-15);
  EXPECT_GT(std::fabs(RogersDistance(A, x0, match, both) - (d1 + d2) / 2), 0.01L);

  // An untyped individual has no used locus: every criterion is undefined.
  const TIndividual& x1 = *target->AllIndividuals.Items(1);
  TBayesien2Data bayes;
  bayes.Prepare(*ref, match, nullptr);
  TCriterionArgs args;
  args.Bayes = &bayes;
  for (TCriterion code : kCodes) {
    args.Criterion = code;
    Extended value = 0;
    ASSERT_TRUE(EvaluateCriterion(args, A, x1, match, none, value));
    EXPECT_TRUE(IsUndefined(value)) << CriterionCode(code);
  }

  // No allele shared at any locus: Nei's standard distance is undefined, not infinite.
  const TIndividual& x2 = *target->AllIndividuals.Items(2);
  EXPECT_TRUE(IsUndefined(NeiStandardDistance(A, x2, match, first)));
  EXPECT_TRUE(std::isfinite(NeiMinimumDistance(A, x2, match, first)));

  // Identical frequencies: Cavalli-Sforza & Edwards gives exactly 0, whatever the rounding.
  auto thirds = Build(Raw({"L"}, {{"A", {{"1/2"}, {"3/1"}, {"2/3"}}}}));
  const TMatchPGDS self(*thirds, *thirds, {"L"});
  TIntegerList one;
  one.Add(0);
  EXPECT_EQ(CavalliSforzaDistance(*thirds->SampleAt(0), *thirds->SampleAt(0), self, one), 0);
  EXPECT_NEAR(static_cast<double>(
                  NeiStandardDistance(*thirds->SampleAt(0), *thirds->SampleAt(0), self, one)),
              0, 1e-18);
}

TEST(Criteria, PriorTables) {
  TAlpha t;
  EXPECT_TRUE(IsUndefined(t.Get(0, 0)));
  EXPECT_TRUE(IsUndefined(t.GetLocus(3)));
  t.Set(2, 3, 1.5L);
  t.SetLocus(1, 0.25L);
  EXPECT_EQ(t.RowCount(), 3);
  EXPECT_EQ(t.Get(2, 0), 0);
  EXPECT_EQ(t.Get(2, 3), 1.5L);
  EXPECT_TRUE(IsUndefined(t.Get(2, 4)));
  EXPECT_TRUE(IsUndefined(t.Get(0, 0)));
  EXPECT_TRUE(IsUndefined(t.Get(-1, 0)));
  EXPECT_EQ(t.GetLocus(0), 0);
  EXPECT_EQ(t.GetLocus(1), 0.25L);

  // Two diploid populations fixed for different alleles: complete differentiation, F = 1.
  auto ref = Build(Raw({"L"}, {{"A", {{"1/1"}, {"1/1"}}}, {"B", {{"2/2"}, {"2/2"}}}}));
  const TMatchPGDS match(*ref, *ref, {"L"});
  TBayesien2Data bayes;
  bayes.Prepare(*ref, match, nullptr);
  EXPECT_NEAR(static_cast<double>(bayes.Fst.GetLocus(0)), 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(bayes.Alpha.GetLocus(0)), 0, 1e-15);
  EXPECT_NEAR(static_cast<double>(bayes.MeanFrequencies.Get(0, 0)), 0.5, 1e-18);
  EXPECT_NEAR(static_cast<double>(bayes.GlobalFst), 1, 1e-15);

  // Identical populations: a negative estimate is stored as F = 0 with no prior weight; alleles
  // seen nowhere then add nothing instead of overflowing.
  auto same = Build(Raw({"L"}, {{"A", {{"1/2"}, {"1/1"}, {"2/2"}}}, {"B", {{"1/2"}, {"1/1"}}}}));
  same->LocusAt(0)->FindOrAddAllele("7", 7, 0, "");
  const TMatchPGDS m2(*same, *same, {"L"});
  bayes.Prepare(*same, m2, nullptr);
  EXPECT_EQ(bayes.Fst.GetLocus(0), 0);
  EXPECT_EQ(bayes.Alpha.GetLocus(0), 0);
  TIntegerList used;
  used.Add(0);
  const TIndividual& het = *same->AllIndividuals.Items(0);
  // Posterior of population B without prior: Dirichlet(3, 1); heterozygote 2·3·1/(4·5).
  EXPECT_NEAR(static_cast<double>(Bayesien2Likelihood(*same->SampleAt(1), het, m2, used, bayes)),
              0.3, 1e-15);
}

TEST(Criteria, AgreeWithDirectComputationOnRandomData) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const TRandomData data = RandomData(seed);
    auto ref = Build(data.Ref);
    auto target = Build(data.Target);
    const TMatchPGDS match(*ref, *target, data.Selection);
    TBayesien2Data bayes;
    bayes.Prepare(*ref, match, nullptr);
    const TPriors priors = ExpectedPriors(data.Ref, data.Target, data.Selection, nullptr);
    ExpectClose(bayes.GlobalFst, priors.GlobalFst, "global Fst " + std::to_string(seed));

    // Every individual of the target, then every target sample as a group.
    std::vector<std::pair<const TBioCalculable*, TUnit>> units;
    int k = 0;
    for (const TRawSample& s : data.Target.Samples)
      for (const TRawIndividual& ind : s.Individuals)
        units.push_back({target->AllIndividuals.Items(k++), {&ind}});
    for (int s = 0; s < target->SamplesCount(); ++s)
      units.push_back({target->SampleAt(s), Members(data.Target.Samples[static_cast<size_t>(s)])});

    for (const auto& [unit, rawUnit] : units) {
      TIntegerList used, missing;
      UsableLoci(match, *unit, used, missing);
      for (int p = 0; p < ref->SamplesCount(); ++p) {
        const TExpectation expected{
            data.Ref,       data.Target,
            data.Selection, Members(data.Ref.Samples[static_cast<size_t>(p)]),
            rawUnit,        &priors};
        ASSERT_EQ(Names(match, used), expected.UsedNames());
        CompareEveryCriterion(expected, *ref->SampleAt(p), *unit, match, used, bayes,
                              "seed " + std::to_string(seed));
      }
    }
  }
}

TEST(Criteria, AgreeWithDirectComputationInSelfAssignment) {
  for (unsigned seed = 100; seed <= 130; ++seed) {
    const TRandomData data = RandomData(seed);
    auto ref = Build(data.Ref);
    const TMatchPGDS match(*ref, *ref, data.Selection);
    TBayesien2Data bayes;
    int k = 0;
    for (int home = 0; home < ref->SamplesCount(); ++home) {
      const TRawSample& rawHome = data.Ref.Samples[static_cast<size_t>(home)];
      for (int i = 0; i < static_cast<int>(rawHome.Individuals.size()); ++i, ++k) {
        const TIndividual& ind = *ref->AllIndividuals.Items(k);
        const TRawIndividual& rawInd = rawHome.Individuals[static_cast<size_t>(i)];
        bayes.Prepare(*ref, match, &ind);
        const TPriors priors = ExpectedPriors(data.Ref, data.Ref, data.Selection, &rawInd);
        TIntegerList used, missing;
        UsableLoci(match, ind, used, missing);
        for (int p = 0; p < ref->SamplesCount(); ++p) {
          const TRawSample& rawPop = data.Ref.Samples[static_cast<size_t>(p)];
          std::unique_ptr<TSample> without;
          if (p == home) without = ref->SampleAt(p)->CopyWithout(i, false);
          const TSample& pop = without ? *without : *ref->SampleAt(p);
          const TExpectation expected{data.Ref,  data.Ref, data.Selection, Members(rawPop, &rawInd),
                                      {&rawInd}, &priors};
          CompareEveryCriterion(expected, pop, ind, match, used, bayes,
                                "self, seed " + std::to_string(seed));
        }
      }
    }
  }
}
