// tarvik2-cli assign: assignment of individuals (or groups) to reference populations, with
// the main window's parameters, run and export. Also the run shared with `migrants`.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>

#include "app/AppTexts.h"
#include "app/InterfaceAutomate.h"
#include "app/ResultsGrid.h"
#include "app/RunDriver.h"
#include "base/Texts.h"
#include "cli/CommandPlot.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/EngineTexts.h"
#include "engine/common/GenMars.h"
#include "engine/common/MatchTexts.h"
#include "engine/criteria/CornuetEstimator.h"
#include "engine/criteria/Criteria.h"
#include "engine/runs/Migrants.h"
#include "engine/simulation/Simulation.h"

namespace {

const char* const kRunFooter =
    "Exit status: 0 success, 1 a load failed or the run was refused or failed, 2 wrong command "
    "line.\nTexts are written to standard output and standard error in UTF-8. A file written "
    "with -o holds the ISO-8859-1 bytes of the export, exactly as the main window writes it. "
    "--plot writes an SVG file declared ISO-8859-1.";

const TText kCliNoSimulationForGroups{
    "Le calcul de probabilité n'est pas disponible pour l'affectation des groupes d'individus",
    "Probability computation is not available for the assignment of groups of individuals"};
const TText kCliNoSimulationForPloidy{
    "Le calcul de probabilité n'est pas disponible : le fichier contient des niveaux "
    "différents de ploidie",
    "Probability computation is not available: the file contains mixed levels of ploidy"};
const TText kCliNoSimulationForCriterion{
    "Le calcul de probabilité n'est pas disponible avec le critère %s",
    "Probability computation is not available with criterion %s"};
const TText kCliLocusUntyped{"Le locus %s n'est typé dans aucun individu de l'échantillon %s",
                             "Locus %s is not typed in any individual of sample %s"};
const TText kCliLociOption{"--loci choisit parmi eux les locus à utiliser",
                           "--loci chooses the loci to use among them"};
const TText kCliScoresRange{"Le nombre de scores à afficher doit être compris entre 0 et %d",
                            "The number of scores to display must be between 0 and %d"};

// Criterion names of the command line, by code.
const char* const kCriterionNames[] = {"baudouin",     "baudouin2",   "rannala", "paetkau",
                                       "nei-standard", "nei-minimum", "nei-da",  "cavalli-sforza",
                                       "goldstein",    "cornuet",     "rogers"};
// Simulation algorithm names, by code.
const char* const kAlgorithmNames[] = {"cornuet", "rannala", "paetkau"};

// The code of a name or of a number among `names`; -1 when it is neither.
template <size_t N> int CodeOf(const std::string& text, const char* const (&names)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (text == names[i] || text == std::to_string(i)) return static_cast<int>(i);
  return -1;
}

// A real strictly between 0 and 1, the whole text being the number.
bool ParseProbability(const std::string& text, Extended& value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  value = std::strtold(begin, &end);
  return end != begin && *end == '\0' && value > 0 && value < 1;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const size_t first = item.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    const size_t last = item.find_last_not_of(" \t");
    items.push_back(item.substr(first, last - first + 1));
  }
  return items;
}

// Four seeds I,J,K,L: I, J, K in 1..168 (a zero there empties the generator's lag table), L in
// 0..168.
bool ParseSeeds(const std::string& text, int (&seeds)[4]) {
  const std::vector<std::string> items = SplitList(text);
  if (items.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    char* end = nullptr;
    const long v = std::strtol(items[i].c_str(), &end, 10);
    if (end == items[i].c_str() || *end != '\0' || v < (i < 3 ? 1 : 0) || v > 168) return false;
    seeds[i] = static_cast<int>(v);
  }
  return true;
}

CLI::Validator NameValidator(const char* what, int (*code)(const std::string&)) {
  return CLI::Validator(
      [what, code](std::string& text) {
        return code(text) < 0 ? std::string("unknown ") + what + ": " + text : std::string();
      },
      what);
}

int CriterionNameCode(const std::string& text) {
  return CodeOf(text, kCriterionNames);
}
int AlgorithmNameCode(const std::string& text) {
  return CodeOf(text, kAlgorithmNames);
}

