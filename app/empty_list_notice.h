// The line that tells a learner why the result list is empty. It lies over the list's empty
// viewport, in grey italics, and can be neither selected nor clicked, so that no one takes
// it for a word.
#pragma once

#include <QLabel>

#include "engine/search_outcome.h"

class QListWidget;

class EmptyListNotice : public QLabel {
  Q_OBJECT

 public:
  explicit EmptyListNotice(QListWidget* list);

  // Shows the reason of `outcome` when its list is empty, hides the notice otherwise.
  void showFor(const SearchOutcome& outcome, bool spelling);

  // The reason in the window's language (context "MainWindow").
  static QString reasonText(const SearchOutcome& outcome, bool spelling);

 private:
  QListWidget* list_;
};
