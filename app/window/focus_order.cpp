// Where the keyboard focus goes. Tab walks the window in reading order: the symbol keys row by
// row from the left, the input, the two modes, the speech buttons, the list, the entry, the
// links and the learner's buttons from the left. A click on a key or a button does not take the
// focus from the input field (the field would drop its selection, which a symbol replaces), but
// Tab reaches every one. Down and Page Down in the input move into the list, Escape in the list
// goes back to typing, and the window's shortcuts win over the field's own keys.

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "app/window/focus_order.h"

#include <QListWidget>
#include <QLineEdit>
#include <QShortcut>

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

// Down into the list, Escape back to the input, and the window's shortcuts before the field's
// keys (the field takes Ctrl+D for deleting forward, Ctrl+E for the line's end on X11).
class InputListKeys : public QObject {
 public:
  InputListKeys(QWidget* window, QLineEdit* input, QListWidget* list)
      : QObject(window), window_(window), input_(input), list_(list) {
    input_->installEventFilter(this);
    list_->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride && watched == input_)
      return isWindowShortcut(*static_cast<QKeyEvent*>(event));
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == input_ && (key == Qt::Key_Down || key == Qt::Key_PageDown) &&
        list_->count() > 0) {
      list_->setFocus(Qt::TabFocusReason);
      if (list_->currentRow() < 0) list_->setCurrentRow(0);
      return true;
    }
    if (watched == list_ && key == Qt::Key_Escape) {
      input_->setFocus(Qt::ShortcutFocusReason);
      return true;
    }
    return false;
  }

 private:
  bool isWindowShortcut(const QKeyEvent& key) const {
    if (!(key.modifiers() & Qt::ControlModifier)) return false;
    const QKeySequence pressed(key.keyCombination());
    for (const QShortcut* shortcut : window_->findChildren<QShortcut*>())
      if (shortcut->isEnabled() && shortcut->key() == pressed) return true;
    return false;
  }

  QWidget* window_;
  QLineEdit* input_;
  QListWidget* list_;
};

}  // namespace

void orderFocus(Ui_MainWindow& form, const QList<QWidget*>& besideModes,
                const QList<QWidget*>& besideLinks, QWidget* window) {
  Ui_MainWindow* ui = &form;
  QPushButton* const keys[] = {ui->k230, ui->k240, ui->k952, ui->k331, ui->k593, ui->k601,
                               ui->k609, ui->k596, ui->k643, ui->k652, ui->k658, ui->k603};
  for (QPushButton* key : keys) key->setFocusPolicy(Qt::TabFocus);
  for (QWidget* button : besideModes + besideLinks) button->setFocusPolicy(Qt::TabFocus);
  // The slogan's link is reached by Tab and followed with Return, as the link buttons are.
  ui->slogan->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  ui->slogan->setFocusPolicy(Qt::TabFocus);
  new LinkFocusOnEntry(ui->slogan);
  QList<QWidget*> chain = {ui->k230, ui->k240, ui->k952, ui->k331, ui->k593,          ui->k601,
                           ui->k609, ui->k596, ui->k643, ui->k652, ui->k658,          ui->k603,
                           ui->inputPhonetic,  ui->phoneticMode,    ui->captionMode};
  chain += besideModes;
  chain += {ui->displayResult, ui->displayFull, ui->aboutLink, ui->helpLink, ui->feedbackLink};
  chain += besideLinks;
  chain += ui->slogan;
  for (qsizetype i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
  new InputListKeys(window, ui->inputPhonetic, ui->displayResult);
  // Typing starts at once: the first key replaces the sample text.
  ui->inputPhonetic->selectAll();
  ui->inputPhonetic->setFocus(Qt::OtherFocusReason);
}
