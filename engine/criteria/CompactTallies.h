// The criteria, each written once as a per-locus kernel over compact tallies. A match's alleles
// are numbered per locus (its entries), populations become arrays of counts per entry, and a unit
// (an individual, a group or a simulated individual) is the short list of the entries it carries.
// Each criterion is written so that its cost is proportional to the copies the unit carries, not
// to the number of alleles: what the unit lacks enters through sums over the population computed
// once (exactly, in integers, where the criteria compare with zero).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "base/Real.h"
#include "engine/criteria/Criteria.h"

class TBioCalculable;
class TGroupAbstract;
class TIndividual;
class TMatchPGDS;

// One matched locus in compact form.
struct TCompactLocus {
  int K = 0;                             // entries
  int RefLocus = -1, TargetLocus = -1;   // positions in the two data sets
  std::vector<std::int16_t> RefEntry;    // reference allele code -> entry (-1: none)
  std::vector<std::int16_t> TargetEntry; // target allele code -> entry (-1: none)
  std::vector<std::int64_t> Size;        // allele size of each entry (criterion 8)
  std::vector<std::int32_t> Repeats;     // number of repeats of each entry (criterion 9)
  bool SizesDefined = true;              // every entry has a size
  // Entries with a reference allele in ascending order of the reference code: the order of a
  // population's tally, in which simulated alleles are drawn.
  std::vector<std::int16_t> TallyOrder;
};

class TCompactMatch {
public:
  explicit TCompactMatch(const TMatchPGDS& match);

  std::vector<TCompactLocus> Loci;
  const TMatchPGDS& Match;

  int LocusCount() const { return static_cast<int>(Loci.size()); }
};

// A unit (individual, group or simulated individual) at every locus of a compact match: the
// entries it carries in ascending order, each with its number of copies, and X, the copies
// present at the locus.
class TCompactUnit {
public:
  std::vector<std::int32_t> Begin; // per locus, index of its first entry (size loci + 1)
  std::vector<std::int16_t> Entry;
  std::vector<std::int32_t> Copies;
  std::vector<std::int32_t> X;
  // The tallies of a computed unit of the match's target (`target` true) or reference data set.
  static TCompactUnit Of(const TCompactMatch& m, const TBioCalculable& unit, bool target);
  // Starts an empty unit over `loci` loci; then, per locus in order, AddCopies then EndLocus.
  void Reset(int loci);
  void AddCopy(std::int16_t entry); // to the current locus, entries in any order
  void EndLocus();
  // A whole locus of at most two copies at once (-1: no copy), as a diploid or haploid genotype
  // is handed down; the same tallies as AddCopy of each present copy then EndLocus.
  void AddLocus(std::int16_t first, std::int16_t second) {
    if (first > second) std::swap(first, second);
    std::int32_t x = 0;
    if (first >= 0) {
      Entry.push_back(first);
      Copies.push_back(first == second ? 2 : 1);
      x = first == second ? 2 : 1;
    }
    if (second >= 0 && second != first) {
      Entry.push_back(second);
      Copies.push_back(1);
      ++x;
    }
    X.push_back(x);
    Begin.push_back(static_cast<std::int32_t>(Entry.size()));
  }
};

// The tallies of one population over the reference side of a compact match: counts per entry,
// genes per locus, the sum of squared counts and the sum of the sizes of the genes.
class TCompactPopulation {
public:
  std::vector<std::int32_t> Offset; // per locus, index of entry 0 in Counts
  std::vector<std::int32_t> Counts;
  std::vector<std::int32_t> N;
  std::vector<std::int64_t> SumSquares;
  std::vector<std::int64_t> SumSizes;
  // n / N of every entry, as the distances divide them, when ComputeFrequencies made them (any
  // change of the counts drops them).
  std::vector<Extended> Frequencies;

  void ComputeFrequencies();

