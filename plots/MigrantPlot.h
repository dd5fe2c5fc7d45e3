// The migrant plot of a first-generation migrant detection: for every reference individual,
// grouped by the population it was sampled in (table order within each), its statistic (the
// home row's score: -log10 of L_home or of the likelihood ratio, or the distance), and below it,
// when probabilities were simulated, the probability of the statistic on a scale of decades
// with the line of the threshold; flagged migrants in red. Without simulation the ratio
// statistics show the line where the home population stops being the likeliest (a ratio of 1).
#pragma once

#include "plots/PlotFrame.h"

class TTableResultats;

TPlot MigrantPlot(const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                  Extended width = kPlotDefaultWidth, Extended height = kPlotDefaultHeight);
