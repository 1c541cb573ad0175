// Saying words in the window to a real audio server, again and again: from both right-click
// menus the way a user picks their items (the menu closes and deletes itself while the word
// starts), and from the buttons, each new clip cutting the one playing short. The server is
// one of the test's own (tests/support/with_pulse_server.sh): a null sink whose monitor
// source gives back what reached it.

#include <QAudioDevice>
#include <QComboBox>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaDevices>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <signal.h>

#include "app/learner/drill_dialog.h"
#include "app/learner/learner_words.h"
#include "app/speech/speech_controls.h"
#include "app/speech/speech_controls.h"
#include "app/speech/speech_player.h"
#include "tests/app/open_window.h"

namespace {

constexpr int kTimes = 36;  // clicks on each menu, and on each button

// What reaches the null sink, recorded from its monitor by parecord as 16-bit mono samples
// into a file that grows as they come.
class SinkRecorder {
 public:
  // False when the recorder did not start or did not connect within five seconds.
  bool start() {
    path_ = folder_.filePath(QStringLiteral("heard.raw"));
    process_.start(
        QStringLiteral("parecord"),
        {QStringLiteral("--device=%1.monitor").arg(qEnvironmentVariable("QUORVI_PULSE_SINK")),
         QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
         QStringLiteral("--rate=22050"), QStringLiteral("--latency-msec=20"), path_});
    if (!process_.waitForStarted(5000)) return false;
    // Connected once the server lists it as a recording stream.
    return QTest::qWaitFor(
        [] {
          QProcess pactl;
          pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                                QStringLiteral("source-outputs")});
          return pactl.waitForFinished(5000) && !pactl.readAllStandardOutput().trimmed().isEmpty();
        },
        5000);
  }

  // Waits, with the event loop running, until `enough` samples louder than `floor` arrived or
  // `seconds` passed; the number of them and the loudest.
  std::pair<int, int> waitFor(int enough, int floor, int seconds) {
    std::pair<int, int> heard;
    const bool enoughCame = QTest::qWaitFor(
        [&] {
          heard = count(floor);
          return heard.first >= enough;
        },
        seconds * 1000);
    Q_UNUSED(enoughCame);  // the caller judges the counts
    return heard;
  }

  ~SinkRecorder() {
    if (process_.state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
    if (!process_.waitForFinished(5000)) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

 private:
  std::pair<int, int> count(int floor) const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return {0, 0};
    const QByteArray raw = file.readAll();
    int loud = 0;
    int peak = 0;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2) {
      std::int16_t sample;
      std::memcpy(&sample, raw.constData() + i, sizeof sample);
      const int level = std::abs(static_cast<int>(sample));
      peak = std::max(peak, level);
      if (level > floor) ++loud;
    }
    return {loud, peak};
  }

  QTemporaryDir folder_;
  QString path_;
  QProcess process_;
};

}  // namespace

class SpeechAudioTest : public WindowTestCase {
  Q_OBJECT

 private:
  QListWidget* list() { return window->findChild<QListWidget*>(QStringLiteral("displayResult")); }
  QTextEdit* pane() { return window->findChild<QTextEdit*>(QStringLiteral("displayFull")); }
  QPushButton* button(const char* name) {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
  }

