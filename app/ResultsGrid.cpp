#include "app/ResultsGrid.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <utility>

#include "app/AppTexts.h"
#include "dataset/DataSetTexts.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "engine/Criteria.h"
#include "engine/EngineTexts.h"
#include "engine/ResultTables.h"
#include "model/Errors.h"
#include "model/FixedFormat.h"

namespace {

// A grid of `columns` x `rows` empty cells.
TResultsGrid EmptyGrid(int columns, int rows) {
  TResultsGrid grid;
  grid.Cells.assign(static_cast<size_t>(rows),
                    std::vector<TGridCell>(static_cast<size_t>(columns)));
  return grid;
}

TGridCell& At(TResultsGrid& grid, int column, int row) {
  return grid.Cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

// The texts are taken by value: most are made for their cell and moved into it.
void SetText(TResultsGrid& grid, int column, int row, std::string text) {
  At(grid, column, row).Text = std::move(text);
}

// A cell with text properties: right-aligned, in `color`.
void SetValue(TResultsGrid& grid, int column, int row, std::string text, TCellColor color) {
  TGridCell& cell = At(grid, column, row);
  cell.Text = std::move(text);
  cell.Color = color;
  cell.Alignment = TCellAlignment::Right;
}

// The unit of the values of the population block, by criterion.
std::string UnitLabel(int criterion) {
  if (criterion >= 0 && criterion <= criterion::Paetkau) return kGridLikelihoodUnit();
  if (criterion == criterion::Cornuet) return kGridCornuetUnit();
  if (criterion::IsDistance(static_cast<std::uint8_t>(criterion))) return kGridDistanceUnit();
  return std::string();
}

// The fixed part both layouts share: population names and units, the loci headers.
// F is the first column of the population block.
void PopulationHeaders(TResultsGrid& grid, int first, const TGridSettings& settings,
                       const std::string& unit) {
  const int populations = static_cast<int>(settings.Populations.size());
  SetText(grid, 0, 1, kGridAssignedSample());
  for (int j = 0; j < populations; ++j) {
    SetText(grid, first + j, 0, settings.Populations[static_cast<size_t>(j)]);
    SetText(grid, first + j, 1, unit);
  }
  SetText(grid, first + populations, 0, kGridNbLoci());
  SetText(grid, first + populations + 1, 0, kGridUsedLoci());
  SetText(grid, first + populations + 2, 0, kGridMissingLoci());
}

std::string JoinedNames(const std::vector<std::string>& names) {
  size_t size = 0;
  for (const std::string& name : names)
    size += name.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& name : names) {
    text += name;
    text += "  ";
  }
  return text;
}

// The three loci columns of one result row.
void LociCells(TResultsGrid& grid, int column, int row, const TResultats& result) {
  SetValue(grid, column, row, std::to_string(result.UsedLoci.size()) + " ", TCellColor::Black);
  SetText(grid, column + 1, row, JoinedNames(result.UsedLoci));
  SetText(grid, column + 2, row, JoinedNames(result.MissingLoci));
}

int ColumnCount(int scores, const TGridSettings& settings) {
  return 1 + 3 * scores + static_cast<int>(settings.Populations.size()) + 3;
}

int RowCount(const TTableResultats& table) {
  return 2 + std::max(1, table.Count());
}

// A raw value of the population block without simulation.
std::string AssignmentValueText(int criterion, Extended value, const std::string& format) {
  if (IsUndefined(value)) return FormatValue("%f", value);
  if (criterion >= 0 && criterion <= criterion::Paetkau)
    return value > 0 ? FormatValue(format, -std::log10(value)) : FormatValue("%f", value);
  if (criterion == criterion::Cornuet) return FormatValue("%g", value);
  return FormatValue(format, value);
}

} // namespace

