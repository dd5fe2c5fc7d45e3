// Result tables made by hand for the plot tests, and readers of the primitives of a plot.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/results/ResultTables.h"
#include "plots/PlotInput.h"
#include "plots/PlotPrimitives.h"

namespace plottest {

// A table of n results whose rows are the given populations.
inline std::unique_ptr<TTableResultats> NamedTable(const std::vector<std::string>& populations,
                                                   int n) {
  TResultNames names;
  names.Populations = populations;
  return std::make_unique<TTableResultats>(n, std::move(names));
}

// One unit's result: rows in population order (the table's populations) with their values,
// ranked rows with `scores` (percentages, or probabilities) ranked highest first.
inline void SetUnit(TResultats& result, const std::string& caption,
                    const std::vector<std::string>& populations,
                    const std::vector<Extended>& values, const std::vector<Extended>& scores) {
  result.SetCount(static_cast<int>(populations.size()));
  result.Caption = caption;
  for (size_t j = 0; j < populations.size(); ++j)
    result.SetRow(static_cast<int>(j), values[j], scores[j]);
  result.CopyToSorted();
  result.SortRows();
}

// Units whose rows hold the given scores (also as values); unit i sampled in sampled[i].
inline std::unique_ptr<TTableResultats>
ScoreTable(const std::vector<std::string>& populations,
           const std::vector<std::vector<Extended>>& scores) {
  auto table = NamedTable(populations, static_cast<int>(scores.size()));
  for (size_t i = 0; i < scores.size(); ++i)
    SetUnit(table->Item(static_cast<int>(i)), "u" + std::to_string(i), populations, scores[i],
            scores[i]);
  return table;
}

inline TPlotUnits Units(const std::vector<std::string>& populations,
                        const std::vector<std::string>& sampled,
                        const std::vector<int>& sampledOf) {
  return TPlotUnits{populations, sampled, sampledOf};
}

// The primitives of type T in a group.
template <class T> std::vector<T> ItemsOf(const TPlotGroup& group) {
  std::vector<T> items;
  for (const TPlotItem& item : group.Items)
    if (const T* p = std::get_if<T>(&item)) items.push_back(*p);
  return items;
}

template <class T> std::vector<T> ItemsOf(const TPlot& plot, const std::string& groupId) {
  const TPlotGroup* group = plot.FindGroup(groupId);
  return group ? ItemsOf<T>(*group) : std::vector<T>();
}

// Every text of a plot, in drawing order.
inline std::vector<std::string> Texts(const TPlot& plot) {
  std::vector<std::string> texts;
  for (const TPlotGroup& group : plot.Groups)
    for (const TPlotText& text : ItemsOf<TPlotText>(group))
      texts.push_back(text.Text);
  return texts;
}

} // namespace plottest
