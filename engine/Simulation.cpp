#include "engine/Simulation.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "dataset/PGDSStructure.h"
#include "engine/Bayesien2.h"
#include "engine/CompactTallies.h"
#include "engine/EngineTexts.h"
#include "engine/FastRuns.h"
#include "engine/GenMars.h"
#include "engine/Match.h"
#include "base/Progress.h"
#include "engine/SharedLists.h"
#include "model/Individual.h"
#include "model/Sample.h"

namespace {

// Criteria whose values can be simulated: all but the stepwise-mutation test criterion.
bool HasSimulatedValues(std::uint8_t c) {
  return (criterion::IsLikelihood(c) && c != criterion::Cornuet) || criterion::IsDistance(c);
}

// Where simulated individuals are compared with a population. They carry the reference data
// set's allele codes at its locus positions, so they are evaluated through a match of the
// reference with itself: the run's match when it is one (with the run's loci and priors),
// otherwise one built over the used loci, with priors of its own for criterion 1.
class TEvaluation {
public:
  TEvaluation(const TPGDSStructure& reference, const TMatchPGDS& match, const TIntegerList& used,
              const TCriterionArgs& criterion)
      : args_(criterion) {
    if (match.Reference == &reference && match.Target == &reference) {
      match_ = &match;
      used_ = used;
    } else {
      std::vector<std::string> names;
      for (int k = 0; k < used.Count(); ++k)
        names.push_back(reference.LocusAt(match.Locus(used[k]).RefLocus)->Name);
      own_ = std::make_unique<TMatchPGDS>(reference, reference, names);
      match_ = own_.get();
      for (int k = 0; k < used.Count(); ++k)
        used_.Add(k);
    }
    if (criterion.Criterion == criterion::Baudouin2 && (own_ || !criterion.Bayes)) {
      bayes_ = std::make_unique<TBayesien2Data>();
      bayes_->Prepare(reference, *match_, nullptr);
      args_.Bayes = bayes_.get();
    }
  }

  Extended Value(const TGroupAbstract& population, const TBioCalculable& unit) const {
    Extended value = Undefined();
    EvaluateCriterion(args_, population, unit, *match_, used_, value);
    return value;
  }

private:
  TCriterionArgs args_;
  const TMatchPGDS* match_ = nullptr;
  std::unique_ptr<TMatchPGDS> own_;
  TIntegerList used_;
  std::unique_ptr<TBayesien2Data> bayes_;
};

// Algorithm 0: the first allele of the tally whose cumulative frequency reaches u.
std::int16_t DrawFromFrequencies(const TSampledLocus& tally, Extended u) {
  Extended cumulative = 0;
  std::int16_t last = -1;
  for (const TAlleleFeatures& f : tally.Features) {
    if (f.Count <= 0) continue;
    last = f.AlleleCode;
    cumulative += f.Frequency;
    if (cumulative >= u) return f.AlleleCode;
  }
  return last; // rounding left the sum of the frequencies below u
}

// Algorithm 1: copy m (from 0) drawn from the posterior predictive distribution of the
// population's counts with prior 1/K per allele, given the copies drawn before it (`drawn`, by
// feature): allele a with probability (n_a + 1/K + drawn_a) / (N + 1 + m).
std::int16_t DrawFromPosterior(const TSampledLocus& tally, std::vector<int>& drawn, int m,
                               Extended u) {
  int K = 0;
  for (const TAlleleFeatures& f : tally.Features)
    K += f.Count > 0;
  if (K == 0) return -1;
  const Extended prior = 1.0L / K;
  const Extended target = u * (static_cast<Extended>(tally.NbGenes) + 1 + m);
  Extended cumulative = 0;
  int last = -1;
  for (size_t a = 0; a < tally.Features.size(); ++a) {
    const TAlleleFeatures& f = tally.Features[a];
    if (f.Count <= 0) continue;
    last = static_cast<int>(a);
    cumulative += f.Count + prior + drawn[a];
    if (cumulative >= target) break;
  }
  ++drawn[static_cast<size_t>(last)];
  return tally.Features[static_cast<size_t>(last)].AlleleCode;
}

// One copy handed down by a parent: the allele at a random position of its genotype, or a
// missing copy when the parent is untyped there.
std::int16_t CopyFrom(const TIndividual& parent, int locus, TGenMars& random) {
  const auto t = parent.GetTypage(locus);
  const int position = random.RandomFrom0(t.Count());
  return position < t.Count() ? t.Alleles()[static_cast<size_t>(position)] : std::int16_t{-1};
}

// Stores the drawn copies of one locus: the present ones, then the missing ones (-1), so that
// the ploidy counts both.
void StoreCopies(TIndividual& individual, int locus, const std::int16_t* copies, int n) {
  for (int c = 0; c < n; ++c)
    if (copies[c] >= 0) individual.AddGene(locus, copies[c]);
  for (int c = 0; c < n; ++c)
    if (copies[c] < 0) individual.AddMissingGene(locus);
}

} // namespace

