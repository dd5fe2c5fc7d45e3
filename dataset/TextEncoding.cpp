#include "dataset/TextEncoding.h"

#include <array>
#include <exception>

namespace {

// The three bytes of the byte order mark (U+FEFF) in UTF-8.
bool IsByteOrderMark(const unsigned char* p) {
  return p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

// Validates UTF-8 as it comes, block after block.
class TUtf8Validator {
public:
  void Feed(const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i < n && valid_; ++i)
      Byte(p[i]);
  }
  bool Valid() const { return valid_ && remaining_ == 0; }
  bool Multibyte() const { return multibyte_; }
  bool BeyondLatin1() const { return beyondLatin1_; }

private:
  void Byte(unsigned char c) {
    if (remaining_ > 0) {
      if ((c & 0xC0) != 0x80) {
        valid_ = false;
        return;
      }
      codePoint_ = (codePoint_ << 6) | (c & 0x3F);
      if (--remaining_ == 0) Finish();
      return;
    }
    if (c < 0x80) return;
    multibyte_ = true;
    if (c >= 0xC2 && c <= 0xDF) {
      remaining_ = 1;
      codePoint_ = c & 0x1F;
      least_ = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      remaining_ = 2;
      codePoint_ = c & 0x0F;
      least_ = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      remaining_ = 3;
      codePoint_ = c & 0x07;
      least_ = 0x10000;
    } else {
      valid_ = false; // a continuation byte alone, or a lead byte UTF-8 does not use
    }
  }
  void Finish() {
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    if (codePoint_ < least_ || (codePoint_ >= 0xD800 && codePoint_ <= 0xDFFF) ||
        codePoint_ > 0x10FFFF)
      valid_ = false;
    if (codePoint_ > 0xFF) beyondLatin1_ = true;
  }

  bool valid_ = true;
  bool multibyte_ = false;
  bool beyondLatin1_ = false;
  int remaining_ = 0;
  std::uint32_t codePoint_ = 0;
  std::uint32_t least_ = 0;
};

TEncodingScan ScanStream(std::istream& in) {
  TEncodingScan scan;
  in.clear();
  in.seekg(0, std::ios::beg);
  std::array<char, 1 << 16> buffer{};
  TUtf8Validator validator;
  bool first = true;
  while (true) {
    const std::streamsize n = in.rdbuf()->sgetn(buffer.data(), buffer.size());
    if (n <= 0) break;
    const auto* p = reinterpret_cast<const unsigned char*>(buffer.data());
    std::size_t start = 0;
    if (first && n >= 3 && IsByteOrderMark(p)) {
      scan.ByteOrderMark = true;
      start = 3;
    }
    first = false;
    for (std::size_t i = start; i < static_cast<std::size_t>(n) && scan.Blank; ++i)
      if (p[i] != ' ' && p[i] != '\t' && p[i] != '\r' && p[i] != '\n') scan.Blank = false;
    validator.Feed(p + start, static_cast<std::size_t>(n) - start);
  }
  in.clear();
  in.seekg(0, std::ios::beg);
  if (validator.Valid() && validator.Multibyte())
    scan.Kind = validator.BeyondLatin1() ? TUtf8Kind::NotConvertible : TUtf8Kind::Convertible;
  return scan;
}

} // namespace

TEncodingScan ScanEncoding(std::istream& in) {
  try {
    return ScanStream(in);
  } catch (const std::exception&) {
    // A file whose bytes cannot be read is left to the readers, which report it.
    in.clear();
    TEncodingScan unknown;
    unknown.Blank = false;
    return unknown;
  }
}

std::size_t Latin1FromUtf8InPlace(char* data, std::size_t length) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (IsLatin1LeadByte(data[i]) && i + 1 < length) {
      const auto c = static_cast<unsigned char>(data[i]);
      const auto next = static_cast<unsigned char>(data[++i]);
      data[out++] = static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
    } else {
      data[out++] = data[i];
    }
  }
  return out;
}
