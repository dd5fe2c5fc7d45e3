// The strict stepwise mutation model of microsatellites over a window of allele sizes: a
// mutation adds or removes one repeat with probability 1/2 each, and a step that would leave the
// window keeps the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The classes of allele sizes a locus is considered over: ten sizes below the smallest one
// (never below a size of 1) and ten above the largest one.
struct TSizeWindow {
  std::int32_t Lo = 1;
  std::int32_t Hi = 1;

  int Width() const { return static_cast<int>(Hi - Lo + 1); }
  // The class of a size (0 for Lo).
  int ClassOf(std::int32_t size) const { return static_cast<int>(size - Lo); }
};

// The window of sizes smallest .. largest. A size below 1 (an allele whose name is not a number
// of repeats) becomes the first class itself, so that every allele has a class.
TSizeWindow SizeWindow(std::int32_t smallest, std::int32_t largest);

// A mutation matrix over w classes, row-major: P[i * w + j] is the probability that a mutation
// turns class i into class j.
struct TMutationMatrix {
  int Width = 0;
  std::vector<double> P;

  double At(int i, int j) const {
    return P[static_cast<size_t>(i) * static_cast<size_t>(Width) + static_cast<size_t>(j)];
  }
};

// The strict stepwise matrix over w classes: one step up or down with probability 1/2 each; at
// the two ends the step out of the window keeps the class.
TMutationMatrix StrictStepwiseMatrix(int w);

// The stationary distribution of a mutation matrix: from 1/w in every class, π ← πP renormalised
// to sum 1, until the sum of the squared changes is at most 1E-10.
std::vector<double> StationaryDistribution(const TMutationMatrix& m);
