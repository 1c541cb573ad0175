#include "tab_order.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {

// A label reached by Tab takes the focus on itself and needs one more Tab to reach its link.
// Entered by Tab, this moves the focus on to the link at once: one Tab, one stop.
class LinkFocusOnEntry : public QObject {
 public:
  explicit LinkFocusOnEntry(QLabel* label) : QObject(label), label_(label) {
    label->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != label_ || event->type() != QEvent::FocusIn) return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) return false;
    label_->removeEventFilter(this);
    QCoreApplication::sendEvent(label_, event);
    const bool back = reason == Qt::BacktabFocusReason;
    QKeyEvent toLink(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                     back ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(label_, &toLink);
    label_->installEventFilter(this);
    return true;
  }

 private:
  QLabel* label_;
};

}  // namespace

void setVisualTabOrder(Ui_MainWindow& form) {
  QPushButton* const keys[] = {form.k230, form.k240, form.k952, form.k331, form.k593, form.k601,
                               form.k609, form.k596, form.k643, form.k652, form.k658, form.k603};
  for (QPushButton* key : keys) key->setFocusPolicy(Qt::TabFocus);
  // The slogan's link is reached by Tab and followed with Return, as the link buttons are.
  form.slogan->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  form.slogan->setFocusPolicy(Qt::TabFocus);
  new LinkFocusOnEntry(form.slogan);

  QWidget* const chain[] = {form.k230,          form.k240,         form.k952,
                            form.k331,          form.k593,         form.k601,
                            form.k609,          form.k596,         form.k643,
                            form.k652,          form.k658,         form.k603,
                            form.inputPhonetic, form.phoneticMode, form.captionMode,
                            form.displayResult, form.displayFull,  form.aboutLink,
                            form.helpLink,      form.feedbackLink, form.slogan};
  for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
