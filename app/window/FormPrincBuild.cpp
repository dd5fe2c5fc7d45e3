// Construction of the main window's controls, menus, tool bar and status bar, and their texts.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/window/FormPrinc.h"
#include "app/window/NumberDisplay.h"
#include "app/window/PlotWindowTexts.h"
#include "app/window/ResultsTableModel.h"
#include "app/window/TextConversion.h"
#include "app/window/WindowTexts.h"
#include "app/AppTexts.h"

namespace {

template <typename T, typename... Args>
T* Make(const char* name, Args&&... args) {
  T* control = new T(std::forward<Args>(args)...);
  control->setObjectName(name);
  return control;
}

// The layout of a group box: close lines, so that every tab fits the window's 780 x 580.
template <typename Layout>
Layout* GroupLayout(QGroupBox* group) {
  auto* layout = new Layout(group);
  layout->setContentsMargins(8, 2, 8, 2);
  layout->setSpacing(0);
  return layout;
}

QSlider* MakeTrackBar(const char* name, int minimum, int maximum, int position) {
  auto* slider = Make<QSlider>(name, Qt::Horizontal);
  slider->setRange(minimum, maximum);
  slider->setValue(position);
  slider->setPageStep(1);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(1);
  return slider;
}

// A track bar and its number display side by side in a group box.
QGroupBox* TrackBarGroup(const char* name, QSlider* slider, QLCDNumber* display) {
  auto* group = Make<QGroupBox>(name);
  auto* row = GroupLayout<QHBoxLayout>(group);
  row->addWidget(slider, 1);
  display->setMinimumSize(110, 34);
  row->addWidget(display);
  return group;
}

QTextBrowser* MakeInformation(const char* name) {
  auto* box = Make<QTextBrowser>(name);
  box->setOpenLinks(false);
  box->setMinimumHeight(48);
  return box;
}

// A caption of the program shown by Qt: "&" before a blank is a shown ampersand ("Rannala &
// Mountain"), "&" before a letter marks the accelerator.
QString Caption(const TText& text) {
  QString caption = ToQt(text());
  caption.replace(QStringLiteral("& "), QStringLiteral("&& "));
  return caption;
}

} // namespace

void TFormPrinc::BuildMenus() {
  menuFichier = menuBar()->addMenu(QString());
  menuFichier->setObjectName("menuFichier");
  menuItemOuvrirReference = menuFichier->addAction(
      QString(), this, &TFormPrinc::BitBtnAssignationOuvrirReferenceClick);
  menuItemOuvrirReference->setObjectName("menuItemOuvrirReference");
  menuItemOuvrirEchantillon = menuFichier->addAction(
      QString(), this, &TFormPrinc::BitBtnAssignationOuvrirEchantillonClick);
  menuItemOuvrirEchantillon->setObjectName("menuItemOuvrirEchantillon");
  menuItemSauverReference =
      menuFichier->addAction(QString(), this, &TFormPrinc::menuItemSauverReferenceClick);
  menuItemSauverReference->setObjectName("menuItemSauverReference");
  menuItemSauverEchantillon =
      menuFichier->addAction(QString(), this, &TFormPrinc::menuItemSauverEchantillonClick);
  menuItemSauverEchantillon->setObjectName("menuItemSauverEchantillon");
  menuFichier->addSeparator();
  menuItemQuitter = menuFichier->addAction(QString(), this, &TFormPrinc::menuItemQuitterClick);
  menuItemQuitter->setObjectName("menuItemQuitter");
  menuItemQuitter->setShortcut(QKeySequence::Quit);

  menuItemFenetres = menuBar()->addMenu(QString());
  menuItemFenetres->setObjectName("menuItemFenetres");

  menuLangue = menuBar()->addMenu(QString());
  menuLangue->setObjectName("menuLangue");
  Franais1 = menuLangue->addAction(QString(), this, [this] { SetLanguage(lang::French); });
  Franais1->setObjectName("Franais1");
  Anglais1 = menuLangue->addAction(QString(), this, [this] { SetLanguage(lang::English); });
  Anglais1->setObjectName("Anglais1");
  for (QAction* item : {Franais1, Anglais1})
    item->setCheckable(true);

  menuAide = menuBar()->addMenu(QString());
  menuAide->setObjectName("menuAide");
  MenuItemAide = menuAide->addAction(QString(), this, &TFormPrinc::MenuItemAideClick);
  MenuItemAide->setObjectName("MenuItemAide");
  Apropos1 = menuAide->addAction(QString(), this, &TFormPrinc::Apropos1Click);
  Apropos1->setObjectName("Apropos1");
  WWW1 = menuAide->addAction(QString(), this, &TFormPrinc::WWW1Click);
  WWW1->setObjectName("WWW1");
}

