// Runs started from the main window: the journal, the results grid and its labels, the number
// of scores, migrant detection, the refused and the interrupted run, the export and the
// printing; the window's export against the command line's for the same options and seeds.
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <sstream>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "dataset/DataSetTexts.h"
#include "engine/common/GenMars.h"
#include "engine/criteria/CornuetEstimator.h"

using namespace wtest;

namespace {

// The grid rows of an export: every line after the journal lines (which begin with a date).
std::string GridPart(const std::string& exported) {
  const size_t start = exported.find("\n;");
  return start == std::string::npos ? std::string() : exported.substr(start + 1);
}

QString Example(const char* name) {
  return QString(TARVIK_SOURCE_DIR) + "/examples/" + name;
}

// Seeds both random generators as `tarvik2-cli --seed i,j,k,l` does.
void Seed(int i, int j, int k, int l) {
  for (TGenMars* generator : {&SimulationGenerator(), &CornuetGenerator()})
    generator->SetSeeds(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(j),
                        static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(l));
  CornuetRuntimeGenerator().seed(static_cast<std::uint32_t>(((i * 169 + j) * 169 + k) * 169 + l));
}

QString Text(const TText& text) {
  return ToQt(text());
}

QString CellText(const TWindow& w, int column, int row) {
  return ToQt(w.Form->ResultsGrid().Text(column, row));
}

} // namespace

class RunWindowTest : public QObject {
  Q_OBJECT

private:
  TExampleFiles files_;

