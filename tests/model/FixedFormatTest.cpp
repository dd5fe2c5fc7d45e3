#include "model/FixedFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

std::string Library(Extended value, int precision) {
  char text[128];
  std::snprintf(text, sizeof text, "%.*Lf", precision, value);
  return text;
}

std::string Fast(Extended value, int precision) {
  std::string out;
  EXPECT_TRUE(AppendFixed(out, value, precision)) << static_cast<double>(value);
  return out;
}

} // namespace

// The fixed-point text agrees with the C library digit for digit: random values over every
// magnitude the grids show, exact ties (rounded to even), values just beside a tie, negative
// values that round to zero, subnormals, and the precisions a format may ask for.
TEST(FixedFormat, AgreesWithTheLibrary) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> exponent(-40, 62);
  for (int n = 0; n < 20000; ++n) {
    const int precision = static_cast<int>(random() % 19);
    Extended value = std::pow(2.0L, static_cast<Extended>(exponent(random)));
    value *= 1 + static_cast<Extended>(random() % 1000000) / 1e6L;
    if (random() % 2) value = -value;
    ASSERT_EQ(Fast(value, precision), Library(value, precision))
        << "precision " << precision << " value " << static_cast<double>(value);
  }
  for (const Extended tie : {0.5L, 1.5L, 2.5L, 0.125L, 0.0625L, 0.0005L, 1.0005L, 2.675L}) {
    for (int precision = 0; precision <= 4; ++precision) {
      for (const Extended v : {tie, std::nextafter(tie, 0.0L), std::nextafter(tie, 10.0L), -tie})
        EXPECT_EQ(Fast(v, precision), Library(v, precision))
            << "precision " << precision << " value " << static_cast<double>(v);
    }
  }
  for (const Extended v : {0.0L, -0.0L, -0.0001L, 1e-4950L, 0x1p63L - 1, 123456789.987654321L})
    for (int precision : {0, 3, 6, 18})
      EXPECT_EQ(Fast(v, precision), Library(v, precision)) << static_cast<double>(v);

  std::string untouched;
  EXPECT_FALSE(AppendFixed(untouched, 0x1p63L, 3));
  EXPECT_FALSE(AppendFixed(untouched, INFINITY, 3));
  EXPECT_FALSE(AppendFixed(untouched, NAN, 3));
  EXPECT_TRUE(untouched.empty());
}

TEST(FixedFormat, RecognisesOnlyPlainFixedDirectives) {
  EXPECT_EQ(FixedPrecision("%.3f"), 3);
  EXPECT_EQ(FixedPrecision("%f"), 6);
  EXPECT_EQ(FixedPrecision("%.0f"), 0);
  EXPECT_EQ(FixedPrecision("%.18f"), 18);
  for (const char* other : {"%.19f", "%g", "%.3e", "%5.3f", "x%.3f", "%.3f%%", "%.f", "%.3Lf", ""})
    EXPECT_FALSE(FixedPrecision(other).has_value()) << other;
}
