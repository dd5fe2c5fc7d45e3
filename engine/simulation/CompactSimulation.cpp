#include "engine/simulation/CompactSimulation.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/Progress.h"
#include "engine/common/ExtendedList.h"
#include "engine/common/GenMars.h"
#include "engine/criteria/ScoreTables.h"
#include "model/Individual.h"
#include "model/Sample.h"

namespace {
size_t At(std::int32_t i) {
  return static_cast<size_t>(i);
}

// Simulated individuals between two chances for the user to stop.
constexpr int kIndividualsPerReport = 512;

using TTallyDraw = TCompactIndividualDraw::TTally;

// Beyond this many alleles at a locus, algorithm 1 sums its weights copy by copy.
constexpr size_t kPairedSumsMaxAlleles = 64;

// A population's tally at each used locus in tally order (alleles present only), with the
// cumulative frequencies algorithm 0 draws with, summed as the tallies hold them.
std::vector<TTallyDraw> TalliesOf(const TCompactMatch& m, const TCompactPopulation& population,
                                  const std::vector<std::int32_t>& used,
                                  TSimulationAlgorithm algorithm) {
  std::vector<TTallyDraw> tallies(m.Loci.size());
  for (std::int32_t l : used) {
    TTallyDraw& t = tallies[At(l)];
    t.N = population.N[At(l)];
    const Extended n = t.N;
    Extended cumulative = 0;
    for (std::int16_t entry : m.Loci[At(l)].TallyOrder) {
      const std::int32_t count = population.Count(l, entry);
      if (count <= 0) continue;
      cumulative += count / n;
      t.Entry.push_back(entry);
      t.Count.push_back(count);
      t.Cumulative.push_back(cumulative);
      // Scaling by a power of two is exact, so the floor decides the comparison exactly.
      t.Threshold.push_back(static_cast<std::int64_t>(std::floor(std::ldexp(cumulative, 24))));
    }
    // The second copy's sums take K × K values: kept for the usual numbers of alleles only.
    const size_t K = t.Entry.size();
    if (algorithm != TSimulationAlgorithm::Rannala1997 || K == 0 || K > kPairedSumsMaxAlleles)
      continue;
    const Extended prior = 1.0L / static_cast<Extended>(K);
    auto threshold = [](Extended sum) {
      return static_cast<std::int64_t>(std::floor(std::ldexp(sum, 24)));
    };
    Extended sum = 0;
    for (size_t a = 0; a < K; ++a) {
      sum += t.Count[a] + prior + 0;
      t.First.push_back(threshold(sum));
    }
    for (size_t f = 0; f < K; ++f) {
      sum = 0;
      for (size_t a = 0; a < K; ++a) {
        sum += t.Count[a] + prior + (a == f ? 1 : 0);
        t.Second.push_back(threshold(sum));
      }
    }
  }
  return tallies;
}

// The index of the first of the K ascending thresholds that is >= key (K when none), by a
// bisection without branches (the draws are random, so a branch would be mispredicted half the
// time).
size_t FirstAtLeast(const std::int64_t* thresholds, size_t K, std::int64_t key) {
  const std::int64_t* base = thresholds;
  for (size_t n = K; n > 1;) {
    const size_t half = n / 2;
    base = base[half] < key ? base + half : base;
    n -= half;
  }
  return static_cast<size_t>(base - thresholds) + (*base < key ? 1 : 0);
}

// Algorithm 0: the first allele whose cumulative frequency reaches u = units / 2^24 (the last
// when rounding left the sum below u).
std::int16_t DrawFromFrequencies(const TTallyDraw& t, std::int32_t units) {
  const size_t K = t.Threshold.size();
  if (K == 0) return -1;
  const size_t index = FirstAtLeast(t.Threshold.data(), K, units);
  return index == K ? t.Entry.back() : t.Entry[index];
}

// Algorithm 1: copy m from the posterior predictive distribution, prior 1/K, given the copies
// drawn before it (`drawn`, by tally position).
std::int16_t DrawFromPosterior(const TTallyDraw& t, std::vector<int>& drawn, int m, Extended u) {
  const int K = static_cast<int>(t.Entry.size());
  if (K == 0) return -1;
  const Extended prior = 1.0L / K;
  const Extended target = u * (static_cast<Extended>(t.N) + 1 + m);
  Extended cumulative = 0;
  int chosen = 0;
  for (int a = 0; a < K; ++a) {
    chosen = a;
    cumulative += t.Count[At(a)] + prior + drawn[At(a)];
    if (cumulative >= target) break;
  }
  ++drawn[At(chosen)];
  return t.Entry[At(chosen)];
}

// Algorithm 1 for a diploid or haploid genotype: the copies drawn as DrawFromPosterior draws
// them, from the running sums kept for the first and the second copy. Tally positions; -1 for
// no copy.
void DrawPosteriorPair(const TTallyDraw& t, int present, TGenMarsCursor& random,
                       std::int16_t& first, std::int16_t& second) {
  first = second = -1;
  const size_t K = t.Entry.size();
  if (K == 0 || present == 0) {
    for (int c = 0; c < present; ++c)
      random.NextUnits(); // a copy is drawn for nothing, as the draw one copy at a time does
    return;
  }
  // The targets u × (N + 1) and u × (N + 2); the last allele when rounding left every sum below.
  const std::int64_t N = t.N;
  const size_t a = std::min(FirstAtLeast(t.First.data(), K, random.NextUnits() * (N + 1)), K - 1);
  first = t.Entry[a];
  if (present < 2) return;
  const size_t b =
      std::min(FirstAtLeast(t.Second.data() + a * K, K, random.NextUnits() * (N + 2)), K - 1);
  second = t.Entry[b];
}

// The score-table slots of a locus's copies (-1 for none), as TUnitCodes::Fill codes them:
// without branches, for the copies are random and a branch would often be mispredicted.
[[gnu::always_inline]] inline void SlotsOf(std::int32_t K, std::int16_t first, std::int16_t second,
                                           std::int32_t& a, std::int32_t& b, std::int32_t& x) {
  const std::int32_t zero = 2 * K; // the slot holding 0
  const std::int32_t low = std::min(first, second), high = std::max(first, second);
  const bool two = low >= 0, one = !two && high >= 0, homozygote = two && low == high;
  a = two ? (homozygote ? K + low : low) : (one ? high : zero);
  b = two && !homozygote ? high : zero;
  x = (first >= 0 ? 1 : 0) + (second >= 0 ? 1 : 0);
}

// One copy handed down by a parent (its cell at the locus): the copy at a random position of its
// genotype, or a missing copy when the parent is untyped there.
[[gnu::always_inline]] inline std::int16_t CopyFrom(const TCompactMembers& members,
                                                    const TCompactMembers::TCell& cell,
                                                    TGenMarsCursor& random) {
  const int present = cell.Present;
  const int position = random.RandomFrom0(present);
  return position < present ? members.Copy(cell, position) : std::int16_t{-1};
}

void KeepScore(std::vector<double>& keys, Extended score, bool distance) {
  if (std::isnan(score) || (distance && !std::isfinite(score)) || score == INFINITY) return;
  keys.push_back(TCompactCriterion::Key(score));
}

} // namespace

