#include "engine/criteria/CornuetEstimator.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "engine/common/GenMars.h"
#include "engine/common/ThreadPool.h"

namespace {

constexpr double kStephensDonnellyFrom = 0.01;
constexpr double kUnit24 = 1.0 / TGenMars::kUnits;
// Estimates with more draws than this are split into streams of their own, this many draws
// each, which threads can draw side by side; the split depends on the number of draws only, so
// the estimate is the same whatever the number of threads.
constexpr int kDrawsPerStream = 2500;
// The most classes one class can come from by one mutation in the Stephens–Donnelly estimator
// (two in the stepwise model, three in a three-class dense matrix).
constexpr int kMostSources = 3;
// Tables kept by EstimateHistogramProbability, per thread (the most recently used first).
constexpr size_t kKeptTables = 4;

// For every class α, the classes β a gene of class α can descend from by one mutation
// (P[β][α] > 0), with that probability.
struct TSources {
  std::vector<int> Start; // sources of α: Start[α] .. Start[α + 1] - 1
  std::vector<int> Class;
  std::vector<double> P;

  explicit TSources(const TMutationMatrix& m) : Start(static_cast<size_t>(m.Width) + 1, 0) {
    for (int a = 0; a < m.Width; ++a) {
      Start[static_cast<size_t>(a)] = static_cast<int>(Class.size());
      for (int b = 0; b < m.Width; ++b)
        if (m.At(b, a) > 0) {
          Class.push_back(b);
          P.push_back(m.At(b, a));
        }
    }
    Start[static_cast<size_t>(m.Width)] = static_cast<int>(Class.size());
  }
  int MaxPerClass() const {
    int most = 0;
    for (size_t a = 0; a + 1 < Start.size(); ++a)
      most = std::max(most, Start[a + 1] - Start[a]);
    return most;
  }
};

// The sample along a history: counts by class, the classes present (in no particular order) and
// the number of genes.
class TSampleState {
public:
  explicit TSampleState(const std::vector<std::int32_t>& h)
      : initial_(h), h_(h.size()), position_(h.size()) {
    present_.reserve(h.size());
  }

  void Reset() {
    present_.clear();
    n_ = 0;
    for (size_t i = 0; i < initial_.size(); ++i) {
      h_[i] = initial_[i];
      position_[i] = -1;
      if (h_[i] > 0) Add(static_cast<int>(i));
      n_ += h_[i];
    }
  }
  int Genes() const { return n_; }
  std::int32_t Count(int c) const { return h_[static_cast<size_t>(c)]; }
  const std::vector<int>& Present() const { return present_; }
  // The class of gene number r (0 .. n-1), the genes taken class after class.
  int ClassOfGene(int r) const {
    for (int c : present_) {
      r -= h_[static_cast<size_t>(c)];
      if (r < 0) return c;
    }
    return present_.back();
  }
  // Σ over the present classes γ of h[γ]·column[γ].
  double Weighted(const double* column) const {
    double s = 0;
    for (int c : present_)
      s += h_[static_cast<size_t>(c)] * column[c];
    return s;
  }
  // Two genes of class a become one.
  void Coalesce(int a) {
    --h_[static_cast<size_t>(a)];
    --n_;
  }
  // A gene of class a came from a gene of class b.
  void Mutate(int a, int b) {
    if (a == b) return;
    if (--h_[static_cast<size_t>(a)] == 0) Remove(a);
    if (h_[static_cast<size_t>(b)]++ == 0) Add(b);
  }

private:
  void Add(int c) {
    position_[static_cast<size_t>(c)] = static_cast<int>(present_.size());
    present_.push_back(c);
  }
  void Remove(int c) {
    const int at = position_[static_cast<size_t>(c)];
    const int last = present_.back();
    present_[static_cast<size_t>(at)] = last;
    position_[static_cast<size_t>(last)] = at;
    present_.pop_back();
    position_[static_cast<size_t>(c)] = -1;
  }

