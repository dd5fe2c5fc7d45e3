#include "base/Real.h"

#include <cstdint>
#include <cstring>

Extended Undefined() {
  static_assert(sizeof(Extended) >= 10, "80-bit extended reals are expected");
  // x87 layout: 64-bit significand (explicit integer bit), then 15-bit exponent and the sign.
  unsigned char bytes[sizeof(Extended)] = {};
  const std::uint64_t significand = 0xC000000000000000ull; // integer bit + quiet bit
  std::memcpy(bytes, &significand, 8);
  bytes[8] = 0xFF;
  bytes[9] = 0xFF; // sign set, exponent all ones
  Extended value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}
