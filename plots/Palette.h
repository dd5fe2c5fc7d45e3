// Colours of the reference populations: the eight colours of Okabe & Ito (2008), readable by
// colour-blind readers, black replaced by a grey (black draws the frames), then sixteen more of
// distinct hue and lightness; beyond those, colours whose hues step by the golden angle through
// several lightness and saturation levels, each kept only when it lies far enough (more than
// kPaletteSpacing in RGB) from every colour before it. The palette has kPaletteSize colours and
// starts again after the last.
#pragma once

#include "plots/PlotPrimitives.h"

inline constexpr int kPaletteSize = 256;
inline constexpr int kPaletteSpacing = 30;

// The colour of population `index` (from 0); the same index always gives the same colour.
TPlotColor PopulationColor(int index);
// `from` moved towards `to` by `share` (0: from, 1: to), channel by channel.
TPlotColor MixedColor(TPlotColor from, TPlotColor to, Extended share);
// Black or white, whichever reads better on `background`.
TPlotColor TextColorOn(TPlotColor background);
