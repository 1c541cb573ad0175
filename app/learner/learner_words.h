#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class MainWindow;
class PhoneticDictionary;
class QMenu;
class QTimer;
class LearnerWordsDialog;
class DrillDialog;
class DrillWordLists;

namespace quorvi::learner {
class LearnerStore;
}

// The window's side of the learner's own data: the entries the learner opens go into the
// history, Ctrl+D adds or removes the shown word in my words, Ctrl+H shows the history and
// Ctrl+Shift+D the "My words" window, Ctrl+L the listening drill. The database is opened on first
// use, after the window is up; when it cannot be, the window goes on and says once that nothing is
// kept.
class LearnerWords : public QObject {
  Q_OBJECT

 public:
  LearnerWords(MainWindow* window, PhoneticDictionary& dictionary);
  ~LearnerWords() override;

  // The store, opened now if it was not; null when it cannot be used.
  quorvi::learner::LearnerStore* store();
  PhoneticDictionary& dictionary() { return dictionary_; }

  // The headword the entry pane shows (empty when none).
  const QString& shownWord() const { return shownWord_; }
  bool isSaved(const QString& word);
  // Adds the word to my words or removes it; true when it is saved afterwards.
  bool toggleSaved(const QString& word);
  // Records `word` as opened now.
  void recordOpened(const QString& word);

  // The entries for `headword` in a context menu: add or remove it, my words, history.
  void addMenuEntries(QMenu* menu, const QString& headword);

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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  // The learner's list changed (added, removed, imported).
  void wordsChanged();

 private:
  void entryShown(const QString& headword);
  void showDialog(bool history);
  void tell(const QString& text);

  MainWindow* window_;
  PhoneticDictionary& dictionary_;
  std::unique_ptr<quorvi::learner::LearnerStore> store_;
  bool triedToOpen_ = false;
  QString shownWord_;
  QString pendingWord_;
  QTimer* openedDelay_;
  QPointer<LearnerWordsDialog> dialog_;
  QPointer<DrillDialog> drill_;
  DrillWordLists* drillLists_ = nullptr;
};
