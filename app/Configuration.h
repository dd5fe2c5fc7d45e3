// The program's one setting of its own, the language of its texts, kept in an ini file: the
// user's "$HOME/.tarvik.ini", else the system-wide "/usr/local/tarvik2/etc/tarvik.ini"; section
// "Languages", key "CurrentLanguage". The window and the command line read the same file.
#pragma once

#include <string>

inline constexpr const char* kSystemConfigurationPath = "/usr/local/tarvik2/etc/tarvik.ini";

// "$HOME/.tarvik.ini"; empty when HOME is unset or empty.
std::string UserConfigurationPath();

// The integer value of `key` in `section` of ini text (names compared without regard to ASCII
// case, blanks around names and values ignored); `fallback` when the key is absent or its value
// is not a whole number.
int IniInteger(const std::string& text, const std::string& section, const std::string& key,
               int fallback);
// The ini text with `key` of `section` set to `value`: the line is replaced where it is, added
// at the end of its section, or the section is added at the end. Every other line is kept.
std::string IniWithInteger(const std::string& text, const std::string& section,
                           const std::string& key, int value);

// The language id the configuration holds: the user's file when it exists, else the system's;
// 0 (French) when neither can be read or the key is absent or malformed.
int ReadLanguage();
// Stores the language id in the user's file, keeping the rest of it. The file is replaced in
// one step, so a crash never leaves half of it; false when it cannot be written.
bool WriteLanguage(int id);
