// The assignment criteria: how well one individual (or group) fits one reference population.
// Codes 0 to 3 and 9 give a likelihood (larger is better), 4 to 8 and 10 a distance (smaller
// is better). Their kernels are in CompactTallies.h (every code but 9) and Cornuet.h (9).
#pragma once

#include <cstdint>
#include <string>

#include "base/Real.h"

class TBayesien2Data;

namespace criterion {
constexpr std::uint8_t BaudouinLebrun = 0, Baudouin2 = 1, RannalaMountain = 2, Paetkau = 3,
                       NeiStandard = 4, NeiMinimum = 5, NeiDA = 6, CavalliSforza = 7, Goldstein = 8,
                       Cornuet = 9, Rogers = 10;
inline bool IsLikelihood(std::uint8_t c) {
  return c <= 3 || c == 9;
}
inline bool IsDistance(std::uint8_t c) {
  return (c >= 4 && c <= 8) || c == 10;
}
} // namespace criterion

// ln Γ(x) in extended precision.
Extended LnGamma(Extended x);

// Criterion 9, the stepwise-mutation test criterion: how many histories the probability of one
// histogram of allele sizes is estimated with (a twentieth of them when the population has a
// single size at the locus), and how many for each candidate θ.
struct TCornuetSettings {
  int Draws = 20000;
  int CandidateDraws = 300;
  int Threads = 1; // threads drawing the histories of one estimate
};

// Where criterion 9 reports its progress: every locus of its first likelihood (with the unit's
// genes) at Start percent, of the second (without) at Start + Step; Detail is the detail text.
struct TCornuetProgress {
  Extended Start = 0;
  Extended Step = 0;
  std::string Detail;
};

// The arguments a run passes to every criterion.
struct TCriterionArgs {
  std::uint8_t Criterion = criterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  const TBayesien2Data* Bayes = nullptr; // criterion 1 only
};
