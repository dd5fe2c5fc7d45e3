#include "plots/ExclusionPlot.h"

#include <algorithm>
#include <cmath>

#include "engine/results/ResultTables.h"
#include "plots/Palette.h"
#include "plots/PlotTexts.h"

namespace {

// How far towards white the strokes below alpha go.
constexpr Extended kExcludedPaleness = 0.6L;

// The probability of population j for a unit; undefined when it has none.
Extended Probability(const TResultats& result, size_t j) {
  return static_cast<int>(j) < result.Count ? result.Row(static_cast<int>(j)).Value : Undefined();
}

Extended SmallestPositive(const TTableResultats& table, size_t populations) {
  Extended smallest = 1;
  for (int i = 0; i < table.Count(); ++i)
    for (size_t j = 0; j < populations; ++j) {
      const Extended p = Probability(table.Item(i), j);
      if (!IsUndefined(p) && p > 0 && p < smallest) smallest = p;
    }
  return smallest;
}

void ExactMarkers(TPlot& plot, size_t firstGroup, const TPlotArea& area, const TValueAxis& axis,
                  const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                  const std::vector<int>& order, Extended unitWidth) {
  const size_t populations = units.Populations.size();
  const Extended size = std::clamp<Extended>(unitWidth * 0.6L, 2, 7);
  for (size_t p = 0; p < order.size(); ++p) {
    const int i = order[p];
    const TResultats& result = table.Item(i);
    const int sampled =
        i < static_cast<int>(units.SampledOf.size()) ? units.SampledOf[static_cast<size_t>(i)] : -1;
    const Extended x = area.Left + (static_cast<Extended>(p) + 0.5L) * unitWidth;
    for (size_t j = 0; j < populations; ++j) {
      const Extended probability = Probability(result, j);
      if (IsUndefined(probability)) continue;
      const TPlotColor color = PopulationColor(static_cast<int>(j));
      TPlotRect marker{x - size / 2,
                       axis.Y(area, probability) - size / 2,
                       size,
                       size,
                       std::nullopt,
                       std::nullopt,
                       1};
      if (probability < run.Threshold)
        marker.Stroke = color;
      else
        marker.Fill = color;
      // The sampled population: a black frame around the marker.
      if (run.SelfAssignment && sampled == static_cast<int>(j))
        plot.Groups[firstGroup + j].Add(TPlotRect{marker.X - 2, marker.Y - 2, size + 4, size + 4,
                                                  std::nullopt, kPlotBlack, 1.5L});
      plot.Groups[firstGroup + j].Add(marker);
    }
  }
}

void MergedRanges(TPlot& plot, size_t firstGroup, const TPlotArea& area, const TValueAxis& axis,
                  const TUnitLayout& layout, const TTableResultats& table, size_t populations,
                  const std::vector<int>& order, Extended alpha) {
  // Per population: the strokes at or above alpha, and the paler ones below it.
  std::vector<TPlotPath> kept(populations), excluded(populations);
  for (size_t j = 0; j < populations; ++j) {
    const TPlotColor color = PopulationColor(static_cast<int>(j));
    kept[j].Stroke = color;
    excluded[j].Stroke = MixedColor(color, kPlotWhite, kExcludedPaleness);
    kept[j].StrokeWidth = excluded[j].StrokeWidth = layout.ColumnWidth;
  }
  const Extended alphaY = axis.Y(area, alpha);
  std::vector<Extended> values;
  for (size_t c = 0; c < layout.Columns; ++c) {
    const size_t first = layout.First(c), last = layout.First(c + 1);
    const Extended x = layout.ColumnLeft(area, c) + layout.ColumnWidth / 2;
    for (size_t j = 0; j < populations; ++j) {
      values.clear();
      for (size_t p = first; p < last; ++p) {
        const Extended probability = Probability(table.Item(order[p]), j);
        if (!IsUndefined(probability)) values.push_back(probability);
      }
      if (values.empty()) continue;
      std::sort(values.begin(), values.end());
      const size_t m = values.size() - 1;
      const Extended low = values[(m + 2) / 4], high = values[(3 * m + 2) / 4];
      Extended top = axis.Y(area, high), bottom = axis.Y(area, low);
      // A single value still shows as a stroke one unit long, on its side of the alpha line.
      if (bottom - top < 1) {
        if (low < alpha)
          bottom = top + 1;
        else
          top = bottom - 1;
      }
      if (bottom > alphaY) excluded[j].Parts.push_back({{x, bottom}, {x, std::max(top, alphaY)}});
      if (top < alphaY) kept[j].Parts.push_back({{x, std::min(bottom, alphaY)}, {x, top}});
    }
  }
  for (size_t j = 0; j < populations; ++j)
    for (TPlotPath* path : {&kept[j], &excluded[j]})
      if (!path->Parts.empty()) plot.Groups[firstGroup + j].Add(std::move(*path));
}

} // namespace

TPlot ExclusionPlot(const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                    Extended width, Extended height) {
  const size_t populations = units.Populations.size();
  std::vector<TUnitSpan> spans;
  const std::vector<int> order = UnitOrder(table, units, spans);
  const size_t n = order.size();

  TPlot plot;
  const TPlotArea area =
      StartPlot(plot, kPlotExclusionTitle(), width, height, static_cast<int>(populations) + 8);
  const TValueAxis axis =
      DecadeAxis(std::min(SmallestPositive(table, populations), run.Threshold / 10));
  const TUnitLayout layout(area, n);

  AddValueAxis(plot.AddGroup("axes"), area, axis, kPlotProbabilityAxis());
  std::vector<std::string> notes;
  if (layout.Merged) {
    notes.push_back(kPlotRangeLegend());
  } else {
    notes.push_back(kPlotExcludedLegend());
    if (run.SelfAssignment) notes.push_back(kPlotHomeLegend());
  }
  const size_t firstGroup = AddPopulationGroups(plot, area, units.Populations, notes);
  if (layout.Merged)
    MergedRanges(plot, firstGroup, area, axis, layout, table, populations, order, run.Threshold);
  else
    ExactMarkers(plot, firstGroup, area, axis, table, units, run, order, layout.UnitWidth);

  TPlotGroup& marks = plot.AddGroup("marks");
  AddHorizontalMark(marks, area, axis.Y(area, run.Threshold), kPlotRed,
                    Format(kPlotAlphaLine(), PlotNumberText(run.Threshold, 6).c_str()));
  AddSampledSpans(marks, area, spans, units.Sampled, layout.UnitWidth,
                  run.SelfAssignment ? kPlotSampledPopulation() : kPlotSamplesFilePopulation());
  return plot;
}
