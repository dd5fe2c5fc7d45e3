// The probability of a sample of allele sizes under a mutation model, estimated by importance
// sampling over the sample's coalescent histories. A history is drawn backwards in time, one
// event at a time (two genes of one class coalesce, or a gene of class α descends by one
// mutation from a gene of class β), until a single ancestral gene remains, whose class is drawn
// from the stationary distribution of the mutation matrix. The weight of a history is the
// product, over its events, of the event's coefficient in the recursion of the sample
// probability divided by the probability of proposing it; the mean weight estimates the
// probability. Two proposals:
//  - Stephens and Donnelly (2000), for θ above 0.01: the class of an extra gene given the other
//    genes is approximated from the matrix by (n/(n+θ))·(I − θ/(n+θ)·P)⁻¹;
//  - Griffiths and Tavaré (1994), for θ at or below 0.01: events proposed in proportion to their
//    coefficients.
//
// The probability returned is that of an ordered sample: the genes taken one after the other
// with the classes of the histogram, in one given order. (The probability of the counts alone
// is larger by the multinomial coefficient n! / Π h_i!.)
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "base/Real.h"
#include "engine/criteria/Stepwise.h"

class TGenMars;

// The estimate and the standard error of the mean weight it comes from.
struct THistogramEstimate {
  Extended Probability = 0;
  Extended StandardError = 0;
};

// The Stephens–Donnelly table of one mutation matrix and one θ: for every number of genes
// m = 1 .. levels, the matrix M(m) = (m/(m+θ))·(I − θ/(m+θ)·P)⁻¹, whose entry (β, j) is the
// probability that one more gene is of class j when it descends from a gene of class β. The
// factorisations of I − θ/(m+θ)·P are made at construction (banded: the stepwise matrix is
// tridiagonal); the columns are solved by SolveAll, which the estimators call.
class TConditionalTable {
public:
  TConditionalTable(const TMutationMatrix& matrix, double theta, int levels);

  int Width() const { return w_; }
  int Levels() const { return levels_; }
  double Theta() const { return theta_; }
  bool SameModel(const TMutationMatrix& matrix, double theta) const;
  // Solves every column not solved yet; after it the table is only read, and may be shared
  // among threads.
  void SolveAll();
  // Column j of M(level), solved: entry β is M(level)[β][j]. level in 1 .. Levels().
  const double* Column(int level, int j) const {
    return columns_[static_cast<size_t>(j)].data() +
           static_cast<size_t>(level - 1) * static_cast<size_t>(w_);
  }

private:
  void Solve(int j);

  int w_;
  int levels_;
  int band_; // largest |i - j| of a possible mutation
  double theta_;
  std::vector<double> p_;
  // Per level, the band of the LU factors of I − ρP, rows of 2·band_ + 1 entries.
  std::vector<double> lu_;
  std::vector<std::vector<double>> columns_; // per class: Levels() columns of w_ entries
};

// Stephens–Donnelly estimate of the histogram h (counts by class of the matrix) with `draws`
// histories drawn from `random`. `table` must have been made for this matrix and θ with at least
// n - 1 levels (n the number of genes of h).
THistogramEstimate StephensDonnellyEstimate(const std::vector<std::int32_t>& h, double theta,
                                            int draws, const TMutationMatrix& matrix,
                                            const std::vector<double>& stationary,
                                            TConditionalTable& table, TGenMars& random);
// The same with the draws split into streams of 2500 draws (when there are more), each seeded
// from `random` in order and drawn on up to `threads` threads: the estimate does not depend on
// the number of threads.
THistogramEstimate StephensDonnellyEstimate(const std::vector<std::int32_t>& h, double theta,
                                            int draws, const TMutationMatrix& matrix,
                                            const std::vector<double>& stationary,
                                            TConditionalTable& table, TGenMars& random,
                                            int threads);

// Griffiths–Tavaré estimate of the histogram h with `draws` histories drawn from `random`.
THistogramEstimate GriffithsTavareEstimate(const std::vector<std::int32_t>& h, double theta,
                                           int draws, const TMutationMatrix& matrix,
                                           const std::vector<double>& stationary,
                                           std::mt19937& random);

// The runtime's generator of the criterion, seeded once from the clock (tests re-seed it).
std::mt19937& CornuetRuntimeGenerator();

// The estimate the criterion uses: Stephens–Donnelly with the criterion's generator
// CornuetGenerator() for θ > 0.01 (in streams on up to `threads` threads, as above) (its table kept
// from one call to the next while the matrix and θ stay the same), Griffiths–Tavaré with
// CornuetRuntimeGenerator() otherwise. An empty histogram has probability 1 and a single gene the
// stationary probability of its class.
THistogramEstimate EstimateHistogramProbability(const std::vector<std::int32_t>& h, double theta,
                                                int draws, const TMutationMatrix& matrix,
                                                const std::vector<double>& stationary,
                                                int threads = 1);
