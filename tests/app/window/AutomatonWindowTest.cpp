// The parameter automaton seen on the window's controls: what is enabled, shown and stored as
// the options, the track bars and the loaded data sets change.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>

#include "WindowTestSupport.h"
#include "app/window/NumberDisplay.h"
#include "tests/support/DataSetBuilders.h"

using namespace wtest;

class AutomatonWindowTest : public QObject {
  Q_OBJECT

private:
  TExampleFiles files_;

private slots:
  // A freshly shown window: French captions, the defaults of every option, the hidden criteria,
  // Start disabled whatever the options while no reference is loaded.
  void startState() {
    TWindow w;
    QCOMPARE(w.Find<QTabWidget>("PageControlPrinc")->currentWidget()->objectName(),
             QString("TabSheetParameters"));
    QCOMPARE(w.Find<QTabWidget>("PageControlParameters")->currentWidget()->objectName(),
             QString("TabSheetObjective"));
    QCOMPARE(w.Find<QPushButton>("BitBtnStart")->text(), QString::fromUtf8("Démarrer"));
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberAssignmentThreshold")->Text(), "0.05");
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberPvalue")->Text(), "0.01");
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberPaetkau")->Text(), "0.01");
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberSimulatedIndividuals")->Text(), "1000");
    QVERIFY(!w.Find<QCheckBox>("CheckBoxSimulation")->isChecked());
    for (const char* hidden : {"RadioButtonCornuet", "RadioButtonRogers", "RadioButtonBaudouin2",
                               "RadioGroupVraisemblance"})
      QVERIFY2(w.Find<QWidget>(hidden)->isHidden(), hidden);
    QVERIFY(w.Find<QRadioButton>("RadioButtonRannala")->isChecked());
    QVERIFY(w.Find<QTextBrowser>("TextBrowserInformation2")->toPlainText().contains("Rannala"));
    for (const char* disabled :
         {"SpeedButtonClearReference", "BitBtnDisplayFrequencyRef", "SpeedButtonClearSamples",
          "BitBtnDisplayFrequencySamp", "ToolButtonArret", "LabelPaetkau", "TrackBarPaetkau"})
      QVERIFY2(!w.Find<QWidget>(disabled)->isEnabled(), disabled);

    // No combination of options enables Start without a reference.
    for (const char* option :
         {"RadioButtonAssignPopulations", "RadioButtonMigrantsDetection", "RadioButtonLhome",
          "RadioButtonAssignment", "RadioButtonNeiDa", "CheckBoxSimulation"}) {
      w.Click(option);
      QVERIFY2(!w.Find<QPushButton>("BitBtnStart")->isEnabled(), option);
    }
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    QVERIFY(w.Find<QPushButton>("BitBtnStart")->isEnabled());
    QCOMPARE(w.Find<QSpinBox>("SpinEditScores")->maximum(), 2);
  }

  // Migrant detection: one data file, the likelihood statistic instead of what to assign; a
  // loaded samples file is discarded and stays discarded when assignment comes back.
  void migrantMode() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Form->OpenSamples(files_.Samples, TReadFormat::Unknown);
    QVERIFY(w.Form->SamplesLoaded);
    QVERIFY(w.Form->Parameters.UseSamples);
    w.Click("RadioButtonAssignPopulations");
    w.Click("RadioButtonMigrantsDetection");

