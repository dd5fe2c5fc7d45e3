#include "engine/Migrants.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dataset/PGDSStructure.h"
#include "engine/Bayesien2.h"
#include "engine/ExtendedList.h"
#include "engine/FastMigrants.h"
#include "engine/GenMars.h"
#include "engine/Match.h"
#include "base/Progress.h"
#include "engine/ResultNames.h"
#include "engine/ResultTables.h"
#include "engine/SharedLists.h"
#include "engine/Simulation.h"
#include "model/Individual.h"
#include "model/Sample.h"
#include "base/Texts.h"

namespace {

// Start values of the best likelihood (the smallest positive normal extended value) and of the
// smallest distance (the largest extended value).
constexpr Extended kMinLikelihood = 3.4E-4932L;
constexpr Extended kMaxDistance = 1.1E4932L;

// The reference populations as one individual sees them: its home without it.
class TPopulations {
public:
  TPopulations(const TPGDSStructure& reference, TMigrantHome home)
      : reference_(reference), home_(home) {
    if (home.Sample >= 0)
      withoutIndividual_ = reference.SampleAt(home.Sample)->CopyWithout(home.Position, false);
  }
  int Count() const { return reference_.SamplesCount(); }
  int Home() const { return home_.Sample; }
  TSample& Sample(int k) const { return *reference_.SampleAt(k); }
  const TGroupAbstract& At(int k) const {
    return k == home_.Sample ? *withoutIndividual_ : *reference_.SampleAt(k);
  }

private:
  const TPGDSStructure& reference_;
  TMigrantHome home_;
  std::unique_ptr<TSample> withoutIndividual_;
};

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
void FillRows(TResultats& result, const TPGDSStructure& reference, std::uint8_t c,
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

// Empties the SimulationData slots of the reference samples when the run ends, however it ends.
class TReleaseSimulationData {
public:
  explicit TReleaseSimulationData(const TPGDSStructure& reference) : reference_(reference) {}
  ~TReleaseSimulationData() {
    for (int k = 0; k < reference_.SamplesCount(); ++k)
      reference_.SampleAt(k)->SimulationData.reset();
  }
  TReleaseSimulationData(const TReleaseSimulationData&) = delete;
  TReleaseSimulationData& operator=(const TReleaseSimulationData&) = delete;

private:
  const TPGDSStructure& reference_;
};

// The seeds of the next individual's stream: drawn in table order, with simulation only.
TGenMarsSeeds UnitSeeds(const TMigrantParams& params) {
  return params.SimulationOn ? DrawStreamSeeds(SimulationGenerator()) : TGenMarsSeeds{};
}

// The simulated statistics of options 1 and 2 for one individual, made from its home population.
class TRatioSimulation {
public:
  TRatioSimulation(const TPGDSStructure& reference, const TMatchPGDS& match,
                   const TMigrantParams& params, bool notHome)
      : reference_(reference), match_(match), params_(params), notHome_(notHome),
        args_(MigrantCriterionArgs(params)),
        likelihood_(criterion::IsLikelihood(params.Criterion)) {}

  // Algorithm 2: the simulated populations of every reference population, as many batches as
  // the smallest (non-empty) population needs to reach the simulated count, each population
  // with a stream of its own drawn in population order. False when stopped.
  bool Prepare() {
    if (params_.SimulationAlgorithm != simulation::Paetkau2004) return true;
    const int populations = reference_.SamplesCount();
    batches_ = PaetkauBatches(reference_, params_.SimulatedCount);
    TIntegerList all;
    for (int i = 0; i < match_.LocusCount(); ++i)
      all.Add(i);
    allLoci_ = ReferenceLoci(match_, all);
    release_ = std::make_unique<TReleaseSimulationData>(reference_);
    for (int p = 0; p < populations; ++p) {
      if (ReportProgress(" ", Format("%d/%d", p, populations), 100.0L * p / populations))
        return false;
      TGenMars random(DrawStreamSeeds(SimulationGenerator()));
      TSample& sample = *reference_.SampleAt(p);
      auto data = std::make_unique<TDataPaetkau2>();
      if (sample.NbIndividuals() > 0)
        for (int b = 0; b < batches_; ++b) {
          std::unique_ptr<TSample> simulated =
              SimulateOffspring(sample, allLoci_, sample.NbIndividuals(), random);
          // The other populations are read through their tallies only.
          simulated->Individuals.Clear(true);
          data->SimulatedSamples.Members.Adopt(std::move(simulated));
        }
      sample.SimulationData = std::move(data);
    }
    return true;
  }

  // Fills `list` with the statistics of individuals simulated from the home population of
  // `populations` over the loci `used`, sorted, drawing from `random`. False when stopped.
  bool Simulate(const TPopulations& populations, const TIntegerList& used, TExtendedList& list,
                TGenMars& random) {
    list.Clear();
    const int home = populations.Home();
    if (home < 0) return true;
    const TGroupAbstract& homeWithout = populations.At(home);
    if (homeWithout.NbIndividuals() == 0) return true;
    const std::vector<int> loci = ReferenceLoci(match_, used);
    std::vector<Extended> values(static_cast<size_t>(populations.Count()));
    auto keep = [&](const TBioCalculable& unit, auto populationAt) {
      for (int k = 0; k < populations.Count(); ++k) {
        const TGroupAbstract* population = populationAt(k);
        Extended v = Undefined();
        if (population) EvaluateCriterion(args_, *population, unit, match_, used, v);
        values[static_cast<size_t>(k)] = v;
      }
      int best = -1;
      const Extended r = HomeRatio(values, home, notHome_, likelihood_, best);
      if (std::isfinite(r)) list.Add(r);
    };

    if (params_.SimulationAlgorithm == simulation::Paetkau2004) {
      const int offspring = populations.Sample(home).NbIndividuals();
      for (int b = 0; b < batches_; ++b) {
        const std::unique_ptr<TSample> simulatedHome =
            SimulateOffspring(homeWithout, allLoci_, offspring, random);
        TLeaveOneOut leaveOneOut(*simulatedHome, loci);
        for (int j = 0; j < offspring; ++j) {
          const TIndividual& member = *simulatedHome->Individuals.Items(j);
          const TGroupAbstract& homeWithoutMember = leaveOneOut.Without(member);
          keep(member, [&](int k) -> const TGroupAbstract* {
            if (k == home) return &homeWithoutMember;
            return StoredPopulation(populations.Sample(k), b);
          });
        }
        if (SimulationStep(-1, -1, b + 1, batches_)) return false;
      }
    } else {
      TIndividual simulated("0", homeWithout.NbLoci(), 0);
      for (int i = 0; i < params_.SimulatedCount; ++i) {
        SimulateIndividual(simulated, homeWithout, loci, params_.SimulationAlgorithm, random);
        keep(simulated, [&](int k) -> const TGroupAbstract* {
          const TGroupAbstract& p = populations.At(k);
          return p.NbIndividuals() > 0 ? &p : nullptr;
        });
        if (SimulationStep(-1, -1, i + 1, params_.SimulatedCount)) return false;
      }
    }
    list.Sort();
    return true;
  }

private:
  static const TGroupAbstract* StoredPopulation(const TSample& sample, int batch) {
    const auto* data = dynamic_cast<const TDataPaetkau2*>(sample.SimulationData.get());
    if (!data || batch >= data->SimulatedSamples.Members.Count()) return nullptr;
    return data->SimulatedSamples.Members.Items(batch);
  }

  const TPGDSStructure& reference_;
  const TMatchPGDS& match_;
  const TMigrantParams& params_;
  bool notHome_;
  TCriterionArgs args_;
  bool likelihood_;
  int batches_ = 0;
  std::vector<int> allLoci_;
  std::unique_ptr<TReleaseSimulationData> release_;
};

} // namespace

bool MigrantDetectionAvailable(const TMigrantParams& params, bool ratio) {
  const std::uint8_t c = params.Criterion;
  if (!criterion::IsLikelihood(c) && !criterion::IsDistance(c)) return false;
  if (c == criterion::Baudouin2 && !params.Bayes) return false;
  if (c == criterion::Cornuet && (ratio || params.SimulationOn)) return false;
  if (params.SimulationOn)
    return params.SimulationAlgorithm <= simulation::Paetkau2004 && params.SimulatedCount > 0;
  return true;
}

Extended MigrantScore(std::uint8_t c, Extended value) {
  if (IsUndefined(value)) return Undefined();
  if (criterion::IsDistance(c)) return value;
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
  const std::uint8_t c = params.Criterion;
  const bool likelihood = criterion::IsLikelihood(c);
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
  const std::uint8_t c = params.Criterion;
  FillRows(result, reference, c, values, values);
  bool migrant;
  Extended homeValue = ratio;
  if (params.SimulationOn) {
    homeValue = IsUndefined(ratio) ? Undefined() : probability;
    migrant = !IsUndefined(homeValue) && homeValue < params.Threshold;
  } else {
    // Small ratios of likelihoods, large ratios of distances mark migrants.
    migrant = !IsUndefined(ratio) && (criterion::IsLikelihood(c) ? ratio < 1 : ratio > 1);
  }
  SetHomeRow(result, home, homeValue, MigrantScore(c, ratio));
  return SetVerdict(result, migrant, bestPosition);
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
  if (FastMigrantsCover(params))
    return FastDetectMigrantsHome(reference, *match, params, *resultTable, flagged);
  const std::uint8_t c = params.Criterion;
  const TCriterionArgs args = MigrantCriterionArgs(params);
  if (c == criterion::Baudouin2) params.Bayes->Prepare(reference, *match, nullptr);
  if (params.SimulationOn) {
    TIntegerList all;
    for (int i = 0; i < match->LocusCount(); ++i)
      all.Add(i);
    if (!Presimulate(reference, params.SimulationAlgorithm, params.SimulatedCount, *match, all,
                     args))
      return false;
  }
  const auto homes = MigrantHomes(reference);
  std::vector<TGenMarsSeeds> seeds;
  std::vector<const TBioCalculable*> units;
  for (int i = 0; i < n; ++i) {
    seeds.push_back(UnitSeeds(params));
    units.push_back(reference.AllIndividuals.Items(i));
  }
  // The lists of the individuals lacking some loci are shared per pattern, seeded after their
  // streams; not with criterion 1, whose priors are estimated again without each individual.
  std::unique_ptr<TSharedLists<TExtendedList>> shared;
  if (params.SimulationOn && c != criterion::Baudouin2)
    shared = std::make_unique<TSharedLists<TExtendedList>>(TLocusPatterns(
        MissingPatterns(*match, units), reference.SamplesCount(), SimulationGenerator()));
  TIntegerList used, missing;
  for (int i = 0; i < n; ++i) {
    const TIndividual& individual = *reference.AllIndividuals.Items(i);
    TGenMars unitRandom(seeds[static_cast<size_t>(i)]);
    if (c == criterion::Baudouin2) params.Bayes->Prepare(reference, *match, &individual);
    if (ReportUnitProgress(i, n)) return false;
    TResultats& result = resultTable->Item(i);
    result.Caption = individual.Label;
    UsableLoci(*match, individual, used, missing);
    FillMigrantLoci(*match, used, missing, result);
    // The stepwise-mutation criterion has no value here: no rows, never flagged.
    if (c != criterion::Cornuet) {
      const auto found = homes.find(&individual);
      const TPopulations populations(reference,
                                     found == homes.end() ? TMigrantHome{} : found->second);
      const int home = populations.Home();
      const size_t count = static_cast<size_t>(populations.Count());
      std::vector<Extended> raw(count, Undefined()), shown(count, Undefined());
      for (int k = 0; k < populations.Count(); ++k) {
        Extended& value = raw[static_cast<size_t>(k)];
        if (used.Count() > 0)
          EvaluateCriterion(args, populations.At(k), individual, *match, used, value);
        Extended& probability = shown[static_cast<size_t>(k)];
        probability = value;
        if (params.SimulationOn &&
            !ProbabilityUnder(populations.Sample(k), populations.At(k), k == home, reference,
                              *match, used, args, params.SimulationAlgorithm, params.SimulatedCount,
                              value, probability, unitRandom, {shared.get(), i, k}))
          return false;
      }
      if (JudgeHome(result, reference, home, raw, shown, params)) ++flagged;
    }
    if (shared) shared->Done(i);
    if (ReportUnitProgress(i, n)) return false;
  }
  return !ReportProgress(" ", " ", 100);
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
  if (FastMigrantsCover(params))
    return FastDetectMigrantsRatio(reference, match, params, notHome, *resultTable, flagged);
  const std::uint8_t c = params.Criterion;
  const bool likelihood = criterion::IsLikelihood(c);
  const TCriterionArgs args = MigrantCriterionArgs(params);
  if (c == criterion::Baudouin2) params.Bayes->Prepare(reference, match, nullptr);
  TRatioSimulation simulation(reference, match, params, notHome);
  if (params.SimulationOn && !simulation.Prepare()) return false;
  const auto homes = MigrantHomes(reference);
  TIntegerList used, missing;
  TExtendedList statistics(std::max(params.SimulatedCount, 0));
  for (int i = 0; i < n; ++i) {
    const TIndividual& individual = *reference.AllIndividuals.Items(i);
    TGenMars unitRandom(UnitSeeds(params));
    if (c == criterion::Baudouin2) params.Bayes->Prepare(reference, match, &individual);
    if (ReportUnitProgress(i, n)) return false;
    TResultats& result = resultTable->Item(i);
    result.Caption = individual.Label;
    UsableLoci(match, individual, used, missing);
    FillMigrantLoci(match, used, missing, result);
    const auto found = homes.find(&individual);
    const TPopulations populations(reference,
                                   found == homes.end() ? TMigrantHome{} : found->second);
    const int home = populations.Home();
    std::vector<Extended> values(static_cast<size_t>(populations.Count()), Undefined());
    for (int k = 0; k < populations.Count(); ++k) {
      // A population without any individual (a home of one, left out) has no value.
      if (used.Count() > 0 && populations.At(k).NbIndividuals() > 0)
        EvaluateCriterion(args, populations.At(k), individual, match, used,
                          values[static_cast<size_t>(k)]);
    }
    int best = -1;
    const Extended r = HomeRatio(values, home, notHome, likelihood, best);
    Extended probability = Undefined();
    if (params.SimulationOn && !IsUndefined(r)) {
      if (!simulation.Simulate(populations, used, statistics, unitRandom)) return false;
      probability = SimulatedProbability(statistics, r, c);
    }
    if (JudgeRatio(result, reference, home, values, r, probability, best, params)) ++flagged;
    if (ReportUnitProgress(i, n)) return false;
  }
  return !ReportProgress(" ", " ", 100);
}

TCriterionArgs MigrantCriterionArgs(const TMigrantParams& params) {
  return {params.Criterion, params.DefaultFrequency, params.Bayes};
}
