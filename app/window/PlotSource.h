// What the plot window draws from: the result table of one completed run, kept as long as a
// window shows it, the kind of run and its units. The plots are built from these, never by
// running again.
#pragma once

#include <memory>
#include <string>

#include "engine/ResultTables.h"
#include "plots/PlotInput.h"

struct TPlotSource {
  std::shared_ptr<const TTableResultats> Table;
  TPlotRun Run;
  TPlotUnits Units;
  // What the window's caption names the run by: the file of the treated data set.
  std::string Caption;

  bool Available() const { return Table != nullptr; }
};
