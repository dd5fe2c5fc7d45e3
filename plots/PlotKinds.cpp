#include "plots/PlotKinds.h"

#include "plots/AssignmentMatrix.h"
#include "plots/ExclusionPlot.h"
#include "plots/MembershipBars.h"
#include "plots/MigrantPlot.h"
#include "plots/PlotTexts.h"

TPlotKind DefaultPlotKind(const TPlotRun& run) {
  if (run.Migrants) return TPlotKind::Migrants;
  return run.SimulationOn ? TPlotKind::Exclusion : TPlotKind::Bars;
}

std::string PlotRefusal(TPlotKind kind, const TPlotRun& run) {
  if (run.Migrants) return kind == TPlotKind::Migrants ? std::string() : kPlotMigrantsOnly();
  switch (kind) {
  case TPlotKind::Bars:
    return run.SimulationOn ? kPlotBarsNeedScores() : std::string();
  case TPlotKind::Matrix:
    return run.SelfAssignment ? std::string() : kPlotMatrixNeedsSelfAssignment();
  case TPlotKind::Exclusion:
    return run.SimulationOn ? std::string() : kPlotExclusionNeedsSimulation();
  case TPlotKind::Migrants:
    break;
  }
  return kPlotMigrantsNeedDetection();
}

std::vector<TPlotKind> AvailablePlotKinds(const TPlotRun& run) {
  std::vector<TPlotKind> kinds;
  for (const TPlotKind kind :
       {TPlotKind::Bars, TPlotKind::Matrix, TPlotKind::Exclusion, TPlotKind::Migrants})
    if (PlotRefusal(kind, run).empty()) kinds.push_back(kind);
  return kinds;
}

std::string PlotKindName(TPlotKind kind) {
  switch (kind) {
  case TPlotKind::Matrix:
    return kPlotMatrixName();
  case TPlotKind::Exclusion:
    return kPlotExclusionName();
  case TPlotKind::Migrants:
    return kPlotMigrantName();
  case TPlotKind::Bars:
    break;
  }
  return kPlotBarsName();
}

TPlot BuildPlot(TPlotKind kind, const TTableResultats& table, const TPlotUnits& units,
                const TPlotRun& run, Extended width, Extended height) {
  switch (kind) {
  case TPlotKind::Matrix:
    return AssignmentMatrix(table, units, width);
  case TPlotKind::Exclusion:
    return ExclusionPlot(table, units, run, width, height);
  case TPlotKind::Migrants:
    return MigrantPlot(table, units, run, width, height);
  case TPlotKind::Bars:
    break;
  }
  return MembershipBars(table, units, run, width, height);
}