TCompactMembers TCompactMembers::Of(const TCompactMatch& m, const TGroupAbstract& population,
                                    const TIndividual* without) {
  TCompactMembers members;
  members.loci_ = m.LocusCount();
  for (int i = 0; i < population.NbIndividuals(); ++i) {
    const TIndividual& individual = *population.Individuals.Items(i);
    if (&individual == without) continue;
    ++members.count_;
    for (const TCompactLocus& c : m.Loci) {
      const auto t = individual.GetTypage(c.RefLocus);
      TCell& cell = members.cells_.emplace_back();
      cell.Ploidy = t.Ploidy();
      cell.Present = t.Count();
      cell.Begin = static_cast<std::int32_t>(members.entries_.size());
      int copy = 0;
      for (std::int16_t code : t.Alleles()) {
        const std::int16_t entry =
            code >= 0 && At(code) < c.RefEntry.size() ? c.RefEntry[At(code)] : std::int16_t{-1};
        members.entries_.push_back(entry);
        if (copy < 2) cell.Copies[copy] = entry;
        ++copy;
      }
    }
  }
  return members;
}

TCompactIndividualDraw::TCompactIndividualDraw(const TCompactMatch& m,
                                               const TCompactPopulation& population,
                                               const TCompactMembers& members,
                                               const std::vector<std::int32_t>& used,
                                               TSimulationAlgorithm algorithm)
    : members_(members), algorithm_(algorithm), loci_(m.LocusCount()),
      isUsed_(At(m.LocusCount()), 0), tallies_(TalliesOf(m, population, used, algorithm)) {
  for (const TCompactLocus& locus : m.Loci)
    alleles_.push_back(locus.K);
  for (std::int32_t l : used) {
    isUsed_[At(l)] = 1;
    for (int j = 0; j < members_.Count() && simple_; ++j)
      simple_ = PairDrawn(members_.Present(j, l), tallies_[At(l)]);
  }
}