const CLI::Validator kProbabilityValidator(
    [](std::string& text) {
      Extended v;
      return ParseProbability(text, v) ? std::string()
                                       : "must be a number strictly between 0 and 1: " + text;
    },
    "0<X<1");

const CLI::Validator kSeedValidator(
    [](std::string& text) {
      int seeds[4];
      return ParseSeeds(text, seeds)
                 ? std::string()
                 : "four seeds I,J,K,L are needed, I, J, K in 1..168 and L in 0..168: " + text;
    },
    "I,J,K,L");

// The run as the console sees it: the export carries the run's journal, so journal lines are
// not repeated; warnings and errors go to standard error; a progress bar is drawn there when it
// is a terminal.
class TConsoleSink : public TRunSink {
public:
  TConsoleSink() : bar_(::isatty(2) != 0) {}
  ~TConsoleSink() override { EndBar(); }

  void AppendJournal(const std::string&) override {}
  void Warning(const std::string& text) override { Report(text); }
  void Message(const std::string& text) override { Report(text); }
  bool Confirm(const std::string&) override { return true; }
  void SetStatus(int panel, const std::string& text) override {
    if (panel == 1) phase_ = text;
  }
  void SetProgress(int percent) override {
    if (!bar_ || percent == shown_) return;
    shown_ = percent;
    const int width = 40, filled = percent * width / 100;
    std::string line = "\r" + Utf8(phase_) + " [" + std::string(static_cast<size_t>(filled), '#') +
                       std::string(static_cast<size_t>(width - filled), ' ') + "] " +
                       std::to_string(percent) + " %";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = line.size();
  }

private:
  void Report(const std::string& text) {
    EndBar();
    PrintError(text + "\n");
  }
  void EndBar() {
    if (drawn_ == 0) return;
    std::fputs(("\r" + std::string(drawn_, ' ') + "\r").c_str(), stderr);
    std::fflush(stderr);
    drawn_ = 0;
    shown_ = -1;
  }

  bool bar_;
  std::string phase_;
  int shown_ = -1;
  size_t drawn_ = 0;
};

int Refuse(const std::string& message) {
  PrintError(message + "\n");
  return kExitFailure;
}

// Why the window would not let the probability computation be switched on.
std::string SimulationRefusal(const TInterfaceAutomate& a) {
  if (a.Inputs.Groups && !a.Inputs.MigrantDetection) return kCliNoSimulationForGroups();
  if (a.Inputs.MixedPloidy) return kMixedPloidy() + "\n" + kCliNoSimulationForPloidy();
  return Format(kCliNoSimulationForCriterion(), NameOfCriterion(a.Criterion).c_str());
}

// The locus list the window would show after loading, with the loci of --loci checked; an
// empty string, or the reason why the window could not check them.
std::string ChooseLoci(const TRunCommandOptions& options, const TPGDSStructure& reference,
                       const TPGDSStructure* samples, std::vector<TLocusChoice>& list) {
  list = LocusListAfterLoad(reference, samples);
  if (options.Loci.empty()) return std::string();
  const std::vector<std::string> wanted = SplitList(options.Loci);
  UncheckAllLoci(list);
  for (const std::string& name : wanted) {
    const int l = reference.Loci.IndexOf(name);
    if (l < 0) return Format(kLocusMissingFromFile(), name.c_str(), reference.FileName.c_str());
    if (samples && samples->Loci.IndexOf(name) < 0)
      return Format(kLocusMissingFromFile(), name.c_str(), samples->FileName.c_str());
    for (TLocusChoice& item : list) {
      if (item.Name != name) continue;
      if (!item.Available) {
        for (int s = 0; s < reference.SamplesCount(); ++s)
          if (reference.SampleAt(s)->NbGenes(l) == 0)
            return Format(kCliLocusUntyped(), name.c_str(), reference.SampleAt(s)->Name.c_str());
      }
      item.Checked = true;
    }
  }
  return std::string();
}

} // namespace

