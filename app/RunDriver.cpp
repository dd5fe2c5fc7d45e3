#include "app/RunDriver.h"

#include <algorithm>
#include <ctime>
#include <exception>

#include "app/AppTexts.h"
#include "app/InterfaceAutomate.h"
#include "base/Errors.h"
#include "base/Progress.h"
#include "base/Texts.h"
#include "dataset/DataSetTexts.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/EngineTexts.h"
#include "engine/common/Match.h"
#include "engine/criteria/Bayesien2.h"
#include "engine/criteria/Criteria.h"
#include "engine/runs/Migrants.h"
#include "engine/simulation/Simulation.h"

namespace {

const char* const kIndent = "        ";

// A criterion the engine cannot compute yet: the run is refused before it starts.
class ECriterionNotAvailable : public EBase {
  using EBase::EBase;
};

// Refuses a criterion whose computation the engine does not offer (probabilities aside: their
// availability is the simulation's business). Migrant detection has no value of the
// stepwise-mutation criterion.
void RequireCriterion(const TAssignmentParams& params, bool migrants = false) {
  TAssignmentParams probe = params;
  probe.SimulationOn = false;
  if (!AssignmentAvailable(probe) || (migrants && params.Criterion == TCriterion::Cornuet))
    throw ECriterionNotAvailable(
        Format(kCriterionNotAvailable(), NameOfCriterion(params.Criterion).c_str()));
}

// What the engine answered: a refusal is an error, not a stop.
bool Completed(TRunResult result, TCriterion criterion) {
  if (result == TRunResult::Unavailable)
    throw ECriterionNotAvailable(
        Format(kCriterionNotAvailable(), NameOfCriterion(criterion).c_str()));
  return result == TRunResult::Completed;
}

// The priors of criterion 1, prepared with nobody left out; none for the other criteria.
std::unique_ptr<TBayesien2Data> PreparedBayes(TCriterion criterion, const TPGDSStructure& reference,
                                              const TMatchPGDS& match) {
  if (criterion != TCriterion::Baudouin2) return nullptr;
  auto bayes = std::make_unique<TBayesien2Data>();
  bayes->Prepare(reference, match, nullptr);
  return bayes;
}

// The lines every parameter block shares after the goal: the criterion and its default
// frequency.
void CriterionLines(const TInterfaceAutomate& a, std::vector<std::string>& block) {
  block.push_back(Format(kCriterionLine(), NameOfCriterion(a.Criterion).c_str()));
  if (a.Criterion == TCriterion::Paetkau)
    block.push_back(Format(kDefaultFrequencyLine(), static_cast<double>(a.DefaultFrequency)));
}

int DefaultScores(const TInterfaceAutomate& a, const TPGDSStructure& reference) {
  return a.SimulationOn ? 0 : std::min(5, reference.SamplesCount());
}

} // namespace

std::string JournalLine(const std::string& text) {
  return ShortDateTime() + " - " + text;
}

std::vector<std::string> JournalBlock(const std::vector<std::string>& lines) {
  std::vector<std::string> block;
  block.push_back(ShortDateTime() + " :");
  for (const std::string& line : lines)
    block.push_back(kIndent + line);
  return block;
}

void TRunSink::LogBlock(const std::vector<std::string>& lines) {
  for (const std::string& line : JournalBlock(lines))
    AppendJournal(line);
}

long ProcessorMilliseconds() {
  return static_cast<long>(std::clock() / (CLOCKS_PER_SEC / 1000));
}

void TRunDriver::RequestStop() {
  StopRequested = true;
  sink_.ProcessEvents();
}

TRunOutcome TRunDriver::Start(const TInterfaceAutomate& automaton, const TRunData& data) {
  sink_.ShowJournalTab();
  sink_.SetRunningState(true);
  TRunOutcome outcome =
      automaton.MigrantMode ? RunMigrantDetection(automaton, data) : RunAssignment(automaton, data);
  sink_.AppendJournal("");
  sink_.SetRunningState(false);
  return outcome;
}