void TFormPrinc::BuildToolBar() {
  ToolBar1 = Make<QToolBar>("ToolBar1");
  ToolBar1->setMovable(false);
  addToolBar(ToolBar1);
  ToolButtonOuvrir = Make<QToolButton>("ToolButtonOuvrir");
  ToolButtonOuvrir->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  connect(ToolButtonOuvrir, &QToolButton::clicked, this,
          &TFormPrinc::BitBtnAssignationOuvrirReferenceClick);
  ToolButtonSauver = Make<QToolButton>("ToolButtonSauver");
  ToolButtonSauver->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  connect(ToolButtonSauver, &QToolButton::clicked, this, &TFormPrinc::ToolButtonSauverClick);
  ToolButtonArret = Make<QToolButton>("ToolButtonArret");
  ToolButtonArret->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
  connect(ToolButtonArret, &QToolButton::clicked, this, &TFormPrinc::ToolButtonArretClick);
  ToolBar1->addWidget(ToolButtonOuvrir);
  ToolBar1->addWidget(ToolButtonSauver);
  ToolBar1->addSeparator();
  ToolBar1->addWidget(ToolButtonArret);
}

QWidget* TFormPrinc::BuildParametersTab() {
  TabSheetParameters = Make<QWidget>("TabSheetParameters");
  auto* column = new QVBoxLayout(TabSheetParameters);
  auto* files = new QGridLayout();
  column->addLayout(files);

  LabelAssignationReference = Make<QLabel>("LabelAssignationReference");
  EditAssignationReference = Make<QLineEdit>("EditAssignationReference");
  BitBtnAssignationOuvrirReference = Make<QPushButton>("BitBtnAssignationOuvrirReference");
  SpeedButtonClearReference = Make<QPushButton>("SpeedButtonClearReference");
  BitBtnDisplayFrequencyRef = Make<QPushButton>("BitBtnDisplayFrequencyRef");
  LabelAssignationEchantillons = Make<QLabel>("LabelAssignationEchantillons");
  EditAssignationEchantillons = Make<QLineEdit>("EditAssignationEchantillons");
  BitBtnAssignationOuvrirEchantillon = Make<QPushButton>("BitBtnAssignationOuvrirEchantillon");
  SpeedButtonClearSamples = Make<QPushButton>("SpeedButtonClearSamples");
  BitBtnDisplayFrequencySamp = Make<QPushButton>("BitBtnDisplayFrequencySamp");
  const QWidget* rows[2][5] = {
      {LabelAssignationReference, EditAssignationReference, BitBtnAssignationOuvrirReference,
       SpeedButtonClearReference, BitBtnDisplayFrequencyRef},
      {LabelAssignationEchantillons, EditAssignationEchantillons,
       BitBtnAssignationOuvrirEchantillon, SpeedButtonClearSamples, BitBtnDisplayFrequencySamp}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 5; ++c)
      files->addWidget(const_cast<QWidget*>(rows[r][c]), r, c);
  files->setColumnStretch(1, 1);
  for (QLineEdit* edit : {EditAssignationReference, EditAssignationEchantillons})
    edit->setReadOnly(true);
  LabelAssignationReference->setBuddy(EditAssignationReference);
  LabelAssignationEchantillons->setBuddy(EditAssignationEchantillons);
  SpeedButtonClearReference->setEnabled(false);
  BitBtnDisplayFrequencyRef->setEnabled(false);
  SpeedButtonClearSamples->setEnabled(false);
  BitBtnDisplayFrequencySamp->setEnabled(false);
  connect(BitBtnAssignationOuvrirReference, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnAssignationOuvrirReferenceClick);
  connect(BitBtnAssignationOuvrirEchantillon, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnAssignationOuvrirEchantillonClick);
  connect(SpeedButtonClearReference, &QPushButton::clicked, this,
          &TFormPrinc::SpeedButtonClearReferenceClick);
  connect(SpeedButtonClearSamples, &QPushButton::clicked, this,
          &TFormPrinc::SpeedButtonClearSamplesClick);
  connect(BitBtnDisplayFrequencyRef, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnDisplayFrequencyRefClick);
  connect(BitBtnDisplayFrequencySamp, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnDisplayFrequencySampClick);

  PageControlParameters = Make<QTabWidget>("PageControlParameters");
  PageControlParameters->addTab(BuildObjectiveTab(), QString());
  PageControlParameters->addTab(BuildCriterionTab(), QString());
  PageControlParameters->addTab(BuildProbabilityTab(), QString());
  PageControlParameters->addTab(BuildLociTab(), QString());
  column->addWidget(PageControlParameters, 1);

  BitBtnStart = Make<QPushButton>("BitBtnStart");
  BitBtnStart->setMinimumHeight(32);
  connect(BitBtnStart, &QPushButton::clicked, this, &TFormPrinc::BitBtnStartClick);
  column->addWidget(BitBtnStart);
  return TabSheetParameters;
}