void AddRunOptions(CLI::App& command, TRunCommandOptions& options) {
  command.footer(kRunFooter);
  options.Criterion = "rannala";
  command
      .add_option("--criterion", options.Criterion,
                  "Criterion, by code or name: baudouin 0, baudouin2 1, rannala 2, paetkau 3, "
                  "nei-standard 4, nei-minimum 5, nei-da 6, cavalli-sforza 7, goldstein 8, "
                  "cornuet 9, rogers 10")
      ->check(NameValidator("criterion", CriterionNameCode))
      ->capture_default_str();
  options.DefaultFrequency = "0.01";
  command
      .add_option("--default-frequency", options.DefaultFrequency,
                  "Frequency of an allele a population lacks (criterion paetkau)")
      ->check(kProbabilityValidator)
      ->capture_default_str();
  command.add_option("--loci", options.Loci,
                     "Comma-separated loci to use (default: the loci of the reference that every "
                     "reference sample has typed and, for assign, that the samples file has)");
  options.Threshold = "0.05";
  command
      .add_option("--threshold", options.Threshold,
                  "Assignment threshold of the scores (without simulation)")
      ->check(kProbabilityValidator)
      ->capture_default_str();
  CLI::Option* simulate =
      command
          .add_option("--simulate", options.Simulate,
                      "Monte-Carlo probabilities with this algorithm: 0 or cornuet (Cornuet "
                      "et al. 1999), 1 or rannala (Rannala & Mountain 1997), 2 or paetkau "
                      "(Paetkau et al. 2004)")
          ->check(NameValidator("algorithm", AlgorithmNameCode));
  options.Simulated = 1000;
  command
      .add_option("--simulated", options.Simulated,
                  "Number of simulated individuals (10 to 1000000: one value per simulated "
                  "individual and reference population is kept in memory)")
      ->check(CLI::Range(10, 1000000))
      ->needs(simulate)
      ->capture_default_str();
  options.Alpha = "0.01";
  command
      .add_option("--alpha", options.Alpha,
                  "Type I error of the probabilities; becomes the threshold")
      ->check(kProbabilityValidator)
      ->needs(simulate)
      ->capture_default_str();
  command
      .add_option("--seed", options.Seed,
                  "Seeds of the random generators, so that a run repeats exactly")
      ->check(kSeedValidator);
  command
      .add_option("--threads", options.Threads,
                  "Threads the computation uses (0, the default: every core); the results do "
                  "not depend on it")
      ->check(CLI::Range(0, 1024));
  AddLanguageOption(command, options.Language);
  command.add_option("-o,--output", options.Output,
                     "Write the export to this file (ISO-8859-1) instead of standard output "
                     "(UTF-8)");
  AddPlotOption(command, options);
}

