// The focus-free style draws like the common style, minus the focus rectangle
// on push buttons and list widgets.

#include <QCommandLinkButton>
#include <QCommonStyle>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QTest>

#include <functional>

#include "app/window/window_style.h"

namespace {

QImage render(const std::function<void(QPainter&)>& draw) {
  QImage image(80, 32, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw(painter);
  painter.end();
  return image;
}

bool isBlank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

QStyleOptionFocusRect focusOption() {
  QStyleOptionFocusRect option;
  option.rect = QRect(0, 0, 80, 32);
  option.palette.setColor(QPalette::WindowText, Qt::black);
  option.state = QStyle::State_Enabled | QStyle::State_HasFocus;
  return option;
}

QStyleOptionButton buttonOption(bool focused) {
  QStyleOptionButton option;
  option.rect = QRect(0, 0, 80, 32);
  option.text = QStringLiteral("OK");
  option.state = QStyle::State_Enabled | QStyle::State_Raised;
  if (focused) option.state |= QStyle::State_HasFocus;
  return option;
}

}  // namespace

class StyleTest : public QObject {
  Q_OBJECT

 private slots:
  void focusRectangleIsLeftOutForButtonsAndLists() {
    NoFocusRectangleStyle style;
    QPushButton button;
    QCommandLinkButton derivedButton;
    QListWidget list;
    QLineEdit edit;
    const QStyleOptionFocusRect option = focusOption();
    auto focusRect = [&](const QWidget* widget) {
      return render([&](QPainter& p) {
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, widget);
      });
    };

    QVERIFY(isBlank(focusRect(&button)));
    QVERIFY(isBlank(focusRect(&derivedButton)));
    QVERIFY(isBlank(focusRect(&list)));

    QCommonStyle common;
    const QImage expected = render([&](QPainter& p) {
      common.drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, nullptr);
    });
    QVERIFY(!isBlank(expected));
    QCOMPARE(focusRect(nullptr), expected);
    QCOMPARE(focusRect(&edit), expected);

    // Other primitives are drawn as usual, also for buttons.
    QStyleOption arrow;
    arrow.rect = QRect(0, 0, 32, 32);
    arrow.palette.setColor(QPalette::ButtonText, Qt::black);
    arrow.state = QStyle::State_Enabled;
    const QImage arrowExpected = render([&](QPainter& p) {
      common.drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, &button);
    });
    QVERIFY(!isBlank(arrowExpected));
    QCOMPARE(render([&](QPainter& p) {
               style.drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, &button);
             }),
             arrowExpected);
  }

  void focusedButtonDrawsWithoutTheRectangle() {
    NoFocusRectangleStyle style;
    QCommonStyle common;
    QPushButton button;
    const QStyleOptionButton focused = buttonOption(true);
    const QStyleOptionButton unfocused = buttonOption(false);

    const QImage withoutRect = render(
        [&](QPainter& p) { style.drawControl(QStyle::CE_PushButton, &focused, &p, &button); });
    const QImage commonFocused = render(
        [&](QPainter& p) { common.drawControl(QStyle::CE_PushButton, &focused, &p, &button); });
    const QImage commonPlain = render(
        [&](QPainter& p) { common.drawControl(QStyle::CE_PushButton, &unfocused, &p, &button); });
    QVERIFY(commonFocused != commonPlain);
    QCOMPARE(withoutRect, commonPlain);

    // Without a widget the rectangle is drawn.
    QCOMPARE(render([&](QPainter& p) {
               style.drawControl(QStyle::CE_PushButton, &focused, &p, nullptr);
             }),
             commonFocused);
  }
};

QTEST_MAIN(StyleTest)
#include "style_test.moc"