    QVERIFY(!w.Form->SamplesLoaded);
    QCOMPARE(w.Form->dataStructureSample.SamplesCount(), 0);
    QVERIFY(w.Find<QLineEdit>("EditAssignationEchantillons")->text().isEmpty());
    QCOMPARE(w.Find<QLabel>("LabelAssignationReference")->text(),
             QString::fromUtf8("Fichier de données :"));
    for (const char* disabled :
         {"GroupBoxWhatToAssign", "BitBtnAssignationOuvrirEchantillon",
          "EditAssignationEchantillons", "LabelAssignationEchantillons", "SpeedButtonClearSamples"})
      QVERIFY2(!w.Find<QWidget>(disabled)->isEnabled(), disabled);
    for (const char* enabled : {"GroupBoxLikelihoodRatioOption", "RadioButtonLhome",
                                "RadioButtonLmaxNotHome", "BitBtnStart"})
      QVERIFY2(w.Find<QWidget>(enabled)->isEnabled(), enabled);
    QVERIFY(!w.Form->menuItemOuvrirEchantillon->isEnabled());
    // Groups cannot stay chosen: individuals are.
    QVERIFY(w.Find<QRadioButton>("RadioButtonAssignIndividuals")->isChecked());
    QVERIFY(w.Find<QTextBrowser>("TextBrowserInformation1")->toPlainText().contains("(2004)"));
    QCOMPARE(w.Form->Parameters.LikelihoodOption, TMigrantStatistic::HomeOverMax);
    w.Click("RadioButtonLmaxNotHome");
    QCOMPARE(w.Form->Parameters.LikelihoodOption, TMigrantStatistic::HomeOverMaxNotHome);

