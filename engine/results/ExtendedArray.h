// An array of extended reals that keeps only the significant bytes of each: 10 of the 16 an
// 80-bit extended real occupies in memory, every byte where the type has no padding. A value
// read back is the value stored, bit for bit (the undefined value included).
#pragma once

#include <cfloat>
#include <cstring>
#include <vector>

#include "base/Real.h"

class TExtendedArray {
public:
  // Bytes kept per value.
  static constexpr size_t kBytes = LDBL_MANT_DIG == 64 ? 10 : sizeof(Extended);

  size_t size() const { return bytes_.size() / kBytes; }
  bool empty() const { return bytes_.empty(); }
  // New values are 0.
  void resize(size_t n) { bytes_.resize(n * kBytes, 0); }
  void clear() { bytes_.clear(); }

  Extended operator[](size_t i) const {
    Extended value = 0;
    std::memcpy(&value, bytes_.data() + i * kBytes, kBytes);
    return value;
  }
  void Set(size_t i, Extended value) { std::memcpy(bytes_.data() + i * kBytes, &value, kBytes); }
  // The first n values of `source`.
  void AssignPrefix(const TExtendedArray& source, size_t n) {
    bytes_.assign(source.bytes_.begin(), source.bytes_.begin() + static_cast<long>(n * kBytes));
  }

private:
  std::vector<unsigned char> bytes_;
};
