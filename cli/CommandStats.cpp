// tarvik2-cli stats: the population statistics of a genotype file, as semicolon-separated
// text.
#include <exception>
#include <memory>

#include "base/Texts.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "stats/StatisticsExport.h"
#include "stats/StatisticsGrid.h"

namespace {

struct TStatsOptions {
  std::string File;
  TReadFormat Format = TReadFormat::Unknown;
  std::string Output;
  std::string Language;
};

int RunStats(const TStatsOptions& options) {
  ApplyLanguage(options.Language);
  TPGDSStructure ds;
  if (!LoadDataSet(ds, options.File, options.Format)) return kExitFailure;
  const TStatisticsGrid grid = BuildStatisticsGrid(ds, CurrentLanguage());
  if (options.Output.empty()) {
    PrintOut(StatisticsExportText(grid));
    return kExitSuccess;
  }
  try {
    // Through a temporary file: a full disk or a failed write leaves the user's file as it was.
    const std::string text = StatisticsExportText(grid);
    SaveFileSafely(options.Output, [&text](std::ostream& out) { WriteText(out, text); });
  } catch (const std::exception& e) {
    ReportFailure(ds, e.what());
    return kExitFailure;
  }
  return kExitSuccess;
}

} // namespace

void AddStatsCommand(CLI::App& app, TCommands& commands) {
  auto options = std::make_shared<TStatsOptions>();
  CLI::App* command = app.add_subcommand(
      "stats", "Per-locus statistics of every sample (numbers of genes and alleles, allele "
               "frequencies, observed heterozygosity, Nei's gene diversity, means and standard "
               "deviations) as semicolon-separated text");
  command->add_option("FILE", options->File, "Genotype file")->required();
  AddReadFormatOption(*command, options->Format);
  command->add_option("-o,--output", options->Output,
                      "Write the statistics to this file (ISO-8859-1) instead of standard "
                      "output (UTF-8)");
  AddLanguageOption(*command, options->Language);
  command->footer(kEncodingNote);
  commands.push_back({command, [options] { return RunStats(*options); }});
}