TSimulationKey SimulationKeyOf(const TMatchPGDS& match, const TIntegerList& used,
                               const TCriterionArgs& criterion, std::uint8_t algorithm,
                               std::int32_t simulatedCount) {
  TSimulationKey key;
  for (int k = 0; k < used.Count(); ++k)
    key.ReferenceLoci.push_back(match.Locus(used[k]).RefLocus);
  key.Criterion = criterion.Criterion;
  // Only criterion 3 reads the default frequency.
  key.DefaultFrequency = criterion.Criterion == criterion::Paetkau ? criterion.DefaultFrequency : 0;
  key.Algorithm = algorithm;
  key.SimulatedCount = simulatedCount;
  return key;
}

const TExtendedList* PresimulatedList(const TSample& sample) {
  const auto* data = dynamic_cast<const TPresimulatedList*>(sample.SimulationData.get());
  return data ? &data->List : nullptr;
}

const TExtendedList* PresimulatedList(const TSample& sample, const TSimulationKey& key) {
  const auto* data = dynamic_cast<const TPresimulatedList*>(sample.SimulationData.get());
  return data && data->Key == key ? &data->List : nullptr;
}

bool Presimulate(const TPGDSStructure& reference, std::uint8_t algorithm,
                 std::int32_t simulatedCount, const TMatchPGDS& match,
                 const TIntegerList& locusPositions, const TCriterionArgs& criterion, bool fast,
                 int threads) {
  if (fast && TCompactCriterion::Covers(criterion.Criterion) &&
      locusPositions.Count() == match.LocusCount())
    return FastPresimulate(reference, match, criterion, algorithm, simulatedCount, threads);
  if (ReportProgress(" ", " ", 0)) return false;
  const int populations = reference.SamplesCount();
  const TSimulationKey key =
      SimulationKeyOf(match, locusPositions, criterion, algorithm, simulatedCount);
  for (int p = 0; p < populations; ++p) {
    TSample& sample = *reference.SampleAt(p);
    TGenMars random(DrawStreamSeeds(SimulationGenerator()));
    auto data = std::make_unique<TPresimulatedList>(std::max(simulatedCount, 0), key);
    TExtendedList& list = data->List;
    sample.SimulationData = std::move(data);
    if (!SimulateDistribution(list, reference, 100.0L * p / populations, 100.0L / populations,
                              criterion, locusPositions, match, simulatedCount, algorithm, sample,
                              random)) {
      // A partial list must not pass for a complete one in a later run.
      sample.SimulationData.reset();
      return false;
    }
  }
  return true;
}

const TExtendedList* PresimulatedListFor(TSample& sample, const TPGDSStructure& reference,
                                         const TMatchPGDS& match, const TCriterionArgs& criterion,
                                         std::uint8_t algorithm, std::int32_t simulatedCount,
                                         bool& stopped) {
  stopped = false;
  TIntegerList all;
  for (int i = 0; i < match.LocusCount(); ++i)
    all.Add(i);
  TSimulationKey key = SimulationKeyOf(match, all, criterion, algorithm, simulatedCount);
  if (const TExtendedList* list = PresimulatedList(sample, key)) return list;
  auto data = std::make_unique<TPresimulatedList>(std::max(simulatedCount, 0), std::move(key));
  TGenMars random(DrawStreamSeeds(SimulationGenerator()));
  if (!SimulateDistribution(data->List, reference, -1, -1, criterion, all, match, simulatedCount,
                            algorithm, sample, random)) {
    stopped = true;
    return nullptr;
  }
  const TExtendedList* list = &data->List;
  sample.SimulationData = std::move(data);
  return list;
}

