// The universal random number generator of Marsaglia and Zaman (RANMAR): a lagged Fibonacci
// generator with lags 97 and 33 combined with an arithmetic sequence, giving uniform values in
// [0, 1) on a 2^-24 grid. The simulations, the migrant detection and the stepwise-mutation
// criterion draw from it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/Real.h"

// The four seeds of one stream.
struct TGenMarsSeeds {
  std::uint8_t I = 1, J = 0, K = 0, L = 0;
};

// Every value of the generator lies on the 2^-24 grid, so its state is kept exactly as integers
// counted in units of 2^-24 (the lag table, the arithmetic sequence and its two constants): the
// stream is the same as in extended arithmetic, value for value, at a fraction of the cost.
class TGenMars {
public:
  static constexpr std::int32_t kUnits = 1 << 24; // 1.0 in units of 2^-24

  std::int32_t LastUnits = 0; // the last value drawn, in units of 2^-24
  // Work values of the initialisation.
  Extended S = 0;
  Extended T = 0;
  // The lag table, in units of 2^-24.
  std::array<std::int32_t, 97> U{};
  // The arithmetic sequence, in units of 2^-24, and its decrement and modulus (constants).
  std::int32_t C = 362436;
  static constexpr std::int32_t kCD = 7654321;
  static constexpr std::int32_t kCM = 16777213;
  std::int32_t I97 = 96;
  std::int32_t J97 = 32;

  // Seeded from four bytes of the entropy device `device`; when it cannot be opened or read, from
  // a clock-seeded pseudo-random generator.
  explicit TGenMars(const std::string& device = "/dev/random");
  // Seeded with `seeds`, without reading any device.
  explicit TGenMars(const TGenMarsSeeds& seeds) { SetSeeds(seeds.I, seeds.J, seeds.K, seeds.L); }

  // Re-initialises the lag table and the sequence from the four seeds (i, j, k in 1..168 and l in
  // 0..168 give distinct streams). A zero among i, j, k leaves the lag table empty (every value
  // of it 0) and the stream degenerates into the arithmetic sequence alone: seeds drawn here
  // never contain one.
  void SetSeeds(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l);
  // The next uniform value in [0, 1).
  Extended Next() {
    LastUnits = NextUnits();
    return Last();
  }
  // The last value returned by Next (or drawn by RandomFrom0). Dividing by 2^24 is exact, so a
  // multiplication gives the same value without the cost of a division.
  Extended Last() const { return ValueOf(LastUnits); }
  // A value in units of 2^-24 as a real in [0, 1).
  static Extended ValueOf(std::int32_t units) {
    return static_cast<Extended>(units) * (1.0L / kUnits);
  }
  // The next value in units of 2^-24: an integer in 0 .. 2^24 - 1 (Next() times 2^24). Does not
  // update Last.
  std::int32_t NextUnits() { return Step(U.data(), I97, J97, C); }
  // One step of the generator on its state `u`, `i97`, `j97`, `c`: the next value in units of
  // 2^-24.
  static std::int32_t Step(std::int32_t* u, std::int32_t& i97, std::int32_t& j97,
                           std::int32_t& c) {
    // The wrap-arounds by masks rather than branches: half of them are taken, at random.
    std::int32_t uni = u[static_cast<size_t>(i97)] - u[static_cast<size_t>(j97)];
    uni += WrapOf(uni) & kUnits;
    u[static_cast<size_t>(i97)] = uni;
    if (--i97 < 0) i97 = 96;
    if (--j97 < 0) j97 = 96;
    c -= kCD;
    c += WrapOf(c) & kCM;
    uni -= c;
    uni += WrapOf(uni) & kUnits;
    return uni;
  }
  // All bits set when x < 0, none otherwise.
  static std::int32_t WrapOf(std::int32_t x) { return -static_cast<std::int32_t>(x < 0); }
  // Trunc(units / 2^24 × n) for units from NextUnits and n ≥ 0: the integer RandomFrom0 draws.
  static std::int32_t IndexOf(std::int32_t units, std::int32_t n) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(units) * n) >> 24);
  }
  // An integer in 1..n.
  std::int32_t RandomFrom1(std::int32_t n) { return RandomFrom0(n) + 1; }
  // An integer in 0..n-1: Trunc(Next × n), computed exactly as (units × n) / 2^24.
  std::int32_t RandomFrom0(std::int32_t n) {
    LastUnits = NextUnits();
    return IndexFrom(LastUnits, n);
  }
  // Trunc(units / 2^24 × n) for any n (a negative n as the extended product).
  static std::int32_t IndexFrom(std::int32_t units, std::int32_t n) {
    if (n < 0) return static_cast<std::int32_t>(ValueOf(units) * n);
    return IndexOf(units, n);
  }
};

// The generator's state taken as values of their own while a loop draws many values (written
// back when the cursor goes): a compiler keeps them in registers, where the members of the
// generator would be reloaded from memory at every draw. The generator is not to be used
// meanwhile.
class TGenMarsCursor {
public:
  explicit TGenMarsCursor(TGenMars& generator)
      : generator_(generator), u_(generator.U.data()), last_(generator.LastUnits),
        i97_(generator.I97), j97_(generator.J97), c_(generator.C) {}
  ~TGenMarsCursor() {
    generator_.LastUnits = last_;
    generator_.I97 = i97_;
    generator_.J97 = j97_;
    generator_.C = c_;
  }
  TGenMarsCursor(const TGenMarsCursor&) = delete;
  TGenMarsCursor& operator=(const TGenMarsCursor&) = delete;

  std::int32_t NextUnits() { return TGenMars::Step(u_, i97_, j97_, c_); }
  // As TGenMars::Next.
  Extended Next() {
    last_ = NextUnits();
    return TGenMars::ValueOf(last_);
  }
  // As TGenMars::RandomFrom0.
  std::int32_t RandomFrom0(std::int32_t n) {
    last_ = NextUnits();
    return TGenMars::IndexFrom(last_, n);
  }

private:
  TGenMars& generator_;
  std::int32_t* u_;
  std::int32_t last_, i97_, j97_, c_;
};

// Seeds of a new stream drawn from `from` (four draws): i, j, k in 1..168, l in 0..168. A run
// gives each population and each treated unit a stream of its own, drawn in a fixed order, so
// its results do not depend on how the work is shared among threads.
TGenMarsSeeds DrawStreamSeeds(TGenMars& from);

// The process-wide generator of the Monte-Carlo simulations and of migrant detection.
TGenMars& SimulationGenerator();
// The process-wide generator of the stepwise-mutation criterion.
TGenMars& CornuetGenerator();
