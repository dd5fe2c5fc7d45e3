// Criterion 9: the probability of the individual's genes given a population, under the strict
// stepwise mutation model of microsatellites. At every locus the population's allele sizes form
// a histogram; its probability under the coalescent with mutation, P0, and that of the
// histogram with the individual's genes added, P1, are estimated by importance sampling, and
// P1 / P0 is the conditional probability of the individual's genes. The mutation parameter θ of
// each population and locus is the candidate around a moment estimate that makes the
// population's histogram the most probable.
#include "engine/criteria/Cornuet.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "base/Progress.h"
#include "base/Texts.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/EngineTexts.h"
#include "engine/common/Match.h"
#include "engine/criteria/CornuetEstimator.h"
#include "engine/criteria/Memorize.h"
#include "engine/criteria/Stepwise.h"
#include "model/GroupAbstract.h"

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

TLocusHistograms HistogramsOf(const TCompactMatch& m, const TCompactPopulation& full,
                              const TCompactUnit& unit, bool leaveOut, int l) {
  const TCompactLocus& c = m.Loci[static_cast<size_t>(l)];
  // Sizes by entry: the reference allele's number of repeats, else the target allele's.
  const std::vector<std::int32_t>& sizes = c.Repeats;
  std::int32_t smallest = sizes.empty() ? 1 : sizes.front(), largest = smallest;
  for (std::int32_t s : sizes) {
    smallest = std::min(smallest, s);
    largest = std::max(largest, s);
  }
  const TSizeWindow window = SizeWindow(smallest, largest);
  TLocusHistograms h;
  h.Width = window.Width();
  const size_t w = static_cast<size_t>(h.Width);
  h.Full.assign(w, 0);
  for (int e = 0; e < c.K; ++e)
    h.Full[static_cast<size_t>(window.ClassOf(sizes[static_cast<size_t>(e)]))] += full.Count(l, e);
  // Its home holds the unit already: the population is its home without it, and with the unit
  // the home itself.
  h.Population = h.Full;
  h.WithUnit = h.Full;
  for (std::int32_t i = unit.Begin[static_cast<size_t>(l)];
       i < unit.Begin[static_cast<size_t>(l) + 1]; ++i) {
    const auto e = static_cast<size_t>(unit.Entry[static_cast<size_t>(i)]);
    const std::int32_t x = unit.Copies[static_cast<size_t>(i)];
    const size_t k = static_cast<size_t>(window.ClassOf(sizes[e]));
    if (leaveOut)
      h.Population[k] -= x;
    else
      h.WithUnit[k] += x;
  }
  return h;
}

} // namespace

bool CornuetScore(const TCompactMatch& m, const TCompactPopulation& full,
                  const TGroupAbstract& sample, const TCompactUnit& unit, bool leaveOut,
                  const std::vector<std::int32_t>& used, const TCornuetSettings& settings,
                  const TCornuetProgress& progress, Extended& value) {
  value = Undefined();
  if (used.empty()) return true;
  std::vector<TLocusHistograms> loci;
  std::vector<double> thetas;
  std::vector<int> draws;
  loci.reserve(used.size());
  // The two likelihoods, each over every used locus: with the unit's genes, then without.
  Extended logWith = 0, logWithout = 0;
  for (int pass = 0; pass < 2; ++pass) {
    const Extended percent = progress.Start + pass * progress.Step;
    for (size_t k = 0; k < used.size(); ++k) {
      const TCompactLocus& c = m.Loci[static_cast<size_t>(used[k])];
      const std::string& locusName = m.Match.Reference->LocusAt(c.RefLocus)->Name;
      if (ReportProgress(Format(kCornuetProgress(), sample.Name.c_str(), locusName.c_str()),
                         progress.Detail, percent))
        return false;
      if (pass == 0) {
        loci.push_back(HistogramsOf(m, full, unit, leaveOut, used[k]));
        const TLocusHistograms& h = loci.back();
        const TWindowModel& model = ModelOfWidth(h.Width);
        const double theta = ThetaOf(h.Full, sample.GeneDiversity(c.RefLocus), settings, model);
        // A population with fewer than two genes has no θ, and no value.
        if (std::isnan(theta)) return true;
        thetas.push_back(theta);
        draws.push_back(NonEmptyClasses(h.Full) <= 1 ? settings.Draws / 20 : settings.Draws);
      }
      const TLocusHistograms& h = loci[k];
      const THistogram& histogram = pass == 0 ? h.WithUnit : h.Population;
      const Extended p = ProbabilityOf(ProbabilityMemory(), histogram, thetas[k], draws[k],
                                       ModelOfWidth(h.Width), settings.Threads);
      (pass == 0 ? logWith : logWithout) += std::log(p);
    }
  }
  // A population whose own histogram was never drawn (P0 = 0) has no value.
  if (std::isinf(logWithout) || std::isnan(logWith) || std::isnan(logWithout)) return true;
  value = std::exp(logWith - logWithout);
  return true;
}
