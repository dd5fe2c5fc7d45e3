// Monte-Carlo probabilities: for each reference population, the criterion values of many
// individuals simulated from it. The probability of an observed value is its rank in that list:
// the share of simulated individuals that are less likely (or more distant). The simulations
// themselves are in CompactSimulation.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Real.h"
#include "base/RunResult.h"
#include "engine/criteria/Criteria.h"
#include "model/GroupAbstract.h"

class TIntegerList;
class TMatchPGDS;
class TPGDSStructure;
class TSample;

// How the individuals of a reference population are simulated.
enum class TSimulationAlgorithm : std::uint8_t {
  Cornuet1999 = 0,
  Rannala1997 = 1,
  Paetkau2004 = 2
};

// The algorithm of a code (the command line's numbers); none for a code that names no algorithm.
std::optional<TSimulationAlgorithm> SimulationAlgorithmFromCode(int code);
// The code of an algorithm.
constexpr int SimulationAlgorithmCode(TSimulationAlgorithm a) {
  return static_cast<int>(a);
}
// Whether the value names an algorithm (a run refuses one that does not).
bool IsSimulationAlgorithm(TSimulationAlgorithm a);

// Display name of an algorithm, in the current language; "<inconnue>" for a value that names no
// algorithm.
const std::string& NameOfSimulation(TSimulationAlgorithm a);

// Whether the criterion has simulated values: all but the stepwise-mutation criterion.
bool HasSimulatedValues(TCriterion criterion);

// What a list of simulated values was made for: the reference loci (positions in the reference
// data set, in match order), the criterion and the simulation. A run reuses a list only when it
// asks for the same.
struct TSimulationKey {
  std::vector<std::int32_t> ReferenceLoci;
  TCriterion Criterion = TCriterion::BaudouinLebrun;
  Extended DefaultFrequency = 0;
  TSimulationAlgorithm Algorithm = TSimulationAlgorithm::Cornuet1999;
  std::int32_t SimulatedCount = 0;

  bool operator==(const TSimulationKey& other) const = default;
};

TSimulationKey SimulationKeyOf(const TMatchPGDS& match, const TIntegerList& used,
                               const TCriterionArgs& criterion, TSimulationAlgorithm algorithm,
                               std::int32_t simulatedCount);

// The pre-simulated list a reference sample carries in its SimulationData slot: the sorted keys
// of the simulated values (logarithms of the likelihoods, the distances themselves).
class TPresimulatedList : public TSimulationData {
public:
  std::vector<double> Keys;
  TSimulationKey Key;
};

// The pre-simulated list that a reference sample carries, whatever it was made for.
const std::vector<double>* PresimulatedList(const TSample& sample);
// The same, only when it was made with `key`.
const std::vector<double>* PresimulatedList(const TSample& sample, const TSimulationKey& key);

// Pre-simulates afresh the list of every reference sample over all matched loci, each sample
// with a stream of its own drawn in sample order from the simulation generator, on `threads`
// threads (0: every core), reporting "Présimulation ..." per sample. Stopped when the user
// stopped it (the samples not simulated then carry no list); Unavailable when the criterion has
// no simulated values (criterion 9, unknown codes).
TRunResult Presimulate(const TPGDSStructure& reference, const TMatchPGDS& match,
                       const TCriterionArgs& criterion, TSimulationAlgorithm algorithm,
                       std::int32_t simulatedCount, int threads = 1);
