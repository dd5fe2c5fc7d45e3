#include "app/window/QtServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

#include "app/window/TextConversion.h"

namespace {

QMessageBox::StandardButton ToQtButton(TMessageButton button) {
  switch (button) {
  case TMessageButton::Yes:
    return QMessageBox::Yes;
  case TMessageButton::No:
    return QMessageBox::No;
  default:
    return QMessageBox::Ok;
  }
}

QMessageBox::Icon ToQtIcon(TMessageKind kind) {
  switch (kind) {
  case TMessageKind::Warning:
    return QMessageBox::Warning;
  case TMessageKind::Error:
    return QMessageBox::Critical;
  case TMessageKind::Confirmation:
    return QMessageBox::Question;
  default:
    return QMessageBox::Information;
  }
}

// Runs a file dialog; the chosen filter is found back by its position in the list.
TFileDialogAnswer RunFileDialog(QWidget* parent, const TFileDialogRequest& request, bool open) {
  QStringList filters;
  for (const TFileFilter& filter : request.Filters)
    filters << ToQt(filter.Name);
  QFileDialog dialog(parent, ToQt(request.Title));
  dialog.setNameFilters(filters);
  if (request.SelectedFilter >= 1 && request.SelectedFilter <= filters.size())
    dialog.selectNameFilter(filters[request.SelectedFilter - 1]);
  dialog.setDefaultSuffix(ToQt(request.DefaultExtension));
  if (open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  }
  TFileDialogAnswer answer;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
  answer.Confirmed = true;
  answer.Path = PathFromQt(dialog.selectedFiles().constFirst());
  answer.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (answer.FilterIndex < 1) answer.FilterIndex = 1;
  return answer;
}

} // namespace

TMessageButton TQtServices::MessageBox(TMessageKind kind, const std::string& text,
                                       TMessageButtons buttons, TMessageButton defaultButton) {
  QMessageBox box(ToQtIcon(kind), QApplication::applicationName(), ToQt(text),
                  buttons == TMessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                    : QMessageBox::Ok,
                  parent_);
  box.setDefaultButton(ToQtButton(defaultButton));
  box.setEscapeButton(buttons == TMessageButtons::YesNo ? QMessageBox::No : QMessageBox::Ok);
  switch (box.exec()) {
  case QMessageBox::Yes:
    return TMessageButton::Yes;
  case QMessageBox::No:
    return TMessageButton::No;
  default:
    return TMessageButton::Ok;
  }
}

TFileDialogAnswer TQtServices::OpenFile(const TFileDialogRequest& request) {
  return RunFileDialog(parent_, request, true);
}

TFileDialogAnswer TQtServices::SaveFile(const TFileDialogRequest& request) {
  return RunFileDialog(parent_, request, false);
}

void TQtServices::ProcessEvents() {
  QApplication::processEvents();
}

void TQtServices::SetBusyCursor(QWidget* control, bool busy) {
  if (control) {
    control->setCursor(busy ? Qt::WaitCursor : Qt::ArrowCursor);
    return;
  }
  if (busy == applicationBusy_) return;
  applicationBusy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool TQtServices::PrinterSetup(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}
