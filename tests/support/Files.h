// Files the tests read and write whole, and journals and exports compared without their time
// stamps. Plain C++: the window tests use it too.
#pragma once

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace support {

// The bytes of a file (empty when it cannot be read).
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Replaces the file's content by `content`.
inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

// Date and time stamps replaced by "<t>", processor times by "<d>".
inline std::string Normalised(const std::string& text) {
  static const std::regex stamp(R"(\d\d/\d\d/\d\d\d\d \d\d:\d\d:\d\d)");
  static const std::regex duration(R"(\d+\.\d\d\d s)");
  return std::regex_replace(std::regex_replace(text, stamp, "<t>"), duration, "<d> s");
}

} // namespace support
