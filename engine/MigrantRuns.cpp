// First-generation migrant detection: every reference individual scored against every reference
// population (its home without it) with the criterion's kernel, with the individuals shared
// among threads. The populations that need simulated values, then the individuals, then the
// lists shared per missing-locus pattern, get random streams of their own drawn in that order,
// so that the results do not depend on the number of threads.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "dataset/PGDSStructure.h"
#include "engine/Bayesien2.h"
#include "engine/CompactSimulation.h"
#include "engine/CompactTallies.h"
#include "engine/GenMars.h"
#include "engine/Match.h"
#include "engine/Migrants.h"
#include "base/Progress.h"
#include "engine/ResultNames.h"
#include "engine/ResultTables.h"
#include "engine/ScoreTables.h"
#include "engine/SharedLists.h"
#include "engine/Simulation.h"
#include "engine/ThreadPool.h"
#include "model/Individual.h"
#include "model/Sample.h"
#include "base/Texts.h"

namespace {
size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The start value of the best likelihood (the smallest positive normal extended value), as a
// logarithm.
const double kLnMinLikelihood = static_cast<double>(std::log(3.4E-4932L));
constexpr Extended kMaxDistance = 1.1E4932L;

// Simulated individuals between two chances for the user to stop.
constexpr int kIndividualsPerReport = 512;

// One reference individual, prepared on the calling thread.
struct TMigrantUnit {
  const TIndividual* Individual = nullptr;
  TCompactUnit Tallies;
  TUnitCodes Codes; // the tallies as slots of the score tables
  TIntegerList Used, Missing;
  int Home = -1;
  TGenMarsSeeds Seeds;
};

// The compact forms of a detection: the match of the reference data set with itself, every
// population's counts and members, and the individuals.
class TMigrantContext {
public:
  TMigrantContext(const TPGDSStructure& reference, const TMatchPGDS& match,
                  const TMigrantParams& params)
      : Reference(reference), Params(params), Match(match),
        Distance(criterion::IsDistance(params.Criterion)) {
    const auto homes = MigrantHomes(reference);
    const int n = reference.AllIndividuals.Count();
    Units.resize(At(n));
    int largest = 0;
    for (int i = 0; i < n; ++i) {
      TMigrantUnit& u = Units[At(i)];
      u.Individual = reference.AllIndividuals.Items(i);
      u.Tallies = TCompactUnit::Of(Match, *u.Individual, true);
      u.Codes = TUnitCodes::Of(Match, u.Tallies);
      UsableLoci(match, *u.Individual, u.Used, u.Missing);
      const auto home = homes.find(u.Individual);
      if (home != homes.end()) u.Home = home->second.Sample;
      for (std::int32_t x : u.Tallies.X)
        largest = std::max(largest, x);
    }
    // Tables cover every count a population, a leave-one-out copy or a simulated population can
    // reach, plus the copies of a unit.
    int maxCount = 0;
    for (int k = 0; k < reference.SamplesCount(); ++k) {
      const TSample& sample = *reference.SampleAt(k);
      Populations.push_back(TCompactPopulation::Of(Match, sample));
      if (Distance) Populations.back().ComputeFrequencies();
      Sizes.push_back(sample.NbIndividuals());
      for (std::int32_t genes : Populations.back().N)
        maxCount = std::max(maxCount, genes);
      maxCount = std::max(maxCount, 2 * sample.NbIndividuals());
      if (params.SimulationOn) Members.push_back(TCompactMembers::Of(Match, sample));
    }
    // Criterion 9 has no value here.
    if (!TCompactCriterion::Covers(params.Criterion)) return;
    if (params.Criterion == criterion::Baudouin2) {
      Priors = std::make_unique<TBayesien2Data>();
      Priors->Prepare(reference, match, nullptr);
    }
    Criterion = std::make_unique<TCompactCriterion>(
        Match, params.Criterion, params.DefaultFrequency, maxCount + largest + 2, Priors.get());
    if (TScoreTable::Covers(params.Criterion))
      for (const TCompactPopulation& p : Populations)
        Tables.emplace_back(Match, *Criterion, p);
    if (TScoreTable::Covers(params.Criterion, true))
      for (const TCompactPopulation& p : Populations)
        HomeTables.emplace_back(Match, *Criterion, p, true);
  }

