#include "plots/PlotPrimitives.h"

#include <cmath>

#include "model/FixedFormat.h"

TPlotGroup& TPlot::AddGroup(std::string id, std::string name) {
  Groups.push_back(TPlotGroup{std::move(id), std::move(name), {}});
  return Groups.back();
}

void TPlotGroup::Add(TPlotItem item) {
  Items.push_back(std::move(item));
}

const TPlotGroup* TPlot::FindGroup(const std::string& id) const {
  for (const TPlotGroup& group : Groups)
    if (group.Id == id) return &group;
  return nullptr;
}

TPlotText PlotText(Extended x, Extended y, std::string text, Extended size, TTextAnchor anchor) {
  TPlotText t;
  t.At = {x, y};
  t.Text = std::move(text);
  t.Size = size;
  t.Anchor = anchor;
  return t;
}

std::string PopulationGroupId(int index) {
  return "population-" + std::to_string(index + 1);
}

std::string PlotNumberText(Extended value, int decimals) {
  std::string text;
  if (!std::isfinite(value) || !AppendFixed(text, value, decimals)) return "0";
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}
