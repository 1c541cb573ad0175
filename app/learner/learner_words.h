#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <QHash>

#include <memory>
#include <string>
#include <vector>

#include "app/common/window_state.h"
#include "learner/file_problem.h"

class LearnerWriter;
class WordListImport;
struct LearnerStoreOpening;
class PhoneticDictionary;
class QMenu;
class QWidget;
class Speaker;
class QTimer;
class LearnerWordsDialog;
class DrillDialog;
class DrillWordLists;

namespace quorvi::learner {
class LearnerStore;
}

// The window's side of the learner's own data: the entries the learner picks or opens go into
// the history, Ctrl+D (and the menus) add the current word to my words or remove it, naming it
// in the status line, Ctrl+H shows the history and Ctrl+Shift+D the "My words" window, Ctrl+L
// the listening drill; two buttons in the window open my words and the drill. The window never
// waits on the store: every write goes to a thread of its own (LearnerWriter), which opens the
// database on first use, after the window is up; the window then reads through a second connection
// of its own, which never waits long. When the data cannot be kept (or only read), the window goes
// on and says once why, in its own language.
class LearnerWords : public QObject {
  Q_OBJECT

 public:
  // `area` is where the window shows the buttons of my words and the drill; `speaker` says
  // the drill's words.
  LearnerWords(WindowState& state, PhoneticDictionary& dictionary, Speaker& speaker, QWidget* area,
               QWidget* window);
  ~LearnerWords() override;

  // The store for reading on the window's thread; null until the writer has opened the file
  // (asked for now if it was not), or when it cannot be read.
  quorvi::learner::LearnerStore* store();
  // The thread the writes go to, made on first use.
  LearnerWriter* writer();
  // Imports of word lists, one at a time on a thread of their own; made on first use.
  WordListImport* wordListImport();
  PhoneticDictionary& dictionary() { return dictionary_; }
  WindowState& state() { return state_; }

  // The saved words, newest first, with the additions and removals still being written.
  std::vector<std::string> savedWordList(std::string& error);
  // Whether `word` is saved, counting the additions and removals still being written.
  bool isSaved(const QString& word);
  // Adds the word to my words or removes it; the status line names it once it is written, a
  // notice says when it could not be. Returns whether it will be saved.
  bool toggleSaved(const QString& word);
  // Records `word` as opened now.
  void recordOpened(const QString& word);
  // The learner's words of a problem with a file of theirs, in the interface language.
  static QString problemText(quorvi::learner::FileProblem problem);

  void showMyWords();
  void showHistory();
  // The open "My words" or history window, if any.
  LearnerWordsDialog* dialog() const;
  // Ctrl+L: the listening drill, one window at a time.
  void showDrill();
  DrillDialog* drill() const;
  // The drill's word lists, made on first use and kept while the window lives.
  DrillWordLists* drillLists();

  // How long an entry stays shown, picked in the list, before it counts as opened: arrowing
  // through the list does not fill the history with every word passed.
  static constexpr int kOpenedAfterMs = 700;

 signals:
  // The learner's list changed (added, removed, imported), or the store became readable.
  void wordsChanged();

 private:
  void wordShown(const QString& word, WindowState::Shown how);
  void addMenuEntries(QMenu* menu, const QString& word);
  void addButtons(QWidget* area);
  void showDialog(bool history);
  void storeOpened(const LearnerStoreOpening& opening);
  void tell(const QString& text);

  WindowState& state_;
  PhoneticDictionary& dictionary_;
  Speaker& speaker_;
  QWidget* window_;
  LearnerWriter* writer_ = nullptr;
  WordListImport* import_ = nullptr;
  bool writable_ = true;  // false once the store said it cannot be written (said once)
  std::unique_ptr<quorvi::learner::LearnerStore> reader_;
  // Words added (true) or removed (false) whose write is not done yet, and how many writes of
  // each are on their way.
  QHash<QString, std::pair<bool, int>> pendingSaved_;
  QString pendingWord_;
  QTimer* openedDelay_;
  QPointer<LearnerWordsDialog> dialog_;
  QPointer<DrillDialog> drill_;
  DrillWordLists* drillLists_ = nullptr;
};
