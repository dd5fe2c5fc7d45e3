#include "base/Texts.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
int gLanguage = lang::French;

std::string VFormat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[512];
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::vector<char> big(static_cast<size_t>(n) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<size_t>(n));
}
} // namespace

void SetCurrentLanguage(int id) { gLanguage = id == lang::English ? lang::English : lang::French; }
int CurrentLanguage() { return gLanguage; }
bool EnglishSelected() { return gLanguage == lang::English; }

std::string Latin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      out.push_back(code < 256 ? static_cast<char>(code) : '?');
      i += 2;
    } else {
      out.push_back('?');
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
    }
  }
  return out;
}

std::string Utf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char ch : latin1) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

TText::TText(std::string_view frenchUtf8, std::string_view englishUtf8)
    : french_(Latin1(frenchUtf8)), english_(Latin1(englishUtf8)) {}

TText::TText(std::string_view bothUtf8) : french_(Latin1(bothUtf8)), english_(french_) {}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = VFormat(format, args);
  va_end(args);
  return s;
}

std::string Format(const std::string& format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = VFormat(format.c_str(), args);
  va_end(args);
  return s;
}
