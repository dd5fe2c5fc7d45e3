// The main window's plot windows: one opened per click on "Graphiques ...", for the last
// completed run, listed in "&Fenêtres" until closed.
#include "app/window/FormPlot.h"
#include "app/window/FormPrinc.h"

void TFormPrinc::ShowPlots() {
  if (!LastRun.Available()) return;
  auto* window = new TFormPlot(services_, LastRun, this);
  PlotWindows.emplace_back(window);
  connect(window, &TFormPlot::Closed, this, [this](TFormPlot* closed) {
    std::erase_if(PlotWindows,
                  [closed](const QPointer<TFormPlot>& open) { return !open || open.data() == closed; });
    RebuildWindowsMenu();
  });
  window->show();
  RebuildWindowsMenu();
}
