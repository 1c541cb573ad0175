#include "app/speech/speech_controls.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include "app/speech/speech_player.h"
#include "app/common/caption_buttons.h"
#include "app/common/window_state.h"
#include "engine/american_transcriptions.h"
#include "engine/background_thread_priority.h"
#include "engine/learner_input.h"
#include "engine/phonetic_dictionary.h"
#include "speech/phoneme_input.h"
#include "ui_speech_bar.h"

namespace {

// Sets espeak-ng up (SpeechSynthesiser::prepare) on a thread of its own, behind the window's
// thread in priority, so that the first speech does not pay for it on the window's thread.
// Speech asked for before it is over waits for it and is spoken. The future waits for the
// thread when it is destroyed.
std::future<void> prepareSpeechInBackground() {
  return std::async(std::launch::async, [] {
    runBehindTheWindowsThread();
    quorvi::speech::SpeechSynthesiser::prepare();
  });
}

}  // namespace

SpeechControls::SpeechControls(QWidget* area, WindowState& state, PhoneticDictionary& dictionary,
                               QWidget* window)
    : QObject(window),
      state_(state),
      dictionary_(dictionary),
      bar_(new Ui_SpeechBar),
      player_(new SpeechPlayer(this)) {
  // The area's caption style first: the buttons are styled once, as they are made.
  setCaptionButtonStyle(area);
  auto* bar = new QWidget(area);
  bar_->setupUi(bar);
  auto* fill = new QHBoxLayout(area);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(bar);
  using quorvi::speech::Voice;
  const auto sayIn = [this](Voice voice) { return [this, voice] { speakCurrentWord(voice); }; };
  connect(bar_->speakWord, &QPushButton::clicked, this, sayIn(Voice::kBritish));
  connect(bar_->speakWordAmerican, &QPushButton::clicked, this, sayIn(Voice::kAmerican));
  connect(bar_->speakTyped, &QPushButton::clicked, this, &SpeechControls::speakTypedText);
  auto* wordKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space), window);
  connect(wordKey, &QShortcut::activated, this, sayIn(Voice::kBritish));
  auto* americanKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space), window);
  connect(americanKey, &QShortcut::activated, this, sayIn(Voice::kAmerican));
  auto* typedKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Space), window);
  connect(typedKey, &QShortcut::activated, this, &SpeechControls::speakTypedText);
  // The Say button's tooltip names the word it speaks: the current word.
  connect(&state_, &WindowState::wordShown, this, &SpeechControls::nameCurrentWord);
  connect(&state_, &WindowState::menuOpening, this, &SpeechControls::addMenuEntries);
  nameCurrentWord();
  // Not while the window is built and first painted: from its event loop on.
  QTimer::singleShot(0, this, [this] { preparing_ = prepareSpeechInBackground(); });
}

SpeechControls::~SpeechControls() = default;

std::vector<QPushButton*> SpeechControls::buttons() const {
  return {bar_->speakTyped, bar_->speakWord, bar_->speakWordAmerican};
}

namespace {

// The transcriptions of an entry, without their brackets: the second of every three lines.
QStringList transcriptionsOf(const QStringList& entry) {
  QStringList found;
  for (qsizetype i = 1; i < entry.size(); i += 3) {
    QString line = entry.at(i);
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
      line = line.mid(1, line.size() - 2);
    if (!line.isEmpty() && !found.contains(line)) found << line;
  }
  return found;
}

}  // namespace

// Whatever says the word may run the event loop, and a popped-up menu deletes itself as it
// closes: the speech starts once the menu has finished handling the click that chose it.
void SpeechControls::addMenuEntries(QMenu* menu, const QString& word) {
  using quorvi::speech::Voice;
  if (word.isEmpty()) return;
  menu->addSeparator();
  const auto later = [this](auto speak) {
    return [this, speak] { QMetaObject::invokeMethod(this, speak, Qt::QueuedConnection); };
  };
  QAction* say = menu->addAction(tr("朗读“%1”").arg(word), this,
                                 later([this, word] { speakHeadword(word, Voice::kBritish); }));
  say->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space));
  QAction* sayAmerican =
      menu->addAction(tr("美音朗读“%1”").arg(word), this,
                      later([this, word] { speakHeadword(word, Voice::kAmerican); }));
  sayAmerican->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space));
  for (const QString& transcription : transcriptionsOf(dictionary_.entryText(word.toStdString())))
    menu->addAction(tr("朗读 [%1]").arg(transcription), this,
                    later([this, transcription] { speakTranscription(transcription); }));
  QStringList american;
  for (const AmericanTranscription& row : americanTranscriptions(dictionary_, word.toStdString()))
    if (!row.ipa.isEmpty() && !american.contains(row.ipa)) american << row.ipa;
  for (const QString& transcription : american)
    menu->addAction(tr("美音朗读 [%1]").arg(transcription), this, later([this, transcription] {
                      speakTranscription(transcription, Voice::kAmerican);
                    }));
}

