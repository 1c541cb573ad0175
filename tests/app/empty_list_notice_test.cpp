// The line over the result list: why a list is empty, and that a list holding words is only
// part of the answer when the search stopped partway or could not rank.
#include <QListWidget>
#include <QTest>

#include "empty_list_notice.h"

namespace {

SearchOutcome withWords(const QStringList& words) {
  SearchOutcome outcome;
  outcome.words = words;
  outcome.nearSoundFrom = outcome.words.size();
  return outcome;
}

}  // namespace

class EmptyListNoticeTest : public QObject {
  Q_OBJECT

 private slots:
  void partialListsSaySoAlongTheListsFoot() {
    QListWidget list;
    list.resize(300, 240);
    list.show();
    EmptyListNotice notice(&list);

    // A whole answer: nothing over the list.
    notice.showFor(withWords({QStringLiteral("cat")}), false);
    QVERIFY(!notice.isVisible());

    // The rows could not be read: the plain search answered, unranked.
    SearchOutcome unranked = withWords({QStringLiteral("captain"), QStringLiteral("cat")});
    unranked.incomplete = true;
    notice.showFor(unranked, false);
    QVERIFY(notice.isVisible());
    QVERIFY(notice.text().contains(QStringLiteral("不完整")));
    const QRect viewport = list.viewport()->rect();
    QCOMPARE(notice.geometry().bottom(), viewport.bottom());
    QVERIFY(notice.geometry().height() < viewport.height() / 2);
    QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));

    // A statement stopped partway: the rows found before it stay, with the reason.
    SearchOutcome stopped = withWords({QStringLiteral("east")});
    stopped.reason = EmptyListReason::QueryFailed;
    stopped.message = "regexp: statement took too long";
    notice.showFor(stopped, true);
    QVERIFY(notice.isVisible());
    QVERIFY(notice.text().contains(QStringLiteral("regexp: statement took too long")));

    // An empty list still fills the viewport with its reason; a new whole answer clears it.
    SearchOutcome none;
    none.reason = EmptyListReason::NoMatch;
    notice.showFor(none, false);
    QCOMPARE(notice.geometry(), viewport);
    notice.showFor(withWords({QStringLiteral("cat")}), false);
    QVERIFY(!notice.isVisible());
  }
};

QTEST_MAIN(EmptyListNoticeTest)
#include "empty_list_notice_test.moc"
