// The plot of a run of `assign` or `migrants`: its options, the check that the run can draw the
// kind asked for (made before the run starts), and the SVG file.
#include "cli/CommandPlot.h"

#include <exception>

#include "app/InterfaceAutomate.h"
#include "cli/CommandSupport.h"
#include "dataset/PGDSStructure.h"
#include "plots/PlotKinds.h"
#include "plots/SvgWriter.h"

namespace {

const char* const kKindNames[] = {"bars", "matrix", "exclusion"};

TPlotKind KindOf(const TRunCommandOptions& options, const TPlotRun& run) {
  if (options.PlotKind == kKindNames[0]) return TPlotKind::Bars;
  if (options.PlotKind == kKindNames[1]) return TPlotKind::Matrix;
  if (options.PlotKind == kKindNames[2]) return TPlotKind::Exclusion;
  return DefaultPlotKind(run);
}

} // namespace

void AddPlotOption(CLI::App& command, TRunCommandOptions& options) {
  command.add_option("--plot", options.Plot,
                     "Also write the plot of the run to this SVG file (ISO-8859-1)");
}

void AddPlotKindOption(CLI::App& command, TRunCommandOptions& options) {
  CLI::Option* plot = command.get_option_no_throw("--plot");
  CLI::Option* kind =
      command
          .add_option("--plot-kind", options.PlotKind,
                      "The plot --plot writes: bars (membership scores), matrix (self-assignment "
                      "only), exclusion (probabilities); default: exclusion with --simulate, else "
                      "bars")
          ->check(CLI::IsMember({kKindNames[0], kKindNames[1], kKindNames[2]}));
  if (plot) kind->needs(plot);
}

TPlotRequest::TPlotRequest(const TRunCommandOptions& options, const TInterfaceAutomate& automaton,
                           bool samplesUsed)
    : options_(options), run_(PlotRunOf(automaton, samplesUsed)), kind_(KindOf(options, run_)) {}

std::string TPlotRequest::Refusal() const {
  return options_.Plot.empty() ? std::string() : PlotRefusal(kind_, run_);
}

std::string TPlotRequest::Write(const TTableResultats& table, const TPGDSStructure& reference,
                                const TPGDSStructure& target) const {
  if (options_.Plot.empty()) return std::string();
  try {
    const TPlotUnits units = PlotUnitsOf(reference, target, run_.Groups);
    WriteSvgFile(BuildPlot(kind_, table, units, run_), options_.Plot);
  } catch (const std::exception& e) {
    return e.what();
  }
  return std::string();
}
