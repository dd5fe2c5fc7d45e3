// The universal random number generator of Marsaglia and Zaman (RANMAR): a lagged Fibonacci
// generator with lags 97 and 33 combined with an arithmetic sequence, giving uniform values in
// [0, 1) on a 2^-24 grid. The simulations, the migrant detection and the stepwise-mutation
// criterion draw from it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/Real.h"

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
  static std::int32_t Step(std::int32_t* u, std::int32_t& i97, std::int32_t& j97, std::int32_t& c) {
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

// A cursor for long runs of draws (thousands): the lag-table recurrence x(n) = x(n-97) - x(n-33)
// is computed for a block of values at a time, from a window holding the last 97 values in the
// order drawn, so a block's values come from values drawn before it and the loop runs without
// the table's wrap-around indices (the compiler computes several values per instruction). The
// values handed out are the generator's own, one by one; when the cursor goes, the generator's
// state is that after the last value handed out, whatever was computed ahead. The generator is
// not to be used meanwhile, and its sequence value C must be one it reached itself (0 .. CM - 1).
// Costs two copies of the lag table: meant for loops of many draws.
class TGenMarsCursor {
public:
  explicit TGenMarsCursor(TGenMars& generator);
  ~TGenMarsCursor();
  TGenMarsCursor(const TGenMarsCursor&) = delete;
  TGenMarsCursor& operator=(const TGenMarsCursor&) = delete;

  // As TGenMars::NextUnits (Last unchanged).
  std::int32_t NextUnits() {
    if (next_ == block_.data() + kBlock) NextBlock();
    return *next_++;
  }
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
  // 32 values at a time: under the lag of 33, so no value of a block depends on another one.
  static constexpr int kBlock = 32;
  void NextBlock();

  TGenMars& generator_;
  // window_[base_ + k], k < 97: the lag table in drawing order (the first the oldest, the next to
  // be replaced) at the start of the current block; window_[base_ + 97 + b]: value b of the
  // block before the arithmetic sequence is taken off. Room for several blocks, so that the
  // window is moved back to the start of the storage only once in a while.
  std::array<std::int32_t, 97 + 8 * kBlock> window_{};
  size_t base_ = 0;
  std::array<std::int32_t, kBlock> block_{}; // the values handed out
  std::int32_t last_;                        // as TGenMars::LastUnits
  std::int32_t c_ = 0;                       // the arithmetic sequence before the current block
  std::int32_t i97_ = 0, j97_ = 0;           // the lag indices before the current block
  // The next value of the block to hand out. A pointer, not an index: the draw loops store
  // integers (tallies, codes) that the compiler would otherwise have to assume overwrite it.
  const std::int32_t* next_ = block_.data() + kBlock;
  bool started_ = false; // a block was computed
};

// Seeds of a new stream drawn from `from` (four draws): i, j, k in 1..168, l in 0..168. A run
// gives each population and each treated unit a stream of its own, drawn in a fixed order, so
// its results do not depend on how the work is shared among threads.
TGenMarsSeeds DrawStreamSeeds(TGenMars& from);

// The process-wide generator of the Monte-Carlo simulations and of migrant detection.
TGenMars& SimulationGenerator();
// The process-wide generator of the stepwise-mutation criterion.
TGenMars& CornuetGenerator();
