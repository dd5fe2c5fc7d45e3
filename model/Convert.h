// Conversions between text and numbers, with the decimal separator always ".".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Removes every byte of code 0 to 32 at both ends.
std::string Trim(std::string_view s);

// Decimal digits with an optional sign; anything else (or a value outside 32 bits) is refused.
std::optional<std::int32_t> TryStrToInt(std::string_view s);
// As TryStrToInt; raises EConvertError on bad text.
std::int32_t StrToInt(std::string_view s);
// As TryStrToInt; gives `fallback` on bad text.
std::int32_t StrToIntDef(std::string_view s, std::int32_t fallback);

// A decimal number ("." separator, optional exponent); raises EConvertError on bad text.
double StrToFloat(std::string_view s);
// General format with up to 15 significant digits.
std::string FloatToStr(double value);

// "-1" or any non-zero integer, "True" (any case) are true; "0" and "False" false.
bool StrToBool(std::string_view s);

// Case-insensitive comparison of ASCII letters.
bool SameTextAscii(std::string_view a, std::string_view b);
