// The main window: creation, the parameter automaton, the locus list, the statistics windows
// and the languages.
#include "app/window/FormPrinc.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>
#include <utility>

#include "app/AppTexts.h"
#include "app/Browser.h"
#include "app/Configuration.h"
#include "app/window/FormFrequencyDisplay.h"
#include "app/window/FormPlot.h"
#include "app/window/FormSplash.h"
#include "app/window/MethodReferences.h"
#include "app/window/NumberDisplay.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"
#include "base/Progress.h"

TFormPrinc::TFormPrinc(TToolkitServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setObjectName("FormPrinc");
  setFont(QFont("Arial"));
  resize(780, 580);
  setMinimumSize(780, 580);

  BuildMenus();
  BuildToolBar();
  auto* central = new QWidget();
  auto* column = new QVBoxLayout(central);
  PageControlPrinc = new QTabWidget();
  PageControlPrinc->setObjectName("PageControlPrinc");
  PageControlPrinc->addTab(BuildParametersTab(), QString());
  PageControlPrinc->addTab(BuildResultsTab(), QString());
  PageControlPrinc->addTab(BuildJournalTab(), QString());
  column->addWidget(PageControlPrinc, 1);
  BuildStatusBar();
  column->addWidget(ProgressBar);
  setCentralWidget(central);

  // The data sets report their progress while they load, and learn whether to stop.
  for (TPGDSStructure* ds : {&dataStructureRef, &dataStructureSample})
    ds->onDataStructureEvent = [this](TLogger& sender, int position, bool& stop) {
      dataStructureDataStructureEvent(sender, position, stop);
    };
  SetProgressHook([this](int percent, const std::string& text2, const std::string& text3,
                         bool& abort) { EngineProgress(percent, text2, text3, abort); });

  Splash = std::make_unique<TFormSplash>(services_);
  connect(Splash.get(), &TFormSplash::Hidden, this, [this] { setEnabled(true); });
  ReadLanguage();
  SetLanguage(CurrentLanguage);
  TrackBarPvalueChange();
  MemoJournal->clear();
  automateInterface();
  SetRunningState(false);
}

TFormPrinc::~TFormPrinc() {
  SetProgressHook({});
  for (TPGDSStructure* ds : {&dataStructureRef, &dataStructureSample})
    ds->onDataStructureEvent = nullptr;
  // The statistics windows still open are released with the window's children, when this
  // part of the window is gone already: they must not report their closing to it.
  for (const QPointer<TFormFrequencyDisplay>& window : StatsWindows)
    if (window) window->disconnect(this);
  for (const QPointer<TFormPlot>& window : PlotWindows)
    if (window) window->disconnect(this);
}

void TFormPrinc::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

// Criteria 1, 9 and 10 are not offered in the window.
void TFormPrinc::FormShow() {
  for (QWidget* hidden : std::initializer_list<QWidget*>{
           RadioButtonCornuet, RadioButtonRogers, RadioButtonBaudouin2, RadioGroupVraisemblance})
    hidden->hide();
  PageControlPrinc->setCurrentWidget(TabSheetParameters);
  PageControlParameters->setCurrentWidget(TabSheetObjective);
  automateInterface();
}

void TFormPrinc::closeEvent(QCloseEvent* event) {
  // A load or a run in progress is stopped through the Stop question, not by closing.
  if (running_) {
    event->ignore();
    ToolButtonArretClick();
    return;
  }
  for (const QPointer<TFormFrequencyDisplay>& window : StatsWindows)
    if (window) window->close();
  for (const QPointer<TFormPlot>& window : PlotWindows)
    if (window) window->close();
  QMainWindow::closeEvent(event);
}

void TFormPrinc::menuItemQuitterClick() {
  close();
}

void TFormPrinc::SetLanguage(int id) {
  const int language = id == lang::English ? lang::English : lang::French;
  SetCurrentLanguage(language);
  Splash->SetLanguage(language);
  SetDataSetLanguage(language);
  FrequencyDisplayRef.SetLanguage(language);
  FrequencyDisplaySample.SetLanguage(language);
  BuildDialogFilters();
  ApplyControlTexts();
  automateInterface();
  CurrentLanguage = id;
  UpdateLanguageMenu();
  ::WriteLanguage(CurrentLanguage);
}

void TFormPrinc::ReadLanguage() {
  CurrentLanguage = ::ReadLanguage();
}

void TFormPrinc::UpdateLanguageMenu() {
  Franais1->setChecked(CurrentLanguage == lang::French);
  Anglais1->setChecked(CurrentLanguage == lang::English);
}

// ---- help, home page and about

