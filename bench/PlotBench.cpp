// Plots of a large run: the membership bars of an assignment without probabilities and the
// exclusion plot of one with probabilities, for a result table of 10000 units and 50 reference
// populations made up here (no engine run), built and written as SVG. The note gives the size
// of the file.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>

#include "bench/BenchSupport.h"
#include "engine/ResultTables.h"
#include "plots/PlotKinds.h"
#include "plots/SvgWriter.h"

namespace {

constexpr int kPopulations = 50;

// Unit i sampled in population i mod 50; its own population likeliest most of the time. Rows
// hold probabilities (exclusion) or likelihoods whose percentages rank the populations.
std::unique_ptr<TTableResultats> LargeTable(int units, bool probabilities, TPlotUnits& plotUnits) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> uniform(0, 1);
  plotUnits = TPlotUnits{};
  for (int k = 0; k < kPopulations; ++k)
    plotUnits.Populations.push_back("Pop" + std::to_string(k + 1));
  plotUnits.Sampled = plotUnits.Populations;
  auto table = std::make_unique<TTableResultats>(units);
  for (int i = 0; i < units; ++i) {
    TResultats& result = table->Item(i);
    const int home = i % kPopulations;
    plotUnits.SampledOf.push_back(home);
    result.SetCount(kPopulations);
    result.Caption = plotUnits.Populations[static_cast<size_t>(home)] + "/" + std::to_string(i);
    Extended sum = 0;
    for (int k = 0; k < kPopulations; ++k) {
      const double u = uniform(random);
      // Probabilities are shares of 1000 simulated individuals, often 0 away from home.
      const Extended value = probabilities
                                 ? std::floor(1000 * (k == home ? 0.2 + 0.8 * u : u * u * u)) / 1000
                                 : (k == home ? 5.0 * u : u * u * u * u);
      result.Row(k) = RResultat{plotUnits.Populations[static_cast<size_t>(k)], value, value};
      sum += value;
    }
    result.CopyToSorted();
    if (!probabilities)
      for (RResultat& row : result.SortedRows)
        row.Score = 100 * row.Score / sum;
    result.SortRows();
  }
  return table;
}

TMeasure MeasurePlot(bool exclusion, int units, const TBenchOptions& options) {
  TPlotUnits plotUnits;
  const auto table = LargeTable(units, exclusion, plotUnits);
  TPlotRun run;
  run.SelfAssignment = true;
  run.SimulationOn = exclusion;
  run.Threshold = exclusion ? 0.01L : 0.05L;
  const std::string path =
      (std::filesystem::path(options.DataDir) / (exclusion ? "exclusion.svg" : "bars.svg")).string();
  TStopwatch watch;
  const TPlot plot = BuildPlot(DefaultPlotKind(run), *table, plotUnits, run);
  WriteSvgFile(plot, path);
  TMeasure m;
  m.Wall = watch.WallSeconds();
  m.Cpu = watch.CpuSeconds();
  m.Work = units;
  char note[64];
  std::snprintf(note, sizeof note, "SVG %.2f MB",
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);
  m.Note = note;
  return m;
}

} // namespace

void AddPlotScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  const int units = Sized(options, 10000, 1000);
  TScenario s;
  s.Name = "plots";
  s.Title = "plots of " + Count(units) + " units x " + std::to_string(kPopulations) +
            " populations: build + SVG write (membership bars; exclusion)";
  s.Unit = "unit";
  const std::string size = Count(units) + " units";
  s.Variants = {{"bars", "bars", size, "", "", ""}, {"exclusion", "exclusion", size, "", "", ""}};
  s.Run = [units](const std::string& variant, const TBenchOptions& o) {
    return MeasurePlot(variant == "exclusion", units, o);
  };
  scenarios.push_back(std::move(s));
}
