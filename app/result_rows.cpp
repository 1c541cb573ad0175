#include "result_rows.h"

#include <QCoreApplication>
#include <QListWidget>

namespace {

// Marks the heading row, whose text is no headword.
constexpr int kHeadingRole = Qt::UserRole + 1;

}  // namespace

QString nearSoundHeadingText() {
    return QCoreApplication::translate("MainWindow", "—— 近音词（音近似，非完全相符）——");
}

void appendResultRows(QListWidget *list, const SearchOutcome &outcome) {
    const qsizetype nearFrom = std::min(outcome.nearSoundFrom, outcome.words.size());
    for (qsizetype i = 0; i < nearFrom; ++i) list->addItem(outcome.words.at(i));
    if (nearFrom == outcome.words.size()) return;

    auto *heading = new QListWidgetItem(nearSoundHeadingText());
    heading->setFlags(Qt::NoItemFlags);
    heading->setData(kHeadingRole, true);
    heading->setForeground(QColor(0x80, 0x80, 0x80));
    list->addItem(heading);

    QFont nearFont = list->font();
    nearFont.setItalic(true);
    for (qsizetype i = nearFrom; i < outcome.words.size(); ++i) {
        auto *item = new QListWidgetItem(outcome.words.at(i));
        item->setFont(nearFont);
        item->setForeground(QColor(0x55, 0x55, 0x55));
        list->addItem(item);
    }
}

bool isNearSoundHeading(const QListWidgetItem *item) {
    return item != nullptr && item->data(kHeadingRole).toBool();
}
