// The commands of tarvik2-cli. Each Add...Command function registers one subcommand on the
// application, with its options, and the action that runs when the command line chose it; a
// new command is a new file with its own Add...Command, called from main.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

// Exit statuses.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1; // a load or a save failed
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
