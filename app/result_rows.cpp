#include "result_rows.h"

#include <algorithm>

#include <QCoreApplication>
#include <QListWidget>

namespace {

// Marks the heading row, whose text is no headword.
constexpr int kHeadingRole = Qt::UserRole + 1;

}  // namespace

QString nearSoundHeadingText() {
  return QCoreApplication::translate("MainWindow", "—— 近音词（音近似，非完全相符）——");
}

void appendResultRows(QListWidget* list, const SearchOutcome& outcome) {
  appendResultRows(list, outcome.words, outcome.nearSoundFrom, 0, outcome.words.size());
}

void appendResultRows(QListWidget* list, const HeadwordList& words, qsizetype nearSoundFrom,
                      qsizetype from, qsizetype to) {
  const qsizetype nearFrom = std::clamp<qsizetype>(nearSoundFrom, 0, words.size());
  to = std::min(to, words.size());
  if (from < nearFrom) list->addItems(words.mid(from, std::min(to, nearFrom) - from));
  if (to <= nearFrom) return;

  if (from <= nearFrom) {
    auto* heading = new QListWidgetItem(nearSoundHeadingText());
    heading->setFlags(Qt::NoItemFlags);
    heading->setData(kHeadingRole, true);
    heading->setForeground(QColor(0x80, 0x80, 0x80));
    list->addItem(heading);
  }

  QFont nearFont = list->font();
  nearFont.setItalic(true);
  for (qsizetype i = std::max(from, nearFrom); i < to; ++i) {
    auto* item = new QListWidgetItem(words.at(i));
    item->setFont(nearFont);
    item->setForeground(QColor(0x55, 0x55, 0x55));
    list->addItem(item);
  }
}

bool isNearSoundHeading(const QListWidgetItem* item) {
  return item != nullptr && item->data(kHeadingRole).toBool();
}
