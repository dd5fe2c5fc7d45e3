// Monte-Carlo probabilities: for each reference population, the criterion values of many
// individuals simulated from it. The probability of an observed value is its rank in that list:
// the share of simulated individuals that are less likely (or more distant).
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/Criteria.h"
#include "engine/ExtendedList.h"
#include "engine/GenMars.h"
#include "model/GroupAbstract.h"
#include "base/Real.h"

class TIndividual;
class TIntegerList;
template <class TList> class TSharedLists;
class TMatchPGDS;
class TPGDSStructure;
class TSample;

namespace simulation {
constexpr std::uint8_t Cornuet1999 = 0, Rannala1997 = 1, Paetkau2004 = 2;
}

// What a list of simulated values was made for: the reference loci (positions in the reference
// data set, in match order), the criterion and the simulation. A run reuses a list only when it
// asks for the same.
struct TSimulationKey {
  std::vector<std::int32_t> ReferenceLoci;
  std::uint8_t Criterion = 0;
  Extended DefaultFrequency = 0;
  std::uint8_t Algorithm = 0;
  std::int32_t SimulatedCount = 0;

  bool operator==(const TSimulationKey& other) const = default;
};

TSimulationKey SimulationKeyOf(const TMatchPGDS& match, const TIntegerList& used,
                               const TCriterionArgs& criterion, std::uint8_t algorithm,
                               std::int32_t simulatedCount);

// The pre-simulated list a reference sample carries in its SimulationData slot.
class TPresimulatedList : public TSimulationData {
public:
  TPresimulatedList(int capacity, TSimulationKey key) : List(capacity), Key(std::move(key)) {}

  TExtendedList List;
  TSimulationKey Key;
};

// The pre-simulated list that a reference sample carries for a run (its SimulationData).
const TExtendedList* PresimulatedList(const TSample& sample);
// The same, only when it was made with `key`.
const TExtendedList* PresimulatedList(const TSample& sample, const TSimulationKey& key);

// Fills and attaches one list per reference sample, over all matched loci, each sample with a
// stream of its own drawn in sample order from the simulation generator. Returns false when
// stopped through the progress hook (the sample being simulated then carries no list) or when
// the criterion has no simulated values (criterion 9, unknown codes).
// With `fast` (criteria 0, 2, 3 and the distances, over all matched loci) the lists are the fast
// runs' ones, simulated on `threads` threads (0: every core).
bool Presimulate(const TPGDSStructure& reference, std::uint8_t algorithm,
                 std::int32_t simulatedCount, const TMatchPGDS& match,
                 const TIntegerList& locusPositions, const TCriterionArgs& criterion,
                 bool fast = false, int threads = 1);

// The list pre-simulated for `sample` over all matched loci with these settings. When the sample
// carries none, or one made for other loci or settings (an earlier run), it is simulated and
// attached now (with a stream drawn from the simulation generator). Null with `stopped` set when
// the simulation was stopped or the criterion has no simulated values.
const TExtendedList* PresimulatedListFor(TSample& sample, const TPGDSStructure& reference,
                                         const TMatchPGDS& match, const TCriterionArgs& criterion,
                                         std::uint8_t algorithm, std::int32_t simulatedCount,
                                         bool& stopped);

// Where a unit lacking some matched loci finds the list of a population it is not a member of:
// among the run's lists shared per missing-locus pattern (SharedLists.h), as unit `Unit` and
// population `Population` of that run. Without them the list is the unit's own.
struct TSharedListOf {
  TSharedLists<TExtendedList>* Lists = nullptr;
  int Unit = -1;
  int Population = -1;
};

// The Monte-Carlo probability of `value`, the criterion value of a unit over its used loci
// `used`, under the reference sample `sample`; `population` is the sample itself or, when it is
// the unit's home (`isHome`), its copy without the unit. The home is compared with a list
// simulated now from `population` for these loci, drawn from `random`, the unit's stream; a
// unit lacking some matched locus with the list of its pattern in `shared`, or without one with
// a list simulated now as the home's; every other unit with the sample's pre-simulated list
// (PresimulatedListFor). Undefined for an undefined value. Returns false when stopped.
bool ProbabilityUnder(TSample& sample, const TGroupAbstract& population, bool isHome,
                      const TPGDSStructure& reference, const TMatchPGDS& match,
                      const TIntegerList& used, const TCriterionArgs& criterion,
                      std::uint8_t algorithm, std::int32_t simulatedCount, Extended value,
                      Extended& probability, TGenMars& random = SimulationGenerator(),
                      const TSharedListOf& shared = {});

// Fills `list` with the criterion values of individuals simulated from `population` over the
// loci `used` of `match` (reference loci positions), sorted ascending. Progress is reported when
// progressStart and progressShare are both >= 0. Returns false when stopped, or when the
// criterion has no simulated values (criterion 9, unknown codes); the list is then empty or
// partial. An unknown algorithm code leaves the list empty.
bool SimulateDistribution(TExtendedList& list, const TPGDSStructure& reference,
                          Extended progressStart, Extended progressShare,
                          const TCriterionArgs& criterion, const TIntegerList& used,
                          const TMatchPGDS& match, std::int32_t simulatedCount,
                          std::uint8_t algorithm, const TGroupAbstract& population,
                          TGenMars& random = SimulationGenerator());

// Probability of an observed value against a filled list: CountBelow/Count for likelihoods,
// CountAbove/Count for distances; undefined for an empty list or an undefined value.
Extended SimulatedProbability(const TExtendedList& list, Extended value, std::uint8_t criterion);

// ---- the simulated individuals, shared with migrant detection

// The reference loci (positions in the reference data set) of the matched loci `used`.
std::vector<int> ReferenceLoci(const TMatchPGDS& match, const TIntegerList& used);

// Draws `individual` afresh from `population` (which has individuals) at the reference loci
// `loci` with algorithm 0 (allele frequencies) or 1 (posterior predictive, prior 1/K), and
// computes it. At each locus the number of copies, present and missing, is that of a random
// member of the population. The other loci are left as they were.
void SimulateIndividual(TIndividual& individual, const TGroupAbstract& population,
                        const std::vector<int>& loci, std::uint8_t algorithm,
                        TGenMars& random = SimulationGenerator());

// A computed sample "sim_<population name>" of `size` offspring of random pairs of members of
// `parents` (which has individuals), typed at the reference loci `loci` (algorithm 2). A parent
// untyped at a locus passes a missing copy.
std::unique_ptr<TSample> SimulateOffspring(const TGroupAbstract& parents,
                                           const std::vector<int>& loci, int size,
                                           TGenMars& random = SimulationGenerator());

// A population without one of its individuals, for the criteria, which read only allele tallies:
// the individual's copies are taken out of a copy of the tallies at the loci `loci`, in time
// proportional to the number of loci instead of the size of the population.
class TLeaveOneOut {
public:
  TLeaveOneOut(const TGroupAbstract& population, std::vector<int> loci);
  // The population without `member`; valid until the next call.
  const TGroupAbstract& Without(const TIndividual& member);

private:
  const TGroupAbstract& full_;
  std::vector<int> loci_;
  std::unique_ptr<TSample> tallies_;
};

// Reports one step of a simulation: "Présimulation ..." at progressStart + done × progressShare /
// total when both are >= 0, else with percent -1 (nothing shown, pending events processed).
// Answers whether to stop.
bool SimulationStep(Extended progressStart, Extended progressShare, Extended done, Extended total);
