// The results grid: the result table of a run laid out as the "Résultats" tab shows it, cell
// by cell with its colour and alignment, so that excluded or doubtful values stand out in grey
// and detected migrants in red; and its semicolon-separated export.
//
// Layout: two fixed header rows and one fixed column (the treated units). After the unit
// column come S score triples (rank: population name, score, an empty column), then one column
// per reference population, then the number of loci, the used loci and the missing loci.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "base/Real.h"
#include "engine/criteria/Criteria.h"
#include "engine/runs/Migrants.h"

class TPGDSStructure;
class TResultats;
class TTableResultats;

enum class TCellColor { Black, Grey, Red, Green };

// None: the cell carries no text properties and is drawn black and left-aligned.
enum class TCellAlignment { None, Right };

struct TRgb {
  int Red = 0, Green = 0, Blue = 0;
};
// Black (0, 0, 0), grey (128, 128, 128), red (255, 0, 0), green (0, 255, 0).
TRgb ColorRgb(TCellColor color);

struct TGridCell {
  std::string Text;
  TCellColor Color = TCellColor::Black;
  TCellAlignment Alignment = TCellAlignment::None;
};

// What the grid needs besides the result table.
struct TGridSettings {
  // The reference populations, in data-set order.
  std::vector<std::string> Populations;
  // Number of ranked scores shown per row (the "Nombre des scores à afficher" value).
  int Scores = 0;
  // Scores below the threshold are greyed out; formats of scores and probabilities.
  Extended Threshold = 0.05L;
  std::string ThresholdFormat = "%.3f";
  std::string ProbabilityFormat = "%.3f";
};

// The grid as a view over a result table: the two header rows are made when the grid is
// filled, every other cell is formatted from the table when it is asked for. The table must
// outlive the grid; a default grid has no cell.
class TResultsGrid {
public:
  int FixedRows = 2;
  int FixedColumns = 1;

  int RowCount() const { return rows_; }
  int ColumnCount() const { return columns_; }
  // Cell (column, row); raises std::out_of_range outside the grid.
  TGridCell Cell(int column, int row) const;
  std::string Text(int column, int row) const { return Cell(column, row).Text; }
  bool IsFixed(int column, int row) const { return row < FixedRows || column < FixedColumns; }
  // Appends the text of cell (column, row) to `text` and gives its colour and alignment (the
  // text left empty); for exports and measures that go through every cell.
  TGridCell AppendCell(std::string& text, int column, int row) const;

private:
  friend TResultsGrid FillAssignmentGrid(const TTableResultats&, TCriterion, bool,
                                         const TGridSettings&);
  friend TResultsGrid FillMigrantGrid(const TTableResultats&, TCriterion, int, bool,
                                      TMigrantStatistic, const TGridSettings&);

  enum class TLayout { Assignment, Migrant };

  // The shape and the header rows both layouts share; `first` is the first column of the
  // population block, `unit` heads its columns.
  static TResultsGrid Frame(const TTableResultats& table, int first, const TGridSettings& settings,
                            const std::string& unit);

  std::string& Header(int column, int row) {
    return headers_[static_cast<size_t>(row * columns_ + column)];
  }
  TGridCell AssignmentCell(std::string& text, int column, const TResultats& result) const;
  TGridCell MigrantCell(std::string& text, int column, const TResultats& result) const;
  TGridCell LociCell(std::string& text, int column, const TResultats& result) const;
  void AppendValue(std::string& text, bool probability, Extended value) const;

  const TTableResultats* table_ = nullptr;
  TLayout layout_ = TLayout::Assignment;
  TCriterion criterion_ = TCriterion::BaudouinLebrun;
  bool simulationOn_ = false;
  int scores_ = 0;      // score triples (assignment)
  int first_ = 0;       // first column of the population block
  int populations_ = 0; // columns of the population block
  Extended threshold_ = 0;
  std::string thresholdFormat_, probabilityFormat_;
  std::optional<int> thresholdPrecision_, probabilityPrecision_;
  int rows_ = 0, columns_ = 0;
  std::vector<std::string> headers_; // the two header rows, row by row
};

// The names of the samples of a reference data set, as the grid heads its columns (a name that
// several samples share followed by the sample's rank among them).
std::vector<std::string> PopulationNames(const TPGDSStructure& reference);

// Assignment layout. With simulation on there are no score triples and the population block
// shows probabilities.
TResultsGrid FillAssignmentGrid(const TTableResultats& table, TCriterion criterion,
                                bool simulationOn, const TGridSettings& settings);
// Migrant layout: one triple (home population, statistic, probability), the population block
// with the scores of every population.
TResultsGrid FillMigrantGrid(const TTableResultats& table, TCriterion criterion, int migrantCount,
                             bool simulationOn, TMigrantStatistic statistic,
                             const TGridSettings& settings);

// The name of the migrant statistic, as the migrant layout heads its column, by criterion and
// statistic; empty for the stepwise-mutation criterion's L_home / L_max_not_home, which it does
// not offer.
std::string MigrantStatisticLabel(TCriterion criterion, TMigrantStatistic statistic);

// A value written with a printf format of one real ("%.3f", "%g", ...), in extended precision;
// "NaN" when undefined, "INF" or "-INF" when infinite.
std::string FormatValue(const std::string& format, Extended value);
// The same, appended to `text`.
void AppendValue(std::string& text, const std::string& format, Extended value);

// The export: the table's journal lines (none without a table), then every grid row, each cell
// followed by ";" except the last of the row, which is followed by a line feed. A cell reading
// the current language's "-Log10(L)" unit gets a leading "'" so that spreadsheets take it as
// text. Nothing else is quoted; the text stays ISO-8859-1 bytes.
// `line` is called with each line of the export, its line feed included, one at a time.
void ForEachExportLine(const TTableResultats* table, const TResultsGrid& grid,
                       const std::function<void(const std::string&)>& line);
// The export written to `out`, one line at a time.
void WriteResults(std::ostream& out, const TTableResultats* table, const TResultsGrid& grid);
// The export as one text.
std::string ResultsExportText(const TTableResultats* table, const TResultsGrid& grid);
// Creates or truncates `fileName` and writes the export; raises EFileWritingError when the file
// cannot be written.
void ExportResults(const TTableResultats* table, const TResultsGrid& grid,
                   const std::string& fileName);
