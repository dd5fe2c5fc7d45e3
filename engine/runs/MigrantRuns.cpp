// First-generation migrant detection: every reference individual scored against every reference
// population (its home without it) with the criterion's kernel, with the individuals shared
// among threads. The populations that need simulated values, then the individuals, then the
// lists shared per missing-locus pattern, get random streams of their own drawn in that order,
// so that the results do not depend on the number of threads.
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "base/Progress.h"
#include "base/Texts.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/ThreadPool.h"
#include "engine/results/ResultNames.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Migrants.h"
#include "engine/runs/RunContext.h"
#include "model/Individual.h"
#include "model/Sample.h"

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

TSimulationSettings SimulationOf(const TMigrantParams& p) {
  return {p.SimulationOn, p.SimulationAlgorithm, p.SimulatedCount};
}

// The reference individuals in table order, each with its home sample.
std::vector<TRunUnit> MigrantUnits(const TPGDSStructure& reference) {
  const auto homes = MigrantHomes(reference);
  std::vector<TRunUnit> units(At(reference.AllIndividuals.Count()));
  for (size_t i = 0; i < units.size(); ++i) {
    units[i].Unit = reference.AllIndividuals.Items(static_cast<int>(i));
    const auto home = homes.find(static_cast<const TIndividual*>(units[i].Unit));
    if (home != homes.end()) units[i].Home = home->second.Sample;
  }
  return units;
}

// What both options share: the individuals, and the compact forms of the reference data set
// matched with itself.
struct TDetection {
  TDetection(const TPGDSStructure& reference, const TMatchPGDS& match, const TMigrantParams& p)
      : Params(p), Units(MigrantUnits(reference)),
        Context(reference, match, MigrantCriterionArgs(p), p.SimulationOn, Largest(match)) {}

  const TMigrantParams& Params;
  std::vector<TRunUnit> Units;
  const TRunContext Context;

  const TIndividual& Individual(int i) const {
    return static_cast<const TIndividual&>(*Units[At(i)].Unit);
  }
  // The individuals treated in parallel and followed in order, counting those flagged. False
  // when stopped.
  TRunResult Run(TTableResultats& table, std::int32_t& flagged,
                 const std::function<bool(int)>& treat) {
    const int n = static_cast<int>(Units.size());
    const TRunResult result = TreatInOrder(n, Params.Threads, table, treat, [&](int i) {
      flagged += table.Item(i).IsMigrant ? 1 : 0;
    });
    if (result != TRunResult::Completed) return result;
    return CompletedUnless(ReportProgress(" ", " ", 100));
  }

private:
  int Largest(const TMatchPGDS& match) const {
    std::vector<const TBioCalculable*> treated;
    for (const TRunUnit& u : Units)
      treated.push_back(u.Unit);
    return LargestUnit(match, treated);
  }
};

void StartResult(const TMatchPGDS& match, const TIndividual& individual,
                 const TPreparedUnit& prepared, TResultats& result) {
  result.Caption = individual.Label;
  FillMigrantLoci(match, prepared.Used, prepared.Missing, result);
}

// ---- option 0

