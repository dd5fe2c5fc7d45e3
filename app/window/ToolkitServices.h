// What the windows ask of the widget toolkit beyond their own controls: message boxes, the open
// and save dialogs, processing of pending events, cursors and the printer set-up. Every window
// goes through this interface, so the tests can answer the dialogs (TScriptedServices) and the
// program shows the real ones (TQtServices).
//
// Texts are ISO-8859-1 bytes; paths are in the local 8-bit encoding of file names.
#pragma once

#include <string>
#include <vector>

class QWidget;
class QPrinter;

enum class TMessageKind { Warning, Error, Information, Confirmation };
enum class TMessageButtons { Ok, YesNo };
enum class TMessageButton { Ok, Yes, No };

// One entry of a dialog's filter list: "GenePop 3 (*)" with the pattern "*".
struct TFileFilter {
  std::string Name;
  std::string Pattern;
};

struct TFileDialogRequest {
  std::string Title;
  std::vector<TFileFilter> Filters;
  std::string DefaultExtension;
  // 1-based position of the filter entry chosen when the dialog opens.
  int SelectedFilter = 1;
};

struct TFileDialogAnswer {
  bool Confirmed = false;
  std::string Path;
  // 1-based position of the chosen filter entry.
  int FilterIndex = 1;
};

class TToolkitServices {
public:
  virtual ~TToolkitServices() = default;

  // Blocks until answered; answers the button pressed (Ok for a box with the OK button only).
  virtual TMessageButton MessageBox(TMessageKind kind, const std::string& text,
                                    TMessageButtons buttons, TMessageButton defaultButton) = 0;
  // The open dialog requires an existing file; neither dialog changes the working directory.
  virtual TFileDialogAnswer OpenFile(const TFileDialogRequest& request) = 0;
  virtual TFileDialogAnswer SaveFile(const TFileDialogRequest& request) = 0;
  // Runs the queued user-interface events (clicks on Stop included) and returns.
  virtual void ProcessEvents() = 0;
  // The hourglass (busy) or the default pointer over one control, or over every window of the
  // program when `control` is null.
  virtual void SetBusyCursor(QWidget* control, bool busy) = 0;
  // The printer set-up dialog; false when the user cancels.
  virtual bool PrinterSetup(QPrinter& printer) = 0;

  // A box with the OK button only.
  void Tell(TMessageKind kind, const std::string& text) {
    MessageBox(kind, text, TMessageButtons::Ok, TMessageButton::Ok);
  }
};
