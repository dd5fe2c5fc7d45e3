// The main window: the two data sets (reference populations and samples to treat), the
// parameter tabs ruled by the parameter automaton, the locus list, the statistics windows and
// their "&Fenêtres" menu, the journal, the progress bar, the status bar and the Stop button that
// locks everything else while a file loads or a run computes.
//
// The slots copy the state of the controls into the toolkit-free code (TInterfaceAutomate,
// TRunDriver, TPGDSStructure, the statistics grid) and show what comes back.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/InterfaceAutomate.h"
#include "app/ResultsGrid.h"
#include "app/RunDriver.h"
#include "app/window/FrequencyDisplay.h"
#include "app/window/PlotSource.h"
#include "app/window/ToolkitServices.h"
#include "dataset/PGDSStructure.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTextBrowser;
class QToolBar;
class QToolButton;
class TFormFrequencyDisplay;
class TFormPlot;
class TNumberDisplay;
class TResultsTableModel;
class TToolkitServices;

// What the next run computes, as the parameter automaton last stored it.
struct TRunParameters {
  bool UseSamples = false;
  bool GroupAssignment = false;
  bool SimulationOn = false;
  TSimulationAlgorithm SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  std::int32_t SimulatedCount = 1000;
  Extended Threshold = 0.05L;
  std::string ThresholdFormat = "%.3f";
  std::string ProbabilityFormat = "%.3f";
  TCriterion Criterion = TCriterion::RannalaMountain;
  TMigrantStatistic LikelihoodOption = TMigrantStatistic::HomeOverMax;
  Extended DefaultFrequency = 0.01L;
};

// How the grid on the "Résultats" tab was laid out: the settings of the run that produced it,
// kept so that changing the number of scores redraws that run's table as it was computed.
struct TShownRun {
  bool Migrants = false;
  TCriterion Criterion = TCriterion::RannalaMountain;
  bool SimulationOn = false;
  TMigrantStatistic LikelihoodOption = TMigrantStatistic::HomeOverMax;
  int MigrantCount = 0;
  TGridSettings Settings;
};

class TFormSplash;

class TFormPrinc : public QMainWindow, public TRunSink {
  Q_OBJECT

public:
  // The window is ready when constructed (FormCreate and FormLoaded); FormShow runs when it is
  // first shown.
  explicit TFormPrinc(TToolkitServices& services, QWidget* parent = nullptr);
  ~TFormPrinc() override;

  // The data sets and their statistics.
  TPGDSStructure dataStructureRef;
  TPGDSStructure dataStructureSample;
  TFrequencyDisplay FrequencyDisplayRef{dataStructureRef};
  TFrequencyDisplay FrequencyDisplaySample{dataStructureSample};

  bool RefLoaded = false;
  bool SamplesLoaded = false;
  TRunParameters Parameters;
  TInterfaceAutomate Automaton;
  TRunDriver Driver{*this};
  // The open statistics windows, in opening order (not owned: each closes itself).
  std::vector<QPointer<TFormFrequencyDisplay>> StatsWindows;
  // The run the grid shows, as the plot windows draw it; empty before the first one.
  TPlotSource LastRun;
  // The open plot windows, in opening order (not owned: each closes itself).
  std::vector<QPointer<TFormPlot>> PlotWindows;

  // Loads a data set from `path` as the open buttons do, trying the reader of `format` first
  // (TReadFormat::Unknown: the format is found from the file).
  void OpenReference(const std::string& path, TReadFormat format);
  void OpenSamples(const std::string& path, TReadFormat format);

  // The locus list as the window shows it.
  const std::vector<TLocusChoice>& LocusChoices() const { return loci_; }
  bool Running() const { return running_; }
  // The grid on the "Résultats" tab and the table of the run it shows (null before any run).
  const TResultsGrid& ResultsGrid() const;
  const TTableResultats* ShownTable() const { return shownTable_.get(); }
  // Switches the texts of the program, of the window's controls, of the splash window and of the
  // statistics windows opened from now on (1036 French, 2057 English, any other id French), and
  // keeps the id in the user's configuration file.
  void SetLanguage(int id);
  // Opens a plot window for the last completed run (nothing without one).
  void ShowPlots();
  // The language id of the configuration file, as the window was started with or last set (an
  // id other than 1036 and 2057 is kept as it is, and gives French texts).
  int CurrentLanguage = 0;
  // Reads CurrentLanguage from the configuration file.
  void ReadLanguage();
  // Checks the "Langue" item whose id is CurrentLanguage, and no other.
  void UpdateLanguageMenu();
  // The splash window, shown at start and by "A propos ...": a window of its own, so that it
  // stays usable while the main window waits for it.
  std::unique_ptr<TFormSplash> Splash;

