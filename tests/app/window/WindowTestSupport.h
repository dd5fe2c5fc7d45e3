// What the window tests share: the main function, the window with scripted services, finding
// controls by objectName, and genotype files written into a temporary folder.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "app/window/FormPrinc.h"
#include "app/window/ScriptedServices.h"
#include "app/window/TextConversion.h"
#include "tests/support/Files.h"

namespace wtest {

// The main window with its dialogs answered by the test, shown as the program shows it.
struct TWindow {
  TScriptedServices Services;
  std::unique_ptr<TFormPrinc> Form;

  TWindow() : Form(std::make_unique<TFormPrinc>(Services)) { Form->show(); }

  template <typename T>
  T* Find(const char* name) const {
    T* control = Form->findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("no control named %s", name);
    return control;
  }

  void Click(const char* name) const;
  // Journal lines without their time stamps.
  QStringList Journal() const;
  // The items of the "&Fenêtres" menu.
  QStringList WindowsMenu() const;
};

// The text output of a poppler tool (pdftotext, pdfinfo) on a PDF file; empty when the tool is
// not installed, so that the checks of the printed text are skipped.
QString PdfTool(const char* tool, const std::string& pdf);

// A Genepop file: title, one locus per line, then each population.
struct TPopulation {
  std::string Name;
  std::vector<std::string> Individuals; // "ind , 0101 0202"
};
std::string WriteGenepop(const QTemporaryDir& dir, const std::string& file,
                         const std::vector<std::string>& loci,
                         const std::vector<TPopulation>& populations);
std::string WriteText(const QTemporaryDir& dir, const std::string& file, const std::string& text);
using support::ReadFile;

// A reference of two populations at two loci (one genotype missing in South) and a samples file
// of one individual at the same loci.
struct TExampleFiles {
  QTemporaryDir Dir;
  std::string Reference, Samples;
  TExampleFiles();
};

} // namespace wtest

// Each test program: offscreen unless told otherwise, "." as decimal separator, a home folder
// of its own.
#define TARVIK_WINDOW_TEST_MAIN(TestClass)                                                    \
  int main(int argc, char** argv) {                                                           \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
    /* A home folder of the test's own: the user's configuration file stays out of it. */     \
    QTemporaryDir home;                                                                       \
    qputenv("HOME", QFile::encodeName(home.path()));                                          \
    QApplication application(argc, argv);                                                     \
    std::setlocale(LC_NUMERIC, "C");                                                          \
    TestClass test;                                                                           \
    return QTest::qExec(&test, argc, argv);                                                   \
  }

// ---- inline helpers

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

inline void wtest::TWindow::Click(const char* name) const {
  QAbstractButton* button = Find<QAbstractButton>(name);
  if (!button->isEnabled()) qFatal("%s is disabled", name);
  // Near the left edge: a radio button or check box answers on its mark and caption only.
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

inline QStringList wtest::TWindow::Journal() const {
  QStringList lines = Find<QPlainTextEdit>("MemoJournal")->toPlainText().split('\n');
  static const QRegularExpression stamp("^[0-9/: .-]+ (- |:$)");
  for (QString& line : lines)
    line.remove(stamp);
  return lines;
}

inline QStringList wtest::TWindow::WindowsMenu() const {
  QStringList captions;
  for (const QAction* item : Form->menuItemFenetres->actions())
    captions << item->text();
  return captions;
}

inline QString wtest::PdfTool(const char* tool, const std::string& pdf) {
  const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (program.isEmpty()) return {};
  QStringList arguments = {PathToQt(pdf)};
  if (QLatin1String(tool) == QLatin1String("pdftotext")) arguments << "-";
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

inline std::string wtest::WriteText(const QTemporaryDir& dir, const std::string& file,
                                    const std::string& text) {
  const std::string path = PathFromQt(dir.filePath(QString::fromUtf8(file.c_str())));
  support::WriteFile(path, text);
  return path;
}

inline std::string wtest::WriteGenepop(const QTemporaryDir& dir, const std::string& file,
                                       const std::vector<std::string>& loci,
                                       const std::vector<TPopulation>& populations) {
  std::string text = "Test data\n";
  for (const std::string& locus : loci)
    text += locus + "\n";
  for (const TPopulation& population : populations) {
    text += "Pop " + population.Name + "\n";
    for (const std::string& individual : population.Individuals)
      text += individual + "\n";
  }
  return WriteText(dir, file, text);
}

inline wtest::TExampleFiles::TExampleFiles() {
  Reference = WriteGenepop(Dir, "ref.gen", {"L1", "L2"},
                           {{"North", {"n1 , 0101 0102", "n2 , 0102 0202"}},
                            {"South", {"s1 , 0202 0101", "s2 , 0101 0000"}}});
  Samples = WriteGenepop(Dir, "samples.gen", {"L1", "L2"}, {{"Unknown", {"u1 , 0101 0202"}}});
}
