// A long result list in the window's list widget: shown a screenful at a time, every row
// reachable in order by scrolling or by moving the current row, and replaced whole.
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "tests/app/headword_lists.h"
#include "app/results/result_list_filler.h"
#include "app/results/result_rows.h"

namespace {

QStringList numbered(const QString& prefix, int count) {
  QStringList rows;
  for (int i = 0; i < count; ++i) rows << prefix + QString::number(i);
  return rows;
}

QStringList texts(const QListWidget& list) {
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
    ResultListFiller::of(&list)->fill(headwords(rows));
    QCOMPARE(list.count(), int(ResultListFiller::kFirstRows));
    QCOMPARE(texts(list), rows.mid(0, ResultListFiller::kFirstRows));
    QScrollBar* bar = list.verticalScrollBar();
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
    ResultListFiller::of(&list)->fill(headwords(rows));
    for (int row = 0; row < rows.size(); ++row) {
      QVERIFY2(row < list.count(), qPrintable(QString::number(row)));
      list.setCurrentRow(row);
    }
    QCOMPARE(texts(list), rows);
  }

  // Near-sound rows that start past the first screenfuls: the heading comes right before
  // them once they are reached, once, and only the near-sound rows are in italics.
  void theNearSoundHeadingJoinsWhereTheNearRowsStart() {
    QListWidget list;
    const QStringList rows = numbered(QStringLiteral("w"), 1200);
    const qsizetype nearFrom = ResultListFiller::kFirstRows + 150;
    ResultListFiller::of(&list)->fill(headwords(rows), nearFrom);
    QCOMPARE(list.count(), int(ResultListFiller::kFirstRows));
    for (int row = 0; row < list.count(); ++row) list.setCurrentRow(row);
    QStringList expected = rows.mid(0, nearFrom);
    expected << nearSoundHeadingText() << rows.mid(nearFrom);
    QCOMPARE(texts(list), expected);
    const int heading = int(nearFrom);
    QVERIFY(isNearSoundHeading(list.item(heading)));
    QCOMPARE(list.item(heading)->flags(), Qt::NoItemFlags);
    QVERIFY(!list.item(heading - 1)->font().italic());
    QVERIFY(list.item(heading + 1)->font().italic());
    QVERIFY(list.item(list.count() - 1)->font().italic());

    // Only near-sound rows: the heading first.
    ResultListFiller::of(&list)->fill(headwords(numbered(QStringLiteral("n"), 3)), 0);
    QCOMPARE(texts(list), QStringList({nearSoundHeadingText(), "n0", "n1", "n2"}));
  }

  void aNewListReplacesTheOldWhole() {
    QListWidget list;
    ResultListFiller* filler = ResultListFiller::of(&list);
    QCOMPARE(ResultListFiller::of(&list), filler);
    filler->fill(headwords(numbered(QStringLiteral("long"), 50000)));
    filler->fill(headwords(numbered(QStringLiteral("short"), 3)));
    QCOMPARE(texts(list), numbered(QStringLiteral("short"), 3));
    QCOMPARE(filler->pendingRows(), 0);
    filler->fill({});
    QCOMPARE(list.count(), 0);
  }
};

QTEST_MAIN(ResultListFillerTest)
#include "result_list_filler_test.moc"
