// The self-assignment matrix: reference individuals counted by the population they were sampled
// in (rows) and the population they are assigned to (columns), with row percentages, the
// diagonal framed, and the share correctly assigned per population and overall.
//
// An individual counts when its home population has a defined score; it is assigned to its home
// when it is well classified (its home ranked first, ties included, as "Bien classés" counts),
// else to its top-ranked population. The diagonal thus adds up to the correctly assigned count.
#pragma once

#include <vector>

#include "plots/PlotFrame.h"

class TTableResultats;

struct TAssignmentCounts {
  // Counts[sampled][assigned], sampled among TPlotUnits::Sampled, assigned among Populations.
  std::vector<std::vector<int>> Counts;
  std::vector<int> RowTotals;
  int Correct = 0; // the diagonal
  int Total = 0;
};

TAssignmentCounts AssignmentCounts(const TTableResultats& table, const TPlotUnits& units);

TPlot AssignmentMatrix(const TTableResultats& table, const TPlotUnits& units,
                       Extended width = kPlotDefaultWidth);
