// The semicolon-separated export of a statistics grid, as the statistics window saves it.
#pragma once

#include <string>

struct TStatisticsGrid;

// Every row, the header included: each cell followed by ";", except the last cell of the row,
// followed by a line feed. Cells are written as they are (ISO-8859-1 bytes, no quoting).
std::string StatisticsExportText(const TStatisticsGrid& grid);

// Creates or truncates `fileName` and writes the export into it; raises EFileWritingError when
// the file cannot be written.
void SaveStatistics(const TStatisticsGrid& grid, const std::string& fileName);
