// The English interface: which language is chosen, and the window in English keeps its
// layout with every caption fitting its widget.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTranslator>

#include <memory>

#include "app/pages/local_pages.h"
#include "app/results/empty_list_notice.h"
#include "app/startup/interface_language.h"
#include "tests/app/open_window.h"
#include "vendor_site.h"

namespace {

const QString kTranslations = QStringLiteral(QUORVI_RUNTIME_DIR "/translations");

// Every caption (buttons, radio buttons, group titles) fits the box the form gives it. The
// radio buttons' height is the form's, a few pixels under the style's wish; their width counts.
QStringList captionsThatDoNotFit(QWidget* window) {
  QStringList cut;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
    if (b->objectName().isEmpty() || !b->isVisible()) continue;
    const QSize hint = b->sizeHint();
    const bool tooLow = hint.height() > b->height() && qobject_cast<QRadioButton*>(b) == nullptr;
    if (hint.width() > b->width() || tooLow) {
      cut << QStringLiteral("%1 \"%2\" needs %3x%4 has %5")
                 .arg(b->objectName(), b->text())
                 .arg(hint.width())
                 .arg(hint.height()).arg(b->width());
    }
  }
  for (QLabel* label : window->findChildren<QLabel*>(QStringLiteral("manualLabel"))) {
    for (const QString& line : label->text().split(QLatin1Char('\n'))) {
      if (label->fontMetrics().horizontalAdvance(line) > label->width()) cut << line;
    }
  }
  for (QGroupBox* g : window->findChildren<QGroupBox*>()) {
    if (g->fontMetrics().horizontalAdvance(g->title()) > g->width() - 20) cut << g->title();
  }
  return cut;
}

}  // namespace

class TranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void chooseTheLanguage() {
    const QLocale chinese(QLocale::Chinese, QLocale::China),
        english(QLocale::English, QLocale::UnitedKingdom), german(QLocale::German);
    const QStringList bare = {QStringLiteral("quorvi-finder")};
    QCOMPARE(chooseInterfaceLanguage(bare, QString(), chinese), QStringLiteral("zh"));
    QCOMPARE(chooseInterfaceLanguage(bare, QString(), english), QStringLiteral("en"));
    QCOMPARE(chooseInterfaceLanguage(bare, QString(), german), QStringLiteral("en"));
    // A bare machine names no language: the window's own Chinese, not English.
    for (const char* name : {"C", "C.UTF-8", "POSIX"}) {
      QCOMPARE(chooseInterfaceLanguage(bare, QString(), QLocale(QLatin1String(name))),
               QStringLiteral("zh"));
    }
    QCOMPARE(chooseInterfaceLanguage(bare, QString(), QLocale::c()), QStringLiteral("zh"));
    QCOMPARE(chooseInterfaceLanguage(bare, QStringLiteral("en"), QLocale::c()),
             QStringLiteral("en"));
    // The environment overrides the system, the command line both.
    QCOMPARE(chooseInterfaceLanguage(bare, QStringLiteral("en_US.UTF-8"), chinese),
             QStringLiteral("en"));
    QCOMPARE(chooseInterfaceLanguage(bare, QStringLiteral("zh_CN"), english), QStringLiteral("zh"));
    QCOMPARE(
        chooseInterfaceLanguage({"quorvi-finder", "--lang", "zh"}, QStringLiteral("en"), english),
        QStringLiteral("zh"));
    QCOMPARE(chooseInterfaceLanguage({"quorvi-finder", "--lang=en"}, QStringLiteral("zh"), chinese),
             QStringLiteral("en"));
    // An unknown name is passed over; a --lang without a value is no choice.
    QCOMPARE(chooseInterfaceLanguage({"quorvi-finder", "--lang=fr"}, QStringLiteral("zh"), english),
             QStringLiteral("zh"));
    QCOMPARE(chooseInterfaceLanguage({"quorvi-finder", "--lang"}, QString(), chinese),
             QStringLiteral("zh"));
  }

  void chineseNeedsNoTranslationAndAMissingOneIsReported() {
    QVERIFY(installInterfaceLanguage(QStringLiteral("zh"), *QCoreApplication::instance(),
                                     kTranslations));
    QVERIFY(!installInterfaceLanguage(QStringLiteral("en"), *QCoreApplication::instance(),
                                      QStringLiteral("/nonexistent")));
    QCOMPARE(QCoreApplication::translate("MainWindow", "关于"), QStringLiteral("关于"));
  }

  void theWindowInEnglish() {
    QVERIFY(installInterfaceLanguage(QStringLiteral("en"), *QCoreApplication::instance(),
                                     kTranslations));
    OpenWindow open;
    QVERIFY(open.show());
    MainWindow* window = open.window();
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Quorvi Word Finder V1.7 -- find English words by their sound"));
    QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("helpLink"))->text(),
             QStringLiteral("Help"));
    QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("k952"))->toolTip(),
             QStringLiteral("\u03B8 as in think"));
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("manualLabel"))
                ->text()
                .contains(QStringLiteral("[igz\u0251:mpl]")));
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("slogan"))
                ->text()
                .contains(QStringLiteral("href=\"" QUORVI_VENDOR_SITE "/\"")));
    QCOMPARE(helpFileName(), QStringLiteral("help/help.en.html"));
    // A bad pattern and the feedback text are English too.
    SearchOutcome bad;
    bad.reason = EmptyListReason::BadPattern;
    bad.message = "bad pattern at offset 1: unmatched closing parenthesis";
    QCOMPARE(EmptyListNotice::reasonText(bad, true, QStringLiteral("a)")),
             QStringLiteral("The regular expression is wrong at character 2: a closing "
                            "parenthesis \u201c)\u201d has no opening one\na\u3010)\u3011"));
    QVERIFY2(feedbackText(QStringLiteral("k"), false)
                 .contains(QStringLiteral("Interface language: English")),
             qPrintable(feedbackText(QStringLiteral("k"), false)));
    const QStringList cut = captionsThatDoNotFit(window);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    // The layout is the form's, whatever the language.
    QCOMPARE(window->findChild<QRadioButton*>(QStringLiteral("captionMode"))->geometry(),
             QRect(380, 130, 89, 17));

    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
    }
    QCOMPARE(helpFileName(), QStringLiteral("help/help.zh.html"));
  }

  // Qt's own dialogs speak the interface's language: Chinese comes with Qt's translations.
  void qtsOwnDialogsAreChineseInTheChineseWindow() {
    QVERIFY(installInterfaceLanguage(QStringLiteral("zh"), *QCoreApplication::instance(),
                                     QStringLiteral(QUORVI_RUNTIME_DIR "/translations")));
    QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY2(box.button(QMessageBox::Ok)->text().contains(QStringLiteral("确定")),
             qPrintable(box.button(QMessageBox::Ok)->text()));
    QVERIFY2(box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("取消")),
             qPrintable(box.button(QMessageBox::Cancel)->text()));
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>())
      QCoreApplication::removeTranslator(translator);
  }

  void theWindowInChineseFitsToo() {
    OpenWindow open;
    QVERIFY(open.show());
    const QStringList cut = captionsThatDoNotFit(open.window());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
  }
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
