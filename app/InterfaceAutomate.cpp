#include "app/InterfaceAutomate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/AppTexts.h"
#include "base/Texts.h"
#include "dataset/PGDSStructure.h"

namespace {
// Decimal logarithms of the thresholds are taken as exact when within this margin of an
// integer, so that 0.01 (not exact in binary) gives 2 and not 2 plus a rounding error.
constexpr Extended kLogMargin = 1e-9L;

const char* const kThresholdTexts[] = {"0.001", "0.005", "0.01", "0.05"};
const char* const kFrequencyTexts[] = {"0.1", "0.01", "0.001", "0.0001", "1E-5"};
const char* const kSimulatedTexts[] = {"100", "1000", "10000", "100000", "1000000"};
} // namespace

void TInterfaceAutomate::Compute() {
  const TAutomateInputs& in = Inputs;

  // 1. The criterion of the checked radio button.
  if (in.Criterion) {
    Criterion = *in.Criterion;
    if (Criterion == TCriterion::Paetkau) DefaultFrequency = DisplayValue(in.DefaultFrequencyText);
  }

  // 2. Statistics of the reference.
  RefStatsEnabled = in.RefLoaded;

  // 3. The goal.
  if (in.MigrantDetection) {
    MigrantMode = true;
    AssignmentMode = false;
    GroupsEnabled = false;
    GroupAssignment = false;
    UseSamples = false; // migrant detection always works on the reference data set
    if (in.LikelihoodOption) LikelihoodOption = *in.LikelihoodOption;
  } else {
    MigrantMode = false;
    AssignmentMode = true;
    GroupsEnabled = true;
    UseSamples = in.SamplesLoaded;
  }

  // 4. Groups.
  GroupAssignment = in.Groups && GroupsEnabled;

  // 5. Probability computation: not for groups of individuals, not for a reference with mixed
  // levels of ploidy, not with the Cornuet criterion.
  SimulationAllowed =
      !((in.Groups && !in.MigrantDetection) || in.MixedPloidy || Criterion == TCriterion::Cornuet);

  // 6. Simulation settings and the threshold. A box that stays checked while disabled does not
  // switch the computation on: the window shows it as unavailable, so the run must not use it.
  if (in.SimulationChecked && SimulationAllowed) {
    SimulationOn = true;
    SimulatedCount = static_cast<std::int32_t>(DisplayValue(in.SimulatedIndividualsText));
    Threshold = DisplayValue(in.PvalueText);
    if (in.SimulationAlgorithm) SimulationAlgorithm = *in.SimulationAlgorithm;
    ProbabilityFormat = ProbabilityFormatFor(SimulatedCount);
  } else {
    SimulationOn = false;
    Threshold = DisplayValue(in.AssignmentThresholdText);
  }

  // 7. Decimals of the scores.
  ThresholdDigits = ThresholdDigitsFor(Threshold);
  ThresholdFormat = ThresholdFormatFor(Threshold);

  // 8. Start: a reference, and a complete choice of what to compute.
  StartEnabled = in.RefLoaded && (((in.Groups || in.Individuals) && in.Criterion) ||
                                  (in.MigrantDetection && in.LikelihoodOption));
}

void TInterfaceAutomate::SetThreshold(Extended threshold) {
  Threshold = threshold;
  ThresholdDigits = ThresholdDigitsFor(threshold);
  ThresholdFormat = ThresholdFormatFor(threshold);
}

void TInterfaceAutomate::SetSimulatedCount(std::int32_t count) {
  SimulatedCount = count;
  ProbabilityFormat = ProbabilityFormatFor(count);
}

int ThresholdDigitsFor(Extended threshold) {
  if (!(threshold > 0) || std::isinf(threshold)) return 3;
  const Extended digits = std::ceil(-std::log10(threshold) - kLogMargin) + 1;
  return digits < 0 ? 0 : static_cast<int>(digits);
}

std::string ThresholdFormatFor(Extended threshold) {
  return "%." + std::to_string(ThresholdDigitsFor(threshold)) + "f";
}

std::string ProbabilityFormatFor(std::int32_t count) {
  // ceil(log10(count)) in integers: the smallest d with 10^d >= count.
  int digits = 0;
  for (long long power = 1; power < count; power *= 10)
    ++digits;
  return "%." + std::to_string(digits) + "f";
}

