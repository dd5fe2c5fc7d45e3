#include "plots/PlotFrame.h"

#include <algorithm>
#include <cmath>

#include "plots/Palette.h"
#include "plots/PlotTexts.h"

namespace {

constexpr Extended kMarginLeft = 70, kMarginTop = 40, kMarginBottom = 90, kLegendWidth = 230;
constexpr Extended kTickLength = 5, kSmallText = 10, kAxisText = 12;

// 1, 2 or 5 times a power of ten, the smallest not below `raw`.
Extended NiceStep(Extended raw) {
  if (!(raw > 0)) return 1;
  const Extended decade = std::pow(10.0L, std::floor(std::log10(raw)));
  for (const Extended f : {1.0L, 2.0L, 5.0L})
    if (f * decade >= raw) return f * decade;
  return 10 * decade;
}

TPlotLine Line(Extended x1, Extended y1, Extended x2, Extended y2, TPlotColor color,
               Extended width = 1) {
  TPlotLine line;
  line.From = {x1, y1};
  line.To = {x2, y2};
  line.Color = color;
  line.Width = width;
  return line;
}

} // namespace

std::vector<std::string> WrappedLegendText(const std::string& text) {
  std::vector<std::string> lines;
  std::string line, word;
  auto flush = [&lines, &line] {
    if (!line.empty()) lines.push_back(line);
    line.clear();
  };
  for (size_t k = 0; k <= text.size(); ++k) {
    if (k < text.size() && text[k] != ' ') {
      word += text[k];
      continue;
    }
    if (word.empty()) continue;
    if (!line.empty() && line.size() + 1 + word.size() > kLegendCharacters) flush();
    line += (line.empty() ? "" : " ") + word;
    word.clear();
  }
  flush();
  return lines;
}

TPlotArea StartPlot(TPlot& plot, const std::string& title, Extended width, Extended height,
                    int legendLines) {
  const Extended legend = legendLines > 0 ? kLegendWidth : 20;
  const Extended legendHeight = kMarginTop + legendLines * kLegendLine + 20;
  plot.Width = width;
  plot.Height = std::max(height, legendHeight);
  plot.Title = title;
  plot.AddGroup("title").Add(
      PlotText(plot.Width / 2, kMarginTop / 2 + 6, title, 16, TTextAnchor::Middle));
  std::get<TPlotText>(plot.Groups.back().Items.back()).Bold = true;
  TPlotArea area;
  area.Left = kMarginLeft;
  area.Top = kMarginTop;
  area.Width = std::max<Extended>(50, plot.Width - kMarginLeft - legend);
  area.Height = std::max<Extended>(50, plot.Height - kMarginTop - kMarginBottom);
  return area;
}

TUnitLayout::TUnitLayout(const TPlotArea& area, size_t units) : Units(units) {
  UnitWidth = units > 0 ? area.Width / static_cast<Extended>(units) : area.Width;
  Merged = UnitWidth < 1;
  if (!Merged) return;
  Columns = static_cast<size_t>(std::max<Extended>(1, std::floor(area.Width)));
  ColumnWidth = area.Width / static_cast<Extended>(Columns);
}

Extended TValueAxis::Y(const TPlotArea& area, Extended value) const {
  Extended v = value;
  if (Logarithmic) v = value > 0 ? std::log10(value) : Low;
  if (IsUndefined(v)) v = Low;
  const Extended share = High > Low ? (std::clamp(v, Low, High) - Low) / (High - Low) : 0;
  return area.Bottom() - share * area.Height;
}

TValueAxis LinearAxis(Extended low, Extended high) {
  if (!std::isfinite(low)) low = 0;
  if (!std::isfinite(high) || high <= low) high = low + 1;
  const Extended step = NiceStep((high - low) / 5);
  return {std::floor(low / step) * step, std::ceil(high / step) * step, false};
}

TValueAxis DecadeAxis(Extended smallest) {
  // The tolerance keeps an exact power of ten (0.001) in its own decade.
  const Extended low =
      smallest > 0 && smallest < 1 ? std::floor(std::log10(smallest) + 1e-9L) : -1;
  return {std::min<Extended>(low, -1), 0, true};
}

