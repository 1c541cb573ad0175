// Where the keyboard focus goes. Tab walks the window in reading order: the symbol keys row by
// row from the left, the input, the two modes, the speech buttons, the list, the entry and the
// links from the left. A click on a key or a speech button does not take the focus from the
// input field (the field would drop its selection, which a symbol replaces), but Tab reaches
// every one. Down and Page Down in the input move into the list, Escape in the list goes back
// to typing.

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "app/speech/speech_controls.h"
#include "app/window/mainwindow.h"
#include "ui_mainwindow.h"

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

void MainWindow::setUpFocusOrder() {
  QPushButton* const keys[] = {ui->k230, ui->k240, ui->k952, ui->k331, ui->k593, ui->k601,
                               ui->k609, ui->k596, ui->k643, ui->k652, ui->k658, ui->k603};
  for (QPushButton* key : keys) key->setFocusPolicy(Qt::TabFocus);
  const auto [sayTyped, sayWord] = speech->buttons();
  for (QPushButton* button : {sayTyped, sayWord}) button->setFocusPolicy(Qt::TabFocus);
  // The slogan's link is reached by Tab and followed with Return, as the link buttons are.
  ui->slogan->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  ui->slogan->setFocusPolicy(Qt::TabFocus);
  new LinkFocusOnEntry(ui->slogan);

  QWidget* const chain[] = {ui->k230,          ui->k240,          ui->k952,        ui->k331,
                            ui->k593,          ui->k601,          ui->k609,        ui->k596,
                            ui->k643,          ui->k652,          ui->k658,        ui->k603,
                            ui->inputPhonetic, ui->phoneticMode,  ui->captionMode, sayTyped,
                            sayWord,           ui->displayResult, ui->displayFull, ui->aboutLink,
                            ui->helpLink,      ui->feedbackLink,  ui->slogan};
  for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);

  ui->inputPhonetic->installEventFilter(this);
  ui->displayResult->installEventFilter(this);
  // Typing starts at once: the first key replaces the sample text.
  ui->inputPhonetic->selectAll();
  ui->inputPhonetic->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  QListWidget* list = ui->displayResult;
  if (watched == ui->inputPhonetic && (key == Qt::Key_Down || key == Qt::Key_PageDown) &&
      list->count() > 0) {
    list->setFocus(Qt::TabFocusReason);
    if (list->currentRow() < 0) list->setCurrentRow(0);
    return true;
  }
  if (watched == list && key == Qt::Key_Escape) {
    ui->inputPhonetic->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
