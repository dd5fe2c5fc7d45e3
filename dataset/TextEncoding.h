// The character encoding of a genotype file. Files are ISO-8859-1 bytes, but most editors today
// write UTF-8: a file that is valid UTF-8 and whose characters all exist in ISO-8859-1 (accented
// Latin letters do) is read as the ISO-8859-1 text it stands for; a leading byte order mark is
// never part of the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

enum class TUtf8Kind {
  None,          // not UTF-8, or plain ASCII: read byte for byte
  Convertible,   // UTF-8 with characters beyond ASCII, all of them in ISO-8859-1
  NotConvertible // UTF-8 with characters that ISO-8859-1 does not have: kept as bytes
};

struct TEncodingScan {
  bool ByteOrderMark = false;
  TUtf8Kind Kind = TUtf8Kind::None;
  // True when the file holds nothing but blanks, tabs and line ends (or nothing at all).
  bool Blank = true;
};

// Reads the whole stream once (leaving it at its beginning) and tells how its text is encoded.
TEncodingScan ScanEncoding(std::istream& in);

// How the text readers take the bytes of a file.
struct TTextInput {
  bool SkipByteOrderMark = false;
  bool Utf8ToLatin1 = false;
};

// Converts, in place, UTF-8 text whose characters are all below U+0100 into ISO-8859-1; answers
// the new length. A lead byte that ends the text is kept as it is.
std::size_t Latin1FromUtf8InPlace(char* data, std::size_t length);

// True for the first byte of a two-byte UTF-8 character of ISO-8859-1 (U+0080 to U+00FF).
inline bool IsLatin1LeadByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u == 0xC2 || u == 0xC3;
}
