// The export of the results grid, streamed: one line formatted at a time.
#include <ostream>
#include <sstream>

#include "app/ResultsGrid.h"
#include "dataset/TextWriter.h"
#include "engine/common/EngineTexts.h"
#include "engine/results/ResultTables.h"

void ForEachExportLine(const TTableResultats* table, const TResultsGrid& grid,
                       const std::function<void(const std::string&)>& line) {
  std::string text;
  if (table)
    for (const std::string& journal : table->Journal) {
      text.assign(journal);
      text += '\n';
      line(text);
    }
  const std::string& likelihoodUnit = kGridLikelihoodUnit();
  std::string cell;
  for (int r = 0; r < grid.RowCount(); ++r) {
    text.clear();
    for (int c = 0; c < grid.ColumnCount(); ++c) {
      cell.clear();
      grid.AppendCell(cell, c, r);
      if (cell == likelihoodUnit) text += '\'';
      text += cell;
      text += c + 1 < grid.ColumnCount() ? ';' : '\n';
    }
    line(text);
  }
}

void WriteResults(std::ostream& out, const TTableResultats* table, const TResultsGrid& grid) {
  ForEachExportLine(table, grid, [&out](const std::string& text) { WriteText(out, text); });
}

std::string ResultsExportText(const TTableResultats* table, const TResultsGrid& grid) {
  std::ostringstream out;
  WriteResults(out, table, grid);
  return std::move(out).str();
}

void ExportResults(const TTableResultats* table, const TResultsGrid& grid,
                   const std::string& fileName) {
  // Through a temporary file: a full disk or a failed write leaves the user's file as it was.
  SaveFileSafely(fileName, [table, &grid](std::ostream& out) { WriteResults(out, table, grid); });
}
