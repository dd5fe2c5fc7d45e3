// Criterion 9: the probability of the individual's genes given a population, under the strict
// stepwise mutation model of microsatellites. At every locus the population's allele sizes form
// a histogram; its probability under the coalescent with mutation, P0, and that of the
// histogram with the individual's genes added, P1, are estimated by importance sampling, and
// P1 / P0 is the conditional probability of the individual's genes. The mutation parameter θ of
// each population and locus is the candidate around a moment estimate that makes the
// population's histogram the most probable.
#include <cmath>
#include <map>

#include "dataset/PGDSStructure.h"
#include "engine/Assignment.h"
#include "engine/CornuetEstimator.h"
#include "engine/Criteria.h"
#include "engine/EngineTexts.h"
#include "engine/Match.h"
#include "engine/Memorize.h"
#include "base/Progress.h"
#include "engine/ResultTables.h"
#include "engine/Stepwise.h"
#include "engine/ThreadPool.h"
#include "model/Sample.h"
#include "base/Texts.h"

namespace {

using THistogram = std::vector<std::int32_t>;

// θ of a histogram with a single class, by number of genes.
constexpr double kTwoGenesTheta = 0.050892;
constexpr double kMonomorphicSlope = 21.306, kMonomorphicIntercept = 7.2321;

// The matrix and stationary distribution of a window width, made once per thread.
struct TWindowModel {
  TMutationMatrix Matrix;
  std::vector<double> Stationary;
};

const TWindowModel& ModelOfWidth(int w) {
  thread_local std::map<int, TWindowModel> models;
  auto found = models.find(w);
  if (found != models.end()) return found->second;
  TWindowModel& model = models[w];
  model.Matrix = StrictStepwiseMatrix(w);
  model.Stationary = StationaryDistribution(model.Matrix);
  return model;
}

int NonEmptyClasses(const THistogram& h) {
  int classes = 0;
  for (std::int32_t c : h)
    if (c > 0) ++classes;
  return classes;
}

std::int32_t GenesOf(const THistogram& h) {
  std::int32_t n = 0;
  for (std::int32_t c : h)
    n += c;
  return n;
}

// The probability of h given θ, from `memory` or estimated with `draws` histories and memorised.
Extended ProbabilityOf(TMemorize& memory, const THistogram& h, double theta, int draws,
                       const TWindowModel& model, int threads) {
  Extended p = 0;
  if (memory.FindResult(h, theta, p)) return p;
  p = EstimateHistogramProbability(h, theta, draws, model.Matrix, model.Stationary, threads)
          .Probability;
  memory.StoreResult(h, theta, p);
  return p;
}

// θ of a population's histogram, memorised. Undefined with fewer than 2 genes.
double ThetaOf(const THistogram& h, Extended geneDiversity, const TCornuetSettings& settings,
               const TWindowModel& model) {
  double theta = 0;
  if (ThetaMemory().FindTheta(h, theta)) return theta;
  const std::int32_t n = GenesOf(h);
  if (NonEmptyClasses(h) <= 1) {
    if (n < 2)
      theta = static_cast<double>(Undefined());
    else if (n == 2)
      theta = kTwoGenesTheta;
    else
      theta = 1.0 / (kMonomorphicSlope * std::log(static_cast<double>(n)) + kMonomorphicIntercept);
  } else {
    // Moment estimate from the expected homozygosity 1/sqrt(1 + 2θ) of the stepwise model. When
    // every gene differs the unbiased diversity is 1 and the estimate infinite: the plain
    // diversity 1 − Σp², which is then 1 − 1/n, is taken instead.
    Extended he = geneDiversity;
    if (IsUndefined(he) || he >= 1) he = 1 - 1.0L / n;
    const double inverse = static_cast<double>(1 / (1 - he));
    const double theta0 = (inverse * inverse - 1) / 2;
    Extended best = -1;
    for (int k = -2; k <= 2; ++k) {
      const double candidate = theta0 * std::pow(3.0, k);
      const Extended p = ProbabilityOf(CandidateMemory(), h, candidate, settings.CandidateDraws,
                                       model, settings.Threads);
      if (k == -2 || p > best) {
        best = p;
        theta = candidate;
      }
    }
  }
  ThetaMemory().StoreTheta(h, theta);
  return theta;
}

// One used locus of one evaluation: the histograms of the population, of the population with
// the unit's genes, and of the full population (θ is that of the full population).
struct TLocusHistograms {
  THistogram Population, WithUnit, Full;
  int Width = 0;
};

TLocusHistograms HistogramsOf(const TGroupAbstract& pop, const TGroupAbstract& full,
                              const TBioCalculable& unit, const TMatchPGDS& match,
                              const TMatchedLoci& m) {
  const TLocus& refLocus = *match.Reference->LocusAt(m.RefLocus);
  const TLocus& targetLocus = *match.Target->LocusAt(m.TargetLocus);
  // Sizes by entry: the reference allele's number of repeats, else the target allele's.
  std::vector<std::int32_t> sizes;
  sizes.reserve(m.Alleles.size());
  for (const TMatchedAlleles& e : m.Alleles)
    sizes.push_back(e.RefAllele >= 0 ? refLocus.GetAllele(e.RefAllele)->NbRepeats
                                     : targetLocus.GetAllele(e.TargetAllele)->NbRepeats);
  std::int32_t smallest = sizes.empty() ? 1 : sizes.front(), largest = smallest;
  for (std::int32_t s : sizes) {
    smallest = std::min(smallest, s);
    largest = std::max(largest, s);
  }
  const TSizeWindow window = SizeWindow(smallest, largest);
  TLocusHistograms h;
  h.Width = window.Width();
  const size_t w = static_cast<size_t>(h.Width);
  h.Population.assign(w, 0);
  h.Full.assign(w, 0);
  for (size_t j = 0; j < m.Alleles.size(); ++j) {
    const TMatchedAlleles& e = m.Alleles[j];
    const size_t c = static_cast<size_t>(window.ClassOf(sizes[j]));
    h.Population[c] += RefCount(pop, m, e);
    h.Full[c] += RefCount(full, m, e);
  }
  h.WithUnit = h.Population;
  for (size_t j = 0; j < m.Alleles.size(); ++j)
    h.WithUnit[static_cast<size_t>(window.ClassOf(sizes[j]))] += TargetCount(unit, m, m.Alleles[j]);
  return h;
}

} // namespace