quorvi::speech::SpeechSynthesiser& SpeechControls::synthesiser() {
  // Made on first use; waits for the set-up when it is still running.
  if (!synthesiser_) synthesiser_ = std::make_unique<quorvi::speech::SpeechSynthesiser>();
  return *synthesiser_;
}

void SpeechControls::say(const QString& message) {
  state_.say(message);
}

void SpeechControls::play(std::vector<std::int16_t> clip) {
  lastClip_ = std::move(clip);
  lastProblem_.clear();
  if (lastClip_.empty()) {
    lastProblem_ = tr("无法发音：%1").arg(QString::fromStdString(synthesiser().error()));
    say(lastProblem_);
    return;
  }
  if (player_->play(lastClip_, synthesiser().sampleRate())) return;
  lastProblem_ = tr("没有可用的音频设备，听不到声音。");
  if (!noDeviceSaid_) say(lastProblem_);
  noDeviceSaid_ = true;
}

void SpeechControls::speakHeadword(const QString& headword, quorvi::speech::Voice voice) {
  if (headword.isEmpty()) return;
  say(QString());
  play(synthesiser().speakText(headword.toStdString(), voice));
  emit spoken(headword);
}

void SpeechControls::speakTranscription(const QString& transcription, quorvi::speech::Voice voice) {
  const auto input = quorvi::speech::toEspeakPhonemes(transcription.toStdU16String());
  if (!input.readable()) {
    lastProblem_ = input.unreadable.empty() ? tr("没有可朗读的音标。")
                                            : tr("无法朗读：第 %1 个字符“%2”不是音标符号。")
                                                  .arg(input.position + 1)
                                                  .arg(QString::fromStdU16String(input.unreadable));
    say(lastProblem_);
    return;
  }
  say(QString());
  play(synthesiser().speakPhonemes(input.codes, voice));
  emit spoken(transcription);
}

void SpeechControls::nameCurrentWord() {
  const QString& word = state_.currentWord();
  bar_->speakWord->setToolTip(word.isEmpty() ? tr("用英音朗读选中的单词 (Ctrl+空格)")
                                             : tr("用英音朗读“%1” (Ctrl+空格)").arg(word));
  bar_->speakWordAmerican->setToolTip(word.isEmpty()
                                          ? tr("用美音朗读选中的单词 (Ctrl+Alt+空格)")
                                          : tr("用美音朗读“%1” (Ctrl+Alt+空格)").arg(word));
}

void SpeechControls::speakCurrentWord(quorvi::speech::Voice voice) {
  const QString& word = state_.currentWord();
  if (word.isEmpty()) {
    say(tr("没有可朗读的单词。"));
    return;
  }
  speakHeadword(word, voice);
  if (lastProblem_.isEmpty())
    say((voice == quorvi::speech::Voice::kAmerican ? tr("美音朗读：%1") : tr("朗读：%1"))
            .arg(word));
}

void SpeechControls::speakTypedText() {
  speakTyped(state_.typedText());
}

void SpeechControls::speakTyped(const QString& typed) {
  // Read as the search reads it (frames, optional sounds, today's IPA, look-alikes), with the
  // stress kept; a character it cannot read is named where the learner typed it.
  const std::u16string text = typed.toStdU16String();
  const LearnerInput read = readLearnerInput(text);
  if (read.errorPosition != 0) {
    lastProblem_ = tr("无法朗读：第 %1 个字符“%2”不是音标符号。")
                       .arg(read.errorPosition)
                       .arg(QString::fromUcs4(&read.errorCharacter, 1));
    say(lastProblem_);
    return;
  }
  speakTranscription(QString::fromStdU16String(learnerTranscription(text)));
}
