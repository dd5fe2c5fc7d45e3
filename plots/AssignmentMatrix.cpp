#include "plots/AssignmentMatrix.h"

#include <algorithm>

#include "engine/results/ResultTables.h"
#include "plots/Palette.h"
#include "plots/PlotTexts.h"

namespace {

constexpr Extended kNamesWidth = 150, kHeaderHeight = 120, kShareWidth = 110;
constexpr TPlotColor kFull{0, 114, 178};

// Whether the unit's home population has a defined ranked score.
bool HomeScored(const TResultats& result, const std::string& home) {
  const int ranked = std::min(result.SortedCount(), result.Count);
  for (int k = 0; k < ranked; ++k)
    if (result.SortedRow(k).Name == home) return !IsUndefined(result.SortedRow(k).Score);
  return false;
}

std::string Percent(int part, int whole) {
  return whole > 0 ? PlotNumberText(100.0L * part / whole, 1) + " %" : std::string("-");
}

TPlotText CellText(Extended x, Extended y, std::string text, Extended size, bool bold,
                   TTextAnchor anchor = TTextAnchor::Middle, TPlotColor color = kPlotBlack) {
  TPlotText t = PlotText(x, y, std::move(text), size, anchor);
  t.Bold = bold;
  t.Color = color;
  return t;
}

} // namespace

TAssignmentCounts AssignmentCounts(const TTableResultats& table, const TPlotUnits& units) {
  const size_t rows = units.Sampled.size(), columns = units.Populations.size();
  TAssignmentCounts counts;
  counts.Counts.assign(rows, std::vector<int>(columns, 0));
  counts.RowTotals.assign(rows, 0);
  for (int i = 0; i < table.Count() && i < static_cast<int>(units.SampledOf.size()); ++i) {
    const int sampled = units.SampledOf[static_cast<size_t>(i)];
    if (sampled < 0 || sampled >= static_cast<int>(rows)) continue;
    const TResultats& result = table.Item(i);
    const std::string& homeName = units.Sampled[static_cast<size_t>(sampled)];
    if (!HomeScored(result, homeName)) continue;
    const int assigned =
        result.WellClassified ? PopulationIndex(units, homeName) : LeadingPopulation(result, units);
    if (assigned < 0) continue;
    ++counts.Counts[static_cast<size_t>(sampled)][static_cast<size_t>(assigned)];
    ++counts.RowTotals[static_cast<size_t>(sampled)];
    ++counts.Total;
    if (units.Populations[static_cast<size_t>(assigned)] == homeName) ++counts.Correct;
  }
  return counts;
}

TPlot AssignmentMatrix(const TTableResultats& table, const TPlotUnits& units, Extended width) {
  const TAssignmentCounts counts = AssignmentCounts(table, units);
  const size_t rows = units.Sampled.size(), columns = units.Populations.size();
  const Extended cell =
      std::clamp<Extended>((width - kNamesWidth - kShareWidth - 20) /
                               static_cast<Extended>(std::max<size_t>(columns, 1)),
                           14, 60);
  const Extended left = kNamesWidth, top = 40 + kHeaderHeight;
  const Extended textSize = std::clamp<Extended>(cell * 0.3L, 7, 13);

  TPlot plot;
  StartPlot(plot, kPlotMatrixTitle(), std::max(width, left + cell * columns + kShareWidth + 20),
            top + cell * rows + 70, 0);

  TPlotGroup& headers = plot.AddGroup("headers");
  for (size_t c = 0; c < columns; ++c) {
    TPlotText name = CellText(left + (c + 0.5L) * cell, top - 6, units.Populations[c], 11, false,
                              TTextAnchor::Start);
    name.Rotation = -45;
    headers.Add(name);
  }
  headers.Add(CellText(left + cell * columns / 2, 52, kPlotAssignedPopulation(), 12, true));
  headers.Add(CellText(left - 8, top - 8, kPlotSampledPopulation(), 12, true, TTextAnchor::End));
  headers.Add(CellText(left + cell * columns + 10, top - 8, kPlotCorrectColumn(), 12, true,
                       TTextAnchor::Start));

  for (size_t r = 0; r < rows; ++r) {
    TPlotGroup& group = plot.AddGroup(PopulationGroupId(static_cast<int>(r)), units.Sampled[r]);
    const Extended y = top + r * cell;
    group.Add(CellText(left - 8, y + cell / 2 + 4, units.Sampled[r], 11, false, TTextAnchor::End));
    const int total = counts.RowTotals[r];
    int correct = 0;
    for (size_t c = 0; c < columns; ++c) {
      const int count = counts.Counts[r][c];
      const bool diagonal = units.Populations[c] == units.Sampled[r];
      if (diagonal) correct = count;
      const Extended share = total > 0 ? static_cast<Extended>(count) / total : 0;
      const TPlotColor fill = MixedColor(kPlotWhite, kFull, share);
      TPlotRect box{left + c * cell, y, cell, cell, fill, kPlotLightGrey, 0.5L};
      group.Add(box);
      const Extended x = left + (c + 0.5L) * cell;
      const TPlotColor ink = TextColorOn(fill);
      const bool twoLines = cell >= 30 && count > 0;
      group.Add(CellText(x, y + (twoLines ? cell * 0.45L : cell / 2 + textSize / 3),
                         std::to_string(count), textSize, diagonal, TTextAnchor::Middle, ink));
      if (twoLines)
        group.Add(CellText(x, y + cell * 0.8L, Percent(count, total), textSize * 0.8L, false,
                           TTextAnchor::Middle, ink));
    }
    group.Add(CellText(left + cell * columns + 10, y + cell / 2 + 4, Percent(correct, total), 11,
                       true, TTextAnchor::Start));
  }

  TPlotGroup& diagonal = plot.AddGroup("diagonal");
  for (size_t r = 0; r < rows; ++r) {
    const int c = PopulationIndex(units, units.Sampled[r]);
    if (c < 0) continue;
    diagonal.Add(
        TPlotRect{left + c * cell, top + r * cell, cell, cell, std::nullopt, kPlotBlack, 2.5L});
  }
  TPlotGroup& summary = plot.AddGroup("summary");
  summary.Add(CellText(left, top + cell * rows + 30,
                       Format(kPlotCorrectOverall(), Percent(counts.Correct, counts.Total).c_str(),
                              counts.Correct, counts.Total),
                       13, true, TTextAnchor::Start));
  summary.Add(TPlotRect{left, top + cell * rows + 42, 11, 11, kFull, std::nullopt, 1});
  summary.Add(CellText(left + 17, top + cell * rows + 52, kPlotShadeLegend(), 10, false,
                       TTextAnchor::Start));
  return plot;
}
