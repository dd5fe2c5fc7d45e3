#include "engine/CornuetEstimator.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "engine/GenMars.h"

namespace {

constexpr double kStephensDonnellyFrom = 0.01;
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

THistogramEstimate StephensDonnellyEstimate(const std::vector<std::int32_t>& h, double theta,
                                            int draws, const TMutationMatrix& matrix,
                                            const std::vector<double>& stationary,
                                            TConditionalTable& table, TGenMars& random) {
  CheckSizes(h, matrix, stationary);
  THistogramEstimate e;
  if (Trivial(h, stationary, e)) return e;
  if (table.Levels() < GenesOf(h) - 1 || table.Width() != matrix.Width)
    throw std::invalid_argument("the Stephens-Donnelly table does not cover the sample");
  const TSources sources(matrix);
  // Per candidate event of the chosen gene: the unnormalised proposal v and the class it came
  // from (-1 for a coalescence).
  std::vector<double> proposal(static_cast<size_t>(sources.MaxPerClass()) + 1);
  std::vector<double> pis(proposal.size());
  std::vector<int> from(proposal.size());
  TSampleState s(h);
  TWeights weights;
  for (int d = 0; d < draws; ++d) {
    s.Reset();
    double weight = 1.0;
    while (s.Genes() > 1) {
      const int n = s.Genes(), level = n - 1;
      const double inverseDenominator = 1.0 / (n - 1 + theta);
      const double inverseLevel = 1.0 / level;
      // A gene chosen uniformly: its class α.
      const int a = s.ClassOfGene(random.RandomFrom0(n));
      const int ha = s.Count(a);
      // π̂(j | H − α) = (Σ_γ h_γ M[γ][j] − M[α][j]) / (n − 1).
      const double* columnA = table.Column(level, a);
      const double piA = (s.Weighted(columnA) - columnA[a]) * inverseLevel;
      const double inversePiA = 1.0 / piA;
      int events = 0;
      double total = 0;
      if (ha > 1) {
        proposal[0] = (ha - 1) * inverseDenominator * inversePiA;
        from[0] = -1;
        total = proposal[0];
        events = 1;
      }
      const double mutation = theta * inverseDenominator * inversePiA;
      for (int k = sources.Start[static_cast<size_t>(a)];
           k < sources.Start[static_cast<size_t>(a) + 1]; ++k) {
        const int b = sources.Class[static_cast<size_t>(k)];
        double piB = piA;
        if (b != a) {
          const double* columnB = table.Column(level, b);
          piB = (s.Weighted(columnB) - columnB[a]) * inverseLevel;
        }
        const double v = mutation * sources.P[static_cast<size_t>(k)] * piB;
        proposal[static_cast<size_t>(events)] = v;
        pis[static_cast<size_t>(events)] = piB;
        from[static_cast<size_t>(events)] = b;
        total += v;
        ++events;
      }
      if (events == 0 || !(total > 0)) {
        weight = 0;
        break;
      }
      // The event: v / total among those of the gene.
      double u = static_cast<double>(random.Next()) * total;
      int chosen = 0;
      while (chosen < events - 1 && u >= proposal[static_cast<size_t>(chosen)])
        u -= proposal[static_cast<size_t>(chosen++)];
      const int b = from[static_cast<size_t>(chosen)];
      // Coefficient over proposal probability, the proposal being (h_α / n)·v / total.
      if (b < 0) {
        weight *= n / static_cast<double>(ha) * piA * total;
        s.Coalesce(a);
      } else {
        const double hb = s.Count(b) + (b == a ? 0 : 1);
        weight *= total * hb / ha * piA / pis[static_cast<size_t>(chosen)];
        s.Mutate(a, b);
      }
    }
    if (weight > 0) weight *= stationary[static_cast<size_t>(s.Present().front())];
    weights.Add(weight);
  }
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
                                                const std::vector<double>& stationary) {
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
  return StephensDonnellyEstimate(h, theta, draws, matrix, stationary, **found, CornuetGenerator());
}
