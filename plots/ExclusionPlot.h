// The exclusion plot of a run with Monte-Carlo probabilities: for every treated unit, the
// probability of every reference population on a scale of decades, the line of alpha below
// which a population is excluded as the unit's origin, excluded populations drawn hollow, and
// in self-assignment the unit's sampled population framed in black. Units are grouped by the
// population they were sampled in, in table order within each.
//
// When the units would be narrower than one logical unit, every population draws, per
// one-unit column, one stroke from the smallest to the largest probability of the column's
// units: one path per population.
#pragma once

#include "plots/PlotFrame.h"

class TTableResultats;

TPlot ExclusionPlot(const TTableResultats& table, const TPlotUnits& units, const TPlotRun& run,
                    Extended width = kPlotDefaultWidth, Extended height = kPlotDefaultHeight);