  // Right-clicks `widget` at `at` and returns the menu that opened.
  static QMenu* rightClick(QWidget* widget, const QPoint& at) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &click);
    QMenu* open = nullptr;
    for (int waited = 0; waited < 5000 && open == nullptr; waited += 10) {
      open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (open == nullptr) QTest::qWait(10);
    }
    return open;
  }

  // The menu's pronouncing actions: the word's, then one for each transcription.
  static QList<QAction*> pronouncing(const QMenu* menu) {
    QList<QAction*> found;
    for (QAction* action : menu->actions())
      if (action->text().startsWith(QStringLiteral("朗读"))) found << action;
    return found;
  }

  // Opens the menu on `widget` `kTimes` times and clicks a pronouncing item each time, in turn.
  void sayFromMenu(QWidget* widget, const QPoint& at) {
    QSignalSpy spoken(window->findChild<SpeechControls*>(), &SpeechControls::spoken);
    int said = 0;
    for (int time = 0; time < kTimes; ++time) {
      QPointer<QMenu> menu = rightClick(widget, at);
      QVERIFY2(menu, "no menu opened");
      const QList<QAction*> items = pronouncing(menu);
      QVERIFY2(items.size() == 3, qPrintable(QString::number(items.size())));
      QAction* item = items.at(time % items.size());
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
      ++said;
      // The menu goes away by itself, and the word is said.
      QTRY_VERIFY(menu.isNull());
      QTRY_COMPARE(spoken.size(), said);
      QTest::qWait(time % 4 * 15);
    }
    int words = 0;
    for (const QList<QVariant>& one : spoken) words += one.first().toString() == QStringLiteral("read");
    QCOMPARE(words, kTimes / 3);
    QCOMPARE(spoken.size() - words, kTimes * 2 / 3);
  }

  // The window still stands and says nothing is wrong, and sound arrived: a tenth of a second
  // at least, well above the noise floor (the last clip plays to its end).
  void heardAndAlive(SinkRecorder& recorder) {
    const auto [loud, peak] = recorder.waitFor(2205, 500, 20);
    QVERIFY(window->isVisible());
    const QString status = window->findChild<QLabel*>(QStringLiteral("statusLine"))->text();
    QVERIFY2(status.isEmpty() || status.startsWith(QStringLiteral("朗读：")), qPrintable(status));
    QVERIFY2(loud >= 2205 && peak > 2000,
             qPrintable(QStringLiteral("%1 loud samples, peak %2").arg(loud).arg(peak)));
  }

 private slots:
  void initTestCase() {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER") ||
        qEnvironmentVariableIsEmpty("QUORVI_PULSE_SINK"))
      QSKIP("no audio server of the test's own: run under tests/support/with_pulse_server.sh");
    QVERIFY2(!QMediaDevices::defaultAudioOutput().isNull(),
             "the audio server runs but shows no output");
  }

  void init() {
    auto rows = quorvi::testing::sampleRows();
    rows.push_back({"read", "ri&#720;d", "v. to look at and understand written words"});
    rows.push_back({"read", "red", "v. (past) looked at and understood"});
    QVERIFY(openWindow(rows));
    // As a learner does: type the sounds over the example, pick the word.
    auto* input = window->findChild<QLineEdit*>(QStringLiteral("inputPhonetic"));
    QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(input, QStringLiteral("ri:d"));
    QTRY_VERIFY(!list()->findItems(QStringLiteral("read"), Qt::MatchExactly).isEmpty());
    QListWidgetItem* read = list()->findItems(QStringLiteral("read"), Qt::MatchExactly).first();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(read).center());
    QTRY_VERIFY(pane()->toPlainText().startsWith(QStringLiteral("read\n")));
  }

  void cleanup() { closeWindow(); }

  // As main() ends: the program must not abort on its way out after speaking.
  void cleanupTestCase() { SpeechPlayer::finishBeforeExit(); }

  void wordsSaidFromBothMenusAgainAndAgain() {
    SinkRecorder recorder;
    QVERIFY(recorder.start());
    QListWidgetItem* read = list()->findItems(QStringLiteral("read"), Qt::MatchExactly).first();
    sayFromMenu(list()->viewport(), list()->visualItemRect(read).center());
    sayFromMenu(pane()->viewport(), QPoint(20, 10));
    heardAndAlive(recorder);
  }

  // The British and the American voice, each from its button, say the word each its way.
  void buttonsSayAgainAndAgain() {
    SinkRecorder recorder;
    QVERIFY(recorder.start());
    auto* speech = window->findChild<SpeechControls*>();
    std::vector<std::int16_t> british, american;
    for (int time = 0; time < kTimes; ++time) {
      QTest::mouseClick(button("speakWord"), Qt::LeftButton);
      british = speech->lastClip();
      QTest::qWait(time % 4 * 15);
      QTest::mouseClick(button("speakWordAmerican"), Qt::LeftButton);
      american = speech->lastClip();
      QTest::qWait(time % 4 * 10);
      QTest::mouseClick(button("speakTyped"), Qt::LeftButton);
      QTest::qWait(time % 3 * 20);
    }
    QVERIFY(!british.empty() && !american.empty());
    QVERIFY2(british != american, "the two voices say the word alike");
    heardAndAlive(recorder);
  }

  // The listening drill says its word, again and again, and what was typed, through the same
  // speech; the window outlives a drill window closed while it speaks.
  void theDrillSaysItsWordsAgainAndAgain() {
    SinkRecorder recorder;
    QVERIFY(recorder.start());
    auto* learner = window->findChild<LearnerWords*>();
    QVERIFY(learner && learner->toggleSaved(QStringLiteral("read")));
    auto* input = window->findChild<QLineEdit*>(QStringLiteral("inputPhonetic"));
    for (int round = 0; round < 3; ++round) {
      QTest::keyClick(input, Qt::Key_L, Qt::ControlModifier);
      QTRY_VERIFY(learner->drill() != nullptr);
      QPointer<DrillDialog> drill = learner->drill();
      drill->sourceBox()->setCurrentIndex(drill->sourceBox()->findData(QStringLiteral("my-words")));
      drill->voiceBox()->setCurrentIndex(round % 2);  // British, then American
      drill->nextQuestion();
      QCOMPARE(drill->askedWord(), QStringLiteral("read"));
      for (int time = 0; time < kTimes / 3; ++time) {
        drill->sayWordAgain();
        QTest::qWait(time % 4 * 15);
        drill->sayWhatWasTyped();
      }
      drill->answer(QStringLiteral("read"));
      QVERIFY(drill->answered());
      drill->sayWordAgain();
      drill->close();
      QTest::qWait(round * 20);
    }
    heardAndAlive(recorder);
  }
};

QTEST_MAIN(SpeechAudioTest)
#include "speech_audio_test.moc"
