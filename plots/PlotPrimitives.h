// A plot as plain drawing primitives in a logical coordinate space (x to the right, y down,
// about one unit per screen pixel at the default size): rectangles, lines, paths and texts in
// RGB colours, gathered in named groups drawn in order. Widths of strokes and sizes of texts
// (the height of the font, in the sans-serif family) are in the same logical units. The window, the printer and the SVG
// writer all draw the same primitives; none of them needs anything the others lack.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/Real.h"

struct TPlotColor {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
  bool operator==(const TPlotColor&) const = default;
};

inline constexpr TPlotColor kPlotBlack{0, 0, 0};
inline constexpr TPlotColor kPlotWhite{255, 255, 255};
inline constexpr TPlotColor kPlotGrey{128, 128, 128};
inline constexpr TPlotColor kPlotLightGrey{220, 220, 220};
inline constexpr TPlotColor kPlotRed{220, 0, 0};

struct TPlotPoint {
  Extended X = 0, Y = 0;
};

// A filled and/or outlined rectangle; (X, Y) is its top left corner.
struct TPlotRect {
  Extended X = 0, Y = 0, Width = 0, Height = 0;
  std::optional<TPlotColor> Fill;
  std::optional<TPlotColor> Stroke;
  Extended StrokeWidth = 1;
};

// A dashed line has dashes of kPlotDash and gaps of kPlotGap logical units.
inline constexpr Extended kPlotDash = 6, kPlotGap = 4;

struct TPlotLine {
  TPlotPoint From, To;
  TPlotColor Color = kPlotBlack;
  Extended Width = 1;
  bool Dashed = false;
};

// Polylines (open) or polygons (closed), one per part, drawn as one shape: a filled path is
// filled part by part (nonzero rule, parts do not overlap).
struct TPlotPath {
  std::vector<std::vector<TPlotPoint>> Parts;
  bool Closed = false;
  std::optional<TPlotColor> Fill;
  std::optional<TPlotColor> Stroke;
  Extended StrokeWidth = 1;
};

enum class TTextAnchor { Start, Middle, End };

// One line of text; `At` is on its baseline, at the start, middle or end of the text as the
// anchor says. Rotation in degrees, clockwise, about `At`.
struct TPlotText {
  TPlotPoint At;
  std::string Text; // ISO-8859-1
  Extended Size = 12;
  TTextAnchor Anchor = TTextAnchor::Start;
  bool Bold = false;
  Extended Rotation = 0;
  TPlotColor Color = kPlotBlack;
};

using TPlotItem = std::variant<TPlotRect, TPlotLine, TPlotPath, TPlotText>;

// Primitives that belong together: the frame and axes, one population, the legend. `Id` is
// unique in the plot and made of letters, digits and '-'; `Name` is what it stands for (a
// population's name, ISO-8859-1).
struct TPlotGroup {
  std::string Id;
  std::string Name;
  std::vector<TPlotItem> Items;

  // Appends one primitive.
  void Add(TPlotItem item);
};

struct TPlot {
  Extended Width = 0, Height = 0;
  std::string Title;
  // Drawn in order, each group's items in order.
  std::vector<TPlotGroup> Groups;

  // Appends a group and answers it.
  TPlotGroup& AddGroup(std::string id, std::string name = std::string());
  // The group with this id, or null.
  const TPlotGroup* FindGroup(const std::string& id) const;
};

// A text with the usual defaults: not bold, not turned, black.
TPlotText PlotText(Extended x, Extended y, std::string text, Extended size,
                   TTextAnchor anchor = TTextAnchor::Start);

// The id of the group of population `index` (from 0): "population-<index + 1>".
std::string PopulationGroupId(int index);

// A number as plots and SVG files write it: fixed-point with at most `decimals` decimals,
// trailing zeros and a negative zero dropped, a dot whatever the locale.
std::string PlotNumberText(Extended value, int decimals);