void TFormPrinc::MenuItemAideClick() {
  if (!OpenInBrowser(HelpIndexPath(CurrentLanguage)))
    services_.Tell(TMessageKind::Error, kBrowserNotDefined());
}

void TFormPrinc::WWW1Click() {
  if (!OpenInBrowser(HomePagePath())) services_.Tell(TMessageKind::Error, kBrowserNotDefined());
}

// The About box is the splash window, for 30 seconds; the main window waits for it.
void TFormPrinc::Apropos1Click() {
  setEnabled(false);
  Splash->ShowFor(TFormSplash::kAboutMilliseconds);
}

// ---- track bars

void TFormPrinc::TrackBarAssignmentThresholdChange() {
  LCDNumberAssignmentThreshold->SetText(
      AssignmentThresholdText(TrackBarAssignmentThreshold->value()));
  automateInterface();
}

void TFormPrinc::TrackBarPvalueChange() {
  LCDNumberPvalue->SetText(PvalueText(TrackBarPvalue->value()));
  automateInterface();
}

void TFormPrinc::TrackBarPaetkauChange() {
  LCDNumberPaetkau->SetText(DefaultFrequencyText(TrackBarPaetkau->value()));
  automateInterface();
}

void TFormPrinc::TrackBarSimulatedIndividualsChange() {
  LCDNumberSimulatedIndividuals->SetText(
      SimulatedIndividualsText(TrackBarSimulatedIndividuals->value()));
  automateInterface();
}

// ---- the parameter automaton

namespace {
// What the checked radio button of a list stands for; none when none is checked.
template <typename TChoice, size_t N>
std::optional<TChoice> CheckedChoice(const std::pair<QRadioButton*, TChoice> (&buttons)[N]) {
  for (const auto& [button, choice] : buttons)
    if (button->isChecked()) return choice;
  return std::nullopt;
}
} // namespace

TAutomateInputs TFormPrinc::ReadInputs() const {
  TAutomateInputs in;
  in.RefLoaded = RefLoaded;
  in.MixedPloidy = RefLoaded && mixedPloidy_;
  in.SamplesLoaded = SamplesLoaded;
  in.SimulationChecked = CheckBoxSimulation->isChecked();
  const std::pair<QRadioButton*, TCriterion> criteria[] = {
      {RadioButtonBaudouin, TCriterion::BaudouinLebrun},
      {RadioButtonBaudouin2, TCriterion::Baudouin2},
      {RadioButtonRannala, TCriterion::RannalaMountain},
      {RadioButtonPaetkau, TCriterion::Paetkau},
      {RadioButtonNeiStandard, TCriterion::NeiStandard},
      {RadioButtonNeiMinimum, TCriterion::NeiMinimum},
      {RadioButtonNeiDa, TCriterion::NeiDA},
      {RadioButtonCavalliSforza, TCriterion::CavalliSforza},
      {RadioButtonGoldstein, TCriterion::Goldstein},
      {RadioButtonCornuet, TCriterion::Cornuet},
      {RadioButtonRogers, TCriterion::Rogers}};
  const std::pair<QRadioButton*, TMigrantStatistic> statistics[] = {
      {RadioButtonLhome, TMigrantStatistic::Home},
      {RadioButtonLmaxWithHome, TMigrantStatistic::HomeOverMax},
      {RadioButtonLmaxNotHome, TMigrantStatistic::HomeOverMaxNotHome}};
  const std::pair<QRadioButton*, TSimulationAlgorithm> algorithms[] = {
      {RadioButtonASCornuet99, TSimulationAlgorithm::Cornuet1999},
      {RadioButtonASRannala97, TSimulationAlgorithm::Rannala1997},
      {RadioButtonASPaetkau03, TSimulationAlgorithm::Paetkau2004}};
  in.Criterion = CheckedChoice(criteria);
  in.Groups = RadioButtonAssignPopulations->isChecked();
  in.Individuals = RadioButtonAssignIndividuals->isChecked();
  in.MigrantDetection = RadioButtonMigrantsDetection->isChecked();
  in.LikelihoodOption = CheckedChoice(statistics);
  in.SimulationAlgorithm = CheckedChoice(algorithms);
  in.SimulatedIndividualsText = LCDNumberSimulatedIndividuals->Text();
  in.AssignmentThresholdText = LCDNumberAssignmentThreshold->Text();
  in.PvalueText = LCDNumberPvalue->Text();
  in.DefaultFrequencyText = LCDNumberPaetkau->Text();
  return in;
}

void TFormPrinc::automateInterface() {
  Automaton.Inputs = ReadInputs();
  Automaton.Compute();
  ApplyAutomaton();
}