  // Window lock, journal and progress.
  void SetRunningState(bool running) override;
  void AppendJournal(const std::string& line) override;
  void Warning(const std::string& text) override;
  void Message(const std::string& text) override;
  bool Confirm(const std::string& question) override;
  void SetStatus(int panel, const std::string& text) override;
  void SetProgress(int percent) override;
  void ProcessEvents() override;
  void ShowJournalTab() override;
  void ShowResults(const TRunOutcome& outcome) override;
  void EngineProgress(int percent, const std::string& text2, const std::string& text3, bool& abort);
  void dataStructureDataStructureEvent(TLogger& sender, int position, bool& abort);

public slots:
  void automateInterface();
  void TrackBarAssignmentThresholdChange();
  void TrackBarPvalueChange();
  void TrackBarPaetkauChange();
  void TrackBarSimulatedIndividualsChange();
  void BitBtnAssignationOuvrirReferenceClick();
  void BitBtnAssignationOuvrirEchantillonClick();
  void SpeedButtonClearReferenceClick();
  void SpeedButtonClearSamplesClick();
  void menuItemSauverReferenceClick();
  void menuItemSauverEchantillonClick();
  void ToolButtonSauverClick();
  void BitBtnFiltreLocusTousClick();
  void BitBtnFiltreLocusAucunClick();
  void BitBtnDisplayFrequencyRefClick();
  void BitBtnDisplayFrequencySampClick();
  void menuItemQuitterClick();
  void MenuItemAideClick();
  void WWW1Click();
  void Apropos1Click();
  void BitBtnStartClick();
  void ToolButtonArretClick();
  void ProgressBarChanging(int position);
  void SpinEditScoresChanged();
  void BitBtnExportResultsClick();
  void BitBtnPrintResultsClick();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  TToolkitServices& services_;
  bool running_ = false;
  bool shown_ = false;
  // Mixed ploidy of the loaded reference, found once per load.
  bool mixedPloidy_ = false;
  std::vector<TLocusChoice> loci_;
  // The criterion radios, in several boxes, of which exactly one is checked.
  QButtonGroup* criteria_ = nullptr;
  std::vector<TFileFilter> openFilters_;
  std::vector<TFileFilter> saveFilters_;
  // The results grid's model, and the run it shows: its table (moved from the driver once the
  // run has written its last journal line) and its settings.
  TResultsTableModel* resultsModel_ = nullptr;
  std::shared_ptr<const TTableResultats> shownTable_;
  TShownRun shownRun_;
  // The settings of the run in progress; whether it reached the grid.
  TShownRun pendingRun_;
  bool newResults_ = false;

  void BuildMenus();
  void BuildToolBar();
  QWidget* BuildParametersTab();
  QWidget* BuildObjectiveTab();
  QWidget* BuildCriterionTab();
  QWidget* BuildProbabilityTab();
  QWidget* BuildLociTab();
  QWidget* BuildResultsTab();
  QWidget* BuildJournalTab();
  void BuildStatusBar();
  void BuildDialogFilters();
  void ApplyControlTexts();
  void FormShow();

  // One open button: the dialog, then the load.
  void OpenFromDialog(bool reference);
  void Load(bool reference, const std::string& path, TReadFormat format);
  void Clear(bool reference);
  void Save(bool reference);
  void ShowStatistics(TFrequencyDisplay& display);
  void RebuildWindowsMenu();
  void FillLocusList();
  void ShowLocusList();
  void LocusItemChanged(QListWidgetItem* item);
  TAutomateInputs ReadInputs() const;
  void ApplyAutomaton();
  void SetEnabled(QWidget* control, bool enabled);
  // The grid of `table` laid out with the shown run's settings and the number of scores.
  void FillResultsGrid(const TTableResultats& table);
  void AutoSizeGridColumns();
  std::vector<int> GridColumnWidths() const;

public:
  // Controls, named as their objectName.
  QMenu* menuFichier = nullptr;
  QAction* menuItemOuvrirReference = nullptr;
  QAction* menuItemOuvrirEchantillon = nullptr;
  QAction* menuItemSauverReference = nullptr;
  QAction* menuItemSauverEchantillon = nullptr;
  QAction* menuItemQuitter = nullptr;
  QMenu* menuItemFenetres = nullptr;
  QMenu* menuLangue = nullptr;
  QAction* Franais1 = nullptr;
  QAction* Anglais1 = nullptr;
  QMenu* menuAide = nullptr;
  QAction* MenuItemAide = nullptr;
  QAction* Apropos1 = nullptr;
  QAction* WWW1 = nullptr;

  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButtonOuvrir = nullptr;
  QToolButton* ToolButtonSauver = nullptr;
  QToolButton* ToolButtonArret = nullptr;

  QTabWidget* PageControlPrinc = nullptr;
  QWidget* TabSheetParameters = nullptr;
  QWidget* TabSheetResultats = nullptr;
  QWidget* TabSheetJournal = nullptr;