  int PopulationCount() const { return static_cast<int>(Populations.size()); }
  TCompactSource Source(int k) const {
    return {Match, *Criterion, Populations[At(k)], Members[At(k)]};
  }
  // The score of unit `u` against population k over its used loci (NaN when undefined); the
  // home population without the unit. `criterion` is the run's, or for criterion 1 one with the
  // individual's own priors.
  Extended Score(const TCompactCriterion& criterion, const TMigrantUnit& u, int k) const {
    const std::vector<std::int32_t>& used = u.Used.Items;
    if (used.empty()) return kNaN;
    const std::vector<TScoreTable>& tables = k == u.Home ? HomeTables : Tables;
    return ScoreOf(tables.empty() ? nullptr : &tables[At(k)], criterion, Populations[At(k)],
                   u.Tallies, u.Codes, used, k == u.Home);
  }
  // The score of a simulated individual against the fixed reference population k.
  Extended SimulatedScore(const TCompactCriterion& criterion, int k, const TCompactUnit& unit,
                          const TUnitCodes& codes, const std::vector<std::int32_t>& used) const {
    return ScoreOf(Tables.empty() ? nullptr : &Tables[At(k)], criterion, Populations[At(k)], unit,
                   codes, used, false);
  }
  // The home population's counts and members without the unit.
  TCompactPopulation HomeWithout(const TMigrantUnit& u) const {
    TCompactPopulation without = Populations[At(u.Home)];
    without.Add(Match, u.Tallies, -1);
    return without;
  }
  TCompactMembers HomeMembersWithout(const TMigrantUnit& u) const {
    return TCompactMembers::Of(Match, *Reference.SampleAt(u.Home), u.Individual);
  }

  const TPGDSStructure& Reference;
  const TMigrantParams& Params;
  const TCompactMatch Match;
  const bool Distance;
  std::vector<TMigrantUnit> Units;
  std::vector<TCompactPopulation> Populations;
  std::vector<int> Sizes;
  std::vector<TCompactMembers> Members; // with simulation only
  std::unique_ptr<TBayesien2Data> Priors;  // criterion 1 only
  std::unique_ptr<TCompactCriterion> Criterion; // null for criterion 9
  // Per population, likelihood criteria only; the home tables leave the unit out.
  std::vector<TScoreTable> Tables, HomeTables;
};

// The criterion an individual is scored with: the run's, or for criterion 1 one with priors
// estimated without the individual, which then serve for everything about it, its home's
// simulated individuals included.
class TUnitCriterion {
public:
  TUnitCriterion(const TMigrantContext& context, const TMigrantUnit& u) {
    if (context.Priors) {
      priors_.emplace().Prepare(context.Reference, context.Match.Match, u.Individual);
      own_.emplace(context.Criterion->WithPriors(&*priors_));
    }
    criterion_ = own_ ? &*own_ : context.Criterion.get();
  }
  TUnitCriterion(const TUnitCriterion&) = delete;
  TUnitCriterion& operator=(const TUnitCriterion&) = delete;

