// The assignment runs: every treated unit scored against every reference population with the
// criterion's kernel, its scores turned into Monte-Carlo probabilities when asked, ranked, and
// kept in the result table, with the units shared among threads. Each reference population that
// needs a pre-simulated list, each treated unit (for its home) and each list shared by the units
// lacking the same loci (SharedLists.h) gets a random stream of its own, drawn from the
// simulation generator in a fixed order (populations, then units, then patterns), so that the
// results do not depend on the number of threads.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Progress.h"
#include "dataset/PGDSStructure.h"
#include "engine/Assignment.h"
#include "engine/Bayesien2.h"
#include "engine/CompactSimulation.h"
#include "engine/CompactTallies.h"
#include "engine/Cornuet.h"
#include "engine/EngineTexts.h"
#include "engine/GenMars.h"
#include "engine/Match.h"
#include "engine/ResultNames.h"
#include "engine/ResultTables.h"
#include "engine/ScoreTables.h"
#include "engine/SharedLists.h"
#include "engine/Simulation.h"
#include "engine/ThreadPool.h"
#include "model/Individual.h"
#include "model/Sample.h"

namespace {
size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}

// Criterion 1: its priors estimated from every reference sample over the loci of `match`.
std::unique_ptr<TBayesien2Data> PriorsOf(const TCriterionArgs& args, const TPGDSStructure& reference,
                                         const TMatchPGDS& match) {
  if (args.Criterion != criterion::Baudouin2) return nullptr;
  auto priors = std::make_unique<TBayesien2Data>();
  priors->Prepare(reference, match, nullptr);
  return priors;
}

// The compact forms a run works with. Observed values compare the units with the reference
// populations through the run's match; simulated individuals carry the reference data set's
// alleles and are compared through a match of the reference with itself (the run's match when it
// is one).
class TRunContext {
public:
  TRunContext(const TPGDSStructure& reference, const TMatchPGDS& match, const TCriterionArgs& args,
              bool simulation, int largestUnit)
      : Reference(reference), run_(match) {
    for (int k = 0; k < reference.SamplesCount(); ++k) {
      runPops_.push_back(TCompactPopulation::Of(run_, *reference.SampleAt(k)));
      if (criterion::IsDistance(args.Criterion)) runPops_.back().ComputeFrequencies();
    }
    runPriors_ = PriorsOf(args, reference, match);
    if (simulation && !IsSelf(match, reference)) {
      std::vector<std::string> names;
      for (int i = 0; i < match.LocusCount(); ++i)
        names.push_back(reference.LocusAt(match.Locus(i).RefLocus)->Name);
      ownSelfMatch_ = std::make_unique<TMatchPGDS>(reference, reference, names);
      ownSelf_ = std::make_unique<TCompactMatch>(*ownSelfMatch_);
      ownSelfPriors_ = PriorsOf(args, reference, *ownSelfMatch_);
      for (int k = 0; k < reference.SamplesCount(); ++k)
        ownSelfPops_.push_back(TCompactPopulation::Of(*ownSelf_, *reference.SampleAt(k)));
    }
    int largest = largestUnit;
    if (simulation)
      for (int k = 0; k < reference.SamplesCount(); ++k) {
        Members.push_back(TCompactMembers::Of(Self(), *reference.SampleAt(k)));
        const TCompactMembers& m = Members.back();
        for (int i = 0; i < m.Count(); ++i)
          for (int l = 0; l < Self().LocusCount(); ++l)
            largest = std::max(largest, m.Present(i, l));
      }
    // Criterion 9 has a kernel of its own (Cornuet.h).
    if (!TCompactCriterion::Covers(args.Criterion)) return;
    // Tables cover every count a population, a leave-one-out copy or a simulated population can
    // reach, plus the copies of a unit.
    int maxCount = 0;
    for (int k = 0; k < reference.SamplesCount(); ++k) {
      for (std::int32_t n : runPops_[At(k)].N)
        maxCount = std::max(maxCount, n);
      maxCount = std::max(maxCount, 2 * reference.SampleAt(k)->NbIndividuals());
    }
    maxCount += largest + 2;
    runCriterion_ = std::make_unique<TCompactCriterion>(run_, args.Criterion, args.DefaultFrequency,
                                                        maxCount, runPriors_.get());
    if (ownSelf_)
      ownSelfCriterion_ = std::make_unique<TCompactCriterion>(
          *ownSelf_, args.Criterion, args.DefaultFrequency, maxCount, ownSelfPriors_.get());
    if (TScoreTable::Covers(args.Criterion))
      for (const TCompactPopulation& p : runPops_)
        runTables_.emplace_back(run_, *runCriterion_, p);
    if (TScoreTable::Covers(args.Criterion, true))
      for (const TCompactPopulation& p : runPops_)
        homeTables_.emplace_back(run_, *runCriterion_, p, true);
  }

