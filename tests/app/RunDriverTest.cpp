#include "app/RunDriver.h"

#include <gtest/gtest.h>

#include "app/InterfaceAutomate.h"
#include "base/Texts.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/Files.h"

using support::Normalised;

namespace {

// Everything a run shows, in order.
class TRecordingSink : public TRunSink {
public:
  std::vector<std::string> Journal;
  std::vector<std::string> Boxes; // "warning: ...", "message: ..."
  int Questions = 0;
  bool Answer = true;
  int ResultsShown = 0;
  bool Running = false;

  void AppendJournal(const std::string& line) override { Journal.push_back(Normalised(line)); }
  void Warning(const std::string& text) override { Boxes.push_back("warning: " + text); }
  void Message(const std::string& text) override { Boxes.push_back("message: " + text); }
  bool Confirm(const std::string&) override {
    ++Questions;
    return Answer;
  }
  void SetStatus(int, const std::string&) override {}
  void SetProgress(int) override {}
  void SetRunningState(bool running) override { Running = running; }
  void ShowResults(const TRunOutcome&) override { ++ResultsShown; }
};

TInterfaceAutomate Automaton(bool samplesLoaded = false) {
  TInterfaceAutomate a;
  a.Inputs.RefLoaded = true;
  a.Inputs.SamplesLoaded = samplesLoaded;
  a.Compute();
  return a;
}

std::vector<std::string> NormalisedLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines)
    out.push_back(Normalised(line));
  return out;
}

} // namespace

TEST(RunDriver, SelfAssignmentJournalAndQuality) {
  auto reference = support::TwoPopulations();
  TRecordingSink sink;
  TRunDriver driver(sink);
  // "ZZ" is checked but absent: silently skipped.
  const TRunData data{reference.get(), nullptr, {"L2", "ZZ", "L1"}};
  const TRunOutcome outcome = driver.Start(Automaton(), data);
  ASSERT_EQ(outcome.Status, TRunStatus::Completed);
  EXPECT_EQ(outcome.ScoresToDisplay, 2);
  EXPECT_EQ(sink.ResultsShown, 1);
  EXPECT_FALSE(sink.Running);
  EXPECT_TRUE(sink.Boxes.empty());

  const std::vector<std::string> block = {"<t> :",
                                          "        Affectation des individus.",
                                          Latin1("        Fichier de référence : ref.gen"),
                                          "        Titre : Two populations",
                                          Latin1("        Locus utilisés :  L2 L1"),
                                          Latin1("        Critère : Rannala & Mountain (1997)"),
                                          "        Seuil : 0.05",
                                          "        Lancement du calcul"};
  std::vector<std::string> expected = block;
  expected.push_back(Format(Latin1("<t> - Indice de qualité : %5.2f %%").c_str(),
                            static_cast<double>(outcome.Quality.QualityIndex)));
  expected.push_back(Format(Latin1("<t> - Bien classés : %5.1f %% (%d)").c_str(),
                            static_cast<double>(outcome.Quality.CorrectlyAssignedPercentage),
                            outcome.Quality.CorrectlyAssigned));
  expected.push_back(Latin1("<t> - Calcul terminé. Durée : <d> s"));
  expected.push_back(Latin1("<t> - Temps écoulé : <d> s"));
  EXPECT_EQ(NormalisedLines(driver.ResultTable->Journal), expected);
  expected.push_back("");
  EXPECT_EQ(sink.Journal, expected);
  EXPECT_EQ(outcome.Quality.CorrectlyAssigned, 6);
  EXPECT_GT(outcome.Quality.QualityIndex, 50);
}

TEST(RunDriver, SamplesGroupsAndLanguage) {
  SetCurrentLanguage(lang::English);
  auto reference = support::TwoPopulations();
  auto samples = support::TDataBuilder({"L1", "L2"}, "s.gen")
                     .Sample("S")
                     .Individual("s1", {"1/1", "1/1"})
                     .Loaded();
  TInterfaceAutomate a;
  a.Inputs.RefLoaded = a.Inputs.SamplesLoaded = true;
  a.Inputs.Groups = true;
  a.Inputs.Individuals = false;
  a.Inputs.Criterion = TCriterion::Paetkau;
  a.Compute();
  TRecordingSink sink;
  TRunDriver driver(sink);
  const TRunOutcome outcome = driver.Start(a, {reference.get(), samples.get(), {"L1", "L2"}});
  SetCurrentLanguage(lang::French);
  ASSERT_EQ(outcome.Status, TRunStatus::Completed);
  EXPECT_TRUE(outcome.QualityText.empty()) << "no quality figures with a samples file";
  EXPECT_EQ(
      NormalisedLines(driver.ResultTable->Journal),
      (std::vector<std::string>{
          "<t> :", "        Assignment of groups of individuals.",
          "        Reference file: ref.gen", "        Title: Two populations",
          "        Samples file: s.gen", "        Used loci:  L1 L2",
          "        Criterion: Paetkau at al. (1995)", "        Default allelic frequency: 0.01",
          "        Threshold: 0.05", "        Starting computation",
          "<t> - Computation terminated. Duration: <d> s", "<t> - Elapsed time: <d> s"}));
  EXPECT_EQ(driver.ResultTable->Count(), 1);
}