bool ProbabilityUnder(TSample& sample, const TGroupAbstract& population, bool isHome,
                      const TPGDSStructure& reference, const TMatchPGDS& match,
                      const TIntegerList& used, const TCriterionArgs& criterion,
                      std::uint8_t algorithm, std::int32_t simulatedCount, Extended value,
                      Extended& probability, TGenMars& random, const TSharedListOf& shared) {
  probability = Undefined();
  // An undefined value has no probability: nothing to simulate.
  if (IsUndefined(value)) return true;
  if (!isHome && used.Count() != match.LocusCount() && shared.Lists &&
      shared.Lists->PatternOf(shared.Unit) >= 0) {
    const auto list = shared.Lists->Get(
        shared.Unit, shared.Population, [&](TExtendedList& made, TGenMars& stream) {
          return SimulateDistribution(made, reference, -1, -1, criterion, used, match,
                                      simulatedCount, algorithm, population, stream);
        });
    if (!list) return false;
    probability = SimulatedProbability(*list, value, criterion.Criterion);
    return true;
  }
  if (isHome || used.Count() != match.LocusCount()) {
    TExtendedList list(std::max(simulatedCount, 0));
    if (!SimulateDistribution(list, reference, -1, -1, criterion, used, match, simulatedCount,
                              algorithm, population, random))
      return false;
    probability = SimulatedProbability(list, value, criterion.Criterion);
    return true;
  }
  bool stopped = false;
  const TExtendedList* list =
      PresimulatedListFor(sample, reference, match, criterion, algorithm, simulatedCount, stopped);
  if (stopped) return false;
  probability = SimulatedProbability(*list, value, criterion.Criterion);
  return true;
}

bool SimulateDistribution(TExtendedList& list, const TPGDSStructure& reference,
                          Extended progressStart, Extended progressShare,
                          const TCriterionArgs& criterion, const TIntegerList& used,
                          const TMatchPGDS& match, std::int32_t simulatedCount,
                          std::uint8_t algorithm, const TGroupAbstract& population,
                          TGenMars& random) {
  list.Clear();
  if (!HasSimulatedValues(criterion.Criterion)) return false;
  const TEvaluation evaluation(reference, match, used, criterion);
  const int size = population.NbIndividuals();
  if (size == 0) return true;
  const std::vector<int> loci = ReferenceLoci(match, used);
  // Undefined or infinite values are dropped: the probability uses the values kept.
  auto keep = [&list](Extended value) {
    if (std::isfinite(value)) list.Add(value);
  };

  if (algorithm == simulation::Cornuet1999 || algorithm == simulation::Rannala1997) {
    list.SetCapacity(std::max(simulatedCount, 0));
    TIndividual individual("0", population.NbLoci(), 0);
    for (int i = 0; i < simulatedCount; ++i) {
      SimulateIndividual(individual, population, loci, algorithm, random);
      keep(evaluation.Value(population, individual));
      if (SimulationStep(progressStart, progressShare, i + 1, simulatedCount)) return false;
    }
  } else if (algorithm == simulation::Paetkau2004) {
    // Whole populations of offspring, each individual against its population without it.
    const int batches = simulatedCount > 0 ? (simulatedCount + size - 1) / size : 0;
    list.SetCapacity(batches * size);
    for (int b = 0; b < batches; ++b) {
      const std::unique_ptr<TSample> simulated = SimulateOffspring(population, loci, size, random);
      TLeaveOneOut leaveOneOut(*simulated, loci);
      for (int j = 0; j < size; ++j) {
        const TIndividual& member = *simulated->Individuals.Items(j);
        keep(evaluation.Value(leaveOneOut.Without(member), member));
      }
      if (SimulationStep(progressStart, progressShare, b + 1, batches)) return false;
    }
  }
  list.Sort();
  return true;
}

Extended SimulatedProbability(const TExtendedList& list, Extended value, std::uint8_t criterion) {
  if (IsUndefined(value) || list.Count() == 0) return Undefined();
  const int n = criterion::IsDistance(criterion) ? list.CountAbove(value) : list.CountBelow(value);
  return static_cast<Extended>(n) / list.Count();
}

