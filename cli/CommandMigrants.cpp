// tarvik2-cli migrants: first-generation migrant detection among the reference individuals,
// with the main window's parameters, run and export.
#include <memory>

#include "cli/Commands.h"

void AddMigrantsCommand(CLI::App& app, TCommands& commands) {
  auto options = std::make_shared<TRunCommandOptions>();
  options->Migrants = true;
  CLI::App* command = app.add_subcommand(
      "migrants", "Tests every individual of the reference file as a first-generation migrant "
                  "(born in another population than the one it was sampled in); writes the "
                  "result table as the main window exports it, with the count of flagged "
                  "individuals");
  command->add_option("REF", options->Reference, "Reference populations file")->required();
  options->Statistic = 1;
  command
      ->add_option("--statistic", options->Statistic,
                   "0 L_home, 1 L_home / L_max, 2 L_home / L_max_not_home")
      ->check(CLI::Range(0, 2))
      ->capture_default_str();
  AddRunOptions(*command, *options);
  commands.push_back({command, [options] { return RunComputation(*options); }});
}
