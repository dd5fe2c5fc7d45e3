#include "app/window/PlotSource.h"

#include <utility>

TPlotSource CompletedRunSource(std::shared_ptr<const TTableResultats> table,
                               const TInterfaceAutomate& automaton,
                               const TPGDSStructure& reference, const TPGDSStructure* samples,
                               std::string caption) {
  TPlotSource source;
  source.Table = std::move(table);
  source.Run = PlotRunOf(automaton, samples != nullptr);
  source.Units = PlotUnitsOf(reference, samples ? *samples : reference, source.Run.Groups);
  source.Caption = std::move(caption);
  return source;
}
