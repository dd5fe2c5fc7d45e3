// ln Γ(x) in extended precision, after S. L. Moshier's long double lgam: reflection below -34,
// recurrence into [2, 3) where a rational approximation takes over, a power series of 1/Γ
// near 0, and Stirling's series from 13 on.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/criteria/Criteria.h"

namespace {

// ln Γ(x) = (x - 1/2) ln x - x + ln √(2π) + A(1/x²) / x, x ≥ 13.
constexpr Extended kStirling[7] = {
    4.885026142432270781165E-3L,  -1.880801938119376907179E-3L, 8.412723297322498080632E-4L,
    -5.952345851765688514613E-4L, 7.936507795855070755671E-4L,  -2.777777777750349603440E-3L,
    8.333333333333331447505E-2L,
};

// ln Γ(x + 2) = x B(x) / C(x), 0 ≤ x < 1; C is monic (its leading 1 is left out).
// Peak relative error 7.2e-22.
constexpr Extended kB[7] = {
    -2163.691433784247426875L, -87238.75310575119760844L, -1104327.424966299506417L,
    -6111228.950106235978799L, -16255692.25780446365938L, -20039389.60280983378789L,
    -8875673.93815231522083L,
};
constexpr Extended kC[7] = {
    -513.9482732013938376466L, -34035.72162968816422308L, -622744.4329487555180426L,
    -4814943.295149022992116L, -17854345.10291642559405L, -31386487.64620017316675L,
    -20993384.09992214291079L,
};

// 1/Γ(x) = x S(x), 0 < x ≤ 1/32. Peak relative error 4.2e-23.
constexpr Extended kS[9] = {
    -0.00119394506065356780337L, 0.007220599479194740093141L, -0.009622023360465006548492L,
    -0.04219773360705760252661L, 0.1665386113720804978745L,   -0.04200263503403344035883L,
    -0.6558780715202540684676L,  0.5772156649015328608253L,   1.0L,
};
// 1/Γ(-x) = x SN(x), 0 < x ≤ 1/32. Peak relative error 5.2e-23.
constexpr Extended kSN[9] = {
    0.001133374177031125492705L, 0.007220837260668553314101L, 0.009621911155098244240001L,
    -0.04219773343731356570269L, -0.1665386113944413277317L,  -0.04200263503402112929807L,
    0.6558780715202536547124L,   0.5772156649015328608727L,   -1.0L,
};

constexpr Extended kLnSqrt2Pi = 0.91893853320467274178L;
constexpr Extended kPi = 3.14159265358979323846264338327950288L;
// Beyond this argument ln Γ no longer fits in an extended real.
constexpr Extended kMaxArgument = 1.04848146839019521116e+4928L;

// c[0] x^n + c[1] x^(n-1) + ... + c[n]
Extended Polynomial(Extended x, const Extended* c, int n) {
  Extended s = c[0];
  for (int i = 1; i <= n; ++i)
    s = s * x + c[i];
  return s;
}

// x^n + c[0] x^(n-1) + ... + c[n-1]
Extended MonicPolynomial(Extended x, const Extended* c, int n) {
  Extended s = x + c[0];
  for (int i = 1; i < n; ++i)
    s = s * x + c[i];
  return s;
}

// What ln Γ answers at its poles and beyond its range: 1.18973149535723103E4932.
Extended Overflow() {
  static_assert(sizeof(Extended) >= 10, "80-bit extended reals are expected");
  unsigned char bytes[sizeof(Extended)] = {};
  const std::uint64_t significand = 0xFFFFFFFFFFFFD37Bull;
  std::memcpy(bytes, &significand, 8);
  bytes[8] = 0xFE;
  bytes[9] = 0x7F;
  Extended value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

} // namespace

Extended LnGamma(Extended x) {
  if (IsUndefined(x)) return x;

  if (x < -34.0L) {
    // Reflection: Γ(x) Γ(1 - x) = π / sin(πx).
    const Extended q = -x;
    const Extended w = LnGamma(q);
    Extended p = std::floor(q);
    if (p == q) return Overflow();
    Extended z = q - p;
    if (z > 0.5L) {
      p += 1.0L;
      z = p - q;
    }
    z = q * std::sin(kPi * z);
    if (z == 0.0L) return Overflow();
    return std::log(kPi / z) - w;
  }

  if (x < 13.0L) {
    // Γ(x) = z Γ(x') with x' in [2, 3), z the product (or quotient) of the steps.
    Extended z = 1.0L;
    Extended nx = std::floor(x + 0.5L);
    const Extended f = x - nx;
    while (x >= 3.0L) {
      nx -= 1.0L;
      x = nx + f;
      z *= x;
    }
    while (x < 2.0L) {
      if (std::fabs(x) <= 0.03125L) {
        // Near a pole or near 0: the power series of 1/Γ.
        if (x == 0.0L) return Overflow();
        Extended q;
        if (x < 0.0L) {
          x = -x;
          q = z / (x * Polynomial(x, kSN, 8));
        } else {
          q = z / (x * Polynomial(x, kS, 8));
        }
        return std::log(std::fabs(q));
      }
      z /= nx + f;
      nx += 1.0L;
      x = nx + f;
    }
    z = std::fabs(z);
    if (x == 2.0L) return std::log(z);
    x = (nx - 2.0L) + f;
    return std::log(z) + x * Polynomial(x, kB, 6) / MonicPolynomial(x, kC, 7);
  }

  if (x > kMaxArgument) return Overflow();

  Extended q = (x - 0.5L) * std::log(x) - x + kLnSqrt2Pi;
  if (x > 1.0e10L) return q;
  const Extended p = 1.0L / (x * x);
  q += Polynomial(p, kStirling, 6) / x;
  return q;
}
