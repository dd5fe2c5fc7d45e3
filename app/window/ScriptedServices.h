// Toolkit services for the tests: every call is recorded, and the answers of the boxes and
// dialogs are taken from queues filled beforehand. A box or dialog asked with an empty queue
// answers its default (the default button; a cancelled dialog) and is recorded all the same.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/window/ToolkitServices.h"

class TScriptedServices : public TToolkitServices {
public:
  struct TMessageCall {
    TMessageKind Kind;
    std::string Text;
    TMessageButtons Buttons;
    TMessageButton Default;
  };
  struct TDialogCall {
    bool Open;
    TFileDialogRequest Request;
  };

  std::deque<TMessageButton> MessageAnswers;
  std::deque<TFileDialogAnswer> DialogAnswers;
  // Run at each ProcessEvents call, before the real event processing (a click on Stop).
  std::deque<std::function<void()>> EventActions;
  bool PrinterAnswer = false;
  // When the set-up is answered, the printer prints to this PDF file (when not empty).
  std::string PrinterPdfPath;

  std::vector<TMessageCall> Messages;
  std::vector<TDialogCall> Dialogs;
  int ProcessEventsCalls = 0;
  int PrinterCalls = 0;
  // Every pointer change: the control (null for the whole program) and whether it is busy.
  std::vector<std::pair<QWidget*, bool>> Cursors;

  // The last pointer set for `control`: true for the hourglass.
  bool Busy(QWidget* control) const;

  // Queues a confirmed dialog answer.
  void AnswerFile(const std::string& path, int filterIndex) {
    DialogAnswers.push_back({true, path, filterIndex});
  }
  void AnswerCancel() { DialogAnswers.push_back({}); }

  TMessageButton MessageBox(TMessageKind kind, const std::string& text, TMessageButtons buttons,
                            TMessageButton defaultButton) override;
  TFileDialogAnswer OpenFile(const TFileDialogRequest& request) override;
  TFileDialogAnswer SaveFile(const TFileDialogRequest& request) override;
  void ProcessEvents() override;
  void SetBusyCursor(QWidget* control, bool busy) override;
  bool PrinterSetup(QPrinter& printer) override;

private:
  TFileDialogAnswer NextDialogAnswer(bool open, const TFileDialogRequest& request);
};
