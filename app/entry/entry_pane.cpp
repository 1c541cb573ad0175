#include "app/entry/entry_pane.h"

#include <QEvent>
#include <QMenu>
#include <QShortcut>
#include <QTextEdit>

#include "app/entry/entry_text.h"
#include "app/entry/entry_window.h"
#include "app/entry/word_menu.h"
#include "app/common/level_names.h"
#include "app/common/window_state.h"

EntryPane::EntryPane(QTextEdit* pane, WindowState& state, PhoneticDictionary& dictionary,
                     QWidget* window)
    : QObject(window), pane_(pane), state_(state), dictionary_(dictionary), window_(window) {
  connect(&state_, &WindowState::wordShown, this,
          [this](const QString& word) { pane_->setText(entryForDisplay(dictionary_, word)); });
  pane_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(pane_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QMenu* shown = menu()) popUpMenu(shown, pane_->viewport()->mapToGlobal(at));
  });
  pane_->viewport()->installEventFilter(this);
  auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), window_);
  connect(key, &QShortcut::activated, this, &EntryPane::openEntryWindow);
  connect(&state_, &WindowState::menuOpening, this, [this](QMenu* menu, const QString& word) {
    if (word.isEmpty()) return;
    QAction* open =
        menu->addAction(tr("在大窗口中查看“%1”").arg(word), this, &EntryPane::openEntryWindow);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  });
}

QMenu* EntryPane::menu() {
  if (state_.currentWord().isEmpty() || pane_->toPlainText().isEmpty()) return nullptr;
  return wordMenu(state_, dictionary_, withoutDisplayJoiners(pane_->textCursor().selectedText()),
                  this);
}

void EntryPane::openEntryWindow() {
  if (entryWindow_ == nullptr) {
    auto* window = new EntryWindow(state_, dictionary_, window_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    entryWindow_ = window;
  }
  entryWindow_->show();
  entryWindow_->raise();
  entryWindow_->activateWindow();
}

bool EntryPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pane_->viewport() && event->type() == QEvent::MouseButtonDblClick &&
      !state_.currentWord().isEmpty())
    openEntryWindow();
  return QObject::eventFilter(watched, event);
}
