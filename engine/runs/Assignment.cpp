#include "engine/runs/Assignment.h"

#include "dataset/PGDSStructure.h"
#include "engine/results/ResultTables.h"
#include "engine/simulation/Simulation.h"
#include "model/GroupAbstract.h"

namespace {
// Score of a population that could not be scored in a distance run (the smallest positive normal
// extended value), and the stand-in for a negative distance or an undefined ranked score.
constexpr Extended kMinScore = 3.4E-4932L;
constexpr Extended kTinyValue = 8.704E-4930L;

// The ranked scores of a unit without any usable locus.
void UndefinedRanking(TResultats& result) {
  for (int k = 0; k < result.SortedCount(); ++k)
    result.SetSortedScore(k, Undefined());
}

// Likelihood shares: each score in percent of the sum of the scores (100 times the score when
// the sum is 0, which leaves every score at 0).
void LikelihoodShares(TResultats& result, Extended sum) {
  const Extended f = sum > 0 ? 100.0L / sum : 100.0L;
  for (int k = 0; k < result.SortedCount(); ++k)
    result.SetSortedScore(k, result.SortedRow(k).Score * f);
}

// Inverse-distance shares in percent, 100 (1/D_k) / sum of (1/D_j), computed relative to the
// largest distance so that small distances do not overflow. Populations at distance exactly 0
// share the whole 100 % and the others get 0.
void DistanceShares(TResultats& result, Extended maxD) {
  const int n = result.SortedCount();
  auto value = [&result](int k) { return result.SortedRow(k).Value; };
  int zeros = 0;
  for (int k = 0; k < n; ++k)
    if (!IsUndefined(value(k)) && value(k) == 0) ++zeros;
  if (zeros > 0) {
    for (int k = 0; k < n; ++k)
      result.SetSortedScore(k, !IsUndefined(value(k)) && value(k) == 0 ? 100.0L / zeros : 0.0L);
    return;
  }
  Extended s = 0;
  for (int k = 0; k < n; ++k)
    if (!IsUndefined(value(k))) s += maxD / value(k);
  const Extended f = s > 0 ? maxD * 100.0L / s : 100.0L;
  for (int k = 0; k < n; ++k)
    result.SetSortedScore(k, IsUndefined(value(k)) ? kTinyValue : f / value(k));
}

// Takes the home score from the ranked copy (still in population order), ranks it, and sets the
// well-classified flag: in self-assignment, the home population has the top score (ties count).
void RankAndJudge(const TAssignmentRun& run, int home, TResultats& result, TUnitVerdict& verdict) {
  if (home >= 0) verdict.HomeScore = result.SortedRow(home).Score;
  result.SortRows();
  verdict.WellClassified = run.Params.SelfAssignment && result.Count > 0 &&
                           !IsUndefined(verdict.HomeScore) &&
                           result.SortedRow(0).Score == verdict.HomeScore;
  result.WellClassified = verdict.WellClassified;
}

// Distances with probabilities: the ranked scores are the probabilities themselves (a vanishing
// score when undefined), not rescaled; the flag compares them before the home score, for the
// quality index, becomes the home's percentage of their sum.
void ProbabilityRanking(const TAssignmentRun& run, int home, TResultats& result,
                        TUnitVerdict& verdict) {
  Extended sum = 0;
  for (int k = 0; k < result.SortedCount(); ++k) {
    const Extended value = result.SortedRow(k).Value;
    const Extended score = IsUndefined(value) ? kTinyValue : value;
    result.SetSortedScore(k, score);
    sum += score;
  }
  RankAndJudge(run, home, result, verdict);
  if (home < 0) return;
  const Extended homeValue = result.Row(home).Value;
  verdict.HomeScore =
      IsUndefined(homeValue) ? Undefined() : homeValue * (sum > 0 ? 100.0L / sum : 100.0L);
  if (IsUndefined(homeValue)) verdict.WellClassified = result.WellClassified = false;
}

// A fresh result for `unit`, one row per reference population, and no verdict yet; answers the
// number of populations.
int StartResult(const TAssignmentRun& run, const TBioCalculable& unit, TResultats& result,
                TUnitVerdict& verdict) {
  verdict = TUnitVerdict{};
  result.WellClassified = false;
  const int populations = run.Reference.SamplesCount();
  result.SetCount(populations);
  result.Caption = CaptionOf(unit);
  return populations;
}

} // namespace

std::string CaptionOf(const TBioCalculable& unit) {
  return dynamic_cast<const TGroupAbstract*>(&unit) ? unit.Name : unit.Label;
}

TCriterionArgs CriterionArgsOf(const TAssignmentParams& params) {
  return {params.Criterion, params.DefaultFrequency, params.Bayes};
}

bool AssignmentAvailable(const TAssignmentParams& params) {
  const TCriterion c = params.Criterion;
  // The stepwise-mutation criterion has no simulated values.
  if (c == TCriterion::Cornuet) return !params.SimulationOn;
  if (!IsLikelihood(c) && !IsDistance(c)) return false; // a value that names no criterion
  if (c == TCriterion::Baudouin2 && !params.Bayes) return false;
  // Probabilities need a known algorithm and simulated individuals to compare with.
  if (params.SimulationOn)
    return IsSimulationAlgorithm(params.SimulationAlgorithm) && params.SimulatedCount > 0;
  return true;
}

void RankLikelihoods(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                     const std::vector<Extended>& values, int home, TResultats& result,
                     TUnitVerdict& verdict) {
  const int populations = StartResult(run, unit, result, verdict);
  Extended sum = 0;
  for (int k = 0; k < populations; ++k) {
    if (!typed) {
      result.SetRow(k, Undefined(), Undefined());
      continue;
    }
    const Extended likelihood = values[static_cast<size_t>(k)];
    const Extended score = IsUndefined(likelihood) ? 0.0L : likelihood;
    result.SetRow(k, likelihood, score);
    sum += score;
  }
  result.CopyToSorted();
  if (!typed) {
    UndefinedRanking(result);
    return;
  }
  LikelihoodShares(result, sum);
  RankAndJudge(run, home, result, verdict);
  // A home population without a value (no probability could be computed) says nothing of the
  // unit: it is neither well classified nor counted in the quality index, whatever its share of
  // a sum of zeros.
  if (home >= 0 && IsUndefined(result.Row(home).Value)) {
    verdict.HomeScore = Undefined();
    verdict.WellClassified = result.WellClassified = false;
  }
}

void RankDistances(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                   const std::vector<Extended>& values, int home, TResultats& result,
                   TUnitVerdict& verdict) {
  const int populations = StartResult(run, unit, result, verdict);
  Extended maxD = kMinScore;
  for (int k = 0; k < populations; ++k) {
    if (!typed) {
      result.SetRow(k, Undefined(), kMinScore);
      continue;
    }
    Extended distance = values[static_cast<size_t>(k)];
    // A negative distance (rounding) counts as a vanishingly small one.
    if (!IsUndefined(distance) && distance < 0) distance = kTinyValue;
    result.SetRow(k, distance, distance);
    if (!IsUndefined(distance) && distance > maxD) maxD = distance;
  }
  result.CopyToSorted();
  if (!typed) {
    UndefinedRanking(result);
    return;
  }
  if (run.Params.SimulationOn) {
    ProbabilityRanking(run, home, result, verdict);
    return;
  }
  DistanceShares(result, maxD);
  RankAndJudge(run, home, result, verdict);
}
