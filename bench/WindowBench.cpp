// The main window's share of a run, under the offscreen platform: a whole run started with
// "Démarrer" (the engine, the journal and the results grid), and the results grid filled again
// from the shown table (as a change of the number of scores does: layout, model, column widths,
// first paint) for 10,000 treated individuals and 50 or 60 grid columns; then the plot window of
// the run opened and drawn (the membership bars of 10,000 units and 31, 41 or 50 populations).
#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/window/FormPlot.h"
#include "app/window/FormPrinc.h"
#include "app/window/ScriptedServices.h"
#include "bench/DataGenerator.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// `populations` reference populations and 10,000 individuals to assign: with five scores the
// grid has 1 + 15 + populations + 3 columns.
void Measure(int populations, int individuals, const std::filesystem::path& folder) {
  TGeneratorParams reference;
  reference.Populations = populations;
  reference.IndividualsPerPopulation = 20;
  reference.Loci = 10;
  TGeneratorParams samples = reference;
  samples.Populations = 1;
  samples.IndividualsPerPopulation = individuals;
  samples.Seed = 2;
  const std::string referencePath = (folder / reference.FileName()).string();
  const std::string samplesPath = (folder / samples.FileName()).string();
  WriteGenepopFile(referencePath, reference);
  WriteGenepopFile(samplesPath, samples);

  TScriptedServices services;
  TFormPrinc window(services);
  window.show();
  window.OpenReference(referencePath, GeneratedFormat(reference));
  window.OpenSamples(samplesPath, GeneratedFormat(samples));

  auto start = std::chrono::steady_clock::now();
  window.BitBtnStart->click();
  QApplication::processEvents();
  const double run = Seconds(start);
  const TResultsGrid& grid = window.ResultsGrid();
  std::printf("run from Démarrer, %d x %d grid (%d populations, 10 loci): %.3f s\n",
              grid.RowCount() - 2, grid.ColumnCount(), populations, run);

  // Filled again with 4 scores, then with 5: the second fill has the run's layout.
  window.SpinEditScores->setValue(4);
  QApplication::processEvents();
  start = std::chrono::steady_clock::now();
  window.SpinEditScores->setValue(5);
  QApplication::processEvents();
  const double fill = Seconds(start);
  std::printf("grid fill %d x %d (layout, model, column widths, paint): %.3f s\n",
              grid.RowCount() - 2, grid.ColumnCount(), fill);

  start = std::chrono::steady_clock::now();
  window.BitBtnPlots->click();
  TFormPlot* plots = window.PlotWindows.back();
  plots->PlotView->repaint();
  QApplication::processEvents();
  std::printf("plot window, membership bars of %d units x %d populations in %d x %d pixels: "
              "%.3f s\n",
              individuals, populations, plots->PlotView->width(), plots->PlotView->height(),
              Seconds(start));
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  const bool small = argc > 1 && std::string(argv[1]) == "--small";
  const int individuals = small ? 1000 : 10000;
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tarvik2-window-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const std::filesystem::path folder(pattern);
  Measure(31, individuals, folder);
  Measure(41, individuals, folder);
  Measure(50, individuals, folder);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