  // Exports the shown run through the dialog; the file's bytes.
  std::string ExportedBytes(TWindow& w, const char* name) {
    const std::string path = PathFromQt(files_.Dir.filePath(name));
    w.Services.AnswerFile(path, 1);
    w.Click("BitBtnExportResults");
    return ReadFile(path);
  }

private slots:
  // Self-assignment of the reference: the parameter block, the quality labels, the grid with
  // its headers, colours and alignments, the results tab, the duration, the window unlocked.
  // With a samples file the quality labels are emptied.
  void selfAssignment() {
    TWindow w;
    QVERIFY(!w.Find<QWidget>("BitBtnExportResults")->isEnabled());
    QVERIFY(!w.Find<QWidget>("BitBtnPrintResults")->isEnabled());
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Click("BitBtnStart");

    const QStringList journal = w.Journal();
    QVERIFY(journal.contains("        " + Text(kAssignmentOfIndividuals)));
    QVERIFY(journal.contains("        " + Text(kStartingComputation)));
    QVERIFY(journal.contains("        Locus utilisés :  L1 L2"));
    QCOMPARE(journal.filter(QRegularExpression("^Calcul termin.\\. Dur.e : [0-9]+\\.[0-9]{3} s$"))
                 .size(),
             1);
    QCOMPARE(journal.last(), QString());
    QVERIFY(
        w.Find<QLabel>("LabelScore")->text().startsWith(QString::fromUtf8("Indice de qualité : ")));
    QVERIFY(w.Find<QLabel>("LabelBC")->text().startsWith(QString::fromUtf8("Bien classés : ")));
    QVERIFY(journal.contains(w.Find<QLabel>("LabelScore")->text()));
    QVERIFY(w.Find<QLabel>("StatusBarPanel0")->text().startsWith(QString::fromUtf8("Durée ")));
    // The wait beside the processor time, which overstates it on several cores.
    QVERIFY(
        w.Find<QLabel>("StatusBarPanel1")->text().startsWith(QString::fromUtf8("Temps écoulé : ")));
    QCOMPARE(w.Form->PageControlPrinc->currentWidget(), w.Form->TabSheetResultats);
    QVERIFY(!w.Form->Running());
    QVERIFY(w.Find<QWidget>("BitBtnStart")->isEnabled());
    QVERIFY(!w.Find<QWidget>("ToolButtonArret")->isEnabled());
    QVERIFY(w.Find<QWidget>("BitBtnExportResults")->isEnabled());
    QVERIFY(w.Find<QWidget>("BitBtnPrintResults")->isEnabled());

    // Two populations: min(5, 2) score triples, two population columns, three loci columns.
    QCOMPARE(w.Find<QSpinBox>("SpinEditScores")->value(), 2);
    auto* view = w.Find<QTableView>("StringGridAssignation");
    QVERIFY(view->isVisible());
    QAbstractItemModel* model = view->model();
    QCOMPARE(model->columnCount(), 1 + 3 * 2 + 2 + 3);
    QCOMPARE(model->rowCount(), 2 + 4);
    QCOMPARE(CellText(w, 0, 1), QString::fromUtf8("Echantillon assigné"));
    QCOMPARE(CellText(w, 7, 0), QString("North"));
    QCOMPARE(CellText(w, 8, 1), QString("-Log10(L)"));
    QCOMPARE(CellText(w, 0, 2), QString("North/n1"));
    // Drawn as the grid says: the text and two blanks, its colour, right-aligned; header cells
    // in the fixed colour; loci names black and left-aligned.
    const QModelIndex score = model->index(2, 2);
    QCOMPARE(score.data().toString(), CellText(w, 2, 2) + "  ");
    const TGridCell& cell = w.Form->ResultsGrid().Cell(2, 2);
    const TRgb rgb = ColorRgb(cell.Color);
    QCOMPARE(score.data(Qt::ForegroundRole).value<QColor>(), QColor(rgb.Red, rgb.Green, rgb.Blue));
    QVERIFY(score.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(model->index(0, 7).data(Qt::BackgroundRole).isValid());
    QVERIFY(!score.data(Qt::BackgroundRole).isValid());
    QVERIFY(model->index(2, 10).data(Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
    // No text is cut: every column holds its widest drawn text.
    const QFontMetrics metrics(view->font());
    for (int c = 0; c < model->columnCount(); ++c)
      for (int r = 0; r < model->rowCount(); ++r)
        QVERIFY(CellText(w, c, r).isEmpty() ||
                view->columnWidth(c) >
                    metrics.horizontalAdvance(model->index(r, c).data().toString()));

    // Fewer scores: the same run drawn again with one triple.
    const std::vector<std::string> journalBefore = w.Form->ShownTable()->Journal;
    w.Find<QSpinBox>("SpinEditScores")->setValue(1);
    QCOMPARE(model->columnCount(), 1 + 3 + 2 + 3);
    QCOMPARE(CellText(w, 4, 0), QString("North"));
    QVERIFY(w.Form->ShownTable()->Journal == journalBefore);
    w.Find<QSpinBox>("SpinEditScores")->setValue(0);
    QCOMPARE(model->columnCount(), 1 + 2 + 3);

    w.Form->OpenSamples(files_.Samples, TReadFormat::Unknown);
    w.Click("BitBtnStart");
    QVERIFY(w.Find<QLabel>("LabelScore")->text().isEmpty());
    QVERIFY(w.Find<QLabel>("LabelBC")->text().isEmpty());
    QCOMPARE(model->rowCount(), 2 + 1);
    QVERIFY(CellText(w, 0, 2).endsWith("u1"));
    QVERIFY(w.Journal().contains("        " +
                                 Text(kSamplesFileLine).replace("%s", PathToQt(files_.Samples))));
  }

  // Migrant detection: one triple headed by the statistic, the count line, the number of
  // scores put aside until an assignment is shown again.
  void migrants() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Click("BitBtnStart");
    QVERIFY(!w.Find<QLabel>("LabelBC")->text().isEmpty());
    w.Click("RadioButtonMigrantsDetection");
    w.Click("BitBtnStart");
    QVERIFY(w.Journal().contains("        " + Text(kMigrantDetection)));
    const QString summary = w.Find<QLabel>("LabelScore")->text();
    QVERIFY2(
        summary.contains(QString::fromUtf8(" individus avec une probabilité inférieure à 0.05")),
        qPrintable(summary));
    QVERIFY(w.Journal().contains(summary));
    QVERIFY(w.Find<QLabel>("LabelBC")->text().isEmpty());
    auto* spin = w.Find<QSpinBox>("SpinEditScores");
    QCOMPARE(spin->value(), 1);
    QVERIFY(spin->isHidden());
    QVERIFY(!spin->isEnabled());
    QVERIFY(w.Find<QLabel>("Label1")->isHidden());
    QCOMPARE(w.Form->ResultsGrid().ColumnCount(), 1 + 3 + 2 + 3);
    QCOMPARE(CellText(w, 1, 1), QString("origine"));
    QCOMPARE(CellText(w, 2, 1), QString("-Log10(L_origine / L_max)"));
    QCOMPARE(w.Form->PageControlPrinc->currentWidget(), w.Form->TabSheetResultats);

    // Back to assignment: the migrant grid stays as it is until the next run.
    w.Click("RadioButtonAssignment");
    QVERIFY(spin->isHidden());
    w.Click("BitBtnStart");
    QVERIFY(!spin->isHidden());
    QVERIFY(spin->isEnabled());
    QCOMPARE(CellText(w, 1, 0), QString("rang"));
  }

  // What the colours say: flagged migrants in red with their likeliest population in green;
  // with probabilities, the number of scores hidden and populations below alpha in grey. Stop
  // answered No lets the run go on; answered Yes at the next report, it stops it.
  void coloursAndStopAnswers() {
    TWindow w;
    w.Form->OpenReference(PathFromQt(Example("reference.gen")), TReadFormat::Unknown);
    w.Click("RadioButtonMigrantsDetection");
    w.Click("BitBtnStart");
    const TTableResultats& migrants = *w.Form->ShownTable();
    const TResultsGrid& grid = w.Form->ResultsGrid();
    int flagged = 0;
    for (int i = 0; i < migrants.Count(); ++i) {
      const TResultats& result = migrants.Item(i);
      const int populations = result.Count;
      if (!result.IsMigrant) {
        QCOMPARE(grid.Cell(1, 2 + i).Color, TCellColor::Black);
        continue;
      }
      ++flagged;
      QCOMPARE(grid.Cell(1, 2 + i).Color, TCellColor::Red);
      QCOMPARE(grid.Cell(2, 2 + i).Color, TCellColor::Red);
      QVERIFY(result.LikeliestPopulation >= 0 && result.LikeliestPopulation < populations);
      QCOMPARE(grid.Cell(4 + result.LikeliestPopulation, 2 + i).Color, TCellColor::Green);
    }
    QVERIFY(flagged > 0);

    w.Click("RadioButtonAssignment");
    w.Click("CheckBoxSimulation");
    w.Find<QSlider>("TrackBarSimulatedIndividuals")->setValue(2);
    w.Click("BitBtnStart");
    QVERIFY(w.Find<QSpinBox>("SpinEditScores")->isHidden());
    QCOMPARE(CellText(w, 1, 1), QString::fromUtf8("probabilité"));
    const TTableResultats& simulated = *w.Form->ShownTable();
    int grey = 0;
    for (int i = 0; i < simulated.Count(); ++i)
      for (int j = 0; j < simulated.Item(i).Count; ++j) {
        const Extended p = simulated.Item(i).Row(j).Value;
        const bool below = !IsUndefined(p) && p < w.Form->Automaton.Threshold;
        grey += below;
        QCOMPARE(w.Form->ResultsGrid().Cell(1 + j, 2 + i).Color,
                 below ? TCellColor::Grey : TCellColor::Black);
      }
    QVERIFY(grey > 0);

    const TTableResultats* shown = w.Form->ShownTable();
    w.Services.Messages.clear();
    // Stop runs the pending events itself: the empty action keeps the second click for a later
    // report of the run.
    w.Services.EventActions = {[&w] { w.Click("ToolButtonArret"); }, [] {},
                               [&w] { w.Click("ToolButtonArret"); }};
    w.Services.MessageAnswers = {TMessageButton::No, TMessageButton::Yes};
    w.Click("BitBtnStart");
    QCOMPARE(int(w.Services.Messages.size()), 3);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Confirmation);
    QCOMPARE(w.Services.Messages[0].Default, TMessageButton::No);
    QCOMPARE(w.Services.Messages[1].Kind, TMessageKind::Confirmation);
    QCOMPARE(ToQt(w.Services.Messages[2].Text), Text(kOperationInterrupted));
    QCOMPARE(w.Form->ShownTable(), shown);
    QVERIFY(w.Find<QLabel>("StatusBarPanel0")->text().startsWith(QString::fromUtf8("Durée ")));
  }

  // Samples that share no locus with the reference: the warning says so.
  void noSharedLocus() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Form->OpenSamples(WriteGenepop(files_.Dir, "other.gen", {"X1"}, {{"Else", {"e1 , 0101"}}}),
                        TReadFormat::Unknown);
    w.Click("BitBtnStart");
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(ToQt(w.Services.Messages[0].Text),
             Text(kNoLocusSelected) + "\n" + Text(kNoSharedLocus));
    QVERIFY(!w.Journal().contains("        " + Text(kStartingComputation)));
  }

