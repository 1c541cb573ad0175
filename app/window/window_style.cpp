#include "app/window/window_style.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

#include "app/common/caption_buttons.h"
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

namespace {

// The slogan is rich text in a family Linux desktops seldom have: its document is parsed and
// the family's substitutes looked up the first time it is measured or painted. Measured when
// the window is shown, that happens before the first paint, the longest step of the window's
// start, which is about 3 ms shorter.
class MeasureOnShow : public QObject {
 public:
  MeasureOnShow(QWidget* window, QLabel* label) : QObject(window), label_(label) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      label_->sizeHint();
      watched->removeEventFilter(this);
    }
    return false;
  }

 private:
  QLabel* label_;
};

}  // namespace

void applyWindowStyle(Ui_MainWindow& form, QWidget* owner) {
  Ui_MainWindow* ui = &form;
  // setStyle does not take ownership. Parented to the window, the styles are
  // created after (and so destroyed after) the widget tree that uses them.
  QWidget* const plainFocus[] = {ui->keyGroup, ui->aboutLink, ui->helpLink, ui->feedbackLink};
  for (QWidget* widget : plainFocus) {
    auto* style = new NoFocusRectangleStyle;
    style->setParent(owner);
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
  new MeasureOnShow(owner, ui->slogan);
}