TEST(RunDriver, NoLocusAndStops) {
  auto reference = support::TwoPopulations();
  TRecordingSink sink;
  TRunDriver driver(sink);
  TRunOutcome outcome = driver.RunAssignment(Automaton(), {reference.get(), nullptr, {"ZZ"}});
  EXPECT_EQ(outcome.Status, TRunStatus::NotStarted);
  EXPECT_EQ(sink.Boxes, std::vector<std::string>{Latin1("warning: Aucun locus sélectionné !")});
  EXPECT_TRUE(sink.Journal.empty());

  // Stop, then Yes: the interrupted path, the duration still reported, the request consumed.
  sink = TRecordingSink();
  driver.RequestStop();
  outcome = driver.RunAssignment(Automaton(), {reference.get(), nullptr, {"L1"}});
  EXPECT_EQ(outcome.Status, TRunStatus::Interrupted);
  EXPECT_FALSE(driver.StopRequested);
  EXPECT_EQ(sink.Questions, 1);
  EXPECT_EQ(sink.ResultsShown, 0);
  EXPECT_EQ(sink.Boxes, std::vector<std::string>{
                            Latin1("warning: L'opération a été interrompue par l'utilisateur")});
  ASSERT_GE(sink.Journal.size(), 2u);
  ASSERT_GE(sink.Journal.size(), 3u);
  EXPECT_EQ(sink.Journal[sink.Journal.size() - 3], "<t> - Interruption utilisateur");
  EXPECT_EQ(sink.Journal[sink.Journal.size() - 2], Latin1("<t> - Calcul terminé. Durée : <d> s"));
  EXPECT_EQ(sink.Journal.back(), Latin1("<t> - Temps écoulé : <d> s"));
  EXPECT_EQ(Normalised(driver.ResultTable->Journal.back()), sink.Journal.back());

  // Stop, then No: the run goes on and is not asked again.
  sink = TRecordingSink();
  sink.Answer = false;
  driver.RequestStop();
  outcome = driver.RunAssignment(Automaton(), {reference.get(), nullptr, {"L1"}});
  EXPECT_EQ(outcome.Status, TRunStatus::Completed);
  EXPECT_EQ(sink.Questions, 1);
  EXPECT_FALSE(driver.StopRequested);
}

TEST(RunDriver, ErrorsEndTheRun) {
  auto reference = support::TwoPopulations();
  TInterfaceAutomate a;
  a.Inputs.RefLoaded = true;
  a.Inputs.Criterion = TCriterion::Cornuet;
  a.Compute();
  // The stepwise-mutation criterion assigns (without probabilities)...
  {
    TRecordingSink sink;
    TRunDriver driver(sink);
    const TRunOutcome outcome = driver.Start(a, {reference.get(), nullptr, {"L1"}});
    EXPECT_EQ(outcome.Status, TRunStatus::Completed);
    ASSERT_EQ(driver.ResultTable->Count(), 6);
    EXPECT_EQ(driver.ResultTable->Item(0).Count, 2);
  }
  // ...but has no value for migrant detection.
  a.Inputs.MigrantDetection = true;
  a.Compute();
  TRecordingSink sink;
  TRunDriver driver(sink);
  TRunOutcome outcome = driver.Start(a, {reference.get(), nullptr, {"L1"}});
  EXPECT_EQ(outcome.Status, TRunStatus::Failed);
  const std::string message = Latin1("Le critère Cornuet (in prep.) n'est pas disponible");
  EXPECT_EQ(outcome.Error, message);
  EXPECT_EQ(sink.Boxes, std::vector<std::string>{"message: " + message});
  ASSERT_GE(sink.Journal.size(), 2u);
  EXPECT_EQ(sink.Journal[sink.Journal.size() - 2], "<t> - EXCEPTION: " + message);
  EXPECT_EQ(sink.Journal.back(), "") << "no duration line; the start handler's empty line";
  EXPECT_FALSE(sink.Running);
}

TEST(RunDriver, MigrantParameterBlock) {
  auto reference = support::TwoPopulations();
  TInterfaceAutomate a;
  a.Inputs.RefLoaded = true;
  a.Inputs.MigrantDetection = true;
  a.Inputs.LikelihoodOption = TMigrantStatistic::HomeOverMaxNotHome;
  a.Inputs.SimulationChecked = true;
  a.Inputs.SimulatedIndividualsText = "100";
  a.Inputs.SimulationAlgorithm = TSimulationAlgorithm::Cornuet1999;
  a.Compute();
  TRecordingSink sink;
  TRunDriver driver(sink);
  driver.Start(a, {reference.get(), nullptr, {"L1", "L2"}});
  const std::vector<std::string> block = {
      "<t> :",
      Latin1("        Fichier de données : ref.gen"),
      "        Titre : Two populations",
      Latin1("        Locus utilisés :  L1 L2"),
      Latin1("        Détection de migrants de première génération"),
      "        Rapport de vraisemblance L_origine / L_max_non_origine",
      Latin1("        Critère : Rannala & Mountain (1997)"),
      Latin1("        Nombre d'individus simulés : 100"),
      "        Algorithme de simulation : Cornuet et al. (1999)",
      Latin1("        Seuil (probabilité) : 0.01"),
      "        Lancement du calcul"};
  ASSERT_GE(driver.ResultTable->Journal.size(), block.size());
  EXPECT_EQ(NormalisedLines(std::vector<std::string>(driver.ResultTable->Journal.begin(),
                                                     driver.ResultTable->Journal.begin() +
                                                         static_cast<long>(block.size()))),
            block);
}
