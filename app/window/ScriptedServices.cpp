#include "app/window/ScriptedServices.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>

TMessageButton TScriptedServices::MessageBox(TMessageKind kind, const std::string& text,
                                             TMessageButtons buttons,
                                             TMessageButton defaultButton) {
  Messages.push_back({kind, text, buttons, defaultButton});
  if (MessageAnswers.empty()) return defaultButton;
  const TMessageButton answer = MessageAnswers.front();
  MessageAnswers.pop_front();
  return answer;
}

TFileDialogAnswer TScriptedServices::NextDialogAnswer(bool open,
                                                      const TFileDialogRequest& request) {
  Dialogs.push_back({open, request});
  if (DialogAnswers.empty()) return {};
  const TFileDialogAnswer answer = DialogAnswers.front();
  DialogAnswers.pop_front();
  return answer;
}

TFileDialogAnswer TScriptedServices::OpenFile(const TFileDialogRequest& request) {
  return NextDialogAnswer(true, request);
}

TFileDialogAnswer TScriptedServices::SaveFile(const TFileDialogRequest& request) {
  return NextDialogAnswer(false, request);
}

void TScriptedServices::ProcessEvents() {
  ++ProcessEventsCalls;
  if (!EventActions.empty()) {
    // Taken off the queue first: the action may itself process events.
    const std::function<void()> action = EventActions.front();
    EventActions.pop_front();
    action();
  }
  QCoreApplication::processEvents();
}

void TScriptedServices::SetBusyCursor(QWidget* control, bool busy) {
  Cursors.emplace_back(control, busy);
}

bool TScriptedServices::Busy(QWidget* control) const {
  for (auto call = Cursors.rbegin(); call != Cursors.rend(); ++call)
    if (call->first == control) return call->second;
  return false;
}

bool TScriptedServices::PrinterSetup(QPrinter& printer) {
  ++PrinterCalls;
  if (PrinterAnswer && !PrinterPdfPath.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(PrinterPdfPath.c_str()));
  }
  return PrinterAnswer;
}
