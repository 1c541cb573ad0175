// One current word: after a pick and a new search, Say, Ctrl+D, the menus and the entry window
// all act on the word the entry pane shows, and name it; a pick in the new list moves all of
// them together.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>

#include <memory>

#include "app/common/window_state.h"
#include "app/entry/entry_pane.h"
#include "app/learner/learner_words.h"
#include "app/results/result_list.h"
#include "tests/app/open_window.h"

class CurrentWordTest : public WindowTestCase {
  Q_OBJECT

 private:
  template <typename T>
  T* widget(const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QListWidget* list() { return widget<QListWidget>("displayResult"); }
  QString paneWord() { return widget<QTextEdit>("displayFull")->toPlainText().section('\n', 0, 0); }
  QString sayTip() { return widget<QPushButton>("speakWord")->toolTip(); }
  QString status() { return widget<QLabel>("statusLine")->text(); }

 private slots:
  void cleanup() { closeWindow(); }

  void everyActionTakesTheWordThePaneShows() {
    QVERIFY(openWindow());
    auto* state = window->findChild<WindowState*>();
    // At start the sample's first word is current: Ctrl+D has a word to keep.
    QCOMPARE(state->currentWord(), QStringLiteral("example"));

    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    QCOMPARE(paneWord(), QStringLiteral("exampling"));
    widget<QLineEdit>("inputPhonetic")->setText(QStringLiteral("k\u00e6t"));
    QTRY_COMPARE(list()->count() > 0 ? list()->item(0)->text() : QString(), QStringLiteral("cat"));

    // The refill changed nothing: every action names exampling.
    QCOMPARE(paneWord(), QStringLiteral("exampling"));
    QVERIFY2(sayTip().contains(QStringLiteral("exampling")), qPrintable(sayTip()));
    std::unique_ptr<QMenu> paneMenu(window->findChild<EntryPane*>()->menu());
    std::unique_ptr<QMenu> listMenu(window->findChild<ResultList*>()->menuAt(QPoint(5, 150)));
    for (QMenu* menu : {paneMenu.get(), listMenu.get()}) {
      QVERIFY(menu);
      QCOMPARE(menu->actions().first()->text(), QStringLiteral("复制单词“exampling”"));
    }
    QTest::keyClick(widget<QLineEdit>("inputPhonetic"), Qt::Key_D, Qt::ControlModifier);
    QTRY_COMPARE(status(), QStringLiteral("已加入生词本：exampling"));
    QVERIFY(window->findChild<LearnerWords*>()->isSaved(QStringLiteral("exampling")));
    QTest::keyClick(window, Qt::Key_E, Qt::ControlModifier);
    EntryWindow* big = window->findChild<EntryPane*>()->entryWindow();
    QVERIFY(big);
    QVERIFY(big->text()->toPlainText().startsWith(QStringLiteral("exampling\n")));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    // A keyboard move onto the new list's first row moves them all, the entry window too.
    QTest::keyClick(widget<QLineEdit>("inputPhonetic"), Qt::Key_Down);
    QCOMPARE(paneWord(), QStringLiteral("cat"));
    QVERIFY2(sayTip().contains(QStringLiteral("cat")), qPrintable(sayTip()));
    QVERIFY(big->text()->toPlainText().startsWith(QStringLiteral("cat\n")));
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    QTRY_COMPARE(status(), QStringLiteral("已加入生词本：cat"));
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    QTRY_COMPARE(status(), QStringLiteral("已移出生词本：cat"));
  }
};

QTEST_MAIN(CurrentWordTest)
#include "current_word_test.moc"
