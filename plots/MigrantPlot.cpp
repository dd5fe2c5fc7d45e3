#include "plots/MigrantPlot.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/ResultsGrid.h"
#include "engine/criteria/Criteria.h"
#include "engine/results/ResultTables.h"
#include "plots/Palette.h"
#include "plots/PlotTexts.h"

namespace {

constexpr TPlotColor kResident{70, 70, 70};

// The home row of an individual; nothing when it has none.
std::optional<RResultat> HomeRow(const TResultats& result) {
  if (result.SortedCount() == 0 || result.Count == 0) return std::nullopt;
  return result.SortedRow(0);
}

// One marker per individual with a defined value, in the group of its sampled population.
void AddMarkers(TPlot& plot, size_t firstGroup, const TPlotArea& area, const TValueAxis& axis,
                const TTableResultats& table, const TPlotUnits& units,
                const std::vector<int>& order, Extended unitWidth, bool probability) {
  const Extended size = std::clamp<Extended>(unitWidth * 0.7L, 1, 6);
  for (size_t p = 0; p < order.size(); ++p) {
    const TResultats& result = table.Item(order[p]);
    const std::optional<RResultat> home = HomeRow(result);
    if (!home) continue;
    const Extended value = probability ? home->Value : home->Score;
    if (IsUndefined(value)) continue;
    const int sampled = order[p] < static_cast<int>(units.SampledOf.size())
                            ? units.SampledOf[static_cast<size_t>(order[p])]
                            : -1;
    const Extended x = area.Left + (static_cast<Extended>(p) + 0.5L) * unitWidth;
    TPlotRect marker{x - size / 2,
                     axis.Y(area, value) - size / 2,
                     size,
                     size,
                     result.IsMigrant ? kPlotRed : kResident,
                     std::nullopt,
                     1};
    const bool known = sampled >= 0 && sampled < static_cast<int>(units.Sampled.size());
    const size_t group = known ? firstGroup + static_cast<size_t>(sampled) : plot.Groups.size() - 1;
    plot.Groups[group].Add(marker);
  }
}

} // namespace

TPlot MigrantPlot(const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                  Extended width, Extended height) {
  std::vector<TUnitSpan> spans;
  const std::vector<int> order = UnitOrder(table, units, spans);
  const size_t n = order.size();
  int migrants = 0, residents = 0;
  Extended low = 0, high = 0, smallest = 1;
  for (int i = 0; i < table.Count(); ++i) {
    const TResultats& result = table.Item(i);
    if (result.IsMigrant)
      ++migrants;
    else
      ++residents;
    const std::optional<RResultat> home = HomeRow(result);
    if (!home) continue;
    if (std::isfinite(home->Score)) {
      low = std::min(low, home->Score);
      high = std::max(high, home->Score);
    }
    if (!IsUndefined(home->Value) && home->Value > 0) smallest = std::min(smallest, home->Value);
  }

  TPlot plot;
  const TPlotArea whole = StartPlot(plot, kPlotMigrantTitle(), width, height, 3);
  TPlotArea area = whole, lower = whole;
  if (run.SimulationOn) {
    area.Height = (whole.Height - 25) * 0.5L;
    lower.Top = area.Bottom() + 25;
    lower.Height = whole.Bottom() - lower.Top;
  }
  const bool distance = IsDistance(run.Criterion);
  // Without simulation the ratios flag at a ratio of 1: -log10 of it is 0, a distance ratio 1.
  const bool ratioLine = !run.SimulationOn && run.LikelihoodOption != TMigrantStatistic::Home;
  const Extended ratioAt = distance ? 1 : 0;
  if (ratioLine) high = std::max(high, ratioAt);
  const TValueAxis axis = LinearAxis(low, high);
  const TValueAxis probabilities = DecadeAxis(std::min(smallest, run.Threshold / 10));
  const Extended unitWidth = TUnitLayout(area, n).UnitWidth;

  TPlotGroup& axes = plot.AddGroup("axes");
  AddValueAxis(axes, area, axis, MigrantStatisticLabel(run.Criterion, run.LikelihoodOption));
  if (run.SimulationOn) AddValueAxis(axes, lower, probabilities, kPlotProbabilityAxis());
  TPlotGroup& legend = plot.AddGroup("legend");
  AddLegendEntry(legend, whole, 0, kPlotRed, true, Format(kPlotMigrantLegend(), migrants));
  AddLegendEntry(legend, whole, 1, kResident, true, Format(kPlotResidentLegend(), residents));
  const size_t firstGroup = plot.Groups.size();
  for (size_t s = 0; s < units.Sampled.size(); ++s)
    plot.AddGroup(PopulationGroupId(static_cast<int>(s)), units.Sampled[s]);
  // Individuals of no known sample.
  plot.AddGroup("unsampled");
  AddMarkers(plot, firstGroup, area, axis, table, units, order, unitWidth, false);
  if (run.SimulationOn)
    AddMarkers(plot, firstGroup, lower, probabilities, table, units, order, unitWidth, true);
  if (plot.Groups.back().Items.empty()) plot.Groups.pop_back();

  TPlotGroup& marks = plot.AddGroup("marks");
  if (run.SimulationOn)
    AddHorizontalMark(marks, lower, probabilities.Y(lower, run.Threshold), kPlotRed,
                      Format(kPlotThresholdLine(), PlotNumberText(run.Threshold, 6).c_str()));
  if (ratioLine)
    AddHorizontalMark(marks, area, axis.Y(area, ratioAt), kPlotRed,
                      Format(kPlotThresholdLine(), PlotNumberText(ratioAt, 0).c_str()));
  AddSampledSpans(marks, whole, spans, units.Sampled, unitWidth, kPlotSampledPopulation());
  return plot;
}
