// The main window's runs and their results: the start button, the grid on the "Résultats" tab,
// the number of scores shown, the export and the printing.
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>

#include "app/AppTexts.h"
#include "app/PrintLayout.h"
#include "app/window/FormPrinc.h"
#include "app/window/PrintedReport.h"
#include "app/window/ResultsTableModel.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"

namespace {
const char* const kResultsJobTitle = "Tarvik2";
} // namespace

const TResultsGrid& TFormPrinc::ResultsGrid() const {
  return resultsModel_->Grid();
}

void TFormPrinc::BitBtnStartClick() {
  if (running_) return;
  TRunData data;
  data.Reference = RefLoaded ? &dataStructureRef : nullptr;
  data.Samples = SamplesLoaded ? &dataStructureSample : nullptr;
  data.CheckedLoci = CheckedLoci(loci_);

  pendingRun_ = TShownRun();
  pendingRun_.Migrants = Automaton.MigrantMode;
  pendingRun_.Criterion = Automaton.Criterion;
  pendingRun_.SimulationOn = Automaton.SimulationOn;
  pendingRun_.LikelihoodOption = Automaton.LikelihoodOption;
  pendingRun_.Settings.Populations = PopulationNames(dataStructureRef);
  pendingRun_.Settings.Threshold = Automaton.Threshold;
  pendingRun_.Settings.ThresholdFormat = Automaton.ThresholdFormat;
  pendingRun_.Settings.ProbabilityFormat = Automaton.ProbabilityFormat;
  newResults_ = false;

  Driver.Start(Automaton, data);
  // The grid shows this run: its table, complete with the duration lines, goes with it. A run
  // that did not reach the grid leaves the grid and the table it shows as they were.
  if (newResults_) {
    shownTable_ = std::move(Driver.ResultTable);
    const TPGDSStructure* samples =
        !Automaton.MigrantMode && Automaton.UseSamples ? data.Samples : nullptr;
    LastRun = CompletedRunSource(shownTable_, Automaton, dataStructureRef, samples,
                                 samples ? samples->FileName : dataStructureRef.FileName);
    newResults_ = false;
  }
  automateInterface();
}

void TFormPrinc::ShowResults(const TRunOutcome& outcome) {
  if (!Driver.ResultTable) return;
  shownRun_ = pendingRun_;
  shownRun_.MigrantCount = outcome.MigrantCount;
  newResults_ = true;
  {
    const QSignalBlocker blocker(SpinEditScores);
    SpinEditScores->setValue(shownRun_.Migrants ? 1 : outcome.ScoresToDisplay);
  }
  if (shownRun_.Migrants) {
    SpinEditScores->setEnabled(false);
    SpinEditScores->hide();
    Label1->hide();
    LabelScore->setText(ToQt(outcome.MigrantSummary));
    // The quality figures belong to a self-assignment: none for this run.
    LabelBC->clear();
  } else {
    LabelScore->setText(ToQt(outcome.QualityText));
    LabelBC->setText(ToQt(outcome.CorrectlyAssignedText));
  }
  FillResultsGrid(*Driver.ResultTable);
  PageControlPrinc->setCurrentWidget(TabSheetResultats);
}

void TFormPrinc::FillResultsGrid(const TTableResultats& table) {
  StringGridAssignation->hide();
  const TShownRun& run = shownRun_;
  TGridSettings settings = run.Settings;
  settings.Scores = std::clamp(SpinEditScores->value(), 0,
                               static_cast<int>(settings.Populations.size()));
  resultsModel_->SetGrid(run.Migrants ? FillMigrantGrid(table, run.Criterion, run.MigrantCount,
                                                        run.SimulationOn, run.LikelihoodOption,
                                                        settings)
                                      : FillAssignmentGrid(table, run.Criterion,
                                                           run.SimulationOn, settings));
  AutoSizeGridColumns();
  StringGridAssignation->show();
}

void TFormPrinc::SpinEditScoresChanged() {
  if (!shownTable_ || shownRun_.Migrants || running_) return;
  FillResultsGrid(*shownTable_);
}

// Each column as wide as its widest text as drawn (the text and two blanks), enlarged by 5 %,
// with 6 pixels and the room the view keeps on both sides of a cell's text. The widths of the
// ISO-8859-1 characters are measured once, so that a grid of many thousand rows sizes at once.
void TFormPrinc::AutoSizeGridColumns() {
  const QFontMetrics metrics(StringGridAssignation->font());
  std::array<int, 256> advance{};
  for (int c = 0; c < 256; ++c)
    advance[static_cast<size_t>(c)] = metrics.horizontalAdvance(QChar(c));
  const int room =
      2 * (StringGridAssignation->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  const TResultsGrid& grid = resultsModel_->Grid();
  std::vector<int> widths(static_cast<size_t>(grid.ColumnCount()), 6);
  std::string text;
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColumnCount(); ++c) {
      text.clear();
      grid.AppendCell(text, c, r);
      if (text.empty()) continue;
      int width = 2 * advance[' '];
      for (const char ch : text)
        width += advance[static_cast<unsigned char>(ch)];
      int& widest = widths[static_cast<size_t>(c)];
      widest = std::max(widest, static_cast<int>(std::lround(width * 1.05)) + 6 + room);
    }
  }
  for (size_t c = 0; c < widths.size(); ++c)
    StringGridAssignation->setColumnWidth(static_cast<int>(c), widths[c]);
}

std::vector<int> TFormPrinc::GridColumnWidths() const {
  std::vector<int> widths;
  for (int c = 0; c < resultsModel_->columnCount(); ++c)
    widths.push_back(StringGridAssignation->columnWidth(c));
  return widths;
}

void TFormPrinc::BitBtnExportResultsClick() {
  if (!shownTable_) return;
  TFileDialogRequest request;
  request.Title = kSaveAsTitle();
  request.Filters = {{kExcelFileFilter(), "*.csv"}};
  request.DefaultExtension = "csv";
  const TFileDialogAnswer answer = services_.SaveFile(request);
  if (!answer.Confirmed) return;
  try {
    ExportResults(shownTable_.get(), resultsModel_->Grid(), answer.Path);
  } catch (const std::exception& error) {
    services_.Tell(TMessageKind::Error, error.what());
  }
}

void TFormPrinc::BitBtnPrintResultsClick() {
  if (!shownTable_) return;
  TPrintRequest request;
  request.JobTitle = kResultsJobTitle;
  request.Font = StringGridAssignation->font();
  request.Source = [this] {
    return ResultsPrintSource(shownTable_->Journal, resultsModel_->Grid(), GridColumnWidths(),
                              StringGridAssignation->verticalHeader()->defaultSectionSize());
  };
  request.DoneText = kPrintingDone();
  request.CancelledText = kPrintingCancelled();
  PrintReport(services_, this, request);
}
