// The toolkit services shown by Qt: QMessageBox, QFileDialog, QPrintDialog, the application's
// event loop and cursors.
#pragma once

#include "app/window/ToolkitServices.h"

class TQtServices : public TToolkitServices {
public:
  // Dialogs and boxes are modal to `parent` (may be null).
  explicit TQtServices(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }

  TMessageButton MessageBox(TMessageKind kind, const std::string& text, TMessageButtons buttons,
                            TMessageButton defaultButton) override;
  TFileDialogAnswer OpenFile(const TFileDialogRequest& request) override;
  TFileDialogAnswer SaveFile(const TFileDialogRequest& request) override;
  void ProcessEvents() override;
  void SetBusyCursor(QWidget* control, bool busy) override;
  bool PrinterSetup(QPrinter& printer) override;

private:
  QWidget* parent_;
  // The override cursor is a stack in Qt: only one busy level is pushed at a time.
  bool applicationBusy_ = false;
};
