// The stepwise model, the importance-sampling estimators of criterion 9 and their memories.
//
// The estimators are checked against the exact probability of small samples. The recursion
// below is over the last event of the genealogy of the n genes of an unordered sample with
// counts h (n_i genes of class i): with probability (n-1)/(n-1+θ) two random genes coalesce,
// with probability θ/(n-1+θ) a random gene mutates. For the counts,
//   p(h) = Σ_i (h_i - 1)/(n - 1 + θ) · p(h - e_i)
//        + θ/(n - 1 + θ) · Σ_i Σ_j P[j][i] · (h_j + 1 - δ_ij)/n · p(h - e_i + e_j),
//   p(e_i) = π_i,
// (the coalescence of two genes of class i among the n(n-1)/2 pairs, times n/h_i to go from an
// ordered to an unordered sample, gives (h_i - 1)/(n - 1 + θ)). The estimators return the
// probability of the ordered sample, p(h) · Π h_i! / n!, and so does the test.
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/common/GenMars.h"
#include "engine/criteria/CornuetEstimator.h"
#include "engine/criteria/Memorize.h"
#include "engine/criteria/Stepwise.h"

namespace {

using THistogram = std::vector<std::int32_t>;

// Every histogram of m genes over w classes.
void Histograms(int w, int m, THistogram& h, int from, std::vector<THistogram>& all) {
  if (from == w - 1) {
    h[static_cast<size_t>(from)] = m;
    all.push_back(h);
    return;
  }
  for (int c = m; c >= 0; --c) {
    h[static_cast<size_t>(from)] = c;
    Histograms(w, m - c, h, from + 1, all);
  }
}

// The exact probability of the ordered sample h, by the recursion above solved size after size
// (each size by Gauss-Seidel sweeps: the mutations link samples of the same size).
long double ExactOrdered(const THistogram& target, double theta, const TMutationMatrix& m,
                         const std::vector<double>& pi) {
  const int w = m.Width;
  int n = 0;
  for (int c : target)
    n += c;
  std::map<THistogram, long double> p;
  for (int i = 0; i < w; ++i) {
    THistogram e(static_cast<size_t>(w), 0);
    e[static_cast<size_t>(i)] = 1;
    p[e] = pi[static_cast<size_t>(i)];
  }
  for (int size = 2; size <= n; ++size) {
    std::vector<THistogram> all;
    THistogram h(static_cast<size_t>(w), 0);
    Histograms(w, size, h, 0, all);
    for (const THistogram& c : all)
      p[c] = 0;
    for (int sweep = 0; sweep < 100000; ++sweep) {
      long double change = 0;
      for (const THistogram& c : all) {
        long double v = 0;
        const long double d = size - 1 + theta;
        for (int i = 0; i < w; ++i) {
          const int ci = c[static_cast<size_t>(i)];
          if (ci == 0) continue;
          THistogram less = c;
          --less[static_cast<size_t>(i)];
          if (ci > 1) v += (ci - 1) / d * p[less];
          for (int j = 0; j < w; ++j) {
            if (m.At(j, i) == 0) continue;
            THistogram from = less;
            ++from[static_cast<size_t>(j)];
            v += theta / d * m.At(j, i) * (c[static_cast<size_t>(j)] + 1 - (i == j)) / size *
                 p[from];
          }
        }
        change = std::max(change, std::fabs(v - p[c]) / std::max(v, 1e-300L));
        p[c] = v;
      }
      if (change < 1e-15L) break;
    }
  }
  long double factor = std::lgamma(static_cast<long double>(n) + 1);
  for (int c : target)
    factor -= std::lgamma(static_cast<long double>(c) + 1);
  return p[target] * std::exp(-factor);
}

} // namespace

