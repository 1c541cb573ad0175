#include "app/speech/speech_controls.h"

#include <QAbstractItemModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>

#include "app/results/context_menus.h"
#include "app/results/result_rows.h"
#include "app/speech/speech_player.h"
#include "app/window/mainwindow.h"
#include "app/window/window_style.h"
#include "engine/background_thread_priority.h"
#include "engine/learner_input.h"
#include "speech/phoneme_input.h"
#include "ui_mainwindow.h"
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

void MainWindow::setUpSpeech() {
  speech = new SpeechControls(*ui, this);
  connect(menus, &ContextMenus::pronounceWord, speech, &SpeechControls::speakHeadword);
  connect(menus, &ContextMenus::pronounceTranscription, speech,
          &SpeechControls::speakTranscription);
}

SpeechControls::SpeechControls(Ui_MainWindow& form, QWidget* window)
    : QObject(window), form_(form), bar_(new Ui_SpeechBar), player_(new SpeechPlayer(this)) {
  loadSpeechBar();
  connect(bar_->speakWord, &QPushButton::clicked, this, &SpeechControls::speakPickedWord);
  connect(bar_->speakTyped, &QPushButton::clicked, this, &SpeechControls::speakTypedText);
  auto* wordKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space), window);
  connect(wordKey, &QShortcut::activated, this, &SpeechControls::speakPickedWord);
  auto* typedKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Space), window);
  connect(typedKey, &QShortcut::activated, this, &SpeechControls::speakTypedText);
  // A message about what was typed before is out of date once the text changes.
  connect(form_.inputPhonetic, &QLineEdit::textChanged, this, [this] { say(QString()); });
  // The Say button's tooltip names the word it speaks, which follows the list.
  QListWidget* list = form_.displayResult;
  connect(list, &QListWidget::currentItemChanged, this, &SpeechControls::nameCurrentWord);
  connect(list->model(), &QAbstractItemModel::rowsInserted, this, &SpeechControls::nameCurrentWord);
  connect(list->model(), &QAbstractItemModel::rowsRemoved, this, &SpeechControls::nameCurrentWord);
  connect(list->model(), &QAbstractItemModel::modelReset, this, &SpeechControls::nameCurrentWord);
  nameCurrentWord();
  // Not while the window is built and first painted: from its event loop on.
  QTimer::singleShot(0, this, [this] { preparing_ = prepareSpeechInBackground(); });
}

SpeechControls::~SpeechControls() = default;

// The bar spans the entry pane's width above it: its buttons at the right, level with the
// modes, and its message line under them. It lies under the form's widgets, so that the
// modes beside its buttons keep their clicks.
void SpeechControls::loadSpeechBar() {
  auto* bar = new QWidget(form_.centralWidget);
  // Before the buttons are made, which are styled once.
  setCaptionButtonStyle(bar);
  bar_->setupUi(bar);
  const QRect entry = form_.displayFull->geometry();
  const int buttonsTop =
      form_.phoneticMode->geometry().center().y() - bar_->speechBarLayout->rowMinimumHeight(0) / 2;
  // The form's own height: asking the layout would style the bar's widgets now, before the
  // window is shown, which styles them anyway.
  bar->setGeometry(entry.left(), buttonsTop, entry.width(), bar->height());
  bar->lower();
  bar->show();
}

std::pair<QPushButton*, QPushButton*> SpeechControls::buttons() const {
  return {bar_->speakTyped, bar_->speakWord};
}

quorvi::speech::SpeechSynthesiser& SpeechControls::synthesiser() {
  // Made on first use; waits for the set-up when it is still running.
  if (!synthesiser_) synthesiser_ = std::make_unique<quorvi::speech::SpeechSynthesiser>();
  return *synthesiser_;
}

void SpeechControls::say(const QString& message) {
  bar_->speechStatus->setText(message);
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

void SpeechControls::speakHeadword(const QString& headword) {
  if (headword.isEmpty()) return;
  say(QString());
  play(synthesiser().speakText(headword.toStdString()));
}

void SpeechControls::speakTranscription(const QString& transcription) {
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
  play(synthesiser().speakPhonemes(input.codes));
}

QString SpeechControls::currentWord() const {
  const QListWidget* list = form_.displayResult;
  const QListWidgetItem* item = list->currentItem();
  if (item != nullptr && !isNearSoundHeading(item)) return item->text();
  // None picked since the list changed: the first word listed, which the learner sees on top.
  for (int row = 0; row < list->count(); ++row) {
    if (!isNearSoundHeading(list->item(row))) return list->item(row)->text();
  }
  return QString();
}

void SpeechControls::nameCurrentWord() {
  const QString word = currentWord();
  bar_->speakWord->setToolTip(word.isEmpty() ? tr("朗读选中的单词 (Ctrl+空格)")
                                             : tr("朗读“%1” (Ctrl+空格)").arg(word));
}

void SpeechControls::speakPickedWord() {
  const QString word = currentWord();
  if (word.isEmpty()) {
    say(tr("列表中没有可朗读的单词。"));
    return;
  }
  speakHeadword(word);
}

void SpeechControls::speakTypedText() {
  speakTyped(form_.inputPhonetic->text());
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
