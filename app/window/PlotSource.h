// What the plot window draws from: the result table of one completed run, kept as long as a
// window shows it, the kind of run and its units. The plots are built from these, never by
// running again.
#pragma once

#include <memory>
#include <string>

#include "engine/results/ResultTables.h"
#include "plots/PlotInput.h"

class TInterfaceAutomate;
class TPGDSStructure;

struct TPlotSource {
  std::shared_ptr<const TTableResultats> Table;
  TPlotRun Run;
  TPlotUnits Units;
  // What the window's caption names the run by: the file of the treated data set.
  std::string Caption;

  bool Available() const { return Table != nullptr; }
};

// The source of a run that just completed: its table, the run the automaton set up, and the
// units of the treated data set, `samples` when a samples data set was assigned (null otherwise:
// self-assignment, migrant detection), else the reference. `caption`: the path of the treated
// file.
TPlotSource CompletedRunSource(std::shared_ptr<const TTableResultats> table,
                               const TInterfaceAutomate& automaton, const TPGDSStructure& reference,
                               const TPGDSStructure* samples, std::string caption);
