#include "app/window/window_style.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

#include "app/window/mainwindow.h"
#include "ui_mainwindow.h"

NoFocusRectangleStyle::~NoFocusRectangleStyle() = default;

void NoFocusRectangleStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                          QPainter* painter, const QWidget* widget) const {
  if (element == PE_FrameFocusRect && widget != nullptr &&
      (widget->inherits("QListWidget") || widget->inherits("QPushButton"))) {
    return;
  }
  QCommonStyle::drawPrimitive(element, option, painter, widget);
}

void setCaptionButtonStyle(QWidget* widget) {
  // 22 px leave a 9 pt caption 12 px between the window's border and padding.
  widget->setStyleSheet(
      QStringLiteral("QPushButton { padding: 0px 3px; }\n"
                     "QPushButton:pressed { padding-left: 5px; padding-top: 2px; }"));
}

void MainWindow::setUpStyle() {
  // setStyle does not take ownership. Parented to the window, the styles are
  // created after (and so destroyed after) the widget tree that uses them.
  QWidget* const plainFocus[] = {ui->keyGroup, ui->aboutLink, ui->helpLink, ui->feedbackLink};
  for (QWidget* widget : plainFocus) {
    auto* style = new NoFocusRectangleStyle;
    style->setParent(this);
    widget->setStyle(style);
  }
  for (QPushButton* link : {ui->aboutLink, ui->helpLink, ui->feedbackLink})
    setCaptionButtonStyle(link);

  // The usage box holds five lines in the form's font. A stand-in font (no runtime folder,
  // so no Mensch) can be taller than the box: its last line was cut. The text shrinks until
  // it fits.
  QLabel* usage = ui->manualLabel;
  QFont font = usage->font();
  while (usage->sizeHint().height() > usage->height() && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    usage->setFont(font);
  }
  // The entry pane shows when it has the keyboard focus.
  ui->displayFull->setStyleSheet(
      QStringLiteral("QTextEdit { border: 1px solid palette(mid); }"
                     "QTextEdit:focus { border: 2px solid #1f3f8f; }"));
}
