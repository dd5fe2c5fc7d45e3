#include "app/window/FrequencyDisplay.h"

#include "app/window/FormFrequencyDisplay.h"

TFormFrequencyDisplay* TFrequencyDisplay::ShowStatistics(TToolkitServices& services,
                                                        QWidget* owner) {
  auto* window = new TFormFrequencyDisplay(services, owner);
  window->ShowDataSet(PGDSStructure, language_);
  window->show();
  return window;
}

void TFrequencyDisplay::SetLanguage(int languageId) {
  language_ = languageId == lang::English ? lang::English : lang::French;
}
