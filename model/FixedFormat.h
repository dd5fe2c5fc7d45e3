// Fixed-point text of an extended real, digit for digit what the C library's "%.<p>Lf" gives
// (the exact binary value rounded half to even), without going through the format machinery.
// Result grids format tens of thousands of values per run; the library's general conversion of
// an extended real was most of the time of filling and exporting them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/Real.h"

// The precision of a format that is exactly one fixed-point directive, "%f" (6) or "%.<p>f" with
// p from 0 to 18; nothing for any other format.
std::optional<int> FixedPrecision(std::string_view format);

// Appends `value` with `precision` decimals (0..18) to `out`, as "%.<precision>Lf" would; false
// (nothing appended) for values it leaves to the library: not finite, or 2^63 and above in
// magnitude.
bool AppendFixed(std::string& out, Extended value, int precision);
