// The main window while a file loads or a run computes: the lock, the journal, the progress
// bar and status bar, and the Stop button.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>

#include "app/AppTexts.h"
#include "app/window/FormPrinc.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"

namespace {

// Controls that stay usable while the window is locked: the tool bar (whose Stop button is the
// only one enabled), the journal and what holds it, and the progress and status displays.
bool StaysUsable(const QString& name) {
  static const QStringList names = {"ToolBar1",      "MemoJournal", "LabelJournal",
                                    "PageControlPrinc", "TabSheetJournal", "ProgressBar",
                                    "StatusBar"};
  return names.contains(name) || name.startsWith(QLatin1String("StatusBarPanel"));
}

void SetMenuEnabled(const QList<QAction*>& items, bool enabled) {
  for (QAction* item : items) {
    item->setEnabled(enabled);
    if (item->menu()) SetMenuEnabled(item->menu()->actions(), enabled);
  }
}

} // namespace

void TFormPrinc::SetRunningState(bool running) {
  running_ = running;
  for (QWidget* control : findChildren<QWidget*>()) {
    // The statistics windows are windows of their own.
    if (control->window() != this) continue;
    const QString name = control->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || StaysUsable(name)) continue;
    if (control == ToolButtonArret) {
      control->setEnabled(running);
      // The pointer over Stop says it can be pressed while the rest of the window is busy.
      services_.SetBusyCursor(control, false);
    } else {
      control->setEnabled(!running);
    }
  }
  SetMenuEnabled(menuBar()->actions(), !running);
  services_.SetBusyCursor(this, running);
  automateInterface();
}

void TFormPrinc::AppendJournal(const std::string& line) {
  MemoJournal->appendPlainText(ToQt(line));
}

void TFormPrinc::Warning(const std::string& text) {
  services_.Tell(TMessageKind::Warning, text);
}

void TFormPrinc::Message(const std::string& text) {
  services_.Tell(TMessageKind::Error, text);
}

bool TFormPrinc::Confirm(const std::string& question) {
  return services_.MessageBox(TMessageKind::Confirmation, question, TMessageButtons::YesNo,
                              TMessageButton::No) == TMessageButton::Yes;
}

void TFormPrinc::SetStatus(int panel, const std::string& text) {
  if (panel >= 0 && panel < 4) StatusPanels[panel]->setText(ToQt(text));
}

void TFormPrinc::SetProgress(int percent) {
  ProgressBar->setValue(percent);
}

void TFormPrinc::ProcessEvents() {
  services_.ProcessEvents();
}

void TFormPrinc::ShowJournalTab() {
  PageControlPrinc->setCurrentWidget(TabSheetJournal);
}

void TFormPrinc::EngineProgress(int percent, const std::string& text2, const std::string& text3,
                                bool& abort) {
  Driver.EngineProgress(percent, text2, text3, abort);
}

void TFormPrinc::dataStructureDataStructureEvent(TLogger&, int position, bool& abort) {
  ProgressBar->setValue(position);
  // Nothing for the status panels: only the stop question and the pending events.
  Driver.EngineProgress(-1, std::string(), std::string(), abort);
}

void TFormPrinc::ToolButtonArretClick() {
  Driver.RequestStop();
}

void TFormPrinc::ProgressBarChanging(int position) {
  ProgressBar->setFormat(ToQt(Format(kProgressCaption(), position)));
}
