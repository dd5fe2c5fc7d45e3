#include "engine/ResultTables.h"

#include <algorithm>
#include <ctime>
#include <utility>
#include <vector>

namespace {
constexpr size_t kInitialRows = 10;
const char* const kIndent = "        ";
} // namespace

TResultats::TResultats() : Rows(kInitialRows) {}

void TResultats::SetCount(int n) {
  Count = n > 0 ? n : 0;
  if (Rows.size() < static_cast<size_t>(Count)) Rows.resize(static_cast<size_t>(Count));
}

void TResultats::CopyToSorted() {
  SortedRows.assign(Rows.begin(), Rows.begin() + Count);
}

namespace {
// A sorted row as the sort moves it: its score and where it came from.
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

// The scores are sorted with the row each came from, then the rows are put in that order: the
// same exchanges as on the rows themselves, without moving their names at every one.
void TResultats::SortRows() {
  const int n = std::min(Count, static_cast<std::int32_t>(SortedRows.size()));
  if (n <= 1) return;
  thread_local std::vector<TRank> ranks;
  ranks.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    ranks[static_cast<size_t>(i)] = {SortedRows[static_cast<size_t>(i)].Score, i};
  SortRange(ranks.data(), 0, n - 1);
  // Row j of the result is row ranks[j].Row of the input: each cycle of that permutation is
  // followed once, a placed row marked by pointing at itself.
  for (int i = 0; i < n; ++i) {
    if (ranks[static_cast<size_t>(i)].Row == i) continue;
    RResultat first = std::move(SortedRows[static_cast<size_t>(i)]);
    int j = i;
    for (;;) {
      const int from = ranks[static_cast<size_t>(j)].Row;
      ranks[static_cast<size_t>(j)].Row = j;
      if (from == i) {
        SortedRows[static_cast<size_t>(j)] = std::move(first);
        break;
      }
      SortedRows[static_cast<size_t>(j)] = std::move(SortedRows[static_cast<size_t>(from)]);
      j = from;
    }
  }
}

void TResultats::Clear() {
  Count = 0;
  Rows.clear();
  SortedRows.clear();
  UsedLoci.clear();
  MissingLoci.clear();
  Caption.clear();
}

void TTableResultats::SetCount(int n) {
  Clear();
  const size_t count = n > 0 ? static_cast<size_t>(n) : 0;
  Items.reserve(count);
  for (size_t i = 0; i < count; ++i)
    Items.push_back(std::make_unique<TResultats>());
}

void TTableResultats::Clear() {
  Items.clear();
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
