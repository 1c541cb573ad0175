#include "app/learner/learner_words.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

#include "app/learner/drill_dialog.h"
#include "app/learner/drill_word_lists.h"
#include "app/learner/learner_words_dialog.h"
#include "app/learner/learner_writer.h"
#include "app/learner/word_list_import.h"
#include "app/common/caption_buttons.h"
#include "engine/phonetic_dictionary.h"
#include "learner/data_folder.h"
#include "learner/file_problem.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"

using namespace quorvi::learner;
using quorvi::learner::FileProblem;

LearnerWords::LearnerWords(WindowState& state, PhoneticDictionary& dictionary, Speaker& speaker,
                           QWidget* area, QWidget* window)
    : QObject(window),
      state_(state),
      dictionary_(dictionary),
      speaker_(speaker),
      window_(window),
      openedDelay_(new QTimer(this)) {
  setObjectName(QStringLiteral("learnerWords"));
  openedDelay_->setSingleShot(true);
  openedDelay_->setInterval(kOpenedAfterMs);
  connect(openedDelay_, &QTimer::timeout, this, [this] {
    if (pendingWord_ == state_.currentWord()) recordOpened(pendingWord_);
  });
  connect(&state_, &WindowState::wordShown, this, &LearnerWords::wordShown);
  connect(&state_, &WindowState::menuOpening, this, &LearnerWords::addMenuEntries);

  auto* toggle = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), window_);
  connect(toggle, &QShortcut::activated, this, [this] { toggleSaved(state_.currentWord()); });
  auto* history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), window_);
  connect(history, &QShortcut::activated, this, &LearnerWords::showHistory);
  auto* words = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), window_);
  connect(words, &QShortcut::activated, this, &LearnerWords::showMyWords);
  auto* drill = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), window_);
  connect(drill, &QShortcut::activated, this, &LearnerWords::showDrill);
  addButtons(area);
}

// The open list window reads this object: it goes first.
LearnerWords::~LearnerWords() {
  delete dialog_.data();
  delete drill_.data();
  // Their threads stop before the dictionary goes.
  delete drillLists_;
  delete import_;
  // The writes given are done before the window goes.
  delete writer_;
}

// My words and the drill, where a learner sees them: two buttons beside the window's links.
void LearnerWords::addButtons(QWidget* area) {
  setCaptionButtonStyle(area);
  // Short captions in a context of their own: the buttons have little room.
  const auto caption = [](const char* text) {
    return QCoreApplication::translate("LearnerButtons", text);
  };
  auto* myWords = new QPushButton(caption("生词本"), area);
  myWords->setObjectName(QStringLiteral("myWordsButton"));
  myWords->setToolTip(tr("生词本和查词历史 (Ctrl+Shift+D, Ctrl+H)"));
  connect(myWords, &QPushButton::clicked, this, &LearnerWords::showMyWords);
  auto* drill = new QPushButton(caption("听音找词"), area);
  drill->setObjectName(QStringLiteral("drillButton"));
  drill->setToolTip(tr("听音找词：听一个词，输入音标把它找出来 (Ctrl+L)"));
  connect(drill, &QPushButton::clicked, this, &LearnerWords::showDrill);
  for (QPushButton* button : {myWords, drill}) button->setFocusPolicy(Qt::TabFocus);
  auto* row = new QHBoxLayout(area);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  row->addWidget(myWords);
  row->addWidget(drill);
}

LearnerWriter* LearnerWords::writer() {
  if (writer_ == nullptr) {
    writer_ = new LearnerWriter(learnerDatabasePath(), this);
    connect(writer_, &LearnerWriter::opened, this, &LearnerWords::storeOpened);
    writer_->open();
  }
  return writer_;
}

WordListImport* LearnerWords::wordListImport() {
  if (import_ == nullptr)
    import_ = new WordListImport(learnerDatabasePath(), dictionary_.connection(), this);
  return import_;
}

LearnerStore* LearnerWords::store() {
  writer();
  return reader_ && reader_->isOpen() ? reader_.get() : nullptr;
}