  const TCompactCriterion& operator*() const { return *criterion_; }
  const TCompactCriterion* operator->() const { return criterion_; }

private:
  std::optional<TBayesien2Data> priors_;
  std::optional<TCompactCriterion> own_;
  const TCompactCriterion* criterion_ = nullptr;
};

// The shared course of both options: the seeds of the individuals drawn in table order (after
// those of the populations), then with simulation whatever seeded() draws, the individuals
// treated in parallel and followed in order. treat(i) answers false when stopped inside the
// unit; the table's item i tells whether it was flagged.
bool RunUnits(TMigrantContext& context, TTableResultats& table, std::int32_t& flagged,
              const std::function<void()>& seeded, const std::function<bool(int)>& treat) {
  const TMigrantParams& p = context.Params;
  if (p.SimulationOn) {
    for (TMigrantUnit& u : context.Units)
      u.Seeds = DrawStreamSeeds(SimulationGenerator());
    seeded();
  }
  const int n = static_cast<int>(context.Units.size());
  std::vector<char> completed(At(n), 0);
  int kept = 0;
  const bool done = ParallelKeptUnits(
      n, p.Threads, [&](int i) { completed[At(i)] = treat(i); },
      [&](int i) {
        if (!completed[At(i)]) return false; // stopped inside the unit
        if (table.Item(i).IsMigrant) ++flagged;
        return true;
      },
      kept);
  // A stopped run keeps the individuals treated before the stop, as a run on one thread does:
  // what other threads computed ahead is dropped.
  if (!done)
    for (int i = kept; i < n; ++i)
      table.ResetItem(i);
  return done && !ReportProgress(" ", " ", 100);
}

void StartResult(const TMigrantContext& context, const TMigrantUnit& u, TResultats& result) {
  result.Caption = u.Individual->Label;
  FillMigrantLoci(context.Match.Match, u.Used, u.Missing, result);
}

// ---- option 0

bool TreatHome(const TMigrantContext& context, const std::vector<const std::vector<double>*>& lists,
               TSharedLists<std::vector<double>>* shared, int i, TResultats& result) {
  const TMigrantUnit& u = context.Units[At(i)];
  const TMigrantParams& p = context.Params;
  StartResult(context, u, result);
  // The stepwise-mutation criterion has no value here: no rows, never flagged.
  if (!context.Criterion) return true;
  const TUnitCriterion criterion(context, u);
  const int populations = context.PopulationCount();
  const int nUsed = u.Used.Count();
  std::vector<Extended> raw(At(populations), Undefined()), shown(At(populations), Undefined());
  std::vector<double> keys;
  // The lists simulated on the fly (the home's, and without shared lists those of an individual
  // lacking loci) draw one after the other from the individual's stream.
  std::optional<TGenMars> random;
  auto unitRandom = [&]() -> TGenMars& { return random ? *random : random.emplace(u.Seeds); };
  for (int k = 0; k < populations && nUsed > 0; ++k) {
    const Extended score = context.Score(*criterion, u, k);
    raw[At(k)] = shown[At(k)] = criterion->Value(score);
    if (!p.SimulationOn || IsUndefined(raw[At(k)])) continue;
    const bool home = k == u.Home, complete = nUsed == context.Match.LocusCount();
    if (home || (!complete && !shared)) {
      // Simulated now at the individual's loci: its home without it, or the population itself.
      TCompactPopulation without = context.Populations[At(k)];
      if (home) without.Add(context.Match, u.Tallies, -1);
      const TCompactMembers members = TCompactMembers::Of(
          context.Match, *context.Reference.SampleAt(k), home ? u.Individual : nullptr);
      if (!SimulateKeys(keys, {context.Match, *criterion, without, members}, u.Used.Items,
                        p.SimulatedCount, p.SimulationAlgorithm, unitRandom(), false))
        return false;
      // A list read once: counted, not sorted.
      shown[At(k)] = KeyProbability(keys, score, context.Distance, false);
    } else if (!complete) {
      // The population at the individual's loci, shared with those lacking the same loci.
      const auto list = shared->Get(i, k, [&](std::vector<double>& made, TGenMars& stream) {
        return SimulateKeys(made, context.Source(k), u.Used.Items, p.SimulatedCount,
                            p.SimulationAlgorithm, stream);
      });
      if (!list) return false;
      shown[At(k)] = KeyProbability(*list, score, context.Distance);
    } else {
      const std::vector<double>* list = lists[At(k)];
      shown[At(k)] = list ? KeyProbability(*list, score, context.Distance) : Undefined();
    }
  }
  if (shared) shared->Done(i);
  JudgeHome(result, context.Reference, u.Home, raw, shown, p);
  return true;
}

// ---- options 1 and 2

// The key of the statistic from the scores of every population, NaN when undefined: for the
// likelihoods the logarithm of L_home / L_best, for the distances D_home / D_best itself; with
// the same conditions as HomeRatio.
double RatioKey(const std::vector<Extended>& scores, int home, bool notHome, bool distance) {
  if (home < 0 || std::isnan(scores[At(home)])) return kNaN;
  const int populations = static_cast<int>(scores.size());
  bool compared = false;
  if (distance) {
    Extended best = kMaxDistance;
    for (int k = 0; k < populations; ++k) {
      const Extended s = scores[At(k)];
      if ((notHome && k == home) || std::isnan(s)) continue;
      compared = true;
      if (s < best) best = s;
    }
    if (!compared || best == 0) return kNaN;
    return static_cast<double>(scores[At(home)] / best);
  }
  double best = kLnMinLikelihood;
  for (int k = 0; k < populations; ++k) {
    const Extended s = scores[At(k)];
    if ((notHome && k == home) || std::isnan(s)) continue;
    compared = true;
    if (s > best) best = static_cast<double>(s);
  }
  if (!compared) return kNaN;
  return static_cast<double>(scores[At(home)]) - best;
}

// Kept as the step-by-step detection keeps finite ratios (a ratio of 0 is a logarithm of -inf).
void KeepRatio(std::vector<double>& keys, double key, bool distance) {
  if (std::isnan(key) || key == INFINITY || (distance && !std::isfinite(key))) return;
  keys.push_back(key);
}

class TRatioDetection {
public:
  TRatioDetection(const TMigrantContext& context, bool notHome)
      : context_(context), params_(context.Params), notHome_(notHome),
        allLoci_(At(context.Match.LocusCount()), 1) {}

