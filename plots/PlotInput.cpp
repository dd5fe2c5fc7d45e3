#include "plots/PlotInput.h"

#include <algorithm>
#include <unordered_map>

#include "app/InterfaceAutomate.h"
#include "app/ResultsGrid.h"
#include "dataset/PGDSStructure.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Migrants.h"

TPlotRun PlotRunOf(const TInterfaceAutomate& a, bool samplesUsed) {
  TPlotRun run;
  run.Migrants = a.MigrantMode;
  run.Groups = !a.MigrantMode && a.GroupAssignment;
  run.SelfAssignment = !a.MigrantMode && !run.Groups && !samplesUsed;
  run.SimulationOn = a.SimulationOn;
  run.Criterion = a.Criterion;
  run.LikelihoodOption = a.LikelihoodOption;
  run.Threshold = a.Threshold;
  return run;
}

TPlotUnits PlotUnitsOf(const TPGDSStructure& reference, const TPGDSStructure& target, bool groups) {
  TPlotUnits units;
  units.Populations = PopulationNames(reference);
  units.Sampled = PopulationNames(target);
  if (groups) {
    for (int s = 0; s < target.SamplesCount(); ++s)
      units.SampledOf.push_back(s);
    return units;
  }
  const auto homes = MigrantHomes(target);
  for (int i = 0; i < target.AllIndividuals.Count(); ++i) {
    const auto found = homes.find(target.AllIndividuals.Items(i));
    units.SampledOf.push_back(found == homes.end() ? -1 : found->second.Sample);
  }
  return units;
}

std::vector<int> UnitOrder(const TTableResultats& table, const TPlotUnits& units,
                           std::vector<TUnitSpan>& spans,
                           const std::function<bool(int, int)>& before) {
  const int n = table.Count();
  const int sampled = static_cast<int>(units.Sampled.size());
  // Unknown sampled populations sort last.
  auto groupOf = [&units, sampled](int i) {
    const int s =
        i < static_cast<int>(units.SampledOf.size()) ? units.SampledOf[static_cast<size_t>(i)] : -1;
    return s < 0 || s >= sampled ? sampled : s;
  };
  std::vector<int> order(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    order[static_cast<size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int ga = groupOf(a), gb = groupOf(b);
    if (ga != gb) return ga < gb;
    return before && before(a, b);
  });
  spans.clear();
  for (int p = 0; p < n; ++p) {
    const int g = groupOf(order[static_cast<size_t>(p)]);
    const int s = g == sampled ? -1 : g;
    if (spans.empty() || spans.back().Sampled != s) spans.push_back(TUnitSpan{s, p, 0});
    ++spans.back().Count;
  }
  return order;
}

int PopulationIndex(const TPlotUnits& units, const std::string& name) {
  const auto found = std::find(units.Populations.begin(), units.Populations.end(), name);
  return found == units.Populations.end() ? -1
                                          : static_cast<int>(found - units.Populations.begin());
}

std::vector<Extended> PopulationScores(const TResultats& result, const TPlotUnits& units) {
  std::vector<Extended> scores(units.Populations.size(), Undefined());
  // Rows are in population order: the ranked rows are found by name through them.
  std::unordered_map<std::string, size_t> position;
  for (int j = 0; j < result.Count && j < static_cast<int>(scores.size()); ++j)
    position.emplace(result.Row(j).Name, static_cast<size_t>(j));
  const int ranked = std::min(result.SortedCount(), result.Count);
  for (int k = 0; k < ranked; ++k) {
    const RResultat row = result.SortedRow(k);
    const auto found = position.find(row.Name);
    if (found != position.end()) scores[found->second] = row.Score;
  }
  return scores;
}

int LeadingPopulation(const TResultats& result, const TPlotUnits& units) {
  if (result.SortedCount() == 0 || result.Count == 0 || IsUndefined(result.SortedRow(0).Score))
    return -1;
  return PopulationIndex(units, result.SortedRow(0).Name);
}
