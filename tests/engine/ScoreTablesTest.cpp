// The score tables against the direct evaluation of the compact criteria, unit by unit.
#include "engine/criteria/ScoreTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "engine/common/Match.h"
#include "engine/criteria/Criteria.h"
#include "model/Individual.h"
#include "model/Sample.h"
#include "tests/engine/RandomDataSupport.h"
#include "tests/engine/SimulationTestSupport.h"

namespace {

void ExpectSameScore(double table, Extended direct, const std::string& where) {
  if (std::isnan(direct)) {
    EXPECT_TRUE(std::isnan(table)) << where;
    return;
  }
  const double d = static_cast<double>(direct);
  EXPECT_NEAR(table, d, 1e-12 * std::max(1.0, std::fabs(d))) << where;
}

} // namespace

// Every individual of random populations (missing copies, untyped loci, a haploid locus, a
// population of one) scored from the tables and directly, over all its loci (the untyped ones
// included, which decide when a locus without genes is undefined): against every population, and
// against its own without it for the Dirichlet criteria.
TEST(ScoreTables, SameScoresAsTheDirectEvaluation) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const auto ds = randomdata::RandomSet(seed, {6, 1, 9}, static_cast<int>(seed % 2));
    const TMatchPGDS match(*ds, *ds, simtest::LocusNames(*ds));
    const TCompactMatch compact(match);
    std::vector<std::int32_t> all;
    for (int l = 0; l < compact.LocusCount(); ++l)
      all.push_back(l);
    const int nAll = static_cast<int>(all.size());
    for (TCriterion code :
         {TCriterion::BaudouinLebrun, TCriterion::RannalaMountain, TCriterion::Paetkau}) {
      const TCompactCriterion criterion(compact, code, 0.01L, 2 * 16 + 4);
      for (int k = 0; k < ds->SamplesCount(); ++k) {
        const TCompactPopulation population = TCompactPopulation::Of(compact, *ds->SampleAt(k));
        const TScoreTable table(compact, criterion, population);
        std::optional<TScoreTable> leaveOut;
        if (TScoreTable::Covers(code, true)) leaveOut.emplace(compact, criterion, population, true);
        for (int j = 0; j < ds->AllIndividuals.Count(); ++j) {
          const TIndividual& individual = *ds->AllIndividuals.Items(j);
          const TCompactUnit unit = TCompactUnit::Of(compact, individual, true);
          const TUnitCodes codes = TUnitCodes::Of(compact, unit);
          ASSERT_TRUE(codes.Simple);
          const std::string where = "seed " + std::to_string(seed) + " criterion " +
                                    std::to_string(CriterionCode(code)) + " population " +
                                    std::to_string(k) + " individual " + std::to_string(j);
          ExpectSameScore(table.Score(codes, all.data(), nAll),
                          criterion.Score(population, unit, all.data(), nAll, false), where);
          const bool member = ds->SampleAt(k)->Individuals.IndexOfObject(&individual) >= 0;
          if (leaveOut && member)
            ExpectSameScore(leaveOut->Score(codes, all.data(), nAll),
                            criterion.Score(population, unit, all.data(), nAll, true),
                            where + " left out");
        }
        EXPECT_TRUE(std::isnan(table.Score(TUnitCodes{}, all.data(), 0)));
      }
    }
  }
}
