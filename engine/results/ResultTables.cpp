#include "engine/results/ResultTables.h"

#include <algorithm>
#include <ctime>
#include <utility>
#include <vector>

namespace {
constexpr size_t kInitialRows = 10;
const char* const kIndent = "        ";

const TResultNames& NoNames() {
  static const TResultNames none;
  return none;
}
} // namespace

const std::string& TResultNames::Name(int index) const {
  static const std::string none;
  if (index < 0) return none;
  const size_t i = static_cast<size_t>(index);
  if (i < Populations.size()) return Populations[i];
  if (i - Populations.size() < Samples.size()) return Samples[i - Populations.size()];
  return none;
}

TResultats::TResultats(std::shared_ptr<const TResultNames> names) : names_(std::move(names)) {
  values_.resize(kInitialRows);
  scores_.resize(kInitialRows);
}

const TResultNames& TResultats::Names() const {
  return names_ ? *names_ : NoNames();
}

void TResultats::SetCount(int n) {
  Count = n > 0 ? n : 0;
  if (values_.size() < static_cast<size_t>(Count)) {
    values_.resize(static_cast<size_t>(Count));
    scores_.resize(static_cast<size_t>(Count));
  }
}

RResultat TResultats::Row(int k) const {
  const size_t i = static_cast<size_t>(k);
  return {Names().Name(k), values_[i], scores_[i]};
}

void TResultats::SetRow(int k, Extended value, Extended score) {
  values_.Set(static_cast<size_t>(k), value);
  scores_.Set(static_cast<size_t>(k), score);
}

RResultat TResultats::SortedRow(int k) const {
  const size_t i = static_cast<size_t>(k);
  const int name = sortedNames_[i];
  const Extended value = k == homePosition_ ? homeValue_ : values_[static_cast<size_t>(name)];
  return {Names().Name(name), value, sortedScores_[i]};
}

void TResultats::SetSortedScore(int k, Extended score) {
  sortedScores_.Set(static_cast<size_t>(k), score);
}

void TResultats::SetHomeRow(int name, Extended value, Extended score) {
  sortedNames_.at(0) = name;
  sortedScores_.Set(0, score);
  homePosition_ = 0;
  homeValue_ = value;
}

void TResultats::CopyToSorted() {
  const size_t n = static_cast<size_t>(Count);
  sortedScores_.AssignPrefix(scores_, n);
  sortedNames_.resize(n);
  for (size_t k = 0; k < n; ++k)
    sortedNames_[k] = static_cast<std::int32_t>(k);
  homePosition_ = -1;
}

namespace {
// A ranked row as the sort moves it: its score and where it came from.
struct TRank {
  Extended Score;
  std::int32_t Row;
};

// Exchange sort for ranges of at most five rows; otherwise a partition around the score of the
// middle row, recursing on the left part and looping on the right one. Comparisons with an
// undefined score are false: such a row stops both scans of a partition and is never exchanged.
void SortRange(TRank* ranks, int low, int high) {
  while (low < high) {
    if (high - low <= 4) {
      for (int i = low; i <= high; ++i)
        for (int j = high; j > i; --j)
          if (ranks[j].Score > ranks[i].Score) std::swap(ranks[i], ranks[j]);
      return;
    }
    const Extended pivot = ranks[(low + high) / 2].Score;
    int i = low, j = high;
    do {
      while (i < high && ranks[i].Score > pivot)
        ++i;
      while (j > low && ranks[j].Score < pivot)
        --j;
      if (i <= j) {
        std::swap(ranks[i], ranks[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j > low) SortRange(ranks, low, j);
    low = i;
  }
}

} // namespace

// The scores are sorted with the row each came from, then the ranked rows are put in that order.
void TResultats::SortRows() {
  const int n = std::min(Count, static_cast<std::int32_t>(sortedScores_.size()));
  if (n <= 1) return;
  thread_local std::vector<TRank> ranks;
  ranks.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    ranks[static_cast<size_t>(i)] = {sortedScores_[static_cast<size_t>(i)], i};
  SortRange(ranks.data(), 0, n - 1);
  // The scores come with the ranks; the names are gathered in their order.
  thread_local std::vector<std::int32_t> names;
  names.assign(sortedNames_.begin(), sortedNames_.begin() + n);
  int home = -1;
  for (int j = 0; j < n; ++j) {
    const TRank& rank = ranks[static_cast<size_t>(j)];
    sortedScores_.Set(static_cast<size_t>(j), rank.Score);
    sortedNames_[static_cast<size_t>(j)] = names[static_cast<size_t>(rank.Row)];
    if (rank.Row == homePosition_) home = j;
  }
  homePosition_ = home;
}

void TResultats::Clear() {
  Count = 0;
  values_.clear();
  scores_.clear();
  sortedScores_.clear();
  sortedNames_.clear();
  homePosition_ = -1;
  UsedLoci.Clear();
  MissingLoci.Clear();
  Caption.clear();
}

std::vector<std::string> TResultats::LocusNames(const TLocusSet& loci) const {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(loci.Count()));
  const std::vector<std::string>& all = Names().Loci;
  loci.ForEach([&](int l) {
    names.push_back(static_cast<size_t>(l) < all.size() ? all[static_cast<size_t>(l)]
                                                        : std::string());
  });
  return names;
}

TTableResultats::TTableResultats(int n, TResultNames names)
    : names_(std::make_shared<const TResultNames>(std::move(names))) {
  SetCount(n);
}

void TTableResultats::SetCount(int n) {
  Clear();
  const size_t count = n > 0 ? static_cast<size_t>(n) : 0;
  items_.reserve(count);
  for (size_t i = 0; i < count; ++i)
    items_.push_back(std::make_unique<TResultats>(names_));
}

void TTableResultats::ResetItem(int i) {
  items_.at(static_cast<size_t>(i)) = std::make_unique<TResultats>(names_);
}

void TTableResultats::SetNames(TResultNames names) {
  names_ = std::make_shared<const TResultNames>(std::move(names));
  for (const std::unique_ptr<TResultats>& item : items_)
    item->names_ = names_;
}

void TTableResultats::Clear() {
  items_.clear();
  Journal.clear();
}

void TTableResultats::AddBlock(const std::vector<std::string>& lines) {
  Journal.push_back(ShortDateTime() + " :");
  for (const std::string& line : lines)
    Journal.push_back(kIndent + line);
}

void TTableResultats::AddLine(const std::string& text) {
  Journal.push_back(ShortDateTime() + " - " + text);
}

std::string ShortDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  const size_t n = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  return std::string(text, n);
}
