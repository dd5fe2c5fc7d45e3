#include "app/Configuration.h"

#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <vector>

#include "dataset/TextWriter.h"
#include "model/Convert.h"

namespace {

const char kSection[] = "Languages";
const char kKey[] = "CurrentLanguage";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The name of a "[section]" line, or false.
bool SectionName(const std::string& line, std::string& name) {
  const std::string trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
  name = Trim(std::string_view(trimmed).substr(1, trimmed.size() - 2));
  return true;
}

// The key of a "key=value" line and its value, or false.
bool KeyValue(const std::string& line, std::string& key, std::string& value) {
  const size_t equal = line.find('=');
  if (equal == std::string::npos) return false;
  key = Trim(std::string_view(line).substr(0, equal));
  value = Trim(std::string_view(line).substr(equal + 1));
  return !key.empty() && key[0] != ';' && key[0] != '#';
}

bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

} // namespace

std::string UserConfigurationPath() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return std::string();
  return std::string(home) + "/.tarvik.ini";
}

int IniInteger(const std::string& text, const std::string& section, const std::string& key,
               int fallback) {
  bool inSection = false;
  for (const std::string& line : Lines(text)) {
    std::string name, k, v;
    if (SectionName(line, name)) {
      inSection = SameTextAscii(name, section);
    } else if (inSection && KeyValue(line, k, v) && SameTextAscii(k, key)) {
      char* end = nullptr;
      const long value = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || value < -2147483647L - 1 || value > 2147483647L)
        return fallback;
      return static_cast<int>(value);
    }
  }
  return fallback;
}

std::string IniWithInteger(const std::string& text, const std::string& section,
                           const std::string& key, int value) {
  const std::string setting = key + "=" + std::to_string(value);
  std::vector<std::string> lines = Lines(text);
  bool inSection = false, found = false;
  size_t endOfSection = 0; // the line after the section's last non-blank line
  for (size_t i = 0; i < lines.size() && !found; ++i) {
    std::string name, k, v;
    if (SectionName(lines[i], name)) {
      if (inSection) break;
      inSection = SameTextAscii(name, section);
      if (inSection) endOfSection = i + 1;
    } else if (inSection) {
      if (KeyValue(lines[i], k, v) && SameTextAscii(k, key)) {
        lines[i] = setting;
        found = true;
      } else if (!Trim(lines[i]).empty()) {
        endOfSection = i + 1;
      }
    }
  }
  if (!found) {
    if (endOfSection > 0) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(endOfSection), setting);
    } else {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back("");
      lines.push_back("[" + section + "]");
      lines.push_back(setting);
    }
  }
  std::string out;
  for (const std::string& line : lines)
    out += line + "\n";
  return out;
}

int ReadLanguage() {
  std::string text;
  const std::string user = UserConfigurationPath();
  if ((user.empty() || !ReadWhole(user, text)) && !ReadWhole(kSystemConfigurationPath, text))
    return 0;
  return IniInteger(text, kSection, kKey, 0);
}

bool WriteLanguage(int id) {
  const std::string user = UserConfigurationPath();
  if (user.empty()) return false;
  std::string text;
  ReadWhole(user, text); // a missing file starts empty
  const std::string updated = IniWithInteger(text, kSection, kKey, id);
  try {
    SaveFileSafely(user, [&updated](std::ostream& out) { out << updated; });
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
