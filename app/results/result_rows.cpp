#include "app/results/result_rows.h"

#include <algorithm>
#include <string>

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
  appendResultRows(list, outcome.words, {outcome.nearSoundFrom, outcome.nearSound}, 0,
                   outcome.words.size());
}

void appendResultRows(QListWidget* list, const HeadwordList& words, NearSoundRows near,
                      qsizetype from, qsizetype to) {
  const auto size = static_cast<qsizetype>(words.size());
  near.from = std::clamp<qsizetype>(near.from, 0, size);
  to = std::min(to, size);
  QFont nearFont = list->font();
  nearFont.setItalic(true);
  for (qsizetype i = from; i < to;) {
    if (i == near.from) {
      auto* heading = new QListWidgetItem(nearSoundHeadingText());
      heading->setFlags(Qt::NoItemFlags);
      heading->setData(kHeadingRole, true);
      heading->setForeground(QColor(0x80, 0x80, 0x80));
      list->addItem(heading);
    }
    if (near.contains(i)) {
      auto* item = new QListWidgetItem(QString::fromStdString(words.at(i)));
      item->setFont(nearFont);
      item->setForeground(QColor(0x55, 0x55, 0x55));
      list->addItem(item);
      ++i;
      continue;
    }
    // A run of exact matches at once.
    qsizetype end = i + 1;
    while (end < to && end != near.from && !near.contains(end)) ++end;
    QStringList run;
    run.reserve(end - i);
    for (const std::string& word : words.mid(i, end - i)) run.append(QString::fromStdString(word));
    list->addItems(run);
    i = end;
  }
}

bool isNearSoundHeading(const QListWidgetItem* item) {
  return item != nullptr && item->data(kHeadingRole).toBool();
}