  QLabel* LabelAssignationReference = nullptr;
  QLineEdit* EditAssignationReference = nullptr;
  QPushButton* BitBtnAssignationOuvrirReference = nullptr;
  QPushButton* SpeedButtonClearReference = nullptr;
  QPushButton* BitBtnDisplayFrequencyRef = nullptr;
  QLabel* LabelAssignationEchantillons = nullptr;
  QLineEdit* EditAssignationEchantillons = nullptr;
  QPushButton* BitBtnAssignationOuvrirEchantillon = nullptr;
  QPushButton* SpeedButtonClearSamples = nullptr;
  QPushButton* BitBtnDisplayFrequencySamp = nullptr;
  QTabWidget* PageControlParameters = nullptr;
  QPushButton* BitBtnStart = nullptr;

  QWidget* TabSheetObjective = nullptr;
  QGroupBox* GroupBoxObjective = nullptr;
  QRadioButton* RadioButtonAssignment = nullptr;
  QRadioButton* RadioButtonMigrantsDetection = nullptr;
  QGroupBox* GroupBoxWhatToAssign = nullptr;
  QRadioButton* RadioButtonAssignIndividuals = nullptr;
  QRadioButton* RadioButtonAssignPopulations = nullptr;
  QGroupBox* GroupBoxAssignmentThreshold = nullptr;
  QSlider* TrackBarAssignmentThreshold = nullptr;
  TNumberDisplay* LCDNumberAssignmentThreshold = nullptr;
  QGroupBox* GroupBoxLikelihoodRatioOption = nullptr;
  QRadioButton* RadioButtonLhome = nullptr;
  QRadioButton* RadioButtonLmaxWithHome = nullptr;
  QRadioButton* RadioButtonLmaxNotHome = nullptr;
  QTextBrowser* TextBrowserInformation1 = nullptr;

  QWidget* TabSheetCriterion = nullptr;
  QGroupBox* RadioGroupBayesien = nullptr;
  QRadioButton* RadioButtonRannala = nullptr;
  QRadioButton* RadioButtonBaudouin = nullptr;
  QRadioButton* RadioButtonBaudouin2 = nullptr;
  QGroupBox* RadioGroupVraisemblance = nullptr;
  QRadioButton* RadioButtonCornuet = nullptr;
  QGroupBox* RadioGroupFrequencies = nullptr;
  QRadioButton* RadioButtonPaetkau = nullptr;
  QLabel* LabelPaetkau = nullptr;
  QSlider* TrackBarPaetkau = nullptr;
  TNumberDisplay* LCDNumberPaetkau = nullptr;
  QGroupBox* RadioGroupDistances = nullptr;
  QRadioButton* RadioButtonNeiStandard = nullptr;
  QRadioButton* RadioButtonNeiMinimum = nullptr;
  QRadioButton* RadioButtonNeiDa = nullptr;
  QRadioButton* RadioButtonCavalliSforza = nullptr;
  QRadioButton* RadioButtonGoldstein = nullptr;
  QRadioButton* RadioButtonRogers = nullptr;
  QTextBrowser* TextBrowserInformation2 = nullptr;

  QWidget* TabSheetProbability = nullptr;
  QCheckBox* CheckBoxSimulation = nullptr;
  QGroupBox* GroupBoxSimulationAlgorithm = nullptr;
  QRadioButton* RadioButtonASPaetkau03 = nullptr;
  QRadioButton* RadioButtonASCornuet99 = nullptr;
  QRadioButton* RadioButtonASRannala97 = nullptr;
  QGroupBox* GroupBoxNumberOfSimulatedIndividuals = nullptr;
  QSlider* TrackBarSimulatedIndividuals = nullptr;
  TNumberDisplay* LCDNumberSimulatedIndividuals = nullptr;
  QGroupBox* GroupBoxPvalue = nullptr;
  QSlider* TrackBarPvalue = nullptr;
  TNumberDisplay* LCDNumberPvalue = nullptr;
  QTextBrowser* TextBrowser1 = nullptr;

  QWidget* TabSheetLociSelection = nullptr;
  QGroupBox* GroupBoxFiltreLocus = nullptr;
  QListWidget* CheckListBoxFiltreLocus = nullptr;
  QPushButton* BitBtnFiltreLocusTous = nullptr;
  QPushButton* BitBtnFiltreLocusAucun = nullptr;

  QLabel* LabelScore = nullptr;
  QLabel* LabelBC = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* SpinEditScores = nullptr;
  QPushButton* BitBtnPrintResults = nullptr;
  QPushButton* BitBtnExportResults = nullptr;
  QPushButton* BitBtnPlots = nullptr;
  QTableView* StringGridAssignation = nullptr;

  QLabel* LabelJournal = nullptr;
  QPlainTextEdit* MemoJournal = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QStatusBar* StatusBar = nullptr;
  QLabel* StatusPanels[4] = {};
};