  // No usable locus: the warning, no parameter block, no grid. A stopped or failed run: its
  // message, and the grid, its table and its export stay those of the last completed run.
  void refusedAndInterrupted() {
    TWindow w;
    w.Form->OpenReference(PathFromQt(Example("reference.gen")), TReadFormat::Unknown);
    w.Click("BitBtnFiltreLocusAucun");
    w.Click("BitBtnStart");
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Warning);
    QCOMPARE(ToQt(w.Services.Messages[0].Text), Text(kNoLocusSelected));
    QVERIFY(!w.Journal().contains("        " + Text(kStartingComputation)));
    QVERIFY(!w.Find<QTableView>("StringGridAssignation")->isVisible());
    QVERIFY(!w.Form->ShownTable());
    QVERIFY(!w.Find<QWidget>("BitBtnExportResults")->isEnabled());

    w.Click("BitBtnFiltreLocusTous");
    w.Click("BitBtnStart");
    const TTableResultats* shown = w.Form->ShownTable();
    QVERIFY(shown);
    const std::string exported = ExportedBytes(w, "before.csv");
    const int rows = w.Form->ResultsGrid().RowCount();

    // Stop is pressed as soon as the run lets events through; the question is answered Yes.
    w.Services.Messages.clear();
    w.Services.EventActions.push_back([&w] { w.Click("ToolButtonArret"); });
    w.Services.MessageAnswers = {TMessageButton::Yes};
    w.Find<QSpinBox>("SpinEditScores")->setValue(1);
    w.Click("BitBtnStart");
    QCOMPARE(int(w.Services.Messages.size()), 2);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Confirmation);
    QCOMPARE(ToQt(w.Services.Messages[1].Text), Text(kOperationInterrupted));
    QVERIFY(w.Journal().contains(Text(kUserInterruption)));
    QVERIFY(!w.Form->Driver.StopRequested);
    QVERIFY(!w.Form->Running());
    QCOMPARE(w.Form->ShownTable(), shown);
    QVERIFY(w.Form->Driver.ResultTable.get() != shown);
    QVERIFY(w.Form->ResultsGrid().RowCount() == rows);
    QVERIFY(ExportedBytes(w, "after.csv") == ResultsExportText(shown, w.Form->ResultsGrid()));
    QVERIFY(exported.find(Text(kUserInterruption).toStdString()) == std::string::npos);

    // A run that fails: the journal and a box tell the error, the window is usable again and
    // the grid stays. Migrant detection has no stepwise-mutation criterion.
    w.Services.Messages.clear();
    w.Click("RadioButtonMigrantsDetection");
    w.Find<QRadioButton>("RadioButtonCornuet")->setChecked(true);
    w.Form->automateInterface();
    w.Click("BitBtnStart");
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Error);
    QVERIFY(w.Journal().contains(Text(kExceptionPrefix) + ToQt(w.Services.Messages[0].Text)));
    QVERIFY(!w.Form->Running());
    QVERIFY(w.Find<QWidget>("BitBtnStart")->isEnabled());
    QCOMPARE(w.Form->ShownTable(), shown);
  }

  // The export: the dialog's single filter, the journal then the grid as the shared export
  // function writes it; a cancelled dialog writes nothing; a file that cannot be written is
  // explained.
  void exportResults() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Click("BitBtnStart");
    w.Services.AnswerCancel();
    w.Click("BitBtnExportResults");
    QCOMPARE(int(w.Services.Dialogs.size()), 1);
    const TFileDialogRequest& request = w.Services.Dialogs[0].Request;
    QCOMPARE(int(request.Filters.size()), 1);
    QCOMPARE(ToQt(request.Filters[0].Name), QString("Fichier Excel (*.csv)"));
    QCOMPARE(QString::fromStdString(request.Filters[0].Pattern), QString("*.csv"));
    QVERIFY(w.Services.Messages.empty());

    const std::string bytes = ExportedBytes(w, "results.csv");
    QVERIFY(bytes == ResultsExportText(w.Form->ShownTable(), w.Form->ResultsGrid()));
    QVERIFY(bytes.find(Latin1("Calcul terminé")) < bytes.find("\n;"));
    QVERIFY(bytes.find(";'-Log10(L);") != std::string::npos);

    w.Services.AnswerFile(PathFromQt(files_.Dir.filePath("missing/results.csv")), 1);
    w.Click("BitBtnExportResults");
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Error);
  }

  // The same options and seeds give the command line's grid, byte for byte: assignment of the
  // samples' individuals and of their groups, with Monte-Carlo probabilities, and migrant
  // detection.
  void sameAsCommandLine() {
#ifndef TARVIK_CLI_PATH
    QSKIP("tarvik2-cli is not built");
#else
    const QString reference = Example("reference.gen"), samples = Example("samples.gen");
    auto cli = [&](QStringList arguments, const char* name) {
      const QString out = files_.Dir.filePath(name);
      arguments << "-o" << out;
      QProcess process;
      process.start(TARVIK_CLI_PATH, arguments);
      process.waitForFinished(120000);
      return ReadFile(PathFromQt(out));
    };
    TWindow w;
    w.Form->OpenReference(PathFromQt(reference), TReadFormat::Unknown);
    w.Form->OpenSamples(PathFromQt(samples), TReadFormat::Unknown);
    w.Click("BitBtnStart");
    const std::string plain = GridPart(ExportedBytes(w, "w-plain.csv"));
    QVERIFY(!plain.empty());
    QVERIFY(plain == GridPart(cli({"assign", reference, "--samples", samples}, "c-plain.csv")));

    w.Click("RadioButtonAssignPopulations");
    w.Click("BitBtnStart");
    const std::string groups = GridPart(ExportedBytes(w, "w-groups.csv"));
    QVERIFY(groups != plain);
    QVERIFY(groups ==
            GridPart(cli({"assign", reference, "--samples", samples, "--groups"}, "c-groups.csv")));
    w.Click("RadioButtonAssignIndividuals");

    w.Click("CheckBoxSimulation");
    w.Find<QSlider>("TrackBarSimulatedIndividuals")->setValue(2);
    Seed(7, 11, 13, 5);
    w.Click("BitBtnStart");
    const std::string simulated = GridPart(ExportedBytes(w, "w-sim.csv"));
    QVERIFY(simulated.find(Latin1("probabilité")) != std::string::npos);
    QVERIFY(simulated == GridPart(cli({"assign", reference, "--samples", samples, "--simulate",
                                       "paetkau", "--simulated", "100", "--seed", "7,11,13,5"},
                                      "c-sim.csv")));

    w.Click("CheckBoxSimulation");
    w.Click("RadioButtonMigrantsDetection");
    w.Click("RadioButtonLhome");
    w.Click("BitBtnStart");
    const std::string migrants = GridPart(ExportedBytes(w, "w-mig.csv"));
    QVERIFY(migrants.find("origine") != std::string::npos);
    QVERIFY(migrants == GridPart(cli({"migrants", reference, "--statistic", "0"}, "c-mig.csv")));
#endif
  }

  // Printing: nothing before a run; a cancelled set-up prints nothing; a print job titled
  // "Tarvik2" with the journal and the grid, then "Impression terminée"; a printer that cannot
  // print gives "Impression annulée".
  void printing() {
    TWindow w;
    w.Form->OpenReference(files_.Reference, TReadFormat::Unknown);
    w.Click("BitBtnStart");
    w.Click("BitBtnPrintResults");
    QCOMPARE(w.Services.PrinterCalls, 1);
    QVERIFY(w.Services.Messages.empty());

    const std::string pdf = PathFromQt(files_.Dir.filePath("results.pdf"));
    w.Services.PrinterAnswer = true;
    w.Services.PrinterPdfPath = pdf;
    w.Click("BitBtnPrintResults");
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(w.Services.Messages[0].Kind, TMessageKind::Information);
    QCOMPARE(ToQt(w.Services.Messages[0].Text), Text(kPrintingDone));
    QVERIFY(!w.Services.Busy(w.Form.get()));
    QVERIFY(!ReadFile(pdf).empty());
    const QString text = PdfTool("pdftotext", pdf);
    if (!text.isEmpty()) {
      QVERIFY(text.contains(QString::fromUtf8("Echantillon assigné")));
      QVERIFY(text.contains(Text(kStartingComputation)));
      QVERIFY(text.contains("North"));
      QVERIFY(PdfTool("pdfinfo", pdf).contains(QRegularExpression("Title: +Tarvik2")));
    }

    w.Services.PrinterPdfPath = PathFromQt(files_.Dir.filePath("missing/results.pdf"));
    w.Click("BitBtnPrintResults");
    QCOMPARE(int(w.Services.Messages.size()), 2);
    QCOMPARE(w.Services.Messages[1].Kind, TMessageKind::Error);
    QCOMPARE(ToQt(w.Services.Messages[1].Text), Text(kPrintingCancelled));
    QVERIFY(!w.Services.Busy(w.Form.get()));
  }
};

TARVIK_WINDOW_TEST_MAIN(RunWindowTest)
#include "RunWindowTest.moc"
