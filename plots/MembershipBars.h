// Membership bars: one stacked bar per treated unit, the percentage score of every reference
// population stacked in population order from the bottom, so that a bar shows how the unit's
// membership is shared. Units are ordered by the population they were sampled in; within it,
// those whose leading (top-scoring) population is the one they were sampled in come first, the
// others follow by leading population, each run by the leading score, highest first. The sampled
// populations are separated and named along the bottom.
//
// When the bars would be narrower than one logical unit (a screen pixel), the units of each
// one-unit column are averaged and every population becomes one path, so that a run of any
// size draws about as many shapes as the plot is wide.
#pragma once

#include <vector>

#include "plots/PlotFrame.h"

class TTableResultats;

// The units in the order of the bars.
std::vector<int> MembershipOrder(const TTableResultats& table, const TPlotUnits& units);

TPlot MembershipBars(const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                     Extended width = kPlotDefaultWidth, Extended height = kPlotDefaultHeight);
