// The statistics windows: opened from the "Statistiques" buttons, listed in "&Fenêtres",
// removed from it when closed, saved as semicolon-separated text.
#include <QAction>
#include <QMenu>
#include <QTableView>
#include <sstream>

#include "WindowTestSupport.h"
#include "app/window/FormFrequencyDisplay.h"
#include "stats/StatisticsExport.h"

using namespace wtest;

class StatisticsWindowTest : public QObject {
  Q_OBJECT

private:
  TExampleFiles files_;

private slots:
  // Two windows at once, each a snapshot of its data set; closing one removes it from the menu,
  // a menu item brings its window back to the front.
  void windowsMenu() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Form->OpenSamples(files_.Samples, TReadFormat::Unknown);
    w.Click("BitBtnDisplayFrequencyRef");
    w.Click("BitBtnDisplayFrequencySamp");
    QCOMPARE(int(w.Form->StatsWindows.size()), 2);
    QCOMPARE(w.WindowsMenu(), QStringList({PathToQt(files_.Reference), PathToQt(files_.Samples)}));

    TFormFrequencyDisplay* reference = w.Form->StatsWindows[0];
    TFormFrequencyDisplay* samples = w.Form->StatsWindows[1];
    QVERIFY(reference->isVisible());
    QCOMPARE(reference->windowTitle(), PathToQt(files_.Reference));
    const TStatisticsGrid expected = BuildStatisticsGrid(w.Form->dataStructureRef, lang::French);
    QCOMPARE(reference->Grid().Cells, expected.Cells);
    auto* grid = reference->findChild<QTableView*>("StringGrid");
    // The header row stays in sight as the column headers.
    QCOMPARE(grid->model()->rowCount(), expected.RowCount() - 1);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("LOCUS"));
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QString("North"));
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QString("L1"));
    QCOMPARE(grid->model()->index(1, 0).data().toString(), ToQt(Latin1("Nombre de gènes")));
    // Every column is wide enough for its widest text.
    for (int c = 0; c < expected.ColumnCount(); ++c)
      for (int r = 0; r < expected.RowCount(); ++r)
        QVERIFY(grid->columnWidth(c) >=
                grid->fontMetrics().horizontalAdvance(ToQt(expected.Cell(r, c))) + 10);

    // A snapshot: clearing the data set leaves the window as it was.
    w.Click("SpeedButtonClearReference");
    QCOMPARE(reference->Grid().Cells, expected.Cells);

    const QPointer<TFormFrequencyDisplay> closing(reference);
    reference->Fermer1->trigger();
    QCOMPARE(int(w.Form->StatsWindows.size()), 1);
    QCOMPARE(w.WindowsMenu(), QStringList({PathToQt(files_.Samples)}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closing.isNull());

    samples->hide();
    w.Form->menuItemFenetres->actions().constFirst()->trigger();
    QVERIFY(samples->isVisible());
  }

  // "Enregistrer sous ..." writes the grid as the command line's export does.
  void saveStatistics() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Click("BitBtnDisplayFrequencyRef");
    TFormFrequencyDisplay* window = w.Form->StatsWindows.front();
    const std::string path = PathFromQt(files_.Dir.filePath("stats.csv"));
    w.Services.AnswerFile(path, 1);
    window->Enregistrer1->trigger();

    const TFileDialogRequest& request = w.Services.Dialogs.back().Request;
    QCOMPARE(request.Title, "Enregister sous");
    QCOMPARE(request.DefaultExtension, "csv");
    QCOMPARE(int(request.Filters.size()), 2);
    QCOMPARE(request.Filters[0].Name, "Fichiers csv (*.csv)");
    QCOMPARE(request.Filters[1].Pattern, "*");
    QCOMPARE(ReadFile(path), StatisticsExportText(window->Grid()));

    // A file that cannot be written is told, and nothing else happens.
    w.Services.AnswerFile(PathFromQt(files_.Dir.filePath("missing/stats.csv")), 1);
    window->Enregistrer1->trigger();
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(int(w.Services.Messages[0].Kind), int(TMessageKind::Error));
  }

  // "Imprimer ...": a job titled "Morvell - 2" with the grid, and the end-of-printing box in the
  // window's language; a cancelled set-up prints nothing; a failed job is told.
  void printStatistics() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Form->Anglais1->trigger();
    w.Click("BitBtnDisplayFrequencyRef");
    w.Form->Franais1->trigger();
    TFormFrequencyDisplay* window = w.Form->StatsWindows.front();
    QVERIFY(window->Imprimer1->isEnabled());
    window->Imprimer1->trigger();
    QCOMPARE(w.Services.PrinterCalls, 1);
    QVERIFY(w.Services.Messages.empty());

    const std::string pdf = PathFromQt(files_.Dir.filePath("stats.pdf"));
    w.Services.PrinterAnswer = true;
    w.Services.PrinterPdfPath = pdf;
    window->Imprimer1->trigger();
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(int(w.Services.Messages[0].Kind), int(TMessageKind::Information));
    QCOMPARE(w.Services.Messages[0].Text, "End of printing");
    const QString text = PdfTool("pdftotext", pdf);
    if (!text.isEmpty()) {
      QVERIFY(text.contains("LOCI"));
      QVERIFY(text.contains("South"));
      QVERIFY(PdfTool("pdfinfo", pdf).contains(QRegularExpression("Title: +Morvell - 2")));
    }

    w.Services.PrinterPdfPath = PathFromQt(files_.Dir.filePath("missing/stats.pdf"));
    window->Imprimer1->trigger();
    QCOMPARE(int(w.Services.Messages.size()), 2);
    QCOMPARE(int(w.Services.Messages[1].Kind), int(TMessageKind::Error));
    QCOMPARE(w.Services.Messages[1].Text, "Printing cancelled");
  }

  // The language of the labels is the one chosen when the window opens.
  void language() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Click("BitBtnDisplayFrequencyRef");
    w.Form->Anglais1->trigger();
    w.Click("BitBtnDisplayFrequencyRef");
    QCOMPARE(w.Form->StatsWindows[0]->Grid().Cell(0, 0), "LOCUS");
    QCOMPARE(w.Form->StatsWindows[1]->Grid().Cell(0, 0), "LOCI");
    QCOMPARE(w.Form->StatsWindows[1]->Fermer1->text(), QString("Close"));
    QCOMPARE(w.Find<QWidget>("BitBtnStart")->property("text").toString(), QString("Start"));
    w.Form->Franais1->trigger();
    QVERIFY(w.Form->Franais1->isChecked());
    QVERIFY(!w.Form->Anglais1->isChecked());
  }
};

TARVIK_WINDOW_TEST_MAIN(StatisticsWindowTest)
#include "StatisticsWindowTest.moc"
