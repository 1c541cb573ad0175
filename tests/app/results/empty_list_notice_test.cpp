// The line over the result list: why a list is empty, and that a list holding words is only
// part of the answer when the search stopped partway or could not rank.
#include <QListWidget>
#include <QTest>

#include "tests/app/headword_lists.h"
#include "app/results/empty_list_notice.h"

namespace {

SearchOutcome withWords(const QStringList& words) {
  SearchOutcome outcome;
  outcome.words = headwords(words);
  outcome.nearSoundFrom = outcome.words.size();
  return outcome;
}

}  // namespace

class EmptyListNoticeTest : public QObject {
  Q_OBJECT

 private slots:
  // The REGEXP module's English message, said in the window's words with the place marked:
  // the module counts bytes of UTF-8, the learner characters.
  void aBadPatternIsSaidWithItsPlaceMarked() {
    const auto said = [](const char* message, const QString& pattern) {
      SearchOutcome outcome;
      outcome.reason = EmptyListReason::BadPattern;
      outcome.message = message;
      return EmptyListNotice::reasonText(outcome, true, pattern);
    };
    QCOMPARE(
        said("bad pattern at offset 3: unmatched closing parenthesis", QStringLiteral("\u00e6a)b")),
        QStringLiteral("正则表达式有误：第 3 个字符处多了一个右括号“)”\n\u00e6a【)】b"));
    QCOMPARE(said("bad pattern at offset 5: missing closing parenthesis", QStringLiteral("(oops")),
             QStringLiteral("正则表达式有误：模式末尾缺少右括号“)”\n(oops【】"));
    QCOMPARE(said("bad pattern at offset 0: quantifier does not follow a repeatable item",
                  QStringLiteral("*at")),
             QStringLiteral(
                 "正则表达式有误：第 1 个字符处重复符号（* + ? {}）前面没有可重复的内容\n【*】at"));
    // A message without a Chinese text keeps its English detail, still placed.
    QCOMPARE(said("bad pattern at offset 1: some rare fault", QStringLiteral("ab")),
             QStringLiteral("正则表达式有误：第 2 个字符处some rare fault\na【b】"));
    // Anything else from the module passes as it is; an offset past the text marks its end.
    QCOMPARE(said("out of memory", QStringLiteral("ab")),
             QStringLiteral("正则表达式有误：out of memory"));
    QCOMPARE(said("bad pattern at offset 99: missing closing parenthesis", QStringLiteral("(a")),
             QStringLiteral("正则表达式有误：模式末尾缺少右括号“)”\n(a【】"));
  }

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
    // Shown before the list has its final size (a window built without its dictionary), the
    // notice follows the viewport rather than clip its text in the first size's box.
    list.resize(400, 300);
    QCOMPARE(notice.geometry(), list.viewport()->rect());
    list.resize(300, 240);
    notice.showFor(withWords({QStringLiteral("cat")}), false);
    QVERIFY(!notice.isVisible());
  }
};

QTEST_MAIN(EmptyListNoticeTest)
#include "empty_list_notice_test.moc"
