// Plots of a large run: the membership bars of an assignment without probabilities and the
// exclusion plot of one with probabilities, for a result table of 10000 units and 50 reference
// populations made up here (no engine run), built and written as SVG (the note gives the size of
// the file), or built and drawn as the plot window draws it on screen (QPainter on an image of a
// window's size, offscreen).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "app/window/PlotPainter.h"
#include "bench/BenchSupport.h"
#include "engine/results/ResultTables.h"
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
  TResultNames names;
  names.Populations = plotUnits.Populations;
  auto table = std::make_unique<TTableResultats>(units, std::move(names));
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
      result.SetRow(k, value, value);
      sum += value;
    }
    result.CopyToSorted();
    if (!probabilities)
      for (int k = 0; k < kPopulations; ++k)
        result.SetSortedScore(k, 100 * result.SortedRow(k).Score / sum);
    result.SortRows();
  }
  return table;
}

// The plot drawn in a window of 1200 x 800 pixels.
TMeasure DrawOnScreen(const TPlot& plot) {
  QImage screen(1200, 800, QImage::Format_ARGB32_Premultiplied);
  screen.fill(Qt::lightGray);
  QPainter painter(&screen);
  PaintPlot(painter, plot, QRectF(0, 0, 1200, 800));
  painter.end();
  TMeasure m;
  m.Note = "1200 x 800 pixels";
  return m;
}

TMeasure MeasurePlot(bool exclusion, bool screen, int units, const TBenchOptions& options) {
  TPlotUnits plotUnits;
  const auto table = LargeTable(units, exclusion, plotUnits);
  TPlotRun run;
  run.SelfAssignment = true;
  run.SimulationOn = exclusion;
  run.Threshold = exclusion ? 0.01L : 0.05L;
  const std::string path =
      (std::filesystem::path(options.DataDir) / (exclusion ? "exclusion.svg" : "bars.svg"))
          .string();
  // Texts need the fonts of a GUI application.
  std::unique_ptr<QGuiApplication> application;
  if (screen && !QGuiApplication::instance()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvik2-bench";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
  }
  TStopwatch watch;
  const TPlot plot = BuildPlot(DefaultPlotKind(run), *table, plotUnits, run);
  if (screen) {
    TMeasure m = DrawOnScreen(plot);
    m.Wall = watch.WallSeconds();
    m.Cpu = watch.CpuSeconds();
    m.Work = units;
    return m;
  }
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
            " populations: build + SVG write, or build + drawing on screen (membership bars; "
            "exclusion)";
  s.Unit = "unit";
  const std::string size = Count(units) + " units";
  s.Variants = {{"bars", "bars, SVG", size, "", "", ""},
                {"exclusion", "exclusion, SVG", size, "", "", ""},
                {"bars-screen", "bars, screen", size, "", "", ""},
                {"exclusion-screen", "exclusion, screen", size, "", "", ""}};
  s.Run = [units](const std::string& variant, const TBenchOptions& o) {
    return MeasurePlot(variant.starts_with("exclusion"), variant.ends_with("-screen"), units, o);
  };
  scenarios.push_back(std::move(s));
}
