// tarvik2-cli formats: the read and write format codes, names and extensions.
#include <memory>

#include "cli/CliTexts.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "dataset/PGDSStructure.h"

namespace {

std::string FormatLine(int code, const std::string& name, const std::string& extension) {
  if (extension.empty()) return Format("  %d  %s\n", code, name.c_str());
  return Format("  %d  %-22s %s\n", code, name.c_str(), extension.c_str());
}

int RunFormats() {
  PrintOut(kCliReadFormats() + "\n");
  for (TReadFormat format : kReadFormats) {
    const std::string extension =
        format == TReadFormat::Unknown ? kCliDetection() : ReadFormatExtension(format);
    PrintOut(FormatLine(ReadFormatCode(format), ReadFormatName(format), extension));
  }
  PrintOut(kCliWriteFormats() + "\n");
  for (TWriteFormat format : kWriteFormats)
    PrintOut(
        FormatLine(WriteFormatCode(format), WriteFormatName(format), WriteFormatExtension(format)));
  return kExitSuccess;
}

} // namespace

void AddFormatsCommand(CLI::App& app, TCommands& commands) {
  auto language = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("formats", "List the read and write format codes");
  AddLanguageOption(*command, *language);
  commands.push_back({command, [language] {
                        ApplyLanguage(*language);
                        return RunFormats();
                      }});
}
