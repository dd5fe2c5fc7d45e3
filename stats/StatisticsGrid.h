// The statistics grid of a data set: for every locus and every sample, the number of genes,
// the number of alleles, the frequency of each allele of the locus, the proportion of
// heterozygotes and Nei's unbiased gene diversity, with the mean over samples of each line;
// then, for every sample, the mean and standard deviation over loci of the number of alleles,
// of the heterozygote proportion and of the gene diversity.
//
// The grid is plain text (ISO-8859-1 bytes), the same for the statistics window, its export
// and the command line.
#pragma once

#include <string>
#include <vector>

#include "base/Real.h"

class TPGDSStructure;

struct TStatisticsGrid {
  // The caption of the window: the data set's file name.
  std::string Caption;
  // Cells[row][column]; every row has the same number of columns.
  std::vector<std::vector<std::string>> Cells;
  // The header row and the two label columns stay in place when the grid scrolls.
  int FixedRows = 1;
  int FixedColumns = 2;

  int RowCount() const { return static_cast<int>(Cells.size()); }
  int ColumnCount() const { return Cells.empty() ? 0 : static_cast<int>(Cells.front().size()); }
  const std::string& Cell(int row, int column) const {
    return Cells.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
  }
  bool IsFixed(int row, int column) const { return row < FixedRows || column < FixedColumns; }
};

// Computes the tallies of every sample of `ds` (Compute(true)) and lays out their statistics
// with the labels of language `languageId` (2057 English, any other id French).
//
// Layout, for P samples: columns 0 and 1 hold labels, columns 2 .. P+1 the samples in file
// order, column P+2 the means over samples. Row 0 is the header; each locus takes 6 rows plus
// one per allele of the locus (name, genes, alleles, frequencies, Ho, He, an empty row); the
// last 7 rows are the summary over loci. Values are written with 3 decimals, counts as
// integers, a null or undefined frequency with no decimal, and an undefined value as "NaN".
TStatisticsGrid BuildStatisticsGrid(TPGDSStructure& ds, int languageId);

// A statistic with `decimals` decimals and "." as separator whatever the locale; "NaN" when
// undefined.
std::string FormatStatistic(Extended x, int decimals);
