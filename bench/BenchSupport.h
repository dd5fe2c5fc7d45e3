// Shared machinery of the benchmarks: the scenarios and their measurements, the child processes
// that run one measurement each (so that every measurement has its own peak memory), the report
// table, and the generated data files.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bench/DataGenerator.h"

class TPGDSStructure;

// Wall-clock and processor time (every thread of the process) since construction.
class TStopwatch {
public:
  TStopwatch();
  double WallSeconds() const;
  double CpuSeconds() const;

private:
  std::chrono::steady_clock::time_point wall_;
  double cpu_;
};

// The command line shared by every scenario.
struct TBenchOptions {
  bool Small = false;  // every size about ten times smaller
  int Threads = 0;     // threads of the runs; 0: the default of each scenario
  std::string DataDir; // the generated files and the exports
  // Another build's benchmark program: each measurement is also made by it, on the same
  // files, and shown on the row above ("before"), with the ratios of the two.
  std::string Baseline;
};

// What one measurement found, in the child process that made it.
struct TMeasure {
  double Wall = 0, Cpu = 0;
  // Locus evaluations (or genotypes read) done by the timed work: throughput = Work / Wall.
  double Work = 0;
  // Simulated values still held when the timed work ended (for bytes per kept value).
  double ValuesKept = 0;
  // False when the engine refuses these parameters: the row reads "not available".
  bool Available = true;
  std::string Note;
};

// One measurement of a scenario, made in a child process of its own.
struct TVariant {
  std::string Name; // the child's --variant
  std::string Path; // how the engine computes: "2 threads", "no simulation"
  std::string Size; // what is treated: "10000 ind", "10000 sim"
  // The variant (measured before this one) whose wall time divided by this one's is the ratio.
  std::string RatioOf;
  std::string RatioLabel; // "vs 1 thread"
  // The variant (measured before) whose peak memory is subtracted from this one's to give the
  // memory of the kept simulated values.
  std::string Baseline;
};

struct TScenario {
  std::string Name;                   // the command-line name
  std::string Title;                  // one line of the legend
  std::string Unit;                   // what TMeasure::Work counts
  std::vector<TGeneratorParams> Data; // files generated before any measurement
  std::vector<TVariant> Variants;     // in measurement order
  std::function<TMeasure(const std::string& variant, const TBenchOptions& options)> Run;
};

// The scenarios of each family, sized by the options.
// SNP-like data: two alleles per locus and thousands of loci (hundreds with --small), in 10
// populations.
TGeneratorParams SnpData(int individualsPerPopulation, const TBenchOptions& options);

void AddLoadScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);
void AddAssignScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);
void AddAssignSnpScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);
void AddSimulationScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);
void AddMigrantScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);
void AddCornuetScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);
void AddPlotScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options);

// ---- data

// The path of the file generated for `params` in the data folder, written first when missing.
std::string DataFile(const TGeneratorParams& params, const TBenchOptions& options);
// Loads the file generated for `params` (written first when missing).
void LoadGenerated(TPGDSStructure& ds, const TGeneratorParams& params,
                   const TBenchOptions& options);
// Every locus of a data set, in file order.
std::vector<std::string> AllLocusNames(const TPGDSStructure& ds);
// Seeds both process-wide random generators, so that every run draws the same numbers.
void SeedGenerators();
// `full`, or `small` with --small.
int Sized(const TBenchOptions& options, int full, int small);
// The thread count a run asks for, as the text of the table: "1 thread", "2 threads".
std::string ThreadsText(int threads);
// A number with thousands left plain: "10000".
std::string Count(double n);

// ---- the two sides of a measurement

// The child: runs `variant` of `scenario` and writes its result line on standard output.
int RunChildMeasurement(const TScenario& scenario, const std::string& variant,
                        const TBenchOptions& options);
// The parent: runs every variant of every scenario, each in a child process started from this
// program, and prints the table. Returns the exit status of the program.
int RunScenarios(const std::vector<const TScenario*>& scenarios, const TBenchOptions& options);