  // Algorithm 2: the simulated populations of every reference population, each with a stream of
  // its own drawn in population order, simulated in parallel. False when stopped.
  bool Prepare() {
    if (!params_.SimulationOn || params_.SimulationAlgorithm != simulation::Paetkau2004)
      return true;
    const int populations = context_.PopulationCount();
    batches_ = PaetkauBatches(context_.Reference, params_.SimulatedCount);
    std::vector<TGenMarsSeeds> seeds;
    for (int p = 0; p < populations; ++p)
      seeds.push_back(DrawStreamSeeds(SimulationGenerator()));
    stored_.assign(At(populations), {});
    return ParallelUnits(
        populations, params_.Threads,
        [&](int p) {
          const int size = context_.Sizes[At(p)];
          if (size == 0) return;
          TGenMars random(seeds[At(p)]);
          std::vector<TCompactUnit> offspring(At(size));
          std::vector<TCompactPopulation>& batches = stored_[At(p)];
          batches.resize(At(batches_));
          TGenMarsCursor stream(random); // the generator's values computed a block at a time
          for (TCompactPopulation& simulated : batches)
            DrawOffspring(context_.Match, context_.Members[At(p)], allLoci_, offspring, simulated,
                          stream);
        },
        [populations](int p) {
          return ReportProgress(" ", Format("%d/%d", p, populations), 100.0L * p / populations);
        },
        [](int) { return false; }, [] { return ReportProgress(" ", " ", -1); });
  }

