// tarvik2-cli: the data sets, their statistics, assignment and migrant detection from the
// command line.
#include <exception>
#include <iostream>

#include "app/ProgramStart.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "dataset/DataSetTexts.h"

int main(int argc, char** argv) {
  UseDotDecimalSeparator();
  CLI::App app{"Tarvik2 on the command line: genotype files (microsatellites), their formats, "
               "their population statistics, assignment of individuals to reference "
               "populations and detection of first-generation migrants.",
               "tarvik2-cli"};
  app.require_subcommand(1);
  app.footer(std::string("Exit status: 0 success, 1 a load or a save failed or a run was "
                         "refused or failed, 2 wrong command line.\n") +
             kEncodingNote);

  TCommands commands;
  AddFormatsCommand(app, commands);
  AddInfoCommand(app, commands);
  AddConvertCommand(app, commands);
  AddStatsCommand(app, commands);
  AddAssignCommand(app, commands);
  AddMigrantsCommand(app, commands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help requests exit with 0 after printing the help; real errors with the usage status.
    return app.exit(e) == 0 ? kExitSuccess : kExitUsage;
  }

  int status = kExitUsage;
  try {
    for (const TCommand& command : commands)
      if (command.Subcommand->parsed()) {
        status = command.Run();
        break;
      }
  } catch (const std::exception& e) {
    PrintError(std::string(e.what()) + "\n");
    return kExitFailure;
  } catch (...) {
    PrintError(kCliUnexpectedFailure() + "\n");
    return kExitFailure;
  }
  // Output lost (a full disk behind a redirection) is a failure, not a success.
  std::cout.flush();
  if (!std::cout) {
    PrintError(Format(kFileNotWritten(), "/dev/stdout") + "\n");
    return kExitFailure;
  }
  return status;
}
