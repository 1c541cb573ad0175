// The listening drill in the window: Ctrl+L opens it, it asks a word from the chosen source
// without showing it, the learner types in the main window and chooses a row with Return; a
// right choice moves the word up a box, a wrong one shows the sounds that differ and counts
// the confusion, and My words shows both. No audio server is reachable here: the drill says
// that it cannot play and goes on.
#include <QApplication>
#include <QComboBox>
#include <QSet>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/learner/drill_dialog.h"
#include "app/learner/learner_words.h"
#include "app/learner/learner_words_dialog.h"
#include "app/learner/learner_writer.h"
#include "learner/drill.h"
#include "learner/learner_store.h"
#include "tests/app/open_window.h"

using namespace quorvi::learner;
using Kind = sound::AlignedSound::Kind;

namespace {

std::vector<quorvi::testing::DictionaryRow> drillRows() {
  std::vector<quorvi::testing::DictionaryRow> rows = quorvi::testing::sampleRows();
  rows.push_back({"think", "&#712;&#952;i&#331;k", "v. to have an idea"});
  rows.push_back({"sink", "si&#331;k", "n. a basin"});
  return rows;
}

}  // namespace

class DrillTest : public WindowTestCase {
  Q_OBJECT

 private:
  QListWidget* list() { return window->findChild<QListWidget*>(QStringLiteral("displayResult")); }
  QLineEdit* input() { return window->findChild<QLineEdit*>(QStringLiteral("inputPhonetic")); }
  LearnerWords* learner() { return window->findChild<LearnerWords*>(); }
  QString label(DrillDialog* drill, const char* name) {
    return drill->findChild<QLabel*>(QString::fromLatin1(name))->text();
  }
  void click(DrillDialog* drill, const char* button) {
    QTest::mouseClick(drill->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
  }

  // Ctrl+L in the main window's input opens the drill.
  DrillDialog* openDrill() {
    QTest::keyClick(input(), Qt::Key_L, Qt::ControlModifier);
    if (!QTest::qWaitFor([this] { return learner()->drill() != nullptr; })) return nullptr;
    learner()->drill()->setSeed(5);
    return learner()->drill();
  }

  // Types `heard` in the main window and chooses `word` in its list with Return.
  bool typeAndChoose(const QString& heard, const QString& word) {
    input()->setText(heard);
    if (!QTest::qWaitFor([&] { return !list()->findItems(word, Qt::MatchExactly).isEmpty(); }))
      return false;
    list()->setFocus();
    list()->setCurrentItem(list()->findItems(word, Qt::MatchExactly).first());
    QTest::keyClick(list(), Qt::Key_Return);
    return true;
  }

  LearnerWordsDialog* myWords() {
    learner()->showMyWords();
    return learner()->dialog();
  }

 private slots:
  void cleanup() { closeWindow(); }

  void theRightWordMovesUpABoxAndMyWordsShowsTheScore() {
    QVERIFY(openWindow(drillRows()));
    DrillDialog* drill = openDrill();
    QVERIFY(drill);
    // No words of the learner's own yet: the most heard words, read on another thread.
    QCOMPARE(drill->sourceBox()->currentData().toString(), QStringLiteral("most-heard"));
    click(drill, "drillNext");
    QTRY_VERIFY(!drill->askedWord().isEmpty());
    // A level this dictionary has no words of says so.
    drill->sourceBox()->setCurrentIndex(drill->sourceBox()->findData(QStringLiteral("level:CET4")));
    click(drill, "drillNext");
    QTRY_VERIFY(label(drill, "drillStatus").contains(QStringLiteral("这个词源里没有单词")));
    drill->sourceBox()->setCurrentIndex(0);
    click(drill, "drillNext");
    QVERIFY(label(drill, "drillStatus").contains(QStringLiteral("生词本里还没有单词")));

    QVERIFY(learner()->toggleSaved(QStringLiteral("think")));
    click(drill, "drillNext");
    QCOMPARE(drill->askedWord(), QStringLiteral("think"));
    // Without sound the drill says so, and never shows the word before the answer.
    QVERIFY(label(drill, "drillStatus").contains(QStringLiteral("无法播放声音")));
    for (QLabel* shown : drill->findChildren<QLabel*>())
      QVERIFY2(!shown->text().contains(QStringLiteral("think")), qPrintable(shown->text()));
    QCOMPARE(input()->text(), QString());

    QVERIFY(typeAndChoose(QStringLiteral("θiŋk"), QStringLiteral("think")));
    QVERIFY(drill->answered());
    QVERIFY(label(drill, "drillVerdict").contains(QStringLiteral("对了")));
    QVERIFY(label(drill, "drillScore").contains(QStringLiteral("答对 1 题，共 1 题")));
    QTRY_VERIFY(drillScore(*learner()->store(), "think").has_value());
    const std::optional<DrillScore> score = drillScore(*learner()->store(), "think");
    QCOMPARE(score->box, 2);
    QCOMPARE(score->right, 1LL);
    // A second choice of the same question changes nothing.
    QVERIFY(typeAndChoose(QStringLiteral("siŋk"), QStringLiteral("sink")));
    learner()->writer()->waitUntilIdle();
    QCOMPARE(drillScore(*learner()->store(), "think")->asked(), 1LL);

    LearnerWordsDialog* words = myWords();
    QVERIFY(words);
    QCOMPARE(words->wordAt(0), QStringLiteral("think"));
    QTRY_COMPARE(words->table()->model()->index(0, 6).data().toString(),
                 QStringLiteral("1/1，第 2 盒"));
  }

  // The drill stands beside the main window, never over the input and the list the answer is
  // typed and chosen in, and Tab reaches each of its controls, each with a key.
  void theDrillStandsBesideTheWindowAndTabReachesItsButtons() {
    QVERIFY(openWindow(drillRows()));
    DrillDialog* drill = openDrill();
    QVERIFY(drill && QTest::qWaitForWindowExposed(drill));
    const QRect drillArea = drill->frameGeometry();
    for (QWidget* answer : {static_cast<QWidget*>(input()), static_cast<QWidget*>(list())}) {
      const QRect place(answer->mapToGlobal(QPoint(0, 0)), answer->size());
      QVERIFY2(!drillArea.intersects(place), qPrintable(answer->objectName()));
    }
    drill->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(drill));
    drill->sourceBox()->setFocus(Qt::TabFocusReason);
    QSet<QWidget*> reached;
    for (int tab = 0; tab < 10; ++tab) {
      reached.insert(drill->focusWidget());
      QTest::keyClick(drill->focusWidget(), Qt::Key_Tab);
    }
    for (QPushButton* button : drill->findChildren<QPushButton*>()) {
      if (!button->isEnabled()) continue;
      QVERIFY2(reached.contains(button), qPrintable(button->text()));
      QVERIFY2(button->text().contains(QLatin1Char('&')), qPrintable(button->text()));
    }
  }