namespace {
void SetAllEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
  for (QWidget* control : controls)
    if (control->isEnabledTo(control->parentWidget()) != enabled) control->setEnabled(enabled);
}
} // namespace

void TFormPrinc::ApplyAutomaton() {
  const TInterfaceAutomate& out = Automaton;
  // 1. Statistics of the reference, start, the number of scores a run can show.
  SetAllEnabled({BitBtnDisplayFrequencyRef}, out.RefStatsEnabled);
  Parameters.GroupAssignment = out.GroupAssignment;
  SetAllEnabled({BitBtnStart}, out.StartEnabled);
  if (out.StartEnabled) SpinEditScores->setMaximum(dataStructureRef.SamplesCount());

  // 2. The criterion and its reference.
  Parameters.Criterion = out.Criterion;
  TextBrowserInformation2->setHtml(ToQt(CriterionReference(out.Criterion)));

  // 3. The default frequency belongs to Paetkau et al.'s criterion.
  const bool paetkau = out.Criterion == TCriterion::Paetkau;
  SetAllEnabled({LabelPaetkau, TrackBarPaetkau, LCDNumberPaetkau}, paetkau);
  if (paetkau) Parameters.DefaultFrequency = out.DefaultFrequency;

  // 4. Disabling the simulation box keeps its check mark.
  SetAllEnabled({CheckBoxSimulation}, out.SimulationAllowed);

  if (out.AssignmentMode) {
    // 5. Assignment: the samples file and what to assign; no likelihood statistic.
    TextBrowserInformation1->clear();
    Parameters.UseSamples = out.UseSamples;
    SetAllEnabled({GroupBoxLikelihoodRatioOption, RadioButtonLhome, RadioButtonLmaxWithHome,
                   RadioButtonLmaxNotHome},
                  false);
    SetAllEnabled({GroupBoxWhatToAssign, RadioButtonAssignIndividuals, RadioButtonAssignPopulations,
                   BitBtnAssignationOuvrirEchantillon, EditAssignationEchantillons,
                   LabelAssignationEchantillons},
                  true);
    LabelAssignationReference->setText(ToQt(kReferencePopulationsLabel()));
  } else {
    // 6. Migrant detection works on one data file: a samples data set is discarded.
    TextBrowserInformation1->setHtml(ToQt(MigrantDetectionReference()));
    SetAllEnabled({GroupBoxWhatToAssign}, false);
    SetAllEnabled({GroupBoxLikelihoodRatioOption, RadioButtonLhome, RadioButtonLmaxWithHome,
                   RadioButtonLmaxNotHome},
                  true);
    SetAllEnabled({BitBtnAssignationOuvrirEchantillon, EditAssignationEchantillons,
                   LabelAssignationEchantillons},
                  false);
    LabelAssignationReference->setText(ToQt(kDataFileLabel()));
    if (SamplesLoaded) {
      dataStructureSample.Clear();
      EditAssignationEchantillons->clear();
      EditAssignationEchantillons->setToolTip(QString());
      SamplesLoaded = false;
      FillLocusList();
    }
    Parameters.LikelihoodOption = out.LikelihoodOption;
  }

  // 7. Probability computation, or scores against the assignment threshold.
  const bool simulation = out.SimulationOn;
  SetAllEnabled({GroupBoxSimulationAlgorithm, GroupBoxNumberOfSimulatedIndividuals,
                 TrackBarSimulatedIndividuals, LCDNumberSimulatedIndividuals, GroupBoxPvalue,
                 TrackBarPvalue, LCDNumberPvalue, RadioButtonASPaetkau03, RadioButtonASCornuet99,
                 RadioButtonASRannala97},
                simulation);
  SetAllEnabled(
      {GroupBoxAssignmentThreshold, TrackBarAssignmentThreshold, LCDNumberAssignmentThreshold},
      !simulation);
  // The number of scores redraws an assignment grid; a migrant grid has one score.
  const bool scoresOffered = !simulation && !shownRun_.Migrants;
  SetAllEnabled({SpinEditScores}, scoresOffered);
  Parameters.SimulationOn = simulation;
  if (simulation) {
    Parameters.SimulationAlgorithm = out.SimulationAlgorithm;
    Parameters.SimulatedCount = out.SimulatedCount;
    TextBrowser1->setHtml(ToQt(AlgorithmReference(out.SimulationAlgorithm)));
  } else {
    TextBrowser1->clear();
  }
  SpinEditScores->setVisible(scoresOffered);
  Label1->setVisible(scoresOffered);

  // 8. What to assign; groups cannot stay chosen while they are not offered.
  SetAllEnabled({RadioButtonAssignPopulations, RadioButtonAssignIndividuals}, out.GroupsEnabled);
  if (!out.GroupsEnabled && RadioButtonAssignPopulations->isChecked())
    RadioButtonAssignIndividuals->setChecked(true);

  // 9. Threshold and number formats of the results.
  Parameters.Threshold = out.Threshold;
  Parameters.ThresholdFormat = out.ThresholdFormat;
  Parameters.ProbabilityFormat = out.ProbabilityFormat;

  // 10. Clearing and statistics of each data set.
  SetAllEnabled({SpeedButtonClearReference, BitBtnDisplayFrequencyRef}, RefLoaded);
  SetAllEnabled({SpeedButtonClearSamples, BitBtnDisplayFrequencySamp}, SamplesLoaded);

  // Export and printing need the table of a run shown in the grid.
  SetAllEnabled({BitBtnExportResults, BitBtnPrintResults}, shownTable_ != nullptr);
  SetAllEnabled({BitBtnPlots}, LastRun.Available());

  // Menu and tool bar follow the buttons: nothing to save without a data set, no samples file
  // in migrant detection.
  if (!running_) {
    menuItemSauverReference->setEnabled(RefLoaded);
    ToolButtonSauver->setEnabled(RefLoaded);
    menuItemSauverEchantillon->setEnabled(SamplesLoaded);
    menuItemOuvrirEchantillon->setEnabled(out.AssignmentMode);
  }
}

