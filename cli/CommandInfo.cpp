// tarvik2-cli info: what a genotype file holds.
#include <memory>

#include "cli/CliTexts.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "dataset/PGDSStructure.h"

namespace {

struct TInfoOptions {
  std::string File;
  TReadFormat Format = TReadFormat::Unknown;
  std::string Language;
};

int RunInfo(const TInfoOptions& options) {
  ApplyLanguage(options.Language);
  TPGDSStructure ds;
  if (!LoadDataSet(ds, options.File, options.Format)) return kExitFailure;

  PrintOut(Format(kCliFormatRead(), ds.FormatName().c_str()) + "\n");
  PrintOut(Format(kCliNbLoci(), ds.LociCount()) + "\n");
  PrintOut(Format(kCliNbSamples(), ds.SamplesCount()) + "\n");
  PrintOut(Format(kCliNbIndividuals(), ds.AllIndividuals.Count()) + "\n");
  for (int l = 0; l < ds.LociCount(); ++l) {
    const TLocus& locus = *ds.LocusAt(l);
    PrintOut(Format(kCliLocusAlleles(), locus.Name.c_str(), locus.NbAlleles()) + "\n");
  }
  if (!ds.Messages.empty()) {
    PrintOut(kCliJournal() + "\n");
    for (const std::string& line : ds.Messages)
      PrintOut(line + "\n");
  }
  return kExitSuccess;
}

} // namespace

void AddInfoCommand(CLI::App& app, TCommands& commands) {
  auto options = std::make_shared<TInfoOptions>();
  CLI::App* command = app.add_subcommand(
      "info", "Load a genotype file and show its format, loci, samples, individuals and the "
              "journal of the reading");
  command->add_option("FILE", options->File, "Genotype file")->required();
  AddReadFormatOption(*command, options->Format);
  AddLanguageOption(*command, options->Language);
  command->footer(kEncodingNote);
  commands.push_back({command, [options] { return RunInfo(*options); }});
}
