#include "engine/GenMars.h"

#include <chrono>
#include <fstream>
#include <random>

namespace {
constexpr Extended kTwoTo24 = 16777216.0L;

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

void TGenMars::SetSeeds(std::uint8_t si, std::uint8_t sj, std::uint8_t sk, std::uint8_t sl) {
  std::int32_t i = si, j = sj, k = sk, l = sl;
  for (std::int32_t& u : U) {
    S = 0.0L;
    T = 0.5L;
    for (int bit = 0; bit < 24; ++bit) {
      const std::int32_t m = (((i * j) % 179) * k) % 179;
      i = j;
      j = k;
      k = m;
      l = (53 * l + 1) % 169;
      if ((l * m) % 64 >= 32) S += T;
      T *= 0.5L;
    }
    u = static_cast<std::int32_t>(S * kTwoTo24); // exact: S has 24 bits
  }
  C = 362436;
  I97 = 96;
  J97 = 32;
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