// ---- the locus list

void TFormPrinc::FillLocusList() {
  loci_.clear();
  if (RefLoaded)
    loci_ = LocusListAfterLoad(dataStructureRef, SamplesLoaded ? &dataStructureSample : nullptr);
  ShowLocusList();
}

void TFormPrinc::ShowLocusList() {
  const QSignalBlocker blocker(CheckListBoxFiltreLocus);
  CheckListBoxFiltreLocus->clear();
  for (const TLocusChoice& choice : loci_) {
    auto* item = new QListWidgetItem(ToQt(choice.Name), CheckListBoxFiltreLocus);
    // A locus that some reference population has not typed cannot be chosen.
    item->setFlags(choice.Available ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                                    : Qt::NoItemFlags);
    item->setCheckState(choice.Checked ? Qt::Checked : Qt::Unchecked);
  }
}

void TFormPrinc::LocusItemChanged(QListWidgetItem* item) {
  const int row = CheckListBoxFiltreLocus->row(item);
  if (row < 0 || row >= static_cast<int>(loci_.size())) return;
  TLocusChoice& choice = loci_[static_cast<size_t>(row)];
  choice.Checked = choice.Available && item->checkState() == Qt::Checked;
}

void TFormPrinc::BitBtnFiltreLocusTousClick() {
  CheckAllLoci(loci_);
  ShowLocusList();
}

void TFormPrinc::BitBtnFiltreLocusAucunClick() {
  UncheckAllLoci(loci_);
  ShowLocusList();
}

// ---- statistics windows

void TFormPrinc::BitBtnDisplayFrequencyRefClick() {
  ShowStatistics(FrequencyDisplayRef);
}

void TFormPrinc::BitBtnDisplayFrequencySampClick() {
  ShowStatistics(FrequencyDisplaySample);
}

void TFormPrinc::ShowStatistics(TFrequencyDisplay& display) {
  TFormFrequencyDisplay* window = display.ShowStatistics(services_, this);
  StatsWindows.emplace_back(window);
  connect(window, &TFormFrequencyDisplay::Closed, this, [this](TFormFrequencyDisplay* closed) {
    std::erase_if(StatsWindows, [closed](const QPointer<TFormFrequencyDisplay>& open) {
      return !open || open.data() == closed;
    });
    RebuildWindowsMenu();
  });
  RebuildWindowsMenu();
}

void TFormPrinc::RebuildWindowsMenu() {
  std::erase_if(StatsWindows, [](const QPointer<TFormFrequencyDisplay>& open) { return !open; });
  std::erase_if(PlotWindows, [](const QPointer<TFormPlot>& open) { return !open; });
  // The statistics windows, then the plot windows.
  std::vector<QWidget*> windows(StatsWindows.begin(), StatsWindows.end());
  windows.insert(windows.end(), PlotWindows.begin(), PlotWindows.end());
  menuItemFenetres->clear();
  for (QWidget* target : windows) {
    QString caption = target->windowTitle();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = menuItemFenetres->addAction(caption);
    connect(item, &QAction::triggered, target, [target] {
      target->showNormal();
      target->raise();
      target->activateWindow();
    });
  }
}
