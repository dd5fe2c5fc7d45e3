// The parameter automaton of the main window: from the state of every option control (goal,
// criterion, probability computation, the four number displays) and of the loaded data sets,
// which controls are usable and what the next run computes. The window copies its controls
// into the inputs, runs Compute, and applies the outputs; the command line feeds the same
// inputs, so both refuse the same combinations and run with the same parameters.
//
// Also here: the value tables of the four track bars, the mixed-ploidy scan of a reference data
// set, and which loci the locus list offers and checks after a load.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Real.h"
#include "engine/criteria/Criteria.h"
#include "engine/runs/Migrants.h"
#include "engine/simulation/Simulation.h"

class TPGDSStructure;

// The state of the option controls and of the data sets, as the window shows it.
struct TAutomateInputs {
  bool RefLoaded = false;
  bool MixedPloidy = false;
  bool SamplesLoaded = false;
  bool SimulationChecked = false;
  // The checked criterion radio button (exactly one in the window; none: no choice yet).
  std::optional<TCriterion> Criterion = TCriterion::RannalaMountain;
  // "Affecter les :" and the goal.
  bool Groups = false;
  bool Individuals = true;
  bool MigrantDetection = false;
  // The checked statistic of migrant detection.
  std::optional<TMigrantStatistic> LikelihoodOption = TMigrantStatistic::HomeOverMax;
  // The checked simulation algorithm.
  std::optional<TSimulationAlgorithm> SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  // Texts of the number displays.
  std::string SimulatedIndividualsText = "1000";
  std::string AssignmentThresholdText = "0.05";
  std::string PvalueText = "0.01";
  std::string DefaultFrequencyText = "0.01";
};

class TInterfaceAutomate {
public:
  TAutomateInputs Inputs;

  // Outputs; the values before the first Compute are those of a freshly shown window.
  TCriterion Criterion = TCriterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  bool MigrantMode = false;
  bool AssignmentMode = true;
  TMigrantStatistic LikelihoodOption = TMigrantStatistic::HomeOverMax;
  bool UseSamples = false;
  bool GroupsEnabled = true;
  bool GroupAssignment = false;
  bool SimulationAllowed = true;
  bool SimulationOn = false;
  TSimulationAlgorithm SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  std::int32_t SimulatedCount = 1000;
  Extended Threshold = 0.05L;
  int ThresholdDigits = 3;
  std::string ThresholdFormat = "%.3f";
  std::string ProbabilityFormat = "%.3f";
  bool StartEnabled = false;
  bool RefStatsEnabled = false;

  // Computes every output from the inputs.
  void Compute();

  // A threshold or a number of simulated individuals that no track bar offers (the command
  // line): the value and the format derived from it.
  void SetThreshold(Extended threshold);
  void SetSimulatedCount(std::int32_t count);
};

// "%.Nf" with N = ceil(-log10(threshold)) + 1 decimals (0.05 and 0.01: 3; 0.005 and 0.001: 4),
// never fewer than 0; 3 decimals for a threshold that is not positive.
int ThresholdDigitsFor(Extended threshold);
std::string ThresholdFormatFor(Extended threshold);
// "%.Nf" with N = ceil(log10(count)) decimals (100: 2, 1000: 3).
std::string ProbabilityFormatFor(std::int32_t count);

// A number display's text read as a number ("." as decimal separator); 0 when it is not one.
Extended DisplayValue(const std::string& text);

// Track bars: ranges and the text each position shows in its number display.
namespace trackbar {
constexpr int ThresholdMin = 0, ThresholdMax = 3, ThresholdDefault = 3;
constexpr int PvalueMin = 0, PvalueMax = 3, PvalueDefault = 2;
constexpr int PaetkauMin = 1, PaetkauMax = 5, PaetkauDefault = 2;
constexpr int SimulatedMin = 2, SimulatedMax = 6, SimulatedDefault = 3;
} // namespace trackbar

// "0.001", "0.005", "0.01", "0.05" for positions 0 to 3 (clamped).
std::string AssignmentThresholdText(int position);
std::string PvalueText(int position);
// 10 to the power minus the position (1 to 5, clamped) in the shortest decimal form: "0.1",
// "0.01", "0.001", "0.0001", "1E-5".
std::string DefaultFrequencyText(int position);
// 10 to the power of the position (2 to 6, clamped): "100" to "1000000".
std::string SimulatedIndividualsText(int position);

// True when some genotype of the data set has another ploidy than the first individual's at the
// first locus (missing copies count in the ploidy). False for a data set without individuals or
// loci.
bool HasMixedPloidy(const TPGDSStructure& reference);

// One item of the locus list.
struct TLocusChoice {
  std::string Name;
  bool Checked = true;
  // False for a locus that some reference sample has not typed at all: it can not be checked.
  bool Available = true;
};

// The locus list after a load: the loci of the reference, in reference order, that the samples
// data set (when one is loaded) has too; every usable one checked.
std::vector<TLocusChoice> LocusListAfterLoad(const TPGDSStructure& reference,
                                             const TPGDSStructure* samples);
// Why the locus list offers no usable locus: the samples share none with the reference, or each
// locus is untyped in some reference population (one line per locus naming them), followed by
// the rule; empty when some locus can be used.
std::string NoUsableLocusExplanation(const TPGDSStructure& reference,
                                     const TPGDSStructure* samples);
// "&Tous": checks every item that is available; "&Aucun": unchecks every item.
void CheckAllLoci(std::vector<TLocusChoice>& list);
void UncheckAllLoci(std::vector<TLocusChoice>& list);
// The names of the checked items, in list order.
std::vector<std::string> CheckedLoci(const std::vector<TLocusChoice>& list);