void TRunDriver::EngineProgress(int percent, const std::string& text2, const std::string& text3,
                                bool& abort) {
  if (percent >= 0 && percent <= 100) {
    sink_.SetProgress(percent);
    if (!text2.empty()) sink_.SetStatus(2, text2);
    sink_.SetStatus(3, text3);
  }
  abort = false;
  if (StopRequested) {
    // Yes keeps the request, so the driver takes the interrupted path; No forgets it.
    if (sink_.Confirm(kStopQuestion()))
      abort = true;
    else
      StopRequested = false;
  }
  sink_.ProcessEvents();
}

std::vector<std::string> TRunDriver::SelectedLoci(const TRunData& data, const TPGDSStructure& ds,
                                                  std::string& lociText) {
  std::vector<std::string> names;
  lociText.clear();
  for (const std::string& name : data.CheckedLoci) {
    if (ds.Loci.IndexOf(name) < 0) continue;
    names.push_back(name);
    lociText += " " + name;
  }
  return names;
}

void TRunDriver::Interrupted(TRunOutcome& outcome) {
  outcome.Status = TRunStatus::Interrupted;
  sink_.SetRunningState(false);
  StopRequested = false;
  sink_.Warning(kOperationInterrupted());
  sink_.LogLine(kUserInterruption());
}

void TRunDriver::Finish(TRunOutcome& outcome, long startMs) {
  outcome.Duration = static_cast<double>(ProcessorMilliseconds() - startMs) / 1000.0;
  sink_.SetStatus(0, Format(kDurationPanel(), outcome.Duration));
  const std::string done = Format(kComputationTerminated(), outcome.Duration);
  sink_.LogLine(done);
  ResultTable->AddLine(done);
  // Processor time adds up the time of every thread: the wait is the elapsed time.
  outcome.Elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
  const std::string elapsed = Format(kElapsedTime(), outcome.Elapsed);
  // Processor time overstates the wait when several cores work: the wait is shown beside it.
  sink_.SetStatus(1, elapsed);
  sink_.LogLine(elapsed);
  ResultTable->AddLine(elapsed);
}

void TRunDriver::Failed(TRunOutcome& outcome, const std::string& message) {
  outcome.Status = TRunStatus::Failed;
  outcome.Error = message;
  sink_.SetStatus(1, "");
  sink_.SetRunningState(false);
  sink_.LogLine(kExceptionPrefix() + message);
  sink_.Message(message);
}

namespace {

// "Aucun locus sélectionné !", and why when no locus could have been chosen.
std::string NoLocusText(const TPGDSStructure* reference, const TPGDSStructure* samples) {
  const std::string why = reference ? NoUsableLocusExplanation(*reference, samples) : "";
  return why.empty() ? kNoLocusSelected() : kNoLocusSelected() + "\n" + why;
}

} // namespace

