#include "app/ResultsGrid.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/AppTexts.h"
#include "dataset/DataSetTexts.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "engine/common/EngineTexts.h"
#include "engine/criteria/Criteria.h"
#include "engine/results/ResultTables.h"
#include "model/FixedFormat.h"

namespace {

// The unit of the values of the population block, by criterion.
std::string UnitLabel(TCriterion criterion) {
  if (criterion == TCriterion::Cornuet) return kGridCornuetUnit();
  if (IsLikelihood(criterion)) return kGridLikelihoodUnit();
  if (IsDistance(criterion)) return kGridDistanceUnit();
  return std::string();
}

// A cell with text properties: right-aligned, in `color`.
TGridCell Value(TCellColor color) {
  return {std::string(), color, TCellAlignment::Right};
}

// The names of `loci`, each followed by two blanks.
void AppendLocusNames(std::string& text, const TResultats& result, const TLocusSet& loci) {
  const std::vector<std::string>& names = result.Names().Loci;
  loci.ForEach([&](int l) {
    if (static_cast<size_t>(l) < names.size()) text += names[static_cast<size_t>(l)];
    text += "  ";
  });
}

} // namespace

std::string MigrantStatisticLabel(TCriterion criterion, TMigrantStatistic statistic) {
  if (criterion == TCriterion::Cornuet) {
    switch (statistic) {
    case TMigrantStatistic::Home:
      return kMigrantCornuetHome();
    case TMigrantStatistic::HomeOverMax:
      return kMigrantCornuetRatioMax();
    case TMigrantStatistic::HomeOverMaxNotHome:
      return std::string();
    }
    return std::string();
  }
  if (IsLikelihood(criterion)) {
    switch (statistic) {
    case TMigrantStatistic::Home:
      return kMigrantLogHome();
    case TMigrantStatistic::HomeOverMax:
      return kMigrantLogRatioMax();
    case TMigrantStatistic::HomeOverMaxNotHome:
      return kGridLogRatioMaxNotHome();
    }
    return std::string();
  }
  if (IsDistance(criterion)) {
    switch (statistic) {
    case TMigrantStatistic::Home:
      return kMigrantHome();
    case TMigrantStatistic::HomeOverMax:
      return kMigrantRatioMax();
    case TMigrantStatistic::HomeOverMaxNotHome:
      return kMigrantRatioMaxNotHome();
    }
  }
  return std::string();
}

TRgb ColorRgb(TCellColor color) {
  switch (color) {
  case TCellColor::Grey:
    return {128, 128, 128};
  case TCellColor::Red:
    return {255, 0, 0};
  case TCellColor::Green:
    return {0, 255, 0};
  case TCellColor::Black:
    break;
  }
  return {0, 0, 0};
}

std::vector<std::string> PopulationNames(const TPGDSStructure& reference) {
  std::vector<std::string> names;
  for (int s = 0; s < reference.SamplesCount(); ++s)
    names.push_back(reference.SampleName(s));
  return names;
}

namespace {
// AppendValue, the precision of a fixed-point format already known.
void AppendFormatted(std::string& text, const std::string& format, std::optional<int> precision,
                     Extended value) {
  if (IsUndefined(value)) {
    text += "NaN";
    return;
  }
  if (std::isinf(value)) {
    text += value > 0 ? "INF" : "-INF";
    return;
  }
  if (value == 0) value = 0; // -log10(1) is a negative zero: shown as 0, not -0
  if (precision && AppendFixed(text, value, *precision)) return;
  // The conversion of the format's last directive takes an extended argument.
  std::string extended = format;
  const size_t percent = extended.rfind('%');
  if (percent != std::string::npos) {
    const size_t conversion = extended.find_first_of("fFeEgGaA", percent + 1);
    if (conversion != std::string::npos) {
      extended.insert(conversion, 1, 'L');
      text += Format(extended, value);
      return;
    }
  }
  text += Format(format, static_cast<double>(value));
}
} // namespace

void AppendValue(std::string& text, const std::string& format, Extended value) {
  AppendFormatted(text, format, FixedPrecision(format), value);
}

std::string FormatValue(const std::string& format, Extended value) {
  std::string text;
  AppendValue(text, format, value);
  return text;
}

TResultsGrid TResultsGrid::Frame(const TTableResultats& table, int first,
                                 const TGridSettings& settings, const std::string& unit) {
  TResultsGrid grid;
  grid.table_ = &table;
  grid.first_ = first;
  grid.populations_ = static_cast<int>(settings.Populations.size());
  grid.threshold_ = settings.Threshold;
  grid.thresholdFormat_ = settings.ThresholdFormat;
  grid.probabilityFormat_ = settings.ProbabilityFormat;
  grid.thresholdPrecision_ = FixedPrecision(settings.ThresholdFormat);
  grid.probabilityPrecision_ = FixedPrecision(settings.ProbabilityFormat);
  grid.columns_ = first + grid.populations_ + 3;
  grid.rows_ = 2 + std::max(1, table.Count());
  grid.headers_.assign(2 * static_cast<size_t>(grid.columns_), std::string());
  grid.Header(0, 1) = kGridAssignedSample();
  for (int j = 0; j < grid.populations_; ++j) {
    grid.Header(first + j, 0) = settings.Populations[static_cast<size_t>(j)];
    grid.Header(first + j, 1) = unit;
  }
  grid.Header(first + grid.populations_, 0) = kGridNbLoci();
  grid.Header(first + grid.populations_ + 1, 0) = kGridUsedLoci();
  grid.Header(first + grid.populations_ + 2, 0) = kGridMissingLoci();
  return grid;
}

