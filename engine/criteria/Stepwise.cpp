#include "engine/criteria/Stepwise.h"

#include <algorithm>

namespace {
constexpr std::int32_t kMargin = 10;
constexpr double kConvergence = 1E-10;
// A matrix whose powers do not settle (a periodic chain) stops after this many products.
constexpr int kMaxIterations = 100000;
} // namespace

TSizeWindow SizeWindow(std::int32_t smallest, std::int32_t largest) {
  TSizeWindow w;
  w.Lo = std::min(std::max<std::int32_t>(1, smallest - kMargin), smallest);
  w.Hi = std::max(largest, smallest) + kMargin;
  return w;
}

TMutationMatrix StrictStepwiseMatrix(int w) {
  TMutationMatrix m;
  m.Width = w;
  m.P.assign(static_cast<size_t>(w) * static_cast<size_t>(w), 0.0);
  auto at = [&m, w](int i, int j) -> double& {
    return m.P[static_cast<size_t>(i) * static_cast<size_t>(w) + static_cast<size_t>(j)];
  };
  if (w == 1) {
    at(0, 0) = 1.0;
    return m;
  }
  for (int i = 0; i < w; ++i) {
    at(i, i > 0 ? i - 1 : i) += 0.5;
    at(i, i < w - 1 ? i + 1 : i) += 0.5;
  }
  return m;
}

std::vector<double> StationaryDistribution(const TMutationMatrix& m) {
  const int w = m.Width;
  std::vector<double> pi(static_cast<size_t>(w), 1.0 / w), next(static_cast<size_t>(w));
  for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
    std::fill(next.begin(), next.end(), 0.0);
    for (int i = 0; i < w; ++i)
      for (int j = 0; j < w; ++j)
        next[static_cast<size_t>(j)] += pi[static_cast<size_t>(i)] * m.At(i, j);
    double sum = 0;
    for (double v : next)
      sum += v;
    double change = 0;
    for (int j = 0; j < w; ++j) {
      const double v = next[static_cast<size_t>(j)] / sum;
      const double d = v - pi[static_cast<size_t>(j)];
      change += d * d;
      pi[static_cast<size_t>(j)] = v;
    }
    if (change <= kConvergence) break;
  }
  return pi;
}
