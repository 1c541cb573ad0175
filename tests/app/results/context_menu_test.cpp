// The menus on the current word, from the result list and the entry pane: a right click on a
// row shows that row's word first; the menu copies, says, keeps and opens that word.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <memory>

#include "tests/app/headword_lists.h"
#include "app/entry/entry_pane.h"
#include "app/results/result_list.h"
#include "app/results/result_rows.h"
#include "app/speech/speech_controls.h"
#include "engine/phonetic_dictionary.h"
#include "tests/app/open_window.h"

namespace {

QStringList actionTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) texts << action->text();
  return texts;
}

QAction* actionNamed(QMenu* menu, const QString& text) {
  for (QAction* action : menu->actions())
    if (action->text() == text) return action;
  qFatal("no action %s", qPrintable(text));
}

}  // namespace

class ContextMenuTest : public WindowTestCase {
  Q_OBJECT

 private:
  QListWidget* list() { return window->findChild<QListWidget*>(QStringLiteral("displayResult")); }
  QTextEdit* pane() { return window->findChild<QTextEdit*>(QStringLiteral("displayFull")); }
  ResultList* results() { return window->findChild<ResultList*>(); }
  EntryPane* entry() { return window->findChild<EntryPane*>(); }
  SpeechControls* speech() { return window->findChild<SpeechControls*>(); }
  QPoint rowCentre(int row) { return list()->visualItemRect(list()->item(row)).center(); }

  QString entryOf(const QString& headword) {
    PhoneticDictionary engine;
    return engine.entryText(headword.toStdString()).join(QLatin1Char('\n'));
  }

 private slots:
  void init() {
    auto rows = quorvi::testing::sampleRows();
    rows.push_back({"record", "&#712;rek&#596;&#720;d", "n. a written account"});
    rows.push_back({"record", "ri&#712;k&#596;&#720;d", "v. to write down"});
    QVERIFY(openWindow(rows));
  }

  void cleanup() { closeWindow(); }

