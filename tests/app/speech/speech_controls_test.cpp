// Hearing the picked word and the typed transcription from the window; the sound goes to a
// buffer the test reads (and to a speaker only where the machine has one).

#include <QAudioDevice>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaDevices>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/results/result_list.h"
#include "app/speech/speech_controls.h"
#include "app/speech/speech_player.h"
#include "tests/app/open_window.h"

class SpeechControlsTest : public WindowTestCase {
  Q_OBJECT

 private:
  SpeechControls* speech() { return window->findChild<SpeechControls*>(); }
  QString status() { return window->findChild<QLabel*>(QStringLiteral("statusLine"))->text(); }
  QLineEdit* input() { return window->findChild<QLineEdit*>(QStringLiteral("inputPhonetic")); }
  void click(const char* name) {
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }

 private slots:
  void init() { QVERIFY(openWindow()); }

  void cleanup() { closeWindow(); }

  // As main() ends (with an audio server, the program must not abort on its way out).
  void cleanupTestCase() { SpeechPlayer::finishBeforeExit(); }

  // First of the case: espeak-ng is set up behind the first window once it is up, and may
  // still be when it is closed (which waits for it) and when the next window is asked to
  // speak (which waits too). A window closed before its event loop ran sets nothing up.
  void speechSetUpBehindTheWindowSurvivesClosingAndSpeaks() {
    closeWindow();
    { OpenWindow neverShown; }
    QVERIFY(openWindow());
    click("speakWord");
    QVERIFY(!speech()->lastClip().empty());
    QVERIFY2(status().startsWith(QStringLiteral("朗读：example")) ||
                 status().contains(QStringLiteral("音频设备")),
             qPrintable(status()));
  }

  void buttonsSpeakTheTypedTextAndThePickedWord() {
    input()->setText(QStringLiteral("k\u00e6t"));
    click("speakTyped");
    const size_t typedCat = speech()->lastClip().size();
    QVERIFY(typedCat > 0);

    click("speakWord");  // "example", the picked row
    const size_t example = speech()->lastClip().size();
    QVERIFY2(example > typedCat, qPrintable(QStringLiteral("%1 %2").arg(example).arg(typedCat)));

    // The keys do the same from anywhere in the window (the synthesiser varies a clip's
    // length by a few samples from one time to the next).
    const auto near = [](size_t size, size_t expected) {
      return size * 10 > expected * 9 && size * 9 < expected * 10;
    };
    QTest::keyClick(window, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(near(speech()->lastClip().size(), typedCat));
    QTest::keyClick(window, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(near(speech()->lastClip().size(), example));
  }

  void anUnreadableTranscriptionSaysWhy() {
    input()->setText(QStringLiteral("k\u00e6xt"));
    click("speakTyped");
    QVERIFY2(status().contains(QStringLiteral("第 3 个字符")) &&
                 status().contains(QStringLiteral("“x”")),
             qPrintable(status()));
    input()->clear();
    click("speakTyped");
    QVERIFY2(!status().isEmpty(), "an empty input says there is nothing to speak");
    // What the search reads, speech reads: a frame, an optional sound, a full-width colon.
    input()->setText(QStringLiteral("/ˈwɔːtə(r)/"));
    click("speakTyped");
    const auto spoken = [this] {  // without a sound card, only that is said
      return status().isEmpty() || status().contains(QStringLiteral("音频设备"));
    };
    QVERIFY2(spoken(), qPrintable(status()));
    QVERIFY(!speech()->lastClip().empty());
    input()->setText(QStringLiteral("ʃi：p"));
    click("speakTyped");
    QVERIFY2(status().isEmpty(), qPrintable(status()));
  }

  // After a new search the entry pane still shows the word picked before, and that is the word
  // Say speaks and its tooltip names; a pick in the new list changes all three.
  void sayFollowsTheCurrentWordAndItsMessagesGoWithTheText() {
    auto* list = window->findChild<QListWidget*>(QStringLiteral("displayResult"));
    auto* say = window->findChild<QPushButton*>(QStringLiteral("speakWord"));
    QVERIFY2(say->toolTip().contains(QStringLiteral("example")), qPrintable(say->toolTip()));
    input()->setText(QStringLiteral("k\u00e6t"));
    QTRY_COMPARE(list->count() > 0 ? list->item(0)->text() : QString(), QStringLiteral("cat"));
    QVERIFY2(say->toolTip().contains(QStringLiteral("example")), qPrintable(say->toolTip()));
    speech()->speakHeadword(QStringLiteral("cat"));
    const size_t cat = speech()->lastClip().size();
    speech()->speakHeadword(QStringLiteral("example"));
    const size_t example = speech()->lastClip().size();
    const auto distance = [](size_t a, size_t b) { return a > b ? a - b : b - a; };
    const auto closerTo = [&](size_t one, size_t other) {
      const size_t said = speech()->lastClip().size();
      return distance(said, one) < distance(said, other);
    };
    QTest::keyClick(window, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(closerTo(example, cat));
    list->setCurrentRow(0);
    QVERIFY2(say->toolTip().contains(QStringLiteral("cat")), qPrintable(say->toolTip()));
    QTest::keyClick(window, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(closerTo(cat, example));

    // A message about the text typed before goes as soon as it changes.
    input()->clear();
    click("speakTyped");
    QVERIFY(!status().isEmpty());
    QTest::keyClicks(input(), QStringLiteral("k"));
    QCOMPARE(status(), QString());
  }

  void theMenuPronouncesThroughTheSameControls() {
    auto* list = window->findChild<QListWidget*>(QStringLiteral("displayResult"));
    std::unique_ptr<QMenu> menu(
        window->findChild<ResultList*>()->menuAt(list->visualItemRect(list->item(1)).center()));
    menu->actions().at(4)->trigger();  // pronounce "exampling"
    QTRY_VERIFY(!speech()->lastClip().empty());
    const size_t word = speech()->lastClip().size();
    menu->actions().at(5)->trigger();  // its transcription as stored
    QTRY_VERIFY(speech()->lastClip().size() != word);
    QVERIFY(speech()->lastClip().size() > 0);
  }

  void aMissingAudioDeviceIsSaidOnce() {
    if (!QMediaDevices::defaultAudioOutput().isNull()) QSKIP("this machine has an audio output");
    click("speakWord");
    const QString first = status();
    QVERIFY2(first.contains(QStringLiteral("音频设备")), qPrintable(first));
    click("speakWord");
    QCOMPARE(status(), QString());
    QVERIFY(!speech()->lastClip().empty());
  }
};

QTEST_MAIN(SpeechControlsTest)
#include "speech_controls_test.moc"
