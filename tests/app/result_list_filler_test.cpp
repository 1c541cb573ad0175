// A long result list in the window's list widget: shown a screenful at a time, every row
// reachable in order by scrolling or by moving the current row, and replaced whole.
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "result_list_filler.h"

namespace {

QStringList numbered(const QString &prefix, int count) {
    QStringList rows;
    for (int i = 0; i < count; ++i) rows << prefix + QString::number(i);
    return rows;
}

QStringList texts(const QListWidget &list) {
    QStringList items;
    for (int row = 0; row < list.count(); ++row) items << list.item(row)->text();
    return items;
}

}  // namespace

class ResultListFillerTest : public QObject {
    Q_OBJECT

private slots:
    void scrollingReachesEveryRowInOrder() {
        QListWidget list;
        list.resize(257, 191);
        list.show();
        const QStringList rows = numbered(QStringLiteral("row"), 2345);
        ResultListFiller::of(&list)->fill(rows);
        QCOMPARE(list.count(), int(ResultListFiller::kFirstRows));
        QCOMPARE(texts(list), rows.mid(0, ResultListFiller::kFirstRows));
        QScrollBar *bar = list.verticalScrollBar();
        for (int turn = 0; turn < 20 && list.count() < rows.size(); ++turn) {
            QTRY_VERIFY(bar->maximum() > bar->value());  // laid out anew
            bar->setValue(bar->maximum());
        }
        QCOMPARE(texts(list), rows);
        QCOMPARE(ResultListFiller::of(&list)->pendingRows(), 0);
    }

    void movingTheCurrentRowDownReachesEveryRow() {
        QListWidget list;
        const QStringList rows = numbered(QStringLiteral("w"), 1000);
        ResultListFiller::of(&list)->fill(rows);
        for (int row = 0; row < rows.size(); ++row) {
            QVERIFY2(row < list.count(), qPrintable(QString::number(row)));
            list.setCurrentRow(row);
        }
        QCOMPARE(texts(list), rows);
    }

    void aNewListReplacesTheOldWhole() {
        QListWidget list;
        ResultListFiller *filler = ResultListFiller::of(&list);
        QCOMPARE(ResultListFiller::of(&list), filler);
        filler->fill(numbered(QStringLiteral("long"), 50000));
        filler->fill(numbered(QStringLiteral("short"), 3));
        QCOMPARE(texts(list), numbered(QStringLiteral("short"), 3));
        QCOMPARE(filler->pendingRows(), 0);
        filler->fill({});
        QCOMPARE(list.count(), 0);
    }
};

QTEST_MAIN(ResultListFillerTest)
#include "result_list_filler_test.moc"
