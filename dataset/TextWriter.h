// Writing genotype files: every writer puts bytes out as they are (ISO-8859-1) and ends each
// line with a single line feed, whatever the platform.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

// Writes the bytes of `text`.
void WriteText(std::ostream& out, const std::string& text);
// Writes the bytes of `text` followed by one line feed (byte 10).
void WriteLine(std::ostream& out, const std::string& text = std::string());

// The text with "&", "<", ">" and the double quote replaced by their XML references, so that it
// can stand as element content or as a double-quoted attribute value.
std::string XMLEscape(std::string_view text);
