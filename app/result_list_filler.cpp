#include "result_list_filler.h"

#include <QListWidget>
#include <QScrollBar>
#include <QThreadPool>

#include "result_rows.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace {

// Past this many rows, the last reference to a list is dropped on a pool thread: freeing a
// hundred thousand strings would hold up the keystroke that replaces them.
constexpr qsizetype kReleaseElsewhereRows = 2000;

void release(QStringList& rows) {
  if (rows.size() < kReleaseElsewhereRows) {
    rows = QStringList();
    return;
  }
  QThreadPool::globalInstance()->start([old = std::move(rows)]() mutable {
    old = QStringList();
#ifdef __GLIBC__
    malloc_trim(0);  // hand the freed pages back, so that the window's size stays flat
#endif
  });
  rows = QStringList();
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

void ResultListFiller::fill(const QStringList& rows, qsizetype nearSoundFrom) {
  list_->clear();
  release(rows_);
  // Kept until the next fill even when all are shown, so that the last reference to a
  // long list is the one dropped here.
  rows_ = rows;
  nearSoundFrom_ = nearSoundFrom < 0 ? rows.size() : qMin(nearSoundFrom, rows.size());
  shown_ = 0;
  showMore(kFirstRows);
}

void ResultListFiller::showMore(qsizetype count) {
  count = qMin(count, pendingRows());
  if (count <= 0) return;
  appendResultRows(list_, rows_, nearSoundFrom_, shown_, shown_ + count);
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
