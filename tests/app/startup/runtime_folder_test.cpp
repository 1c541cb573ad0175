// Started from any folder, the program finds its runtime folder beside its executable; when
// there is no dictionary anywhere, the window says so and where it looked.

#include <QDir>
#include <QTest>
#include <QTextEdit>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/startup/runtime_folder.h"
#include "app/window/mainwindow.h"
#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;

namespace {

QString qpath(const fs::path& path) {
  return QDir::cleanPath(QString::fromStdString(fs::weakly_canonical(path).string()));
}

void placeDictionary(const fs::path& folder) {
  fs::create_directories(folder / "dict");
  std::ofstream(folder / "dict" / "words.db") << "stands in for a dictionary";
}

}  // namespace

class RuntimeFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void prefersTheWorkingDirectoryThenTheExecutablesFolders() {
    quorvi::testing::TemporaryFolder root;
    const fs::path work = root.path() / "work";
    const fs::path bin = root.path() / "usr" / "bin";
    const fs::path installed = root.path() / "usr" / QUORVI_INSTALL_DIR;
    fs::create_directories(work);
    fs::create_directories(bin);
    fs::create_directories(installed);
    const QString workDir = qpath(work), binDir = qpath(bin), installedDir = qpath(installed);

    // Nowhere: every place is named once, in order.
    RuntimeFolderSearch search = findRuntimeFolder(workDir, binDir);
    QVERIFY(search.found.isEmpty());
    QCOMPARE(search.searched, QStringList({workDir, binDir, installedDir}));
    QCOMPARE(findRuntimeFolder(binDir, binDir).searched, QStringList({binDir, installedDir}));

    placeDictionary(installed);
    QCOMPARE(findRuntimeFolder(workDir, binDir).found, installedDir);
    placeDictionary(bin);
    QCOMPARE(findRuntimeFolder(workDir, binDir).found, binDir);
    placeDictionary(work);
    search = findRuntimeFolder(workDir, binDir);
    QCOMPARE(search.found, workDir);
    QCOMPARE(search.searched, QStringList({workDir}));

    // A folder named like the dictionary is no dictionary.
    fs::remove_all(work / "dict");
    fs::create_directories(work / "dict" / "words.db");
    QCOMPARE(findRuntimeFolder(workDir, binDir).found, binDir);
  }

  void windowSaysWhereItLookedForAMissingDictionary() {
    quorvi::testing::TemporaryFolder empty;
    quorvi::testing::WorkingDirectory cwd(empty.path());
    MainWindow window;
    const QString shown =
        window.findChild<QTextEdit*>(QStringLiteral("displayFull"))->toPlainText();
    QVERIFY2(shown.contains(QStringLiteral("dict/words.db")), qPrintable(shown));
    QVERIFY2(shown.contains(QDir::currentPath()), qPrintable(shown));
  }

  // A loop of symbolic links, a folder that may not be read and a folder in place of the
  // file are not taken for a dictionary, and the window names each for what it is rather
  // than calling every one of them missing.
  void windowSaysWhatKeptEachFolderFromUse() {
    quorvi::testing::TemporaryFolder root;
    const fs::path work = root.path() / "work";
    const fs::path bin = root.path() / "bin";
    fs::create_directories(work / "dict");
    fs::create_directories(bin / "dict" / "words.db");
    fs::create_symlink("words.db", work / "dict" / "words.db");
    RuntimeFolderSearch search = findRuntimeFolder(qpath(work), qpath(bin));
    QVERIFY(search.found.isEmpty());
    QCOMPARE(search.states.size(), search.searched.size());
    QCOMPARE(search.states[0], DictionaryFileState::LinkLoop);
    QCOMPARE(search.states[1], DictionaryFileState::NotAFile);
    if (::geteuid() != 0) {  // the permission bits do not bind root
      fs::remove_all(bin / "dict");
      placeDictionary(bin);
      fs::permissions(bin / "dict", fs::perms::none);
      search = findRuntimeFolder(qpath(work), qpath(bin));
      fs::permissions(bin / "dict", fs::perms::owner_all);
      QVERIFY(search.found.isEmpty());
      QCOMPARE(search.states[1], DictionaryFileState::NoAccess);
    }

    quorvi::testing::WorkingDirectory cwd(work);
    MainWindow window;
    const QString shown =
        window.findChild<QTextEdit*>(QStringLiteral("displayFull"))->toPlainText();
    QVERIFY2(
        shown.contains(QDir::currentPath() + QStringLiteral("：dict/words.db 是循环的符号链接")),
        qPrintable(shown));
  }

  void windowWithADictionaryShowsTheSampleEntry() {
    quorvi::testing::TemporaryFolder folder;
    QVERIFY(
        quorvi::testing::layOutRuntimeFolder(folder.path(), quorvi::testing::sampleRows()).empty());
    quorvi::testing::WorkingDirectory cwd(folder.path());
    MainWindow window;
    const QString shown =
        window.findChild<QTextEdit*>(QStringLiteral("displayFull"))->toPlainText();
    QVERIFY2(shown.startsWith(QStringLiteral("example\n")), qPrintable(shown));
  }
};

QTEST_MAIN(RuntimeFolderTest)
#include "runtime_folder_test.moc"