std::vector<int> ReferenceLoci(const TMatchPGDS& match, const TIntegerList& used) {
  std::vector<int> loci;
  loci.reserve(static_cast<size_t>(used.Count()));
  for (int k = 0; k < used.Count(); ++k)
    loci.push_back(match.Locus(used[k]).RefLocus);
  return loci;
}

void SimulateIndividual(TIndividual& individual, const TGroupAbstract& population,
                        const std::vector<int>& loci, std::uint8_t algorithm, TGenMars& random) {
  const int size = population.NbIndividuals();
  std::vector<std::int16_t> copies;
  std::vector<int> drawn;
  for (int l : loci) {
    individual.GetTypage(l).Clear();
    individual.GetSampledLocus(l).Clear();
    // The number of copies, present and missing, of a random member.
    const auto model =
        std::as_const(*population.Individuals.Items(random.RandomFrom0(size))).GetTypage(l);
    const TSampledLocus& tally = population.GetSampledLocus(l);
    copies.assign(static_cast<size_t>(std::max<int>(model.Ploidy(), model.Count())), -1);
    drawn.assign(tally.Features.size(), 0);
    for (int c = 0; c < model.Count(); ++c) {
      const Extended u = random.Next();
      copies[static_cast<size_t>(c)] = algorithm == simulation::Cornuet1999
                                           ? DrawFromFrequencies(tally, u)
                                           : DrawFromPosterior(tally, drawn, c, u);
    }
    StoreCopies(individual, l, copies.data(), static_cast<int>(copies.size()));
  }
  individual.Computed = false;
  individual.Compute(true);
}

std::unique_ptr<TSample> SimulateOffspring(const TGroupAbstract& parents,
                                           const std::vector<int>& loci, int size,
                                           TGenMars& random) {
  const int n = parents.NbIndividuals();
  auto sample = std::make_unique<TSample>("sim_" + parents.Name, parents.NbLoci(), size);
  for (int j = 0; j < size; ++j) {
    auto child = std::make_unique<TIndividual>(std::to_string(j), parents.NbLoci(), 0);
    const TIndividual& father = *parents.Individuals.Items(random.RandomFrom0(n));
    const TIndividual& mother = *parents.Individuals.Items(random.RandomFrom0(n));
    for (int l : loci) {
      std::int16_t copies[2];
      int count = 0;
      switch (father.GetPloidy(l)) {
      case 1:
        copies[count++] = CopyFrom(random.Next() >= 0.5L ? mother : father, l, random);
        break;
      case 2:
        copies[count++] = CopyFrom(father, l, random);
        copies[count++] = CopyFrom(mother, l, random);
        break;
      default: // no other ploidy is handed down
        break;
      }
      StoreCopies(*child, l, copies, count);
    }
    sample->Individuals.Adopt(std::move(child));
  }
  sample->Compute(true);
  return sample;
}

TLeaveOneOut::TLeaveOneOut(const TGroupAbstract& population, std::vector<int> loci)
    : full_(population), loci_(std::move(loci)),
      tallies_(std::make_unique<TSample>(population.Name, 0, 0)) {
  tallies_->SampledLoci = population.SampledLoci;
  tallies_->Computed = true;
}

const TGroupAbstract& TLeaveOneOut::Without(const TIndividual& member) {
  for (int l : loci_) {
    TSampledLocus& t = tallies_->SampledLoci[static_cast<size_t>(l)];
    t = full_.SampledLoci[static_cast<size_t>(l)];
    for (std::int16_t code : member.GetTypage(l).Alleles()) {
      const int p = tallies_->FindAllele(l, code);
      if (p < 0) continue;
      --t.Features[static_cast<size_t>(p)].Count;
      --t.NbGenes;
    }
    // An allele left with no copy reads as absent: count and frequency 0.
    for (TAlleleFeatures& f : t.Features)
      f.Frequency = t.NbGenes > 0 ? static_cast<Extended>(f.Count) / t.NbGenes : 0.0L;
  }
  return *tallies_;
}

bool SimulationStep(Extended progressStart, Extended progressShare, Extended done, Extended total) {
  if (progressStart >= 0 && progressShare >= 0 && total > 0)
    return ReportProgress(kStatusPresimulation(), " ",
                          progressStart + done * progressShare / total);
  return ReportProgress(" ", " ", -1);
}
