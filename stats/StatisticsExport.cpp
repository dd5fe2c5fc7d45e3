#include "stats/StatisticsExport.h"

#include <fstream>

#include "dataset/DataSetTexts.h"
#include "dataset/TextWriter.h"
#include "base/Errors.h"
#include "stats/StatisticsGrid.h"

std::string StatisticsExportText(const TStatisticsGrid& grid) {
  std::string text;
  for (const std::vector<std::string>& row : grid.Cells) {
    for (size_t c = 0; c < row.size(); ++c) {
      text += row[c];
      text += c + 1 < row.size() ? ';' : '\n';
    }
  }
  return text;
}

void SaveStatistics(const TStatisticsGrid& grid, const std::string& fileName) {
  const std::string text = StatisticsExportText(grid);
  // Through a temporary file: a full disk or a failed write leaves the user's file as it was.
  SaveFileSafely(fileName, [&text](std::ostream& out) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  });
}
