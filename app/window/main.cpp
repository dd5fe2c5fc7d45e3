// tarvik2: the main window. `tarvik2 [REFERENCE [SAMPLES]]` opens the files given, as the open
// buttons do, with their format found from the files.
#include <QApplication>
#include <QScreen>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ProgramStart.h"
#include "app/window/FormPrinc.h"
#include "app/window/FormSplash.h"
#include "app/window/QtServices.h"
#include "app/window/WindowTexts.h"

namespace {

void PrintNoDisplay() {
  std::fprintf(stderr, "%s\n", Utf8(wtext::kNoDisplay()).c_str());
}

// Qt ends the program when no display can be reached: the user gets a sentence instead of an
// abort.
void MessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  const QByteArray text = message.toLocal8Bit();
  if (type == QtFatalMsg) {
    if (message.contains(QLatin1String("platform plugin")) ||
        message.contains(QLatin1String("display"))) {
      PrintNoDisplay();
      std::_Exit(1);
    }
    std::fprintf(stderr, "%s\n", text.constData());
    std::abort();
  }
  std::fprintf(stderr, "%s\n", text.constData());
}

bool DisplayExpected() {
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return true;
  }
  return false;
}

} // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))) {
    std::printf("Usage: %s [REFERENCE [SAMPLES]]\n", argv[0]);
    return 0;
  }
  if (!DisplayExpected()) {
    PrintNoDisplay();
    return 1;
  }
  qInstallMessageHandler(MessageHandler);
  QApplication application(argc, argv);
  // Every number of the program is written and read with "." as decimal separator.
  UseDotDecimalSeparator();
  QApplication::setApplicationName("Tarvik2");

  TQtServices services;
  TFormPrinc window(services);
  services.SetParent(&window);
  if (const QScreen* screen = window.screen())
    window.move(screen->availableGeometry().center() - window.rect().center());
  // The window waits for the splash: it is usable once the splash hides (after two seconds, or
  // on a click or a key).
  window.setEnabled(false);
  window.show();
  window.Splash->ShowFor(TFormSplash::kStartMilliseconds);

  if (argc > 1) window.OpenReference(argv[1], TReadFormat::Unknown);
  if (argc > 2) window.OpenSamples(argv[2], TReadFormat::Unknown);
  return QApplication::exec();
}