QWidget* TFormPrinc::BuildObjectiveTab() {
  TabSheetObjective = Make<QWidget>("TabSheetObjective");
  auto* grid = new QGridLayout(TabSheetObjective);

  GroupBoxObjective = Make<QGroupBox>("GroupBoxObjective");
  auto* goal = GroupLayout<QVBoxLayout>(GroupBoxObjective);
  RadioButtonAssignment = Make<QRadioButton>("RadioButtonAssignment");
  RadioButtonMigrantsDetection = Make<QRadioButton>("RadioButtonMigrantsDetection");
  RadioButtonAssignment->setChecked(true);
  goal->addWidget(RadioButtonAssignment);
  goal->addWidget(RadioButtonMigrantsDetection);
  grid->addWidget(GroupBoxObjective, 0, 0, 1, 3);

  GroupBoxWhatToAssign = Make<QGroupBox>("GroupBoxWhatToAssign");
  auto* what = GroupLayout<QVBoxLayout>(GroupBoxWhatToAssign);
  RadioButtonAssignIndividuals = Make<QRadioButton>("RadioButtonAssignIndividuals");
  RadioButtonAssignPopulations = Make<QRadioButton>("RadioButtonAssignPopulations");
  RadioButtonAssignIndividuals->setChecked(true);
  what->addWidget(RadioButtonAssignIndividuals);
  what->addWidget(RadioButtonAssignPopulations);
  grid->addWidget(GroupBoxWhatToAssign, 1, 0);

  GroupBoxLikelihoodRatioOption = Make<QGroupBox>("GroupBoxLikelihoodRatioOption");
  auto* likelihood = GroupLayout<QVBoxLayout>(GroupBoxLikelihoodRatioOption);
  RadioButtonLhome = Make<QRadioButton>("RadioButtonLhome");
  RadioButtonLmaxWithHome = Make<QRadioButton>("RadioButtonLmaxWithHome");
  RadioButtonLmaxNotHome = Make<QRadioButton>("RadioButtonLmaxNotHome");
  RadioButtonLmaxWithHome->setChecked(true);
  for (QRadioButton* radio : {RadioButtonLhome, RadioButtonLmaxWithHome, RadioButtonLmaxNotHome})
    likelihood->addWidget(radio);
  grid->addWidget(GroupBoxLikelihoodRatioOption, 1, 1);

  TrackBarAssignmentThreshold =
      MakeTrackBar("TrackBarAssignmentThreshold", trackbar::ThresholdMin, trackbar::ThresholdMax,
                   trackbar::ThresholdDefault);
  LCDNumberAssignmentThreshold = new TNumberDisplay(6, nullptr);
  LCDNumberAssignmentThreshold->setObjectName("LCDNumberAssignmentThreshold");
  LCDNumberAssignmentThreshold->SetText(AssignmentThresholdText(trackbar::ThresholdDefault));
  GroupBoxAssignmentThreshold = TrackBarGroup(
      "GroupBoxAssignmentThreshold", TrackBarAssignmentThreshold, LCDNumberAssignmentThreshold);
  grid->addWidget(GroupBoxAssignmentThreshold, 1, 2);

  TextBrowserInformation1 = MakeInformation("TextBrowserInformation1");
  grid->addWidget(TextBrowserInformation1, 2, 0, 1, 3);
  grid->setRowStretch(2, 1);

  for (QRadioButton* radio :
       {RadioButtonAssignment, RadioButtonMigrantsDetection, RadioButtonAssignIndividuals,
        RadioButtonAssignPopulations, RadioButtonLhome, RadioButtonLmaxWithHome,
        RadioButtonLmaxNotHome})
    connect(radio, &QRadioButton::clicked, this, &TFormPrinc::automateInterface);
  connect(TrackBarAssignmentThreshold, &QSlider::valueChanged, this,
          &TFormPrinc::TrackBarAssignmentThresholdChange);
  return TabSheetObjective;
}

