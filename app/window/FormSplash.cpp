#include "app/window/FormSplash.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "app/AppTexts.h"
#include "app/Browser.h"
#include "app/window/SplashTexts.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"

#ifndef TARVIK_VERSION
#define TARVIK_VERSION "2.0"
#endif
#ifndef TARVIK_BUILD_DATE
#define TARVIK_BUILD_DATE __DATE__
#endif

namespace {

constexpr int kWidth = 522;
constexpr int kHeight = 347;

QLabel* NewLabel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setWordWrap(true);
  return label;
}

} // namespace

QPixmap SplashPicture(const QSize& size) {
  QPixmap picture(size);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(0x1f, 0x3a, 0x4d));
  sky.setColorAt(1, QColor(0x5a, 0x6e, 0x7a));
  painter.fillRect(picture.rect(), sky);

  // Thirty individuals, each a bar split among three populations, drifting from one population
  // to the next as a cline does.
  const QColor colours[] = {QColor(0xe6, 0x9f, 0x00), QColor(0x56, 0xb4, 0xe9),
                            QColor(0x00, 0x9e, 0x73)};
  const int bars = 30;
  const double left = size.width() * 0.06, right = size.width() * 0.94;
  const double top = size.height() * 0.34, bottom = size.height() * 0.62;
  const double step = (right - left) / bars;
  for (int i = 0; i < bars; ++i) {
    const double t = static_cast<double>(i) / (bars - 1);
    double shares[3] = {std::max(0.0, 1 - 2 * t), 1 - std::abs(2 * t - 1), std::max(0.0, 2 * t - 1)};
    double y = top;
    for (int k = 0; k < 3; ++k) {
      const double h = (bottom - top) * shares[k];
      painter.fillRect(QRectF(left + i * step + 1, y, step - 2, h), colours[k]);
      y += h;
    }
  }
  painter.setPen(QColor(0xf0, 0xf0, 0xf0));
  QFont title = painter.font();
  title.setPixelSize(size.height() / 7);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRectF(0, size.height() * 0.06, size.width(), size.height() * 0.2),
                   Qt::AlignCenter, QStringLiteral("Tarvik2"));
  return picture;
}

TFormSplash::TFormSplash(TToolkitServices& services, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      services_(services) {
  setObjectName(QStringLiteral("FormSplash"));
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(grey);

  ImageSplash = NewLabel(this, "ImageSplash", rect());
  ImageSplash->setPixmap(SplashPicture(size()));

  const QColor light(0xf0, 0xf0, 0xf0);
  auto lightText = [&light](QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, light);
    label->setPalette(p);
  };
  LabelVersion = NewLabel(this, "LabelVersion", QRect(24, 100, 230, 20));
  LabelDate = NewLabel(this, "LabelDate", QRect(kWidth - 254, 100, 230, 20));
  LabelDate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label1 = NewLabel(this, "Label1", QRect(24, 222, kWidth - 48, 56));
  Label2 = NewLabel(this, "Label2", QRect(24, 282, kWidth - 48, 20));
  LabelSite = NewLabel(this, "LabelSite", QRect(24, 310, kWidth - 48, 22));
  for (QLabel* label : {LabelVersion, LabelDate, Label1, Label2, LabelSite})
    lightText(label);
  QFont underlined = LabelSite->font();
  underlined.setUnderline(true);
  LabelSite->setFont(underlined);
  LabelSite->setCursor(Qt::PointingHandCursor);
  LabelSite->installEventFilter(this);

  LabelVersion->setText(ToQt(Format(wtext::kSplashVersion(), TARVIK_VERSION)));
  LabelDate->setText(QStringLiteral(TARVIK_BUILD_DATE));

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(kStartMilliseconds);
  Timer->setSingleShot(true);
  connect(Timer, &QTimer::timeout, this, &QWidget::hide);
  SetLanguage(lang::French);
}

void TFormSplash::SetLanguage(int id) {
  const bool english = id == lang::English;
  auto text = [english](const TText& t) { return ToQt(english ? t.English() : t.French()); };
  setWindowTitle(text(wtext::kSplashCaption));
  setToolTip(text(wtext::kSplashHint));
  Label1->setText(text(wtext::kSplashTheory) + text(wtext::kSplashAuthors));
  Label2->setText(text(wtext::kSplashDevelopment) + text(wtext::kSplashDevelopers));
  LabelSite->setText(text(wtext::kSplashSite));
  LabelSite->setToolTip(text(wtext::kSplashSiteHint));
}

void TFormSplash::ShowFor(int milliseconds) {
  Timer->stop();
  Timer->setInterval(milliseconds);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  raise();
  Timer->start();
}

void TFormSplash::mousePressEvent(QMouseEvent* event) {
  event->accept();
  hide();
}

void TFormSplash::keyPressEvent(QKeyEvent* event) {
  event->accept();
  hide();
}

void TFormSplash::hideEvent(QHideEvent* event) {
  Timer->stop();
  QWidget::hideEvent(event);
  emit Hidden();
}

bool TFormSplash::eventFilter(QObject* watched, QEvent* event) {
  if (watched == LabelSite && event->type() == QEvent::MouseButtonPress) {
    LabelSiteClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TFormSplash::LabelSiteClick() {
  if (!OpenInBrowser(HomePagePath())) services_.Tell(TMessageKind::Error, kBrowserNotDefined());
}