TEST(CornuetStepwise, MatrixStationaryAndWindow) {
  const TMutationMatrix m = StrictStepwiseMatrix(5);
  ASSERT_EQ(m.Width, 5);
  for (int i = 0; i < 5; ++i) {
    double row = 0;
    for (int j = 0; j < 5; ++j) {
      row += m.At(i, j);
      EXPECT_EQ(m.At(i, j), m.At(j, i)); // symmetric, so doubly stochastic
      if (std::abs(i - j) > 1) {
        EXPECT_EQ(m.At(i, j), 0);
      }
    }
    EXPECT_DOUBLE_EQ(row, 1);
  }
  EXPECT_EQ(m.At(0, 0), 0.5); // the step out of the window keeps the class
  EXPECT_EQ(m.At(4, 4), 0.5);
  EXPECT_EQ(m.At(2, 2), 0);
  EXPECT_EQ(m.At(2, 3), 0.5);
  for (int w : {1, 2, 7, 31})
    for (double p : StationaryDistribution(StrictStepwiseMatrix(w)))
      EXPECT_NEAR(p, 1.0 / w, 1e-12) << w;
  // A matrix that is not doubly stochastic: its own stationary distribution.
  TMutationMatrix dense{3, {0.2, 0.5, 0.3, 0.4, 0.4, 0.2, 0.1, 0.3, 0.6}};
  const std::vector<double> pi = StationaryDistribution(dense);
  for (int j = 0; j < 3; ++j) {
    double next = 0;
    for (int i = 0; i < 3; ++i)
      next += pi[static_cast<size_t>(i)] * dense.At(i, j);
    EXPECT_NEAR(next, pi[static_cast<size_t>(j)], 1e-5);
  }

  // Ten sizes either side, never below a size of 1; a size below 1 is the first class itself.
  TSizeWindow w = SizeWindow(20, 25);
  EXPECT_EQ(w.Lo, 10);
  EXPECT_EQ(w.Hi, 35);
  EXPECT_EQ(w.Width(), 26);
  EXPECT_EQ(w.ClassOf(20), 10);
  w = SizeWindow(5, 8);
  EXPECT_EQ(w.Lo, 1);
  EXPECT_EQ(w.Width(), 18);
  EXPECT_EQ(SizeWindow(1, 1).Width(), 11);
  EXPECT_EQ(SizeWindow(1, 1).ClassOf(1), 0);
  w = SizeWindow(0, 3);
  EXPECT_EQ(w.Lo, 0);
  EXPECT_EQ(w.ClassOf(0), 0);
  EXPECT_EQ(w.Width(), 14);
}

TEST(CornuetEstimator, AgreesWithExactProbabilities) {
  const TMutationMatrix stepwise = StrictStepwiseMatrix(5);
  const std::vector<double> uniform = StationaryDistribution(stepwise);

  // The recursion against an independent form for two genes: the genes are apart by a Poisson
  // number of mutations along twice an exponential coalescence time, so the ordered pair (i, j)
  // has probability π_i Σ_k θ^k / (1 + θ)^(k+1) (P^k)[i][j].
  for (double theta : {0.3, 3.0}) {
    std::vector<double> power(25, 0.0), next(25);
    for (int i = 0; i < 5; ++i)
      power[static_cast<size_t>(i * 5 + i)] = 1;
    std::vector<double> series(25, 0.0);
    double coefficient = 1 / (1 + theta);
    for (int k = 0; k < 400; ++k) {
      for (size_t e = 0; e < 25; ++e)
        series[e] += coefficient * power[e];
      coefficient *= theta / (1 + theta);
      for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) {
          double s = 0;
          for (int l = 0; l < 5; ++l)
            s += power[static_cast<size_t>(i * 5 + l)] * stepwise.At(l, j);
          next[static_cast<size_t>(i * 5 + j)] = s;
        }
      power.swap(next);
    }
    EXPECT_NEAR(ExactOrdered({0, 1, 0, 1, 0}, theta, stepwise, uniform), 0.2 * series[1 * 5 + 3],
                1e-12);
    EXPECT_NEAR(ExactOrdered({0, 0, 2, 0, 0}, theta, stepwise, uniform), 0.2 * series[2 * 5 + 2],
                1e-12);
  }

  // Samples of up to 6 genes, θ on both sides of 0.01. Below it the criterion meets samples of
  // one size or nearly (large monomorphic populations): the proposal of Griffiths and Tavaré,
  // blind to the data, is only efficient there (for samples that need several mutations at such
  // a small θ its weights are so skewed that 20000 draws fall short).
  const std::vector<THistogram> polymorphic = {{0, 2, 1, 0, 0}, {1, 0, 2, 0, 1}, {0, 3, 0, 0, 0},
                                               {1, 1, 1, 1, 1}, {0, 2, 2, 2, 0}, {0, 0, 6, 0, 0}};
  const std::vector<THistogram> nearlyMonomorphic = {
      {0, 2, 1, 0, 0}, {0, 3, 0, 0, 0}, {0, 0, 6, 0, 0}, {0, 0, 5, 1, 0}, {4, 1, 0, 0, 0}};
  CornuetRuntimeGenerator().seed(20240611u);
  CornuetGenerator().SetSeeds(3, 14, 15, 92);
  TGenMars random(TGenMarsSeeds{17, 23, 41, 5});
  std::mt19937 runtime(7);
  const int draws = 20000;
  for (double theta : {0.004, 0.01, 0.4, 2.5}) {
    TConditionalTable table(stepwise, theta, 6);
    for (const THistogram& h : theta > 0.01 ? polymorphic : nearlyMonomorphic) {
      const long double exact = ExactOrdered(h, theta, stepwise, uniform);
      const THistogramEstimate e =
          theta > 0.01 ? StephensDonnellyEstimate(h, theta, draws, stepwise, uniform, table, random)
                       : GriffithsTavareEstimate(h, theta, draws, stepwise, uniform, runtime);
      EXPECT_GT(exact, 0);
      EXPECT_LE(std::fabs(e.Probability - exact), 3 * e.StandardError + 1e-12 * exact)
          << "theta " << theta << " sample " << h[0] << h[1] << h[2] << h[3] << h[4] << ": "
          << static_cast<double>(e.Probability) << " vs " << static_cast<double>(exact) << " (se "
          << static_cast<double>(e.StandardError) << ")";
      // The estimates are precise enough for the comparison to mean something.
      EXPECT_LT(e.StandardError, (theta > 0.01 ? 0.05 : 0.2) * exact) << "theta " << theta;
      // The criterion's choice of estimator and generator.
      const THistogramEstimate chosen =
          EstimateHistogramProbability(h, theta, draws, stepwise, uniform);
      EXPECT_LE(std::fabs(chosen.Probability - exact), 3 * chosen.StandardError + 1e-12 * exact);
    }
  }

  // A dense matrix: every class reaches every other in one mutation.
  const TMutationMatrix dense{3, {0.2, 0.5, 0.3, 0.4, 0.4, 0.2, 0.1, 0.3, 0.6}};
  const std::vector<double> pi = StationaryDistribution(dense);
  TConditionalTable denseTable(dense, 1.5, 5);
  for (const THistogram& h : std::vector<THistogram>{{2, 1, 1}, {0, 3, 2}}) {
    const long double exact = ExactOrdered(h, 1.5, dense, pi);
    const THistogramEstimate e =
        StephensDonnellyEstimate(h, 1.5, draws, dense, pi, denseTable, random);
    EXPECT_LE(std::fabs(e.Probability - exact), 3 * e.StandardError);
  }

  // No history to draw: no gene, or one.
  EXPECT_EQ(EstimateHistogramProbability({0, 0, 0, 0, 0}, 1.0, 10, stepwise, uniform).Probability,
            1);
  const THistogramEstimate one = EstimateHistogramProbability({0, 1, 0}, 0.001, 10, dense, pi);
  EXPECT_DOUBLE_EQ(static_cast<double>(one.Probability), pi[1]);
  EXPECT_EQ(one.StandardError, 0);
  EXPECT_THROW(EstimateHistogramProbability({1, 1}, 1.0, 10, stepwise, uniform),
               std::invalid_argument);
}

