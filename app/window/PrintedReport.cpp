#include "app/window/PrintedReport.h"

#include <QFontInfo>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <exception>

#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"

namespace {

QColor ToColor(const TRgb& rgb) {
  return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

// Draws every page; false when the printer refused a page.
bool DrawPages(QPrinter& printer, QPainter& painter, const TPrintLayout& layout,
               const QFont& screenFont, TToolkitServices& services) {
  QFont regular = screenFont;
  regular.setPixelSize(std::max(1, layout.Scaled(QFontInfo(screenFont).pixelSize())));
  QFont italic = regular;
  italic.setItalic(true);
  QPen frame(Qt::black);
  frame.setWidth(0);
  // The room the screen keeps between a cell's frame and its text.
  const int inset = layout.Scaled(3);
  for (size_t p = 0; p < layout.Pages.size(); ++p) {
    if (p > 0 && !printer.newPage()) return false;
    int rowTop = -1;
    for (const TPrintedText& text : layout.Pages[p].Texts) {
      const QRect rect(text.X, text.Y, text.Width, text.Height);
      if (text.Cell) {
        if (text.Fixed) painter.fillRect(rect, QColor(255, 255, 0));
        painter.setPen(frame);
        painter.drawRect(rect);
      }
      painter.setFont(text.Fixed ? italic : regular);
      painter.setPen(ToColor(text.Color));
      const int align = (text.RightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
      painter.drawText(text.Cell ? rect.adjusted(inset, 0, -inset, 0) : rect, align,
                       ToQt(text.Text));
      // Pending events once a row is drawn.
      if (text.Y != rowTop) {
        rowTop = text.Y;
        services.ProcessEvents();
      }
    }
  }
  return true;
}

} // namespace

bool PrintReport(TToolkitServices& services, QWidget* window, const TPrintRequest& request) {
  QPrinter printer(QPrinter::HighResolution);
  if (!services.PrinterSetup(printer)) return false;
  services.SetBusyCursor(window, true);
  printer.setDocName(ToQt(request.JobTitle));
  printer.setFullPage(true);
  bool printed = false;
  QPainter painter;
  try {
    if (painter.begin(&printer)) {
      TPageGeometry page;
      page.Width = printer.width();
      page.Height = printer.height();
      // Half an inch on every side.
      page.Margin = printer.resolution() / 2;
      const TPrintLayout layout = LayOutPrint(request.Source(), page);
      printed = DrawPages(printer, painter, layout, request.Font, services);
    }
  } catch (const std::exception&) {
    printed = false;
  }
  if (!printed) printer.abort();
  if (painter.isActive()) painter.end();
  if (printer.printerState() == QPrinter::Error) printed = false;
  services.SetBusyCursor(window, false);
  services.Tell(printed ? TMessageKind::Information : TMessageKind::Error,
                printed ? request.DoneText : request.CancelledText);
  return printed;
}