bool TCompactIndividualDraw::DrawPair(int present, const TTallyDraw& t, TGenMarsCursor& random,
                                      std::int16_t& first, std::int16_t& second) const {
  if (!PairDrawn(present, t)) return false;
  if (algorithm_ == TSimulationAlgorithm::Cornuet1999) {
    // A diploid or haploid genotype (or none), the copies in the order drawn.
    first = present > 0 ? DrawFromFrequencies(t, random.NextUnits()) : -1;
    second = present > 1 ? DrawFromFrequencies(t, random.NextUnits()) : -1;
  } else {
    DrawPosteriorPair(t, present, random, first, second);
  }
  return true;
}

void TCompactIndividualDraw::DrawCodes(TUnitCodes& codes, TGenMarsCursor& random) {
  codes.Simple = true;
  codes.First.resize(At(loci_));
  codes.Second.resize(At(loci_));
  codes.X.resize(At(loci_));
  for (int l = 0; l < loci_; ++l) {
    std::int16_t first = -1, second = -1;
    if (isUsed_[At(l)]) {
      const int present = members_.Present(random.RandomFrom0(members_.Count()), l);
      DrawPair(present, tallies_[At(l)], random, first, second); // always drawn: Simple()
    }
    SlotsOf(alleles_[At(l)], first, second, codes.First[At(l)], codes.Second[At(l)],
            codes.X[At(l)]);
  }
}

void TCompactIndividualDraw::Draw(TCompactUnit& individual, TGenMarsCursor& random) {
  individual.Reset(loci_);
  for (int l = 0; l < loci_; ++l) {
    if (isUsed_[At(l)]) {
      // As many copies as a random member carries there.
      const int present = members_.Present(random.RandomFrom0(members_.Count()), l);
      const TTallyDraw& t = tallies_[At(l)];
      std::int16_t first = -1, second = -1;
      if (DrawPair(present, t, random, first, second)) {
        individual.AddLocus(first, second);
        continue;
      }
      if (algorithm_ == TSimulationAlgorithm::Cornuet1999) {
        for (int c = 0; c < present; ++c) {
          const std::int16_t entry = DrawFromFrequencies(t, random.NextUnits());
          if (entry >= 0) individual.AddCopy(entry);
        }
      } else {
        drawn_.assign(t.Entry.size(), 0);
        for (int c = 0; c < present; ++c) {
          const std::int16_t entry = DrawFromPosterior(t, drawn_, c, random.Next());
          if (entry >= 0) individual.AddCopy(entry);
        }
      }
    }
    individual.EndLocus();
  }
}

