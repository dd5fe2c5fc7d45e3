#include "engine/runs/Migrants.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/results/ResultTables.h"
#include "engine/simulation/Simulation.h"
#include "model/Sample.h"

namespace {

// Start values of the best likelihood (the smallest positive normal extended value) and of the
// smallest distance (the largest extended value).
constexpr Extended kMinLikelihood = 3.4E-4932L;
constexpr Extended kMaxDistance = 1.1E4932L;

// The best of `values` (largest likelihood or smallest distance), undefined values ignored,
// `skip` left out; Position -1 when no value beats the start value.
struct TBest {
  Extended Value;
  int Position = -1;
};

TBest BestOf(const std::vector<Extended>& values, bool likelihood, int skip) {
  TBest best{likelihood ? kMinLikelihood : kMaxDistance};
  for (int k = 0; k < static_cast<int>(values.size()); ++k) {
    const Extended v = values[static_cast<size_t>(k)];
    if (k == skip || IsUndefined(v)) continue;
    if (likelihood ? v > best.Value : v < best.Value) best = {v, k};
  }
  return best;
}

// Rows 0 .. P-1 with the population names, the values shown and the scores of the raw values.
void FillRows(TResultats& result, const TPGDSStructure& reference, TCriterion c,
              const std::vector<Extended>& raw, const std::vector<Extended>& shown) {
  result.SetCount(reference.SamplesCount());
  for (int k = 0; k < reference.SamplesCount(); ++k)
    result.SetRow(k, shown[static_cast<size_t>(k)], MigrantScore(c, raw[static_cast<size_t>(k)]));
}

// Sorted row 0 holds the home population (its sample's name as read) with the individual's
// statistic; the others are the rows as they are.
void SetHomeRow(TResultats& result, int home, Extended value, Extended score) {
  result.CopyToSorted();
  if (result.Count == 0) return;
  result.SetHomeRow(home >= 0 ? result.Names().SampleIndex(home) : -1, value, score);
}

bool SetVerdict(TResultats& result, bool migrant, int likeliest) {
  result.IsMigrant = migrant;
  result.LikeliestPopulation = migrant ? likeliest : -1;
  return migrant;
}

} // namespace

std::optional<TMigrantStatistic> MigrantStatisticFromCode(int code) {
  if (code < 0 || code > MigrantStatisticCode(TMigrantStatistic::HomeOverMaxNotHome))
    return std::nullopt;
  return static_cast<TMigrantStatistic>(code);
}

bool MigrantDetectionAvailable(const TMigrantParams& params, bool ratio) {
  const TCriterion c = params.Criterion;
  if (!IsLikelihood(c) && !IsDistance(c)) return false;
  if (c == TCriterion::Baudouin2 && !params.Bayes) return false;
  if (c == TCriterion::Cornuet && (ratio || params.SimulationOn)) return false;
  if (params.SimulationOn)
    return IsSimulationAlgorithm(params.SimulationAlgorithm) && params.SimulatedCount > 0;
  return true;
}

Extended MigrantScore(TCriterion c, Extended value) {
  if (IsUndefined(value)) return Undefined();
  if (IsDistance(c)) return value;
  return value > 0 ? -std::log10(value) : std::numeric_limits<Extended>::infinity();
}

std::unordered_map<const TIndividual*, TMigrantHome> MigrantHomes(const TPGDSStructure& reference) {
  std::unordered_map<const TIndividual*, TMigrantHome> homes;
  for (int k = 0; k < reference.SamplesCount(); ++k) {
    const TSample& sample = *reference.SampleAt(k);
    for (int j = 0; j < sample.NbIndividuals(); ++j)
      homes.try_emplace(sample.Individuals.Items(j), TMigrantHome{k, j});
  }
  return homes;
}

int PaetkauBatches(const TPGDSStructure& reference, std::int32_t simulatedCount) {
  int smallest = 0;
  for (int k = 0; k < reference.SamplesCount(); ++k) {
    const int n = reference.SampleAt(k)->NbIndividuals();
    if (n > 0 && (smallest == 0 || n < smallest)) smallest = n;
  }
  return smallest > 0 && simulatedCount > 0 ? (simulatedCount + smallest - 1) / smallest : 0;
}

Extended HomeRatio(const std::vector<Extended>& values, int home, bool notHome, bool likelihood,
                   int& bestPosition) {
  const TBest best = BestOf(values, likelihood, notHome ? home : -1);
  bestPosition = best.Position;
  if (home < 0) return Undefined();
  const Extended v = values[static_cast<size_t>(home)];
  bool compared = false;
  for (int k = 0; k < static_cast<int>(values.size()); ++k)
    compared |= !(notHome && k == home) && !IsUndefined(values[static_cast<size_t>(k)]);
  if (IsUndefined(v) || !compared || best.Value == 0) return Undefined();
  return v / best.Value;
}

void FillMigrantLoci(const TMatchPGDS& match, const TIntegerList& used, const TIntegerList& missing,
                     TResultats& result) {
  result.UsedLoci.Assign(used.Items, match.LocusCount());
  result.MissingLoci.Assign(missing.Items, match.LocusCount());
}

bool JudgeHome(TResultats& result, const TPGDSStructure& reference, int home,
               const std::vector<Extended>& raw, const std::vector<Extended>& shown,
               const TMigrantParams& params) {
  const TCriterion c = params.Criterion;
  const bool likelihood = IsLikelihood(c);
  FillRows(result, reference, c, raw, shown);
  const TBest best = BestOf(raw, likelihood, -1);
  const Extended homeValue = home >= 0 ? result.Row(home).Value : Undefined();
  SetHomeRow(result, home, homeValue, home >= 0 ? result.Row(home).Score : Undefined());
  bool migrant;
  if (params.SimulationOn) {
    migrant = !IsUndefined(homeValue) && homeValue < params.Threshold;
  } else {
    migrant = !IsUndefined(homeValue) && best.Position >= 0 &&
              (likelihood ? homeValue < best.Value : best.Value < homeValue);
  }
  return SetVerdict(result, migrant, best.Position);
}

bool JudgeRatio(TResultats& result, const TPGDSStructure& reference, int home,
                const std::vector<Extended>& values, Extended ratio, Extended probability,
                int bestPosition, const TMigrantParams& params) {
  const TCriterion c = params.Criterion;
  FillRows(result, reference, c, values, values);
  bool migrant;
  Extended homeValue = ratio;
  if (params.SimulationOn) {
    homeValue = IsUndefined(ratio) ? Undefined() : probability;
    migrant = !IsUndefined(homeValue) && homeValue < params.Threshold;
  } else {
    // Small ratios of likelihoods, large ratios of distances mark migrants.
    migrant = !IsUndefined(ratio) && (IsLikelihood(c) ? ratio < 1 : ratio > 1);
  }
  SetHomeRow(result, home, homeValue, MigrantScore(c, ratio));
  return SetVerdict(result, migrant, bestPosition);
}