std::string MigrantStatisticLabel(int criterion, int option) {
  if (criterion >= 0 && criterion <= criterion::Paetkau) {
    switch (option) {
    case 0:
      return kMigrantLogHome();
    case 1:
      return kMigrantLogRatioMax();
    case 2:
      return kGridLogRatioMaxNotHome();
    }
    return std::string();
  }
  if (criterion == criterion::Cornuet) {
    if (option == 0) return kMigrantCornuetHome();
    if (option == 1) return kMigrantCornuetRatioMax();
    return std::string();
  }
  if (criterion::IsDistance(static_cast<std::uint8_t>(criterion))) {
    switch (option) {
    case 0:
      return kMigrantHome();
    case 1:
      return kMigrantRatioMax();
    case 2:
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

std::string FormatValue(const std::string& format, Extended value) {
  if (IsUndefined(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) value = 0; // -log10(1) is a negative zero: shown as 0, not -0
  if (const std::optional<int> precision = FixedPrecision(format)) {
    std::string text;
    if (AppendFixed(text, value, *precision)) return text;
  }
  // The conversion of the format's last directive takes an extended argument.
  std::string extended = format;
  const size_t percent = extended.rfind('%');
  if (percent != std::string::npos) {
    const size_t conversion = extended.find_first_of("fFeEgGaA", percent + 1);
    if (conversion != std::string::npos) {
      extended.insert(conversion, 1, 'L');
      return Format(extended, value);
    }
  }
  return Format(format, static_cast<double>(value));
}

TResultsGrid FillAssignmentGrid(const TTableResultats& table, int criterion, bool simulationOn,
                                const TGridSettings& settings) {
  const int scores = simulationOn ? 0 : std::max(0, settings.Scores);
  const int populations = static_cast<int>(settings.Populations.size());
  const int first = 1 + 3 * scores;
  TResultsGrid grid = EmptyGrid(ColumnCount(scores, settings), RowCount(table));
  PopulationHeaders(grid, first, settings,
                    simulationOn ? kGridProbabilityUnit() : UnitLabel(criterion));
  for (int k = 0; k < scores; ++k) {
    SetText(grid, 1 + 3 * k, 0, kGridRank());
    SetText(grid, 1 + 3 * k, 1, std::to_string(k + 1));
    SetText(grid, 2 + 3 * k, 0, kGridScore());
    SetText(grid, 2 + 3 * k, 1, kGridPercent());
  }

  auto below = [&settings](Extended x) { return IsUndefined(x) || x < settings.Threshold; };
  for (int i = 0; i < table.Count(); ++i) {
    const TResultats& result = table.Item(i);
    const int row = 2 + i;
    SetText(grid, 0, row, result.Caption);
    const int ranked = static_cast<int>(result.SortedRows.size());
    for (int k = 0; k < scores && k < ranked; ++k) {
      const RResultat& sorted = result.SortedRow(k);
      const TCellColor color = below(sorted.Score) ? TCellColor::Grey : TCellColor::Black;
      SetValue(grid, 1 + 3 * k, row, sorted.Name, color);
      SetValue(grid, 2 + 3 * k, row, FormatValue(settings.ThresholdFormat, sorted.Score), color);
    }
    for (int j = 0; j < populations && j < result.Count; ++j) {
      const Extended value = result.Row(j).Value;
      if (simulationOn) {
        const bool grey = !IsUndefined(value) && value < settings.Threshold;
        SetValue(grid, first + j, row, FormatValue(settings.ProbabilityFormat, value),
                 grey ? TCellColor::Grey : TCellColor::Black);
      } else {
        SetValue(grid, first + j, row,
                 AssignmentValueText(criterion, value, settings.ThresholdFormat),
                 TCellColor::Black);
      }
    }
    LociCells(grid, first + populations, row, result);
  }
  return grid;
}

TResultsGrid FillMigrantGrid(const TTableResultats& table, int criterion, int migrantCount,
                             bool simulationOn, int likelihoodOption,
                             const TGridSettings& settings) {
  (void)migrantCount; // shown in the summary line above the grid, not in it
  const int populations = static_cast<int>(settings.Populations.size());
  const int first = 4;
  TResultsGrid grid = EmptyGrid(ColumnCount(1, settings), RowCount(table));
  PopulationHeaders(grid, first, settings, UnitLabel(criterion));
  SetText(grid, 1, 1, kGridHome());
  SetText(grid, 2, 1, MigrantStatisticLabel(criterion, likelihoodOption));
  if (simulationOn) SetText(grid, 3, 1, kGridProbabilityUnit());

  for (int i = 0; i < table.Count(); ++i) {
    const TResultats& result = table.Item(i);
    const int row = 2 + i;
    SetText(grid, 0, row, result.Caption);
    if (!result.SortedRows.empty()) {
      const RResultat& home = result.SortedRow(0);
      const TCellColor color = IsUndefined(home.Score) ? TCellColor::Grey
                               : result.IsMigrant      ? TCellColor::Red
                                                       : TCellColor::Black;
      SetValue(grid, 1, row, home.Name, color);
      SetValue(grid, 2, row, FormatValue(settings.ThresholdFormat, home.Score), color);
      SetValue(grid, 3, row,
               simulationOn ? FormatValue(settings.ProbabilityFormat, home.Value) : std::string(),
               color);
    }
    for (int j = 0; j < populations && j < result.Count; ++j) {
      const bool likeliest = result.IsMigrant && result.LikeliestPopulation == j;
      SetValue(grid, first + j, row, FormatValue(settings.ThresholdFormat, result.Row(j).Score),
               likeliest ? TCellColor::Green : TCellColor::Grey);
    }
    LociCells(grid, first + populations, row, result);
  }
  return grid;
}

std::string ResultsExportText(const TTableResultats* table, const TResultsGrid& grid) {
  const std::string& likelihoodUnit = kGridLikelihoodUnit();
  // The size first: the text of a large table is written into one allocation.
  size_t size = 0;
  if (table)
    for (const std::string& line : table->Journal)
      size += line.size() + 1;
  for (const std::vector<TGridCell>& row : grid.Cells)
    for (const TGridCell& cell : row)
      size += cell.Text.size() + 2;
  std::string text;
  text.reserve(size);
  if (table)
    for (const std::string& line : table->Journal) {
      text += line;
      text += '\n';
    }
  for (const std::vector<TGridCell>& row : grid.Cells) {
    for (size_t c = 0; c < row.size(); ++c) {
      if (row[c].Text == likelihoodUnit) text += '\'';
      text += row[c].Text;
      text += c + 1 < row.size() ? ';' : '\n';
    }
  }
  return text;
}

void ExportResults(const TTableResultats* table, const TResultsGrid& grid,
                   const std::string& fileName) {
  const std::string text = ResultsExportText(table, grid);
  // Through a temporary file: a full disk or a failed write leaves the user's file as it was.
  SaveFileSafely(fileName, [&text](std::ostream& out) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  });
}