namespace {

// Draws `count` offspring of random pairs of `parents` (father then mother) at the loci marked
// in `isUsed` into `tallies`, handing each child's locus to `keep` (child, locus, first copy,
// second copy; -1 for a copy not handed down), every locus of a child in order. Without `sums`,
// the tallies get their counts and numbers of copies only.
template <class Keep>
void DrawChildren(const TCompactMatch& m, const TCompactMembers& parents,
                  const std::vector<char>& isUsed, size_t count, TCompactPopulation& tallies,
                  TGenMarsCursor& random, bool sums, Keep&& keep) {
  const int size = parents.Count();
  const int loci = m.LocusCount();
  tallies.Zero(m);
  const char* used = isUsed.data();
  for (size_t child = 0; child < count; ++child) {
    const TCompactMembers::TCell* father = parents.Row(random.RandomFrom0(size));
    const TCompactMembers::TCell* mother = parents.Row(random.RandomFrom0(size));
    for (int l = 0; l < loci; ++l) {
      std::int16_t first = -1, second = -1;
      if (used[l]) {
        switch (father[l].Ploidy) {
        case 1: {
          const bool fromMother = random.NextUnits() >= TGenMars::kUnits / 2;
          first = CopyFrom(parents, fromMother ? mother[l] : father[l], random);
          break;
        }
        case 2:
          first = CopyFrom(parents, father[l], random);
          second = CopyFrom(parents, mother[l], random);
          break;
        default: // no other ploidy is handed down
          break;
        }
        if (first >= 0) tallies.CountCopy(l, first);
        if (second >= 0) tallies.CountCopy(l, second);
      }
      keep(child, l, first, second);
    }
  }
  if (sums)
    tallies.ComputeSums(m);
  else
    tallies.ComputeGenes(m);
}

// Offspring as score-table slots (one or two copies per locus, so always simple), their tallies
// as the likelihood tables read them (counts and copies).
void DrawOffspringCodes(const TCompactMatch& m, const TCompactMembers& parents,
                        const std::vector<char>& isUsed, std::vector<TUnitCodes>& offspring,
                        TCompactPopulation& tallies, TGenMarsCursor& random) {
  const size_t loci = m.Loci.size();
  for (TUnitCodes& child : offspring) {
    child.First.resize(loci);
    child.Second.resize(loci);
    child.X.resize(loci);
  }
  DrawChildren(m, parents, isUsed, offspring.size(), tallies, random, false,
               [&](size_t c, int l, std::int16_t first, std::int16_t second) {
                 TUnitCodes& child = offspring[c];
                 SlotsOf(m.Loci[At(l)].K, first, second, child.First[At(l)], child.Second[At(l)],
                         child.X[At(l)]);
               });
}

// The working storage of the offspring lists of one thread.
struct TOffspringScratch {
  std::vector<TUnitCodes> Codes;
  std::vector<TCompactUnit> Offspring;
  TCompactPopulation Simulated;
  TScoreTable Table;
};

} // namespace

void DrawOffspring(const TCompactMatch& m, const TCompactMembers& parents,
                   const std::vector<char>& isUsed, std::vector<TCompactUnit>& offspring,
                   TCompactPopulation& tallies, TGenMarsCursor& random) {
  const int loci = m.LocusCount();
  for (TCompactUnit& child : offspring)
    child.Reset(loci);
  DrawChildren(m, parents, isUsed, offspring.size(), tallies, random, true,
               [&](size_t c, int, std::int16_t first, std::int16_t second) {
                 offspring[c].AddLocus(first, second);
               });
}