  static bool IsSelf(const TMatchPGDS& match, const TPGDSStructure& reference) {
    return match.Reference == &reference && match.Target == &reference;
  }

  const TCompactMatch& Run() const { return run_; }
  // Null for criterion 9.
  const TCompactCriterion* RunCriterion() const { return runCriterion_.get(); }
  const TCompactPopulation& RunPopulation(int k) const { return runPops_[At(k)]; }
  // The score of a unit against reference population k, its home without it, with `criterion`
  // (the run's, or for criterion 1 one with the unit's own priors).
  Extended RunScore(int k, const TCompactCriterion& criterion, const TCompactUnit& unit,
                    const TUnitCodes& codes, const std::vector<std::int32_t>& used,
                    bool home) const {
    const std::vector<TScoreTable>& tables = home ? homeTables_ : runTables_;
    return ScoreOf(tables.empty() ? nullptr : &tables[At(k)], criterion, runPops_[At(k)], unit,
                   codes, used, home);
  }
  const TCompactMatch& Self() const { return ownSelf_ ? *ownSelf_ : run_; }
  const TCompactCriterion& SelfCriterion() const {
    return ownSelfCriterion_ ? *ownSelfCriterion_ : *runCriterion_;
  }
  const TCompactPopulation& SelfPopulation(int k) const {
    return ownSelf_ ? ownSelfPops_[At(k)] : runPops_[At(k)];
  }
  TCompactSource Source(int k) const {
    return {Self(), SelfCriterion(), SelfPopulation(k), Members[At(k)]};
  }

  const TPGDSStructure& Reference;
  std::vector<TCompactMembers> Members; // over Self(), with simulation only

private:
  TCompactMatch run_;
  std::unique_ptr<TMatchPGDS> ownSelfMatch_;
  std::unique_ptr<TCompactMatch> ownSelf_;
  std::unique_ptr<TBayesien2Data> runPriors_, ownSelfPriors_; // criterion 1 only
  std::vector<TCompactPopulation> runPops_, ownSelfPops_;
  std::unique_ptr<TCompactCriterion> runCriterion_, ownSelfCriterion_;
  // Per reference population, likelihood criteria only; the home tables leave the unit out.
  std::vector<TScoreTable> runTables_, homeTables_;
};

std::vector<std::int32_t> AllLoci(int n) {
  std::vector<std::int32_t> all(At(n));
  for (int i = 0; i < n; ++i)
    all[At(i)] = i;
  return all;
}

TIntegerList AllPositions(const TMatchPGDS& match) {
  TIntegerList all;
  for (int l = 0; l < match.LocusCount(); ++l)
    all.Add(l);
  return all;
}