  bool Treat(int i, TResultats& result) const {
    const TMigrantUnit& u = context_.Units[At(i)];
    const TUnitCriterion criterion(context_, u);
    const int populations = context_.PopulationCount();
    std::vector<Extended> scores(At(populations), kNaN), values(At(populations), Undefined());
    for (int k = 0; k < populations; ++k) {
      // A population without any individual (a home of one, left out) has no value.
      if (context_.Sizes[At(k)] - (k == u.Home ? 1 : 0) <= 0) continue;
      scores[At(k)] = context_.Score(*criterion, u, k);
      values[At(k)] = criterion->Value(scores[At(k)]);
    }
    int best = -1;
    const Extended r =
        HomeRatio(values, u.Home, notHome_, criterion::IsLikelihood(params_.Criterion), best);
    Extended probability = Undefined();
    if (params_.SimulationOn && !IsUndefined(r)) {
      std::vector<double> keys;
      TGenMars random(u.Seeds);
      if (!Simulate(u, *criterion, keys, random)) return false;
      probability = KeyProbability(keys, RatioKey(scores, u.Home, notHome_, context_.Distance),
                                   context_.Distance, false);
    }
    StartResult(context_, u, result);
    JudgeRatio(result, context_.Reference, u.Home, values, r, probability, best, params_);
    return true;
  }

private:
  // The keys of the statistics of individuals simulated from the home of `u` without it, over
  // its used loci, in the order drawn (read once, so not sorted). False when stopped.
  bool Simulate(const TMigrantUnit& u, const TCompactCriterion& criterion, std::vector<double>& keys,
                TGenMars& random) const {
    const int home = u.Home;
    const TCompactMembers members = context_.HomeMembersWithout(u);
    if (members.Count() == 0) return true;
    const TCompactPopulation without = context_.HomeWithout(u);
    const std::vector<std::int32_t>& used = u.Used.Items;
    const int nUsed = static_cast<int>(used.size());
    const bool distance = context_.Distance;
    const int populations = context_.PopulationCount();
    std::vector<Extended> scores(At(populations), kNaN);

    if (params_.SimulationAlgorithm == simulation::Paetkau2004) {
      // Whole home populations afresh, the others from their stored simulated populations.
      const int offspring = context_.Sizes[At(home)];
      std::vector<TCompactUnit> children(At(offspring));
      TCompactPopulation simulatedHome;
      keys.reserve(At(batches_) * At(offspring));
      TGenMarsCursor stream(random); // the generator's values computed a block at a time
      for (int b = 0; b < batches_; ++b) {
        DrawOffspring(context_.Match, members, allLoci_, children, simulatedHome, stream);
        for (const TCompactUnit& child : children) {
          for (int k = 0; k < populations; ++k) {
            if (k == home)
              scores[At(k)] = criterion.Score(simulatedHome, child, used.data(), nUsed, true);
            else if (context_.Sizes[At(k)] > 0)
              scores[At(k)] =
                  criterion.Score(stored_[At(k)][At(b)], child, used.data(), nUsed, false);
          }
          KeepRatio(keys, RatioKey(scores, home, notHome_, distance), distance);
        }
        if (ReportProgress(" ", " ", -1)) return false;
      }
    } else {
      TCompactIndividualDraw draw(context_.Match, without, members, used,
                                  params_.SimulationAlgorithm);
      TCompactUnit individual;
      TUnitCodes codes;
      std::optional<TScoreTable> homeTable;
      if (!context_.Tables.empty()) homeTable.emplace(context_.Match, criterion, without);
      keys.reserve(At(params_.SimulatedCount));
      // Scored from the tables, simple individuals need only their slots.
      const bool slotsOnly = homeTable && draw.Simple();
      TGenMarsCursor stream(random); // the generator's values computed a block at a time
      for (int i = 0; i < params_.SimulatedCount; ++i) {
        if (slotsOnly) {
          draw.DrawCodes(codes, stream);
        } else {
          draw.Draw(individual, stream);
          if (homeTable) codes.Fill(context_.Match, individual);
        }
        for (int k = 0; k < populations; ++k) {
          if (k == home)
            scores[At(k)] = ScoreOf(homeTable ? &*homeTable : nullptr, criterion, without,
                                    individual, codes, used, false);
          else if (context_.Sizes[At(k)] > 0)
            scores[At(k)] = context_.SimulatedScore(criterion, k, individual, codes, used);
        }
        KeepRatio(keys, RatioKey(scores, home, notHome_, distance), distance);
        if ((i + 1) % kIndividualsPerReport == 0 && ReportProgress(" ", " ", -1)) return false;
      }
    }
    return true;
  }

