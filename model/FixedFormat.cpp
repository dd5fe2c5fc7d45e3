#include "model/FixedFormat.h"

#include <cmath>
#include <cstdint>

namespace {

using u128 = unsigned __int128;

constexpr std::uint64_t kPowers[] = {1ULL,
                                     10ULL,
                                     100ULL,
                                     1000ULL,
                                     10000ULL,
                                     100000ULL,
                                     1000000ULL,
                                     10000000ULL,
                                     100000000ULL,
                                     1000000000ULL,
                                     10000000000ULL,
                                     100000000000ULL,
                                     1000000000000ULL,
                                     10000000000000ULL,
                                     100000000000000ULL,
                                     1000000000000000ULL,
                                     10000000000000000ULL,
                                     100000000000000000ULL,
                                     1000000000000000000ULL};
constexpr int kMaxPrecision = 18;

// Decimal digits of n, at least `width` of them (zeros in front).
void AppendDigits(std::string& out, std::uint64_t n, int width) {
  char digits[24];
  int count = 0;
  while (n != 0 || count < width) {
    digits[count++] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  while (count > 0)
    out.push_back(digits[--count]);
}

} // namespace

std::optional<int> FixedPrecision(std::string_view format) {
  if (format == "%f") return 6;
  if (format.size() < 4 || format.substr(0, 2) != "%." || format.back() != 'f') return {};
  const std::string_view digits = format.substr(2, format.size() - 3);
  if (digits.size() > 2) return {};
  int p = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return {};
    p = p * 10 + (c - '0');
  }
  if (p > kMaxPrecision) return {};
  return p;
}

bool AppendFixed(std::string& out, Extended value, int precision) {
  if (!std::isfinite(value) || precision < 0 || precision > kMaxPrecision) return false;
  const bool negative = std::signbit(value);
  const Extended magnitude = std::fabs(value);
  if (magnitude >= 0x1p63L) return false;
  u128 q = 0;
  if (magnitude != 0) {
    // magnitude = M × 2^-s exactly, M the 64-bit significand.
    int e = 0;
    const Extended fraction = std::frexp(magnitude, &e); // in [0.5, 1)
    const auto M = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    const int s = 64 - e; // at least 1, since magnitude < 2^63
    const u128 scaled = static_cast<u128>(M) * kPowers[precision];
    if (s < 128) {
      q = scaled >> s;
      const u128 remainder = scaled - (q << s);
      const u128 half = static_cast<u128>(1) << (s - 1);
      if (remainder > half || (remainder == half && (q & 1) != 0)) ++q;
    } else if (s == 128) {
      const u128 half = static_cast<u128>(1) << 127;
      q = scaled > half ? 1 : 0; // a tie rounds to the even 0
    } // beyond: less than a quarter of the last decimal, rounds to 0
  }
  if (negative) out.push_back('-');
  const std::uint64_t unit = kPowers[precision];
  // The integer part is below 2^63 and the decimals below 10^18: both fit 64 bits.
  AppendDigits(out, static_cast<std::uint64_t>(q / unit), 1);
  if (precision > 0) {
    out.push_back('.');
    AppendDigits(out, static_cast<std::uint64_t>(q % unit), precision);
  }
  return true;
}