  const std::vector<std::int32_t>& initial_;
  std::vector<std::int32_t> h_;
  std::vector<int> position_;
  std::vector<int> present_;
  int n_ = 0;
};

// ln(Π h_i! / n!): from the probability of the counts to that of one ordered sample.
Extended OrderedFactorLog(const std::vector<std::int32_t>& h) {
  Extended s = 0;
  std::int64_t n = 0;
  for (std::int32_t c : h) {
    s += std::lgamma(static_cast<Extended>(c) + 1);
    n += c;
  }
  return s - std::lgamma(static_cast<Extended>(n) + 1);
}

// Accumulates the weights of the draws.
class TWeights {
public:
  void Add(double w) {
    sum_ += w;
    squares_ += static_cast<Extended>(w) * w;
  }
  void Add(const TWeights& other) {
    sum_ += other.sum_;
    squares_ += other.squares_;
  }
  THistogramEstimate Estimate(int draws, const std::vector<std::int32_t>& h) const {
    THistogramEstimate e;
    if (draws <= 0) return e;
    const Extended mean = sum_ / draws;
    Extended variance = draws > 1 ? (squares_ - sum_ * mean) / (draws - 1) : 0;
    if (variance < 0) variance = 0;
    const Extended factor = std::exp(OrderedFactorLog(h));
    e.Probability = mean * factor;
    e.StandardError = std::sqrt(variance / draws) * factor;
    return e;
  }

private:
  Extended sum_ = 0;
  Extended squares_ = 0;
};

int GenesOf(const std::vector<std::int32_t>& h) {
  std::int64_t n = 0;
  for (std::int32_t c : h)
    n += c;
  return static_cast<int>(n);
}

// The samples that need no history: none or one gene.
bool Trivial(const std::vector<std::int32_t>& h, const std::vector<double>& stationary,
             THistogramEstimate& e) {
  const int n = GenesOf(h);
  if (n > 1) return false;
  e.StandardError = 0;
  e.Probability = 1;
  if (n == 1)
    for (size_t i = 0; i < h.size(); ++i)
      if (h[i] > 0) e.Probability = stationary[i];
  return true;
}

void CheckSizes(const std::vector<std::int32_t>& h, const TMutationMatrix& matrix,
                const std::vector<double>& stationary) {
  const size_t w = static_cast<size_t>(matrix.Width);
  if (h.size() != w || stationary.size() != w || matrix.P.size() != w * w)
    throw std::invalid_argument("histogram, mutation matrix and stationary distribution differ "
                                "in their number of classes");
  for (std::int32_t c : h)
    if (c < 0) throw std::invalid_argument("negative count in a histogram");
}

} // namespace

// ---- the Stephens–Donnelly table

TConditionalTable::TConditionalTable(const TMutationMatrix& matrix, double theta, int levels)
    : w_(matrix.Width), levels_(std::max(levels, 1)), band_(0), theta_(theta), p_(matrix.P),
      columns_(static_cast<size_t>(matrix.Width)) {
  for (int i = 0; i < w_; ++i)
    for (int j = 0; j < w_; ++j)
      if (matrix.At(i, j) != 0) band_ = std::max(band_, std::abs(i - j));
  const int b = band_, stride = 2 * b + 1;
  const size_t perLevel = static_cast<size_t>(w_) * static_cast<size_t>(stride);
  lu_.assign(perLevel * static_cast<size_t>(levels_), 0.0);
  for (int level = 1; level <= levels_; ++level) {
    const double rho = theta_ / (level + theta_);
    double* a = lu_.data() + perLevel * static_cast<size_t>(level - 1);
    auto at = [a, b, stride](int i, int j) -> double& {
      return a[static_cast<size_t>(i) * static_cast<size_t>(stride) +
               static_cast<size_t>(j - i + b)];
    };
    for (int i = 0; i < w_; ++i)
      for (int j = std::max(0, i - b); j <= std::min(w_ - 1, i + b); ++j)
        at(i, j) = (i == j ? 1.0 : 0.0) - rho * matrix.At(i, j);
    // I − ρP is strictly diagonally dominant (ρ < 1): elimination needs no pivoting and keeps the
    // band.
    for (int k = 0; k < w_; ++k)
      for (int i = k + 1; i <= std::min(w_ - 1, k + b); ++i) {
        const double l = at(i, k) / at(k, k);
        at(i, k) = l;
        if (l == 0) continue;
        for (int j = k + 1; j <= std::min(w_ - 1, k + b); ++j)
          at(i, j) -= l * at(k, j);
      }
  }
}

