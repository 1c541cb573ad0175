#include "app/learner/drill_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <string>

#include "app/learner/drill_word_lists.h"
#include "app/learner/learner_words.h"
#include "app/learner/learner_writer.h"
#include "app/common/level_names.h"
#include "app/common/speaker.h"
#include "engine/american_transcriptions.h"
#include "app/common/window_state.h"
#include "engine/phonetic_dictionary.h"
#include "learner/drill.h"
#include "learner/drill_sources.h"
#include "learner/learner_store.h"

using namespace quorvi::learner;
using Kind = sound::AlignedSound::Kind;

namespace {

// The differing sounds are red and bold, and a mark under them says how they differ.
const char kDifferStyle[] = "color:#c00000; font-weight:bold;";

const char* markOf(Kind kind) {
  switch (kind) {
    case Kind::Same:
      return "";
    case Kind::HeardAs:
      return "≠";
    case Kind::Added:
      return "+";
    case Kind::Unheard:
    case Kind::NotYetTyped:
      break;
  }
  return "−";
}

QString cell(const std::string& symbols, bool differs) {
  const QString text =
      symbols.empty() ? QStringLiteral("–") : QString::fromStdString(symbols).toHtmlEscaped();
  return differs ? QStringLiteral("<td align=\"center\" style=\"%1\">%2</td>")
                       .arg(QString::fromLatin1(kDifferStyle), text)
                 : QStringLiteral("<td align=\"center\">%1</td>").arg(text);
}

}  // namespace