void AddValueAxis(TPlotGroup& group, const TPlotArea& area, const TValueAxis& axis,
                  const std::string& label) {
  TPlotRect frame{area.Left, area.Top, area.Width, area.Height, std::nullopt, kPlotBlack, 1};
  group.Add(frame);
  const Extended step = axis.Logarithmic ? 1 : NiceStep((axis.High - axis.Low) / 5);
  // Decades: every one up to 10, then every other one or more.
  const Extended every = axis.Logarithmic ? std::ceil((axis.High - axis.Low) / 10) : step;
  for (Extended v = axis.Low; v <= axis.High + every / 1000; v += every) {
    const Extended value = axis.Logarithmic ? std::pow(10.0L, v) : v;
    const Extended y = axis.Y(area, value);
    group.Add(Line(area.Left - kTickLength, y, area.Left, y, kPlotBlack));
    group.Add(Line(area.Left, y, area.Right(), y, kPlotLightGrey, 0.5L));
    const std::string text = axis.Logarithmic ? (v == 0 ? "1" : "1e" + PlotNumberText(v, 0))
                                              : PlotNumberText(v, 6);
    group.Add(
        PlotText(area.Left - kTickLength - 3, y + kSmallText / 3, text, kSmallText, TTextAnchor::End));
  }
  TPlotText title = PlotText(area.Left - 50, area.Top + area.Height / 2, label, kAxisText,
                         TTextAnchor::Middle);
  title.Rotation = -90;
  group.Add(title);
}

void AddHorizontalMark(TPlotGroup& group, const TPlotArea& area, Extended y, TPlotColor color,
                       const std::string& label) {
  TPlotLine line = Line(area.Left, y, area.Right(), y, color, 1.5L);
  line.Dashed = true;
  group.Add(line);
  TPlotText text = PlotText(area.Right() - 2, y - 3, label, kSmallText, TTextAnchor::End);
  text.Color = color;
  group.Add(text);
}

void AddSampledSpans(TPlotGroup& group, const TPlotArea& area, const std::vector<TUnitSpan>& spans,
                     const std::vector<std::string>& names, Extended unitWidth,
                     const std::string& label) {
  // Names are turned when the narrowest span leaves less room than a short name needs.
  Extended narrowest = area.Width;
  for (const TUnitSpan& span : spans)
    narrowest = std::min(narrowest, span.Count * unitWidth);
  const bool turned = narrowest < 60;
  for (size_t k = 0; k < spans.size(); ++k) {
    const TUnitSpan& span = spans[k];
    const Extended left = area.Left + span.First * unitWidth;
    if (k > 0) group.Add(Line(left, area.Top, left, area.Bottom(), kPlotBlack, 1.5L));
    const std::string name =
        span.Sampled >= 0 && span.Sampled < static_cast<int>(names.size())
            ? names[static_cast<size_t>(span.Sampled)]
            : std::string("?");
    const Extended middle = left + span.Count * unitWidth / 2;
    TPlotText text = PlotText(middle, area.Bottom() + 14, name, kSmallText,
                          turned ? TTextAnchor::End : TTextAnchor::Middle);
    if (turned) {
      text.At.X += kSmallText / 3;
      text.Rotation = -45;
    }
    group.Add(text);
  }
  group.Add(PlotText(area.Left + area.Width / 2, area.Bottom() + (turned ? 80 : 40), label, kAxisText,
                 TTextAnchor::Middle));
}

void AddLegendEntry(TPlotGroup& group, const TPlotArea& area, int line, TPlotColor color,
                    bool filled, const std::string& text) {
  const Extended top = area.Top + line * kLegendLine;
  TPlotRect swatch{area.Right() + 15, top + 2, 11, 11, std::nullopt, std::nullopt, 1};
  if (filled)
    swatch.Fill = color;
  else
    swatch.Stroke = color;
  group.Add(swatch);
  group.Add(PlotText(area.Right() + 32, top + 12, text, kSmallText, TTextAnchor::Start));
}

void AddLegendNote(TPlotGroup& group, const TPlotArea& area, int line, const std::string& text,
                   TPlotColor color) {
  TPlotText t = PlotText(area.Right() + 15, area.Top + line * kLegendLine + 12, text, kSmallText,
                     TTextAnchor::Start);
  t.Color = color;
  group.Add(t);
}

size_t AddPopulationGroups(TPlot& plot, const TPlotArea& area,
                           const std::vector<std::string>& populations,
                           const std::vector<std::string>& notes) {
  TPlotGroup& legend = plot.AddGroup("legend");
  AddLegendNote(legend, area, 0, kPlotReferencePopulations());
  int line = 1;
  for (size_t j = 0; j < populations.size(); ++j)
    AddLegendEntry(legend, area, line++, PopulationColor(static_cast<int>(j)), true,
                   populations[j]);
  ++line;
  for (const std::string& note : notes)
    for (const std::string& part : WrappedLegendText(note))
      AddLegendNote(legend, area, line++, part);
  const size_t first = plot.Groups.size();
  for (size_t j = 0; j < populations.size(); ++j)
    plot.AddGroup(PopulationGroupId(static_cast<int>(j)), populations[j]);
  return first;
}
