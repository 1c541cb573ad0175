#pragma once

#include <QObject>

#include <cstdint>
#include <vector>

#include "engine/headword_list.h"

class QListWidget;

// Shows a result list of any length in a list widget at once: the first screenfuls are
// items right away, and more follow, in order, as the user scrolls or moves the current row
// towards the end. The list holds only the rows reached so far, so a long list costs
// neither the time to create every item nor the time to delete them at the next search.
class ResultListFiller : public QObject {
  Q_OBJECT

 public:
  static constexpr qsizetype kFirstRows = 300;
  static constexpr qsizetype kMoreRows = 500;

  // The filler of `list`, made on first use and owned by the list.
  static ResultListFiller* of(QListWidget* list);

  // Empties the list and shows the first rows of `rows`. Rows from `nearSoundFrom` on are
  // near-sound matches, shown after their heading row (see result_rows.h); -1: none are.
  // Before it, the rows `nearSound` marks are near-sound ones ranked among the others.
  // The text of a row is made when the row becomes an item.
  void fill(HeadwordList rows, qsizetype nearSoundFrom = -1,
            std::vector<std::uint8_t> nearSound = {});
  // Rows not yet items of the list.
  qsizetype pendingRows() const { return rows_.size() - shown_; }

 private slots:
  void onScrolled(int value);
  void onCurrentRowChanged(int row);

 private:
  explicit ResultListFiller(QListWidget* list);
  void showMore(qsizetype count);

  QListWidget* list_;
  HeadwordList rows_;
  qsizetype nearSoundFrom_ = 0;
  std::vector<std::uint8_t> nearSound_;
  qsizetype shown_ = 0;
};