QString LearnerWords::problemText(FileProblem problem) {
  switch (problem) {
    case FileProblem::kNone:
      break;
    case FileProblem::kNoDataFolder:
      return tr("没有存放数据的文件夹（HOME 和 XDG_DATA_HOME 都没有设置）");
    case FileProblem::kNotAFolder:
      return tr("该放文件夹的地方是一个文件");
    case FileProblem::kNotAFile:
      return tr("不是普通文件");
    case FileProblem::kSymbolicLink:
      return tr("它是一个符号链接");
    case FileProblem::kLinkLoop:
      return tr("符号链接形成了循环");
    case FileProblem::kNoPermission:
      return tr("没有写入权限");
    case FileProblem::kDiskFull:
      return tr("磁盘已满");
    case FileProblem::kDiskFailed:
      return tr("磁盘读写出错");
    case FileProblem::kBusy:
      return tr("另一个程序占用太久");
    case FileProblem::kNewerVersion:
      return tr("文件由更新版本的程序写入");
    case FileProblem::kDamaged:
      return tr("文件已损坏");
    case FileProblem::kMissing:
      return tr("文件不存在");
    case FileProblem::kNotText:
      return tr("不是文本文件");
    case FileProblem::kOther:
      break;
  }
  return tr("出现未知错误");
}

void LearnerWords::storeOpened(const LearnerStoreOpening& opening) {
  const QString file = QString::fromStdString(opening.file.string());
  if (!opening.setAside.empty()) {
    const QString aside = QString::fromStdString(opening.setAside.string());
    const quorvi::learner::SalvageReport& saved = opening.salvage;
    if (!saved.readable)
      tell(tr("查词历史和生词本的文件已损坏，已另存为 %1；其中的内容都无法读出，已新建了一个。")
               .arg(aside));
    else
      tell(tr("查词历史和生词本的文件已损坏，已另存为 %1。已救回 %2 个生词、%3 条查词历史和 %4 "
              "条听音练习记录，%5 条无法读出。")
               .arg(aside)
               .arg(saved.words)
               .arg(saved.history)
               .arg(saved.drill)
               .arg(saved.lost));
  }
  writable_ = opening.open && !opening.readOnly;
  if (!opening.open) {
    qWarning("learner data: %s", opening.error.c_str());
    tell(tr("无法保存查词历史和生词本（%1）：%2").arg(file, problemText(opening.problem)));
    return;
  }
  if (opening.readOnly) {
    qWarning("learner data: %s", opening.error.c_str());
    tell(tr("查词历史和生词本只能查看，不能保存更改（%1）：%2")
             .arg(file, problemText(opening.problem)));
  }
  // The window's own connection, for reading: the file is there and whole now.
  reader_ = std::make_unique<LearnerStore>(opening.file, 10, LearnerStore::Role::kReader);
  if (!reader_->isOpen()) qWarning("learner data: %s", reader_->error().c_str());
  emit wordsChanged();
}

