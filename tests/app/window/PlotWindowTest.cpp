// The plot windows: opened from "Graphiques ..." for the last completed run of the bundled
// example, the kinds each run offers, the saves to SVG, PNG and PDF, printing, the "&Fenêtres"
// menu and the language of the texts; and the QPainter rendering of the primitives.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include "WindowTestSupport.h"
#include "app/window/FormPlot.h"
#include "app/window/PlotPainter.h"
#include "app/window/PlotWindowTexts.h"
#include "plots/PlotTexts.h"
#include "xml/XMLReader.h"

using namespace wtest;

namespace {

const std::string kExample = TARVIK_SOURCE_DIR "/examples/reference.gen";
constexpr int kExamplePopulations = 4;

enum class TGoal { Assignment, Simulation, Migrants };

// Self-assignment of the example (or migrant detection), started with "Démarrer".
void CompleteRun(TWindow& w, TGoal goal) {
  TFormPrinc& form = *w.Form;
  if (!form.RefLoaded) form.OpenReference(kExample, TReadFormat::Unknown);
  form.RadioButtonMigrantsDetection->setChecked(goal == TGoal::Migrants);
  form.RadioButtonAssignment->setChecked(goal != TGoal::Migrants);
  form.CheckBoxSimulation->setChecked(goal == TGoal::Simulation);
  form.TrackBarSimulatedIndividuals->setValue(form.TrackBarSimulatedIndividuals->minimum());
  form.automateInterface();
  form.PageControlPrinc->setCurrentWidget(form.TabSheetParameters);
  w.Click("BitBtnStart");
  if (form.PageControlPrinc->currentWidget() != form.TabSheetResultats)
    qFatal("the run did not complete");
}

TFormPlot* OpenPlots(TWindow& w) {
  const size_t before = w.Form->PlotWindows.size();
  w.Click("BitBtnPlots");
  if (w.Form->PlotWindows.size() != before + 1) qFatal("no plot window opened");
  return w.Form->PlotWindows.back();
}

QStringList ComboTexts(const TFormPlot& window) {
  QStringList texts;
  for (int i = 0; i < window.ComboBoxPlotKind->count(); ++i)
    texts << window.ComboBoxPlotKind->itemText(i);
  return texts;
}

QStringList KindNames(const std::vector<TPlotKind>& kinds) {
  QStringList names;
  for (TPlotKind kind : kinds)
    names << ToQt(PlotKindName(kind));
  return names;
}

QByteArray Bytes(const QString& path) {
  return QByteArray::fromStdString(ReadFile(PathFromQt(path)));
}

// The ids of the groups of an SVG document, read with the program's XML reader.
QStringList SvgGroups(const QByteArray& svg) {
  QStringList ids;
  std::unique_ptr<TXMLNode> document;
  try {
    document = TXMLStringReader(svg.toStdString()).ParseDocument();
  } catch (const std::exception& error) {
    qWarning("%s", error.what());
    return ids;
  }
  const TXMLNode* root = document->FindElement("svg");
  if (!svg.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>") || !root) return ids;
  for (const auto& group : root->Children)
    if (group->Kind == TXMLNodeKind::Element && group->Name == "g")
      for (const auto& attribute : group->Children)
        if (attribute->Kind == TXMLNodeKind::Attribute && attribute->Name == "id")
          ids << ToQt(attribute->Value);
  return ids;
}

// Pixels that are not white.
int InkedPixels(const QImage& image) {
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      inked += image.pixel(x, y) != qRgb(255, 255, 255);
  return inked;
}

// The bounding box of the pixels of one colour, near enough.
QRect Extent(const QImage& image, QRgb color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAbs(qRed(image.pixel(x, y)) - qRed(color)) < 60 &&
          qAbs(qGreen(image.pixel(x, y)) - qGreen(color)) < 60 &&
          qAbs(qBlue(image.pixel(x, y)) - qBlue(color)) < 60)
        box |= QRect(x, y, 1, 1);
  return box;
}

} // namespace