void TConditionalTable::SolveAll() {
  for (int j = 0; j < w_; ++j)
    if (columns_[static_cast<size_t>(j)].empty()) Solve(j);
}

bool TConditionalTable::SameModel(const TMutationMatrix& matrix, double theta) const {
  return theta == theta_ && matrix.Width == w_ && matrix.P == p_;
}

void TConditionalTable::Solve(int j) {
  const int b = band_, stride = 2 * b + 1;
  const size_t w = static_cast<size_t>(w_);
  const size_t perLevel = w * static_cast<size_t>(stride);
  std::vector<double>& column = columns_[static_cast<size_t>(j)];
  column.assign(w * static_cast<size_t>(levels_), 0.0);
  for (int level = 1; level <= levels_; ++level) {
    const double rho = theta_ / (level + theta_);
    const double* a = lu_.data() + perLevel * static_cast<size_t>(level - 1);
    auto at = [a, b, stride](int r, int c) {
      return a[static_cast<size_t>(r) * static_cast<size_t>(stride) +
               static_cast<size_t>(c - r + b)];
    };
    double* x = column.data() + w * static_cast<size_t>(level - 1);
    // (I − ρP) x = e_j, then M(level) e_j = (1 − ρ) x.
    x[j] = 1.0;
    for (int i = j + 1; i < w_; ++i) {
      double s = 0;
      for (int k = std::max(j, i - b); k < i; ++k)
        s += at(i, k) * x[k];
      x[i] = -s;
    }
    for (int i = w_ - 1; i >= 0; --i) {
      double s = x[i];
      for (int k = i + 1; k <= std::min(w_ - 1, i + b); ++k)
        s -= at(i, k) * x[k];
      x[i] = s / at(i, i);
    }
    for (size_t i = 0; i < w; ++i)
      x[i] *= 1.0 - rho;
  }
}

// ---- the estimators

