#include "engine/criteria/Criteria.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The error measure of the comparison with the C library: absolute where the value is below 1
// in size, relative elsewhere.
Extended Error(Extended x) {
  const Extended expected = lgammal(x);
  const Extended got = LnGamma(x);
  const Extended diff = std::fabs(got - expected);
  return std::fabs(expected) < 1 ? diff : diff / std::fabs(expected);
}

bool IsPoleValue(Extended v) {
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &v, sizeof v);
  const unsigned char expected[10] = {0x7B, 0xD3, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F};
  return std::memcmp(bytes, expected, 10) == 0;
}

} // namespace

TEST(LnGamma, AgreesWithTheCLibrary) {
  std::vector<Extended> points;
  // Log-spaced over (0, 1e6).
  const int n = 200000;
  for (int i = 0; i <= n; ++i)
    points.push_back(std::exp(-40.0L + (std::log(1e6L) + 40) * i / n));
  // Around the integers, where the recurrence and the zeros of ln Γ (1 and 2) are.
  for (int k = 1; k <= 40; ++k)
    for (int j = -300; j <= 300; ++j)
      points.push_back(k + j * 1e-5L);
  for (Extended d = 1e-18L; d < 0.1L; d *= 1.7L)
    for (Extended c : {1.0L, 2.0L, 3.0L, 13.0L})
      points.push_back(c + d), points.push_back(c - d);
  points.push_back(0.03125L);
  points.push_back(34.5L);

  Extended worst = 0, worstAt = 0;
  for (Extended x : points) {
    if (x <= 0) continue;
    const Extended e = Error(x);
    if (!(e <= worst)) worst = e, worstAt = x;
  }
  EXPECT_LT(worst, 1e-17L) << "at " << static_cast<double>(worstAt);

  EXPECT_EQ(LnGamma(1), 0);
  EXPECT_EQ(LnGamma(2), 0);
  EXPECT_NEAR(static_cast<double>(LnGamma(0.5L)), 0.5723649429247001, 1e-16);
}

TEST(LnGamma, PolesNegativeArgumentsAndLimits) {
  for (Extended x : {0.0L, -0.0L, -1.0L, -2.0L, -7.0L, -34.0L, -35.0L, -1000.0L, -1e30L})
    EXPECT_TRUE(IsPoleValue(LnGamma(x))) << static_cast<double>(x);
  EXPECT_NEAR(static_cast<double>(LnGamma(0) / 1.18973149535723103E4932L), 1.0, 1e-16);
  // Beyond the range of extended reals.
  EXPECT_TRUE(IsPoleValue(LnGamma(1e4930L)));
  EXPECT_TRUE(std::isfinite(LnGamma(1e4927L)));

  // Negative non-integers: log |Γ|, through the recurrence and through the reflection.
  for (Extended x : {-0.5L, -1.01L, -2.5L, -0.02L, -3.999L, -33.7L, -34.5L, -40.3L, -150.25L})
    EXPECT_NEAR(static_cast<double>(LnGamma(x) / lgammal(x)), 1.0, 1e-15) << static_cast<double>(x);

  EXPECT_TRUE(IsUndefined(LnGamma(Undefined())));
  EXPECT_NEAR(static_cast<double>(LnGamma(1e12L) / lgammal(1e12L)), 1.0, 1e-16);
}
