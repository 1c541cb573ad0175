// The vendor links of a build that names a site (this test compiles them with one): each
// page of the site opens through the desktop, and a failed open is reported.

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>

#include "app/pages/vendor_links.h"
#include "vendor_site.h"

class Browser : public QObject {
  Q_OBJECT

 public:
  QStringList opened;

 public slots:
  void open(const QUrl& url) { opened << url.toString(); }
};

class VendorLinksTest : public QObject {
  Q_OBJECT

 private slots:
  void pagesOfTheConfiguredSiteOpen() {
    Browser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    QVERIFY(openVendorPage(QStringLiteral("/software/phonetic/about/")));
    QVERIFY(openVendorPage(QStringLiteral("/software/phonetic/help/")));
    QVERIFY(openVendorPage(QStringLiteral("/software/phonetic/feedback/")));
    QVERIFY(openVendorLink(QStringLiteral(QUORVI_VENDOR_SITE "/")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(browser.opened,
             QStringList({QStringLiteral("http://www.example.com/software/phonetic/about/"),
                          QStringLiteral("http://www.example.com/software/phonetic/help/"),
                          QStringLiteral("http://www.example.com/software/phonetic/feedback/"),
                          QStringLiteral("http://www.example.com/")}));
  }

  void aLinkTheDesktopCannotOpenIsReported() {
    // No handler and no browser for this scheme on the offscreen platform.
    QVERIFY(!openVendorLink(QStringLiteral("quorvi-unknown-scheme:/nowhere")));
  }
};

QTEST_MAIN(VendorLinksTest)
#include "vendor_links_test.moc"