// Pre-simulates the samples that lack a list with `key`, in sample order for the streams.
bool PresimulateMissing(const TRunContext& context, const TSimulationKey& key,
                        std::uint8_t algorithm, std::int32_t simulatedCount, int threads) {
  const TPGDSStructure& reference = context.Reference;
  const int populations = reference.SamplesCount();
  std::vector<int> missing;
  std::vector<TGenMarsSeeds> seeds;
  for (int k = 0; k < populations; ++k)
    if (!PresimulatedList(*reference.SampleAt(k), key)) {
      missing.push_back(k);
      seeds.push_back(DrawStreamSeeds(SimulationGenerator()));
    }
  if (missing.empty()) return true;
  const std::vector<std::int32_t> all = AllLoci(context.Self().LocusCount());
  std::vector<std::unique_ptr<TPresimulatedList>> lists(missing.size());
  std::vector<char> completed(missing.size(), 0);
  const int n = static_cast<int>(missing.size());
  auto progress = [&](int i) {
    return ReportProgress(kStatusPresimulation(), " ", 100.0L * missing[At(i)] / populations);
  };
  const bool done = ParallelUnits(
      n, threads,
      [&](int i) {
        auto list = std::make_unique<TPresimulatedList>();
        list->Key = key;
        TGenMars random(seeds[At(i)]);
        completed[At(i)] = SimulateKeys(list->Keys, context.Source(missing[At(i)]), all,
                                        simulatedCount, algorithm, random);
        lists[At(i)] = std::move(list);
      },
      progress,
      [&](int i) {
        if (!completed[At(i)]) return true; // stopped inside the simulation
        reference.SampleAt(missing[At(i)])->SimulationData = std::move(lists[At(i)]);
        return ReportProgress(kStatusPresimulation(), " ",
                              100.0L * (missing[At(i)] + 1) / populations);
      },
      [] { return ReportProgress(" ", " ", -1); });
  return done;
}

// One treated unit, as the calling thread lists it.
struct TRunUnit {
  const TBioCalculable* Unit = nullptr;
  int Home = -1; // its own reference population in self-assignment
  TGenMarsSeeds Seeds;
};

// What a unit is compared through, made by the thread that treats it and dropped after: a run
// of thousands of units over thousands of loci holds only the units being treated.
struct TPreparedUnit {
  TCompactUnit Tallies;
  TUnitCodes Codes; // the tallies as slots of the score tables
  TIntegerList Used, Missing;

  TPreparedUnit(const TAssignmentRun& run, const TCompactMatch& compact, const TBioCalculable& unit)
      : Tallies(TCompactUnit::Of(compact, unit, true)), Codes(TUnitCodes::Of(compact, Tallies)) {
    UsableLoci(run.Match, unit, Used, Missing);
  }
};

struct TAssignment {
  const TAssignmentRun& Run;
  const TRunContext& Context;
  std::vector<TRunUnit>& Units;
  TTableResultats& Table;
  std::vector<TUnitVerdict>& Verdicts;
  std::vector<const std::vector<double>*> Lists;       // pre-simulated, per reference sample
  TSharedLists<std::vector<double>>* Shared = nullptr; // per missing-locus pattern