namespace {

// `draws` Stephens–Donnelly histories of h from `random`, their weights added to `weights`.
// Every column of `table` must be solved. The sample is kept as counts by class and the list of
// the classes present; a step costs a few passes over the present classes.
void StephensDonnellyDraws(const std::vector<std::int32_t>& h, double theta, int draws,
                           const TSources& sources, const std::vector<double>& stationary,
                           const TConditionalTable& table, TGenMars& generator, TWeights& weights) {
  // A local copy of the generator, put back at the end: its state stays in registers.
  TGenMars random = generator;
  const int w = table.Width();
  const int genes = GenesOf(h);
  // Per number of genes n: 1 / (n − 1 + θ) and 1 / (n − 1).
  std::vector<double> inverseDenominator(static_cast<size_t>(genes) + 1, 0.0);
  std::vector<double> inverseLevel(static_cast<size_t>(genes) + 1, 0.0);
  std::vector<double> inverse(static_cast<size_t>(genes) + 1, 0.0); // 1 / h
  for (int n = 1; n <= genes; ++n) {
    inverseDenominator[static_cast<size_t>(n)] = 1.0 / (n - 1 + theta);
    inverseLevel[static_cast<size_t>(n)] = n > 1 ? 1.0 / (n - 1) : 0.0;
    inverse[static_cast<size_t>(n)] = 1.0 / n;
  }
  std::vector<std::int32_t> counts(static_cast<size_t>(w));
  std::vector<int> present(static_cast<size_t>(w)), position(static_cast<size_t>(w));
  const int most = sources.MaxPerClass() + 1;
  if (most - 1 > kMostSources)
    throw std::invalid_argument("a class with too many mutation sources");
  std::array<const double*, kMostSources> columns{};
  std::vector<double> realCounts(static_cast<size_t>(w)); // the same counts as reals
  std::int32_t* const hc = counts.data();
  double* const hd = realCounts.data();
  int* const pc = present.data();
  int* const pos = position.data();
  for (int d = 0; d < draws; ++d) {
    int k = 0;
    for (int c = 0; c < w; ++c) {
      hc[c] = h[static_cast<size_t>(c)];
      hd[c] = hc[c];
      pos[c] = -1;
      if (hc[c] > 0) {
        pos[c] = k;
        pc[k++] = c;
      }
    }
    int n = genes;
    double weight = 1.0;
    // Σ over the present classes γ of h[γ]·column[γ].
    auto weighted = [&](const double* column) {
      double sum = 0;
      for (int i = 0; i < k; ++i)
        sum += hd[pc[i]] * column[pc[i]];
      return sum;
    };
    while (n > 1) {
      const int level = n - 1;
      const double inverseN = inverseDenominator[static_cast<size_t>(n)];
      const double inverseL = inverseLevel[static_cast<size_t>(n)];
      // A gene chosen uniformly: its class α.
      int r = TGenMars::IndexOf(random.NextUnits(), n);
      int a = pc[k - 1];
      for (int i = 0; i < k; ++i) {
        r -= hc[pc[i]];
        if (r < 0) {
          a = pc[i];
          break;
        }
      }
      const int ha = hc[a];
      // The events of the chosen gene, each proposed in proportion to q: a coalescence with
      // another gene of class α, q = (h_α − 1)/(n − 1 + θ); or a mutation from a gene of class β,
      // q = θ/(n − 1 + θ)·P[β][α]·π̂(β | H − α), with π̂(j | H − α) = (Σ_γ h_γ M[γ][j] − M[α][j]) /
      // (n − 1). (The proposal of Stephens and Donnelly divides every q by π̂(α | H − α), which
      // the normalisation cancels.)
      double proposal[kMostSources + 1], pis[kMostSources + 1];
      int from[kMostSources + 1];
      int events = 0;
      double total = 0;
      if (ha > 1) {
        proposal[0] = (ha - 1) * inverseN;
        from[0] = -1;
        total = proposal[0];
        events = 1;
      }
      // Σ_γ h_γ M[γ][β] for every source β of α, in one pass over the present classes.
      const int first = sources.Start[static_cast<size_t>(a)];
      const int count = sources.Start[static_cast<size_t>(a) + 1] - first;
      for (int e = 0; e < count; ++e)
        columns[static_cast<size_t>(e)] =
            table.Column(level, sources.Class[static_cast<size_t>(first + e)]);
      double sums[kMostSources] = {0, 0, 0};
      if (count == 2) {
        const double *c0 = columns[0], *c1 = columns[1];
        for (int i = 0; i < k; ++i) {
          const int g = pc[i];
          sums[0] += hd[g] * c0[g];
          sums[1] += hd[g] * c1[g];
        }
      } else {
        for (int e = 0; e < count; ++e)
          sums[e] = weighted(columns[static_cast<size_t>(e)]);
      }
      const double mutation = theta * inverseN;
      for (int e = 0; e < count; ++e) {
        const double piB = (sums[e] - columns[static_cast<size_t>(e)][a]) * inverseL;
        const double v = mutation * sources.P[static_cast<size_t>(first + e)] * piB;
        proposal[events] = v;
        pis[events] = piB;
        from[events] = sources.Class[static_cast<size_t>(first + e)];
        total += v;
        ++events;
      }
      if (events == 0 || !(total > 0)) {
        weight = 0;
        break;
      }
      // The event: q / total among those of the gene.
      double u = random.NextUnits() * kUnit24 * total;
      int chosen = 0;
      while (chosen < events - 1 && u >= proposal[chosen])
        u -= proposal[chosen++];
      const int b = from[chosen];
      // The event's coefficient in the recursion over its proposal probability (h_α / n)·q /
      // total: the coefficient of a coalescence is q itself, that of a mutation
      // q·(h_β + 1 − δ_αβ) / (n·π̂(β | H − α)).
      if (b < 0) {
        weight *= n * total * inverse[static_cast<size_t>(ha)];
        --hc[a];
        hd[a] -= 1;
        --n;
      } else {
        const double hb = hc[b] + (b == a ? 0 : 1);
        weight *= total * hb * inverse[static_cast<size_t>(ha)] / pis[chosen];
        if (b != a) {
          hd[a] -= 1;
          hd[b] += 1;
          if (--hc[a] == 0) {
            // Class α leaves the present list.
            const int at = pos[a], last = pc[--k];
            pc[at] = last;
            pos[last] = at;
            pos[a] = -1;
          }
          if (hc[b]++ == 0) {
            pos[b] = k;
            pc[k++] = b;
          }
        }
      }
    }
    if (weight > 0) weight *= stationary[static_cast<size_t>(pc[0])];
    weights.Add(weight);
  }
  generator = random;
}

void CheckTable(const std::vector<std::int32_t>& h, const TMutationMatrix& matrix,
                const TConditionalTable& table) {
  if (table.Levels() < GenesOf(h) - 1 || table.Width() != matrix.Width)
    throw std::invalid_argument("the Stephens-Donnelly table does not cover the sample");
}

} // namespace

