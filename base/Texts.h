// Process-wide bilingual message texts.
//
// Every user-visible text exists in French and English. A TText holds both, as ISO-8859-1 bytes,
// and answers the one of the current language; switching the language switches every text at
// once, while a text already formatted keeps the language of the moment it was made.
#pragma once

#include <string>
#include <string_view>

namespace lang {
constexpr int French = 1036;
constexpr int English = 2057;
} // namespace lang

// Selects the language of every TText: 2057 English, any other id French.
void SetCurrentLanguage(int id);
// The current language id: 1036 or 2057.
int CurrentLanguage();
bool EnglishSelected();

// Converts UTF-8 text (as written in the sources) to ISO-8859-1 bytes; characters outside
// Latin-1 become '?'.
std::string Latin1(std::string_view utf8);
// Converts ISO-8859-1 bytes to UTF-8 (for terminals and tests).
std::string Utf8(std::string_view latin1);

class TText {
public:
  // Both texts are given in UTF-8 and stored in ISO-8859-1.
  TText(std::string_view frenchUtf8, std::string_view englishUtf8);
  // A text that is the same in both languages.
  explicit TText(std::string_view bothUtf8);

  const std::string& operator()() const { return EnglishSelected() ? english_ : french_; }
  const std::string& French() const { return french_; }
  const std::string& English() const { return english_; }

private:
  std::string french_;
  std::string english_;
};

// printf-like formatting into a std::string ("%s" takes const char*; use .c_str()).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const std::string& format, ...);
