// The plot a command line asked for with --plot, for one run.
#pragma once

#include <string>

#include "cli/Commands.h"
#include "plots/PlotInput.h"
#include "plots/PlotKinds.h"

class TInterfaceAutomate;
class TPGDSStructure;
class TTableResultats;

class TPlotRequest {
public:
  // The run as the automaton set it up; `samplesUsed`: a samples data set is assigned.
  TPlotRequest(const TRunCommandOptions& options, const TInterfaceAutomate& automaton,
               bool samplesUsed);

  // Why the run cannot draw the plot asked for, in the current language; empty when it can or
  // when no plot was asked for.
  std::string Refusal() const;
  // Writes the plot of the run's table, whose units are those of `target` (the reference itself
  // in self-assignment and migrant detection), when one was asked for; answers the error
  // message, empty on success.
  std::string Write(const TTableResultats& table, const TPGDSStructure& reference,
                    const TPGDSStructure& target) const;

private:
  const TRunCommandOptions& options_;
  TPlotRun run_;
  TPlotKind kind_;
};