DrillDialog::DrillDialog(LearnerWords& learner, WindowState& state, Speaker& speaker,
                         QWidget* window)
    : QDialog(window),
      learner_(learner),
      state_(state),
      speaker_(speaker),
      window_(window),
      source_(new QComboBox(this)),
      voice_(new QComboBox(this)),
      status_(new QLabel(this)),
      verdict_(new QLabel(this)),
      alignmentView_(new QLabel(this)),
      legend_(new QLabel(this)),
      score_(new QLabel(this)),
      confusions_(new QLabel(this)),
      repeat_(new QPushButton(tr("再听一遍(&R)"), this)),
      hearTyped_(new QPushButton(tr("听我输入的(&T)"), this)),
      next_(new QPushButton(tr("下一个(&N)"), this)),
      add_(new QPushButton(tr("加入生词本(&A)"), this)),
      random_(std::random_device{}()) {
  setObjectName(QStringLiteral("drillDialog"));
  setWindowTitle(tr("听音找词"));
  setModal(false);

  source_->setObjectName(QStringLiteral("drillSource"));
  source_->addItem(tr("生词本"), QStringLiteral("my-words"));
  source_->addItem(tr("最常用的词"), QStringLiteral("most-heard"));
  for (const char* tag :
       {"CET4", "CET6", "Zhongkao", "Gaokao", "Kaoyan", "IELTS", "TOEFL", "GRE", "Oxford3000"})
    source_->addItem(levelDisplayName(QString::fromLatin1(tag)),
                     QStringLiteral("level:") + QString::fromLatin1(tag));
  // My words when the learner has some, the most heard words otherwise.
  if (DrillWordLists* lists = learner_.drillLists()) {
    const auto mine = lists->words(QStringLiteral("my-words"));
    if (!mine || mine->empty()) source_->setCurrentIndex(1);
    connect(lists, &DrillWordLists::ready, this, &DrillDialog::listReady);
  }
  voice_->setObjectName(QStringLiteral("drillVoice"));
  voice_->addItem(tr("英音"));
  voice_->addItem(tr("美音"));
  connect(source_, &QComboBox::currentIndexChanged, this, [this] {
    // A question of another source is no longer open.
    asked_.clear();
    answered_ = false;
    repeat_->setEnabled(false);
    setStatus(tr("按“下一个”开始。"));
  });

  status_->setObjectName(QStringLiteral("drillStatus"));
  status_->setWordWrap(true);
  verdict_->setObjectName(QStringLiteral("drillVerdict"));
  verdict_->setWordWrap(true);
  verdict_->setTextFormat(Qt::RichText);
  alignmentView_->setObjectName(QStringLiteral("drillAlignment"));
  alignmentView_->setTextFormat(Qt::RichText);
  legend_->setObjectName(QStringLiteral("drillLegend"));
  legend_->setText(tr("≠ 听成了别的音　+ 多出的音　− 没听到的音"));
  legend_->hide();
  score_->setObjectName(QStringLiteral("drillScore"));
  confusions_->setObjectName(QStringLiteral("drillConfusions"));
  confusions_->setWordWrap(true);
  repeat_->setObjectName(QStringLiteral("drillRepeat"));
  repeat_->setToolTip(tr("再说一遍这个词 (Ctrl+R)"));
  repeat_->setEnabled(false);
  hearTyped_->setObjectName(QStringLiteral("drillHearTyped"));
  hearTyped_->setToolTip(tr("按你输入的音标朗读"));
  hearTyped_->setEnabled(false);
  next_->setObjectName(QStringLiteral("drillNext"));
  next_->setToolTip(tr("说下一个词 (Ctrl+N)"));
  next_->setDefault(true);
  connect(repeat_, &QPushButton::clicked, this, &DrillDialog::sayWordAgain);
  connect(hearTyped_, &QPushButton::clicked, this, &DrillDialog::sayWhatWasTyped);
  connect(next_, &QPushButton::clicked, this, &DrillDialog::nextQuestion);
  // The learner types in the main window: the keys work from there too.
  auto* again = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
  again->setContext(Qt::ApplicationShortcut);
  connect(again, &QShortcut::activated, this, &DrillDialog::sayWordAgain);
  auto* nextKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this);
  nextKey->setContext(Qt::ApplicationShortcut);
  connect(nextKey, &QShortcut::activated, this, &DrillDialog::nextQuestion);
  add_->setObjectName(QStringLiteral("drillAdd"));
  add_->setEnabled(false);
  add_->setAutoDefault(false);
  connect(add_, &QPushButton::clicked, this, [this] {
    if (!learner_.isSaved(state_.currentWord())) learner_.toggleSaved(state_.currentWord());
    nameAddButton();
  });
  connect(&state_, &WindowState::wordShown, this, &DrillDialog::nameAddButton);
  connect(&learner_, &LearnerWords::wordsChanged, this, &DrillDialog::nameAddButton);
  connect(&state_, &WindowState::wordChosen, this, &DrillDialog::answer);

  auto* sourceRow = new QHBoxLayout;
  auto* sourceLabel = new QLabel(tr("词源(&S)："), this);
  sourceLabel->setBuddy(source_);
  sourceRow->addWidget(sourceLabel);
  sourceRow->addWidget(source_, 1);
  auto* voiceLabel = new QLabel(tr("发音(&V)："), this);
  voiceLabel->setBuddy(voice_);
  sourceRow->addWidget(voiceLabel);
  sourceRow->addWidget(voice_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(repeat_);
  buttons->addWidget(hearTyped_);
  buttons->addWidget(add_);
  buttons->addStretch();
  buttons->addWidget(next_);
  auto* close = new QPushButton(tr("关闭(&C)"), this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sourceRow);
  layout->addWidget(status_);
  layout->addWidget(verdict_);
  layout->addWidget(alignmentView_);
  layout->addWidget(legend_);
  layout->addStretch();
  layout->addWidget(score_);
  layout->addWidget(confusions_);
  layout->addLayout(buttons);

  setStatus(tr("听单词，在主窗口输入听到的音标，然后在列表中双击或按回车选词。按“下一个”开始。"));
  showScores();
  // Wide enough for its buttons' captions in any language.
  resize(sizeHint().expandedTo(QSize(460, 340)));
}

// Beside the main window, where the screen has room: right of it, else left, else below or
// above; never over its input and list, where the learner types the answer.
void DrillDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_ || window_ == nullptr) return;
  placed_ = true;
  const QRect main = window_->frameGeometry();
  const QRect screen = window_->screen()->availableGeometry();
  const QSize size = frameGeometry().size();
  constexpr int kGap = 8;
  const QPoint candidates[] = {{main.right() + kGap, main.top()},
                               {main.left() - kGap - size.width(), main.top()},
                               {main.left(), main.bottom() + kGap},
                               {main.left(), main.top() - kGap - size.height()}};
  for (const QPoint& at : candidates) {
    if (screen.contains(QRect(at, size))) {
      move(at);
      return;
    }
  }
  // No room beside it: the screen's right edge, over the entry pane's side at most.
  move(std::max(screen.left(), screen.right() - size.width()), main.top());
}

