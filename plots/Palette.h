// Colours of the reference populations: the eight colours of Okabe & Ito (2008), readable by
// colour-blind readers, black replaced by a grey (black draws the frames), then sixteen more of
// distinct hue and lightness; beyond those, hues spread by the golden angle at three lightness
// levels, so that any number of populations gets colours that neighbours can tell apart.
#pragma once

#include "plots/PlotPrimitives.h"

// The colour of population `index` (from 0); the same index always gives the same colour.
TPlotColor PopulationColor(int index);
// Black or white, whichever reads better on `background`.
TPlotColor TextColorOn(TPlotColor background);