  void aRowsMenuShowsItsWordThenCopiesSaysAndKeepsIt() {
    std::unique_ptr<QMenu> menu(results()->menuAt(rowCentre(1)));
    QVERIFY(menu);
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("exampling\n")));
    const QString sounds = QStringLiteral("i\u0261\u02C8z\u0251\u02D0mpli\u014B");
    QCOMPARE(actionTexts(menu.get()),
             QStringList({"复制单词“exampling”", "复制词条", "在大窗口中查看“exampling”", "",
                          "朗读“exampling”", "美音朗读“exampling”", "朗读 [" + sounds + "]", "",
                          "加入生词本：exampling", "生词本…", "查词历史…", "听音找词…"}));
    // The menus show their keys.
    QCOMPARE(actionNamed(menu.get(), "朗读“exampling”")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Space));
    QCOMPARE(actionNamed(menu.get(), "加入生词本：exampling")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_D));
    actionNamed(menu.get(), "复制单词“exampling”")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("exampling"));
    actionNamed(menu.get(), "复制词条")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), entryOf(QStringLiteral("exampling")));

    QSignalSpy spoken(speech(), &SpeechControls::spoken);
    // Both once the menu's own handling is over, from the event loop.
    actionNamed(menu.get(), "朗读“exampling”")->trigger();
    actionNamed(menu.get(), "朗读 [" + sounds + "]")->trigger();
    QCOMPARE(spoken.size(), 0);
    QTRY_COMPARE(spoken.size(), 2);
    QCOMPARE(spoken.at(0).at(0).toString(), QStringLiteral("exampling"));
    QCOMPARE(spoken.at(1).at(0).toString(), sounds);
  }

  void everyStoredPronunciationCanBeHeard() {
    list()->addItem(QStringLiteral("record"));
    std::unique_ptr<QMenu> menu(results()->menuAt(rowCentre(2)));
    const QStringList texts = actionTexts(menu.get());
    QVERIFY2(texts.contains(QStringLiteral("朗读 [\u02C8rek\u0254\u02D0d]")) &&
                 texts.contains(QStringLiteral("朗读 [ri\u02C8k\u0254\u02D0d]")),
             qPrintable(texts.join(QLatin1Char('|'))));
  }

  // A row with an American transcription: the pane shows it under the British one, each
  // labelled, and the menu says the word and that transcription in the American voice.
  void theAmericanTranscriptionIsShownAndSaid() {
    closeWindow();
    auto rows = quorvi::testing::sampleRows();
    rows.push_back({"tomato", "t&#601;&#712;m&#593;&#720;t&#601;u", "n. a red fruit", "təˈmeɪtoʊ"});
    QVERIFY(openWindow(rows));
    list()->addItem(QStringLiteral("tomato"));
    std::unique_ptr<QMenu> menu(results()->menuAt(rowCentre(list()->count() - 1)));
    QVERIFY(menu);
    QCOMPARE(pane()->toPlainText(),
             QStringLiteral("tomato\n英 [təˈmɑːtəu]\n美 [təˈmeɪtoʊ]\nn. a red fruit"));
    QCOMPARE(actionNamed(menu.get(), "美音朗读“tomato”")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space));
    QSignalSpy spoken(speech(), &SpeechControls::spoken);
    actionNamed(menu.get(), QStringLiteral("美音朗读 [təˈmeɪtoʊ]"))->trigger();
    QTRY_COMPARE(spoken.size(), 1);
    QCOMPARE(spoken.at(0).at(0).toString(), QStringLiteral("təˈmeɪtoʊ"));
  }

  // The heading above the near-sound rows is no word: a right click on it opens no menu.
  void theNearSoundHeadingHasNoMenu() {
    list()->clear();
    appendResultRows(list(), headwords({"example", "exampling"}), {1}, 0, 2);
    QVERIFY(isNearSoundHeading(list()->item(1)));
    QCOMPARE(results()->menuAt(rowCentre(1)), nullptr);
    std::unique_ptr<QMenu> menu(results()->menuAt(rowCentre(2)));
    QVERIFY(menu);
    QCOMPARE(actionTexts(menu.get()).first(), QStringLiteral("复制单词“exampling”"));
  }

  void paneMenuCopiesTheSelectionToo() {
    // Without a selection: the entry's headword and the whole entry.
    std::unique_ptr<QMenu> menu(entry()->menu());
    QCOMPARE(actionTexts(menu.get()).first(), QStringLiteral("复制单词“example”"));
    actionNamed(menu.get(), "复制词条")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), entryOf(QStringLiteral("example")));

    // Selecting text still works, and the selection can be copied.
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(pane()->toPlainText().indexOf(QLatin1Char(']')) + 1,
                       QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
    menu.reset(entry()->menu());
    actionNamed(menu.get(), "复制选中文字")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("example\n[i\u0261\u02C8z\u0251\u02D0mpl]"));
  }

  // Speech may run the event loop (an audio output does while it is replaced), and that loop
  // deletes a menu that has closed: the word is only said once the menu's handling of the
  // click has returned, so a menu picked over and over takes no harm.
  void aPronouncingActionThatRunsTheEventLoopLeavesTheMenuWhole() {
    int heard = 0;
    connect(speech(), &SpeechControls::spoken, this, [&heard] {
      ++heard;
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    for (int time = 0; time < 6; ++time) {
      QContextMenuEvent click(QContextMenuEvent::Mouse, rowCentre(1),
                              list()->viewport()->mapToGlobal(rowCentre(1)));
      QApplication::sendEvent(list()->viewport(), &click);
      QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
      QPointer<QMenu> open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QAction* say = open->actions().at(4 + time % 2);  // the word, then its transcription
      QTest::mouseClick(open, Qt::LeftButton, {}, open->actionGeometry(say).center());
      QTRY_VERIFY(open.isNull());
      QTRY_COMPARE(heard, time + 1);
    }
  }

  void rightClickOpensTheMenuAndNoWordOpensNone() {
    QContextMenuEvent click(QContextMenuEvent::Mouse, rowCentre(0),
                            list()->viewport()->mapToGlobal(rowCentre(0)));
    QApplication::sendEvent(list()->viewport(), &click);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(open != nullptr);
    QCOMPARE(open->actions().first()->text(), QStringLiteral("复制单词“example”"));
    open->close();

    // Away from the rows, the menu is the current word's; with the pane empty, none.
    list()->clear();
    std::unique_ptr<QMenu> current(results()->menuAt(QPoint(5, 5)));
    QVERIFY(current);
    pane()->clear();
    QCOMPARE(entry()->menu(), nullptr);
  }
};

QTEST_MAIN(ContextMenuTest)
#include "context_menu_test.moc"
