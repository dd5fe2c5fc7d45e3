#include "app/window/FormFrequencyDisplay.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableView>

#include "app/window/LanguageScope.h"
#include "app/window/PrintedReport.h"
#include "app/window/StatisticsTableModel.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"
#include "app/window/WindowTexts.h"
#include "base/Errors.h"
#include "stats/StatisticsExport.h"
#include "stats/StatisticsTexts.h"

namespace {

// "Fichiers csv (*.csv)|*.csv|Tous les fichiers (*)|*": name and pattern, one pair per entry.
std::vector<TFileFilter> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar; (bar = filter.find('|', start)) != std::string::npos; start = bar + 1)
    parts.push_back(filter.substr(start, bar - start));
  parts.push_back(filter.substr(start));
  std::vector<TFileFilter> filters;
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    filters.push_back({parts[i], parts[i + 1]});
  return filters;
}

} // namespace

TFormFrequencyDisplay::TFormFrequencyDisplay(TToolkitServices& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window), services_(services) {
  setObjectName("FormFrequencyDisplay");
  setAttribute(Qt::WA_DeleteOnClose);
  resize(684, 467);

  menuFile_ = menuBar()->addMenu(QString());
  menuFile_->setObjectName("MainMenu1");
  Enregistrer1 = menuFile_->addAction(QString(), this, &TFormFrequencyDisplay::Enregistrer1Click);
  Enregistrer1->setObjectName("Enregistrer1");
  Imprimer1 = menuFile_->addAction(QString(), this, &TFormFrequencyDisplay::Imprimer1Click);
  Imprimer1->setObjectName("Imprimer1");
  menuFile_->addSeparator()->setObjectName("N1");
  Fermer1 = menuFile_->addAction(QString(), this, &TFormFrequencyDisplay::Fermer1Click);
  Fermer1->setObjectName("Fermer1");

  StringGrid = new QTableView(this);
  StringGrid->setObjectName("StringGrid");
  StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  StringGrid->horizontalHeader()->setHighlightSections(false);
  StringGrid->verticalHeader()->hide();
  StringGrid->setShowGrid(true);
  StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid->verticalHeader()->setMinimumSectionSize(1);
  StringGrid->verticalHeader()->setDefaultSectionSize(
      std::max(16, StringGrid->fontMetrics().height() + 2));
  setCentralWidget(StringGrid);
  ApplyTexts(lang::French);
  setWindowTitle(ToQt(kStatCaption()));
}

void TFormFrequencyDisplay::ApplyTexts(int languageId) {
  languageId_ = languageId;
  TLanguageScope scope(languageId);
  menuFile_->setTitle(ToQt(kStatMenuFile()));
  Enregistrer1->setText(ToQt(kStatMenuSaveAs()));
  Imprimer1->setText(ToQt(kStatMenuPrint()));
  Fermer1->setText(ToQt(kStatMenuClose()));
  StringGrid->setAccessibleName(ToQt(wtext::kNameStatisticsGrid()));
}

void TFormFrequencyDisplay::ShowDataSet(TPGDSStructure& ds, int languageId) {
  ApplyTexts(languageId);
  TStatisticsGrid grid = BuildStatisticsGrid(ds, languageId);
  setWindowTitle(PathToQt(grid.Caption));
  model_ = new TStatisticsTableModel(std::move(grid), this);
  StringGrid->setModel(model_);
  FitColumns();
}

const TStatisticsGrid& TFormFrequencyDisplay::Grid() const {
  static const TStatisticsGrid empty;
  return model_ ? model_->Grid() : empty;
}

// Every column is widened, never narrowed, to its widest text plus 10 pixels.
void TFormFrequencyDisplay::FitColumns() {
  // The header row is the view's header: its texts are measured in the header's font.
  const QFontMetrics metrics = StringGrid->fontMetrics();
  const QFontMetrics headerMetrics = StringGrid->horizontalHeader()->fontMetrics();
  const TStatisticsGrid& grid = Grid();
  for (int c = 0; c < grid.ColumnCount(); ++c) {
    int widest = grid.RowCount() > 0 ? headerMetrics.horizontalAdvance(ToQt(grid.Cell(0, c))) : 0;
    for (int r = grid.FixedRows; r < grid.RowCount(); ++r)
      widest = std::max(widest, metrics.horizontalAdvance(ToQt(grid.Cell(r, c))));
    if (widest + 10 > StringGrid->columnWidth(c)) StringGrid->setColumnWidth(c, widest + 10);
  }
}

void TFormFrequencyDisplay::Enregistrer1Click() {
  TFileDialogRequest request;
  request.Title = kStatSaveDialogTitle();
  request.Filters = ParseFilter(kStatSaveDialogFilter());
  request.DefaultExtension = "csv";
  const TFileDialogAnswer answer = services_.SaveFile(request);
  if (!answer.Confirmed) return;
  try {
    SaveStatistics(Grid(), answer.Path);
  } catch (const std::exception& error) {
    services_.Tell(TMessageKind::Error, error.what());
  }
}

void TFormFrequencyDisplay::Imprimer1Click() {
  std::vector<int> widths;
  for (int c = 0; c < Grid().ColumnCount(); ++c)
    widths.push_back(StringGrid->columnWidth(c));
  TPrintRequest request;
  request.Font = StringGrid->font();
  request.Source = [this, widths] {
    return StatisticsPrintSource(Grid(), widths, StringGrid->verticalHeader()->defaultSectionSize());
  };
  {
    TLanguageScope scope(languageId_);
    request.JobTitle = kStatPrintJobTitle();
    request.DoneText = kStatPrintDone();
    request.CancelledText = kStatPrintCancelled();
  }
  PrintReport(services_, this, request);
}

void TFormFrequencyDisplay::Fermer1Click() {
  close();
}

void TFormFrequencyDisplay::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit Closed(this);
}