  // False when stopped inside the unit: its result is left as it was.
  bool Treat(int i) const {
    const TRunUnit& u = Units[At(i)];
    const TPreparedUnit prepared(Run, Context.Run(), *u.Unit);
    const TAssignmentParams& p = Run.Params;
    const int populations = Run.Reference.SamplesCount();
    std::vector<Extended> values(At(populations), Undefined());
    const std::vector<std::int32_t>& used = prepared.Used.Items;
    const bool typed = !used.empty();
    if (typed && p.Criterion == criterion::Cornuet) {
      if (!CornuetValues(i, u, prepared, values)) return false;
    } else if (typed && !LikelihoodValues(i, u, prepared, values)) {
      return false;
    }
    if (Shared) Shared->Done(i);
    TResultats& result = Table.Item(i);
    if (criterion::IsDistance(p.Criterion))
      RankDistances(Run, *u.Unit, typed, values, u.Home, result, Verdicts[At(i)]);
    else
      RankLikelihoods(Run, *u.Unit, typed, values, u.Home, result, Verdicts[At(i)]);
    result.UsedLoci.Assign(prepared.Used.Items, Run.Match.LocusCount());
    result.MissingLoci.Assign(prepared.Missing.Items, Run.Match.LocusCount());
    return true;
  }

private:
  // Every criterion but 9: the values, or their probabilities with simulation.
  bool LikelihoodValues(int i, const TRunUnit& u, const TPreparedUnit& prepared,
                        std::vector<Extended>& values) const {
    const TAssignmentParams& p = Run.Params;
    const std::vector<std::int32_t>& used = prepared.Used.Items;
    const bool distance = criterion::IsDistance(p.Criterion);
    // Criterion 1 in self-assignment estimates its priors without the individual; they then
    // serve for everything about it, its home's simulated individuals included.
    std::optional<TBayesien2Data> ownPriors;
    std::optional<TCompactCriterion> ownCriterion;
    const auto* individual = dynamic_cast<const TIndividual*>(u.Unit);
    if (p.Criterion == criterion::Baudouin2 && p.SelfAssignment && individual) {
      ownPriors.emplace().Prepare(Run.Reference, Run.Match, individual);
      ownCriterion.emplace(Context.RunCriterion()->WithPriors(&*ownPriors));
    }
    const TCompactCriterion& criterion = ownCriterion ? *ownCriterion : *Context.RunCriterion();
    // Its lists simulated on the fly (the home's, and without shared lists those of the units
    // lacking loci) draw one after the other from the unit's stream.
    std::optional<TGenMars> random;
    auto unitRandom = [&]() -> TGenMars& { return random ? *random : random.emplace(u.Seeds); };
    std::vector<double> keys;
    const int nUsed = static_cast<int>(used.size());
    for (int k = 0; k < static_cast<int>(values.size()); ++k) {
      const bool home = k == u.Home;
      const Extended score = Context.RunScore(k, criterion, prepared.Tallies, prepared.Codes, used,
                                              home);
      Extended& value = values[At(k)];
      value = criterion.Value(score);
      if (!p.SimulationOn || IsUndefined(value)) continue;
      const bool complete = nUsed == Context.Run().LocusCount();
      if (home || (!complete && !Shared)) {
        // Simulated now at the unit's loci from its own stream: its home without it, or the
        // population itself.
        TCompactPopulation without = Context.SelfPopulation(k);
        if (home) without.Add(Context.Self(), prepared.Tallies, -1);
        const TCompactMembers members = TCompactMembers::Of(
            Context.Self(), *Run.Reference.SampleAt(k), home ? individual : nullptr);
        const TCompactCriterion& self = ownCriterion ? *ownCriterion : Context.SelfCriterion();
        if (!SimulateKeys(keys, {Context.Self(), self, without, members}, used, p.SimulatedCount,
                          p.SimulationAlgorithm, unitRandom(), false))
          return false;
        // A list read once: counted, not sorted.
        value = KeyProbability(keys, score, distance, false);
      } else if (!complete) {
        // The population at the unit's loci, shared with the units lacking the same loci.
        const auto list = Shared->Get(i, k, [&](std::vector<double>& shared, TGenMars& stream) {
          return SimulateKeys(shared, Context.Source(k), used, p.SimulatedCount,
                              p.SimulationAlgorithm, stream);
        });
        if (!list) return false;
        value = KeyProbability(*list, score, distance);
      } else {
        const std::vector<double>* list = Lists[At(k)];
        value = list ? KeyProbability(*list, score, distance) : Undefined();
      }
    }
    return true;
  }