  void aWrongChoiceShowsTheDifferingSoundAndCountsTheConfusion() {
    QVERIFY(openWindow(drillRows()));
    QVERIFY(learner()->toggleSaved(QStringLiteral("think")));
    DrillDialog* drill = openDrill();
    QVERIFY(drill);
    QCOMPARE(drill->sourceBox()->currentData().toString(), QStringLiteral("my-words"));
    click(drill, "drillNext");
    QCOMPARE(drill->askedWord(), QStringLiteral("think"));

    QVERIFY(typeAndChoose(QStringLiteral("siŋk"), QStringLiteral("sink")));
    QVERIFY(label(drill, "drillVerdict").contains(QStringLiteral("不对")));
    QVERIFY(label(drill, "drillVerdict").contains(QStringLiteral("think")));
    // θ heard as s, marked in colour and with a sign; the rest the same.
    const std::vector<sound::AlignedSound>& steps = drill->alignment();
    QCOMPARE(steps.size(), size_t{4});
    QCOMPARE(steps[0].kind, Kind::HeardAs);
    QCOMPARE(steps[0].stored, std::string("θ"));
    QCOMPARE(steps[0].typed, std::string("s"));
    const QString shown = label(drill, "drillAlignment");
    QVERIFY2(shown.contains(QStringLiteral("color:#c00000; font-weight:bold;\">θ")),
             qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("≠")));
    QCOMPARE(shown.count(QStringLiteral("#c00000")), 3);  // one column: typed, stored, mark
    QVERIFY(drill->findChild<QPushButton*>(QStringLiteral("drillHearTyped"))->isEnabled());
    click(drill, "drillHearTyped");
    QVERIFY(label(drill, "drillStatus").contains(QStringLiteral("无法播放声音")));
    QTRY_VERIFY(label(drill, "drillConfusions").contains(QStringLiteral("你常把 θ 听成 s（1 次）")));

    const std::optional<DrillScore> score = drillScore(*learner()->store(), "think");
    QVERIFY(score);
    QCOMPARE(score->box, 1);
    QCOMPARE(score->wrong, 1LL);
    std::string error;
    const std::vector<Confusion> confusions = commonConfusions(*learner()->store(), 5, error);
    QCOMPARE(confusions.size(), size_t{1});
    QCOMPARE(confusions[0].stored, std::string("θ"));

    // The next question asks it again (the only word), and My words shows score and confusion.
    QTest::keyClick(input(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(drill->askedWord(), QStringLiteral("think"));
    QVERIFY(!drill->answered());
    QVERIFY(label(drill, "drillVerdict").isEmpty());
    LearnerWordsDialog* words = myWords();
    QVERIFY(words);
    QTRY_COMPARE(words->table()->model()->index(0, 6).data().toString(),
                 QStringLiteral("0/1，第 1 盒"));
    QVERIFY(words->confusionsText().contains(QStringLiteral("你常把 θ 听成 s")));
  }
};

QTEST_MAIN(DrillTest)
#include "drill_test.moc"