  static TCompactPopulation Of(const TCompactMatch& m, const TGroupAbstract& population);
  // All counts zero, shaped after `m`.
  static TCompactPopulation Empty(const TCompactMatch& m);
  // Back to all counts zero, keeping the storage when already shaped after `m`.
  void Zero(const TCompactMatch& m);
  // Counts one copy of `entry` at `locus`; the number of copies and the sums are left for
  // ComputeSums.
  void CountCopy(int locus, std::int16_t entry) {
    ++Counts[static_cast<size_t>(Offset[static_cast<size_t>(locus)] + entry)];
  }
  // The number of copies of every locus and the sums of squared counts and of sizes, from the
  // counts.
  void ComputeSums(const TCompactMatch& m);
  // The number of copies of every locus only (all the score tables read); the sums stay as they
  // were.
  void ComputeGenes(const TCompactMatch& m);
  // Adds (sign +1) or takes out (-1) the copies of `unit` (reference side).
  void Add(const TCompactMatch& m, const TCompactUnit& unit, int sign);
  std::int32_t Count(int locus, int entry) const {
    return Counts[static_cast<size_t>(Offset[static_cast<size_t>(locus)] + entry)];
  }
};

class TBayesien2Data;

// A criterion (every code but 9, the stepwise-mutation criterion of Cornuet.h) prepared for a
// compact match: tables of the logarithms the likelihoods need, and for criterion 1 its priors.
class TCompactCriterion {
public:
  // maxCount bounds every count plus copies the tables will be asked for. Criterion 1 reads the
  // priors `priors` (per matched locus of `m` and entry), which must outlive it.
  TCompactCriterion(const TCompactMatch& m, TCriterion criterion, Extended defaultFrequency,
                    int maxCount, const TBayesien2Data* priors = nullptr);

  // Whether the kernels cover this criterion: every code but 9.
  static bool Covers(TCriterion criterion);
  // The same criterion with other priors (criterion 1, priors estimated without one individual).
  TCompactCriterion WithPriors(const TBayesien2Data* priors) const {
    TCompactCriterion c = *this;
    c.priors_ = priors;
    return c;
  }

  // The criterion of `unit` against `pop` over the matched loci `used` (positions). With
  // `leaveOut`, `pop` includes the unit and is evaluated without it. For the likelihoods the
  // answer is the natural logarithm of the likelihood (NaN when undefined); for the distances the
  // distance itself (NaN when undefined).
  Extended Score(const TCompactPopulation& pop, const TCompactUnit& unit, const std::int32_t* used,
                 int nUsed, bool leaveOut) const;
  // The value of the criterion: exp(score) for likelihoods; undefined for NaN.
  Extended Value(Extended score) const;
  // The 8-byte key under which a simulated score is kept and compared (NaN: not kept).
  static double Key(Extended score) { return static_cast<double>(score); }
  bool IsDistance() const { return distance_; }
  TCriterion Code() const { return criterion_; }

private:
  friend class TScoreTable; // built from the logarithm tables below

  double DirichletLocus(const TCompactPopulation& pop, const TCompactUnit& unit, int l,
                        bool leaveOut, bool& undefined) const;
  double FrequencyLocus(const TCompactPopulation& pop, const TCompactUnit& unit, int l,
                        bool leaveOut, bool& undefined) const;
  Extended PriorsLocus(const TCompactPopulation& pop, const TCompactUnit& unit, int l,
                       bool leaveOut, bool& undefined) const;

  const TCompactMatch& m_;
  TCriterion criterion_;
  bool distance_;
  int maxCount_;
  double lnDefault_ = 0;
  // Per locus: ln(prior + c) and ln(a + c) for c = 0 .. maxCount (criteria 0 and 2).
  std::vector<std::vector<double>> lnPrior_, lnTotal_;
  std::vector<double> lnInt_;  // ln c (criterion 3), ln 0 = -inf
  std::vector<double> lnFact_; // ln c!
  const TBayesien2Data* priors_ = nullptr;
};