QWidget* TFormPrinc::BuildCriterionTab() {
  TabSheetCriterion = Make<QWidget>("TabSheetCriterion");
  auto* grid = new QGridLayout(TabSheetCriterion);
  // The criterion radios sit in several boxes but exactly one of them is checked.
  criteria_ = new QButtonGroup(this);
  criteria_->setExclusive(true);
  auto radio = [this](const char* name, QVBoxLayout* box) {
    auto* button = Make<QRadioButton>(name);
    box->addWidget(button);
    criteria_->addButton(button);
    connect(button, &QRadioButton::clicked, this, &TFormPrinc::automateInterface);
    return button;
  };

  RadioGroupBayesien = Make<QGroupBox>("RadioGroupBayesien");
  auto* bayesian = GroupLayout<QVBoxLayout>(RadioGroupBayesien);
  RadioButtonRannala = radio("RadioButtonRannala", bayesian);
  RadioButtonBaudouin = radio("RadioButtonBaudouin", bayesian);
  RadioButtonBaudouin2 = radio("RadioButtonBaudouin2", bayesian);
  RadioButtonRannala->setChecked(true);
  grid->addWidget(RadioGroupBayesien, 0, 0);

  RadioGroupVraisemblance = Make<QGroupBox>("RadioGroupVraisemblance");
  auto* probability = GroupLayout<QVBoxLayout>(RadioGroupVraisemblance);
  RadioButtonCornuet = radio("RadioButtonCornuet", probability);
  grid->addWidget(RadioGroupVraisemblance, 1, 0);

  RadioGroupFrequencies = Make<QGroupBox>("RadioGroupFrequencies");
  auto* frequencies = GroupLayout<QVBoxLayout>(RadioGroupFrequencies);
  RadioButtonPaetkau = radio("RadioButtonPaetkau", frequencies);
  LabelPaetkau = Make<QLabel>("LabelPaetkau");
  frequencies->addWidget(LabelPaetkau);
  auto* frequencyRow = new QHBoxLayout();
  TrackBarPaetkau = MakeTrackBar("TrackBarPaetkau", trackbar::PaetkauMin, trackbar::PaetkauMax,
                                 trackbar::PaetkauDefault);
  LCDNumberPaetkau = new TNumberDisplay(6, nullptr);
  LCDNumberPaetkau->setObjectName("LCDNumberPaetkau");
  LCDNumberPaetkau->SetText(DefaultFrequencyText(trackbar::PaetkauDefault));
  LCDNumberPaetkau->setMinimumSize(110, 34);
  LabelPaetkau->setBuddy(TrackBarPaetkau);
  frequencyRow->addWidget(TrackBarPaetkau, 1);
  frequencyRow->addWidget(LCDNumberPaetkau);
  frequencies->addLayout(frequencyRow);
  grid->addWidget(RadioGroupFrequencies, 2, 0);
  connect(TrackBarPaetkau, &QSlider::valueChanged, this, &TFormPrinc::TrackBarPaetkauChange);

  RadioGroupDistances = Make<QGroupBox>("RadioGroupDistances");
  auto* distances = GroupLayout<QVBoxLayout>(RadioGroupDistances);
  RadioButtonNeiStandard = radio("RadioButtonNeiStandard", distances);
  RadioButtonNeiMinimum = radio("RadioButtonNeiMinimum", distances);
  RadioButtonNeiDa = radio("RadioButtonNeiDa", distances);
  RadioButtonCavalliSforza = radio("RadioButtonCavalliSforza", distances);
  RadioButtonGoldstein = radio("RadioButtonGoldstein", distances);
  RadioButtonRogers = radio("RadioButtonRogers", distances);
  distances->addStretch(1);
  grid->addWidget(RadioGroupDistances, 0, 1, 3, 1);

  TextBrowserInformation2 = MakeInformation("TextBrowserInformation2");
  grid->addWidget(TextBrowserInformation2, 3, 0, 1, 2);
  grid->setRowStretch(3, 1);
  return TabSheetCriterion;
}

