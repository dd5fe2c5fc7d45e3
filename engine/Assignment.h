// Assignment and exclusion: every treated individual (or group) is evaluated with one criterion
// against every reference population; the values become percentage scores, the populations are
// ranked, and one result per unit fills the result table. In self-assignment (the reference data
// set assigns its own individuals) each individual's own population is evaluated without it
// (leave-one-out), and the run measures how well the reference populations classify themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Criteria.h"
#include "base/Real.h"
#include "model/Sample.h"

class TBayesien2Data;
class TBioCalculable;
class TExtendedList;
class TGenMars;
class TIntegerList;
class TMatchPGDS;
class TPGDSStructure;
class TResultats;
class TSample;
class TTableResultats;
template <class TList> class TSharedLists;

// The arguments of one assignment run, as the run driver gathers them.
struct TAssignmentParams {
  // Assignment threshold of the scores (or alpha with simulation): not used by the engine, the
  // results grid greys out what lies below it.
  Extended Threshold = 0;
  std::vector<std::string> LocusNames; // the selected loci
  std::uint8_t Criterion = criterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L; // criterion 3: frequency of an allele a population lacks
  // Criterion 1: the priors estimated from the reference samples; re-prepared before every
  // individual (without that individual in self-assignment).
  TBayesien2Data* Bayes = nullptr;
  // Individuals only: the target is the reference data set itself.
  bool SelfAssignment = false;
  // Monte-Carlo probabilities instead of raw values.
  bool SimulationOn = false;
  std::uint8_t SimulationAlgorithm = 0;
  std::int32_t SimulatedCount = 0;       // individuals simulated on the fly
  std::int32_t ReferenceSampleCount = 0; // number of reference populations
  // How the run computes (never what it finds): the fast evaluation over compact tallies, or
  // the step-by-step evaluation over the data model; and the number of threads (0: all cores).
  bool FastPath = true;
  int Threads = 0;
};

// The arguments every criterion of a run with these parameters is evaluated with.
TCriterionArgs CriterionArgsOf(const TAssignmentParams& params);

// How well the reference populations classify their own individuals (self-assignment only).
struct TAssignmentQuality {
  // Mean percentage score of the home population over the individuals with a defined home score.
  Extended QualityIndex = 0;
  std::int32_t CorrectlyAssigned = 0; // home population ranked first (ties included)
  Extended CorrectlyAssignedPercentage = 0;
};

// What a run shares with its per-unit steps.
struct TAssignmentRun {
  const TPGDSStructure& Reference;
  const TPGDSStructure& Target;
  const TMatchPGDS& Match;
  const TAssignmentParams& Params;
  // The stream of the unit being treated, for the lists simulated on the fly.
  TGenMars* UnitRandom = nullptr;
  // The lists shared per missing-locus pattern, and the unit being treated among them.
  TSharedLists<TExtendedList>* Shared = nullptr;
  int Unit = -1;
};

// The verdict of one unit: the percentage score of its home population (undefined without a
// home or without usable loci) and whether that population is ranked first.
struct TUnitVerdict {
  Extended HomeScore = Undefined();
  bool WellClassified = false;
};

// The population a unit is evaluated against: the reference sample itself, or, in
// self-assignment when the unit is one of its individuals, the sample without that individual.
struct TEvaluatedPopulation {
  const TGroupAbstract* Population = nullptr;
  std::unique_ptr<TSample> LeaveOneOut;
  bool IsHome = false;
};

TEvaluatedPopulation PopulationFor(const TAssignmentRun& run, const TSample& sample,
                                   const TBioCalculable& unit);

// Assigns every individual of `target`. The match belongs to the run and is released when it
// returns; `resultTable` is replaced by a new table with one result per individual. Returns true
// when the run completed; false when it was stopped through the progress hook (the partial table
// is kept) or the criterion cannot be computed (unknown codes, criterion 9 with probabilities).
// With Monte-Carlo probabilities the rows hold the probabilities: the home population (left one
// out) and individuals lacking some matched locus are compared with lists simulated on the fly,
// the others with the lists pre-simulated for the run (simulated now when a population carries
// none for these loci and settings). `quality` is filled on completion and zero otherwise.
bool AssignIndividuals(const TPGDSStructure& reference, const TPGDSStructure& target,
                       std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                       std::unique_ptr<TTableResultats>& resultTable, TAssignmentQuality& quality);

// Assigns every sample of `target` as one unit, its pooled allele tallies standing for an
// individual's. Never self-assignment, no quality figures; otherwise as AssignIndividuals (a
// group lacking some matched locus is simulated on the fly with the run's simulated count).
bool AssignGroups(const TPGDSStructure& reference, const TPGDSStructure& target,
                  std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                  std::unique_ptr<TTableResultats>& resultTable);

// Whether the engine can run this criterion with these options: false for codes outside the
// criteria, for criterion 1 without its priors, for criterion 9 with Monte-Carlo probabilities,
// and for probabilities without a known algorithm or a positive simulated count.
bool AssignmentAvailable(const TAssignmentParams& params);

// One unit against every reference population, with a likelihood criterion (0 to 3): the rows
// get the likelihoods (or their probabilities), the ranked rows their percentage of the sum.
// Returns false when the criterion cannot be computed.
bool EvaluateLikelihoods(const TAssignmentRun& run, const TBioCalculable& unit,
                         const TIntegerList& used, TResultats& result, TUnitVerdict& verdict);
// The same with a distance (4 to 8, 10): the ranked rows get the inverse-distance shares in
// percent; populations at distance 0 share the whole 100 %. With probabilities the ranked rows
// get the probabilities themselves and the home score is the home's percentage of their sum.
bool EvaluateDistances(const TAssignmentRun& run, const TBioCalculable& unit,
                       const TIntegerList& used, TResultats& result, TUnitVerdict& verdict);
// The same with the stepwise-mutation criterion (9, without probabilities): the rows get the
// conditional probabilities of the unit's genes, the ranked rows their percentage of the sum.
// Every locus of every population reports progress within progressShare percent from
// progressStart. Returns false when stopped through the progress hook.
bool EvaluateCornuet(const TAssignmentRun& run, const TBioCalculable& unit,
                     const TIntegerList& used, TResultats& result, TUnitVerdict& verdict,
                     int progressStart, int progressShare);

// Fills a unit's result from its per-population values (the raw criterion values, or their
// probabilities with Monte-Carlo simulation; `home` is the index of the unit's own population in
// self-assignment, else -1; `typed` false when the unit has no usable locus): the rows, the
// percentage scores of the ranked rows, the ranking and the verdict. Both evaluations above end
// here, and so does the fast evaluation.
void RankLikelihoods(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                     const std::vector<Extended>& values, int home, TResultats& result,
                     TUnitVerdict& verdict);
void RankDistances(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                   const std::vector<Extended>& values, int home, TResultats& result,
                   TUnitVerdict& verdict);