bool TreatHome(const TDetection& detection, const TRunLists& lists, int i, TResultats& result) {
  const TRunContext& context = detection.Context;
  const TRunUnit& u = detection.Units[At(i)];
  const TIndividual& individual = detection.Individual(i);
  const TPreparedUnit prepared(context, individual);
  StartResult(context.Match, individual, prepared, result);
  // The stepwise-mutation criterion has no value here: no rows, never flagged.
  if (!context.RunCriterion()) return true;
  const TUnitCriterion criterion(context, &individual);
  std::vector<Extended> raw, shown;
  if (!UnitValues(context, lists, SimulationOf(detection.Params), i, u, prepared, criterion, raw,
                  shown))
    return false;
  if (lists.Shared) lists.Shared->Done(i);
  JudgeHome(result, context.Reference, u.Home, raw, shown, detection.Params);
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

// Finite ratios are kept (a ratio of 0 is a logarithm of -inf).
void KeepRatio(std::vector<double>& keys, double key, bool distance) {
  if (std::isnan(key) || key == INFINITY || (distance && !std::isfinite(key))) return;
  keys.push_back(key);
}

class TRatioDetection {
public:
  TRatioDetection(const TDetection& detection, bool notHome)
      : detection_(detection), context_(detection.Context), params_(detection.Params),
        notHome_(notHome), allLoci_(At(context_.Run().LocusCount()), 1) {
    for (int k = 0; k < context_.PopulationCount(); ++k)
      sizes_.push_back(context_.Reference.SampleAt(k)->NbIndividuals());
  }

  // Algorithm 2: the simulated populations of every reference population, each with a stream of
  // its own drawn in population order, simulated in parallel.
  TRunResult Prepare() {
    if (!params_.SimulationOn || params_.SimulationAlgorithm != TSimulationAlgorithm::Paetkau2004)
      return TRunResult::Completed;
    const int populations = context_.PopulationCount();
    batches_ = PaetkauBatches(context_.Reference, params_.SimulatedCount);
    std::vector<TGenMarsSeeds> seeds;
    for (int p = 0; p < populations; ++p)
      seeds.push_back(DrawStreamSeeds(SimulationGenerator()));
    stored_.assign(At(populations), {});
    return ParallelUnits(
        populations, params_.Threads,
        [&](int p) {
          const int size = Size(p);
          if (size == 0) return;
          TGenMars random(seeds[At(p)]);
          std::vector<TCompactUnit> offspring(At(size));
          std::vector<TCompactPopulation>& batches = stored_[At(p)];
          batches.resize(At(batches_));
          TGenMarsCursor stream(random); // the generator's values computed a block at a time
          for (TCompactPopulation& simulated : batches)
            DrawOffspring(context_.Run(), context_.Source(p).Members, allLoci_, offspring,
                          simulated, stream);
        },
        [populations](int p) {
          return ReportProgress(" ", Format("%d/%d", p, populations), 100.0L * p / populations);
        },
        [](int) { return false; }, [] { return ReportProgress(" ", " ", -1); });
  }

  bool Treat(int i, TResultats& result) const {
    const TRunUnit& u = detection_.Units[At(i)];
    const TIndividual& individual = detection_.Individual(i);
    const TPreparedUnit prepared(context_, individual);
    const TUnitCriterion criterion(context_, &individual);
    const int populations = context_.PopulationCount();
    std::vector<Extended> scores(At(populations), kNaN), values(At(populations), Undefined());
    for (int k = 0; k < populations && prepared.Used.Count() > 0; ++k) {
      // A population without any individual (a home of one, left out) has no value.
      if (Size(k) - (k == u.Home ? 1 : 0) <= 0) continue;
      scores[At(k)] = context_.RunScore(k, *criterion, prepared.Tallies, prepared.Codes,
                                        prepared.Used.Items, k == u.Home);
      values[At(k)] = criterion->Value(scores[At(k)]);
    }
    int best = -1;
    const Extended r = HomeRatio(values, u.Home, notHome_, IsLikelihood(params_.Criterion), best);
    Extended probability = Undefined();
    if (params_.SimulationOn && !IsUndefined(r)) {
      std::vector<double> keys;
      TGenMars random(u.Seeds);
      if (!Simulate(u, individual, prepared, *criterion, keys, random)) return false;
      probability = KeyProbability(keys, RatioKey(scores, u.Home, notHome_, context_.Distance()),
                                   context_.Distance(), false);
    }
    StartResult(context_.Match, individual, prepared, result);
    JudgeRatio(result, context_.Reference, u.Home, values, r, probability, best, params_);
    return true;
  }

private:
  int Size(int k) const { return sizes_[At(k)]; }

  // The keys of the statistics of individuals simulated from the home of `u` without it, over
  // its used loci, in the order drawn (read once, so not sorted). False when stopped.
  bool Simulate(const TRunUnit& u, const TIndividual& individual, const TPreparedUnit& prepared,
                const TCompactCriterion& criterion, std::vector<double>& keys,
                TGenMars& random) const {
    const int home = u.Home;
    const TCompactMatch& m = context_.Run();
    const TCompactMembers members =
        TCompactMembers::Of(m, *context_.Reference.SampleAt(home), &individual);
    if (members.Count() == 0) return true;
    TCompactPopulation without = context_.RunPopulation(home);
    without.Add(m, prepared.Tallies, -1);
    const std::vector<std::int32_t>& used = prepared.Used.Items;
    const int nUsed = static_cast<int>(used.size());
    const bool distance = context_.Distance();
    const int populations = context_.PopulationCount();
    std::vector<Extended> scores(At(populations), kNaN);

    if (params_.SimulationAlgorithm == TSimulationAlgorithm::Paetkau2004) {
      // Whole home populations afresh, the others from their stored simulated populations.
      const int offspring = Size(home);
      std::vector<TCompactUnit> children(At(offspring));
      TCompactPopulation simulatedHome;
      keys.reserve(At(batches_) * At(offspring));
      TGenMarsCursor stream(random); // the generator's values computed a block at a time
      for (int b = 0; b < batches_; ++b) {
        DrawOffspring(m, members, allLoci_, children, simulatedHome, stream);
        for (const TCompactUnit& child : children) {
          for (int k = 0; k < populations; ++k) {
            if (k == home)
              scores[At(k)] = criterion.Score(simulatedHome, child, used.data(), nUsed, true);
            else if (Size(k) > 0)
              scores[At(k)] =
                  criterion.Score(stored_[At(k)][At(b)], child, used.data(), nUsed, false);
          }
          KeepRatio(keys, RatioKey(scores, home, notHome_, distance), distance);
        }
        if (ReportProgress(" ", " ", -1)) return false;
      }
    } else {
      TCompactIndividualDraw draw(m, without, members, used, params_.SimulationAlgorithm);
      TCompactUnit individual;
      TUnitCodes codes;
      std::optional<TScoreTable> homeTable;
      if (context_.Tabulated()) homeTable.emplace(m, criterion, without);
      keys.reserve(At(params_.SimulatedCount));
      // Scored from the tables, simple individuals need only their slots.
      const bool slotsOnly = homeTable && draw.Simple();
      TGenMarsCursor stream(random); // the generator's values computed a block at a time
      for (int i = 0; i < params_.SimulatedCount; ++i) {
        if (slotsOnly) {
          draw.DrawCodes(codes, stream);
        } else {
          draw.Draw(individual, stream);
          if (homeTable) codes.Fill(m, individual);
        }
        for (int k = 0; k < populations; ++k) {
          if (k == home)
            scores[At(k)] = ScoreOf(homeTable ? &*homeTable : nullptr, criterion, without,
                                    individual, codes, used, false);
          else if (Size(k) > 0)
            scores[At(k)] = context_.RunScore(k, criterion, individual, codes, used, false);
        }
        KeepRatio(keys, RatioKey(scores, home, notHome_, distance), distance);
        if ((i + 1) % kIndividualsPerReport == 0 && ReportProgress(" ", " ", -1)) return false;
      }
    }
    return true;
  }

  const TDetection& detection_;
  const TRunContext& context_;
  const TMigrantParams& params_;
  bool notHome_;
  std::vector<char> allLoci_; // algorithm 2 simulates every matched locus
  std::vector<int> sizes_;    // individuals per reference population
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

TRunResult DetectMigrantsHome(const TPGDSStructure& reference, std::unique_ptr<TMatchPGDS> match,
                              const TMigrantParams& params,
                              std::unique_ptr<TTableResultats>& resultTable,
                              std::int32_t& flagged) {
  flagged = 0;
  const int n = reference.AllIndividuals.Count();
  resultTable = std::make_unique<TTableResultats>(n);
  if (!match || match->Reference != &reference || match->Target != &reference ||
      !MigrantDetectionAvailable(params, false))
    return TRunResult::Unavailable;
  resultTable->SetNames(ResultNamesOf(reference, *match));
  TDetection detection(reference, *match, params);
  TRunLists lists;
  std::optional<TSharedLists<std::vector<double>>> shared;
  if (params.SimulationOn) {
    const TCriterionArgs args = MigrantCriterionArgs(params);
    // Every population gets a fresh list for this detection's loci and criterion, simulated
    // from the detection's own compact forms.
    if (ReportProgress(" ", " ", 0)) return TRunResult::Stopped;
    const TRunResult result = PresimulatedLists(detection.Context, args, SimulationOf(params),
                                                params.Threads, true, lists);
    if (result != TRunResult::Completed) return result;
    DrawUnitSeeds(detection.Units);
    // The seeds of the shared lists come after those of the individuals. Criterion 1 estimates
    // its priors again without each individual: its lists depend on the individual, and are not
    // shared.
    if (params.Criterion != TCriterion::Baudouin2)
      ShareLists(detection.Context, detection.Units, shared, lists);
  }
  TTableResultats& table = *resultTable;
  return detection.Run(table, flagged,
                       [&](int i) { return TreatHome(detection, lists, i, table.Item(i)); });
}

TRunResult DetectMigrantsRatio(const TPGDSStructure& reference, const TMigrantParams& params,
                               bool notHome, std::unique_ptr<TTableResultats>& resultTable,
                               std::int32_t& flagged) {
  flagged = 0;
  const int n = reference.AllIndividuals.Count();
  resultTable = std::make_unique<TTableResultats>(n);
  if (!MigrantDetectionAvailable(params, true)) return TRunResult::Unavailable;
  const TMatchPGDS match(reference, reference, params.LocusNames);
  resultTable->SetNames(ResultNamesOf(reference, match));
  const TEmptySlots slots(reference, params.SimulationOn && params.SimulationAlgorithm ==
                                                                TSimulationAlgorithm::Paetkau2004);
  TDetection detection(reference, match, params);
  TRatioDetection ratio(detection, notHome);
  const TRunResult prepared = ratio.Prepare();
  if (prepared != TRunResult::Completed) return prepared;
  if (params.SimulationOn) DrawUnitSeeds(detection.Units);
  TTableResultats& table = *resultTable;
  return detection.Run(table, flagged, [&](int i) { return ratio.Treat(i, table.Item(i)); });
}
