// What the assignment and migrant runs share: the compact forms of a run, the criterion each unit
// is scored with, the values of one unit against every reference population with their
// Monte-Carlo probabilities, and the course of the units over the threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/Real.h"
#include "base/RunResult.h"
#include "engine/common/GenMars.h"
#include "engine/common/Match.h"
#include "engine/criteria/Bayesien2.h"
#include "engine/criteria/CompactTallies.h"
#include "engine/criteria/Criteria.h"
#include "engine/criteria/ScoreTables.h"
#include "engine/simulation/CompactSimulation.h"
#include "engine/simulation/SharedLists.h"
#include "engine/simulation/Simulation.h"

class TBioCalculable;
class TIndividual;
class TPGDSStructure;
class TTableResultats;

// The Monte-Carlo settings of a run.
struct TSimulationSettings {
  bool On = false;
  TSimulationAlgorithm Algorithm = TSimulationAlgorithm::Cornuet1999;
  std::int32_t Count = 0;
};

// The compact forms a run works with. Observed values compare the units with the reference
// populations through the run's match; simulated individuals carry the reference data set's
// alleles and are compared through a match of the reference with itself (the run's match when it
// is one). Criterion 1 gets its priors estimated from every reference sample over each match.
class TRunContext {
public:
  // `largestUnit`: the most copies a treated unit carries at a locus.
  TRunContext(const TPGDSStructure& reference, const TMatchPGDS& match, const TCriterionArgs& args,
              bool simulation, int largestUnit);

  const TPGDSStructure& Reference;
  const TMatchPGDS& Match;

  int PopulationCount() const { return static_cast<int>(runPops_.size()); }
  bool Distance() const { return distance_; }
  const TCompactMatch& Run() const { return run_; }
  // Null for criterion 9, which has a kernel of its own (Cornuet.h).
  const TCompactCriterion* RunCriterion() const { return runCriterion_.get(); }
  const TCompactPopulation& RunPopulation(int k) const { return runPops_[static_cast<size_t>(k)]; }
  // Whether the likelihoods are scored from tables (criteria 0, 2 and 3).
  bool Tabulated() const { return !runTables_.empty(); }
  // The score of a unit against reference population k (its home without it), with `criterion`
  // (the run's, or for criterion 1 one with the unit's own priors).
  Extended RunScore(int k, const TCompactCriterion& criterion, const TCompactUnit& unit,
                    const TUnitCodes& codes, const std::vector<std::int32_t>& used,
                    bool home) const;
  const TCompactMatch& Self() const { return ownSelf_ ? *ownSelf_ : run_; }
  const TCompactCriterion& SelfCriterion() const {
    return ownSelfCriterion_ ? *ownSelfCriterion_ : *runCriterion_;
  }
  const TCompactPopulation& SelfPopulation(int k) const {
    return ownSelf_ ? ownSelfPops_[static_cast<size_t>(k)] : runPops_[static_cast<size_t>(k)];
  }
  // Population k as the simulations draw from it (with simulation only).
  TCompactSource Source(int k) const {
    return {Self(), SelfCriterion(), SelfPopulation(k), members_[static_cast<size_t>(k)]};
  }

private:
  bool distance_;
  TCompactMatch run_;
  std::unique_ptr<TMatchPGDS> ownSelfMatch_;
  std::unique_ptr<TCompactMatch> ownSelf_;
  std::unique_ptr<TBayesien2Data> runPriors_, ownSelfPriors_; // criterion 1 only
  std::vector<TCompactPopulation> runPops_, ownSelfPops_;
  std::vector<TCompactMembers> members_; // over Self(), with simulation only
  std::unique_ptr<TCompactCriterion> runCriterion_, ownSelfCriterion_;
  // Per reference population, criteria 0, 2 and 3 only; the home tables leave the unit out.
  std::vector<TScoreTable> runTables_, homeTables_;
};

