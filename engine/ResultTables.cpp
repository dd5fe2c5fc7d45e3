#include "engine/ResultTables.h"

#include <algorithm>
#include <ctime>
#include <utility>

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

void TResultats::SortRows() {
  const int n = std::min(Count, static_cast<std::int32_t>(SortedRows.size()));
  if (n > 1) SortRange(0, n - 1);
}

// Exchange sort for ranges of at most five rows; otherwise a partition around the score of the
// middle row, recursing on the left part and looping on the right one. Comparisons with an
// undefined score are false: such a row stops both scans of a partition and is never exchanged.
void TResultats::SortRange(int low, int high) {
  auto score = [this](int i) { return SortedRows[static_cast<size_t>(i)].Score; };
  auto swapRows = [this](int a, int b) {
    std::swap(SortedRows[static_cast<size_t>(a)], SortedRows[static_cast<size_t>(b)]);
  };
  while (low < high) {
    if (high - low <= 4) {
      for (int i = low; i <= high; ++i)
        for (int j = high; j > i; --j)
          if (score(j) > score(i)) swapRows(i, j);
      return;
    }
    const Extended pivot = score((low + high) / 2);
    int i = low, j = high;
    do {
      while (i < high && score(i) > pivot)
        ++i;
      while (j > low && score(j) < pivot)
        --j;
      if (i <= j) {
        swapRows(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j > low) SortRange(low, j);
    low = i;
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
