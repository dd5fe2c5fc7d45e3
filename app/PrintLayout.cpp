#include "app/PrintLayout.h"

#include <algorithm>

#include "stats/StatisticsGrid.h"

TPrintLayout LayOutPrint(const TPrintSource& source, const TPageGeometry& page) {
  TPrintLayout layout;
  std::int64_t total = 0;
  for (int width : source.ColumnWidths)
    total += std::max(width, 0);
  const std::int64_t printable = std::max(page.Width - 2 * page.Margin, 1);
  layout.Numerator = printable * 95;
  layout.Denominator = std::max<std::int64_t>(total, 1) * 100;

  const int rowHeight = std::max(layout.Scaled(source.RowHeight), 1);
  const int bottom = page.Height - page.Margin;
  int y = page.Margin;
  layout.Pages.emplace_back();
  // A new page when the row would pass the bottom margin; a page always takes one row, however
  // small the page.
  auto placeRow = [&] {
    if (y + rowHeight > bottom && !layout.Pages.back().Texts.empty()) {
      layout.Pages.emplace_back();
      y = page.Margin;
    }
    const int top = y;
    y += rowHeight;
    return top;
  };

  for (const std::string& line : source.Journal) {
    TPrintedText text;
    text.Y = placeRow();
    text.X = page.Margin;
    text.Width = page.Width - 2 * page.Margin;
    text.Height = rowHeight;
    text.Text = line;
    layout.Pages.back().Texts.push_back(std::move(text));
  }
  for (const std::vector<TPrintCellStyle>& row : source.Cells) {
    const int top = placeRow();
    int x = page.Margin;
    for (size_t c = 0; c < row.size() && c < source.ColumnWidths.size(); ++c) {
      TPrintedText text;
      text.X = x;
      text.Y = top;
      text.Width = layout.Scaled(source.ColumnWidths[c]);
      text.Height = rowHeight;
      text.Text = row[c].Text + "  ";
      text.Color = row[c].Color;
      text.RightAligned = row[c].RightAligned;
      text.Fixed = row[c].Fixed;
      text.Cell = true;
      x += text.Width;
      layout.Pages.back().Texts.push_back(std::move(text));
    }
  }
  return layout;
}

TPrintSource ResultsPrintSource(const std::vector<std::string>& journal, const TResultsGrid& grid,
                                const std::vector<int>& columnWidths, int rowHeight) {
  TPrintSource source;
  source.Journal = journal;
  source.ColumnWidths = columnWidths;
  source.RowHeight = rowHeight;
  for (int r = 0; r < grid.RowCount(); ++r) {
    std::vector<TPrintCellStyle>& row = source.Cells.emplace_back();
    for (int c = 0; c < grid.ColumnCount(); ++c) {
      const TGridCell& cell = grid.Cell(c, r);
      row.push_back({cell.Text, ColorRgb(cell.Color),
                     cell.Alignment == TCellAlignment::Right, grid.IsFixed(c, r)});
    }
  }
  return source;
}

TPrintSource StatisticsPrintSource(const TStatisticsGrid& grid,
                                   const std::vector<int>& columnWidths, int rowHeight) {
  TPrintSource source;
  source.ColumnWidths = columnWidths;
  source.RowHeight = rowHeight;
  for (int r = 0; r < grid.RowCount(); ++r) {
    std::vector<TPrintCellStyle>& row = source.Cells.emplace_back();
    for (int c = 0; c < grid.ColumnCount(); ++c)
      row.push_back({grid.Cell(r, c), TRgb{}, false, grid.IsFixed(r, c)});
  }
  return source;
}
