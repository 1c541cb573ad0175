#pragma once

#include <QDialog>

class PhoneticDictionary;
class QTextBrowser;
class WindowState;

// A window with room for a long entry: resizable, in a larger font, it shows the entry of the
// current word and follows it as the learner moves through the list. Ctrl+E, a double-click
// on the entry pane or the menus open it; it remembers nothing once closed.
class EntryWindow : public QDialog {
  Q_OBJECT

 public:
  EntryWindow(WindowState& state, PhoneticDictionary& dictionary, QWidget* window);

  QTextBrowser* text() const { return text_; }

 private:
  void showWord(const QString& word);

  PhoneticDictionary& dictionary_;
  QTextBrowser* text_;
};