class PlotWindowTest : public QObject {
  Q_OBJECT

private:
  QTemporaryDir dir_;

  // Saves the window's plot through the dialog, as `name` (no extension) with filter `filter`.
  QString SaveAs(TWindow& w, TFormPlot& window, const QString& name, int filter) {
    const QString path = dir_.filePath(name);
    w.Services.AnswerFile(PathFromQt(path), filter);
    QTest::mouseClick(window.BitBtnSavePlot, Qt::LeftButton);
    const QString extension = filter == 1 ? ".svg" : filter == 2 ? ".png" : ".pdf";
    return path.endsWith(extension, Qt::CaseInsensitive) ? path : path + extension;
  }

private slots:
  // Each run offers the kinds it can draw, by name, the default one shown; the button waits for a
  // completed run.
  void kindsOffered() {
    TWindow w;
    w.Form->OpenReference(kExample, TReadFormat::Unknown);
    QVERIFY(!w.Find<QPushButton>("BitBtnPlots")->isEnabled());
    w.Form->ShowPlots();
    QVERIFY(w.Form->PlotWindows.empty());

    CompleteRun(w, TGoal::Assignment);
    TFormPlot* bars = OpenPlots(w);
    QCOMPARE(bars->objectName(), QString("FormPlot"));
    QVERIFY(bars->isVisible());
    QVERIFY(bars->Kinds() == std::vector<TPlotKind>({TPlotKind::Bars, TPlotKind::Matrix}));
    QCOMPARE(ComboTexts(*bars), KindNames(bars->Kinds()));
    QCOMPARE(bars->Kind(), TPlotKind::Bars);
    QCOMPARE(bars->Plot().Title, kPlotBarsTitle());
    bars->ComboBoxPlotKind->setCurrentIndex(1);
    QCOMPARE(bars->Plot().Title, kPlotMatrixTitle());

    CompleteRun(w, TGoal::Simulation);
    TFormPlot* exclusion = OpenPlots(w);
    QVERIFY(exclusion->Kinds() ==
            std::vector<TPlotKind>({TPlotKind::Matrix, TPlotKind::Exclusion}));
    QCOMPARE(exclusion->Kind(), TPlotKind::Exclusion);

    CompleteRun(w, TGoal::Migrants);
    TFormPlot* migrants = OpenPlots(w);
    QVERIFY(migrants->Kinds() == std::vector<TPlotKind>({TPlotKind::Migrants}));
    QCOMPARE(migrants->Plot().Title, kPlotMigrantTitle());
    // A window keeps the run it was opened for.
    QCOMPARE(bars->Plot().Title, kPlotMatrixTitle());

    // Individuals of a samples file: the bars of its units, the window named after it.
    w.Form->RadioButtonAssignment->setChecked(true);
    w.Form->OpenSamples(TARVIK_SOURCE_DIR "/examples/samples.gen", TReadFormat::Unknown);
    CompleteRun(w, TGoal::Assignment);
    TFormPlot* samples = OpenPlots(w);
    QVERIFY(samples->Kinds() == std::vector<TPlotKind>({TPlotKind::Bars}));
    QVERIFY(samples->windowTitle().endsWith("samples.gen"));
    QCOMPARE(int(w.Form->LastRun.Units.SampledOf.size()), 15);
    QCOMPARE(w.Form->LastRun.Table->Count(), 15);
    QVERIFY(w.Services.Messages.empty());
  }

