#include "engine/common/GenMars.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>

namespace {
// Four bytes of the entropy device, in reading order; false when it cannot be opened or read.
bool ReadDeviceBytes(const std::string& device, std::array<std::uint8_t, 4>& bytes) {
  try {
    std::ifstream in(device, std::ios::binary);
    if (!in) return false;
    for (std::uint8_t& b : bytes) {
      char c = 0;
      if (!in.get(c)) return false;
      b = static_cast<std::uint8_t>(c);
    }
    return true;
  } catch (...) {
    return false;
  }
}
} // namespace

TGenMars::TGenMars(const std::string& device) {
  std::array<std::uint8_t, 4> b{};
  if (ReadDeviceBytes(device, b)) {
    SetSeeds(static_cast<std::uint8_t>(b[0] % 168 + 1), static_cast<std::uint8_t>(b[1] % 168 + 1),
             static_cast<std::uint8_t>(b[2] % 168 + 1), static_cast<std::uint8_t>(b[3] % 169));
    return;
  }
  // No entropy device: seeds from a pseudo-random generator seeded from the clock.
  std::mt19937 runtime(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_int_distribution<int> upTo168(0, 168);
  std::uniform_int_distribution<int> upTo167(0, 167);
  const int r1 = upTo168(runtime);
  const int r2 = upTo168(runtime);
  const int r3 = upTo168(runtime);
  const int r4 = upTo167(runtime);
  SetSeeds(static_cast<std::uint8_t>(r4 + 1), static_cast<std::uint8_t>(r3 % 168 + 1),
           static_cast<std::uint8_t>(r1 % 168 + 1), static_cast<std::uint8_t>(r2));
}

namespace {
// The initialisation multiplies its three last values modulo the prime 179. Written as powers of
// a primitive root, a product is a sum of exponents modulo 178: one addition instead of two
// multiplications and two divisions, and so a much shorter chain from one value to the next.
constexpr int kSeedPrime = 179;
struct TSeedPowers {
  std::array<std::uint8_t, kSeedPrime - 1> Power{}; // root^e modulo 179
  std::array<std::uint8_t, kSeedPrime> Exponent{};  // e of each non-zero value
};
constexpr TSeedPowers MakeSeedPowers() {
  int root = 2;
  for (;; ++root) {
    int x = 1, order = 0;
    do {
      x = x * root % kSeedPrime;
      ++order;
    } while (x != 1);
    if (order == kSeedPrime - 1) break;
  }
  TSeedPowers t;
  for (int e = 0, x = 1; e < kSeedPrime - 1; ++e, x = x * root % kSeedPrime) {
    t.Power[static_cast<size_t>(e)] = static_cast<std::uint8_t>(x);
    t.Exponent[static_cast<size_t>(x)] = static_cast<std::uint8_t>(e);
  }
  return t;
}
constexpr TSeedPowers kSeedPowers = MakeSeedPowers();

// The second sequence of the initialisation, l := (53 l + 1) modulo 169, as a table.
constexpr std::array<std::uint8_t, 169> MakeNextL() {
  std::array<std::uint8_t, 169> next{};
  for (int l = 0; l < 169; ++l)
    next[static_cast<size_t>(l)] = static_cast<std::uint8_t>((53 * l + 1) % 169);
  return next;
}
constexpr std::array<std::uint8_t, 169> kNextL = MakeNextL();
} // namespace

void TGenMars::SetSeeds(std::uint8_t si, std::uint8_t sj, std::uint8_t sk, std::uint8_t sl) {
  // Each value of the lag table is 24 bits, the most significant first: bit b adds 2^-(b+1),
  // exactly, so they are gathered as an integer in units of 2^-24. The bit is whether l × m
  // modulo 64 reaches 32, that is bit 5 of l × m.
  std::int32_t l = sl % 169; // the sequence depends on l modulo 169 only
  if (si % kSeedPrime == 0 || sj % kSeedPrime == 0 || sk % kSeedPrime == 0) {
    // A zero among the three stays: every m is 0 and so every bit.
    U.fill(0);
  } else {
    constexpr std::int32_t period = kSeedPrime - 1;
    std::int32_t a = kSeedPowers.Exponent[si % kSeedPrime];
    std::int32_t b = kSeedPowers.Exponent[sj % kSeedPrime];
    std::int32_t c = kSeedPowers.Exponent[sk % kSeedPrime];
    for (std::int32_t& u : U) {
      std::int32_t bits = 0;
      for (int bit = 0; bit < 24; ++bit) {
        std::int32_t e = a + b + c; // below 3 × 178
        e -= e >= 2 * period ? 2 * period : (e >= period ? period : 0);
        a = b;
        b = c;
        c = e;
        const std::int32_t m = kSeedPowers.Power[static_cast<size_t>(e)];
        l = kNextL[static_cast<size_t>(l)];
        bits = (bits << 1) | (((l * m) >> 5) & 1);
      }
      u = bits;
    }
  }
  // The work values as the initialisation leaves them: the last value and the last half-step.
  S = ValueOf(U.back());
  T = 1.0L / (static_cast<Extended>(kUnits) * 2);
  C = 362436;
  I97 = 96;
  J97 = 32;
}

namespace {
// (b + 1) × CD modulo CM, b < 32: the sequence's value b of a block is its value before the
// block minus this, modulo CM.
constexpr std::array<std::int32_t, 32> SequenceOffsets() {
  std::array<std::int32_t, 32> offsets{};
  for (size_t b = 0; b < offsets.size(); ++b)
    offsets[b] =
        static_cast<std::int32_t>(static_cast<std::int64_t>(b + 1) * TGenMars::kCD % TGenMars::kCM);
  return offsets;
}
constexpr std::array<std::int32_t, 32> kSequenceOffsets = SequenceOffsets();

size_t Wrapped97(std::int32_t i) {
  return static_cast<size_t>(((i % 97) + 97) % 97);
}
} // namespace

TGenMarsCursor::TGenMarsCursor(TGenMars& generator)
    : generator_(generator), last_(generator.LastUnits), c_(generator.C), i97_(generator.I97),
      j97_(generator.J97) {
  // The entry at I97 is the oldest (the next one replaced), the one below it the next oldest:
  // the table read downwards from I97, then from its top down to just above I97.
  const auto top = generator.U.begin() + i97_ + 1;
  const auto afterTop = std::reverse_copy(generator.U.begin(), top, window_.begin());
  std::reverse_copy(top, generator.U.end(), afterTop);
}

void TGenMarsCursor::NextBlock() {
  if (started_) {
    // The whole block was handed out: the window moves past it, and back to the start of the
    // storage when no room is left for another block.
    base_ += kBlock;
    if (base_ + 97 + kBlock > window_.size()) {
      std::copy(window_.begin() + static_cast<std::ptrdiff_t>(base_),
                window_.begin() + static_cast<std::ptrdiff_t>(base_ + 97), window_.begin());
      base_ = 0;
    }
    i97_ = static_cast<std::int32_t>(Wrapped97(i97_ - kBlock));
    j97_ = static_cast<std::int32_t>(Wrapped97(j97_ - kBlock));
    c_ -= kSequenceOffsets[kBlock - 1];
    c_ += TGenMars::WrapOf(c_) & TGenMars::kCM;
  }
  started_ = true;
  // The lag of 33 is J97 = I97 - 64 (modulo 97): the value replacing window_[b] is window_[b]
  // minus window_[b + 64]; the arithmetic sequence goes down by CD modulo CM at every value.
  const std::int32_t c0 = c_;
  // Distinct arrays (told to the compiler, which then computes four values per instruction).
  std::int32_t* __restrict w = window_.data() + base_;
  std::int32_t* __restrict out = block_.data();
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC ivdep // a block reads the window below 97 and writes it from 97 on
#endif
  for (size_t b = 0; b < kBlock; ++b) {
    std::int32_t x = w[b] - w[b + 64];
    x += TGenMars::WrapOf(x) & TGenMars::kUnits;
    w[97 + b] = x;
    std::int32_t c = c0 - kSequenceOffsets[b];
    c += TGenMars::WrapOf(c) & TGenMars::kCM;
    x -= c;
    x += TGenMars::WrapOf(x) & TGenMars::kUnits;
    out[b] = x;
  }
  next_ = block_.data();
}

TGenMarsCursor::~TGenMarsCursor() {
  generator_.LastUnits = last_;
  if (!started_) return;
  // The state after the `used` values handed out of the current block.
  const auto used = static_cast<std::int32_t>(next_ - block_.data());
  const std::int32_t i97 = static_cast<std::int32_t>(Wrapped97(i97_ - used));
  // Window entry k goes back to the table at I97 - k, wrapping from 0 to 96.
  const auto oldest = window_.begin() + static_cast<std::ptrdiff_t>(base_) + used;
  const auto wrap = oldest + i97 + 1;
  std::reverse_copy(oldest, wrap, generator_.U.begin());
  std::reverse_copy(wrap, oldest + 97, generator_.U.begin() + i97 + 1);
  generator_.I97 = i97;
  generator_.J97 = static_cast<std::int32_t>(Wrapped97(j97_ - used));
  // A block is computed for a draw, so at least one of its values was handed out.
  std::int32_t c = c_ - kSequenceOffsets[static_cast<size_t>(used - 1)];
  c += TGenMars::WrapOf(c) & TGenMars::kCM;
  generator_.C = c;
}

TGenMarsSeeds DrawStreamSeeds(TGenMars& from) {
  TGenMarsSeeds seeds;
  seeds.I = static_cast<std::uint8_t>(from.RandomFrom0(168) + 1);
  seeds.J = static_cast<std::uint8_t>(from.RandomFrom0(168) + 1);
  seeds.K = static_cast<std::uint8_t>(from.RandomFrom0(168) + 1);
  seeds.L = static_cast<std::uint8_t>(from.RandomFrom0(169));
  return seeds;
}

TGenMars& SimulationGenerator() {
  static TGenMars generator;
  return generator;
}

TGenMars& CornuetGenerator() {
  static TGenMars generator;
  return generator;
}
