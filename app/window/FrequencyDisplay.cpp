#include "app/window/FrequencyDisplay.h"

#include <QScreen>

#include "app/window/FormFrequencyDisplay.h"

TFormFrequencyDisplay* TFrequencyDisplay::ShowStatistics(TToolkitServices& services,
                                                        QWidget* owner) {
  auto* window = new TFormFrequencyDisplay(services, owner);
  window->ShowDataSet(PGDSStructure, language_);
  // Centred on the desktop.
  if (const QScreen* screen = owner ? owner->screen() : window->screen())
    window->move(screen->availableGeometry().center() - window->rect().center());
  window->show();
  return window;
}

void TFrequencyDisplay::SetLanguage(int languageId) {
  language_ = languageId == lang::English ? lang::English : lang::French;
}