  // Criterion 9, without simulation: every locus of every population reports its progress
  // within the unit's share of the run.
  bool CornuetValues(int i, const TRunUnit& u, const TPreparedUnit& prepared,
                     std::vector<Extended>& values) const {
    const int n = static_cast<int>(Units.size());
    const int populations = static_cast<int>(values.size());
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

// The shared course of both runs: the units prepared, the lists pre-simulated, the seeds of the
// units drawn in order, then those of the lists shared per missing-locus pattern, then the units
// treated in parallel and followed in order.
bool RunUnits(const TAssignmentRun& run, std::vector<TRunUnit>& units, TTableResultats& table,
              std::vector<TUnitVerdict>& verdicts, const std::function<void(int)>& followed) {
  const TAssignmentParams& p = run.Params;
  // The score tables cover the most copies any unit carries at a locus.
  int largest = 0;
  {
    const TCompactMatch compact(run.Match);
    for (const TRunUnit& u : units)
      for (std::int32_t x : TCompactUnit::Of(compact, *u.Unit, true).X)
        largest = std::max(largest, x);
  }
  const TCriterionArgs args = CriterionArgsOf(p);
  const TRunContext context(run.Reference, run.Match, args, p.SimulationOn, largest);
  TAssignment assignment{run, context, units, table, verdicts, {}};
  std::optional<TSharedLists<std::vector<double>>> shared;
  if (p.SimulationOn) {
    const TSimulationKey key = SimulationKeyOf(run.Match, AllPositions(run.Match), args,
                                               p.SimulationAlgorithm, p.SimulatedCount);
    if (!PresimulateMissing(context, key, p.SimulationAlgorithm, p.SimulatedCount, p.Threads))
      return false;
    for (int k = 0; k < run.Reference.SamplesCount(); ++k)
      assignment.Lists.push_back(PresimulatedList(*run.Reference.SampleAt(k), key));
    for (TRunUnit& u : units)
      u.Seeds = DrawStreamSeeds(SimulationGenerator());
    // Criterion 1 in self-assignment estimates its priors again without each individual: its
    // lists then depend on the individual, not only on the population and the loci.
    if (!(p.Criterion == criterion::Baudouin2 && p.SelfAssignment)) {
      std::vector<const TBioCalculable*> treated;
      for (const TRunUnit& u : units)
        treated.push_back(u.Unit);
      shared.emplace(TLocusPatterns(MissingPatterns(run.Match, treated),
                                    run.Reference.SamplesCount(), SimulationGenerator()));
      assignment.Shared = &*shared;
    }
  }
  const int n = static_cast<int>(units.size());
  std::vector<char> completed(At(n), 0);
  int kept = 0;
  // Criterion 9 keeps process-wide caches and draws its histories from one generator: its units
  // are treated one after the other, each estimate on the run's threads.
  const int threads = p.Criterion == criterion::Cornuet ? 1 : p.Threads;
  const bool done = ParallelKeptUnits(
      n, threads, [&](int i) { completed[At(i)] = assignment.Treat(i); },
      [&](int i) {
        if (!completed[At(i)]) return false; // stopped inside the unit
        followed(i);
        return true;
      },
      kept);
  // A stopped run keeps the units treated before the stop, as a run on one thread does: what
  // other threads computed ahead is dropped.
  if (!done)
    for (int i = kept; i < n; ++i)
      table.ResetItem(i);
  return done && !ReportUnitProgress(n, n);
}

} // namespace

bool Presimulate(const TPGDSStructure& reference, const TMatchPGDS& match,
                 const TCriterionArgs& criterion, std::uint8_t algorithm,
                 std::int32_t simulatedCount, int threads) {
  if (!HasSimulatedValues(criterion.Criterion)) return false;
  if (ReportProgress(" ", " ", 0)) return false;
  const TRunContext context(reference, match, criterion, true, 0);
  const TSimulationKey key =
      SimulationKeyOf(match, AllPositions(match), criterion, algorithm, simulatedCount);
  // Every sample gets a fresh list, as a pre-simulation always does.
  for (int k = 0; k < reference.SamplesCount(); ++k)
    reference.SampleAt(k)->SimulationData.reset();
  return PresimulateMissing(context, key, algorithm, simulatedCount, threads);
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
  const bool done = RunUnits(run, units, *resultTable, verdicts, [&](int i) {
    const TUnitVerdict& verdict = verdicts[At(i)];
    if (params.SelfAssignment && !IsUndefined(verdict.HomeScore)) {
      qualitySum += verdict.HomeScore;
      ++scored;
      if (verdict.WellClassified) ++correct;
    }
  });
  if (!done) return false;
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