TRunOutcome TRunDriver::RunAssignment(const TInterfaceAutomate& a, const TRunData& data) {
  TRunOutcome outcome;
  sink_.SetStatus(0, " ");
  try {
    std::string lociText;
    std::vector<std::string> loci;
    const TPGDSStructure* reference = data.Reference;
    const bool useSamples = a.UseSamples && data.Samples;
    const TPGDSStructure* target = useSamples ? data.Samples : reference;
    if (reference) loci = SelectedLoci(data, *target, lociText);
    if (loci.empty()) {
      sink_.Warning(NoLocusText(reference, useSamples ? target : nullptr));
      return outcome;
    }
    const long startMs = ProcessorMilliseconds();
    wallStart_ = std::chrono::steady_clock::now();

    std::vector<std::string> block;
    block.push_back(a.GroupAssignment ? kAssignmentOfGroups() : kAssignmentOfIndividuals());
    block.push_back(Format(kReferenceFileLine(), reference->FileName.c_str()));
    if (!reference->Title.empty()) block.push_back(Format(kTitleLine(), reference->Title.c_str()));
    if (useSamples) {
      block.push_back(Format(kSamplesFileLine(), target->FileName.c_str()));
      if (!target->Title.empty()) block.push_back(Format(kTitleLine(), target->Title.c_str()));
    }
    block.push_back(Format(kUsedLociLine(), lociText.c_str()));
    CriterionLines(a, block);
    if (a.SimulationOn) {
      block.push_back(
          Format(kSimulationAlgorithmLine(), NameOfSimulation(a.SimulationAlgorithm).c_str()));
      block.push_back(Format(kSimulatedCountLine(), a.SimulatedCount));
    } else {
      block.push_back(Format(kThresholdLine(), static_cast<double>(a.Threshold)));
    }
    block.push_back(kStartingComputation());
    sink_.LogBlock(block);

    auto match = std::make_unique<TMatchPGDS>(*reference, *target, loci);
    std::unique_ptr<TBayesien2Data> bayes = PreparedBayes(a.Criterion, *reference, *match);

    TAssignmentParams params;
    params.Threshold = a.Threshold;
    params.LocusNames = loci;
    params.Criterion = a.Criterion;
    params.DefaultFrequency = a.DefaultFrequency;
    params.Bayes = bayes.get();
    params.SelfAssignment = !useSamples;
    params.SimulationOn = a.SimulationOn;
    params.SimulationAlgorithm = a.SimulationAlgorithm;
    params.SimulatedCount = a.SimulatedCount;
    params.ReferenceSampleCount = reference->SamplesCount();
    params.Threads = Threads;
    RequireCriterion(params);

    sink_.SetStatus(1, kStatusAssignment());
    sink_.SetProgress(0);
    sink_.ProcessEvents();

    TScopedProgressHook hook([this](int percent, const std::string& text2, const std::string& text3,
                                    bool& abort) { EngineProgress(percent, text2, text3, abort); });
    bool completed = true;
    bool engineCalled = false;
    TAssignmentQuality quality;
    if (a.SimulationOn) {
      const TCriterionArgs args{a.Criterion, a.DefaultFrequency, bayes.get()};
      // A stopped pre-simulation ends the run: the user was asked already.
      completed = Completed(
          Presimulate(*reference, *match, args, a.SimulationAlgorithm, a.SimulatedCount, Threads),
          a.Criterion);
    }
    if (completed) {
      engineCalled = true;
      completed =
          Completed(a.GroupAssignment
                        ? AssignGroups(*reference, *target, std::move(match), params, ResultTable)
                        : AssignIndividuals(*reference, *target, std::move(match), params,
                                            ResultTable, quality),
                    a.Criterion);
    }
    sink_.SetStatus(1, "");
    // The table of a run stopped before the engine started is empty.
    if (!engineCalled || !ResultTable) ResultTable = std::make_unique<TTableResultats>();
    ResultTable->Journal.clear();
    ResultTable->AddBlock(block);

    if (!completed || StopRequested) {
      Interrupted(outcome);
    } else {
      outcome.Status = TRunStatus::Completed;
      outcome.ScoresToDisplay = DefaultScores(a, *reference);
      outcome.Quality = quality;
      if (!useSamples && !a.GroupAssignment) {
        outcome.QualityText = Format(kQualityIndex(), static_cast<double>(quality.QualityIndex));
        outcome.CorrectlyAssignedText =
            Format(kCorrectlyAssigned(), static_cast<double>(quality.CorrectlyAssignedPercentage),
                   quality.CorrectlyAssigned);
        for (const std::string* text : {&outcome.QualityText, &outcome.CorrectlyAssignedText}) {
          sink_.LogLine(*text);
          ResultTable->AddLine(*text);
        }
      }
      sink_.SetRunningState(false);
      sink_.ShowResults(outcome);
    }
    Finish(outcome, startMs);
  } catch (const std::exception& e) {
    Failed(outcome, e.what());
  }
  return outcome;
}

