// The main window against a small keyed dictionary in a temporary runtime folder.

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTextBrowser>
#include <QDialog>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <vector>

#include "tests/app/headword_lists.h"
#include "app/results/result_rows.h"
#include "app/startup/fonts.h"
#include "app/window/mainwindow.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "tests/engine/test_dictionary.h"
#include "ui_mainwindow.h"
#include "vendor_site.h"

namespace fs = std::filesystem;
using quorvi::testing::DictionaryRow;

namespace {

struct LogLine {
  qint64 atNs;
  QString text;
};

QElapsedTimer logClock;
std::vector<LogLine> logLines;
QtMessageHandler previousHandler = nullptr;

// When set, the list's items are recorded at every line that ends a search.
QListWidget* watchedList = nullptr;
std::vector<QStringList>* refillSink = nullptr;

QStringList texts(const QListWidget* list) {
  QStringList items;
  for (int row = 0; row < list->count(); ++row) items << list->item(row)->text();
  return items;
}

void captureDebug(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtDebugMsg) {
    logLines.push_back({logClock.nsecsElapsed(), message});
    if (watchedList != nullptr && message != QLatin1String("last")) {
      refillSink->push_back(texts(watchedList));
    }
  } else if (previousHandler != nullptr) {
    previousHandler(type, context, message);
  }
}

QStringList logTexts() {
  QStringList texts;
  for (const LogLine& line : logLines) texts << line.text;
  return texts;
}

int countLast() {
  return static_cast<int>(logTexts().count(QStringLiteral("last")));
}

// The sample entries plus enough rows sharing the sound "w" to pass the typing cap.
std::vector<DictionaryRow> windowRows() {
  std::vector<DictionaryRow> rows = quorvi::testing::sampleRows();
  for (int i = 0; i < 150; ++i) {
    rows.push_back({"word" + std::to_string(1000 + i), "w&#603;&#720;d", "n. filler"});
  }
  return rows;
}

constexpr int kAllRows = 8 + 150;

}  // namespace

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QStringList opened;

 public slots:
  void open(const QUrl& url) { opened << url.toString(); }
};

class WindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<quorvi::testing::TemporaryFolder> folder;
  std::unique_ptr<quorvi::testing::WorkingDirectory> cwd;
  std::unique_ptr<MainWindow> window;

  template <typename T>
  T* widget(const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no widget %s", name);
    return found;
  }
  QLineEdit* input() { return widget<QLineEdit>("inputPhonetic"); }
  QListWidget* list() { return widget<QListWidget>("displayResult"); }
  QTextEdit* pane() { return widget<QTextEdit>("displayFull"); }

  // What the engine itself answers, from its own connection to the same folder.
  QString entryOf(const QString& headword) {
    PhoneticDictionary engine;
    return engine.entryText(headword.toStdString()).join(QLatin1Char('\n'));
  }
  QStringList phoneticResults(const QString& typed, int limitMode) {
    PhoneticDictionary engine;
    engine.searchByPhonetic(typed.toStdU16String(), limitMode);
    return engine.getResults();
  }
  // What the window lists for a learner's search: the exact matches, the heading row and
  // the near-sound matches.
  QStringList listed(bool spelling, const QString& text, int limitMode) {
    PhoneticDictionary engine;
    LearnerSearch search(engine);
    const SearchOutcome outcome = spelling ? search.bySpelling(text.toStdString(), limitMode)
                                           : search.bySound(text.toStdU16String(), limitMode);
    QStringList rows = texts(outcome.words.mid(0, outcome.nearSoundFrom));
    if (outcome.nearSoundFrom < outcome.words.size())
      rows << nearSoundHeadingText() << texts(outcome.words.mid(outcome.nearSoundFrom));
    return rows;
  }
  QLabel* reason() { return widget<QLabel>("emptyListReason"); }

  // Waits for `count` searches to finish, then long enough to see a stray one.
  void settle(int count) {
    QTRY_COMPARE_WITH_TIMEOUT(int(logLines.size()), 2 * count, 5000);
    QTest::qWait(40);
    QVERIFY2(int(logLines.size()) == 2 * count, qPrintable(logTexts().join(QLatin1Char('|'))));
  }

 private slots:
  void initTestCase() {
    logClock.start();
    previousHandler = qInstallMessageHandler(captureDebug);
  }

  void init() {
    folder = std::make_unique<quorvi::testing::TemporaryFolder>();
    const std::string error = quorvi::testing::layOutRuntimeFolder(folder->path(), windowRows());
    QVERIFY2(error.empty(), error.c_str());
    cwd = std::make_unique<quorvi::testing::WorkingDirectory>(folder->path());
    logLines.clear();
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }

  void cleanup() {
    window.reset();
    cwd.reset();
    folder.reset();
  }

  void widgetTree() {
    struct Expected {
      const char* name;
      const char* className;
      const char* parent;
      QRect geometry;
      int pointSize;  // 0: no font of its own, -1: "Mensch" at the default size
    };
    const Expected tree[] = {
        {"inputPhonetic", "QLineEdit", "centralWidget", {10, 130, 257, 20}, -1},
        {"displayFull", "QTextEdit", "centralWidget", {280, 170, 321, 191}, 11},
        {"keyGroup", "QGroupBox", "centralWidget", {10, 10, 257, 101}, 0},
        {"k643", "QPushButton", "keyGroup", {90, 60, 37, 31}, 12},
        {"k658", "QPushButton", "keyGroup", {170, 60, 37, 31}, 12},
        {"k331", "QPushButton", "keyGroup", {130, 20, 37, 31}, 12},
        {"k952", "QPushButton", "keyGroup", {90, 20, 37, 31}, 12},
        {"k240", "QPushButton", "keyGroup", {50, 20, 37, 31}, 12},
        {"k593", "QPushButton", "keyGroup", {170, 20, 37, 31}, 12},
        {"k652", "QPushButton", "keyGroup", {130, 60, 37, 31}, 12},
        {"k603", "QPushButton", "keyGroup", {210, 60, 37, 31}, 12},
        {"k596", "QPushButton", "keyGroup", {50, 60, 37, 31}, 12},
        {"k230", "QPushButton", "keyGroup", {10, 20, 37, 31}, 12},
        {"k601", "QPushButton", "keyGroup", {210, 20, 37, 31}, 12},
        {"k609", "QPushButton", "keyGroup", {10, 60, 37, 31}, 12},
        {"manualGroup", "QGroupBox", "centralWidget", {280, 10, 271, 101}, 0},
        {"manualLabel", "QLabel", "manualGroup", {10, 20, 261, 81}, -1},
        {"displayResult", "QListWidget", "centralWidget", {10, 170, 257, 191}, 0},
        {"phoneticMode", "QRadioButton", "centralWidget", {280, 130, 89, 17}, 0},
        {"captionMode", "QRadioButton", "centralWidget", {380, 130, 89, 17}, 0},
        {"feedbackLink", "QPushButton", "centralWidget", {150, 370, 50, 22}, 0},
        {"helpLink", "QPushButton", "centralWidget", {80, 370, 50, 22}, 0},
        {"slogan", "QLabel", "centralWidget", {310, 370, 261, 22}, 0},
        {"aboutLink", "QPushButton", "centralWidget", {7, 370, 50, 22}, 0},
    };

    // A fresh form on an unshown window: geometry as the form sets it.
    QMainWindow bare;
    Ui_MainWindow form;
    form.setupUi(&bare);
    QCOMPARE(bare.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(bare.centralWidget(), form.centralWidget);
    QCOMPARE(form.centralWidget->objectName(), QStringLiteral("centralWidget"));

    // Creation order: all widgets below the central widget, depth first by parent.
    QStringList order;
    for (QObject* child : form.centralWidget->findChildren<QWidget*>()) {
      const QString name = child->objectName();
      if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) order << name;
    }
    QStringList expectedOrder;
    for (const Expected& e : tree) expectedOrder << QString::fromLatin1(e.name);
    QCOMPARE(order, expectedOrder);

    const QFont applicationFont;
    for (const Expected& e : tree) {
      QWidget* w = form.centralWidget->findChild<QWidget*>(QString::fromLatin1(e.name));
      QVERIFY2(w != nullptr, e.name);
      QCOMPARE(w->metaObject()->className(), e.className);
      QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(e.parent));
      QCOMPARE(w->geometry(), e.geometry);
      if (e.pointSize == 0) {
        QVERIFY2(!w->testAttribute(Qt::WA_SetFont), e.name);
      } else {
        QVERIFY2(w->testAttribute(Qt::WA_SetFont), e.name);
        QCOMPARE(w->font().family(), QStringLiteral("Mensch"));
        QCOMPARE(w->font().pointSizeF(),
                 e.pointSize > 0 ? qreal(e.pointSize) : applicationFont.pointSizeF());
      }
    }
    QVERIFY(form.phoneticMode->isChecked());
    QVERIFY(!form.captionMode->isChecked());
    QCOMPARE(form.displayFull->contextMenuPolicy(), Qt::NoContextMenu);

    // The symbol buttons show the character named by their object name.
    for (QPushButton* key : form.keyGroup->findChildren<QPushButton*>()) {
      const uint code = key->objectName().mid(1).toUInt();
      QCOMPARE(key->text(), QString(QChar(char16_t(code))));
    }

    QCOMPARE(bare.windowTitle(),
             QStringLiteral("Quorvi英语听音查词 V1.7 --音标查词，听音查字的利器"));
    QCOMPARE(form.inputPhonetic->text(), QStringLiteral("igz\u0251:mpl"));
    QCOMPARE(form.keyGroup->title(), QStringLiteral("特殊音标符号"));
    QCOMPARE(form.manualGroup->title(), QStringLiteral("使用说明"));
    QCOMPARE(form.manualLabel->text(),
             QStringLiteral("  输入音标后，软件会根据读音，搜索出单词！\n\n"
                            "  特殊音标点击按钮，其它用键盘输入。\n\n"
                            "  如输入[igzɑ:mpl]即可查得example"));
    QCOMPARE(form.phoneticMode->text(), QStringLiteral("听音查词"));
    QCOMPARE(form.captionMode->text(), QStringLiteral("模糊查词"));
    QCOMPARE(form.aboutLink->text(), QStringLiteral("关于"));
    QCOMPARE(form.helpLink->text(), QStringLiteral("帮助"));
    QCOMPARE(form.feedbackLink->text(), QStringLiteral("反馈"));
    const QString slogan = form.slogan->text();
    QVERIFY(slogan.startsWith(
        QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
                      "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head>"
                      "<meta name=\"qrichtext\" content=\"1\" />")));
    QVERIFY(
        slogan.contains(QStringLiteral("<body style=\" font-family:'宋体'; font-size:9pt; "
                                       "font-weight:400; font-style:normal;\">")));
    QVERIFY(slogan.contains(QStringLiteral(
        "<a href=\"" QUORVI_VENDOR_SITE
        "/\"><span style=\" text-decoration: underline; "
        "color:#000;\">英语听力训练，Quorvi英语听音查词词典最力！</span></a></p></body></html>")));

    QCOMPARE(bare.styleSheet(),
             QStringLiteral("QPushButton {\n    background-color: palegoldenrod;\n"
                            "    border-width: 2px;\n    border-color: darkkhaki;\n"
                            "    border-style: solid;\n    border-radius: 5;\n"
                            "    padding: 3px;\n    min-width: 9ex;\n    min-height: 2.5ex;\n"
                            "}\n\nQPushButton:hover {\n   background-color: khaki;\n}\n\n"
                            "/* Increase the padding, so the text is shifted when the button is\n"
                            "   pressed. */\nQPushButton:pressed {\n    padding-left: 5px;\n"
                            "    padding-top: 5px;\n    background-color: #d0d67c;\n}"));

    // A window that already has a name keeps it.
    QMainWindow named;
    named.setObjectName(QStringLiteral("finder"));
    Ui_MainWindow namedForm;
    namedForm.setupUi(&named);
    QCOMPARE(named.objectName(), QStringLiteral("finder"));

    // The window's own settings on top of the form.
    QCOMPARE(window->minimumSize(), QSize(613, 397));
    QCOMPARE(window->maximumSize(), QSize(613, 397));
    QVERIFY(pane()->isReadOnly());
    for (const char* name : {"keyGroup", "aboutLink", "helpLink", "feedbackLink"}) {
      QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(name));
      QVERIFY2(QByteArray(w->style()->metaObject()->className()) == "QStyleSheetStyle" ||
                   w->style()->inherits("NoFocusRectangleStyle"),
               name);
      QVERIFY2(w->testAttribute(Qt::WA_SetStyle), name);
    }
    QVERIFY(!list()->testAttribute(Qt::WA_SetStyle));

    // Polished by the style sheet on a shown window, the symbol keys keep their laid-out
    // size and stay 40 px apart without covering one another.
    for (QPushButton* key : widget<QGroupBox>("keyGroup")->findChildren<QPushButton*>()) {
      QVERIFY2(key->size() == QSize(37, 31), qPrintable(key->objectName()));
    }
  }

  void startUpState() {
    QCOMPARE(texts(list()), QStringList({"example", "exampling"}));
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(pane()->toPlainText(), entryOf(QStringLiteral("example")));
    QVERIFY2(pane()->toPlainText().startsWith(QStringLiteral("example\n[i")) &&
                 pane()->toPlainText().contains(QStringLiteral("mpl]\nn. an instance\na model")),
             qPrintable(pane()->toPlainText()));
    QVERIFY(widget<QRadioButton>("phoneticMode")->isChecked());
    // The input has the focus with its sample text selected: the first key replaces it.
    QCOMPARE(QApplication::focusWidget(), input());
    QVERIFY(input()->hasSelectedText());
    QCOMPARE(input()->selectedText(), input()->text());
    QTest::qWait(40);
    QVERIFY2(logLines.empty(), qPrintable(logTexts().join(QLatin1Char('|'))));

    QVERIFY(!reason()->isVisible());

    // Return before any edit searches what the field shows, the sample text, without the row
    // cap: the sample's words.
    QTest::keyClick(input(), Qt::Key_Return);
    settle(1);
    QCOMPARE(texts(list()).mid(0, 2), QStringList({"example", "exampling"}));
    QVERIFY(!reason()->isVisible());
    // By spelling, an empty pattern asks for a pattern rather than list every row.
    widget<QRadioButton>("captionMode")->click();
    logLines.clear();
    input()->clear();
    settle(1);
    logLines.clear();
    QTest::keyClick(input(), Qt::Key_Return);
    settle(1);
    QCOMPARE(list()->count(), 0);
    QVERIFY(reason()->isVisible());
    QCOMPARE(reason()->text(), QStringLiteral("请输入拼写"));
  }

  void typingSearchesOnceAfterTheDelay() {
    const qint64 keyAt = logClock.nsecsElapsed();
    input()->end(false);  // past the selected sample text
    QTest::keyClick(input(), Qt::Key_Backspace);
    settle(1);
    QCOMPARE(logLines[0].text, QStringLiteral("last"));
    QVERIFY2(logLines[0].atNs - keyAt >= 10'000'000,
             qPrintable(QString::number(logLines[0].atNs - keyAt)));
    bool isNumber = false;
    logLines[1].text.toDouble(&isNumber);
    QVERIFY2(isNumber, qPrintable(logLines[1].text));
    QCOMPARE(texts(list()), listed(false, QStringLiteral("igz\u0251:mp"), 0));
    QVERIFY(list()->count() > 0);
  }

  void quickChangesAllSearchTheLastText() {
    // Every refill is recorded when its time line is written.
    std::vector<QStringList> refills;
    refillSink = &refills;
    watchedList = list();
    input()->setText(QStringLiteral("k"));
    input()->setText(QStringLiteral("k\u00e6"));
    input()->setText(QStringLiteral("k\u00e6t"));
    settle(3);
    watchedList = nullptr;
    refillSink = nullptr;

    QCOMPARE(countLast(), 3);
    const QStringList expected = listed(false, QStringLiteral("k\u00e6t"), 0);
    QCOMPARE(expected.first(), QStringLiteral("cat"));
    QCOMPARE(int(refills.size()), 3);
    for (const QStringList& refill : refills) QCOMPARE(refill, expected);

    // Each timer is released once it has fired.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window->findChildren<QTimer*>(Qt::FindDirectChildrenOnly).size(), 0);
  }

  void symbolButtonsType() {
    QLineEdit* field = input();
    field->setText(QStringLiteral("igz\u0251:mpl!"));
    settle(1);
    logLines.clear();

    // A click on a symbol replaces the selection and starts a search.
    field->setFocus();
    field->setSelection(2, 3);
    QTest::mouseClick(widget<QPushButton>("k601"), Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("ig\u0259mpl!"));
    QCOMPARE(QApplication::focusWidget(), field);
    settle(1);

    // From elsewhere, the focus comes back to the field.
    list()->setFocus();
    QCOMPARE(QApplication::focusWidget(), list());
    QTest::mouseClick(widget<QPushButton>("k652"), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(field->text(), QStringLiteral("ig\u0259\u028cmpl!"));

    // Each key types the character of its own code point, at the cursor.
    field->clear();
    QString typed;
    for (const char* name : {"k230", "k240", "k952", "k331", "k593", "k596", "k601", "k603", "k609",
                             "k643", "k652", "k658"}) {
      widget<QPushButton>(name)->click();
      typed += QChar(char16_t(QByteArray(name + 1).toUInt()));
    }
    QCOMPARE(field->text(), typed);
  }

  void modesAndRowCap() {
    // Switching modes searches nothing until the next change.
    widget<QRadioButton>("captionMode")->click();
    QTest::qWait(40);
    QVERIFY(logLines.empty());
    QCOMPARE(texts(list()), QStringList({"example", "exampling"}));

    // By spelling, the text travels as UTF-8 and the headword comes back decoded.
    input()->setText(QStringLiteral("caf\u00e9"));
    settle(1);
    QCOMPARE(texts(list()), QStringList({QStringLiteral("caf\u00e9")}));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(0)).center());
    QCOMPARE(pane()->toPlainText(), entryOf(QStringLiteral("caf\u00e9")));
    QVERIFY(pane()->toPlainText().startsWith(QStringLiteral("caf\u00e9\n")));

    // Back to sounds: typing is capped at 100 rows, Return is not.
    widget<QRadioButton>("phoneticMode")->click();
    logLines.clear();
    input()->setText(QStringLiteral("w"));
    settle(1);
    QCOMPARE(list()->count(), 100);
    QTest::keyClick(input(), Qt::Key_Return);
    settle(2);
    QCOMPARE(list()->count(), 150);
    QCOMPARE(texts(list()), listed(false, QStringLiteral("w"), 1));
    QCOMPARE(texts(list()), phoneticResults(QStringLiteral("w"), 1));
  }

  void refillKeepsTheEntryPane() {
    const QString shown = pane()->toPlainText();
    input()->setText(QStringLiteral("\u0259"));
    settle(1);
    QVERIFY(list()->count() >= 2);
    QCOMPARE(list()->currentRow(), -1);
    QCOMPARE(list()->currentItem(), nullptr);
    QCOMPARE(pane()->toPlainText(), shown);

    // A row without an item is ignored.
    QVERIFY(QMetaObject::invokeMethod(window.get(), "on_displayResult_currentRowChanged",
                                      Q_ARG(int, -1)));
    QVERIFY(QMetaObject::invokeMethod(window.get(), "on_displayResult_currentRowChanged",
                                      Q_ARG(int, 999)));
    QCOMPARE(pane()->toPlainText(), shown);

    // Keyboard moves show each entry in turn (taking the focus makes row 0
    // current); a click shows the clicked one.
    const QStringList rows = texts(list());
    QCOMPARE(rows, listed(false, QStringLiteral("\u0259"), 0));
    QVERIFY(rows.size() >= 3);
    list()->setFocus();
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(pane()->toPlainText(), entryOf(rows[0]));
    for (int row = 1; row < 3; ++row) {
      QTest::keyClick(list(), Qt::Key_Down);
      QCOMPARE(list()->currentRow(), row);
      QCOMPARE(pane()->toPlainText(), entryOf(rows[row]));
    }
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    QCOMPARE(pane()->toPlainText(), entryOf(rows[1]));

    // The list's own wiring survives the refills: a click on the row that is
    // current already still reports the item and shows its entry.
    pane()->clear();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    QCOMPARE(pane()->toPlainText(), entryOf(rows[1]));

    // An empty result empties the list and leaves the pane as it was.
    logLines.clear();
    input()->setText(QStringLiteral("\u0292\u0292%"));
    settle(1);
    QCOMPARE(list()->count(), 0);
    QCOMPARE(pane()->toPlainText(), entryOf(rows[1]));
    QVERIFY(reason()->isVisible());
    QCOMPARE(reason()->text(), QStringLiteral("无法识别第 3 个字符“%”，它不是音标"));
  }

  void emptyListSaysWhy() {
    // An unreadable character, by position; the notice is no row and cannot be selected.
    input()->setText(QStringLiteral("b\u028A%"));
    settle(1);
    QCOMPARE(list()->count(), 0);
    QVERIFY(reason()->isVisible());
    QCOMPARE(reason()->text(), QStringLiteral("无法识别第 3 个字符“%”，它不是音标"));
    QCOMPARE(reason()->textInteractionFlags(), Qt::NoTextInteraction);
    QVERIFY(reason()->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(reason()->styleSheet().contains(QStringLiteral("italic")));

    // A bad pattern, in the window's words, with its place marked.
    widget<QRadioButton>("captionMode")->click();
    logLines.clear();
    input()->setText(QStringLiteral("(oops"));
    settle(1);
    QCOMPARE(reason()->text(), QStringLiteral("正则表达式有误：模式末尾缺少右括号“)”\n(oops【】"));

    // Rows hide the notice again.
    logLines.clear();
    input()->setText(QStringLiteral("cat"));
    settle(1);
    QCOMPARE(texts(list()), QStringList({"cat"}));
    QVERIFY(!reason()->isVisible());
  }

  // Searches by spelling run on a worker: a newer one supersedes the one before, whose list
  // never reaches the window, and every search still logs its start and its end.
  void supersededSpellingSearchNeverReachesTheList() {
    widget<QRadioButton>("captionMode")->click();
    logLines.clear();
    QStringList inserted;
    QAbstractItemModel* model = list()->model();
    const QMetaObject::Connection watch = connect(model, &QAbstractItemModel::rowsInserted, this,
                                                  [&](const QModelIndex&, int first, int last) {
                                                    for (int row = first; row <= last; ++row)
                                                      inserted
                                                          << model->index(row, 0).data().toString();
                                                  });
    window->displaySlot(QStringLiteral("^church$"));
    window->displaySlot(QStringLiteral("^exampl"));
    window->displaySlot(QStringLiteral("^cat$"));
    settle(3);
    disconnect(watch);
    QCOMPARE(texts(list()), QStringList({"cat"}));
    QVERIFY2(!inserted.contains(QStringLiteral("church")), qPrintable(inserted.join(u',')));
    QVERIFY2(!inserted.contains(QStringLiteral("example")), qPrintable(inserted.join(u',')));
    QVERIFY(!widget<QLabel>("searchingNotice")->isVisible());

    // A sound search after a spelling search drops the latter's list too.
    inserted.clear();
    const QMetaObject::Connection again = connect(model, &QAbstractItemModel::rowsInserted, this,
                                                  [&](const QModelIndex&, int first, int last) {
                                                    for (int row = first; row <= last; ++row)
                                                      inserted
                                                          << model->index(row, 0).data().toString();
                                                  });
    logLines.clear();
    window->displaySlot(QStringLiteral("^church$"));
    widget<QRadioButton>("phoneticMode")->click();
    window->displaySlot(QStringLiteral("k\u00e6t"));
    settle(2);
    disconnect(again);
    QCOMPARE(texts(list()), listed(false, QStringLiteral("k\u00e6t"), 0));
    QVERIFY2(!inserted.contains(QStringLiteral("church")), qPrintable(inserted.join(u',')));
  }

  void missingDictionaryIsNamedWithItsFolder() {
    window.reset();
    cwd.reset();
    fs::remove_all(folder->path() / "dict");
    cwd = std::make_unique<quorvi::testing::WorkingDirectory>(folder->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(list()->count(), 0);
    QVERIFY(reason()->isVisible());
    const QString folderText = QString::fromStdString(fs::canonical(folder->path()).string());
    QCOMPARE(reason()->text(), QStringLiteral("未找到词典（查找位置：%1/dict）").arg(folderText));
    // Shown while the window was built, it fills the list's final viewport: every line shows.
    QCOMPARE(reason()->geometry(), list()->viewport()->rect());
    QVERIFY(reason()->heightForWidth(reason()->width()) <= reason()->height());
    // Without the runtime folder the usage box's font is a stand-in: its lines still fit.
    QLabel* usage = widget<QLabel>("manualLabel");
    QVERIFY2(
        usage->sizeHint().height() <= usage->height(),
        qPrintable(QStringLiteral("%1 > %2").arg(usage->sizeHint().height()).arg(usage->height())));
  }

  void sampleRowsAreWordsOfTheDictionary() {
    window.reset();
    cwd.reset();
    std::vector<DictionaryRow> rows = windowRows();
    rows.erase(rows.begin() + 1);  // no "exampling"
    QCOMPARE(quorvi::testing::layOutRuntimeFolder(folder->path(), rows), std::string());
    cwd = std::make_unique<quorvi::testing::WorkingDirectory>(folder->path());
    window = std::make_unique<MainWindow>();
    QCOMPARE(texts(list()), QStringList({"example"}));
    QCOMPARE(pane()->toPlainText(), entryOf(QStringLiteral("example")));
  }

  void nearSoundRowsAreSetApart() {
    // "kæt" is cat; cad took a slip (a final consonant's voice), and follows a heading.
    window.reset();
    cwd.reset();
    std::vector<DictionaryRow> rows = windowRows();
    rows.push_back({"cad", "k&#230;d", "n. an ill-mannered man"});
    QCOMPARE(quorvi::testing::layOutRuntimeFolder(folder->path(), rows), std::string());
    cwd = std::make_unique<quorvi::testing::WorkingDirectory>(folder->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    input()->setText(QStringLiteral("k\u00e6t"));
    settle(1);
    const QStringList listedRows = texts(list());
    const int heading = int(listedRows.indexOf(nearSoundHeadingText()));
    QCOMPARE(listedRows.first(), QStringLiteral("cat"));
    QCOMPARE(heading, 1);
    QVERIFY(listedRows.size() > 2);
    QListWidgetItem* headingItem = list()->item(heading);
    QCOMPARE(headingItem->flags(), Qt::NoItemFlags);
    QVERIFY(list()->item(heading + 1)->font().italic());
    QVERIFY(!list()->item(0)->font().italic());

    // The heading opens nothing; the row after it opens its entry.
    pane()->clear();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(headingItem).center());
    QCOMPARE(pane()->toPlainText(), QString());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(heading + 1)).center());
    QCOMPARE(pane()->toPlainText(), entryOf(listedRows[heading + 1]));

    // The keyboard steps over the heading.
    list()->setFocus();
    list()->setCurrentRow(heading - 1);
    QTest::keyClick(list(), Qt::Key_Down);
    QCOMPARE(list()->currentRow(), heading + 1);
    QTest::keyClick(list(), Qt::Key_Up);
    QCOMPARE(list()->currentRow(), heading - 1);
  }

  void listAndKeyboard() {
    // A scrolled list shows its top row after the next refill.
    input()->setText(QStringLiteral("w"));
    settle(1);
    list()->scrollToBottom();
    QVERIFY(list()->verticalScrollBar()->value() > 0);
    QTest::keyClick(input(), Qt::Key_Return);
    settle(2);
    QCOMPARE(list()->count(), 150);
    QCOMPARE(list()->verticalScrollBar()->value(), 0);

    // Down in the input moves into the list, on its first row.
    input()->setFocus();
    QTest::keyClick(input(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), list());
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(pane()->toPlainText(), entryOf(list()->item(0)->text()));
    // Page Down too, keeping the row the learner had.
    QTest::keyClick(list(), Qt::Key_Down);
    input()->setFocus();
    QTest::keyClick(input(), Qt::Key_PageDown);
    QCOMPARE(QApplication::focusWidget(), list());
    QCOMPARE(list()->currentRow(), 1);

    // Return on a row shows its entry.
    pane()->clear();
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(pane()->toPlainText(), entryOf(list()->item(1)->text()));
    // Escape on a row goes back to the input.
    QTest::keyClick(list(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), input());

    // Down in an input over an empty list stays in the input.
    logLines.clear();
    input()->setFocus();
    input()->setText(QStringLiteral("\u0292\u0292%"));
    settle(1);
    QTest::keyClick(input(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), input());
  }

  void elapsedTimeIsWallSeconds() {
    logLines.clear();
    QElapsedTimer outer;
    outer.start();
    QVERIFY(QMetaObject::invokeMethod(window.get(), "displaySlot",
                                      Q_ARG(QString, QStringLiteral("w"))));
    const double wallSeconds = double(outer.nsecsElapsed()) / 1e9;
    QCOMPARE(logTexts().size(), 2);
    QCOMPARE(logLines[0].text, QStringLiteral("last"));
    bool isNumber = false;
    const double logged = logLines[1].text.toDouble(&isNumber);
    QVERIFY2(isNumber, qPrintable(logLines[1].text));
    QVERIFY2(logged > 0.0 && logged <= wallSeconds,
             qPrintable(QStringLiteral("%1 > %2").arg(logged).arg(wallSeconds)));
    QCOMPARE(list()->count(), 100);
  }

  void linksOpenTheVendorPages() {
    if (QStringLiteral(QUORVI_VENDOR_SITE).isEmpty()) QSKIP("no vendor site in this build");
    UrlCatcher catcher;
    const QString scheme = QUrl(QStringLiteral(QUORVI_VENDOR_SITE)).scheme();
    QDesktopServices::setUrlHandler(scheme, &catcher, "open");

    QTest::mouseClick(widget<QPushButton>("aboutLink"), Qt::LeftButton);
    QTest::mouseClick(widget<QPushButton>("helpLink"), Qt::LeftButton);
    QTest::mouseClick(widget<QPushButton>("feedbackLink"), Qt::LeftButton);
    QLabel* slogan = widget<QLabel>("slogan");
    QSignalSpy activated(slogan, &QLabel::linkActivated);
    const QPoint onText(30, slogan->height() / 2);
    QTest::mouseMove(slogan, onText);
    QTest::mouseClick(slogan, Qt::LeftButton, {}, onText);
    QDesktopServices::unsetUrlHandler(scheme);

    QCOMPARE(activated.size(), 1);
    QCOMPARE(catcher.opened,
             QStringList({QStringLiteral(QUORVI_VENDOR_SITE "/software/phonetic/about/"),
                          QStringLiteral(QUORVI_VENDOR_SITE "/software/phonetic/help/"),
                          QStringLiteral(QUORVI_VENDOR_SITE "/software/phonetic/feedback/"),
                          QStringLiteral(QUORVI_VENDOR_SITE "/")}));
    QVERIFY(window->findChild<QDialog*>() == nullptr);
    QVERIFY(logLines.empty());
  }

  void withoutASiteTheLinksShowTheWindowsOwnPages() {
    if (!QStringLiteral(QUORVI_VENDOR_SITE).isEmpty()) QSKIP("this build names a vendor site");
    // Tab from the last button of the row reaches the slogan's link, and Return follows it.
    QLabel* sloganLink = widget<QLabel>("slogan");
    widget<QPushButton>("drillButton")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget<QPushButton>("drillButton"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), sloganLink);
    QTest::keyClick(sloganLink, Qt::Key_Return);
    QDialog* aboutByKey = window->findChild<QDialog*>(QStringLiteral("aboutPage"));
    QVERIFY(aboutByKey != nullptr && aboutByKey->isVisible());
    aboutByKey->close();
    QTest::mouseClick(widget<QPushButton>("helpLink"), Qt::LeftButton);
    QDialog* help = window->findChild<QDialog*>(QStringLiteral("helpPage"));
    QVERIFY(help != nullptr && help->isVisible());
    QTest::mouseClick(widget<QPushButton>("aboutLink"), Qt::LeftButton);
    QDialog* about = window->findChild<QDialog*>(QStringLiteral("aboutPage"));
    QVERIFY(about != nullptr && about->isVisible());
    about->close();

    // The feedback button offers a prepared text to send us: the version, the interface's
    // language, the mode and what was typed last, a click away from the clipboard.
    widget<QRadioButton>("captionMode")->click();
    logLines.clear();
    input()->setText(QStringLiteral("^lon"));
    settle(1);
    logLines.clear();
    QTest::mouseClick(widget<QPushButton>("feedbackLink"), Qt::LeftButton);
    QDialog* feedback = window->findChild<QDialog*>(QStringLiteral("feedbackPage"));
    QVERIFY(feedback != nullptr && feedback->isVisible());
    QVERIFY(feedback->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("1.7")));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(feedback->findChild<QPushButton*>(QStringLiteral("copyFeedback")),
                      Qt::LeftButton);
    const QString copied = QGuiApplication::clipboard()->text();
    for (const QString& part :
         {QStringLiteral("1.7"), QStringLiteral("界面语言：中文"),
          QStringLiteral("查找方式：按拼写"), QStringLiteral("最后输入：^lon")}) {
      QVERIFY2(copied.contains(part), qPrintable(copied));
    }
    feedback->close();

    // The slogan has no page of its own: the about page says where the program and its data
    // come from.
    QLabel* slogan = widget<QLabel>("slogan");
    const QPoint onText(30, slogan->height() / 2);
    QTest::mouseMove(slogan, onText);
    QTest::mouseClick(slogan, Qt::LeftButton, {}, onText);
    QVERIFY(about->isVisible());
    QCOMPARE(window->findChildren<QDialog*>().size(), 3);
    QVERIFY(logLines.empty());
  }

  void fontFileIsRegisteredOnce() {
    const fs::path font = fs::path(QUORVI_RUNTIME_DIR) / "font" / "mensch.ttf";
    if (!fs::exists(font)) QSKIP("the runtime folder holds no font/mensch.ttf");
    if (QFontDatabase::families().contains(QStringLiteral("Mensch"))) {
      QSKIP("a family named Mensch is installed already");
    }
    fs::create_directories("font");
    fs::copy_file(font, "font/mensch.ttf");
    QVERIFY(ensureMenschFont());
    QVERIFY(QFontDatabase::families().contains(QStringLiteral("Mensch")));
    QVERIFY(!ensureMenschFont());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
