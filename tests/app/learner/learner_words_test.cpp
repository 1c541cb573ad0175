// History and my words in the window: an opened entry is remembered, Ctrl+D keeps the shown
// word, the "My words" window lists it and opens it again; without a place to keep them the
// window still works and says so once.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/learner/learner_words.h"
#include "app/learner/learner_words_dialog.h"
#include "app/learner/word_list_import.h"
#include "app/results/result_list.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "tests/app/open_window.h"
#include "tests/support/temporary_folder.h"

using namespace quorvi::learner;

class LearnerWordsTest : public WindowTestCase {
  Q_OBJECT

 private:
  QListWidget* list() { return window->findChild<QListWidget*>(QStringLiteral("displayResult")); }
  QTextEdit* pane() { return window->findChild<QTextEdit*>(QStringLiteral("displayFull")); }
  LearnerWords* learner() { return window->findChild<LearnerWords*>(); }
  QPoint rowCentre(int row) { return list()->visualItemRect(list()->item(row)).center(); }

  QStringList historyWords() {
    QStringList words;
    std::string error;
    if (LearnerStore* store = learner()->store())
      for (const HistoryItem& item : history(*store, 0, error))
        words << QString::fromStdString(item.word);
    return words;
  }
  bool saved(const char* word) {
    LearnerStore* store = learner()->store();
    return store != nullptr && containsWord(*store, word);
  }

 private slots:
  void cleanup() { closeWindow(); }

