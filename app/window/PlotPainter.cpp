#include "app/window/PlotPainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "app/window/PlotWindowTexts.h"
#include "app/window/TextConversion.h"
#include "base/Errors.h"
#include "plots/PlotPrimitives.h"

namespace {

QColor ToColor(const TPlotColor& color) {
  return QColor(color.Red, color.Green, color.Blue);
}

QPointF ToPoint(const TPlotPoint& point) {
  return QPointF(static_cast<qreal>(point.X), static_cast<qreal>(point.Y));
}

// Square ends and mitred corners, as SVG strokes by default; dashes in logical units.
QPen StrokePen(const TPlotColor& color, Extended width, bool dashed = false) {
  const qreal w = std::max<qreal>(static_cast<qreal>(width), 1e-3);
  QPen pen(ToColor(color), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  if (dashed)
    pen.setDashPattern({static_cast<qreal>(kPlotDash) / w, static_cast<qreal>(kPlotGap) / w});
  return pen;
}

void SetFillAndStroke(QPainter& painter, const std::optional<TPlotColor>& fill,
                      const std::optional<TPlotColor>& stroke, Extended width) {
  painter.setBrush(fill ? QBrush(ToColor(*fill)) : QBrush(Qt::NoBrush));
  painter.setPen(stroke ? StrokePen(*stroke, width) : QPen(Qt::NoPen));
}

class TItemPainter {
public:
  explicit TItemPainter(QPainter& painter) : painter_(painter) {}

  void operator()(const TPlotRect& rect) {
    SetFillAndStroke(painter_, rect.Fill, rect.Stroke, rect.StrokeWidth);
    painter_.drawRect(QRectF(static_cast<qreal>(rect.X), static_cast<qreal>(rect.Y),
                             static_cast<qreal>(rect.Width), static_cast<qreal>(rect.Height)));
  }

  void operator()(const TPlotLine& line) {
    painter_.setPen(StrokePen(line.Color, line.Width, line.Dashed));
    painter_.drawLine(ToPoint(line.From), ToPoint(line.To));
  }

  void operator()(const TPlotPath& path) {
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    for (const std::vector<TPlotPoint>& part : path.Parts) {
      if (part.empty()) continue;
      shape.moveTo(ToPoint(part.front()));
      for (size_t i = 1; i < part.size(); ++i)
        shape.lineTo(ToPoint(part[i]));
      if (path.Closed) shape.closeSubpath();
    }
    SetFillAndStroke(painter_, path.Fill, path.Stroke, path.StrokeWidth);
    painter_.drawPath(shape);
  }

  void operator()(const TPlotText& text) {
    if (text.Text.empty()) return;
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(static_cast<double>(text.Size)))));
    font.setBold(text.Bold);
    const QString caption = ToQt(text.Text);
    qreal shift = 0;
    if (text.Anchor != TTextAnchor::Start) {
      const qreal width = QFontMetricsF(font, painter_.device()).horizontalAdvance(caption);
      shift = text.Anchor == TTextAnchor::Middle ? width / 2 : width;
    }
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(ToColor(text.Color));
    painter_.translate(ToPoint(text.At));
    if (text.Rotation != 0) painter_.rotate(static_cast<qreal>(text.Rotation));
    painter_.drawText(QPointF(-shift, 0), caption);
    painter_.restore();
  }

private:
  QPainter& painter_;
};

// Raised when a PNG or PDF file could not be written.
[[noreturn]] void NotWritten(const std::string& path) {
  throw EFileWritingError(Format(ptext::kNotWritten(), PathAsText(path).c_str()));
}

} // namespace

QRectF FittedPlotRect(const TPlot& plot, const QRectF& target) {
  const qreal width = static_cast<qreal>(plot.Width), height = static_cast<qreal>(plot.Height);
  if (width <= 0 || height <= 0 || target.isEmpty()) return QRectF();
  const qreal scale = std::min(target.width() / width, target.height() / height);
  QRectF fitted(0, 0, width * scale, height * scale);
  fitted.moveCenter(target.center());
  return fitted;
}

void PaintPlot(QPainter& painter, const TPlot& plot, const QRectF& target) {
  const QRectF fitted = FittedPlotRect(plot, target);
  if (fitted.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(fitted, Qt::white);
  painter.translate(fitted.topLeft());
  const qreal scale = fitted.width() / static_cast<qreal>(plot.Width);
  painter.scale(scale, scale);
  painter.setClipRect(QRectF(0, 0, static_cast<qreal>(plot.Width), static_cast<qreal>(plot.Height)));
  TItemPainter draw(painter);
  for (const TPlotGroup& group : plot.Groups)
    for (const TPlotItem& item : group.Items)
      std::visit(draw, item);
  painter.restore();
}

QImage PlotImage(const TPlot& plot, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPlot(painter, plot, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

void WritePlotPng(const TPlot& plot, const std::string& path, QSize size) {
  if (!size.isValid())
    size = QSize(std::max(1, static_cast<int>(std::ceil(static_cast<double>(plot.Width)))),
                 std::max(1, static_cast<int>(std::ceil(static_cast<double>(plot.Height)))));
  if (!PlotImage(plot, size).save(PathToQt(path), "PNG")) NotWritten(path);
}

void WritePlotPdf(const TPlot& plot, const std::string& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(PathToQt(path));
  printer.setPageOrientation(QPageLayout::Landscape);
  if (!PrintPlot(plot, printer)) NotWritten(path);
}

bool PrintPlot(const TPlot& plot, QPrinter& printer) {
  printer.setDocName(ToQt(plot.Title));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // The painter's origin is the top left corner of the printable area.
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  PaintPlot(painter, plot, QRectF(QPointF(0, 0), QSizeF(page.size())));
  return painter.end();
}
