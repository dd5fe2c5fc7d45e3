#include "engine/runs/RunContext.h"

#include <algorithm>
#include <string>

#include "base/Progress.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/EngineTexts.h"
#include "engine/common/ThreadPool.h"
#include "engine/results/ResultTables.h"
#include "model/Individual.h"
#include "model/Sample.h"

namespace {
size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}

// Criterion 1: its priors estimated from every reference sample over the loci of `match`.
std::unique_ptr<TBayesien2Data> PriorsOf(const TCriterionArgs& args,
                                         const TPGDSStructure& reference, const TMatchPGDS& match) {
  if (args.Criterion != TCriterion::Baudouin2) return nullptr;
  auto priors = std::make_unique<TBayesien2Data>();
  priors->Prepare(reference, match, nullptr);
  return priors;
}

std::vector<std::int32_t> AllLoci(int n) {
  std::vector<std::int32_t> all(At(n));
  for (int i = 0; i < n; ++i)
    all[At(i)] = i;
  return all;
}
} // namespace

TRunContext::TRunContext(const TPGDSStructure& reference, const TMatchPGDS& match,
                         const TCriterionArgs& args, bool simulation, int largestUnit)
    : Reference(reference), Match(match), distance_(IsDistance(args.Criterion)), run_(match) {
  for (int k = 0; k < reference.SamplesCount(); ++k) {
    runPops_.push_back(TCompactPopulation::Of(run_, *reference.SampleAt(k)));
    if (distance_) runPops_.back().ComputeFrequencies();
  }
  runPriors_ = PriorsOf(args, reference, match);
  if (simulation && !(match.Reference == &reference && match.Target == &reference)) {
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
      const TCompactMembers& m =
          members_.emplace_back(TCompactMembers::Of(Self(), *reference.SampleAt(k)));
      for (int i = 0; i < m.Count(); ++i)
        for (int l = 0; l < Self().LocusCount(); ++l)
          largest = std::max(largest, m.Present(i, l));
    }
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

Extended TRunContext::RunScore(int k, const TCompactCriterion& criterion, const TCompactUnit& unit,
                               const TUnitCodes& codes, const std::vector<std::int32_t>& used,
                               bool home) const {
  const std::vector<TScoreTable>& tables = home ? homeTables_ : runTables_;
  return ScoreOf(tables.empty() ? nullptr : &tables[At(k)], criterion, runPops_[At(k)], unit, codes,
                 used, home);
}

int LargestUnit(const TMatchPGDS& match, const std::vector<const TBioCalculable*>& units) {
  // Bounded by the copies present, read from an individual's genotypes (its tallies are made
  // only when asked) or a group's tallies.
  int largest = 0;
  for (const TBioCalculable* unit : units) {
    const auto* individual = dynamic_cast<const TIndividual*>(unit);
    for (int l = 0; l < match.LocusCount(); ++l) {
      const int locus = match.Locus(l).TargetLocus;
      largest = std::max(largest, individual ? individual->GetTypage(locus).Count()
                                             : static_cast<int>(unit->NbGenes(locus)));
    }
  }
  return largest;
}

TRunResult PresimulatedLists(const TRunContext& context, const TCriterionArgs& args,
                             const TSimulationSettings& simulation, int threads, bool afresh,
                             TRunLists& lists) {
  const TPGDSStructure& reference = context.Reference;
  TIntegerList all;
  for (int l = 0; l < context.Match.LocusCount(); ++l)
    all.Add(l);
  const TSimulationKey key =
      SimulationKeyOf(context.Match, all, args, simulation.Algorithm, simulation.Count);
  const int populations = reference.SamplesCount();
  std::vector<int> missing;
  std::vector<TGenMarsSeeds> seeds;
  for (int k = 0; k < populations; ++k) {
    if (afresh) reference.SampleAt(k)->SimulationData.reset();
    if (!PresimulatedList(*reference.SampleAt(k), key)) {
      missing.push_back(k);
      seeds.push_back(DrawStreamSeeds(SimulationGenerator()));
    }
  }
  const std::vector<std::int32_t> loci = AllLoci(context.Self().LocusCount());
  std::vector<std::unique_ptr<TPresimulatedList>> made(missing.size());
  std::vector<char> completed(missing.size(), 0);
  const TRunResult result =
      missing.empty()
          ? TRunResult::Completed
          : ParallelUnits(
                static_cast<int>(missing.size()), threads,
                [&](int i) {
                  auto list = std::make_unique<TPresimulatedList>();
                  list->Key = key;
                  TGenMars random(seeds[At(i)]);
                  completed[At(i)] = SimulateKeys(list->Keys, context.Source(missing[At(i)]), loci,
                                                  simulation.Count, simulation.Algorithm, random);
                  made[At(i)] = std::move(list);
                },
                [&](int i) {
                  return ReportProgress(kStatusPresimulation(), " ",
                                        100.0L * missing[At(i)] / populations);
                },
                [&](int i) {
                  if (!completed[At(i)]) return true; // stopped inside the simulation
                  reference.SampleAt(missing[At(i)])->SimulationData = std::move(made[At(i)]);
                  return ReportProgress(kStatusPresimulation(), " ",
                                        100.0L * (missing[At(i)] + 1) / populations);
                },
                [] { return ReportProgress(" ", " ", -1); });
  if (result != TRunResult::Completed) return result;
  lists.Presimulated.clear();
  for (int k = 0; k < populations; ++k)
    lists.Presimulated.push_back(PresimulatedList(*reference.SampleAt(k), key));
  return result;
}

void DrawUnitSeeds(std::vector<TRunUnit>& units) {
  for (TRunUnit& u : units)
    u.Seeds = DrawStreamSeeds(SimulationGenerator());
}

void ShareLists(const TRunContext& context, const std::vector<TRunUnit>& units,
                std::optional<TSharedLists<std::vector<double>>>& shared, TRunLists& lists) {
  std::vector<const TBioCalculable*> treated;
  for (const TRunUnit& u : units)
    treated.push_back(u.Unit);
  shared.emplace(TLocusPatterns(MissingPatterns(context.Match, treated), context.PopulationCount(),
                                SimulationGenerator()));
  lists.Shared = &*shared;
}

TPreparedUnit::TPreparedUnit(const TRunContext& context, const TBioCalculable& unit)
    : Tallies(TCompactUnit::Of(context.Run(), unit, true)),
      Codes(TUnitCodes::Of(context.Run(), Tallies)) {
  UsableLoci(context.Match, unit, Used, Missing);
}

TUnitCriterion::TUnitCriterion(const TRunContext& context, const TIndividual* excluded) {
  if (context.RunCriterion() && context.RunCriterion()->Code() == TCriterion::Baudouin2 &&
      excluded) {
    priors_.emplace().Prepare(context.Reference, context.Match, excluded);
    own_.emplace(context.RunCriterion()->WithPriors(&*priors_));
  }
  criterion_ = own_ ? &*own_ : context.RunCriterion();
}

bool UnitValues(const TRunContext& context, const TRunLists& lists,
                const TSimulationSettings& simulation, int i, const TRunUnit& u,
                const TPreparedUnit& prepared, const TUnitCriterion& criterion,
                std::vector<Extended>& values, std::vector<Extended>& shown) {
  const int populations = context.PopulationCount();
  values.assign(At(populations), Undefined());
  shown.assign(At(populations), Undefined());
  const std::vector<std::int32_t>& used = prepared.Used.Items;
  if (used.empty()) return true;
  const bool complete = prepared.Used.Count() == context.Run().LocusCount();
  const auto* individual = dynamic_cast<const TIndividual*>(u.Unit);
  // The lists simulated now draw one after the other from the unit's stream.
  std::optional<TGenMars> random;
  std::vector<double> keys;
  for (int k = 0; k < populations; ++k) {
    const bool home = k == u.Home;
    const Extended score =
        context.RunScore(k, *criterion, prepared.Tallies, prepared.Codes, used, home);
    values[At(k)] = shown[At(k)] = criterion->Value(score);
    if (!simulation.On || IsUndefined(values[At(k)])) continue;
    Extended& probability = shown[At(k)];
    if (home || (!complete && !lists.Shared)) {
      // Its home without it, or the population itself, simulated at the unit's loci.
      TCompactPopulation population = context.SelfPopulation(k);
      if (home) population.Add(context.Self(), prepared.Tallies, -1);
      const TCompactMembers members = TCompactMembers::Of(
          context.Self(), *context.Reference.SampleAt(k), home ? individual : nullptr);
      if (!random) random.emplace(u.Seeds);
      if (!SimulateKeys(keys, {context.Self(), criterion.Self(context), population, members}, used,
                        simulation.Count, simulation.Algorithm, *random, false))
        return false;
      // A list read once: counted, not sorted.
      probability = KeyProbability(keys, score, context.Distance(), false);
    } else if (!complete) {
      // The population at the unit's loci, shared with the units lacking the same loci.
      const auto list = lists.Shared->Get(i, k, [&](std::vector<double>& made, TGenMars& stream) {
        return SimulateKeys(made, context.Source(k), used, simulation.Count, simulation.Algorithm,
                            stream);
      });
      if (!list) return false;
      probability = KeyProbability(*list, score, context.Distance());
    } else {
      const std::vector<double>* list = lists.Presimulated[At(k)];
      probability = list ? KeyProbability(*list, score, context.Distance()) : Undefined();
    }
  }
  return true;
}

TRunResult TreatInOrder(int n, int threads, TTableResultats& table,
                        const std::function<bool(int)>& treat,
                        const std::function<void(int)>& follow) {
  std::vector<char> completed(At(n), 0);
  int kept = 0;
  const TRunResult result = ParallelKeptUnits(
      n, threads, [&](int i) { completed[At(i)] = treat(i); },
      [&](int i) {
        if (!completed[At(i)]) return false; // stopped inside the unit
        follow(i);
        return true;
      },
      kept);
  if (result != TRunResult::Completed)
    for (int i = kept; i < n; ++i)
      table.ResetItem(i);
  return result;
}