// At least the most copies any of `units` carries at a locus of `match`.
int LargestUnit(const TMatchPGDS& match, const std::vector<const TBioCalculable*>& units);

// The lists a run's probabilities are read from: the pre-simulated list of every reference
// population (null where there is none), and the lists shared per missing-locus pattern (none
// when criterion 1 estimates its priors again without every individual: its lists then depend
// on the individual).
struct TRunLists {
  std::vector<const std::vector<double>*> Presimulated;
  TSharedLists<std::vector<double>>* Shared = nullptr;
};

// The pre-simulated lists of every reference population for all matched loci, simulated now, in
// sample order for the streams, for the populations that carry none (for every population when
// `afresh`).
TRunResult PresimulatedLists(const TRunContext& context, const TCriterionArgs& args,
                             const TSimulationSettings& simulation, int threads, bool afresh,
                             TRunLists& lists);

// One treated unit: the individual or group, its home population in self-assignment (-1
// otherwise), the seeds of its stream.
struct TRunUnit {
  const TBioCalculable* Unit = nullptr;
  int Home = -1;
  TGenMarsSeeds Seeds;
};

// The seeds of the units' streams, drawn in unit order from the simulation generator.
void DrawUnitSeeds(std::vector<TRunUnit>& units);

// The lists shared by the units lacking the same loci, seeded from the simulation generator.
void ShareLists(const TRunContext& context, const std::vector<TRunUnit>& units,
                std::optional<TSharedLists<std::vector<double>>>& shared, TRunLists& lists);

// What a unit is compared through, made by the thread that treats it and dropped after: a run
// of thousands of units over thousands of loci holds only the units being treated.
struct TPreparedUnit {
  TCompactUnit Tallies;
  TUnitCodes Codes; // the tallies as slots of the score tables
  TIntegerList Used, Missing;

  TPreparedUnit(const TRunContext& context, const TBioCalculable& unit);
};

// The criterion a unit is scored with: the run's, or for criterion 1 with `excluded` set, one
// with priors estimated without that individual, which then serve for everything about it, its
// home's simulated individuals included.
class TUnitCriterion {
public:
  TUnitCriterion(const TRunContext& context, const TIndividual* excluded);
  TUnitCriterion(const TUnitCriterion&) = delete;
  TUnitCriterion& operator=(const TUnitCriterion&) = delete;

  const TCompactCriterion& operator*() const { return *criterion_; }
  const TCompactCriterion* operator->() const { return criterion_; }
  // The criterion its simulated individuals are compared with: its own, or the self match's.
  const TCompactCriterion& Self(const TRunContext& context) const {
    return own_ ? *own_ : context.SelfCriterion();
  }

private:
  std::optional<TBayesien2Data> priors_;
  std::optional<TCompactCriterion> own_;
  const TCompactCriterion* criterion_ = nullptr;
};

// The values of unit i against every reference population (`values`, undefined without a used
// locus), and with simulation their probabilities (`shown`, else the values): the home (its
// population without it) and, without shared lists, a unit lacking loci are compared with lists
// simulated now at its loci from its own stream; a unit lacking loci with its pattern's shared
// list; the others with the pre-simulated lists. False when stopped.
bool UnitValues(const TRunContext& context, const TRunLists& lists,
                const TSimulationSettings& simulation, int i, const TRunUnit& u,
                const TPreparedUnit& prepared, const TUnitCriterion& criterion,
                std::vector<Extended>& values, std::vector<Extended>& shown);

// Treats units 0..n-1 with treat(i) (false: stopped inside the unit) on `threads` threads, and
// follows them in order on the calling thread with follow(i). A stopped run keeps the units
// treated before the stop, as a run on one thread does: what other threads computed ahead is
// dropped from `table`.
TRunResult TreatInOrder(int n, int threads, TTableResultats& table,
                        const std::function<bool(int)>& treat,
                        const std::function<void(int)>& follow);