TRunOutcome TRunDriver::RunMigrantDetection(const TInterfaceAutomate& a, const TRunData& data) {
  TRunOutcome outcome;
  sink_.SetStatus(0, " ");
  try {
    std::string lociText;
    std::vector<std::string> loci;
    const TPGDSStructure* reference = data.Reference;
    if (reference) loci = SelectedLoci(data, *reference, lociText);
    if (loci.empty()) {
      sink_.Warning(NoLocusText(reference, nullptr));
      return outcome;
    }
    const long startMs = ProcessorMilliseconds();
    wallStart_ = std::chrono::steady_clock::now();

    std::vector<std::string> block;
    block.push_back(Format(kDataFileLine(), reference->FileName.c_str()));
    if (!reference->Title.empty()) block.push_back(Format(kTitleLine(), reference->Title.c_str()));
    block.push_back(Format(kUsedLociLine(), lociText.c_str()));
    block.push_back(kMigrantDetection());
    switch (a.LikelihoodOption) {
    case TMigrantStatistic::Home:
      block.push_back(kLikelihoodHome());
      break;
    case TMigrantStatistic::HomeOverMax:
      block.push_back(kLikelihoodRatioMax());
      break;
    case TMigrantStatistic::HomeOverMaxNotHome:
      block.push_back(kLikelihoodRatioMaxNotHome());
      break;
    }
    CriterionLines(a, block);
    if (a.SimulationOn) {
      block.push_back(Format(kSimulatedCountLine(), a.SimulatedCount));
      block.push_back(
          Format(kSimulationAlgorithmLine(), NameOfSimulation(a.SimulationAlgorithm).c_str()));
      block.push_back(Format(kPvalueThresholdLine(), static_cast<double>(a.Threshold)));
    } else {
      block.push_back(Format(kThresholdLine(), static_cast<double>(a.Threshold)));
    }
    block.push_back(kStartingComputation());
    sink_.LogBlock(block);

    auto match = std::make_unique<TMatchPGDS>(*reference, *reference, loci);
    std::unique_ptr<TBayesien2Data> bayes = PreparedBayes(a.Criterion, *reference, *match);

    TAssignmentParams probe;
    probe.Criterion = a.Criterion;
    probe.Bayes = bayes.get();
    RequireCriterion(probe, true);

    TMigrantParams params;
    params.LocusNames = loci;
    params.Threshold = a.Threshold;
    params.Criterion = a.Criterion;
    params.DefaultFrequency = a.DefaultFrequency;
    params.Bayes = bayes.get();
    params.SimulationOn = a.SimulationOn;
    params.SimulationAlgorithm = a.SimulationAlgorithm;
    params.SimulatedCount = a.SimulatedCount;
    params.ReferenceSampleCount = reference->SamplesCount();
    params.Threads = Threads;

    sink_.SetStatus(1, kStatusMigrants());
    sink_.SetProgress(0);
    sink_.ProcessEvents();

    TScopedProgressHook hook([this](int percent, const std::string& text2, const std::string& text3,
                                    bool& abort) { EngineProgress(percent, text2, text3, abort); });
    std::int32_t flagged = 0;
    const bool completed = Completed(
        a.LikelihoodOption == TMigrantStatistic::Home
            ? DetectMigrantsHome(*reference, std::move(match), params, ResultTable, flagged)
            : DetectMigrantsRatio(*reference, params,
                                  a.LikelihoodOption == TMigrantStatistic::HomeOverMaxNotHome,
                                  ResultTable, flagged),
        a.Criterion);
    sink_.SetStatus(1, "");
    if (!ResultTable) ResultTable = std::make_unique<TTableResultats>();
    ResultTable->Journal.clear();
    ResultTable->AddBlock(block);

    if (!completed || StopRequested) {
      Interrupted(outcome);
    } else {
      outcome.Status = TRunStatus::Completed;
      outcome.ScoresToDisplay = DefaultScores(a, *reference);
      outcome.MigrantCount = flagged;
      outcome.MigrantSummary = Format(kMigrantSummary(), flagged, static_cast<double>(a.Threshold));
      sink_.LogLine(outcome.MigrantSummary);
      ResultTable->AddLine(outcome.MigrantSummary);
      sink_.SetRunningState(false);
      sink_.ShowResults(outcome);
    }
    Finish(outcome, startMs);
  } catch (const std::exception& e) {
    Failed(outcome, e.what());
  }
  return outcome;
}
