#include "app/window/FormPlot.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <exception>

#include "app/window/LanguageScope.h"
#include "app/window/PlotPainter.h"
#include "app/window/PlotWindowTexts.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"
#include "app/window/WindowTexts.h"
#include "plots/SvgWriter.h"

namespace {

// The save formats, in the order of the dialog's filters (1-based index).
enum TSaveFormat { kSvg = 1, kPng = 2, kPdf = 3 };
const char* const kExtensions[] = {"", ".svg", ".png", ".pdf"};

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

} // namespace

TPlotView::TPlotView(QWidget* parent) : QWidget(parent) {
  setObjectName("PlotView");
  setMinimumSize(200, 120);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPlotView::SetPlot(const TPlot* plot) {
  plot_ = plot;
  update();
}

void TPlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (plot_) PaintPlot(painter, *plot_, QRectF(rect()));
}

TFormPlot::TFormPlot(TToolkitServices& services, TPlotSource source, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services), source_(std::move(source)),
      language_(CurrentLanguage()), kinds_(AvailablePlotKinds(source_.Run)) {
  setObjectName("FormPlot");
  setAttribute(Qt::WA_DeleteOnClose);
  resize(900, 560);

  auto* column = new QVBoxLayout(this);
  auto* top = new QHBoxLayout();
  LabelPlotKind = new QLabel(this);
  LabelPlotKind->setObjectName("LabelPlotKind");
  ComboBoxPlotKind = new QComboBox(this);
  ComboBoxPlotKind->setObjectName("ComboBoxPlotKind");
  LabelPlotKind->setBuddy(ComboBoxPlotKind);
  BitBtnSavePlot = new QPushButton(this);
  BitBtnSavePlot->setObjectName("BitBtnSavePlot");
  BitBtnPrintPlot = new QPushButton(this);
  BitBtnPrintPlot->setObjectName("BitBtnPrintPlot");
  BitBtnClosePlot = new QPushButton(this);
  BitBtnClosePlot->setObjectName("BitBtnClosePlot");
  top->addWidget(LabelPlotKind);
  top->addWidget(ComboBoxPlotKind, 1);
  top->addStretch(1);
  top->addWidget(BitBtnSavePlot);
  top->addWidget(BitBtnPrintPlot);
  top->addWidget(BitBtnClosePlot);
  column->addLayout(top);
  PlotView = new TPlotView(this);
  column->addWidget(PlotView, 1);

  ApplyTexts();
  connect(BitBtnSavePlot, &QPushButton::clicked, this, &TFormPlot::BitBtnSavePlotClick);
  connect(BitBtnPrintPlot, &QPushButton::clicked, this, &TFormPlot::BitBtnPrintPlotClick);
  connect(BitBtnClosePlot, &QPushButton::clicked, this, &QWidget::close);
  connect(ComboBoxPlotKind, &QComboBox::currentIndexChanged, this,
          &TFormPlot::ComboBoxPlotKindChange);
  if (!kinds_.empty() && source_.Available()) SelectKind(DefaultPlotKind(source_.Run));
}

void TFormPlot::ApplyTexts() {
  TLanguageScope scope(language_);
  setWindowTitle(source_.Caption.empty()
                     ? ToQt(ptext::kCaption())
                     : ToQt(Format(ptext::kCaptionOf(), PathAsText(source_.Caption).c_str())));
  LabelPlotKind->setText(ToQt(ptext::kKindLabel()));
  BitBtnSavePlot->setText(ToQt(ptext::kSaveAs()));
  BitBtnPrintPlot->setText(ToQt(wtext::kPrintButton()));
  BitBtnClosePlot->setText(ToQt(ptext::kClose()));
  PlotView->setAccessibleName(ToQt(ptext::kNameView()));
  const QSignalBlocker blocker(ComboBoxPlotKind);
  ComboBoxPlotKind->clear();
  for (TPlotKind kind : kinds_)
    ComboBoxPlotKind->addItem(ToQt(PlotKindName(kind)));
}

TPlotKind TFormPlot::Kind() const {
  const int index = ComboBoxPlotKind->currentIndex();
  return index >= 0 ? kinds_[static_cast<size_t>(index)] : DefaultPlotKind(source_.Run);
}

void TFormPlot::SelectKind(TPlotKind kind) {
  const auto found = std::find(kinds_.begin(), kinds_.end(), kind);
  if (found == kinds_.end()) return;
  const int index = static_cast<int>(found - kinds_.begin());
  if (ComboBoxPlotKind->currentIndex() != index)
    ComboBoxPlotKind->setCurrentIndex(index); // draws through the change signal
  else
    ComboBoxPlotKindChange(index);
}

void TFormPlot::ComboBoxPlotKindChange(int index) {
  if (index < 0 || !source_.Available()) return;
  TLanguageScope scope(language_);
  PlotView->SetPlot(nullptr);
  try {
    plot_ = BuildPlot(kinds_[static_cast<size_t>(index)], *source_.Table, source_.Units,
                      source_.Run);
  } catch (const std::exception& error) {
    plot_ = TPlot{};
    services_.Tell(TMessageKind::Error, error.what());
  }
  PlotView->SetPlot(&plot_);
}

void TFormPlot::BitBtnSavePlotClick() {
  TFileDialogRequest request;
  {
    TLanguageScope scope(language_);
    request.Title = ptext::kSaveTitle();
    request.Filters = {{ptext::kFilterSvg(), "*.svg"},
                       {ptext::kFilterPng(), "*.png"},
                       {ptext::kFilterPdf(), "*.pdf"}};
  }
  request.DefaultExtension = "svg";
  const TFileDialogAnswer answer = services_.SaveFile(request);
  if (!answer.Confirmed || answer.Path.empty()) return;
  const int format = answer.FilterIndex >= kSvg && answer.FilterIndex <= kPdf ? answer.FilterIndex
                                                                              : kSvg;
  std::string path = answer.Path;
  if (!EndsWithNoCase(path, kExtensions[format])) path += kExtensions[format];
  Save(path, format);
}

void TFormPlot::Save(const std::string& path, int format) {
  services_.SetBusyCursor(this, true);
  try {
    TLanguageScope scope(language_);
    if (format == kPng)
      WritePlotPng(plot_, path);
    else if (format == kPdf)
      WritePlotPdf(plot_, path);
    else
      WriteSvgFile(plot_, path);
  } catch (const std::exception& error) {
    services_.SetBusyCursor(this, false);
    services_.Tell(TMessageKind::Error, error.what());
    return;
  }
  services_.SetBusyCursor(this, false);
}

void TFormPlot::BitBtnPrintPlotClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  if (!services_.PrinterSetup(printer)) return;
  services_.SetBusyCursor(this, true);
  const bool printed = PrintPlot(plot_, printer);
  services_.SetBusyCursor(this, false);
  if (!printed) {
    TLanguageScope scope(language_);
    services_.Tell(TMessageKind::Error,
                   Format(ptext::kNotPrinted(), FromQt(printer.printerName()).c_str()));
  }
}

void TFormPlot::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit Closed(this);
}