Extended DisplayValue(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const Extended value = std::strtold(begin, &end);
  return end == begin ? 0.0L : value;
}

std::string AssignmentThresholdText(int position) {
  return kThresholdTexts[std::clamp(position, trackbar::ThresholdMin, trackbar::ThresholdMax)];
}

std::string PvalueText(int position) {
  return kThresholdTexts[std::clamp(position, trackbar::PvalueMin, trackbar::PvalueMax)];
}

std::string DefaultFrequencyText(int position) {
  return kFrequencyTexts[std::clamp(position, trackbar::PaetkauMin, trackbar::PaetkauMax) -
                         trackbar::PaetkauMin];
}

std::string SimulatedIndividualsText(int position) {
  return kSimulatedTexts[std::clamp(position, trackbar::SimulatedMin, trackbar::SimulatedMax) -
                         trackbar::SimulatedMin];
}

bool HasMixedPloidy(const TPGDSStructure& reference) {
  const int loci = reference.LociCount();
  const int individuals = reference.AllIndividuals.Count();
  if (loci == 0 || individuals == 0) return false;
  const TIndividual& first = *reference.AllIndividuals.Items(0);
  if (first.NbTypages() == 0) return false;
  const std::uint8_t ploidy = first.GetPloidy(0);
  for (int i = 0; i < individuals; ++i) {
    const TIndividual& individual = *reference.AllIndividuals.Items(i);
    const int typed = std::min(loci, individual.NbTypages());
    for (int l = 0; l < typed; ++l)
      if (individual.GetPloidy(l) != ploidy) return true;
  }
  return false;
}

namespace {
// A locus that some reference sample has no gene copy of.
bool UntypedSomewhere(const TPGDSStructure& reference, int locus) {
  for (int s = 0; s < reference.SamplesCount(); ++s) {
    const TSample& sample = *reference.SampleAt(s);
    if (locus >= sample.NbLoci() || sample.NbGenes(locus) == 0) return true;
  }
  return false;
}
} // namespace

std::vector<TLocusChoice> LocusListAfterLoad(const TPGDSStructure& reference,
                                             const TPGDSStructure* samples) {
  std::vector<TLocusChoice> list;
  for (int l = 0; l < reference.LociCount(); ++l) {
    const std::string& name = reference.LocusAt(l)->Name;
    if (samples && samples->Loci.IndexOf(name) < 0) continue;
    TLocusChoice item;
    item.Name = name;
    item.Available = !UntypedSomewhere(reference, l);
    item.Checked = item.Available;
    list.push_back(item);
  }
  return list;
}

std::string NoUsableLocusExplanation(const TPGDSStructure& reference,
                                     const TPGDSStructure* samples) {
  const std::vector<TLocusChoice> list = LocusListAfterLoad(reference, samples);
  if (list.empty()) return reference.LociCount() > 0 && samples ? kNoSharedLocus() : "";
  std::string text;
  for (const TLocusChoice& item : list) {
    if (item.Available) return std::string();
    const int l = reference.Loci.IndexOf(item.Name);
    std::string populations;
    for (int s = 0; s < reference.SamplesCount(); ++s) {
      const TSample& sample = *reference.SampleAt(s);
      if (l < sample.NbLoci() && sample.NbGenes(l) > 0) continue;
      if (!populations.empty()) populations += ", ";
      populations += reference.SampleName(s);
    }
    text += Format(kLocusUntypedIn(), item.Name.c_str(), populations.c_str()) + "\n";
  }
  return text + kUsableLociRule();
}

void CheckAllLoci(std::vector<TLocusChoice>& list) {
  for (TLocusChoice& item : list)
    item.Checked = item.Available;
}

void UncheckAllLoci(std::vector<TLocusChoice>& list) {
  for (TLocusChoice& item : list)
    item.Checked = false;
}

std::vector<std::string> CheckedLoci(const std::vector<TLocusChoice>& list) {
  std::vector<std::string> names;
  for (const TLocusChoice& item : list)
    if (item.Checked) names.push_back(item.Name);
  return names;
}
