// Writing genotype files: every writer puts bytes out as they are (ISO-8859-1) and ends each
// line with a single line feed, whatever the platform.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

// Writes the bytes of `text`.
void WriteText(std::ostream& out, const std::string& text);
// Writes the bytes of `text` followed by one line feed (byte 10).
void WriteLine(std::ostream& out, const std::string& text = std::string());

// The text with "&", "<", ">" and the double quote replaced by their XML references, so that it
// can stand as element content or as a double-quoted attribute value. A NUL byte, which would
// end the character data of an element on reading, is written as the reference "&#0;".
std::string XMLEscape(std::string_view text);

// Writes the file `path` with `write`, so that it is never left half written: the bytes go to a
// temporary file of the same folder, forced to the disk, which then replaces `path` (keeping
// the permissions of the file it replaces). When `write` raises, or the file cannot be created,
// written (full disk) or renamed (read-only folder), the temporary file is removed, `path` is
// as it was, and the exception of `write` or EFileWritingError "Le fichier %s n'a pas pu être
// écrit" (filled with `path`) is raised. A symbolic link is written through; a device or a pipe
// (say /dev/null) is written directly, having no content to protect; a folder is refused.
void SaveFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write);
