// The assignment criteria: how well one individual (or group) fits one reference population.
// Codes 0 to 3 and 9 give a likelihood (larger is better), 4 to 8 and 10 a distance (smaller
// is better). Undefined values are not errors: they come back as Undefined().
#pragma once

#include <cstdint>

#include "model/Real.h"

class TBioCalculable;
class TGroupAbstract;
class TIntegerList;
class TMatchPGDS;
class TBayesien2Data;

namespace criterion {
constexpr std::uint8_t BaudouinLebrun = 0, Baudouin2 = 1, RannalaMountain = 2, Paetkau = 3,
                       NeiStandard = 4, NeiMinimum = 5, NeiDA = 6, CavalliSforza = 7,
                       Goldstein = 8, Cornuet = 9, Rogers = 10;
inline bool IsLikelihood(std::uint8_t c) { return c <= 3 || c == 9; }
inline bool IsDistance(std::uint8_t c) { return (c >= 4 && c <= 8) || c == 10; }
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

// The arguments a run passes to every criterion.
struct TCriterionArgs {
  std::uint8_t Criterion = criterion::RannalaMountain;
  Extended DefaultFrequency = 0.01L;
  const TBayesien2Data* Bayes = nullptr; // criterion 1 only
};

// Dispatches on args.Criterion (0 to 8 and 10); returns false for any other code.
bool EvaluateCriterion(const TCriterionArgs& args, const TGroupAbstract& pop,
                       const TBioCalculable& unit, const TMatchPGDS& match,
                       const TIntegerList& used, Extended& value);
