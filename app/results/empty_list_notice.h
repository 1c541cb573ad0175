// The line that tells a learner why the result list is empty. It lies over the list's empty
// viewport, in grey italics, and can be neither selected nor clicked, so that no one takes
// it for a word. Over a list that holds only part of the answer (a search stopped partway, or
// answered without its ranked rows) it says so in a strip along the list's foot.
#pragma once

#include <QLabel>

#include "engine/search_outcome.h"

class QListWidget;

class EmptyListNotice : public QLabel {
  Q_OBJECT

 public:
  explicit EmptyListNotice(QListWidget* list);

  // Shows the reason of `outcome` when its list is empty, or that the list is partial; hides
  // the notice otherwise. `pattern` is the text searched: a bad pattern is shown with the
  // place of its fault marked.
  void showFor(const SearchOutcome& outcome, bool spelling, const QString& pattern = QString());

  // The reason in the window's language (context "MainWindow").
  static QString reasonText(const SearchOutcome& outcome, bool spelling,
                            const QString& pattern = QString());
  // Why a list that holds words is not the whole answer; empty when it is.
  static QString partialListText(const SearchOutcome& outcome);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Over the whole viewport, or along its foot (`strip_`).
  void place();

  QListWidget* list_;
  bool strip_ = false;
};
