// The splash window, also the "A propos" box: its controls, how it closes, its languages and
// its link to the home page.
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <cstdlib>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "app/window/FormSplash.h"

using namespace wtest;

class SplashWindowTest : public QObject {
  Q_OBJECT

  static QString Text(const TFormSplash& splash, const char* name) {
    return splash.findChild<QLabel*>(QString::fromLatin1(name))->text();
  }

private slots:
  void controlsAndClosing() {
    TScriptedServices services;
    TFormSplash splash(services);
    QCOMPARE(splash.size(), QSize(522, 347));
    QCOMPARE(splash.windowTitle(), QStringLiteral("Information"));
    QVERIFY(!splash.Timer->isActive());
    QCOMPARE(splash.Timer->interval(), 2000);
    QVERIFY(Text(splash, "LabelVersion").startsWith(QStringLiteral("Version 2.")));
    QVERIFY(!Text(splash, "LabelDate").isEmpty());
    QVERIFY(!splash.findChild<QLabel*>("ImageSplash")->pixmap().isNull());

    // Each way of closing hides the window, stops its timer and says so once.
    QSignalSpy hidden(&splash, &TFormSplash::Hidden);
    splash.ShowFor(TFormSplash::kStartMilliseconds);
    QVERIFY(splash.isVisible() && splash.Timer->isActive());
    QTest::mouseClick(&splash, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    QVERIFY(!splash.isVisible() && !splash.Timer->isActive());
    QCOMPARE(hidden.count(), 1);

    splash.ShowFor(TFormSplash::kAboutMilliseconds);
    QCOMPARE(splash.Timer->interval(), 30000);
    QTest::keyClick(&splash, Qt::Key_Space);
    QVERIFY(!splash.isVisible());
    QCOMPARE(hidden.count(), 2);

    splash.ShowFor(20);
    QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 2000);
    QCOMPARE(hidden.count(), 3);
  }

  void languages() {
    TScriptedServices services;
    TFormSplash splash(services);
    QVERIFY(Text(splash, "Label1").startsWith(QString::fromUtf8("Bases théoriques : ")));
    QVERIFY(Text(splash, "Label1").contains(QStringLiteral("Rannala & Mountain (1997)")));
    QCOMPARE(Text(splash, "Label2"), QString::fromUtf8("Développement : Tarvik2 developers"));
    splash.SetLanguage(lang::English);
    QVERIFY(Text(splash, "Label1").startsWith(QStringLiteral("Theoretical basis: ")));
    QCOMPARE(Text(splash, "Label2"), QStringLiteral("Developement: Tarvik2 developers"));
    QCOMPARE(splash.toolTip(), QStringLiteral("Clic to close"));
    splash.SetLanguage(7);
    QCOMPARE(splash.toolTip(), QStringLiteral("Cliquez pour fermer"));
  }

  // The site label opens the home page in the browser; a browser that cannot be started is
  // said so, and the window stays.
  void siteLink() {
    TScriptedServices services;
    TFormSplash splash(services);
    splash.ShowFor(TFormSplash::kAboutMilliseconds);
    QLabel* site = splash.findChild<QLabel*>("LabelSite");
    qputenv("BROWSER", "/nonexistent/browser");
    QTest::mouseClick(site, Qt::LeftButton);
    QCOMPARE(services.Messages.size(), size_t(1));
    QCOMPARE(services.Messages[0].Text, kBrowserNotDefined());
    QVERIFY(splash.isVisible());
    qputenv("BROWSER", "true");
    QTest::mouseClick(site, Qt::LeftButton);
    QCOMPARE(services.Messages.size(), size_t(1));
    qunsetenv("BROWSER");
  }
};

TARVIK_WINDOW_TEST_MAIN(SplashWindowTest)
#include "SplashWindowTest.moc"
