// Any plot as an SVG 1.1 document: ISO-8859-1 bytes, declared so, one <g> per group of the plot
// (its id, and its name as the group's <title>), coordinates with at most two decimals.
#pragma once

#include <string>

struct TPlot;

std::string SvgText(const TPlot& plot);
// Writes the SVG of `plot` to `path` through a temporary file (SaveFileSafely): a failed write
// leaves the file as it was and raises EFileWritingError.
void WriteSvgFile(const TPlot& plot, const std::string& path);
