// The commands of tarvik2-cli. Each Add...Command function registers one subcommand on the
// application, with its options, and the action that runs when the command line chose it; a
// new command is a new file with its own Add...Command, called from main.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

// Exit statuses.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1; // a load or a save failed, a run refused or failed
constexpr int kExitUsage = 2;   // the command line is wrong

struct TCommand {
  CLI::App* Subcommand;
  // Runs the command once the command line is parsed; answers the exit status.
  std::function<int()> Run;
};
using TCommands = std::vector<TCommand>;

void AddFormatsCommand(CLI::App& app, TCommands& commands);
void AddInfoCommand(CLI::App& app, TCommands& commands);
void AddConvertCommand(CLI::App& app, TCommands& commands);
void AddStatsCommand(CLI::App& app, TCommands& commands);
void AddAssignCommand(CLI::App& app, TCommands& commands);
void AddMigrantsCommand(CLI::App& app, TCommands& commands);

// What assign and migrants share (cli/CommandAssign.cpp): the options of a run, as given on the
// command line, and the run itself.
struct TRunCommandOptions {
  bool Migrants = false; // migrant detection instead of assignment
  std::string Reference;
  std::string Samples; // assign only; empty: the reference assigns its own individuals
  bool Groups = false; // assign only
  std::string Criterion;
  std::string DefaultFrequency;
  std::string Loci; // comma-separated; empty: the loci the window would check
  std::string Threshold;
  int Scores = -1;      // assign only; -1: the window's default
  std::string Simulate; // empty: no probability computation
  int Simulated = 1000;
  std::string Alpha;
  std::string Seed;
  int Threads = 0; // 0: every core
  int Statistic = 1; // migrants only
  std::string Language;
  std::string Output;
  std::string Plot;     // empty: no plot file
  std::string PlotKind; // assign only; empty: the run's default kind
};
// Registers the options both commands have: criterion, default frequency, loci, threshold,
// simulation, seeds, language and output.
void AddRunOptions(CLI::App& command, TRunCommandOptions& options);
// --plot FILE (both commands) and --plot-kind bars|matrix|exclusion (assign), in
// cli/CommandPlot.cpp.
void AddPlotOption(CLI::App& command, TRunCommandOptions& options);
void AddPlotKindOption(CLI::App& command, TRunCommandOptions& options);
// Loads the data sets, checks the parameters as the main window would, runs, and writes the
// export and the plot; answers the exit status.
int RunComputation(const TRunCommandOptions& options);
