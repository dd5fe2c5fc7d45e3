// The parts every plot shares: the title, the data area inside the margins, the value axis
// (linear or in decades), horizontal threshold lines, the sampled populations along the unit
// axis, and the legend on the right.
#pragma once

#include <string>
#include <vector>

#include "plots/PlotInput.h"
#include "plots/PlotPrimitives.h"

// Default size of a plot, in logical units (screen pixels).
inline constexpr Extended kPlotDefaultWidth = 1000;
inline constexpr Extended kPlotDefaultHeight = 520;
// Height of a legend line.
inline constexpr Extended kLegendLine = 16;

struct TPlotArea {
  Extended Left = 0, Top = 0, Width = 0, Height = 0;
  Extended Right() const { return Left + Width; }
  Extended Bottom() const { return Top + Height; }
};

// Sets the plot's size and title (in a group "title") and answers the data area, leaving room
// on the right for a legend of `legendLines` lines (none when 0) and below for the names of the
// sampled populations. The plot grows taller when the legend needs it.
TPlotArea StartPlot(TPlot& plot, const std::string& title, Extended width, Extended height,
                    int legendLines);

// A vertical value axis: linear from Low to High, or in decades from 10^Low to 10^High.
struct TValueAxis {
  Extended Low = 0, High = 1;
  bool Logarithmic = false;
  // The height of `value` in the area, clamped to it; a logarithmic axis puts 0 at the bottom.
  Extended Y(const TPlotArea& area, Extended value) const;
};

// How `units` units share the width of the area. When a unit would be narrower than one logical
// unit, the units are gathered, in plot order, into columns one logical unit wide (about as many
// units in each); a column's units are positions First(c) to First(c + 1) - 1.
struct TUnitLayout {
  Extended UnitWidth = 0;
  bool Merged = false;
  size_t Columns = 0; // merged only
  Extended ColumnWidth = 0;
  size_t Units = 0;

  TUnitLayout(const TPlotArea& area, size_t units);
  size_t First(size_t column) const { return column * Units / Columns; }
  // The left edge of column c (c = Columns: the right edge of the last).
  Extended ColumnLeft(const TPlotArea& area, size_t c) const {
    return area.Left + static_cast<Extended>(c) * ColumnWidth;
  }
};

// A linear axis from `low` to `high` widened to whole steps of 1, 2 or 5 times a power of ten.
TValueAxis LinearAxis(Extended low, Extended high);
// Decades from the one holding `smallest` (a positive probability, else 10^-1) up to 1.
TValueAxis DecadeAxis(Extended smallest);

// The frame of the area, the axis with its ticks, tick labels and rotated label.
void AddValueAxis(TPlotGroup& group, const TPlotArea& area, const TValueAxis& axis,
                  const std::string& label);
// A dashed line across the area at height y, with its label at the right end above it.
void AddHorizontalMark(TPlotGroup& group, const TPlotArea& area, Extended y, TPlotColor color,
                       const std::string& label);
// Along the bottom of the area: a boundary between consecutive spans, the name of each span's
// sampled population under its middle (turned when they are many), and the axis label. Units
// are `unitWidth` wide from the left of the area.
void AddSampledSpans(TPlotGroup& group, const TPlotArea& area, const std::vector<TUnitSpan>& spans,
                     const std::vector<std::string>& names, Extended unitWidth,
                     const std::string& label);
// The legend of the reference populations (a heading, a swatch and the name of each, then after
// a blank line the `notes`) in a group "legend", then one empty group per population (its id
// PopulationGroupId, its name); answers the index of the first population group. The legend
// takes populations.size() + 2 lines and those of the wrapped notes.
size_t AddPopulationGroups(TPlot& plot, const TPlotArea& area,
                           const std::vector<std::string>& populations,
                           const std::vector<std::string>& notes);
// A legend note cut between words into lines of at most kLegendCharacters characters (a longer
// word stands alone on its line).
inline constexpr size_t kLegendCharacters = 36;
std::vector<std::string> WrappedLegendText(const std::string& text);
// Legend line `line` (from 0) right of the area: a swatch (filled, or only framed) and a text.
void AddLegendEntry(TPlotGroup& group, const TPlotArea& area, int line, TPlotColor color,
                    bool filled, const std::string& text);
// Legend line without swatch.
void AddLegendNote(TPlotGroup& group, const TPlotArea& area, int line, const std::string& text,
                   TPlotColor color = kPlotBlack);