QWidget* TFormPrinc::BuildProbabilityTab() {
  TabSheetProbability = Make<QWidget>("TabSheetProbability");
  auto* grid = new QGridLayout(TabSheetProbability);
  CheckBoxSimulation = Make<QCheckBox>("CheckBoxSimulation");
  connect(CheckBoxSimulation, &QCheckBox::clicked, this, &TFormPrinc::automateInterface);
  grid->addWidget(CheckBoxSimulation, 0, 0, 1, 2);

  GroupBoxSimulationAlgorithm = Make<QGroupBox>("GroupBoxSimulationAlgorithm");
  auto* algorithms = GroupLayout<QVBoxLayout>(GroupBoxSimulationAlgorithm);
  RadioButtonASPaetkau03 = Make<QRadioButton>("RadioButtonASPaetkau03");
  RadioButtonASCornuet99 = Make<QRadioButton>("RadioButtonASCornuet99");
  RadioButtonASRannala97 = Make<QRadioButton>("RadioButtonASRannala97");
  RadioButtonASPaetkau03->setChecked(true);
  for (QRadioButton* radio :
       {RadioButtonASPaetkau03, RadioButtonASCornuet99, RadioButtonASRannala97}) {
    algorithms->addWidget(radio);
    connect(radio, &QRadioButton::clicked, this, &TFormPrinc::automateInterface);
  }
  grid->addWidget(GroupBoxSimulationAlgorithm, 1, 0, 2, 1);

  TrackBarSimulatedIndividuals =
      MakeTrackBar("TrackBarSimulatedIndividuals", trackbar::SimulatedMin, trackbar::SimulatedMax,
                   trackbar::SimulatedDefault);
  LCDNumberSimulatedIndividuals = new TNumberDisplay(7, nullptr);
  LCDNumberSimulatedIndividuals->setObjectName("LCDNumberSimulatedIndividuals");
  LCDNumberSimulatedIndividuals->SetText(SimulatedIndividualsText(trackbar::SimulatedDefault));
  GroupBoxNumberOfSimulatedIndividuals =
      TrackBarGroup("GroupBoxNumberOfSimulatedIndividuals", TrackBarSimulatedIndividuals,
                    LCDNumberSimulatedIndividuals);
  grid->addWidget(GroupBoxNumberOfSimulatedIndividuals, 1, 1);
  connect(TrackBarSimulatedIndividuals, &QSlider::valueChanged, this,
          &TFormPrinc::TrackBarSimulatedIndividualsChange);

  TrackBarPvalue = MakeTrackBar("TrackBarPvalue", trackbar::PvalueMin, trackbar::PvalueMax,
                                trackbar::PvalueDefault);
  LCDNumberPvalue = new TNumberDisplay(6, nullptr);
  LCDNumberPvalue->setObjectName("LCDNumberPvalue");
  LCDNumberPvalue->SetText(PvalueText(trackbar::PvalueDefault));
  GroupBoxPvalue = TrackBarGroup("GroupBoxPvalue", TrackBarPvalue, LCDNumberPvalue);
  grid->addWidget(GroupBoxPvalue, 2, 1);
  connect(TrackBarPvalue, &QSlider::valueChanged, this, &TFormPrinc::TrackBarPvalueChange);

  TextBrowser1 = MakeInformation("TextBrowser1");
  grid->addWidget(TextBrowser1, 3, 0, 1, 2);
  grid->setRowStretch(3, 1);
  return TabSheetProbability;
}

QWidget* TFormPrinc::BuildLociTab() {
  TabSheetLociSelection = Make<QWidget>("TabSheetLociSelection");
  auto* column = new QVBoxLayout(TabSheetLociSelection);
  GroupBoxFiltreLocus = Make<QGroupBox>("GroupBoxFiltreLocus");
  auto* row = GroupLayout<QHBoxLayout>(GroupBoxFiltreLocus);
  CheckListBoxFiltreLocus = Make<QListWidget>("CheckListBoxFiltreLocus");
  row->addWidget(CheckListBoxFiltreLocus, 1);
  auto* buttons = new QVBoxLayout();
  BitBtnFiltreLocusTous = Make<QPushButton>("BitBtnFiltreLocusTous");
  BitBtnFiltreLocusAucun = Make<QPushButton>("BitBtnFiltreLocusAucun");
  buttons->addWidget(BitBtnFiltreLocusTous);
  buttons->addWidget(BitBtnFiltreLocusAucun);
  buttons->addStretch(1);
  row->addLayout(buttons);
  column->addWidget(GroupBoxFiltreLocus);
  connect(BitBtnFiltreLocusTous, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnFiltreLocusTousClick);
  connect(BitBtnFiltreLocusAucun, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnFiltreLocusAucunClick);
  connect(CheckListBoxFiltreLocus, &QListWidget::itemChanged, this,
          &TFormPrinc::LocusItemChanged);
  return TabSheetLociSelection;
}