THistogramEstimate StephensDonnellyEstimate(const std::vector<std::int32_t>& h, double theta,
                                            int draws, const TMutationMatrix& matrix,
                                            const std::vector<double>& stationary,
                                            TConditionalTable& table, TGenMars& random) {
  CheckSizes(h, matrix, stationary);
  THistogramEstimate e;
  if (Trivial(h, stationary, e)) return e;
  CheckTable(h, matrix, table);
  table.SolveAll();
  TWeights weights;
  StephensDonnellyDraws(h, theta, draws, TSources(matrix), stationary, table, random, weights);
  return weights.Estimate(draws, h);
}

THistogramEstimate StephensDonnellyEstimate(const std::vector<std::int32_t>& h, double theta,
                                            int draws, const TMutationMatrix& matrix,
                                            const std::vector<double>& stationary,
                                            TConditionalTable& table, TGenMars& random,
                                            int threads) {
  CheckSizes(h, matrix, stationary);
  THistogramEstimate e;
  if (Trivial(h, stationary, e)) return e;
  const int streams = (draws + kDrawsPerStream - 1) / kDrawsPerStream;
  if (streams <= 1)
    return StephensDonnellyEstimate(h, theta, draws, matrix, stationary, table, random);
  CheckTable(h, matrix, table);
  table.SolveAll();
  const TSources sources(matrix);
  // Each stream's seeds from `random`, in stream order; its share of the draws.
  std::vector<TGenMarsSeeds> seeds(static_cast<size_t>(streams));
  for (TGenMarsSeeds& seed : seeds)
    seed = DrawStreamSeeds(random);
  std::vector<TWeights> parts(static_cast<size_t>(streams));
  const auto work = [&](int i) {
    const int share = draws / streams + (i < draws % streams ? 1 : 0);
    TGenMars stream(seeds[static_cast<size_t>(i)]);
    StephensDonnellyDraws(h, theta, share, sources, stationary, table, stream,
                          parts[static_cast<size_t>(i)]);
  };
  const auto nothing = [](int) { return false; };
  ParallelUnits(streams, std::max(threads, 1), work, nothing, nothing, [] { return false; });
  TWeights weights;
  for (const TWeights& part : parts)
    weights.Add(part);
  return weights.Estimate(draws, h);
}

