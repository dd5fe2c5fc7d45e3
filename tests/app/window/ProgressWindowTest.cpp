// The window lock, the journal, the progress bar and status bar, and the stop question, as the
// data sets and the engine drive them.
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>

#include "WindowTestSupport.h"
#include "base/Progress.h"

using namespace wtest;

class ProgressWindowTest : public QObject {
  Q_OBJECT

private slots:
  // Running: only Stop, the journal and the displays stay usable; menus are off. Idle again:
  // the automaton decides.
  void lock() {
    TWindow w;
    w.Form->SetRunningState(true);
    QVERIFY(w.Find<QWidget>("ToolButtonArret")->isEnabled());
    QVERIFY(w.Services.Busy(w.Form.get()));
    QVERIFY(!w.Services.Busy(w.Find<QWidget>("ToolButtonArret")));
    for (const char* locked : {"ToolButtonOuvrir", "BitBtnAssignationOuvrirReference",
                               "RadioButtonMigrantsDetection", "CheckBoxSimulation",
                               "BitBtnFiltreLocusTous", "BitBtnExportResults"})
      QVERIFY2(!w.Find<QWidget>(locked)->isEnabled(), locked);
    QVERIFY(w.Find<QWidget>("MemoJournal")->isEnabled());
    QVERIFY(!w.Form->menuItemOuvrirReference->isEnabled());
    QVERIFY(!w.Form->menuItemQuitter->isEnabled());
    QVERIFY(!w.Form->menuItemFenetres->menuAction()->isEnabled());

    // Closing the window while busy asks to stop instead.
    QCloseEvent close;
    QCoreApplication::sendEvent(w.Form.get(), &close);
    QVERIFY(!close.isAccepted());
    QVERIFY(w.Form->Driver.StopRequested);
    w.Form->Driver.StopRequested = false;

    w.Form->SetRunningState(false);
    w.Form->SetRunningState(false);
    QVERIFY(!w.Services.Busy(w.Form.get()));
    QVERIFY(!w.Find<QWidget>("ToolButtonArret")->isEnabled());
    QVERIFY(w.Find<QWidget>("RadioButtonMigrantsDetection")->isEnabled());
    QVERIFY(w.Find<QWidget>("CheckBoxSimulation")->isEnabled());
    QVERIFY(!w.Find<QWidget>("BitBtnStart")->isEnabled());
    QVERIFY(!w.Find<QWidget>("SpeedButtonClearReference")->isEnabled());
    QVERIFY(w.Form->menuItemOuvrirReference->isEnabled());
    QVERIFY(!w.Form->menuItemSauverReference->isEnabled());
  }

  // The engine's progress through the hook the window installs: bar, caption, status panels;
  // the stop question answered No then Yes.
  void engineProgress() {
    TWindow w;
    auto* bar = w.Find<QProgressBar>("ProgressBar");
    QCOMPARE(ReportProgress("AFFECTATION ...", "3/7", 42.4L), false);
    QCOMPARE(bar->value(), 42);
    QCOMPARE(bar->text(), QString("42 %"));
    QCOMPARE(w.Find<QLabel>("StatusBarPanel2")->text(), QString("AFFECTATION ..."));
    QCOMPARE(w.Find<QLabel>("StatusBarPanel3")->text(), QString("3/7"));
    ReportProgress("", "", 50);
    QCOMPARE(w.Find<QLabel>("StatusBarPanel2")->text(), QString("AFFECTATION ..."));
    QVERIFY(w.Find<QLabel>("StatusBarPanel3")->text().isEmpty());
    ReportProgress("X", "Y", 150); // out of range: nothing shown
    QCOMPARE(bar->value(), 50);
    QCOMPARE(w.Find<QLabel>("StatusBarPanel2")->text(), QString("AFFECTATION ..."));

    w.Form->SetRunningState(true);
    w.Click("ToolButtonArret");
    // A second click before the next report asks nothing more.
    w.Click("ToolButtonArret");
    w.Services.MessageAnswers = {TMessageButton::No, TMessageButton::Yes};
    QCOMPARE(ReportProgress("", "", 60), false);
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QVERIFY(!w.Form->Driver.StopRequested);
    QCOMPARE(ReportProgress("", "", 70), false);
    QCOMPARE(int(w.Services.Messages.size()), 1);
    w.Click("ToolButtonArret");
    QCOMPARE(ReportProgress("", "", 80), true);
    QVERIFY(w.Form->Driver.StopRequested);
    QCOMPARE(int(w.Services.Messages.size()), 2);
    QCOMPARE(int(w.Services.Messages[1].Default), int(TMessageButton::No));
    w.Form->SetRunningState(false);
  }

  // Journal lines and blocks: date and time, then " - " and the text, or " :" and the lines
  // indented by eight blanks; texts keep their accents.
  void journal() {
    TWindow w;
    w.Form->LogLine(Latin1("Fichier chargé"));
    w.Form->LogBlock({"first", "second"});
    const QString text = w.Find<QWidget>("MemoJournal")->property("plainText").toString();
    const QStringList lines = text.split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].endsWith(QString::fromUtf8(" - Fichier chargé")));
    QVERIFY(lines[1].endsWith(" :"));
    QCOMPARE(lines[2], QString("        first"));
    QCOMPARE(lines[3], QString("        second"));
  }

  // The hook belongs to the window while it lives.
  void hookLifetime() {
    {
      TWindow w;
      QVERIFY(bool(ProgressHook()));
    }
    QVERIFY(!ProgressHook());
  }

  // Controls without a caption of their own carry a name in the current language.
  void accessibleNames() {
    TWindow w;
    QCOMPARE(w.Find<QWidget>("TrackBarPvalue")->accessibleName(),
             QString("Erreur de type I (alpha)"));
    QCOMPARE(w.Find<QWidget>("LCDNumberPvalue")->accessibleDescription(), QString("0.01"));
    w.Form->Anglais1->trigger();
    QCOMPARE(w.Find<QWidget>("CheckListBoxFiltreLocus")->accessibleName(), QString("Loci list"));
    QCOMPARE(w.Find<QWidget>("TrackBarPvalue")->accessibleName(), QString("Type I error (alpha)"));
    w.Form->Franais1->trigger();
  }
};

TARVIK_WINDOW_TEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
