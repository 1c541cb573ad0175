#include "speech_controls.h"

#include <QAbstractItemModel>
#include <QKeySequence>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>

#include "button_fit.h"
#include "result_rows.h"
#include "speech/phoneme_input.h"
#include "speech_player.h"
#include "speech_preparation.h"
#include "ui_mainwindow.h"

SpeechControls::SpeechControls(Ui_MainWindow& form, QWidget* window)
    : QObject(window), form_(form), player_(new SpeechPlayer(this)) {
  createControls();
  connect(speakWord_, &QPushButton::clicked, this, &SpeechControls::speakPickedWord);
  connect(speakTyped_, &QPushButton::clicked, this, &SpeechControls::speakTypedText);
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

// The two buttons stand right of the modes, above the entry; the message line between
// the modes and the entry.
void SpeechControls::createControls() {
  QWidget* parent = form_.centralWidget;
  speakTyped_ = new QPushButton(tr("听输入"), parent);
  speakTyped_->setObjectName(QStringLiteral("speakTyped"));
  speakTyped_->setGeometry(480, 127, 58, 22);
  speakTyped_->setToolTip(tr("按输入的音标朗读 (Ctrl+Shift+空格)"));
  speakWord_ = new QPushButton(tr("朗读"), parent);
  speakWord_->setObjectName(QStringLiteral("speakWord"));
  speakWord_->setGeometry(543, 127, 58, 22);
  for (QPushButton* button : {speakTyped_, speakWord_}) {
    fitCaptionButton(button);
    button->setFocusPolicy(Qt::TabFocus);
    button->show();
  }
  status_ = new QLabel(parent);
  status_->setObjectName(QStringLiteral("speechStatus"));
  status_->setGeometry(280, 150, 321, 18);
  status_->show();
  QWidget::setTabOrder(form_.captionMode, speakTyped_);
  QWidget::setTabOrder(speakTyped_, speakWord_);
  QWidget::setTabOrder(speakWord_, form_.displayResult);
}

quorvi::speech::SpeechSynthesiser& SpeechControls::synthesiser() {
  // Made on first use; waits for the set-up when it is still running.
  if (!synthesiser_) synthesiser_ = std::make_unique<quorvi::speech::SpeechSynthesiser>();
  return *synthesiser_;
}

void SpeechControls::say(const QString& message) {
  status_->setText(message);
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
  speakWord_->setToolTip(word.isEmpty() ? tr("朗读选中的单词 (Ctrl+空格)")
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
  speakTranscription(form_.inputPhonetic->text());
}
