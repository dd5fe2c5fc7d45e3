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

class TGenMars {
public:
  Extended Last = 0;
  // Work values of the initialisation.
  Extended S = 0;
  Extended T = 0;
  // The lag table.
  std::array<Extended, 97> U{};
  Extended C = 0;
  Extended CD = 0;
  Extended CM = 0;
  std::int32_t I97 = 96;
  std::int32_t J97 = 32;

  // Seeded from four bytes of the entropy device `device`; when it cannot be opened or read, from
  // a clock-seeded pseudo-random generator.
  explicit TGenMars(const std::string& device = "/dev/random");
  // Seeded with `seeds`, without reading any device.
  explicit TGenMars(const TGenMarsSeeds& seeds) { SetSeeds(seeds.I, seeds.J, seeds.K, seeds.L); }

  // Re-initialises the lag table and the sequence from the four seeds (i in 1..168 and j, k, l in
  // 0..168 give distinct streams).
  void SetSeeds(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l);
  // The next uniform value in [0, 1).
  Extended Next();
  // An integer in 1..n.
  std::int32_t RandomFrom1(std::int32_t n) { return RandomFrom0(n) + 1; }
  // An integer in 0..n-1.
  std::int32_t RandomFrom0(std::int32_t n) {
    return static_cast<std::int32_t>(Next() * static_cast<Extended>(n));
  }
};

// Seeds of a new stream drawn from `from` (four draws): i in 1..168, j, k, l in 0..168. A run
// gives each population and each treated unit a stream of its own, drawn in a fixed order, so
// its results do not depend on how the work is shared among threads.
TGenMarsSeeds DrawStreamSeeds(TGenMars& from);

// The process-wide generator of the Monte-Carlo simulations and of migrant detection.
TGenMars& SimulationGenerator();
// The process-wide generator of the stepwise-mutation criterion.
TGenMars& CornuetGenerator();