THistogramEstimate GriffithsTavareEstimate(const std::vector<std::int32_t>& h, double theta,
                                           int draws, const TMutationMatrix& matrix,
                                           const std::vector<double>& stationary,
                                           std::mt19937& random) {
  CheckSizes(h, matrix, stationary);
  THistogramEstimate e;
  if (Trivial(h, stationary, e)) return e;
  const TSources sources(matrix);
  const size_t most =
      static_cast<size_t>(matrix.Width) * (static_cast<size_t>(sources.MaxPerClass()) + 1);
  std::vector<double> coefficient(most);
  std::vector<int> eventClass(most), eventFrom(most);
  constexpr double kUnit = 1.0 / 4294967296.0;
  TSampleState s(h);
  TWeights weights;
  for (int d = 0; d < draws; ++d) {
    s.Reset();
    double weight = 1.0;
    while (s.Genes() > 1) {
      const int n = s.Genes();
      const double denominator = n - 1 + theta;
      // Every event of the recursion with its coefficient: two genes of class a coalesce
      // ((h_a − 1)/(n − 1 + θ)), or a gene of class a came from class b
      // (θ/(n − 1 + θ)·P[b][a]·(h_b + 1 − δ_ab)/n).
      size_t events = 0;
      double total = 0;
      for (int a : s.Present()) {
        const int ha = s.Count(a);
        if (ha > 1) {
          coefficient[events] = (ha - 1) / denominator;
          eventClass[events] = a;
          eventFrom[events] = -1;
          total += coefficient[events++];
        }
        for (int k = sources.Start[static_cast<size_t>(a)];
             k < sources.Start[static_cast<size_t>(a) + 1]; ++k) {
          const int b = sources.Class[static_cast<size_t>(k)];
          const double hb = s.Count(b) + (b == a ? 0 : 1);
          coefficient[events] = theta / denominator * sources.P[static_cast<size_t>(k)] * hb / n;
          eventClass[events] = a;
          eventFrom[events] = b;
          total += coefficient[events++];
        }
      }
      if (!(total > 0)) {
        weight = 0;
        break;
      }
      double u = (static_cast<double>(random()) + 0.5) * kUnit * total;
      size_t chosen = 0;
      while (chosen + 1 < events && u >= coefficient[chosen])
        u -= coefficient[chosen++];
      weight *= total;
      if (eventFrom[chosen] < 0)
        s.Coalesce(eventClass[chosen]);
      else
        s.Mutate(eventClass[chosen], eventFrom[chosen]);
    }
    if (weight > 0) weight *= stationary[static_cast<size_t>(s.Present().front())];
    weights.Add(weight);
  }
  return weights.Estimate(draws, h);
}

std::mt19937& CornuetRuntimeGenerator() {
  static std::mt19937 generator(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  return generator;
}

THistogramEstimate EstimateHistogramProbability(const std::vector<std::int32_t>& h, double theta,
                                                int draws, const TMutationMatrix& matrix,
                                                const std::vector<double>& stationary,
                                                int threads) {
  CheckSizes(h, matrix, stationary);
  THistogramEstimate e;
  if (Trivial(h, stationary, e)) return e;
  if (!(theta > kStephensDonnellyFrom))
    return GriffithsTavareEstimate(h, theta, draws, matrix, stationary, CornuetRuntimeGenerator());
  // The table of this matrix and θ, kept for the next estimates (a population and locus are
  // estimated for many histograms with the same θ).
  thread_local std::vector<std::unique_ptr<TConditionalTable>> tables;
  const int levels = GenesOf(h) - 1;
  auto found = std::find_if(tables.begin(), tables.end(), [&](const auto& t) {
    return t->SameModel(matrix, theta) && t->Levels() >= levels;
  });
  if (found == tables.end()) {
    // Room for a few genes more: the histogram with an individual added comes next.
    tables.insert(tables.begin(), std::make_unique<TConditionalTable>(matrix, theta, levels + 4));
    if (tables.size() > kKeptTables) tables.pop_back();
    found = tables.begin();
  } else if (found != tables.begin()) {
    std::rotate(tables.begin(), found, found + 1);
    found = tables.begin();
  }
  return StephensDonnellyEstimate(h, theta, draws, matrix, stationary, **found, CornuetGenerator(),
                                  threads);
}