// A message box that does not stop the window: the learner reads it and goes on. The
// store is opened once, so each of its notices comes once.
void LearnerWords::tell(const QString& text) {
  auto* box =
      new QMessageBox(QMessageBox::Information, tr("生词本"), text, QMessageBox::Ok, window_);
  box->setObjectName(QStringLiteral("learnerNotice"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

// What the learner picked in the list counts once it stayed shown a moment; what they opened
// from my words or the history counts at once; the start's sample and the drill's answer do
// not count.
void LearnerWords::wordShown(const QString& word, WindowState::Shown how) {
  openedDelay_->stop();
  if (how == WindowState::Shown::kOpened) {
    recordOpened(word);
  } else if (how == WindowState::Shown::kPicked) {
    pendingWord_ = word;
    openedDelay_->start();
  }
}

void LearnerWords::recordOpened(const QString& word) {
  if (word.isEmpty()) return;
  writer()->write([utf8 = word.toStdString()](
                      LearnerStore& store) { return quorvi::learner::recordOpened(store, utf8); },
                  this,
                  [](const LearnerWriteOutcome& outcome) {
                    if (!outcome.error.empty()) qWarning("learner data: %s", outcome.error.c_str());
                  });
}

std::vector<std::string> LearnerWords::savedWordList(std::string& error) {
  std::vector<std::string> words;
  error.clear();
  if (LearnerStore* data = store())
    for (SavedWord& saved : savedWords(*data, error)) words.push_back(std::move(saved.word));
  for (auto it = pendingSaved_.cbegin(); it != pendingSaved_.cend(); ++it) {
    const std::string word = it.key().toStdString();
    const auto found = std::find(words.begin(), words.end(), word);
    if (it->first && found == words.end()) words.insert(words.begin(), word);
    if (!it->first && found != words.end()) words.erase(found);
  }
  return words;
}

bool LearnerWords::isSaved(const QString& word) {
  if (const auto pending = pendingSaved_.constFind(word); pending != pendingSaved_.cend())
    return pending->first;
  LearnerStore* data = store();
  return data != nullptr && containsWord(*data, word.toStdString());
}

bool LearnerWords::toggleSaved(const QString& word) {
  if (word.isEmpty()) return false;
  const bool save = !isSaved(word);
  auto& pending = pendingSaved_[word];
  pending = {save, pending.second + 1};
  writer()->write(
      [utf8 = word.toStdString(), save](LearnerStore& store) {
        return save ? addWord(store, utf8) : removeWord(store, utf8);
      },
      this,
      [this, word, save](const LearnerWriteOutcome& outcome) {
        auto found = pendingSaved_.find(word);
        if (found != pendingSaved_.end() && --found->second == 0) pendingSaved_.erase(found);
        if (!outcome.error.empty()) {
          qWarning("learner data: %s", outcome.error.c_str());
          // A store that cannot be written said so once already.
          if (writable_) tell(tr("生词本未能保存：%1").arg(problemText(outcome.problem)));
          state_.say(tr("未能保存：%1").arg(word));
        } else {
          state_.say(save ? tr("已加入生词本：%1").arg(word) : tr("已移出生词本：%1").arg(word));
        }
        emit wordsChanged();
      });
  return save;
}

void LearnerWords::addMenuEntries(QMenu* menu, const QString& word) {
  menu->addSeparator();
  if (!word.isEmpty() && !dictionary_.entryText(word.toStdString()).isEmpty()) {
    QAction* toggle = menu->addAction(
        isSaved(word) ? tr("移出生词本：%1").arg(word) : tr("加入生词本：%1").arg(word), this,
        [this, word] { toggleSaved(word); });
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  }
  QAction* words = menu->addAction(tr("生词本…"), this, [this] {
    QMetaObject::invokeMethod(this, &LearnerWords::showMyWords, Qt::QueuedConnection);
  });
  words->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
  QAction* history = menu->addAction(tr("查词历史…"), this, [this] {
    QMetaObject::invokeMethod(this, &LearnerWords::showHistory, Qt::QueuedConnection);
  });
  history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  QAction* drill = menu->addAction(tr("听音找词…"), this, [this] {
    QMetaObject::invokeMethod(this, &LearnerWords::showDrill, Qt::QueuedConnection);
  });
  drill->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
}

LearnerWordsDialog* LearnerWords::dialog() const {
  return dialog_.data();
}

DrillDialog* LearnerWords::drill() const {
  return drill_.data();
}

DrillWordLists* LearnerWords::drillLists() {
  if (drillLists_ == nullptr) drillLists_ = new DrillWordLists(*this);
  return drillLists_;
}

void LearnerWords::showDrill() {
  if (drill_ == nullptr) {
    auto* drill = new DrillDialog(*this, state_, speaker_, window_);
    drill->setAttribute(Qt::WA_DeleteOnClose);
    drill_ = drill;
  }
  drill_->show();
  drill_->raise();
  drill_->activateWindow();
}

void LearnerWords::showMyWords() {
  showDialog(false);
}
void LearnerWords::showHistory() {
  showDialog(true);
}

void LearnerWords::showDialog(bool history) {
  if (dialog_ != nullptr) dialog_->close();
  auto* dialog = new LearnerWordsDialog(
      *this, history ? LearnerWordsDialog::Kind::kHistory : LearnerWordsDialog::Kind::kMyWords,
      window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &LearnerWordsDialog::openWord, this, [this](const QString& word) {
    if (dictionary_.entryText(word.toStdString()).isEmpty()) return;
    state_.show(word, WindowState::Shown::kOpened);
    window_->activateWindow();
    window_->raise();
  });
  dialog_ = dialog;
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}
