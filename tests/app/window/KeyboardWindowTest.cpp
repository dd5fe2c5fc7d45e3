// The window without a mouse: the "&" accelerators and the Tab order along the layout.
#include <QListWidget>
#include <QTabWidget>

#include "WindowTestSupport.h"

using namespace wtest;

class KeyboardWindowTest : public QObject {
  Q_OBJECT

private slots:
  // Alt and the underlined letter presses the button of the tab shown.
  void accelerators() {
    const TExampleFiles files;
    TWindow w;
    w.Form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.Form.get()));
    w.Form->OpenReference(files.Reference, TReadFormat::Unknown);
    w.Find<QTabWidget>("PageControlParameters")->setCurrentIndex(3);
    auto* list = w.Find<QListWidget>("CheckListBoxFiltreLocus");
    QTest::keyClick(w.Form.get(), Qt::Key_A, Qt::AltModifier);
    // A button pressed from the keyboard shows itself pressed for a moment, then acts.
    QTRY_COMPARE(list->item(0)->checkState(), Qt::Unchecked);
    QTest::keyClick(w.Form.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_COMPARE(list->item(0)->checkState(), Qt::Checked);
  }

  // Tab goes from control to control in reading order.
  void tabOrder() {
    TWindow w;
    QStringList order;
    QWidget* start = w.Find<QWidget>("EditAssignationReference");
    for (QWidget* next = start->nextInFocusChain(); next != start; next = next->nextInFocusChain())
      if (next->focusPolicy() & Qt::TabFocus && !next->objectName().isEmpty() &&
          !next->objectName().startsWith("qt_"))
        order << next->objectName();
    const QStringList expected = {"BitBtnAssignationOuvrirReference",
                                  "SpeedButtonClearReference",
                                  "BitBtnDisplayFrequencyRef",
                                  "EditAssignationEchantillons",
                                  "BitBtnAssignationOuvrirEchantillon",
                                  "SpeedButtonClearSamples",
                                  "BitBtnDisplayFrequencySamp",
                                  "RadioButtonAssignment",
                                  "RadioButtonMigrantsDetection",
                                  "RadioButtonAssignIndividuals",
                                  "RadioButtonLhome",
                                  "TrackBarAssignmentThreshold",
                                  "RadioButtonRannala",
                                  "TrackBarPaetkau",
                                  "RadioButtonNeiStandard",
                                  "CheckBoxSimulation",
                                  "TrackBarSimulatedIndividuals",
                                  "TrackBarPvalue",
                                  "CheckListBoxFiltreLocus",
                                  "BitBtnFiltreLocusTous",
                                  "BitBtnStart",
                                  "SpinEditScores",
                                  "MemoJournal"};
    // Each expected control comes after the one before it.
    qsizetype at = -1;
    for (const QString& name : expected) {
      const qsizetype found = order.indexOf(name, at + 1);
      QVERIFY2(found > at, qPrintable(name + " out of order in " + order.join(' ')));
      at = found;
    }
  }
};

TARVIK_WINDOW_TEST_MAIN(KeyboardWindowTest)
#include "KeyboardWindowTest.moc"