void DrillDialog::nameAddButton() {
  const QString& word = state_.currentWord();
  const bool askedAndAnswered = answered_ && !asked_.isEmpty() && word == asked_;
  const bool saved = askedAndAnswered && learner_.isSaved(word);
  add_->setEnabled(askedAndAnswered && !saved);
  add_->setText(saved ? tr("已在生词本中") : tr("加入生词本(&A)"));
  add_->setToolTip(askedAndAnswered ? tr("把“%1”加入生词本 (Ctrl+D)").arg(word) : QString());
}

void DrillDialog::setStatus(const QString& text) {
  status_->setText(text);
}

void DrillDialog::nextQuestion() {
  DrillWordLists* lists = learner_.drillLists();
  if (lists == nullptr) return;
  const QString source = source_->currentData().toString();
  const std::optional<std::vector<std::string>> words = lists->words(source);
  if (!words) {
    waitingForList_ = true;
    setStatus(tr("正在读取词表…"));
    return;
  }
  waitingForList_ = false;
  if (words->empty()) {
    const QString why = lists->error(source);
    if (!why.isEmpty())
      setStatus(tr("无法读取词表：%1").arg(why));
    else if (source == QStringLiteral("my-words"))
      setStatus(tr("生词本里还没有单词：用 Ctrl+D 把单词加入生词本，或换一个词源。"));
    else
      setStatus(tr("这个词源里没有单词。"));
    return;
  }
  std::string word;
  if (LearnerStore* store = learner_.store()) {
    std::string error;
    word = nextDrillWord(*store, *words, random_, asked_.toStdString(), error);
    if (!error.empty()) qWarning("learner data: %s", error.c_str());
  }
  if (word.empty()) {
    // Without the learner's data the drill still asks, at random.
    std::uniform_int_distribution<std::size_t> pick(0, words->size() - 1);
    word = (*words)[pick(random_)];
  }
  ask(QString::fromStdString(word));
}

void DrillDialog::listReady(const QString& source) {
  if (waitingForList_ && source == source_->currentData().toString()) nextQuestion();
}

void DrillDialog::ask(const QString& word) {
  asked_ = word;
  answered_ = false;
  alignment_.clear();
  heard_.clear();
  verdict_->clear();
  alignmentView_->clear();
  legend_->hide();
  repeat_->setEnabled(true);
  hearTyped_->setEnabled(false);
  nameAddButton();
  // A fresh input in the main window, where the learner types what they hear.
  state_.requestTypedText(QString());
  if (window_ != nullptr) window_->activateWindow();
  state_.requestInputFocus();
  sayWordAgain();
}

void DrillDialog::sayWordAgain() {
  if (asked_.isEmpty()) return;
  const QString prompt =
      answered_ ? QString() : tr("在主窗口输入听到的音标，然后在列表中双击或按回车选词。");
  speaker_.speakHeadword(asked_, voice());
  if (!speaker_.lastProblem().isEmpty())
    setStatus(tr("无法播放声音（%1）").arg(speaker_.lastProblem()) + QLatin1Char('\n') + prompt);
  else
    setStatus(prompt);
}

void DrillDialog::sayWhatWasTyped() {
  if (heard_.isEmpty()) return;
  speaker_.speakTyped(heard_);
  setStatus(speaker_.lastProblem().isEmpty()
                ? QString()
                : tr("无法播放声音（%1）").arg(speaker_.lastProblem()));
}

quorvi::speech::Voice DrillDialog::voice() const {
  return voice_->currentIndex() == 1 ? quorvi::speech::Voice::kAmerican
                                     : quorvi::speech::Voice::kBritish;
}

QString DrillDialog::transcriptionOf(const QString& headword) {
  if (voice() == quorvi::speech::Voice::kAmerican)
    for (const AmericanTranscription& row :
         americanTranscriptions(learner_.dictionary(), headword.toStdString()))
      if (!row.ipa.isEmpty()) return row.ipa;
  const QStringList lines = learner_.dictionary().entryText(headword.toStdString());
  if (lines.size() < 2) return {};
  QString line = lines[1];
  if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
    line = line.mid(1, line.size() - 2);
  return line;
}