    w.Click("RadioButtonAssignment");
    QVERIFY(!w.Form->SamplesLoaded);
    QVERIFY(!w.Form->Parameters.UseSamples);
    QVERIFY(w.Find<QWidget>("BitBtnAssignationOuvrirEchantillon")->isEnabled());
    QVERIFY(!w.Find<QWidget>("GroupBoxLikelihoodRatioOption")->isEnabled());
    QCOMPARE(w.Find<QLabel>("LabelAssignationReference")->text(),
             QString::fromUtf8("Populations de référence :"));
    QVERIFY(w.Find<QTextBrowser>("TextBrowserInformation1")->toPlainText().isEmpty());
  }

  // Groups of individuals disable the probability computation without unchecking it; the
  // simulation controls follow the check box.
  void groupsAndSimulation() {
    TWindow w;
    auto* simulation = w.Find<QCheckBox>("CheckBoxSimulation");
    QVERIFY(!w.Find<QWidget>("GroupBoxSimulationAlgorithm")->isEnabled());
    w.Click("CheckBoxSimulation");
    QVERIFY(w.Form->Parameters.SimulationOn);
    for (const char* enabled : {"GroupBoxSimulationAlgorithm", "TrackBarSimulatedIndividuals",
                                "TrackBarPvalue", "RadioButtonASCornuet99"})
      QVERIFY2(w.Find<QWidget>(enabled)->isEnabled(), enabled);
    QVERIFY(!w.Find<QWidget>("TrackBarAssignmentThreshold")->isEnabled());
    QVERIFY(w.Find<QSpinBox>("SpinEditScores")->isHidden());
    QVERIFY(w.Find<QLabel>("Label1")->isHidden());
    QVERIFY(w.Find<QTextBrowser>("TextBrowser1")->toPlainText().contains("Paetkau et al. (2004)"));
    w.Click("RadioButtonASCornuet99");
    QCOMPARE(w.Form->Parameters.SimulationAlgorithm, TSimulationAlgorithm::Cornuet1999);
    QVERIFY(w.Find<QTextBrowser>("TextBrowser1")->toPlainText().contains("Cornuet et al. (1999)"));

    w.Click("RadioButtonAssignPopulations");
    QVERIFY(!simulation->isEnabled());
    QVERIFY(simulation->isChecked());
    QVERIFY(w.Form->Parameters.GroupAssignment);
    w.Click("RadioButtonAssignIndividuals");
    QVERIFY(simulation->isEnabled());
    QVERIFY(simulation->isChecked());

    w.Click("CheckBoxSimulation");
    QVERIFY(!w.Form->Parameters.SimulationOn);
    QVERIFY(!w.Find<QWidget>("GroupBoxSimulationAlgorithm")->isEnabled());
    QVERIFY(w.Find<QWidget>("TrackBarAssignmentThreshold")->isEnabled());
    QVERIFY(!w.Find<QSpinBox>("SpinEditScores")->isHidden());
  }

  // The track bars' value tables, and the threshold and probability formats they give.
  void trackBarsAndFormats() {
    TWindow w;
    auto* threshold = w.Find<QSlider>("TrackBarAssignmentThreshold");
    threshold->setValue(0);
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberAssignmentThreshold")->Text(), "0.001");
    QCOMPARE(w.Form->Parameters.ThresholdFormat, "%.4f");
    QCOMPARE(double(w.Form->Parameters.Threshold), 0.001);
    threshold->setValue(2);
    QCOMPARE(w.Form->Parameters.ThresholdFormat, "%.3f");

    w.Click("CheckBoxSimulation");
    w.Find<QSlider>("TrackBarSimulatedIndividuals")->setValue(2);
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberSimulatedIndividuals")->Text(), "100");
    QCOMPARE(w.Form->Parameters.SimulatedCount, 100);
    QCOMPARE(w.Form->Parameters.ProbabilityFormat, "%.2f");
    w.Find<QSlider>("TrackBarPvalue")->setValue(1);
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberPvalue")->Text(), "0.005");
    QCOMPARE(double(w.Form->Parameters.Threshold), 0.005);
    QCOMPARE(w.Form->Parameters.ThresholdFormat, "%.4f");

    // The default frequency belongs to Paetkau et al.'s criterion only.
    QVERIFY(!w.Find<QWidget>("TrackBarPaetkau")->isEnabled());
    w.Click("RadioButtonPaetkau");
    QCOMPARE(w.Form->Parameters.Criterion, TCriterion::Paetkau);
    QVERIFY(w.Find<QWidget>("TrackBarPaetkau")->isEnabled());
    w.Find<QSlider>("TrackBarPaetkau")->setValue(5);
    QCOMPARE(w.Find<TNumberDisplay>("LCDNumberPaetkau")->Text(), "1E-5");
    QCOMPARE(double(w.Form->Parameters.DefaultFrequency), 1e-5);
    w.Click("RadioButtonGoldstein");
    QCOMPARE(w.Form->Parameters.Criterion, TCriterion::Goldstein);
    QVERIFY(!w.Find<QWidget>("LabelPaetkau")->isEnabled());
    QVERIFY(w.Find<QTextBrowser>("TextBrowserInformation2")->toPlainText().contains("Goldstein"));
  }

  // A reference with haploid and diploid genotypes: the journal says so once, and the
  // probability computation cannot be enabled.
  void mixedPloidy() {
    TWindow w;
    // Genotype XML keeps the number of copies of every genotype.
    const std::string mixed = PathFromQt(files_.Dir.filePath("mixed.xml"));
    support::TDataBuilder({"L1", "L2"})
        .Sample("A")
        .Individual("a1", {"1/1", "1/2"})
        .Individual("a2", {"1", "1/1"})
        .Sample("B")
        .Individual("b1", {"1/1", "2/2"})
        .Loaded()
        ->SaveToFile(mixed, TWriteFormat::XMLGenotypes, false, 1);
    w.Form->OpenReference(mixed, TReadFormat::Unknown);
    QVERIFY(w.Form->RefLoaded);
    QVERIFY(!w.Find<QCheckBox>("CheckBoxSimulation")->isEnabled());
    QCOMPARE(w.Journal().filter("Le fichier contient des niveaux").size(), 1);
    w.Click("RadioButtonNeiDa");
    QCOMPARE(w.Journal().filter("Le fichier contient des niveaux").size(), 1);
    w.Click("SpeedButtonClearReference");
    QVERIFY(w.Find<QCheckBox>("CheckBoxSimulation")->isEnabled());
  }
};

TARVIK_WINDOW_TEST_MAIN(AutomatonWindowTest)
#include "AutomatonWindowTest.moc"