  const TMigrantContext& context_;
  const TMigrantParams& params_;
  bool notHome_;
  std::vector<char> allLoci_; // algorithm 2 simulates every matched locus
  int batches_ = 0;
  // Algorithm 2: per reference population, the tallies of its simulated populations.
  std::vector<std::vector<TCompactPopulation>> stored_;
};

// Empties the SimulationData slots of the reference samples when a detection with algorithm 2
// ends: what they held was made for other settings.
class TEmptySlots {
public:
  TEmptySlots(const TPGDSStructure& reference, bool active)
      : reference_(reference), active_(active) {}
  ~TEmptySlots() {
    if (!active_) return;
    for (int k = 0; k < reference_.SamplesCount(); ++k)
      reference_.SampleAt(k)->SimulationData.reset();
  }
  TEmptySlots(const TEmptySlots&) = delete;
  TEmptySlots& operator=(const TEmptySlots&) = delete;

private:
  const TPGDSStructure& reference_;
  bool active_;
};

} // namespace

TCriterionArgs MigrantCriterionArgs(const TMigrantParams& params) {
  return {params.Criterion, params.DefaultFrequency, params.Bayes};
}

bool DetectMigrantsHome(const TPGDSStructure& reference, std::unique_ptr<TMatchPGDS> match,
                        const TMigrantParams& params, std::unique_ptr<TTableResultats>& resultTable,
                        std::int32_t& flagged) {
  flagged = 0;
  const int n = reference.AllIndividuals.Count();
  resultTable = std::make_unique<TTableResultats>(n);
  if (!match || match->Reference != &reference || match->Target != &reference ||
      !MigrantDetectionAvailable(params, false))
    return false;
  resultTable->SetNames(ResultNamesOf(reference, *match));
  TTableResultats& table = *resultTable;
  TMigrantContext context(reference, *match, params);
  std::vector<const std::vector<double>*> lists;
  std::optional<TSharedLists<std::vector<double>>> shared;
  if (params.SimulationOn) {
    const TCriterionArgs args = MigrantCriterionArgs(params);
    if (!Presimulate(reference, *match, args, params.SimulationAlgorithm, params.SimulatedCount,
                     params.Threads))
      return false;
    TIntegerList all;
    for (int l = 0; l < match->LocusCount(); ++l)
      all.Add(l);
    const TSimulationKey key =
        SimulationKeyOf(*match, all, args, params.SimulationAlgorithm, params.SimulatedCount);
    for (int k = 0; k < reference.SamplesCount(); ++k)
      lists.push_back(PresimulatedList(*reference.SampleAt(k), key));
  }
  // The seeds of the shared lists come after those of the individuals. Criterion 1 estimates its
  // priors again without each individual: its lists depend on the individual, and are not
  // shared.
  return RunUnits(
      context, table, flagged,
      [&] {
        if (params.Criterion == criterion::Baudouin2) return;
        std::vector<const TBioCalculable*> units;
        for (const TMigrantUnit& u : context.Units)
          units.push_back(u.Individual);
        shared.emplace(TLocusPatterns(MissingPatterns(*match, units), context.PopulationCount(),
                                      SimulationGenerator()));
      },
      [&](int i) {
        return TreatHome(context, lists, shared ? &*shared : nullptr, i, table.Item(i));
      });
}

bool DetectMigrantsRatio(const TPGDSStructure& reference, const TMigrantParams& params,
                         bool notHome, std::unique_ptr<TTableResultats>& resultTable,
                         std::int32_t& flagged) {
  flagged = 0;
  const int n = reference.AllIndividuals.Count();
  resultTable = std::make_unique<TTableResultats>(n);
  if (!MigrantDetectionAvailable(params, true)) return false;
  const TMatchPGDS match(reference, reference, params.LocusNames);
  resultTable->SetNames(ResultNamesOf(reference, match));
  const TEmptySlots slots(reference, params.SimulationOn &&
                                         params.SimulationAlgorithm == simulation::Paetkau2004);
  TMigrantContext context(reference, match, params);
  TRatioDetection detection(context, notHome);
  if (!detection.Prepare()) return false;
  TTableResultats& table = *resultTable;
  return RunUnits(
      context, table, flagged, [] {}, [&](int i) { return detection.Treat(i, table.Item(i)); });
}