TEST(CornuetMemory, HashAndLookups) {
  // (positive classes × their sum), then ((s << (i mod 2)) xor h[i]) mod 1024 per positive class.
  EXPECT_EQ(TMemorize::Hash({0, 0, 0}), 0);
  EXPECT_EQ(TMemorize::Hash({3}), 0);                  // 3 xor 3
  EXPECT_EQ(TMemorize::Hash({0, 2, 1}), 15);           // 6; (12 xor 2) = 14; 14 xor 1
  EXPECT_EQ(TMemorize::Hash({5, 0, 7}), 26);           // 24; 24 xor 5 = 29; 29 xor 7
  EXPECT_EQ(TMemorize::Hash({600, 600}), 40);          // 2400; 2872 mod 1024 = 824; 1648 xor 600
  EXPECT_EQ(TMemorize::Hash({0, 0, 9, 1, 0, 2}), 180); // 36; 45; 90 xor 1 = 91; 182 xor 2

  TMemorize memory;
  double theta = -1;
  Extended result = -1;
  EXPECT_FALSE(memory.FindTheta({3}, theta));
  // {3} and {4} share bucket 0: the keys themselves tell them apart.
  memory.StoreTheta({3}, 1.5);
  memory.StoreTheta({4}, 2.5);
  memory.StoreTheta({3}, 9.0); // already known: kept as it was
  ASSERT_TRUE(memory.FindTheta({3}, theta));
  EXPECT_EQ(theta, 1.5);
  ASSERT_TRUE(memory.FindTheta({4}, theta));
  EXPECT_EQ(theta, 2.5);
  EXPECT_FALSE(memory.FindTheta({0, 3}, theta));
  // Results are by histogram and θ.
  memory.StoreResult({0, 2, 1}, 0.5, 1E-3L);
  memory.StoreResult({0, 2, 1}, 1.5, 2E-3L);
  ASSERT_TRUE(memory.FindResult({0, 2, 1}, 0.5, result));
  EXPECT_EQ(result, 1E-3L);
  ASSERT_TRUE(memory.FindResult({0, 2, 1}, 1.5, result));
  EXPECT_EQ(result, 2E-3L);
  EXPECT_FALSE(memory.FindResult({0, 2, 1}, 4.5, result));
  EXPECT_FALSE(memory.FindResult({0, 1, 2}, 0.5, result));
  EXPECT_EQ(memory.Count(), 4);
  memory.Clear();
  EXPECT_EQ(memory.Count(), 0);
  EXPECT_FALSE(memory.FindTheta({3}, theta));
}
