// The splash window, shown at start while the main window stays disabled, and again as the
// "A propos" box: the program's picture, drawn by the program itself, its version and build
// date, the credits, and a link to the program's home page. A click or a key closes it, and so
// does its timer.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;
class TToolkitServices;

class TFormSplash : public QWidget {
  Q_OBJECT

public:
  static constexpr int kStartMilliseconds = 2000;
  static constexpr int kAboutMilliseconds = 30000;

  explicit TFormSplash(TToolkitServices& services, QWidget* parent = nullptr);

  // 1036 French, 2057 English, any other id French.
  void SetLanguage(int id);
  // Shows the window for `milliseconds`, centred on the screen.
  void ShowFor(int milliseconds);

  QTimer* Timer = nullptr;

signals:
  // The window has been hidden: by its timer, a click or a key.
  void Hidden();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void LabelSiteClick();

  TToolkitServices& services_;
  QLabel* ImageSplash = nullptr;
  QLabel* LabelVersion = nullptr;
  QLabel* LabelDate = nullptr;
  QLabel* LabelSite = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
};

// The picture of the splash window: a band of individuals drawn as membership bars over a few
// populations, with the program's name.
class QPixmap;
class QSize;
QPixmap SplashPicture(const QSize& size);
