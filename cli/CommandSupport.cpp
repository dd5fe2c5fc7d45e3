#include "cli/CommandSupport.h"

#include <exception>
#include <iostream>

#include "app/Configuration.h"
#include "base/Texts.h"
#include "dataset/PGDSStructure.h"

void AddLanguageOption(CLI::App& command, std::string& language) {
  // The language the user last chose in the window.
  language = ReadLanguage() == lang::English ? "en" : "fr";
  command
      .add_option("--lang", language,
                  "Language of every text: fr (French) or en (English); by default the "
                  "language last chosen in the window (~/.tarvik.ini), else French")
      ->check(CLI::IsMember({"fr", "en"}))
      ->capture_default_str();
}

void AddReadFormatOption(CLI::App& command, TReadFormat& format) {
  format = TReadFormat::Unknown;
  command
      .add_option_function<int>(
          "--format", [&format](const int& code) { format = ReadFormatFromCode(code); },
          "Read-format code (see 'formats'); 7 finds the format by itself")
      ->check(CLI::Range(0, ReadFormatCode(kReadFormats.back())))
      ->default_str(std::to_string(ReadFormatCode(format)));
}

void ApplyLanguage(const std::string& language) {
  const int id = language == "en" ? lang::English : lang::French;
  SetCurrentLanguage(id);
  SetDataSetLanguage(id);
}

void PrintOut(const std::string& latin1) {
  std::cout << Utf8(latin1);
}

void PrintError(const std::string& latin1) {
  std::cerr << Utf8(latin1);
}

void ReportFailure(const TPGDSStructure& ds, const std::string& message) {
  for (const std::string& line : ds.Messages)
    PrintError(line + "\n");
  // A failure to open the file is already the journal's last line.
  if (ds.Messages.empty() || ds.Messages.back() != message) PrintError(message + "\n");
}

bool LoadDataSet(TPGDSStructure& ds, const std::string& path, TReadFormat format) {
  try {
    ds.LoadFromFile(path, format);
    return true;
  } catch (const std::exception& e) {
    ReportFailure(ds, e.what());
    return false;
  }
}
