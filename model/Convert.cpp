#include "model/Convert.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/Errors.h"
#include "model/ModelTexts.h"

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(b, e - b));
}

std::optional<std::int32_t> TryStrToInt(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > std::int64_t{1} << 32) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view s) {
  if (auto v = TryStrToInt(s)) return *v;
  throw EConvertError(Format(kNotAnInteger(), std::string(s).c_str()));
}

std::int32_t StrToIntDef(std::string_view s, std::int32_t fallback) {
  return TryStrToInt(s).value_or(fallback);
}

double StrToFloat(std::string_view s) {
  std::string text = Trim(s);
  // Only digits, sign, one decimal point and an exponent are accepted (no hexadecimal, no
  // "inf" or "nan"), whatever the C library would take.
  bool ok = !text.empty();
  bool digits = false, point = false, exponent = false;
  for (size_t i = 0; ok && i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if ((c == '+' || c == '-') &&
               (i == 0 || text[i - 1] == 'e' || text[i - 1] == 'E')) {
    } else if (c == '.' && !point && !exponent) {
      point = true;
    } else if ((c == 'e' || c == 'E') && digits && !exponent) {
      exponent = true;
      digits = false;
    } else {
      ok = false;
    }
  }
  if (ok && digits) {
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() + text.size() && std::isfinite(v)) return v;
  }
  throw EConvertError(Format(kNotAFloat(), std::string(s).c_str()));
}

std::string FloatToStr(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  return buffer;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool StrToBool(std::string_view s) {
  std::string text = Trim(s);
  if (auto v = TryStrToInt(text)) return *v != 0;
  if (SameTextAscii(text, "true")) return true;
  if (SameTextAscii(text, "false")) return false;
  throw EConvertError(Format(kNotABoolean(), text.c_str()));
}
