// Draws the primitives of a plot with QPainter, for the plot window, PNG images, PDF files and
// the printer: the plot's logical size is scaled to fit the target rectangle, proportions kept,
// centred in it. The SVG files come from the plot library's own writer.
#pragma once

#include <QRectF>
#include <QSize>
#include <string>

class QImage;
class QPainter;
class QPrinter;
struct TPlot;

// Draws the groups in order on a white background covering the plot's area.
void PaintPlot(QPainter& painter, const TPlot& plot, const QRectF& target);
// The area of `target` the plot covers: its logical size scaled to fit, centred.
QRectF FittedPlotRect(const TPlot& plot, const QRectF& target);

// The plot drawn on an image of `size` pixels, white around it.
QImage PlotImage(const TPlot& plot, QSize size);
// The plot as a PNG file of `size` pixels (default: its logical size) and as a one-page PDF file
// (A4 landscape); raise EFileWritingError when the file cannot be written.
void WritePlotPng(const TPlot& plot, const std::string& path, QSize size = QSize());
void WritePlotPdf(const TPlot& plot, const std::string& path);
// The plot on one page of the printer, fitted to the printable area; false when the printer
// could not be started or finished.
bool PrintPlot(const TPlot& plot, QPrinter& printer);
