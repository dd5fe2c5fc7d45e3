#include "dataset/TextWriter.h"

void WriteText(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void WriteLine(std::ostream& out, const std::string& text) {
  WriteText(out, text);
  out.put('\n');
}

std::string XMLEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    default:
      escaped.push_back(c);
    }
  }
  return escaped;
}