  void openedEntriesAndMyWordsReachTheirWindows() {
    QVERIFY(openWindow());
    // The sample entry shown at the start was not opened by the learner.
    QTest::qWait(LearnerWords::kOpenedAfterMs + 100);
    QCOMPARE(historyWords(), QStringList());

    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("exampling\n")));
    QTRY_COMPARE(historyWords(), QStringList({"exampling"}));

    // Ctrl+D keeps the shown word; the list's menu offers to remove it again.
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    QTRY_VERIFY(saved("exampling"));
    // Also while typing, where the field would take Ctrl+D for deleting forward.
    QLineEdit* input = window->findChild<QLineEdit*>(QStringLiteral("inputPhonetic"));
    const QSignalBlocker noSearch(input);  // the list stays as it is
    input->setText(QStringLiteral("kat"));
    input->setCursorPosition(0);
    QTest::keyClick(input, Qt::Key_D, Qt::ControlModifier);
    QTRY_VERIFY(!saved("exampling"));
    QCOMPARE(input->text(), QStringLiteral("kat"));
    QTest::keyClick(input, Qt::Key_D, Qt::ControlModifier);
    QTRY_VERIFY(saved("exampling"));
    {
      std::unique_ptr<QMenu> menu(window->findChild<ResultList*>()->menuAt(rowCentre(1)));
      QVERIFY(menu);
      bool offered = false;
      for (QAction* action : menu->actions())
        offered |= action->text() == QStringLiteral("移出生词本：exampling");
      QVERIFY(offered);
      // The other row's menu adds it.
      std::unique_ptr<QMenu> other(window->findChild<ResultList*>()->menuAt(rowCentre(0)));
      for (QAction* action : other->actions())
        if (action->text() == QStringLiteral("加入生词本：example")) action->trigger();
    }
    QTRY_VERIFY(saved("example"));

    // The "My words" window lists both, with what the dictionary says and the lookups.
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_VERIFY(learner()->dialog() != nullptr);
    LearnerWordsDialog* dialog = learner()->dialog();
    QCOMPARE(dialog->objectName(), QStringLiteral("myWordsDialog"));
    QTableView* table = dialog->table();
    QCOMPARE(table->model()->rowCount(), 2);
    int exampling = dialog->wordAt(0) == QStringLiteral("exampling") ? 0 : 1;
    QCOMPARE(dialog->wordAt(exampling), QStringLiteral("exampling"));
    QCOMPARE(table->model()->index(exampling, 1).data().toString(),
             QStringLiteral("i\u0261\u02C8z\u0251\u02D0mpli\u014B"));
    QCOMPARE(table->model()->index(exampling, 5).data().toString(), QStringLiteral("1"));

    // A word another window keeps shows when this one is activated again; the current word
    // stays current.
    table->setCurrentIndex(table->model()->index(exampling, 0));
    {
      LearnerStore other(learner()->store()->file());
      QVERIFY(other.isOpen());
      QCOMPARE(addWord(other, "examples"), std::string());
    }
    QCOMPARE(table->model()->rowCount(), 2);
    dialog->reloadIfChangedElsewhere();
    QCOMPARE(table->model()->rowCount(), 3);
    QCOMPARE(dialog->wordAt(table->currentIndex().row()), QStringLiteral("exampling"));
    const QString shownFirst = dialog->wordAt(0);
    dialog->reloadIfChangedElsewhere();  // nothing new: the table is left as it is
    QCOMPARE(dialog->wordAt(0), shownFirst);
    {
      LearnerStore other(learner()->store()->file());
      QCOMPARE(removeWord(other, "examples"), std::string());
    }
    dialog->reloadIfChangedElsewhere();
    QCOMPARE(table->model()->rowCount(), 2);

    // Sorted by word, then narrowed by the filter box.
    table->sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(dialog->wordAt(0), QStringLiteral("example"));
    QTest::keyClicks(dialog->filter(), QStringLiteral("PLING"));
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(dialog->wordAt(0), QStringLiteral("exampling"));
    dialog->filter()->clear();

    // Return on a row opens it in the main window, and that counts as opening it.
    table->setCurrentIndex(table->model()->index(0, 0));
    QTest::keyClick(table, Qt::Key_Return);
    QTRY_VERIFY(pane()->toPlainText().startsWith(QStringLiteral("example\n")));
    QTRY_COMPARE(historyWords(), QStringList({"example", "exampling"}));

    // Ctrl+H: the history, newest first.
    QTest::keyClick(list(), Qt::Key_H, Qt::ControlModifier);
    QTRY_VERIFY(learner()->dialog() != nullptr &&
                learner()->dialog()->objectName() == QStringLiteral("historyDialog"));
    QCOMPARE(learner()->dialog()->table()->model()->rowCount(), 2);
    QCOMPARE(learner()->dialog()->wordAt(0), QStringLiteral("example"));
  }

  // Tab walks every control of My words, the table included but never trapping it, and each
  // button has a key; an export starts in the learner's documents folder, with the chosen type's
  // extension added to a name typed without one.
  void myWordsIsReachedByKeysAndExportsWhereTheLearnerKeepsFiles() {
    QVERIFY(openWindow());
    learner()->showMyWords();
    LearnerWordsDialog* dialog = learner()->dialog();
    QVERIFY(dialog);
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    dialog->table()->setFocus(Qt::TabFocusReason);
    QSet<QWidget*> reached;
    for (int tab = 0; tab < 12; ++tab) {
      reached.insert(dialog->focusWidget());
      QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      QVERIFY2(reached.contains(button), qPrintable(button->text()));
      QVERIFY2(button->text().contains(QLatin1Char('&')), qPrintable(button->text()));
    }
    QVERIFY(reached.contains(dialog->table()) && reached.contains(dialog->filter()));

    const QString start = LearnerWordsDialog::exportStartFile();
    QCOMPARE(QFileInfo(start).fileName(), QStringLiteral("my-words.txt"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(QFileInfo(start).absolutePath(),
             QFileInfo(documents).isDir() ? documents : QDir::homePath());
    QCOMPARE(LearnerWordsDialog::withExportExtension(QStringLiteral("/x/words"), true),
             QStringLiteral("/x/words.csv"));
    QCOMPARE(LearnerWordsDialog::withExportExtension(QStringLiteral("/x/words"), false),
             QStringLiteral("/x/words.txt"));
    QCOMPARE(LearnerWordsDialog::withExportExtension(QStringLiteral("/x/w.tsv"), true),
             QStringLiteral("/x/w.tsv"));
  }

  // A damaged store found by the window: kept aside, its words saved, and said in the
  // window's language.
  void aDamagedStoreIsSetAsideAndTheWindowSaysWhatWasSaved() {
    QVERIFY(openWindow());
    const std::filesystem::path file =
        qEnvironmentVariable("XDG_DATA_HOME").toStdString() + "/quorvi/learner.db";
    {
      LearnerStore earlier(file);
      QCOMPARE(addWord(earlier, "cat"), std::string());
    }
    {
      std::fstream damage(file, std::ios::in | std::ios::out | std::ios::binary);
      damage.seekp(4096 * 2);
      damage << std::string(4096, '\x7f');
    }
    learner()->store();
    QTRY_COMPARE(window->findChildren<QMessageBox*>(QStringLiteral("learnerNotice")).size(), 1);
    const QString said = window->findChild<QMessageBox*>(QStringLiteral("learnerNotice"))->text();
    QVERIFY2(said.contains(QStringLiteral("已另存为")) && said.contains(QStringLiteral("已救回")),
             qPrintable(said));
    QTRY_VERIFY(saved("cat"));
  }

  // A long list is read on a thread of its own: the window goes on meanwhile, and a cancel
  // adds nothing.
  void importsRunBesideTheWindowAndMayBeCancelled() {
    QVERIFY(openWindow());
    quorvi::testing::TemporaryFolder lists;
    std::string many;
    for (int i = 0; i < 50000; ++i) many += i % 2 ? "LONDON\n" : "unknownword\n";
    const std::string longList = lists.write("long.txt", many);
    WordListImport* import = learner()->wordListImport();
    QVERIFY(import->start(QString::fromStdString(longList)));
    import->cancel();
    QSignalSpy finished(import, &WordListImport::finished);
    QVERIFY(finished.wait(10000));
    QVERIFY(finished.at(0).at(0).value<WordListImportOutcome>().cancelled);
    QVERIFY(!saved("London"));

    QVERIFY(import->start(QString::fromStdString(longList)));
    QVERIFY(import->running());  // the window's thread is free while it reads
    QVERIFY(!import->start(QString::fromStdString(longList)));
    QVERIFY(finished.wait(10000));
    const WordListImportOutcome outcome = finished.at(1).at(0).value<WordListImportOutcome>();
    QCOMPARE(outcome.error, std::string());
    QCOMPARE(outcome.report.added, std::vector<std::string>{"London"});
    QCOMPARE(outcome.report.unknownCount, size_t{25000});
    QVERIFY(saved("London"));
  }

  void withoutAPlaceForTheDataTheWindowGoesOnAndSaysSoOnce() {
    QVERIFY(openWindow());
    quorvi::testing::TemporaryFolder blocked;
    const std::string file = blocked.write("data", "a file where the folder should be");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(file));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    QTest::qWait(LearnerWords::kOpenedAfterMs + 100);
    QCOMPARE(window->findChildren<QMessageBox*>(QStringLiteral("learnerNotice")).size(), 1);
    QCOMPARE(learner()->store(), nullptr);
    // The window itself works as before.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("example\n")));
  }
};

QTEST_MAIN(LearnerWordsTest)
#include "learner_words_test.moc"
