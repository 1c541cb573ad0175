#pragma once

#include <QObject>
#include <QPointer>

#include "app/entry/entry_window.h"

class PhoneticDictionary;
class QMenu;
class QTextEdit;
class QWidget;
class WindowState;

// The entry pane: it shows the entry of the current word (whenever a word is shown), and has a
// menu on that word; Ctrl+E, a double-click on the pane or the menu open the entry window,
// which has room for a long entry and follows the current word.
class EntryPane : public QObject {
  Q_OBJECT

 public:
  EntryPane(QTextEdit* pane, WindowState& state, PhoneticDictionary& dictionary, QWidget* window);

  // The pane's menu as it would open; null when the pane shows no word. The caller owns it.
  QMenu* menu();
  void openEntryWindow();
  EntryWindow* entryWindow() const { return entryWindow_.data(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* pane_;
  WindowState& state_;
  PhoneticDictionary& dictionary_;
  QWidget* window_;
  QPointer<EntryWindow> entryWindow_;
};
