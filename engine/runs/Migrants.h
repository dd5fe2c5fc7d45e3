// First-generation migrant detection: every individual of the reference data set is tested as a
// possible migrant, born in a population other than the one it was sampled in (its home).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Real.h"
#include "base/RunResult.h"
#include "engine/criteria/Criteria.h"
#include "engine/simulation/Simulation.h"

class TBayesien2Data;
class TIndividual;
class TIntegerList;
class TMatchPGDS;
class TPGDSStructure;
class TResultats;
class TTableResultats;

// The statistic of a detection (its "likelihood option"): L_home, L_home / L_max,
// L_home / L_max_not_home.
enum class TMigrantStatistic : std::uint8_t { Home = 0, HomeOverMax = 1, HomeOverMaxNotHome = 2 };

// The statistic of a code (the command line's numbers); none for a code that names no statistic.
std::optional<TMigrantStatistic> MigrantStatisticFromCode(int code);
// The code of a statistic.
constexpr int MigrantStatisticCode(TMigrantStatistic s) {
  return static_cast<int>(s);
}

struct TMigrantParams {
  std::vector<std::string> LocusNames;
  Extended Threshold = 0.01L; // type I error with simulation
  TCriterion Criterion = TCriterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  TBayesien2Data* Bayes = nullptr;
  bool SimulationOn = false;
  TSimulationAlgorithm SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  std::int32_t SimulatedCount = 1000;
  std::int32_t ReferenceSampleCount = 0;
  // As for assignment, the number of threads (0: all cores); never changes what the run finds.
  int Threads = 0;
};

// With simulation, every reference population that needs simulated values, then every reference
// individual in table order, then with option 0 every list shared by the individuals lacking the
// same loci (SharedLists.h), gets a random stream of its own drawn from the simulation generator,
// so that runs on any number of threads draw the same simulated individuals.

// The arguments every criterion evaluation of a detection gets.
TCriterionArgs MigrantCriterionArgs(const TMigrantParams& params);

// Option 0 (L_home). The match (the reference with itself) belongs to the run. Unavailable for a
// criterion that cannot be computed (unknown codes, criterion 1 without its priors, criterion 9
// with simulation) or a match of another data set; Stopped when the user stopped it, the
// individuals treated before kept and counted in `flagged`. With simulation the run
// pre-simulates the lists of every reference population for its own loci and criterion.
TRunResult DetectMigrantsHome(const TPGDSStructure& reference, std::unique_ptr<TMatchPGDS> match,
                              const TMigrantParams& params,
                              std::unique_ptr<TTableResultats>& resultTable, std::int32_t& flagged);

// Options 1 and 2 (notHome): the ratio of the home likelihood to the best one (of the home
// distance to the smallest one), with simulation compared with the ratios of individuals
// simulated from the home population. Criterion 9 is unavailable; otherwise as above.
TRunResult DetectMigrantsRatio(const TPGDSStructure& reference, const TMigrantParams& params,
                               bool notHome, std::unique_ptr<TTableResultats>& resultTable,
                               std::int32_t& flagged);

// ---- the steps of both detections

// Whether the run can compute this criterion with these options (`ratio`: options 1 and 2).
bool MigrantDetectionAvailable(const TMigrantParams& params, bool ratio);

// The score of a row: -log10 of a likelihood (infinite for a likelihood of 0), a distance
// itself; undefined for an undefined value.
Extended MigrantScore(TCriterion criterion, Extended value);

// Where a reference individual was sampled: its home sample and its position there.
struct TMigrantHome {
  int Sample = -1;
  int Position = -1;
};
std::unordered_map<const TIndividual*, TMigrantHome> MigrantHomes(const TPGDSStructure& reference);

// Algorithm 2 with options 1 and 2: how many simulated populations each reference population
// gets, as many as the smallest non-empty population needs to reach the simulated count.
int PaetkauBatches(const TPGDSStructure& reference, std::int32_t simulatedCount);

// The statistic of options 1 and 2 from the values of every population: the home value over the
// best one (of every population, or of the others with `notHome`); undefined without a home
// value, without any defined value to compare with, or with a best value of 0. `bestPosition` is
// the best population (-1 when no value beats the start value).
Extended HomeRatio(const std::vector<Extended>& values, int home, bool notHome, bool likelihood,
                   int& bestPosition);

// The used and missing loci of a result, by name.
void FillMigrantLoci(const TMatchPGDS& match, const TIntegerList& used, const TIntegerList& missing,
                     TResultats& result);

// Option 0: fills the rows of one individual (its `home` sample, -1 when it has none) from the
// raw criterion values `raw` and what the rows show, `shown` (the values, or their probabilities
// with simulation), then the home row and the verdict. Answers whether it is flagged.
bool JudgeHome(TResultats& result, const TPGDSStructure& reference, int home,
               const std::vector<Extended>& raw, const std::vector<Extended>& shown,
               const TMigrantParams& params);

// Options 1 and 2: fills the rows with `values`, the home row with the statistic `ratio` (or its
// probability `probability` with simulation) and the verdict. Answers whether it is flagged.
bool JudgeRatio(TResultats& result, const TPGDSStructure& reference, int home,
                const std::vector<Extended>& values, Extended ratio, Extended probability,
                int bestPosition, const TMigrantParams& params);
