// The results grid: the result table of a run laid out as the "Résultats" tab shows it, cell
// by cell with its colour and alignment, so that excluded or doubtful values stand out in grey
// and detected migrants in red; and its semicolon-separated export.
//
// Layout: two fixed header rows and one fixed column (the treated units). After the unit
// column come S score triples (rank: population name, score, an empty column), then one column
// per reference population, then the number of loci, the used loci and the missing loci.
#pragma once

#include <string>
#include <vector>

#include "model/Real.h"

class TPGDSStructure;
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

struct TResultsGrid {
  // Cells[row][column]; every row has the same number of columns.
  std::vector<std::vector<TGridCell>> Cells;
  int FixedRows = 2;
  int FixedColumns = 1;

  int RowCount() const { return static_cast<int>(Cells.size()); }
  int ColumnCount() const { return Cells.empty() ? 0 : static_cast<int>(Cells.front().size()); }
  const TGridCell& Cell(int column, int row) const {
    return Cells.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
  }
  const std::string& Text(int column, int row) const { return Cell(column, row).Text; }
  bool IsFixed(int column, int row) const { return row < FixedRows || column < FixedColumns; }
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

// The names of the samples of a reference data set, as the grid heads its columns (a name that
// several samples share followed by the sample's rank among them).
std::vector<std::string> PopulationNames(const TPGDSStructure& reference);

// Assignment layout. With simulation on there are no score triples and the population block
// shows probabilities.
TResultsGrid FillAssignmentGrid(const TTableResultats& table, int criterion, bool simulationOn,
                                const TGridSettings& settings);
// Migrant layout: one triple (home population, statistic, probability), the population block
// with the scores of every population.
TResultsGrid FillMigrantGrid(const TTableResultats& table, int criterion, int migrantCount,
                             bool simulationOn, int likelihoodOption,
                             const TGridSettings& settings);

// The name of the migrant statistic, as the migrant layout heads its column, by criterion and
// likelihood option (0 L_home, 1 L_home / L_max, 2 L_home / L_max_not_home).
std::string MigrantStatisticLabel(int criterion, int option);

// A value written with a printf format of one real ("%.3f", "%g", ...), in extended precision;
// "NaN" when undefined, "INF" or "-INF" when infinite.
std::string FormatValue(const std::string& format, Extended value);

// The export: the table's journal lines (none without a table), then every grid row, each cell
// followed by ";" except the last of the row, which is followed by a line feed. A cell reading
// the current language's "-Log10(L)" unit gets a leading "'" so that spreadsheets take it as
// text. Nothing else is quoted; the text stays ISO-8859-1 bytes.
std::string ResultsExportText(const TTableResultats* table, const TResultsGrid& grid);
// Creates or truncates `fileName` and writes the export; raises EFileWritingError when the file
// cannot be written.
void ExportResults(const TTableResultats* table, const TResultsGrid& grid,
                   const std::string& fileName);
