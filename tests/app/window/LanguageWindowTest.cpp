// The language of the window: kept in the user's configuration file between starts, applied to
// every control at once, to the runs started afterwards, and to the help page opened.
#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "app/Browser.h"
#include "app/window/FormSplash.h"

using namespace wtest;

namespace {

QString IniPath() {
  return QDir::home().filePath(".tarvik.ini");
}

QByteArray ReadIni() {
  QFile file(IniPath());
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

void WriteIni(const QByteArray& text) {
  QFile file(IniPath());
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

// Every text the window shows in its controls, by the control's name: button and label texts,
// group titles, tab captions, menu and action texts.
QMap<QString, QString> ControlTexts(const TFormPrinc& form) {
  QMap<QString, QString> texts;
  auto put = [&texts](const QString& key, const QString& text) {
    if (!text.trimmed().isEmpty()) texts.insert(key, text);
  };
  for (const QAbstractButton* button : form.findChildren<QAbstractButton*>())
    put("button " + button->objectName(), button->text());
  for (const QLabel* label : form.findChildren<QLabel*>())
    if (!label->objectName().startsWith("StatusBarPanel") && label->objectName() != "LabelScore" &&
        label->objectName() != "LabelBC")
      put("label " + label->objectName(), label->text());
  for (const QGroupBox* group : form.findChildren<QGroupBox*>())
    put("group " + group->objectName(), group->title());
  for (const QTabWidget* tabs : form.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i)
      put("tab " + tabs->widget(i)->objectName(), tabs->tabText(i));
  for (const QMenu* menu : form.findChildren<QMenu*>())
    put("menu " + menu->objectName(), menu->title());
  for (const QAction* action : form.findChildren<QAction*>())
    if (!action->isSeparator() && !action->objectName().isEmpty())
      put("action " + action->objectName(), action->text());
  return texts;
}

} // namespace

class LanguageWindowTest : public QObject {
  Q_OBJECT

private slots:
  void init() { QFile::remove(IniPath()); }

  // No configuration: French, and the user's file is made with 0. English chosen: the file
  // holds 2057 and the next window starts in English. An id stored by hand other than the two
  // gives French with no language checked. The file's other sections stay.
  void keptBetweenStarts() {
    {
      TWindow w;
      QCOMPARE(w.Form->CurrentLanguage, 0);
      QCOMPARE(w.Find<QAbstractButton>("BitBtnStart")->text(), QString::fromUtf8("Démarrer"));
      QVERIFY(ReadIni().contains("[Languages]\nCurrentLanguage=0\n"));
      QVERIFY(!w.Form->findChild<QAction*>("Franais1")->isChecked());
      w.Form->findChild<QAction*>("Anglais1")->trigger();
      QVERIFY(ReadIni().contains("CurrentLanguage=2057"));
    }
    {
      TWindow w;
      QCOMPARE(w.Form->CurrentLanguage, lang::English);
      QCOMPARE(w.Find<QAbstractButton>("BitBtnStart")->text(), QStringLiteral("Start"));
      QVERIFY(w.Form->findChild<QAction*>("Anglais1")->isChecked());
      QVERIFY(!w.Form->findChild<QAction*>("Franais1")->isChecked());
      QVERIFY(w.Form->Splash->findChild<QLabel*>("Label1")->text().startsWith("Theoretical"));
      w.Form->findChild<QAction*>("Franais1")->trigger();
    }
    WriteIni("[Window]\nwidth=3\n[Languages]\nCurrentLanguage=7\n");
    {
      TWindow w;
      QCOMPARE(w.Form->CurrentLanguage, 7);
      QCOMPARE(w.Find<QAbstractButton>("BitBtnStart")->text(), QString::fromUtf8("Démarrer"));
      QVERIFY(!w.Form->findChild<QAction*>("Franais1")->isChecked());
      QVERIFY(!w.Form->findChild<QAction*>("Anglais1")->isChecked());
    }
    QVERIFY(ReadIni().startsWith("[Window]\nwidth=3\n"));
  }

  // Every control text changes with the language, but for the few that are the same in both,
  // and comes back when French is chosen again. A run started afterwards speaks English.
  void everyControlSwitches() {
    TWindow w;
    const QMap<QString, QString> french = ControlTexts(*w.Form);
    w.Form->SetLanguage(lang::English);
    const QMap<QString, QString> english = ControlTexts(*w.Form);
    // Names of methods, the goal's group, units and the buttons without words keep their text.
    const QSet<QString> same = {"Application",
                                "Rannala &&  Mountain",
                                "Baudouin &&  Lebrun",
                                "Baudouin2 (TEST)",
                                "Cornuet (TEST)",
                                "Paetkau et al.",
                                "Nei Standard",
                                "Nei Minimum",
                                "Nei DA",
                                "Cavalli-Sforza &&  Edwards",
                                "Goldstein et al.",
                                "Rogers",
                                "Rannala &&  Mountain (1997)",
                                "Cornuet et al. (1999)",
                                "Paetkau et al. (2003)",
                                "Paetkau et al. (2004)",
                                "Journal",
                                "&?",
                                "WWW ...",
                                "Stop"};
    QCOMPARE(english.keys(), french.keys());
    for (auto it = french.cbegin(); it != french.cend(); ++it) {
      if (same.contains(it.value())) continue;
      QVERIFY2(english.value(it.key()) != it.value(),
               qPrintable(it.key() + " stays \"" + it.value() + "\""));
    }
    w.Form->SetLanguage(lang::French);
    QCOMPARE(ControlTexts(*w.Form), french);

    w.Form->SetLanguage(lang::English);
    TExampleFiles files;
    w.Form->OpenReference(files.Reference, TReadFormat::Unknown);
    w.Click("BitBtnStart");
    QVERIFY(w.Journal().contains("        Assignment of individuals."));
    QCOMPARE(ToQt(w.Form->ResultsGrid().Text(0, 1)), QStringLiteral("Assigned sample"));
    w.Form->SetLanguage(lang::French);
    // What was written keeps its language.
    QCOMPARE(ToQt(w.Form->ResultsGrid().Text(0, 1)), QStringLiteral("Assigned sample"));
  }

  // "Aide..." opens the help of the current language in the browser, as one argument; a
  // browser that cannot be started is said so. "A propos ..." shows the splash for 30 seconds
  // while the window waits.
  void helpAndAbout() {
    TWindow w;
    const QString record = QDir::home().filePath("arguments.txt");
    const QString script = QDir::home().filePath("browser.sh");
    {
      QFile file(script);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".part' && mv '" + record +
                  ".part' '" + record + "'\n")
                     .toLocal8Bit());
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("BROWSER", QFile::encodeName(script));
    w.Form->SetLanguage(lang::English);
    w.Form->findChild<QAction*>("MenuItemAide")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 5000);
    QFile recorded(record);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(recorded.readAll()),
             QString::fromLocal8Bit(HelpIndexPath(lang::English).c_str()) + "\n");
    QVERIFY(w.Services.Messages.empty());

    qputenv("BROWSER", "/nonexistent/browser");
    w.Form->findChild<QAction*>("WWW1")->trigger();
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(w.Services.Messages[0].Text, kBrowserNotDefined.English());
    qunsetenv("BROWSER");

    w.Form->findChild<QAction*>("Apropos1")->trigger();
    QVERIFY(!w.Form->isEnabled());
    QVERIFY(w.Form->Splash->isVisible());
    QCOMPARE(w.Form->Splash->Timer->interval(), TFormSplash::kAboutMilliseconds);
    QTest::keyClick(w.Form->Splash.get(), Qt::Key_Escape);
    QVERIFY(!w.Form->Splash->isVisible());
    QVERIFY(w.Form->isEnabled());
  }
};

TARVIK_WINDOW_TEST_MAIN(LanguageWindowTest)
#include "LanguageWindowTest.moc"
