#pragma once

#include <QObject>
#include <QString>

class QMenu;

// What the window shows, in one place, and the one way features speak to each other.
//
// The current word is the word whose entry the entry pane shows. Every action that takes a
// word (Say, Ctrl+D, the menus, the entry window, the drill's add) acts on it and names it.
// It changes only when a word is shown:
// - at start, the sample's first word ("example");
// - a click on a row, or a keyboard move onto a row, shows that row's word;
// - a right click on a row shows that row's word before its menu opens;
// - a word opened from the history or my words, or the word the drill asked, once answered.
// A refill of the list changes nothing: the list's signals are cut while it is refilled, no
// row is current afterwards, and the pane keeps the entry it showed until a row is picked.
class WindowState : public QObject {
  Q_OBJECT

 public:
  enum class Mode { kSound, kSpelling };
  // How a word came to be shown: the history counts only what the learner picked or opened.
  enum class Shown { kAtStart, kPicked, kOpened, kAnswer };

  explicit WindowState(QObject* parent = nullptr) : QObject(parent) {}

  // The text the input field shows now.
  const QString& typedText() const { return typedText_; }
  void setTypedText(const QString& text) { typedText_ = text; }
  Mode mode() const { return mode_; }
  void setMode(Mode mode) { mode_ = mode; }

  // The word whose entry the pane shows; empty before any is shown.
  const QString& currentWord() const { return currentWord_; }
  // Shows `word`: it becomes the current word, and the pane (and the entry window) show its
  // entry, also when it was current already.
  void show(const QString& word, Shown how);

  // Requests to the window, whose input field it is.
  void requestTypedText(const QString& text) { emit typedTextRequested(text); }
  void requestInputFocus() { emit inputFocusRequested(); }
  // A short line for the learner under the modes (what was kept, what could not be spoken).
  void say(const QString& status) { emit statusSaid(status); }
  // The learner chose `word` in the list: a double-click or Return on its row.
  void choose(const QString& word) { emit wordChosen(word); }
  // A menu on the current word opens: features add their entries to `menu`.
  void fillMenu(QMenu* menu) { emit menuOpening(menu, currentWord_); }

 signals:
  void wordShown(const QString& word, WindowState::Shown how);
  void typedTextRequested(const QString& text);
  void inputFocusRequested();
  void statusSaid(const QString& status);
  void wordChosen(const QString& word);
  void menuOpening(QMenu* menu, const QString& word);

 private:
  QString typedText_;
  Mode mode_ = Mode::kSound;
  QString currentWord_;
};
