// Likelihood criteria (codes 0, 2 and 3) scored from tables: against a fixed population the
// logarithm of a one- or two-copy genotype's likelihood at a locus is a constant of the locus
// (by its number of copies) plus one term per allele (or one for the homozygote), all read from
// a table built once per population. A score then costs three reads per locus, where the direct
// evaluation walks the population's counts and the logarithm tables copy by copy. Units with
// more than two copies at a used locus, and leave-one-out scores, keep the direct evaluation.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/criteria/CompactTallies.h"

// A unit's genotypes as indices into a population table: per locus the two slots whose terms
// it adds and its number of copies.
class TUnitCodes {
public:
  static TUnitCodes Of(const TCompactMatch& m, const TCompactUnit& unit);
  // The same, reusing this object's storage (one simulated individual after another).
  void Fill(const TCompactMatch& m, const TCompactUnit& unit);

  // Every locus holds at most two copies (the tables then apply).
  bool Simple = true;
  std::vector<std::int32_t> First, Second; // slots within the locus's table
  // Copies per locus (0, 1 or 2). Not bytes: a store of a byte may alias anything, and would
  // make the compiler reload every pointer of the simulation loops after it.
  std::vector<std::int32_t> X;
};

// The tables of one population for one criterion.
class TScoreTable {
public:
  // Whether the criterion is scored from tables (`leaveOut`: units taken out of the population,
  // the Dirichlet criteria only).
  static bool Covers(TCriterion criterion, bool leaveOut = false);
  // With `leaveOut`, each unit scored is one of the population's and is scored against the
  // population without it.
  TScoreTable(const TCompactMatch& m, const TCompactCriterion& criterion,
              const TCompactPopulation& population, bool leaveOut = false);
  TScoreTable() = default;
  // Rebuilt for another population (one simulated population after another), reusing storage.
  void Build(const TCompactMatch& m, const TCompactCriterion& criterion,
             const TCompactPopulation& population, bool leaveOut = false);

  // The natural logarithm of the likelihood of a simple unit over the used loci (positions), NaN
  // when undefined: the value TCompactCriterion::Score gives (with the table's leave-one-out),
  // up to rounding.
  double Score(const TUnitCodes& unit, const std::int32_t* used, int nUsed) const;

private:
  std::vector<std::int32_t> offset_; // per locus, first slot in values_
  std::vector<double> base_;         // per locus, for 1 and 2 copies
  std::vector<double> values_;
};

// The score of `unit` (with its `codes`) against `population` over the used loci: from `table`
// (the population's, with the same leave-one-out) when there is one and the unit is simple,
// directly otherwise.
Extended ScoreOf(const TScoreTable* table, const TCompactCriterion& criterion,
                 const TCompactPopulation& population, const TCompactUnit& unit,
                 const TUnitCodes& codes, const std::vector<std::int32_t>& used, bool leaveOut);
