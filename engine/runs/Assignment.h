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

#include "base/Real.h"
#include "base/RunResult.h"
#include "engine/criteria/Criteria.h"
#include "engine/simulation/Simulation.h"

class TBayesien2Data;
class TBioCalculable;
class TMatchPGDS;
class TPGDSStructure;
class TResultats;
class TTableResultats;

// The arguments of one assignment run, as the run driver gathers them.
struct TAssignmentParams {
  // Assignment threshold of the scores (or alpha with simulation): not used by the engine, the
  // results grid greys out what lies below it.
  Extended Threshold = 0;
  std::vector<std::string> LocusNames; // the selected loci
  TCriterion Criterion = TCriterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L; // criterion 3: frequency of an allele a population lacks
  // Criterion 1: the priors estimated from the reference samples. The run needs them present but
  // estimates its own: over its match, and without each individual in self-assignment.
  TBayesien2Data* Bayes = nullptr;
  // Individuals only: the target is the reference data set itself.
  bool SelfAssignment = false;
  // Monte-Carlo probabilities instead of raw values.
  bool SimulationOn = false;
  TSimulationAlgorithm SimulationAlgorithm = TSimulationAlgorithm::Cornuet1999;
  std::int32_t SimulatedCount = 0;       // individuals simulated on the fly
  std::int32_t ReferenceSampleCount = 0; // number of reference populations
  // The number of threads (0: all cores); never changes what the run finds.
  int Threads = 0;
};

// The arguments every criterion of a run with these parameters is evaluated with.
TCriterionArgs CriterionArgsOf(const TAssignmentParams& params);

// A group is shown by its name, an individual by its label ("population/individual").
std::string CaptionOf(const TBioCalculable& unit);

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
};

// The verdict of one unit: the percentage score of its home population (undefined without a
// home or without usable loci) and whether that population is ranked first.
struct TUnitVerdict {
  Extended HomeScore = Undefined();
  bool WellClassified = false;
};

// Assigns every individual of `target`. The match belongs to the run and is released when it
// returns; `resultTable` is replaced by a new table with one result per individual. Stopped when
// the user stopped it (the units treated before are kept); Unavailable when the criterion cannot
// be computed (unknown codes, criterion 9 with probabilities).
// With Monte-Carlo probabilities the rows hold the probabilities: the home population (left one
// out) and individuals lacking some matched locus are compared with lists simulated on the fly,
// the others with the lists pre-simulated for the run (simulated now when a population carries
// none for these loci and settings). `quality` is filled on completion and zero otherwise.
TRunResult AssignIndividuals(const TPGDSStructure& reference, const TPGDSStructure& target,
                             std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                             std::unique_ptr<TTableResultats>& resultTable,
                             TAssignmentQuality& quality);

// Assigns every sample of `target` as one unit, its pooled allele tallies standing for an
// individual's. Never self-assignment, no quality figures; otherwise as AssignIndividuals (a
// group lacking some matched locus is simulated on the fly with the run's simulated count).
TRunResult AssignGroups(const TPGDSStructure& reference, const TPGDSStructure& target,
                        std::unique_ptr<TMatchPGDS> match, const TAssignmentParams& params,
                        std::unique_ptr<TTableResultats>& resultTable);

// Whether the engine can run this criterion with these options: false for codes outside the
// criteria, for criterion 1 without its priors, for criterion 9 with Monte-Carlo probabilities,
// and for probabilities without a known algorithm or a positive simulated count.
bool AssignmentAvailable(const TAssignmentParams& params);

// Fills a unit's result from its per-population values (the raw criterion values, or their
// probabilities with Monte-Carlo simulation; `home` is the index of the unit's own population in
// self-assignment, else -1; `typed` false when the unit has no usable locus): the rows, the
// percentage scores of the ranked rows, the ranking and the verdict. Likelihoods (criterion 9
// included) get the percentage of the sum; distances the inverse-distance shares in percent
// (populations at distance 0 share the whole 100 %), or with probabilities the probabilities
// themselves, the home score being then the home's percentage of their sum.
void RankLikelihoods(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                     const std::vector<Extended>& values, int home, TResultats& result,
                     TUnitVerdict& verdict);
void RankDistances(const TAssignmentRun& run, const TBioCalculable& unit, bool typed,
                   const std::vector<Extended>& values, int home, TResultats& result,
                   TUnitVerdict& verdict);
