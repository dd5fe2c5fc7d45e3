// tarvik2-cli convert: rewrites a genotype file in another format.
#include <exception>
#include <iostream>
#include <memory>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "dataset/PGDSStructure.h"

namespace {

struct TConvertOptions {
  std::string Input;
  std::string Output;
  TWriteFormat To = TWriteFormat::GenePop3;
  TReadFormat Format = TReadFormat::Unknown;
  int Coding = 1;
  std::string Language;
};

int RunConvert(const TConvertOptions& options) {
  ApplyLanguage(options.Language);
  TPGDSStructure ds;
  if (!LoadDataSet(ds, options.Input, options.Format)) return kExitFailure;
  std::string written;
  try {
    written =
        ds.SaveToFile(options.Output, options.To, true, static_cast<std::uint8_t>(options.Coding));
  } catch (const std::exception& e) {
    ReportFailure(ds, e.what());
    return kExitFailure;
  }
  // The path is the user's own argument (and the format's extension): written as it is.
  std::cout << written << '\n';
  return kExitSuccess;
}

} // namespace

void AddConvertCommand(CLI::App& app, TCommands& commands) {
  auto options = std::make_shared<TConvertOptions>();
  CLI::App* command = app.add_subcommand(
      "convert", "Load a genotype file and save it in another format; prints the path "
                 "written (a name without extension gets the format's extension)");
  command->add_option("IN", options->Input, "Genotype file to read")->required();
  command->add_option("OUT", options->Output, "File to write")->required();
  command
      ->add_option_function<int>(
          "--to", [&to = options->To](const int& code) { to = WriteFormatFromCode(code); },
          "Write-format code (see 'formats')")
      ->required()
      ->check(CLI::Range(0, WriteFormatCode(kWriteFormats.back())));
  AddReadFormatOption(*command, options->Format);
  command
      ->add_option("--coding", options->Coding,
                   "Allele numbers of the Genepop 3 and haploid Genepop writers (--to 0 and 2): "
                   "0 the allele's name, 1 its length, 2 its number of repeats, 3 its rank in "
                   "name order. The Genepop 2 writer (--to 1) always numbers alleles by their "
                   "rank, so that every number fits in two digits")
      ->check(CLI::Range(0, 3))
      ->capture_default_str();
  AddLanguageOption(*command, options->Language);
  command->footer(kEncodingNote);
  commands.push_back({command, [options] { return RunConvert(*options); }});
}