  // Every kind saved as SVG (the core's writer, one group per population), PNG (the plot's size)
  // and PDF; the extension of the chosen filter is added when missing; printing goes through the
  // printer set-up; the window draws the plot to fit.
  void saves() {
    TWindow w;
    int saved = 0;
    for (TGoal goal : {TGoal::Assignment, TGoal::Simulation, TGoal::Migrants}) {
      CompleteRun(w, goal);
      TFormPlot* window = OpenPlots(w);
      for (TPlotKind kind : window->Kinds()) {
        window->SelectKind(kind);
        QCOMPARE(window->Kind(), kind);
        const QString name = QString("plot%1").arg(++saved);
        const QStringList groups = SvgGroups(Bytes(SaveAs(w, *window, name, 1)));
        for (int p = 1; p <= kExamplePopulations; ++p)
          QCOMPARE(groups.count(QString("population-%1").arg(p)), 1);
        QCOMPARE(groups.filter("population-").size(), kExamplePopulations);

        const QImage png(SaveAs(w, *window, name, 2));
        QCOMPARE(png.size(), QSize(int(window->Plot().Width), int(window->Plot().Height)));
        QVERIFY(InkedPixels(png) > 1000);

        QVERIFY(Bytes(SaveAs(w, *window, name + ".PDF", 3)).startsWith("%PDF"));
        QVERIFY(!QFile::exists(dir_.filePath(name + ".PDF.pdf")));

        window->resize(700, 500);
        QImage screen = window->PlotView->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRectF fitted = FittedPlotRect(window->Plot(), QRectF(window->PlotView->rect()));
        QVERIFY(fitted.width() >= window->PlotView->width() - 1 ||
                fitted.height() >= window->PlotView->height() - 1);
        QVERIFY(InkedPixels(screen.copy(fitted.toRect())) > 500);
      }
    }
    QCOMPARE(saved, 5);
    QCOMPARE(int(w.Services.Dialogs.size()), 15);
    QCOMPARE(int(w.Services.Dialogs[0].Request.Filters.size()), 3);
    QCOMPARE(w.Services.Dialogs[0].Request.Filters[1].Pattern, std::string("*.png"));

    // A cancelled dialog writes nothing; a folder that does not exist is reported.
    TFormPlot* window = w.Form->PlotWindows.back();
    w.Services.AnswerCancel();
    QTest::mouseClick(window->BitBtnSavePlot, Qt::LeftButton);
    w.Services.AnswerFile(PathFromQt(dir_.filePath("missing/plot.png")), 2);
    QTest::mouseClick(window->BitBtnSavePlot, Qt::LeftButton);
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Error);

