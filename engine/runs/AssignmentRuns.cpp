// The assignment runs: every treated unit scored against every reference population with the
// criterion's kernel, its scores turned into Monte-Carlo probabilities when asked, ranked, and
// kept in the result table, with the units shared among threads. Each reference population that
// needs a pre-simulated list, each treated unit (for its home) and each list shared by the units
// lacking the same loci (SharedLists.h) gets a random stream of its own, drawn from the
// simulation generator in a fixed order (populations, then units, then patterns), so that the
// results do not depend on the number of threads.
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Progress.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/ThreadPool.h"
#include "engine/criteria/Cornuet.h"
#include "engine/results/ResultNames.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"
#include "engine/runs/RunContext.h"
#include "model/Individual.h"
#include "model/Sample.h"

namespace {
size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}

struct TAssignment {
  const TAssignmentRun& Run;
  const TRunContext& Context;
  const TSimulationSettings Simulation;
  std::vector<TRunUnit>& Units;
  TTableResultats& Table;
  std::vector<TUnitVerdict>& Verdicts;
  TRunLists Lists;

  // False when stopped inside the unit: its result is left as it was.
  bool Treat(int i) const {
    const TRunUnit& u = Units[At(i)];
    const TPreparedUnit prepared(Context, *u.Unit);
    const TAssignmentParams& p = Run.Params;
    std::vector<Extended> values, probabilities;
    if (p.Criterion == TCriterion::Cornuet) {
      if (!CornuetValues(i, u, prepared, values)) return false;
    } else {
      // Criterion 1 in self-assignment estimates its priors without the individual.
      const TUnitCriterion criterion(
          Context, p.SelfAssignment ? dynamic_cast<const TIndividual*>(u.Unit) : nullptr);
      if (!UnitValues(Context, Lists, Simulation, i, u, prepared, criterion, values, probabilities))
        return false;
      if (Simulation.On) values = probabilities;
    }
    if (Lists.Shared) Lists.Shared->Done(i);
    TResultats& result = Table.Item(i);
    const bool typed = prepared.Used.Count() > 0;
    if (IsDistance(p.Criterion))
      RankDistances(Run, *u.Unit, typed, values, u.Home, result, Verdicts[At(i)]);
    else
      RankLikelihoods(Run, *u.Unit, typed, values, u.Home, result, Verdicts[At(i)]);
    result.UsedLoci.Assign(prepared.Used.Items, Run.Match.LocusCount());
    result.MissingLoci.Assign(prepared.Missing.Items, Run.Match.LocusCount());
    return true;
  }

private:
  // Criterion 9, without simulation: every locus of every population reports its progress
  // within the unit's share of the run.
  bool CornuetValues(int i, const TRunUnit& u, const TPreparedUnit& prepared,
                     std::vector<Extended>& values) const {
    const int populations = Context.PopulationCount();
    values.assign(At(populations), Undefined());
    if (prepared.Used.Count() == 0) return true;
    const int n = static_cast<int>(Units.size());
    const int start = 100 * i / n, share = 100 / n;
    const Extended step = populations > 0 ? static_cast<Extended>(share) / (2 * populations) : 0;
    TCornuetSettings settings;
    settings.Threads = ThreadCount(Run.Params.Threads);
    const std::string caption = CaptionOf(*u.Unit);
    for (int k = 0; k < populations; ++k) {
      const TCornuetProgress progress{start + 2 * k * step, step, caption};
      if (!CornuetScore(Context.Run(), Context.RunPopulation(k), *Run.Reference.SampleAt(k),
                        prepared.Tallies, k == u.Home, prepared.Used.Items, settings, progress,
                        values[At(k)]))
        return false;
    }
    return true;
  }
};