QWidget* TFormPrinc::BuildResultsTab() {
  TabSheetResultats = Make<QWidget>("TabSheetResultats");
  auto* column = new QVBoxLayout(TabSheetResultats);
  auto* top = new QHBoxLayout();
  auto* summary = new QVBoxLayout();
  LabelScore = Make<QLabel>("LabelScore");
  LabelBC = Make<QLabel>("LabelBC");
  summary->addWidget(LabelScore);
  summary->addWidget(LabelBC);
  top->addLayout(summary, 1);
  Label1 = Make<QLabel>("Label1");
  SpinEditScores = Make<QSpinBox>("SpinEditScores");
  SpinEditScores->setRange(0, 0);
  Label1->setBuddy(SpinEditScores);
  top->addWidget(Label1);
  top->addWidget(SpinEditScores);
  BitBtnPrintResults = Make<QPushButton>("BitBtnPrintResults");
  BitBtnExportResults = Make<QPushButton>("BitBtnExportResults");
  top->addWidget(BitBtnPrintResults);
  top->addWidget(BitBtnExportResults);
  connect(SpinEditScores, &QSpinBox::valueChanged, this, &TFormPrinc::SpinEditScoresChanged);
  connect(BitBtnPrintResults, &QPushButton::clicked, this, &TFormPrinc::BitBtnPrintResultsClick);
  connect(BitBtnExportResults, &QPushButton::clicked, this,
          &TFormPrinc::BitBtnExportResultsClick);
  BitBtnPlots = Make<QPushButton>("BitBtnPlots");
  connect(BitBtnPlots, &QPushButton::clicked, this, &TFormPrinc::ShowPlots);
  top->addWidget(BitBtnPlots);
  column->addLayout(top);
  StringGridAssignation = Make<QTableView>("StringGridAssignation");
  StringGridAssignation->setFont(QFont("adobe-helvetica"));
  StringGridAssignation->horizontalHeader()->hide();
  StringGridAssignation->verticalHeader()->hide();
  StringGridAssignation->horizontalHeader()->setDefaultSectionSize(40);
  StringGridAssignation->horizontalHeader()->setMinimumSectionSize(1);
  StringGridAssignation->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGridAssignation->verticalHeader()->setMinimumSectionSize(1);
  StringGridAssignation->verticalHeader()->setDefaultSectionSize(20);
  StringGridAssignation->setTextElideMode(Qt::ElideNone);
  StringGridAssignation->setWordWrap(false);
  resultsModel_ = new TResultsTableModel(this);
  StringGridAssignation->setModel(resultsModel_);
  StringGridAssignation->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StringGridAssignation->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGridAssignation->hide();
  column->addWidget(StringGridAssignation, 1);
  column->addStretch(0);
  return TabSheetResultats;
}

QWidget* TFormPrinc::BuildJournalTab() {
  TabSheetJournal = Make<QWidget>("TabSheetJournal");
  auto* column = new QVBoxLayout(TabSheetJournal);
  LabelJournal = Make<QLabel>("LabelJournal");
  MemoJournal = Make<QPlainTextEdit>("MemoJournal");
  MemoJournal->setReadOnly(true);
  MemoJournal->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoJournal->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoJournal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  LabelJournal->setBuddy(MemoJournal);
  column->addWidget(LabelJournal);
  column->addWidget(MemoJournal, 1);
  return TabSheetJournal;
}

