#include "engine/Assignment.h"

#include "dataset/PGDSStructure.h"
#include "engine/Bayesien2.h"
#include "engine/FastRuns.h"
#include "engine/GenMars.h"
#include "engine/Match.h"
#include "base/Progress.h"
#include "engine/ResultNames.h"
#include "engine/ResultTables.h"
#include "engine/SharedLists.h"
#include "engine/Simulation.h"
#include "base/Texts.h"

namespace {
// Score of a population that could not be scored in a distance run (the smallest positive normal
// extended value), and the stand-in for a negative distance or an undefined ranked score.
constexpr Extended kMinScore = 3.4E-4932L;
constexpr Extended kTinyValue = 8.704E-4930L;

// A group is shown by its name, an individual by its label ("population/individual").
std::string CaptionOf(const TBioCalculable& unit) {
  return dynamic_cast<const TGroupAbstract*>(&unit) ? unit.Name : unit.Label;
}

TCriterionArgs CriterionArgsOf(const TAssignmentRun& run) {
  return ::CriterionArgsOf(run.Params);
}

bool CriterionValue(const TAssignmentRun& run, const TGroupAbstract& population,
                    const TBioCalculable& unit, const TIntegerList& used, Extended& value) {
  return EvaluateCriterion(CriterionArgsOf(run), population, unit, run.Match, used, value);
}

// The Monte-Carlo probability of `value` under `sample` (the home against its leave-one-out
// copy). False when stopped.
bool ProbabilityOf(const TAssignmentRun& run, int k, const TEvaluatedPopulation& population,
                   const TIntegerList& used, Extended value, Extended& probability) {
  const TAssignmentParams& p = run.Params;
  return ProbabilityUnder(*run.Reference.SampleAt(k), *population.Population, population.IsHome,
                          run.Reference, run.Match, used, CriterionArgsOf(run),
                          p.SimulationAlgorithm, p.SimulatedCount, value, probability,
                          run.UnitRandom ? *run.UnitRandom : SimulationGenerator(),
                          {run.Shared, run.Unit, k});
}

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

// One unit: its usable loci, the evaluation by the criterion's kind, and the names of the loci
// it was computed on and of those it lacks.
// Criterion 9 reports its progress within `share` percent from `start`.
bool EvaluateUnit(const TAssignmentRun& run, const TBioCalculable& unit, TIntegerList& used,
                  TIntegerList& missing, TResultats& result, TUnitVerdict& verdict, int start,
                  int share) {
  used.Clear();
  missing.Clear();
  UsableLoci(run.Match, unit, used, missing);
  const std::uint8_t c = run.Params.Criterion;
  bool ok = false;
  if (c <= criterion::Paetkau)
    ok = EvaluateLikelihoods(run, unit, used, result, verdict);
  else if (criterion::IsDistance(c))
    ok = EvaluateDistances(run, unit, used, result, verdict);
  else if (c == criterion::Cornuet)
    ok = EvaluateCornuet(run, unit, used, result, verdict, start, share);
  if (!ok) return false;
  result.UsedLoci.Assign(used.Items, run.Match.LocusCount());
  result.MissingLoci.Assign(missing.Items, run.Match.LocusCount());
  return true;
}

// With probabilities: the lists pre-simulated for every reference population (simulated now, in
// population order, for those that carry none for this run), before any unit draws its stream.
// False when stopped.
bool EnsurePresimulated(const TAssignmentRun& run) {
  if (!run.Params.SimulationOn) return true;
  const TAssignmentParams& p = run.Params;
  for (int k = 0; k < run.Reference.SamplesCount(); ++k) {
    bool stopped = false;
    PresimulatedListFor(*run.Reference.SampleAt(k), run.Reference, run.Match, CriterionArgsOf(run),
                        p.SimulationAlgorithm, p.SimulatedCount, stopped);
    if (stopped) return false;
  }
  return true;
}

// The seeds of the units' streams, drawn in unit order, with probabilities only.
std::vector<TGenMarsSeeds> UnitSeeds(const TAssignmentParams& params, int units) {
  std::vector<TGenMarsSeeds> seeds(static_cast<size_t>(units));
  if (params.SimulationOn)
    for (TGenMarsSeeds& s : seeds)
      s = DrawStreamSeeds(SimulationGenerator());
  return seeds;
}

// With probabilities, the lists the units lacking some loci share per pattern, seeded after the
// units' streams. None when the criterion's priors are estimated again without each unit
// (criterion 1 in self-assignment): its lists then depend on the unit, not only on the
// population and the loci.
std::unique_ptr<TSharedLists<TExtendedList>>
SharedListsOf(const TAssignmentRun& run, const std::vector<const TBioCalculable*>& units) {
  const TAssignmentParams& p = run.Params;
  if (!p.SimulationOn || (p.Criterion == criterion::Baudouin2 && p.SelfAssignment)) return nullptr;
  return std::make_unique<TSharedLists<TExtendedList>>(TLocusPatterns(
      MissingPatterns(run.Match, units), run.Reference.SamplesCount(), SimulationGenerator()));
}

} // namespace

