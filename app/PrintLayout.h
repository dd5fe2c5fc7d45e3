// The printed reports of the results grid and of the statistics grid, laid out page by page as
// plain rectangles and texts in printer units; the window only draws them. The grid is scaled so
// that its columns fill 95 % of the page width inside the margins, every width and height of
// the screen multiplied by that one ratio; the result table's journal lines come first, one per
// row height, then the grid rows, a row that does not fit starting a new page. Fixed cells (the
// header rows and the unit column) are filled yellow and printed in italics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/ResultsGrid.h"

struct TStatisticsGrid;

// A cell of the grid to print, as the screen shows it.
struct TPrintCellStyle {
  std::string Text;
  TRgb Color;
  bool RightAligned = false;
  bool Fixed = false;
};

// What is printed: the journal lines, then the grid (Cells[row][column]) with the screen widths
// of its columns and the screen height of a row, in pixels.
struct TPrintSource {
  std::vector<std::string> Journal;
  std::vector<std::vector<TPrintCellStyle>> Cells;
  std::vector<int> ColumnWidths;
  int RowHeight = 20;
};

// The printable page in printer units; the same margin on the top, left, right and bottom.
struct TPageGeometry {
  int Width = 0;
  int Height = 0;
  int Margin = 0;
};

struct TPrintedText {
  int X = 0, Y = 0, Width = 0, Height = 0;
  // The text as drawn: a cell's text followed by two blanks, or a journal line.
  std::string Text;
  TRgb Color;
  bool RightAligned = false;
  // Fixed cells: a yellow (255, 255, 0) background and an italic font.
  bool Fixed = false;
  // Grid cells have a frame; journal lines do not.
  bool Cell = false;
};

struct TPrintedPage {
  std::vector<TPrintedText> Texts;
};

struct TPrintLayout {
  // Printer units per screen pixel, as the ratio Numerator / Denominator.
  std::int64_t Numerator = 1, Denominator = 1;
  std::vector<TPrintedPage> Pages;

  int Scaled(int screen) const {
    return static_cast<int>(static_cast<std::int64_t>(screen) * Numerator / Denominator);
  }
};

TPrintLayout LayOutPrint(const TPrintSource& source, const TPageGeometry& page);

// The results grid and the statistics grid as print sources; the column widths and the row
// height come from the window, which measures the texts in its font.
TPrintSource ResultsPrintSource(const std::vector<std::string>& journal, const TResultsGrid& grid,
                                const std::vector<int>& columnWidths, int rowHeight);
TPrintSource StatisticsPrintSource(const TStatisticsGrid& grid,
                                   const std::vector<int>& columnWidths, int rowHeight);
