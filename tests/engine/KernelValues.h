// One criterion value of one unit against one population through the engine's kernels, the
// compact forms of the match, the population and the unit made for the occasion: what the tests
// compare with values computed directly from the data.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/common/Match.h"
#include "engine/criteria/CompactTallies.h"
#include "engine/criteria/Cornuet.h"
#include "engine/criteria/Criteria.h"
#include "model/GroupAbstract.h"

namespace kernel {

// The score of args.Criterion (every code but 9) of `unit` against `pop` over the matched loci
// `used`: the logarithm of a likelihood, a distance itself (NaN when undefined or for a code no
// kernel covers).
inline Extended Score(const TCriterionArgs& args, const TGroupAbstract& pop,
                      const TBioCalculable& unit, const TMatchPGDS& match,
                      const TIntegerList& used) {
  if (!TCompactCriterion::Covers(args.Criterion)) return Undefined();
  const TCompactMatch m(match);
  TCompactPopulation population = TCompactPopulation::Of(m, pop);
  if (IsDistance(args.Criterion)) population.ComputeFrequencies();
  const TCompactUnit u = TCompactUnit::Of(m, unit, true);
  int maxCount = 0;
  for (std::int32_t n : population.N)
    maxCount = std::max(maxCount, n);
  for (std::int32_t x : u.X)
    maxCount += x;
  const TCompactCriterion criterion(m, args.Criterion, args.DefaultFrequency, maxCount + 2,
                                    args.Bayes);
  return criterion.Score(population, u, used.Items.data(), used.Count(), false);
}

// The value of the same criterion; false, with an undefined value, for a code no kernel covers.
inline bool Value(const TCriterionArgs& args, const TGroupAbstract& pop, const TBioCalculable& unit,
                  const TMatchPGDS& match, const TIntegerList& used, Extended& value) {
  value = Undefined();
  if (!TCompactCriterion::Covers(args.Criterion)) return false;
  const Extended score = Score(args, pop, unit, match, used);
  if (!IsUndefined(score)) value = IsDistance(args.Criterion) ? score : std::exp(score);
  return true;
}

inline Extended Value(const TCriterionArgs& args, const TGroupAbstract& pop,
                      const TBioCalculable& unit, const TMatchPGDS& match,
                      const TIntegerList& used) {
  Extended value;
  Value(args, pop, unit, match, used, value);
  return value;
}

// Criterion 9 of `unit` against the reference sample `sample`, which does not hold it.
inline bool Cornuet(const TGroupAbstract& sample, const TBioCalculable& unit,
                    const TMatchPGDS& match, const TIntegerList& used,
                    const TCornuetSettings& settings, const TCornuetProgress& progress,
                    Extended& value) {
  const TCompactMatch m(match);
  return CornuetScore(m, TCompactPopulation::Of(m, sample), sample, TCompactUnit::Of(m, unit, true),
                      false, used.Items, settings, progress, value);
}

} // namespace kernel
