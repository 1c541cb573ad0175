// Every button keeps the box the form gives it with room for its text, shows when it has
// the keyboard focus, and Tab walks the window in reading order.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/app/open_window.h"

class FitFocusTest : public WindowTestCase {
  Q_OBJECT

 private:
  QPushButton* button(const char* name) {
    auto* found = window->findChild<QPushButton*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no button %s", name);
    return found;
  }

 private slots:
  void initTestCase() { QVERIFY(openWindow()); }

  void cleanupTestCase() { closeWindow(); }

  void buttonsKeepTheirBoxesAndFitTheirText() {
    const QRect windowRect = window->rect();
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
      if (b->objectName().isEmpty() || !b->isVisible()) continue;
      const bool isKey = b->parentWidget()->objectName() == QLatin1String("keyGroup");
      QCOMPARE(b->size(), isKey ? QSize(37, 31) : b->size());
      const QSize hint = b->sizeHint();
      QVERIFY2(hint.width() <= b->width() && hint.height() <= b->height(),
               qPrintable(QStringLiteral("%1 needs %2x%3 has %4x%5")
                              .arg(b->objectName())
                              .arg(hint.width())
                              .arg(hint.height()).arg(b->width()).arg(b->height())));
      const QRect inWindow(b->mapTo(window, QPoint(0, 0)), b->size());
      QVERIFY2(windowRect.contains(inWindow), qPrintable(b->objectName()));
    }
    // The link buttons stand apart, 50 x 22 as laid out.
    QRect previous;
    for (const char* name : {"aboutLink", "helpLink", "feedbackLink"}) {
      QCOMPARE(button(name)->size(), QSize(50, 22));
      QVERIFY2(!button(name)->geometry().intersects(previous), name);
      previous = button(name)->geometry();
    }
  }

  // The speech buttons and the status line come from the window's overlay form, laid out
  // under the form's widgets: they stand where the window has always had them, and the modes
  // beside the buttons still take their clicks.
  void speechBarKeepsItsPlaceAndTheModesTheirClicks() {
    QWidget* central = window->centralWidget();
    const auto placeOf = [central](QWidget* widget) {
      return QRect(widget->mapTo(central, QPoint(0, 0)), widget->size());
    };
    QCOMPARE(placeOf(button("speakTyped")), QRect(480, 127, 58, 22));
    QCOMPARE(placeOf(button("speakWord")), QRect(543, 127, 28, 22));
    QCOMPARE(placeOf(button("speakWordAmerican")), QRect(573, 127, 28, 22));
    QCOMPARE(placeOf(window->findChild<QLabel*>(QStringLiteral("statusLine"))),
             QRect(280, 150, 321, 18));

    auto* phonetic = window->findChild<QRadioButton*>(QStringLiteral("phoneticMode"));
    auto* caption = window->findChild<QRadioButton*>(QStringLiteral("captionMode"));
    for (QRadioButton* mode : {caption, phonetic}) {
      const QPoint middle = mode->geometry().center();
      QCOMPARE(central->childAt(middle), mode);
      QTest::mouseClick(central->childAt(middle), Qt::LeftButton, {},
                        central->childAt(middle)->mapFrom(central, middle));
      QVERIFY2(mode->isChecked(), qPrintable(mode->objectName()));
    }
  }

  void focusIsVisibleOnEveryButton() {
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
      if (b->objectName().isEmpty()) continue;
      window->findChild<QWidget*>(QStringLiteral("displayResult"))->setFocus(Qt::TabFocusReason);
      const QImage unfocused = b->grab().toImage();
      b->setFocus(Qt::TabFocusReason);
      QCOMPARE(QApplication::focusWidget(), b);
      const QImage focused = b->grab().toImage();
      QVERIFY2(focused != unfocused, qPrintable(b->objectName()));
    }
  }

  // The entry pane, which takes the focus by Tab and by a click, shows that it has it.
  void focusIsVisibleOnTheEntryPane() {
    QWidget* pane = window->findChild<QWidget*>(QStringLiteral("displayFull"));
    window->findChild<QWidget*>(QStringLiteral("displayResult"))->setFocus(Qt::TabFocusReason);
    const QImage unfocused = pane->grab().toImage();
    pane->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), pane);
    QVERIFY(pane->grab().toImage() != unfocused);
  }

  void tabFollowsReadingOrder() {
    const QStringList expected = {"k230",          "k240",         "k952",       "k331",
                                  "k593",          "k601",         "k609",       "k596",
                                  "k643",          "k652",         "k658",       "k603",
                                  "inputPhonetic", "phoneticMode", "speakTyped", "speakWord",
                                  "speakWordAmerican", "displayResult", "displayFull",
                                  "aboutLink",     "helpLink",     "feedbackLink", "myWordsButton",
                                  "drillButton",   "slogan",       "k230"};
    button("k230")->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (int i = 1; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, expected.mid(1));
  }
};

QTEST_MAIN(FitFocusTest)
#include "fit_focus_test.moc"
