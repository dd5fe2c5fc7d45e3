// The Monte-Carlo simulations: simulated individuals are short arrays of allele entries of a
// compact match, never model objects, and their criterion values are kept as 8-byte keys
// (logarithms of the likelihoods, the distances themselves) in a sorted array.
//
// Algorithm 0 (Cornuet et al. 1999) draws each copy from the population's allele frequencies,
// algorithm 1 (Rannala & Mountain 1997) from the posterior predictive distribution of its counts
// with prior 1/K per allele, given the copies drawn before it; both give a simulated individual
// at each locus as many copies, present and missing, as a random member carries there.
// Algorithm 2 (Paetkau et al. 2004) simulates whole populations of offspring of random pairs of
// members (a parent untyped at a locus passes a missing copy), each offspring compared with its
// population without it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/criteria/CompactTallies.h"
#include "engine/simulation/Simulation.h"
#include "model/GroupAbstract.h"

class TGenMars;
class TGenMarsCursor;
class TUnitCodes;

// The members of a population as the simulations draw from them, at every locus of a compact
// match: ploidy (missing copies included) and the entries of the copies present, in the order of
// the genotype.
class TCompactMembers {
public:
  // `population`'s individuals in order, without `without` (when not null).
  static TCompactMembers Of(const TCompactMatch& m, const TGroupAbstract& population,
                            const TIndividual* without = nullptr);

  // One member at one locus, packed so that a draw reads one place: the first two copies
  // inline, all of them in the member list's entries from Begin.
  struct TCell {
    std::uint8_t Ploidy = 0;
    std::int16_t Copies[2] = {-1, -1};
    std::int32_t Present = 0;
    std::int32_t Begin = 0;
  };

  int Count() const { return count_; }
  int Present(int member, int locus) const { return cells_[Cell(member, locus)].Present; }
  // A member's cells, locus after locus.
  const TCell* Row(int member) const { return cells_.data() + Cell(member, 0); }
  // Copy c of a member's genotype at a locus (its cell there).
  std::int16_t Copy(const TCell& cell, int c) const {
    if (c < 2) return cell.Copies[c];
    return entries_[static_cast<size_t>(cell.Begin + c)];
  }

private:
  size_t Cell(int member, int locus) const {
    return static_cast<size_t>(member) * static_cast<size_t>(loci_) + static_cast<size_t>(locus);
  }
  int count_ = 0, loci_ = 0;
  std::vector<TCell> cells_;
  std::vector<std::int16_t> entries_;
};

// What one simulation draws from and compares with: a population (its counts and members) and
// the criterion prepared for the compact match.
struct TCompactSource {
  const TCompactMatch& Match;
  const TCompactCriterion& Criterion;
  const TCompactPopulation& Population;
  const TCompactMembers& Members;
};

// Simulated individuals drawn one at a time from a population's tallies and members (algorithm
// 0, allele frequencies, or 1, posterior predictive with prior 1/K) at the compact loci `used`:
// at each locus as many copies as a random member carries there.
class TCompactIndividualDraw {
public:
  TCompactIndividualDraw(const TCompactMatch& m, const TCompactPopulation& population,
                         const TCompactMembers& members, const std::vector<std::int32_t>& used,
                         TSimulationAlgorithm algorithm);
  // Draws `individual` afresh (every locus of the match; untouched ones stay empty) from the
  // stream of `random`. The population must have members.
  void Draw(TCompactUnit& individual, TGenMarsCursor& random);
  // Whether every individual drawn has at most two copies per locus (no member carries more at
  // a used locus, and algorithm 1 keeps its paired sums there): DrawCodes then applies.
  bool Simple() const { return simple_; }
  // The same draw as Draw, from the same values of the stream, written straight as score-table
  // slots (what TUnitCodes::Fill makes of the individual). Only when Simple().
  void DrawCodes(TUnitCodes& codes, TGenMarsCursor& random);

  struct TTally {
    std::vector<std::int16_t> Entry;
    std::vector<std::int32_t> Count;
    std::vector<Extended> Cumulative;
    // floor(Cumulative × 2^24): a draw of u = v / 2^24 (v an integer) reaches Cumulative[i]
    // exactly when v <= Threshold[i], so the search runs on integers.
    std::vector<std::int64_t> Threshold;
    // Algorithm 1: floor(S × 2^24) of the running sums S of the posterior weights it compares
    // with, summed term by term as the draw does: for the first copy, then (K per row) for the
    // second copy after each possible first one. The draw's target u × M (u = v / 2^24, M an
    // integer) is reached by S exactly when v × M <= that threshold.
    std::vector<std::int64_t> First, Second;
    std::int32_t N = 0;
  };

private:
  // Whether `present` copies are drawn as a pair (at most two, and for algorithm 1 with the
  // paired sums of the locus, kept up to 64 alleles) rather than copy by copy.
  bool PairDrawn(int present, const TTally& t) const {
    return present <= 2 &&
           (algorithm_ == TSimulationAlgorithm::Cornuet1999 || t.Entry.empty() || !t.First.empty());
  }
  // The pair at a locus when PairDrawn, the copies -1 where none is drawn; false otherwise.
  bool DrawPair(int present, const TTally& t, TGenMarsCursor& random, std::int16_t& first,
                std::int16_t& second) const;

  const TCompactMembers& members_;
  TSimulationAlgorithm algorithm_;
  int loci_;
  std::vector<std::int32_t> alleles_; // per locus, the match's K (its table's slots)
  bool simple_ = true;
  std::vector<char> isUsed_;
  std::vector<TTally> tallies_;
  std::vector<int> drawn_;
};

// A population of `offspring.size()` offspring of random pairs of `parents` (which has members),
// father then mother, at the compact loci marked in `isUsed` (algorithm 2); `tallies` becomes
// their counts.
void DrawOffspring(const TCompactMatch& m, const TCompactMembers& parents,
                   const std::vector<char>& isUsed, std::vector<TCompactUnit>& offspring,
                   TCompactPopulation& tallies, TGenMarsCursor& random);

// Fills `keys` with the keys of the simulated individuals of `source` at the compact loci `used`
// (algorithms 0, 1 and 2; another code leaves it empty), sorted
// unless `sortKeys` is false (a list read once is counted faster than sorted). Pending events
// are processed now and then (progress -1). False when stopped.
bool SimulateKeys(std::vector<double>& keys, const TCompactSource& source,
                  const std::vector<std::int32_t>& used, std::int32_t simulatedCount,
                  TSimulationAlgorithm algorithm, TGenMars& random, bool sortKeys = true);

// CountBelow / Count (likelihoods) or CountAbove / Count (distances) of `score` among the keys,
// ties counting half; undefined for an empty list or an undefined score. Sorted keys are
// bisected, others counted one by one, with the same result.
Extended KeyProbability(const std::vector<double>& keys, Extended score, bool distance,
                        bool sorted = true);
