#include "stats/StatisticsExport.h"

#include <fstream>

#include "dataset/DataSetTexts.h"
#include "model/Errors.h"
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
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (out) out.close();
  if (!out) throw EFileWritingError(Format(kFileNotWritten(), fileName.c_str()));
}