TCriterionArgs CriterionArgsOf(const TAssignmentParams& params) {
  return {params.Criterion, params.DefaultFrequency, params.Bayes};
}

TEvaluatedPopulation PopulationFor(const TAssignmentRun& run, const TSample& sample,
                                   const TBioCalculable& unit) {
  TEvaluatedPopulation p;
  p.Population = &sample;
  if (!run.Params.SelfAssignment) return p;
  const int index = sample.Individuals.IndexOfObject(&unit);
  if (index < 0) return p;
  p.LeaveOneOut = sample.CopyWithout(index, false);
  p.Population = p.LeaveOneOut.get();
  p.IsHome = true;
  return p;
}

bool AssignmentAvailable(const TAssignmentParams& params) {
  const std::uint8_t c = params.Criterion;
  // The stepwise-mutation criterion has no simulated values.
  if (c == criterion::Cornuet) return !params.SimulationOn;
  if (c > criterion::Paetkau && !criterion::IsDistance(c)) return false; // unknown codes
  if (c == criterion::Baudouin2 && !params.Bayes) return false;
  // Probabilities need a known algorithm and simulated individuals to compare with.
  if (params.SimulationOn)
    return params.SimulationAlgorithm <= simulation::Paetkau2004 && params.SimulatedCount > 0;
  return true;
}

namespace {
// The criterion value (or its probability) of `unit` under every reference population, and the
// index of its home (-1 outside self-assignment). All undefined without a usable locus. False
// when the criterion cannot be computed or the run was stopped.
bool PopulationValues(const TAssignmentRun& run, const TBioCalculable& unit,
                      const TIntegerList& used, std::vector<Extended>& values, int& home) {
  const int populations = run.Reference.SamplesCount();
  values.assign(static_cast<size_t>(populations), Undefined());
  home = -1;
  for (int k = 0; k < populations && used.Count() > 0; ++k) {
    TSample& sample = *run.Reference.SampleAt(k);
    TEvaluatedPopulation population = PopulationFor(run, sample, unit);
    Extended& value = values[static_cast<size_t>(k)];
    if (!CriterionValue(run, *population.Population, unit, used, value)) return false;
    // The probability compares the raw value with the simulated ones.
    if (run.Params.SimulationOn && !ProbabilityOf(run, k, population, used, value, value))
      return false;
    if (population.IsHome) home = k;
  }
  return true;
}
} // namespace

bool EvaluateLikelihoods(const TAssignmentRun& run, const TBioCalculable& unit,
                         const TIntegerList& used, TResultats& result, TUnitVerdict& verdict) {
  std::vector<Extended> values;
  int home = -1;
  if (!PopulationValues(run, unit, used, values, home)) return false;
  RankLikelihoods(run, unit, used.Count() > 0, values, home, result, verdict);
  return true;
}

