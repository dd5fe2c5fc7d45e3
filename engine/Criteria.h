// The assignment criteria: how well one individual (or group) fits one reference population.
// Codes 0 to 3 and 9 give a likelihood (larger is better), 4 to 8 and 10 a distance (smaller
// is better). Undefined values are not errors: they come back as Undefined().
#pragma once

#include <cstdint>
#include <string>

#include "base/Real.h"

class TBioCalculable;
class TGroupAbstract;
class TIntegerList;
class TMatchPGDS;
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

// In every criterion: `pop` is the reference population (a sample or its leave-one-out copy),
// `unit` the individual or group to treat (of the match's target data set, computed), `used` the
// matched loci to use.
Extended DirichletLikelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used, std::uint8_t code);
Extended Bayesien2Likelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used,
                             const TBayesien2Data& bayes);
Extended FrequencyLikelihood(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used,
                             Extended defaultFrequency);
Extended NeiStandardDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                             const TMatchPGDS& match, const TIntegerList& used);
Extended NeiMinimumDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                            const TMatchPGDS& match, const TIntegerList& used);
Extended NeiDaDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                       const TMatchPGDS& match, const TIntegerList& used);
Extended CavalliSforzaDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                               const TMatchPGDS& match, const TIntegerList& used);
// Allele sizes come from the match's reference and target data sets.
Extended GoldsteinDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                           const TMatchPGDS& match, const TIntegerList& used);
Extended RogersDistance(const TGroupAbstract& pop, const TBioCalculable& unit,
                        const TMatchPGDS& match, const TIntegerList& used);

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

// Criterion 9: Π over the used loci of P1 / P0, the probabilities under the strict stepwise
// mutation model of the population's histogram of allele sizes with the unit's genes (P1) and
// without (P0), each the probability of the genes in one given order; so the value is the
// probability of the unit's genes taken in one given order. θ is estimated, once for every
// population and locus, from `full`, the population before any leave-one-out (pop itself
// otherwise). The value is undefined when the used-loci list is empty or when the full population
// has fewer than two genes at a used locus. Returns false when stopped through the progress hook.
bool CornuetLikelihood(const TGroupAbstract& pop, const TGroupAbstract& full,
                       const TBioCalculable& unit, const TMatchPGDS& match,
                       const TIntegerList& used, const TCornuetSettings& settings,
                       const TCornuetProgress& progress, Extended& value);

// The arguments a run passes to every criterion.
struct TCriterionArgs {
  std::uint8_t Criterion = criterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  const TBayesien2Data* Bayes = nullptr; // criterion 1 only
};

// Dispatches on args.Criterion (0 to 8 and 10); returns false for any other code (criterion 9
// needs the full population and reports progress: CornuetLikelihood).
bool EvaluateCriterion(const TCriterionArgs& args, const TGroupAbstract& pop,
                       const TBioCalculable& unit, const TMatchPGDS& match,
                       const TIntegerList& used, Extended& value);