// The shared course of both runs: the lists pre-simulated, the seeds of the units drawn in
// order, then those of the lists shared per missing-locus pattern, then the units treated in
// parallel and followed in order.
TRunResult RunUnits(const TAssignmentRun& run, std::vector<TRunUnit>& units, TTableResultats& table,
                    std::vector<TUnitVerdict>& verdicts, const std::function<void(int)>& followed) {
  const TAssignmentParams& p = run.Params;
  std::vector<const TBioCalculable*> treated;
  for (const TRunUnit& u : units)
    treated.push_back(u.Unit);
  const TCriterionArgs args = CriterionArgsOf(p);
  // The score tables cover the most copies any unit carries at a locus.
  const TRunContext context(run.Reference, run.Match, args, p.SimulationOn,
                            LargestUnit(run.Match, treated));
  TAssignment assignment{run,   context, {p.SimulationOn, p.SimulationAlgorithm, p.SimulatedCount},
                         units, table,   verdicts,
                         {}};
  std::optional<TSharedLists<std::vector<double>>> shared;
  if (p.SimulationOn) {
    const TRunResult lists =
        PresimulatedLists(context, args, assignment.Simulation, p.Threads, false, assignment.Lists);
    if (lists != TRunResult::Completed) return lists;
    DrawUnitSeeds(units);
    // Criterion 1 in self-assignment estimates its priors again without each individual: its
    // lists then depend on the individual, not only on the population and the loci.
    if (!(p.Criterion == TCriterion::Baudouin2 && p.SelfAssignment))
      ShareLists(context, units, shared, assignment.Lists);
  }
  // Criterion 9 keeps process-wide caches and draws its histories from one generator: its units
  // are treated one after the other, each estimate on the run's threads.
  const int threads = p.Criterion == TCriterion::Cornuet ? 1 : p.Threads;
  const int n = static_cast<int>(units.size());
  const TRunResult result = TreatInOrder(
      n, threads, table, [&](int i) { return assignment.Treat(i); }, followed);
  if (result != TRunResult::Completed) return result;
  return CompletedUnless(ReportUnitProgress(n, n));
}

} // namespace

TRunResult Presimulate(const TPGDSStructure& reference, const TMatchPGDS& match,
                       const TCriterionArgs& criterion, TSimulationAlgorithm algorithm,
                       std::int32_t simulatedCount, int threads) {
  if (!HasSimulatedValues(criterion.Criterion)) return TRunResult::Unavailable;
  if (ReportProgress(" ", " ", 0)) return TRunResult::Stopped;
  const TRunContext context(reference, match, criterion, true, 0);
  // Every sample gets a fresh list, as a pre-simulation always does.
  TRunLists lists;
  return PresimulatedLists(context, criterion, {true, algorithm, simulatedCount}, threads, true,
                           lists);
}

TRunResult AssignIndividuals(const TPGDSStructure& reference, const TPGDSStructure& target,
                             std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                             std::unique_ptr<TTableResultats>& resultTable,
                             TAssignmentQuality& quality) {
  quality = TAssignmentQuality{};
  const int n = target.AllIndividuals.Count();
  if (!match || !AssignmentAvailable(params)) {
    resultTable = std::make_unique<TTableResultats>(n);
    return TRunResult::Unavailable;
  }
  resultTable = NewResultTable(n, reference, *match);
  // The first reference sample holding each individual is its home in self-assignment.
  std::unordered_map<const TBioCalculable*, int> homes;
  if (params.SelfAssignment)
    for (int k = 0; k < reference.SamplesCount(); ++k) {
      const TSample& sample = *reference.SampleAt(k);
      for (int j = 0; j < sample.NbIndividuals(); ++j)
        homes.emplace(sample.Individuals.Items(j), k);
    }
  std::vector<TRunUnit> units(At(n));
  for (int i = 0; i < n; ++i) {
    TRunUnit& u = units[At(i)];
    u.Unit = target.AllIndividuals.Items(i);
    const auto home = homes.find(u.Unit);
    if (home != homes.end()) u.Home = home->second;
  }
  std::vector<TUnitVerdict> verdicts(At(n));
  const TAssignmentRun run{reference, target, *match, params};
  Extended qualitySum = 0;
  int scored = 0, correct = 0;
  const TRunResult result = RunUnits(run, units, *resultTable, verdicts, [&](int i) {
    const TUnitVerdict& verdict = verdicts[At(i)];
    if (params.SelfAssignment && !IsUndefined(verdict.HomeScore)) {
      qualitySum += verdict.HomeScore;
      ++scored;
      if (verdict.WellClassified) ++correct;
    }
  });
  if (result != TRunResult::Completed) return result;
  if (params.SelfAssignment && scored > 0) {
    quality.QualityIndex = qualitySum / scored;
    quality.CorrectlyAssigned = correct;
    quality.CorrectlyAssignedPercentage = 100.0L * correct / scored;
  }
  return result;
}

TRunResult AssignGroups(const TPGDSStructure& reference, const TPGDSStructure& target,
                        std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                        std::unique_ptr<TTableResultats>& resultTable) {
  const int n = target.SamplesCount();
  if (!match || !AssignmentAvailable(params)) {
    resultTable = std::make_unique<TTableResultats>(n);
    return TRunResult::Unavailable;
  }
  resultTable = NewResultTable(n, reference, *match);
  TAssignmentParams groupParams = params;
  groupParams.SelfAssignment = false;
  std::vector<TRunUnit> units(At(n));
  for (int i = 0; i < n; ++i)
    units[At(i)].Unit = target.SampleAt(i);
  std::vector<TUnitVerdict> verdicts(At(n));
  const TAssignmentRun run{reference, target, *match, groupParams};
  return RunUnits(run, units, *resultTable, verdicts, [](int) {});
}