bool CornuetLikelihood(const TGroupAbstract& pop, const TGroupAbstract& full,
                       const TBioCalculable& unit, const TMatchPGDS& match,
                       const TIntegerList& used, const TCornuetSettings& settings,
                       const TCornuetProgress& progress, Extended& value) {
  value = Undefined();
  if (used.Count() == 0) return true;
  std::vector<TLocusHistograms> loci;
  std::vector<double> thetas;
  std::vector<int> draws;
  loci.reserve(static_cast<size_t>(used.Count()));
  // The two likelihoods, each over every used locus: with the unit's genes, then without.
  Extended logWith = 0, logWithout = 0;
  for (int pass = 0; pass < 2; ++pass) {
    const Extended percent = progress.Start + pass * progress.Step;
    for (int k = 0; k < used.Count(); ++k) {
      const TMatchedLoci& m = match.Locus(used[k]);
      const std::string& locusName = match.Reference->LocusAt(m.RefLocus)->Name;
      if (ReportProgress(Format(kCornuetProgress(), full.Name.c_str(), locusName.c_str()),
                         progress.Detail, percent))
        return false;
      if (pass == 0) {
        loci.push_back(HistogramsOf(pop, full, unit, match, m));
        const TLocusHistograms& h = loci.back();
        const TWindowModel& model = ModelOfWidth(h.Width);
        const double theta = ThetaOf(h.Full, full.GeneDiversity(m.RefLocus), settings, model);
        // A population with fewer than two genes has no θ, and no value.
        if (std::isnan(theta)) return true;
        thetas.push_back(theta);
        draws.push_back(NonEmptyClasses(h.Full) <= 1 ? settings.Draws / 20 : settings.Draws);
      }
      const size_t i = static_cast<size_t>(k);
      const TLocusHistograms& h = loci[i];
      const THistogram& histogram = pass == 0 ? h.WithUnit : h.Population;
      const Extended p = ProbabilityOf(ProbabilityMemory(), histogram, thetas[i], draws[i],
                                       ModelOfWidth(h.Width), settings.Threads);
      (pass == 0 ? logWith : logWithout) += std::log(p);
    }
  }
  // A population whose own histogram was never drawn (P0 = 0) has no value.
  if (std::isinf(logWithout) || std::isnan(logWith) || std::isnan(logWithout)) return true;
  value = std::exp(logWith - logWithout);
  return true;
}

bool EvaluateCornuet(const TAssignmentRun& run, const TBioCalculable& unit,
                     const TIntegerList& used, TResultats& result, TUnitVerdict& verdict,
                     int progressStart, int progressShare) {
  verdict = TUnitVerdict{};
  result.WellClassified = false;
  const int populations = run.Reference.SamplesCount();
  result.SetCount(populations);
  const bool group = dynamic_cast<const TGroupAbstract*>(&unit) != nullptr;
  result.Caption = group ? unit.Name : unit.Label;
  const bool typed = used.Count() > 0;
  const Extended step = populations > 0 ? static_cast<Extended>(progressShare) / (2 * populations)
                                        : static_cast<Extended>(0);
  TCornuetSettings settings;
  settings.Threads = ThreadCount(run.Params.Threads);
  int home = -1;
  Extended sum = 0;
  for (int k = 0; k < populations; ++k) {
    TSample& sample = *run.Reference.SampleAt(k);
    if (!typed) {
      result.SetRow(k, Undefined(), Undefined());
      continue;
    }
    const TEvaluatedPopulation population = PopulationFor(run, sample, unit);
    const TCornuetProgress progress{progressStart + 2 * k * step, step, result.Caption};
    Extended likelihood = Undefined();
    if (!CornuetLikelihood(*population.Population, sample, unit, run.Match, used, settings,
                           progress, likelihood))
      return false;
    const Extended score = IsUndefined(likelihood) ? 0.0L : likelihood;
    result.SetRow(k, likelihood, score);
    sum += score;
    if (population.IsHome) home = k;
  }
  result.CopyToSorted();
  if (!typed) {
    for (int k = 0; k < result.SortedCount(); ++k)
      result.SetSortedScore(k, Undefined());
    return true;
  }
  // Shares of the sum in percent; the home's share is the unit's verdict, and the unit is well
  // classified when its home has the top share (ties count).
  const Extended f = sum > 0 ? 100.0L / sum : 100.0L;
  for (int k = 0; k < result.SortedCount(); ++k)
    result.SetSortedScore(k, result.SortedRow(k).Score * f);
  if (home >= 0) verdict.HomeScore = result.SortedRow(home).Score;
  result.SortRows();
  verdict.WellClassified = run.Params.SelfAssignment && populations > 0 &&
                           !IsUndefined(verdict.HomeScore) &&
                           result.SortedRow(0).Score == verdict.HomeScore;
  result.WellClassified = verdict.WellClassified;
  return true;
}