TResultsGrid FillAssignmentGrid(const TTableResultats& table, TCriterion criterion,
                                bool simulationOn, const TGridSettings& settings) {
  const int scores = simulationOn ? 0 : std::max(0, settings.Scores);
  TResultsGrid grid =
      TResultsGrid::Frame(table, 1 + 3 * scores, settings,
                          simulationOn ? kGridProbabilityUnit() : UnitLabel(criterion));
  grid.layout_ = TResultsGrid::TLayout::Assignment;
  grid.criterion_ = criterion;
  grid.simulationOn_ = simulationOn;
  grid.scores_ = scores;
  for (int k = 0; k < scores; ++k) {
    grid.Header(1 + 3 * k, 0) = kGridRank();
    grid.Header(1 + 3 * k, 1) = std::to_string(k + 1);
    grid.Header(2 + 3 * k, 0) = kGridScore();
    grid.Header(2 + 3 * k, 1) = kGridPercent();
  }
  return grid;
}

TResultsGrid FillMigrantGrid(const TTableResultats& table, TCriterion criterion, int migrantCount,
                             bool simulationOn, TMigrantStatistic statistic,
                             const TGridSettings& settings) {
  (void)migrantCount; // shown in the summary line above the grid, not in it
  TResultsGrid grid = TResultsGrid::Frame(table, 4, settings, UnitLabel(criterion));
  grid.layout_ = TResultsGrid::TLayout::Migrant;
  grid.criterion_ = criterion;
  grid.simulationOn_ = simulationOn;
  grid.Header(1, 1) = kGridHome();
  grid.Header(2, 1) = MigrantStatisticLabel(criterion, statistic);
  if (simulationOn) grid.Header(3, 1) = kGridProbabilityUnit();
  return grid;
}

TGridCell TResultsGrid::Cell(int column, int row) const {
  TGridCell cell;
  std::string text;
  cell = AppendCell(text, column, row);
  cell.Text = std::move(text);
  return cell;
}

TGridCell TResultsGrid::AppendCell(std::string& text, int column, int row) const {
  if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
    throw std::out_of_range("results grid cell");
  if (row < 2) {
    text += headers_[static_cast<size_t>(row * columns_ + column)];
    return {};
  }
  const int unit = row - 2;
  if (unit >= table_->Count()) return {}; // the empty row of an empty table
  const TResultats& result = table_->Item(unit);
  if (column == 0) {
    text += result.Caption;
    return {};
  }
  if (column >= first_ + populations_)
    return LociCell(text, column - first_ - populations_, result);
  return layout_ == TLayout::Assignment ? AssignmentCell(text, column, result)
                                        : MigrantCell(text, column, result);
}

void TResultsGrid::AppendValue(std::string& text, bool probability, Extended value) const {
  if (probability)
    AppendFormatted(text, probabilityFormat_, probabilityPrecision_, value);
  else
    AppendFormatted(text, thresholdFormat_, thresholdPrecision_, value);
}

TGridCell TResultsGrid::AssignmentCell(std::string& text, int column,
                                       const TResultats& result) const {
  if (column < first_) {
    // Score triple k: the population, its score, an empty column.
    const int k = (column - 1) / 3;
    const int part = (column - 1) % 3;
    if (part == 2 || k >= result.SortedCount()) return {};
    const RResultat sorted = result.SortedRow(k);
    const bool below = IsUndefined(sorted.Score) || sorted.Score < threshold_;
    if (part == 0)
      text += sorted.Name;
    else
      AppendValue(text, false, sorted.Score);
    return Value(below ? TCellColor::Grey : TCellColor::Black);
  }
  const int j = column - first_;
  if (j >= result.Count) return {};
  const Extended value = result.Row(j).Value;
  if (simulationOn_) {
    AppendValue(text, true, value);
    const bool grey = !IsUndefined(value) && value < threshold_;
    return Value(grey ? TCellColor::Grey : TCellColor::Black);
  }
  // The raw value: -log10 of a likelihood, a Cornuet likelihood as it is, a distance.
  if (IsUndefined(value))
    text += "NaN";
  else if (criterion_ == TCriterion::Cornuet)
    ::AppendValue(text, "%g", value);
  else if (IsLikelihood(criterion_))
    value > 0 ? AppendValue(text, false, -std::log10(value)) : ::AppendValue(text, "%f", value);
  else
    AppendValue(text, false, value);
  return Value(TCellColor::Black);
}

TGridCell TResultsGrid::MigrantCell(std::string& text, int column, const TResultats& result) const {
  if (column < first_) {
    // The home triple: population, statistic, probability.
    if (result.SortedCount() == 0) return {};
    const RResultat home = result.SortedRow(0);
    const TCellColor color = IsUndefined(home.Score) ? TCellColor::Grey
                             : result.IsMigrant      ? TCellColor::Red
                                                     : TCellColor::Black;
    if (column == 1)
      text += home.Name;
    else if (column == 2)
      AppendValue(text, false, home.Score);
    else if (simulationOn_)
      AppendValue(text, true, home.Value);
    return Value(color);
  }
  const int j = column - first_;
  if (j >= result.Count) return {};
  AppendValue(text, false, result.Row(j).Score);
  const bool likeliest = result.IsMigrant && result.LikeliestPopulation == j;
  return Value(likeliest ? TCellColor::Green : TCellColor::Grey);
}

TGridCell TResultsGrid::LociCell(std::string& text, int column, const TResultats& result) const {
  switch (column) {
  case 0:
    text += std::to_string(result.UsedLoci.Count());
    text += ' ';
    return Value(TCellColor::Black);
  case 1:
    AppendLocusNames(text, result, result.UsedLoci);
    return {};
  default:
    AppendLocusNames(text, result, result.MissingLoci);
    return {};
  }
}
