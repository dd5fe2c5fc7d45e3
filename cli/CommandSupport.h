// What the commands of tarvik2-cli share: the common options, the language, the output of
// texts and the loading of a data set with its error report.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "base/Texts.h"
#include "dataset/FileFormats.h"

class TPGDSStructure;

// How texts reach the user: the data and message texts are ISO-8859-1 bytes; terminals want
// UTF-8.
inline constexpr const char* kEncodingNote =
    "Texts are written to standard output and standard error in UTF-8. A file written with -o "
    "holds the ISO-8859-1 bytes of the statistics export, exactly as the statistics window "
    "saves it.";

// A failure that carries no message of its own.
inline const TText kCliUnexpectedFailure{"Erreur inattendue", "Unexpected error"};

// --lang fr|en (French when absent).
void AddLanguageOption(CLI::App& command, std::string& language);
// --format CODE: the number of the read format, 7 (the default) for detection.
void AddReadFormatOption(CLI::App& command, TReadFormat& format);

// Selects the language of every text: "en" English, anything else French.
void ApplyLanguage(const std::string& language);

// Writes ISO-8859-1 text to standard output or standard error, converted to UTF-8.
void PrintOut(const std::string& latin1);
void PrintError(const std::string& latin1);
// Writes the data set's journal lines, then the message (unless it is the last of them), to
// standard error.
void ReportFailure(const TPGDSStructure& ds, const std::string& message);

// Loads `path`, trying the reader of `format` first; on failure reports it (ReportFailure) and
// answers false.
bool LoadDataSet(TPGDSStructure& ds, const std::string& path, TReadFormat format);
