#include "plots/Palette.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

constexpr TPlotColor kFixed[] = {
    // Okabe & Ito.
    {230, 159, 0},   {86, 180, 233},  {0, 158, 115},   {240, 228, 66},
    {0, 114, 178},   {213, 94, 0},    {204, 121, 167}, {128, 128, 128},
    // Distinct additions, dark and light by turns.
    {117, 0, 92},    {170, 255, 195}, {0, 70, 40},     {255, 190, 120},
    {70, 50, 180},   {190, 230, 0},   {150, 40, 20},   {140, 210, 255},
    {90, 90, 0},     {255, 150, 200}, {0, 130, 130},   {200, 170, 255},
    {60, 30, 0},     {170, 130, 60},  {20, 40, 110},   {255, 230, 200}};

// HSL to RGB, hue in degrees, saturation and lightness from 0 to 1.
TPlotColor FromHsl(double hue, double saturation, double lightness) {
  const double c = (1 - std::fabs(2 * lightness - 1)) * saturation;
  const double h = std::fmod(hue, 360.0) / 60.0;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
  case 0: r = c, g = x; break;
  case 1: r = x, g = c; break;
  case 2: g = c, b = x; break;
  case 3: g = x, b = c; break;
  case 4: r = x, b = c; break;
  default: r = c, b = x; break;
  }
  const double m = lightness - c / 2;
  auto byte = [m](double v) { return static_cast<std::uint8_t>(std::lround((v + m) * 255)); };
  return {byte(r), byte(g), byte(b)};
}

std::vector<TPlotColor> MakePalette() {
  std::vector<TPlotColor> palette(std::begin(kFixed), std::end(kFixed));
  auto far = [&palette](TPlotColor c) {
    for (const TPlotColor& o : palette) {
      const int r = c.Red - o.Red, g = c.Green - o.Green, b = c.Blue - o.Blue;
      if (r * r + g * g + b * b <= kPaletteSpacing * kPaletteSpacing) return false;
    }
    return true;
  };
  constexpr double kGoldenAngle = 137.50776405003785;
  constexpr double kLightness[] = {0.45, 0.65, 0.30, 0.55, 0.38};
  constexpr double kSaturation[] = {0.75, 0.55, 0.95};
  for (int k = 0; static_cast<int>(palette.size()) < kPaletteSize; ++k) {
    const TPlotColor c = FromHsl(15.0 + k * kGoldenAngle, kSaturation[(k / 5) % 3], kLightness[k % 5]);
    if (c != kPlotBlack && c != kPlotWhite && far(c)) palette.push_back(c);
  }
  return palette;
}

} // namespace

TPlotColor PopulationColor(int index) {
  if (index < 0) return kPlotGrey;
  static const std::vector<TPlotColor> palette = MakePalette();
  return palette[static_cast<size_t>(index % kPaletteSize)];
}

TPlotColor MixedColor(TPlotColor from, TPlotColor to, Extended share) {
  auto mix = [share](int a, int b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * std::clamp<Extended>(share, 0, 1)));
  };
  return {mix(from.Red, to.Red), mix(from.Green, to.Green), mix(from.Blue, to.Blue)};
}

TPlotColor TextColorOn(TPlotColor background) {
  const int luma = 299 * background.Red + 587 * background.Green + 114 * background.Blue;
  return luma > 140000 ? kPlotBlack : kPlotWhite;
}
