// First-generation migrant detection: every individual of the reference data set is tested as a
// possible migrant, born in a population other than the one it was sampled in (its home).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Criteria.h"
#include "model/Group.h"
#include "model/GroupAbstract.h"
#include "model/Real.h"

class TBayesien2Data;
class TMatchPGDS;
class TPGDSStructure;
class TTableResultats;

namespace likelihood {
// The statistic: L_home, L_home / L_max, L_home / L_max_not_home.
constexpr std::uint8_t Home = 0, HomeOverMax = 1, HomeOverMaxNotHome = 2;
} // namespace likelihood

struct TMigrantParams {
  std::vector<std::string> LocusNames;
  Extended Threshold = 0.01L; // type I error with simulation
  std::uint8_t Criterion = criterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  TBayesien2Data* Bayes = nullptr;
  bool SimulationOn = false;
  std::uint8_t SimulationAlgorithm = 2;
  std::int32_t SimulatedCount = 1000;
  std::int32_t ReferenceSampleCount = 0;
  // As for assignment: fast evaluation or step by step, and the number of threads (0: all cores).
  bool FastPath = true;
  int Threads = 0;
};

// The simulated populations of one reference population for the ratio statistics with algorithm
// 2: one per batch, each as many offspring of random pairs of its members as it has individuals.
// Only their allele tallies are kept. A reference sample carries it in its SimulationData slot
// while a detection runs; the run empties the slots when it ends.
class TDataPaetkau2 : public TSimulationData {
public:
  TGroup SimulatedSamples{"simulatedSamples", 0, 5};
};

// Option 0 (L_home). The match (the reference with itself) belongs to the run. Returns false
// when stopped, for a criterion that cannot be computed (unknown codes, criterion 1 without its
// priors, criterion 9 with simulation) or a match of another data set; `flagged` counts the
// individuals flagged so far. With simulation the run pre-simulates the lists of every
// reference population for its own loci and criterion.
bool DetectMigrantsHome(const TPGDSStructure& reference, std::unique_ptr<TMatchPGDS> match,
                        const TMigrantParams& params, std::unique_ptr<TTableResultats>& resultTable,
                        std::int32_t& flagged);

// Options 1 and 2 (notHome): the ratio of the home likelihood to the best one (of the home
// distance to the smallest one), with simulation compared with the ratios of individuals
// simulated from the home population. Criterion 9 is refused. Returns false as above.
bool DetectMigrantsRatio(const TPGDSStructure& reference, const TMigrantParams& params,
                         bool notHome, std::unique_ptr<TTableResultats>& resultTable,
                         std::int32_t& flagged);
