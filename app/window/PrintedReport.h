// Printing a grid report (the results grid, the statistics grid): the printer set-up, then the
// pages laid out by LayOutPrint drawn one by one on the printer, the busy pointer meanwhile, and
// the box that says whether the printing ended or was cancelled.
#pragma once

#include <QFont>
#include <functional>
#include <string>

#include "app/PrintLayout.h"

class QWidget;
class TToolkitServices;

struct TPrintRequest {
  std::string JobTitle;
  // The grid's screen font: its pixel height is scaled like the rows.
  QFont Font;
  // What to print; asked for once the printer is chosen.
  std::function<TPrintSource()> Source;
  std::string DoneText;
  std::string CancelledText;
};

// Nothing happens when the set-up is cancelled. Returns true when the report was printed.
bool PrintReport(TToolkitServices& services, QWidget* window, const TPrintRequest& request);