int RunComputation(const TRunCommandOptions& options) {
  ApplyLanguage(options.Language);
  if (!options.Seed.empty()) {
    int s[4];
    ParseSeeds(options.Seed, s);
    for (TGenMars* generator : {&SimulationGenerator(), &CornuetGenerator()})
      generator->SetSeeds(static_cast<std::uint8_t>(s[0]), static_cast<std::uint8_t>(s[1]),
                          static_cast<std::uint8_t>(s[2]), static_cast<std::uint8_t>(s[3]));
    // The stepwise-mutation criterion also draws from the runtime's generator.
    CornuetRuntimeGenerator().seed(
        static_cast<std::uint32_t>(((s[0] * 169 + s[1]) * 169 + s[2]) * 169 + s[3]));
  }

  TPGDSStructure reference;
  if (!LoadDataSet(reference, options.Reference, TReadFormat::Unknown)) return kExitFailure;
  std::unique_ptr<TPGDSStructure> samples;
  if (!options.Migrants && !options.Samples.empty()) {
    samples = std::make_unique<TPGDSStructure>();
    if (!LoadDataSet(*samples, options.Samples, TReadFormat::Unknown)) return kExitFailure;
  }

  // The window's controls as this command line sets them.
  TInterfaceAutomate automaton;
  TAutomateInputs& in = automaton.Inputs;
  in.RefLoaded = true;
  in.MixedPloidy = HasMixedPloidy(reference);
  in.SamplesLoaded = samples != nullptr;
  in.SimulationChecked = !options.Simulate.empty();
  in.Criterion = CriterionFromCode(CriterionNameCode(options.Criterion));
  in.MigrantDetection = options.Migrants;
  in.Groups = !options.Migrants && options.Groups;
  in.Individuals = !in.Groups;
  in.LikelihoodOption = MigrantStatisticFromCode(options.Statistic);
  in.SimulationAlgorithm = in.SimulationChecked
                               ? SimulationAlgorithmFromCode(AlgorithmNameCode(options.Simulate))
                               : TSimulationAlgorithm::Paetkau2004;
  automaton.Compute();
  if (in.SimulationChecked && !automaton.SimulationAllowed)
    return Refuse(SimulationRefusal(automaton));

  // Values no track bar offers.
  Extended value = 0;
  ParseProbability(in.SimulationChecked ? options.Alpha : options.Threshold, value);
  automaton.SetThreshold(value);
  if (automaton.SimulationOn) automaton.SetSimulatedCount(options.Simulated);
  if (automaton.Criterion == TCriterion::Paetkau) {
    ParseProbability(options.DefaultFrequency, value);
    automaton.DefaultFrequency = value;
  }

  const TPlotRequest plot(options, automaton, samples != nullptr);
  if (const std::string refusal = plot.Refusal(); !refusal.empty()) return Refuse(refusal);

  const int populations = reference.SamplesCount();
  if (options.Scores > populations) return Refuse(Format(kCliScoresRange(), populations));

  std::vector<TLocusChoice> list;
  const std::string refusal = ChooseLoci(options, reference, samples.get(), list);
  if (!refusal.empty()) return Refuse(refusal);

  TConsoleSink sink;
  TRunDriver driver(sink);
  driver.Threads = options.Threads;
  TRunData data;
  data.Reference = &reference;
  data.Samples = samples.get();
  data.CheckedLoci = CheckedLoci(list);
  const TRunOutcome outcome = driver.Start(automaton, data);
  // The run told why no locus can be used; the command line's way to choose them.
  if (outcome.Status == TRunStatus::NotStarted && data.CheckedLoci.empty() &&
      !NoUsableLocusExplanation(reference, samples.get()).empty())
    PrintError(kCliLociOption() + "\n");
  if (outcome.Status != TRunStatus::Completed) return kExitFailure;

  TGridSettings settings;
  settings.Populations = PopulationNames(reference);
  settings.Scores =
      options.Scores >= 0 && !automaton.SimulationOn ? options.Scores : outcome.ScoresToDisplay;
  settings.Threshold = automaton.Threshold;
  settings.ThresholdFormat = automaton.ThresholdFormat;
  settings.ProbabilityFormat = automaton.ProbabilityFormat;
  const TResultsGrid grid =
      options.Migrants
          ? FillMigrantGrid(*driver.ResultTable, automaton.Criterion, outcome.MigrantCount,
                            automaton.SimulationOn, automaton.LikelihoodOption, settings)
          : FillAssignmentGrid(*driver.ResultTable, automaton.Criterion, automaton.SimulationOn,
                               settings);
  if (options.Output.empty()) {
    ForEachExportLine(driver.ResultTable.get(), grid, PrintOut);
  } else {
    try {
      ExportResults(driver.ResultTable.get(), grid, options.Output);
    } catch (const std::exception& e) {
      return Refuse(e.what());
    }
  }
  const std::string failure =
      plot.Write(*driver.ResultTable, reference, samples ? *samples : reference);
  return failure.empty() ? kExitSuccess : Refuse(failure);
}

void AddAssignCommand(CLI::App& app, TCommands& commands) {
  auto options = std::make_shared<TRunCommandOptions>();
  CLI::App* command = app.add_subcommand(
      "assign", "Assigns the individuals (or groups) of a samples file, or the reference "
                "individuals themselves, to the reference populations; writes the result table "
                "as the main window exports it (journal lines, then the grid, semicolon-"
                "separated)");
  command->add_option("REF", options->Reference, "Reference populations file")->required();
  command->add_option("--samples", options->Samples,
                      "Samples to assign (default: the reference individuals, each evaluated "
                      "without itself)");
  command->add_flag("--groups", options->Groups, "Assign every sample as one group of individuals");
  CLI::Option* scores =
      command->add_option("--scores", options->Scores,
                          "Number of ranked scores shown per row (default: min(5, number of "
                          "reference populations))");
  scores->check(CLI::NonNegativeNumber);
  AddRunOptions(*command, *options);
  AddPlotKindOption(*command, *options);
  if (CLI::Option* simulate = command->get_option_no_throw("--simulate"))
    scores->excludes(simulate);
  commands.push_back({command, [options] { return RunComputation(*options); }});
}