void DrillDialog::answer(const QString& headword) {
  if (asked_.isEmpty() || answered_ || headword.isEmpty()) return;
  answered_ = true;
  const QString stored = transcriptionOf(asked_);
  const QString chosen = transcriptionOf(headword);
  const bool same = headword == asked_;
  // A word that sounds the same cannot be told apart by ear: it counts as found.
  const bool soundsSame = !same && !stored.isEmpty() && stored == chosen;
  const bool right = same || soundsSame;

  // What the learner heard: the sounds typed in the main window when it searches by sound,
  // otherwise the chosen word's.
  QString heardLabel = tr("你输入的");
  heard_.clear();
  alignment_.clear();
  if (state_.mode() == WindowState::Mode::kSound) {
    alignment_ = alignHeard(state_.typedText(), stored);
    if (!alignment_.empty()) heard_ = state_.typedText().trimmed();
  }
  if (alignment_.empty()) {
    heardLabel = tr("你选的词");
    alignment_ = alignHeard(chosen, stored);
    heard_ = chosen;
  }

  ++sessionAsked_;
  if (right) ++sessionRight_;

  const QString word =
      QStringLiteral("<b>%1</b> [%2]").arg(asked_.toHtmlEscaped(), stored.toHtmlEscaped());
  QString text;
  if (same)
    text = tr("✔ 对了：%1").arg(word);
  else if (soundsSame)
    text = tr("✔ 对了：%1 和你选的 %2 读音相同").arg(word, headword.toHtmlEscaped());
  else
    text = tr("✘ 不对：你选了 %1，这个词是 %2").arg(headword.toHtmlEscaped(), word);
  verdict_->setText(text);
  setStatus(tr("按“下一个”(Ctrl+N) 听下一个词。"));
  // The word said is the window's current word now: its entry shows, the add button keeps it.
  state_.show(asked_, WindowState::Shown::kAnswer);
  showAlignment(heardLabel);
  hearTyped_->setEnabled(!heard_.isEmpty());
  showScores();
  next_->setFocus();

  // Kept on the writer's thread; the word's score joins the verdict once it is.
  auto score = std::make_shared<DrillScore>();
  const QString asked = asked_;
  learner_.writer()->write(
      [word = asked.toStdString(), right, confusions = confusionsOf(alignment_),
       score](LearnerStore& store) {
        return recordAnswer(store, word, right, confusions, 0, score.get());
      },
      this,
      [this, asked, text, score](const LearnerWriteOutcome& outcome) {
        if (!outcome.error.empty()) {
          setStatus(tr("练习结果未能保存：%1").arg(LearnerWords::problemText(outcome.problem)));
        } else if (asked == asked_ && answered_) {
          verdict_->setText(text + QStringLiteral("<br>") +
                            tr("这个词：答对 %1/%2 次，第 %3 盒")
                                .arg(score->right)
                                .arg(score->asked())
                                .arg(score->box));
        }
        showScores();
        emit learner_.wordsChanged();
      });
}

void DrillDialog::showAlignment(const QString& heardLabel) {
  if (alignment_.empty()) {
    alignmentView_->clear();
    legend_->hide();
    return;
  }
  QString heard, stored, marks;
  for (const sound::AlignedSound& step : alignment_) {
    const bool differs = step.kind != Kind::Same;
    heard += cell(step.typed, differs);
    stored += cell(step.stored, differs);
    marks += differs ? cell(markOf(step.kind), true) : QStringLiteral("<td></td>");
  }
  alignmentView_->setText(
      QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">"
                     "<tr><td>%1</td>%2</tr><tr><td>%3</td>%4</tr><tr><td></td>%5</tr></table>")
          .arg(heardLabel.toHtmlEscaped(), heard, tr("词典音标").toHtmlEscaped(), stored, marks));
  legend_->show();
}

void DrillDialog::showScores() {
  score_->setText(tr("本次：答对 %1 题，共 %2 题").arg(sessionRight_).arg(sessionAsked_));
  QStringList often;
  if (LearnerStore* store = learner_.store()) {
    std::string error;
    for (const Confusion& confusion : commonConfusions(*store, 3, error))
      often << tr("你常把 %1 听成 %2（%n 次）", nullptr, static_cast<int>(confusion.count))
                   .arg(QString::fromStdString(confusion.stored),
                        QString::fromStdString(confusion.heard));
  }
  confusions_->setText(often.join(tr("；")));
}