    w.Services.PrinterAnswer = false;
    QTest::mouseClick(window->BitBtnPrintPlot, Qt::LeftButton);
    w.Services.PrinterAnswer = true;
    w.Services.PrinterPdfPath = PathFromQt(dir_.filePath("printed.pdf"));
    QTest::mouseClick(window->BitBtnPrintPlot, Qt::LeftButton);
    QCOMPARE(w.Services.PrinterCalls, 2);
    QVERIFY(Bytes(dir_.filePath("printed.pdf")).startsWith("%PDF"));
    QCOMPARE(int(w.Services.Messages.size()), 1);
  }

  // Plot windows are listed after the statistics windows, removed when closed, closed with the
  // main window.
  void windowsMenu() {
    TWindow w;
    CompleteRun(w, TGoal::Assignment);
    w.Click("BitBtnDisplayFrequencyRef");
    TFormPlot* first = OpenPlots(w);
    TFormPlot* second = OpenPlots(w);
    const QString caption = first->windowTitle();
    QVERIFY(caption.contains(QString("reference.gen")));
    QCOMPARE(w.WindowsMenu(), QStringList({PathToQt(kExample), caption, caption}));
    QTest::mouseClick(first->BitBtnClosePlot, Qt::LeftButton);
    QCOMPARE(int(w.Form->PlotWindows.size()), 1);
    QCOMPARE(w.WindowsMenu(), QStringList({PathToQt(kExample), caption}));
    QPointer<TFormPlot> open(second);
    w.Form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(open.isNull());
  }

  // A window opened after the language changed speaks the new language, plots included; one
  // opened before keeps its own.
  void languages() {
    TWindow w;
    CompleteRun(w, TGoal::Assignment);
    TFormPlot* french = OpenPlots(w);
    QCOMPARE(w.Find<QPushButton>("BitBtnPlots")->text(), ToQt(ptext::kPlotsButton.French()));
    w.Form->SetLanguage(lang::English);
    QCOMPARE(w.Find<QPushButton>("BitBtnPlots")->text(), QString("P&lots..."));
    TFormPlot* english = OpenPlots(w);
    QCOMPARE(english->BitBtnSavePlot->text(), QString("&Save as..."));
    QCOMPARE(english->BitBtnPrintPlot->text(), QString("&Print..."));
    QCOMPARE(english->BitBtnClosePlot->text(), QString("&Close"));
    QCOMPARE(ComboTexts(*english), QStringList({"Membership bars", "Self-assignment matrix"}));
    QCOMPARE(english->Plot().Title, kPlotBarsTitle.English());
    QCOMPARE(french->BitBtnSavePlot->text(), ToQt(ptext::kSaveAs.French()));
    french->SelectKind(TPlotKind::Matrix);
    QCOMPARE(french->Plot().Title, kPlotMatrixTitle.French());
    QCOMPARE(CurrentLanguage(), lang::English);
    w.Form->SetLanguage(lang::French);
  }

  // The primitives land where the plot's size, scaled to fit and centred, puts them: fill, stroke,
  // dashes, paths, and text placed by its anchor and turned about it.
  void painter() {
    TPlot plot;
    plot.Width = 200;
    plot.Height = 100;
    TPlotGroup& group = plot.AddGroup("shapes");
    group.Add(TPlotRect{10, 10, 40, 20, TPlotColor{255, 0, 0}, std::nullopt, 1});
    group.Add(TPlotLine{{0, 60}, {200, 60}, TPlotColor{0, 0, 255}, 4, true});
    TPlotPath triangle;
    triangle.Parts = {{{150, 10}, {190, 10}, {190, 40}}};
    triangle.Closed = true;
    triangle.Fill = TPlotColor{0, 160, 0};
    group.Add(triangle);
    TPlotText end = PlotText(100, 90, "Anchored", 14, TTextAnchor::End);
    end.Color = TPlotColor{200, 0, 200};
    group.Add(end);
    TPlotText turned = PlotText(180, 95, "TURNED", 14);
    turned.Rotation = -90;
    turned.Color = TPlotColor{0, 200, 200};
    group.Add(turned);

    // 400 x 400: scale 2, the plot 200 pixels high, centred from y = 100.
    const QImage image = PlotImage(plot, QSize(400, 400));
    QCOMPARE(FittedPlotRect(plot, QRectF(0, 0, 400, 400)), QRectF(0, 100, 400, 200));
    QCOMPARE(Extent(image, qRgb(255, 0, 0)), QRect(20, 120, 80, 40));
    const QRect dashes = Extent(image, qRgb(0, 0, 255));
    QVERIFY(qAbs(dashes.top() - 216) <= 1 && qAbs(dashes.bottom() - 223) <= 1);
    int gaps = 0;
    for (int x = 1; x < 400; ++x)
      gaps += image.pixel(x, 220) != image.pixel(x - 1, 220);
    QVERIFY(gaps >= 2 * (200 / 10) - 2);
    const QRect green = Extent(image, qRgb(0, 160, 0));
    QVERIFY(qAbs(green.left() - 300) <= 1 && qAbs(green.right() - 379) <= 1);
    QVERIFY(image.pixel(370, 130) == qRgb(0, 160, 0) &&
            image.pixel(310, 170) == qRgb(255, 255, 255));
    const QRect anchored = Extent(image, qRgb(200, 0, 200));
    QVERIFY(anchored.right() <= 201 && anchored.right() > 190 && anchored.bottom() <= 282);
    const QRect up = Extent(image, qRgb(0, 200, 200));
    QVERIFY(up.height() > up.width() && up.right() <= 361 && up.bottom() <= 291);
  }
};

TARVIK_WINDOW_TEST_MAIN(PlotWindowTest)
#include "PlotWindowTest.moc"