void TFormPrinc::BuildStatusBar() {
  ProgressBar = Make<QProgressBar>("ProgressBar");
  ProgressBar->setRange(0, 100);
  ProgressBar->setTextVisible(true);
  connect(ProgressBar, &QProgressBar::valueChanged, this, &TFormPrinc::ProgressBarChanging);
  ProgressBar->setValue(0);
  ProgressBarChanging(0);

  StatusBar = Make<QStatusBar>("StatusBar");
  StatusBar->setSizeGripEnabled(true);
  setStatusBar(StatusBar);
  const int widths[3] = {150, 250, 280};
  for (int p = 0; p < 4; ++p) {
    StatusPanels[p] = new QLabel();
    StatusPanels[p]->setObjectName(QStringLiteral("StatusBarPanel%1").arg(p));
    StatusPanels[p]->setFrameShape(QFrame::StyledPanel);
    if (p < 3) {
      StatusPanels[p]->setFixedWidth(widths[p]);
      StatusBar->addWidget(StatusPanels[p]);
    } else {
      StatusPanels[p]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      StatusBar->addWidget(StatusPanels[p], 1);
    }
  }
}

void TFormPrinc::ApplyControlTexts() {
  using namespace wtext;
  setWindowTitle(ToQt(kWindowCaption()));
  menuFichier->setTitle(ToQt(kMenuFile()));
  menuItemOuvrirReference->setText(ToQt(kMenuOpenReference()));
  menuItemOuvrirEchantillon->setText(ToQt(kMenuOpenSamples()));
  menuItemSauverReference->setText(ToQt(kMenuSaveReference()));
  menuItemSauverEchantillon->setText(ToQt(kMenuSaveSamples()));
  menuItemQuitter->setText(ToQt(kMenuQuit()));
  menuItemFenetres->setTitle(ToQt(kMenuWindows()));
  menuLangue->setTitle(ToQt(kMenuLanguage()));
  Franais1->setText(ToQt(kMenuFrench()));
  Anglais1->setText(ToQt(kMenuEnglish()));
  menuAide->setTitle(ToQt(kMenuHelpRoot()));
  MenuItemAide->setText(ToQt(kMenuHelp()));
  Apropos1->setText(ToQt(kMenuAbout()));
  WWW1->setText(ToQt(kMenuWWW()));
  ToolButtonOuvrir->setToolTip(ToQt(kHintOpen()));
  ToolButtonSauver->setToolTip(ToQt(kHintSave()));
  ToolButtonArret->setToolTip(ToQt(kHintStop()));
  for (QToolButton* button : {ToolButtonOuvrir, ToolButtonSauver, ToolButtonArret})
    button->setAccessibleName(button->toolTip());

  PageControlPrinc->setTabText(0, ToQt(kTabParameters()));
  PageControlPrinc->setTabText(1, ToQt(kTabResults()));
  PageControlPrinc->setTabText(2, ToQt(kTabJournal()));
  PageControlParameters->setTabText(0, ToQt(kTabObjective()));
  PageControlParameters->setTabText(1, ToQt(kTabCriterion()));
  PageControlParameters->setTabText(2, ToQt(kTabProbability()));
  PageControlParameters->setTabText(3, ToQt(kTabLoci()));

  LabelAssignationReference->setText(
      ToQt(Automaton.MigrantMode ? kDataFileLabel() : kLabelReference()));
  LabelAssignationEchantillons->setText(ToQt(kLabelSamples()));
  for (QPushButton* open : {BitBtnAssignationOuvrirReference, BitBtnAssignationOuvrirEchantillon})
    open->setText(Caption(kOpenButton));
  for (QPushButton* clear : {SpeedButtonClearReference, SpeedButtonClearSamples})
    clear->setText(ToQt(kClearButton()));
  for (QPushButton* stats : {BitBtnDisplayFrequencyRef, BitBtnDisplayFrequencySamp})
    stats->setText(ToQt(kStatisticsButton()));
  BitBtnStart->setText(ToQt(kStartButton()));
  EditAssignationReference->setAccessibleName(ToQt(kNameReferenceEdit()));
  EditAssignationEchantillons->setAccessibleName(ToQt(kNameSamplesEdit()));

  GroupBoxObjective->setTitle(ToQt(kGroupObjective()));
  RadioButtonAssignment->setText(ToQt(kRadioAssignment()));
  RadioButtonMigrantsDetection->setText(ToQt(kRadioMigrants()));
  GroupBoxWhatToAssign->setTitle(ToQt(kGroupWhatToAssign()));
  RadioButtonAssignIndividuals->setText(ToQt(kRadioIndividuals()));
  RadioButtonAssignPopulations->setText(ToQt(kRadioGroups()));
  GroupBoxAssignmentThreshold->setTitle(ToQt(kGroupThreshold()));
  GroupBoxLikelihoodRatioOption->setTitle(ToQt(kGroupLikelihood()));
  RadioButtonLhome->setText(ToQt(kRadioLhome()));
  RadioButtonLmaxWithHome->setText(ToQt(kRadioLmaxWithHome()));
  RadioButtonLmaxNotHome->setText(ToQt(kRadioLmaxNotHome()));

  RadioGroupBayesien->setTitle(ToQt(kGroupBayesian()));
  RadioButtonRannala->setText(Caption(TText("Rannala &  Mountain")));
  RadioButtonBaudouin->setText(Caption(TText("Baudouin &  Lebrun")));
  RadioButtonBaudouin2->setText(ToQt("Baudouin2 (TEST)"));
  RadioGroupVraisemblance->setTitle(ToQt(kGroupProbability()));
  RadioButtonCornuet->setText(ToQt("Cornuet (TEST)"));
  RadioGroupFrequencies->setTitle(ToQt(kGroupFrequencies()));
  RadioButtonPaetkau->setText(ToQt("Paetkau et al."));
  LabelPaetkau->setText(ToQt(kLabelPaetkau()));
  RadioGroupDistances->setTitle(ToQt(kGroupDistances()));
  RadioButtonNeiStandard->setText(ToQt("Nei Standard"));
  RadioButtonNeiMinimum->setText(ToQt("Nei Minimum"));
  RadioButtonNeiDa->setText(ToQt("Nei DA"));
  RadioButtonCavalliSforza->setText(Caption(TText("Cavalli-Sforza &  Edwards")));
  RadioButtonGoldstein->setText(ToQt("Goldstein et al."));
  RadioButtonRogers->setText(ToQt("Rogers"));

  CheckBoxSimulation->setText(ToQt(kCheckSimulation()));
  GroupBoxSimulationAlgorithm->setTitle(ToQt(kGroupAlgorithm()));
  RadioButtonASPaetkau03->setText(ToQt(kRadioASPaetkau()));
  RadioButtonASCornuet99->setText(ToQt("Cornuet et al. (1999)"));
  RadioButtonASRannala97->setText(Caption(TText("Rannala &  Mountain (1997)")));
  GroupBoxNumberOfSimulatedIndividuals->setTitle(ToQt(kGroupSimulated()));
  GroupBoxPvalue->setTitle(ToQt(kGroupPvalue()));

  GroupBoxFiltreLocus->setTitle(ToQt(kGroupLoci()));
  BitBtnFiltreLocusTous->setText(ToQt(kAllButton()));
  BitBtnFiltreLocusAucun->setText(ToQt(kNoneButton()));

  Label1->setText(ToQt(kScoresLabel()));
  BitBtnExportResults->setText(ToQt(kExportButton()));
  BitBtnPrintResults->setText(ToQt(kPrintButton()));
  BitBtnPlots->setText(ToQt(ptext::kPlotsButton()));
  LabelJournal->setText(ToQt(kLabelJournal()));

  // Controls without a caption of their own.
  TrackBarAssignmentThreshold->setAccessibleName(ToQt(kNameThresholdSlider()));
  LCDNumberAssignmentThreshold->setAccessibleName(ToQt(kNameThresholdValue()));
  TrackBarPaetkau->setAccessibleName(ToQt(kNamePaetkauSlider()));
  LCDNumberPaetkau->setAccessibleName(ToQt(kNamePaetkauValue()));
  TrackBarSimulatedIndividuals->setAccessibleName(ToQt(kNameSimulatedSlider()));
  LCDNumberSimulatedIndividuals->setAccessibleName(ToQt(kNameSimulatedValue()));
  TrackBarPvalue->setAccessibleName(ToQt(kNamePvalueSlider()));
  LCDNumberPvalue->setAccessibleName(ToQt(kNamePvalueValue()));
  CheckListBoxFiltreLocus->setAccessibleName(ToQt(kNameLocusList()));
  StringGridAssignation->setAccessibleName(ToQt(kNameResultsGrid()));
  ProgressBar->setAccessibleName(ToQt(kNameProgress()));
  for (QTextBrowser* box : {TextBrowserInformation1, TextBrowserInformation2, TextBrowser1})
    box->setAccessibleName(ToQt(kNameReferenceInfo()));
}
