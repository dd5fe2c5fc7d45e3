// Which plots a run can draw, and the plot of a run by kind.
#pragma once

#include <string>
#include <vector>

#include "plots/PlotFrame.h"

class TTableResultats;

enum class TPlotKind { Bars, Matrix, Exclusion, Migrants };

// The plot a run draws unless told otherwise: the migrant plot of a migrant detection, the
// exclusion plot with probabilities, else the membership bars.
TPlotKind DefaultPlotKind(const TPlotRun& run);
// Why the run cannot draw this kind of plot, in the current language; empty when it can.
std::string PlotRefusal(TPlotKind kind, const TPlotRun& run);

// The kinds the run can draw, in menu order: bars, matrix, exclusion, migrants.
std::vector<TPlotKind> AvailablePlotKinds(const TPlotRun& run);
// The name of a kind as a menu shows it, in the current language.
std::string PlotKindName(TPlotKind kind);

// The plot of a run; the kind must be one PlotRefusal accepts.
TPlot BuildPlot(TPlotKind kind, const TTableResultats& table, const TPlotUnits& units,
                const TPlotRun& run, Extended width = kPlotDefaultWidth,
                Extended height = kPlotDefaultHeight);