bool SimulateKeys(std::vector<double>& keys, const TCompactSource& source,
                  const std::vector<std::int32_t>& used, std::int32_t simulatedCount,
                  TSimulationAlgorithm algorithm, TGenMars& random, bool sortKeys) {
  keys.clear();
  const int size = source.Members.Count();
  if (size == 0 || simulatedCount <= 0) return true;
  const TCompactMatch& m = source.Match;
  const bool distance = source.Criterion.IsDistance();
  const int loci = m.LocusCount();
  std::vector<char> isUsed(At(loci), 0);
  for (std::int32_t l : used)
    isUsed[At(l)] = 1;

  if (algorithm == TSimulationAlgorithm::Cornuet1999 ||
      algorithm == TSimulationAlgorithm::Rannala1997) {
    TCompactIndividualDraw draw(m, source.Population, source.Members, used, algorithm);
    keys.reserve(At(simulatedCount));
    TCompactUnit individual;
    // Every simulated individual is scored against the same population: from its tables.
    std::optional<TScoreTable> table;
    if (TScoreTable::Covers(source.Criterion.Code()))
      table.emplace(m, source.Criterion, source.Population);
    TUnitCodes codes;
    // Scored from the table, simple individuals need only their slots.
    const bool slotsOnly = table && draw.Simple();
    TGenMarsCursor stream(random); // the generator's values computed a block at a time
    for (int i = 0; i < simulatedCount; ++i) {
      if (slotsOnly) {
        draw.DrawCodes(codes, stream);
      } else {
        draw.Draw(individual, stream);
        if (table) codes.Fill(m, individual);
      }
      KeepScore(keys,
                ScoreOf(table ? &*table : nullptr, source.Criterion, source.Population, individual,
                        codes, used, false),
                distance);
      if ((i + 1) % kIndividualsPerReport == 0 && ReportProgress(" ", " ", -1)) return false;
    }
  } else if (algorithm == TSimulationAlgorithm::Paetkau2004) {
    // Whole populations of offspring, each individual against its population without it.
    const int batches = (simulatedCount + size - 1) / size;
    keys.reserve(At(batches) * At(size));
    const int nUsed = static_cast<int>(used.size());
    // Offspring carry one or two copies per locus: with a likelihood criterion that has them,
    // they are scored from the leave-one-out tables of their population, built once per batch.
    const bool tabulated = TScoreTable::Covers(source.Criterion.Code(), true);
    // One list after another on the same thread: the offspring, their tallies and tables reuse
    // the storage of the previous list.
    thread_local TOffspringScratch scratch;
    std::vector<TUnitCodes>& codes = scratch.Codes;
    std::vector<TCompactUnit>& offspring = scratch.Offspring;
    codes.resize(tabulated ? At(size) : 0);
    offspring.resize(tabulated ? 0 : At(size));
    TCompactPopulation& simulated = scratch.Simulated;
    TScoreTable& table = scratch.Table;
    TGenMarsCursor stream(random); // the generator's values computed a block at a time
    for (int b = 0; b < batches; ++b) {
      if (tabulated) {
        DrawOffspringCodes(m, source.Members, isUsed, codes, simulated, stream);
        table.Build(m, source.Criterion, simulated, true);
        for (const TUnitCodes& child : codes)
          KeepScore(keys, table.Score(child, used.data(), nUsed), distance);
      } else {
        DrawOffspring(m, source.Members, isUsed, offspring, simulated, stream);
        for (const TCompactUnit& child : offspring)
          KeepScore(keys, source.Criterion.Score(simulated, child, used.data(), nUsed, true),
                    distance);
      }
      if (ReportProgress(" ", " ", -1)) return false;
    }
  }
  if (sortKeys) std::sort(keys.begin(), keys.end());
  return true;
}

Extended KeyProbability(const std::vector<double>& keys, Extended score, bool distance,
                        bool sorted) {
  if (std::isnan(score) || keys.empty()) return Undefined();
  // Ties as TiesWith: within a relative 1E-10 of the value, that is for the logarithms of the
  // likelihoods within 1E-10.
  const double key = TCompactCriterion::Key(score);
  const double tolerance = static_cast<double>(kTieTolerance) * (distance ? std::fabs(key) : 1.0);
  const double low = key == -INFINITY ? key : key - tolerance;
  const double high = key == -INFINITY ? key : key + tolerance;
  std::ptrdiff_t below = 0, above = 0;
  if (sorted) {
    const auto first = std::lower_bound(keys.begin(), keys.end(), low);
    below = first - keys.begin();
    above = keys.end() - std::upper_bound(first, keys.end(), high);
  } else {
    for (double x : keys) {
      below += x < low ? 1 : 0;
      above += x > high ? 1 : 0;
    }
  }
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(keys.size());
  const std::ptrdiff_t equal = n - below - above;
  return static_cast<Extended>((distance ? above : below) + equal / 2) / static_cast<Extended>(n);
}
