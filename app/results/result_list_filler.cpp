#include "app/results/result_list_filler.h"

#include <QListWidget>
#include <QScrollBar>
#include <QThreadPool>

#include "app/results/result_rows.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace {

// A list this long is a long list: the search that found it freed megabytes of working
// memory, and dropping it (when it is text) would free a hundred thousand strings.
constexpr qsizetype kLongList = 2000;

// Drops the list `rows`. After a long search, the allocator keeps the freed working memory
// in pieces between live blocks and hands none of it back by itself, so that each long list
// would leave the window larger: a pool thread hands the free pages back. It also frees a long
// list of text, which would hold up the keystroke that replaces it. A list of row numbers is
// one block, freed here.
void release(HeadwordList& rows, bool afterLongSearch) {
  const bool textElsewhere = !rows.holdsRows() && rows.size() >= kLongList;
  if (!textElsewhere && !afterLongSearch) {
    rows = HeadwordList();
    return;
  }
  HeadwordList old = textElsewhere ? std::move(rows) : HeadwordList();
  rows = HeadwordList();
  QThreadPool::globalInstance()->start([old = std::move(old)]() mutable {
    old = HeadwordList();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
  });
}

}  // namespace

ResultListFiller::ResultListFiller(QListWidget* list) : QObject(list), list_(list) {
  connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &ResultListFiller::onScrolled);
  connect(list, &QListWidget::currentRowChanged, this, &ResultListFiller::onCurrentRowChanged);
}

ResultListFiller* ResultListFiller::of(QListWidget* list) {
  auto* filler = list->findChild<ResultListFiller*>(QString(), Qt::FindDirectChildrenOnly);
  return filler != nullptr ? filler : new ResultListFiller(list);
}

void ResultListFiller::fill(HeadwordList rows, qsizetype nearSoundFrom,
                            std::vector<std::uint8_t> nearSound) {
  list_->clear();
  release(rows_, rows.size() >= kLongList);
  // Kept until the next fill even when all are shown, so that the last reference to a
  // long list is the one dropped here.
  rows_ = std::move(rows);
  nearSoundFrom_ = nearSoundFrom < 0 ? rows_.size() : qMin(nearSoundFrom, rows_.size());
  nearSound_ = std::move(nearSound);
  shown_ = 0;
  showMore(kFirstRows);
}

void ResultListFiller::showMore(qsizetype count) {
  count = qMin(count, pendingRows());
  if (count <= 0) return;
  appendResultRows(list_, rows_, {nearSoundFrom_, nearSound_}, shown_, shown_ + count);
  shown_ += count;
}

// Within a page of the end, the next rows join.
void ResultListFiller::onScrolled(int value) {
  const QScrollBar* bar = list_->verticalScrollBar();
  if (value >= bar->maximum() - bar->pageStep()) showMore(kMoreRows);
}

void ResultListFiller::onCurrentRowChanged(int row) {
  if (row >= list_->count() - kFirstRows / 2) showMore(kMoreRows);
}
