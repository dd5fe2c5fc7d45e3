// Monte-Carlo probabilities: for each reference population, the criterion values of many
// individuals simulated from it. The probability of an observed value is its rank in that list:
// the share of simulated individuals that are less likely (or more distant).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/Criteria.h"
#include "model/Real.h"

class TExtendedList;
class TGroupAbstract;
class TIntegerList;
class TMatchPGDS;
class TPGDSStructure;
class TSample;

namespace simulation {
constexpr std::uint8_t Cornuet1999 = 0, Rannala1997 = 1, Paetkau2004 = 2;
}

// The pre-simulated list that a reference sample carries for a run (its SimulationData).
const TExtendedList* PresimulatedList(const TSample& sample);

// Fills and attaches one list per reference sample, over all matched loci. Returns false when
// stopped through the progress hook.
bool Presimulate(const TPGDSStructure& reference, std::uint8_t algorithm,
                 std::int32_t simulatedCount, const TMatchPGDS& match,
                 const TIntegerList& locusPositions, const TCriterionArgs& criterion);

// Fills `list` with the criterion values of individuals simulated from `population` over the
// loci `used` of `match` (reference loci positions), sorted ascending. Progress is reported when
// progressStart and progressShare are both >= 0. Returns false when stopped.
bool SimulateDistribution(TExtendedList& list, const TPGDSStructure& reference,
                          Extended progressStart, Extended progressShare,
                          const TCriterionArgs& criterion, const TIntegerList& used,
                          const TMatchPGDS& match, std::int32_t simulatedCount,
                          std::uint8_t algorithm, const TGroupAbstract& population);

// Probability of an observed value against a filled list: CountBelow/Count for likelihoods,
// CountAbove/Count for distances; undefined for an empty list or an undefined value.
Extended SimulatedProbability(const TExtendedList& list, Extended value, std::uint8_t criterion);
