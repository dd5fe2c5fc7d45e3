#include "plots/MembershipBars.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/results/ResultTables.h"
#include "plots/Palette.h"
#include "plots/PlotTexts.h"

namespace {

// How a unit sorts within its sampled population: units led by the reference population of the
// same name (their own, in self-assignment) first, then by leading population, units without a
// defined score last; then by the leading score, highest first.
struct TLeader {
  int Rank = std::numeric_limits<int>::max();
  Extended Score = 0;
};

std::vector<TLeader> Leaders(const TTableResultats& table, const TPlotUnits& units) {
  std::vector<int> own; // the reference population of each sampled population's name, or -1
  for (const std::string& name : units.Sampled)
    own.push_back(PopulationIndex(units, name));
  std::vector<TLeader> leaders(static_cast<size_t>(table.Count()));
  for (int i = 0; i < table.Count(); ++i) {
    const TResultats& result = table.Item(i);
    const int p = LeadingPopulation(result, units);
    if (p < 0) continue;
    const int s =
        i < static_cast<int>(units.SampledOf.size()) ? units.SampledOf[static_cast<size_t>(i)] : -1;
    const bool home =
        s >= 0 && s < static_cast<int>(own.size()) && own[static_cast<size_t>(s)] == p;
    leaders[static_cast<size_t>(i)] = {home ? -1 : p, result.SortedRow(0).Score};
  }
  return leaders;
}

std::vector<int> Order(const TTableResultats& table, const TPlotUnits& units,
                       std::vector<TUnitSpan>& spans) {
  const std::vector<TLeader> leaders = Leaders(table, units);
  return UnitOrder(table, units, spans, [&leaders](int a, int b) {
    const TLeader& x = leaders[static_cast<size_t>(a)];
    const TLeader& y = leaders[static_cast<size_t>(b)];
    if (x.Rank != y.Rank) return x.Rank < y.Rank;
    return x.Score > y.Score;
  });
}

// One bar per unit: a rectangle per population with a positive score.
void ExactBars(TPlot& plot, size_t firstGroup, const TPlotArea& area, const TValueAxis& axis,
               const std::vector<std::vector<Extended>>& scores, Extended unitWidth) {
  const Extended gap = unitWidth >= 4 ? unitWidth * 0.1L : 0;
  for (size_t p = 0; p < scores.size(); ++p) {
    Extended base = 0;
    const Extended x = area.Left + static_cast<Extended>(p) * unitWidth + gap / 2;
    for (size_t j = 0; j < scores[p].size(); ++j) {
      const Extended score = scores[p][j];
      if (IsUndefined(score) || !(score > 0)) continue;
      const Extended top = axis.Y(area, base + score), bottom = axis.Y(area, base);
      base += score;
      TPlotRect bar{
          x, top, unitWidth - gap, bottom - top, PopulationColor(static_cast<int>(j)), std::nullopt,
          1};
      plot.Groups[firstGroup + j].Add(bar);
    }
  }
}

// One column per logical unit of width, each population's mean score over the units of the
// column; every population one path, a polygon per run of columns where it shows.
void MergedBars(TPlot& plot, size_t firstGroup, const TPlotArea& area, const TValueAxis& axis,
                const TUnitLayout& layout, const std::vector<std::vector<Extended>>& scores,
                size_t populations) {
  const size_t columns = layout.Columns;
  // means[c][j], then turned into cumulated bases.
  std::vector<std::vector<Extended>> bases(columns, std::vector<Extended>(populations + 1, 0));
  for (size_t c = 0; c < columns; ++c) {
    const size_t first = layout.First(c), last = layout.First(c + 1);
    int counted = 0;
    std::vector<Extended>& base = bases[c];
    for (size_t p = first; p < last; ++p) {
      // A unit without any defined score draws nothing and counts for nothing.
      if (std::all_of(scores[p].begin(), scores[p].end(),
                      [](Extended s) { return IsUndefined(s); }))
        continue;
      ++counted;
      for (size_t j = 0; j < populations; ++j)
        if (!IsUndefined(scores[p][j]) && scores[p][j] > 0) base[j + 1] += scores[p][j];
    }
    for (size_t j = 0; j < populations; ++j)
      base[j + 1] = base[j] + (counted > 0 ? base[j + 1] / counted : 0);
  }
  for (size_t j = 0; j < populations; ++j) {
    TPlotPath path;
    path.Closed = true;
    path.Fill = PopulationColor(static_cast<int>(j));
    for (size_t c = 0; c < columns;) {
      if (!(bases[c][j + 1] > bases[c][j])) {
        ++c;
        continue;
      }
      size_t end = c;
      while (end < columns && bases[end][j + 1] > bases[end][j])
        ++end;
      std::vector<TPlotPoint> part;
      // Upper edge left to right, lower edge back; a step per column.
      for (size_t k = c; k < end; ++k) {
        const Extended y = axis.Y(area, bases[k][j + 1]);
        part.push_back({layout.ColumnLeft(area, k), y});
        part.push_back({layout.ColumnLeft(area, k + 1), y});
      }
      for (size_t k = end; k-- > c;) {
        const Extended y = axis.Y(area, bases[k][j]);
        part.push_back({layout.ColumnLeft(area, k + 1), y});
        part.push_back({layout.ColumnLeft(area, k), y});
      }
      path.Parts.push_back(std::move(part));
      c = end;
    }
    if (!path.Parts.empty()) plot.Groups[firstGroup + j].Add(std::move(path));
  }
}

} // namespace

std::vector<int> MembershipOrder(const TTableResultats& table, const TPlotUnits& units) {
  std::vector<TUnitSpan> spans;
  return Order(table, units, spans);
}

TPlot MembershipBars(const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                     Extended width, Extended height) {
  const size_t populations = units.Populations.size();
  std::vector<TUnitSpan> spans;
  const std::vector<int> order = Order(table, units, spans);
  const size_t n = order.size();

  TPlot plot;
  const TPlotArea area =
      StartPlot(plot, kPlotBarsTitle(), width, height, static_cast<int>(populations) + 3);
  const TValueAxis axis = LinearAxis(0, 100);
  const TUnitLayout layout(area, n);

  AddValueAxis(plot.AddGroup("axes"), area, axis, kPlotScoreAxis());
  std::vector<std::string> notes;
  if (layout.Merged)
    notes.push_back(Format(kPlotMergedUnits(), static_cast<int>(n),
                           static_cast<int>((n + layout.Columns - 1) / layout.Columns)));
  const size_t firstGroup = AddPopulationGroups(plot, area, units.Populations, notes);

  std::vector<std::vector<Extended>> scores;
  scores.reserve(n);
  for (const int i : order)
    scores.push_back(PopulationScores(table.Item(i), units));
  if (layout.Merged)
    MergedBars(plot, firstGroup, area, axis, layout, scores, populations);
  else
    ExactBars(plot, firstGroup, area, axis, scores, layout.UnitWidth);

  TPlotGroup& marks = plot.AddGroup("marks");
  AddSampledSpans(marks, area, spans, units.Sampled, layout.UnitWidth,
                  run.SelfAssignment ? kPlotSampledPopulation() : kPlotSamplesFilePopulation());
  return plot;
}