void RankLikelihoods(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                     const std::vector<Extended>& values, int home, TResultats& result,
                     TUnitVerdict& verdict) {
  verdict = TUnitVerdict{};
  result.WellClassified = false;
  const int populations = run.Reference.SamplesCount();
  result.SetCount(populations);
  result.Caption = CaptionOf(unit);
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

bool EvaluateDistances(const TAssignmentRun& run, const TBioCalculable& unit,
                       const TIntegerList& used, TResultats& result, TUnitVerdict& verdict) {
  std::vector<Extended> values;
  int home = -1;
  if (!PopulationValues(run, unit, used, values, home)) return false;
  RankDistances(run, unit, used.Count() > 0, values, home, result, verdict);
  return true;
}

void RankDistances(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                   const std::vector<Extended>& values, int home, TResultats& result,
                   TUnitVerdict& verdict) {
  verdict = TUnitVerdict{};
  result.WellClassified = false;
  const int populations = run.Reference.SamplesCount();
  result.SetCount(populations);
  result.Caption = CaptionOf(unit);
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

bool AssignIndividuals(const TPGDSStructure& reference, const TPGDSStructure& target,
                       std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                       std::unique_ptr<TTableResultats>& resultTable, TAssignmentQuality& quality) {
  quality = TAssignmentQuality{};
  const int n = target.AllIndividuals.Count();
  if (!match || !AssignmentAvailable(params)) {
    resultTable = std::make_unique<TTableResultats>(n);
    return false;
  }
  // The fast run makes its own table.
  if (FastRunCovers(params))
    return FastAssignIndividuals(reference, target, *match, params, resultTable, quality);
  resultTable = NewResultTable(n, reference, *match);
  TAssignmentRun run{reference, target, *match, params};
  if (!EnsurePresimulated(run)) return false;
  const std::vector<TGenMarsSeeds> seeds = UnitSeeds(params, n);
  std::vector<const TBioCalculable*> units;
  for (int i = 0; i < n; ++i)
    units.push_back(target.AllIndividuals.Items(i));
  const auto shared = SharedListsOf(run, units);
  run.Shared = shared.get();
  TIntegerList used, missing;
  Extended qualitySum = 0;
  int scored = 0, correct = 0;
  for (int i = 0; i < n; ++i) {
    const TIndividual& individual = *target.AllIndividuals.Items(i);
    TGenMars unitRandom(seeds[static_cast<size_t>(i)]);
    run.UnitRandom = &unitRandom;
    run.Unit = i;
    if (params.Criterion == criterion::Baudouin2)
      params.Bayes->Prepare(reference, *match, params.SelfAssignment ? &individual : nullptr);
    if (ReportUnitProgress(i, n)) return false;
    TUnitVerdict verdict;
    if (!EvaluateUnit(run, individual, used, missing, resultTable->Item(i), verdict, 100 * i / n,
                      100 / n))
      return false;
    if (shared) shared->Done(i);
    if (params.SelfAssignment && !IsUndefined(verdict.HomeScore)) {
      qualitySum += verdict.HomeScore;
      ++scored;
      if (verdict.WellClassified) ++correct;
    }
    if (ReportUnitProgress(i, n)) return false;
  }
  if (ReportUnitProgress(n, n)) return false;
  if (params.SelfAssignment && scored > 0) {
    quality.QualityIndex = qualitySum / scored;
    quality.CorrectlyAssigned = correct;
    quality.CorrectlyAssignedPercentage = 100.0L * correct / scored;
  }
  return true;
}

bool AssignGroups(const TPGDSStructure& reference, const TPGDSStructure& target,
                  std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                  std::unique_ptr<TTableResultats>& resultTable) {
  const int n = target.SamplesCount();
  if (!match || !AssignmentAvailable(params)) {
    resultTable = std::make_unique<TTableResultats>(n);
    return false;
  }
  if (FastRunCovers(params))
    return FastAssignGroups(reference, target, *match, params, resultTable);
  resultTable = NewResultTable(n, reference, *match);
  TAssignmentParams groupParams = params;
  groupParams.SelfAssignment = false;
  TAssignmentRun run{reference, target, *match, groupParams};
  if (!EnsurePresimulated(run)) return false;
  const std::vector<TGenMarsSeeds> seeds = UnitSeeds(params, n);
  std::vector<const TBioCalculable*> units;
  for (int i = 0; i < n; ++i)
    units.push_back(target.SampleAt(i));
  const auto shared = SharedListsOf(run, units);
  run.Shared = shared.get();
  TIntegerList used, missing;
  for (int i = 0; i < n; ++i) {
    TGenMars unitRandom(seeds[static_cast<size_t>(i)]);
    run.UnitRandom = &unitRandom;
    run.Unit = i;
    if (ReportUnitProgress(i, n)) return false;
    TUnitVerdict verdict;
    if (!EvaluateUnit(run, *target.SampleAt(i), used, missing, resultTable->Item(i), verdict,
                      100 * i / n, 100 / n))
      return false;
    if (shared) shared->Done(i);
    if (ReportUnitProgress(i, n)) return false;
  }
  return !ReportUnitProgress(n, n);
}
