#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

#include "engine/search_outcome.h"

class EmptyListNotice;
class LearnerSearch;
class PhoneticDictionary;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPoint;
class QTimer;
class SpellingSearchWorker;
class WindowState;

// The result list: a search and the refill of the list with its words (the notices that say
// why a list is empty or partial, "正在查找…" while a search by spelling runs on its worker),
// the sample rows at start, the picks in the list and its menu. A pick shows the row's word
// (WindowState::show); a refill shows none. The window's slots that the list's signals reach
// by name are cut during a refill and made again by `reconnect`.
class ResultList : public QObject {
  Q_OBJECT

 public:
  ResultList(QListWidget* list, WindowState& state, PhoneticDictionary& dictionary,
             LearnerSearch& search, QObject* window, std::function<void()> reconnect);
  ~ResultList() override;

  // Searches `text` (0: by sound, 1: by spelling) and refills the list; `limitMode` 0 keeps
  // the typing path's 100 words, 1 lists all.
  void search(const QString& text, int limitMode, int searchMode);
  // The sample result of the sample input, its first row current.
  void showSampleRows();
  // The learner picked the row `row` (a row change) or `item` (a click), or chose it
  // (double-click, Return).
  void pickRow(int row);
  void pickItem(const QListWidgetItem* item);
  void chooseItem(const QListWidgetItem* item);
  // The list's menu as it would open at `position`: the row there becomes the current word
  // first. Null when no word is current. The caller owns it.
  QMenu* menuAt(const QPoint& position);

 private:
  bool startSpellingSearch(const QString& text, int limitMode, const QElapsedTimer& elapsed);
  void showOutcome(SearchOutcome outcome, bool spelling, const QString& text);
  void showSearching();

  QListWidget* list_;
  WindowState& state_;
  PhoneticDictionary& dictionary_;
  LearnerSearch& search_;
  QObject* window_;
  std::function<void()> reconnect_;
  EmptyListNotice* emptyListNotice_;
  QLabel* searchingNotice_;
  QTimer* searchingDelay_;
  SpellingSearchWorker* spellingWorker_;
  // Counts the searches: only the latest one's list is shown.
  quint64 searchNumber_ = 0;
  bool starting_ = false;
};
