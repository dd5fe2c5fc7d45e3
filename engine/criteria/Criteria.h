// The assignment criteria: how well one individual (or group) fits one reference population.
// Codes 0 to 3 and 9 give a likelihood (larger is better), 4 to 8 and 10 a distance (smaller
// is better). Their kernels are in CompactTallies.h (every code but 9) and Cornuet.h (9).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Real.h"

class TBayesien2Data;

enum class TCriterion : std::uint8_t {
  BaudouinLebrun = 0,
  Baudouin2 = 1,
  RannalaMountain = 2,
  Paetkau = 3,
  NeiStandard = 4,
  NeiMinimum = 5,
  NeiDA = 6,
  CavalliSforza = 7,
  Goldstein = 8,
  Cornuet = 9,
  Rogers = 10
};

// Whether the criterion gives a likelihood, a distance; neither for a value that names no
// criterion.
constexpr bool IsLikelihood(TCriterion c) {
  switch (c) {
  case TCriterion::BaudouinLebrun:
  case TCriterion::Baudouin2:
  case TCriterion::RannalaMountain:
  case TCriterion::Paetkau:
  case TCriterion::Cornuet:
    return true;
  case TCriterion::NeiStandard:
  case TCriterion::NeiMinimum:
  case TCriterion::NeiDA:
  case TCriterion::CavalliSforza:
  case TCriterion::Goldstein:
  case TCriterion::Rogers:
    return false;
  }
  return false;
}
// Every other criterion (the codes run from 0 to 10 without a gap).
constexpr bool IsDistance(TCriterion c) {
  return !IsLikelihood(c) &&
         static_cast<std::uint8_t>(c) <= static_cast<std::uint8_t>(TCriterion::Rogers);
}

// The criterion of a code (the command line's numbers, the codes files and journals print);
// none for a code that names no criterion.
std::optional<TCriterion> CriterionFromCode(int code);
// The code of a criterion.
constexpr int CriterionCode(TCriterion c) {
  return static_cast<int>(c);
}

// Display name of a criterion, in the current language; "<inconnue>" for a value that names no
// criterion.
const std::string& NameOfCriterion(TCriterion c);

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
  TCriterion Criterion = TCriterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  const TBayesien2Data* Bayes = nullptr; // criterion 1 only
};
