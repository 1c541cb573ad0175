#include "app/learner/learner_words.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>

#include "app/learner/drill_dialog.h"
#include "app/learner/drill_word_lists.h"
#include "app/learner/learner_words_dialog.h"
#include "app/results/context_menus.h"
#include "app/window/mainwindow.h"
#include "engine/phonetic_dictionary.h"
#include "learner/data_folder.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"

using namespace quorvi::learner;

void MainWindow::setUpLearnerWords() {
  // Their database is opened on first use, not while starting.
  learner = new LearnerWords(this, dictionary);
  menus->setLearnerWords(learner);
}

LearnerWords::LearnerWords(MainWindow* window, PhoneticDictionary& dictionary)
    : QObject(window), window_(window), dictionary_(dictionary), openedDelay_(new QTimer(this)) {
  setObjectName(QStringLiteral("learnerWords"));
  openedDelay_->setSingleShot(true);
  openedDelay_->setInterval(kOpenedAfterMs);
  connect(openedDelay_, &QTimer::timeout, this, [this] {
    if (pendingWord_ == shownWord_) recordOpened(pendingWord_);
  });
  connect(window_, &MainWindow::entryShown, this, &LearnerWords::entryShown);

  auto* toggle = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), window_);
  connect(toggle, &QShortcut::activated, this, [this] {
    if (!shownWord_.isEmpty()) toggleSaved(shownWord_);
  });
  // The input field takes Ctrl+D for deleting forward on X11 desktops; here it keeps the word.
  if (auto* input = window_->findChild<QLineEdit*>(QStringLiteral("inputPhonetic")))
    input->installEventFilter(this);
  auto* history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), window_);
  connect(history, &QShortcut::activated, this, &LearnerWords::showHistory);
  auto* words = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), window_);
  connect(words, &QShortcut::activated, this, &LearnerWords::showMyWords);
  auto* drill = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), window_);
  connect(drill, &QShortcut::activated, this, &LearnerWords::showDrill);
}

// The open list window reads this object: it goes first.
LearnerWords::~LearnerWords() {
  delete dialog_.data();
  delete drill_.data();
  // Its reading thread stops before the dictionary goes.
  delete drillLists_;
}

bool LearnerWords::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Not handed to the field: the window's shortcut gets it.
    if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) return true;
  }
  return QObject::eventFilter(watched, event);
}

LearnerStore* LearnerWords::store() {
  if (!triedToOpen_) {
    triedToOpen_ = true;
    store_ = std::make_unique<LearnerStore>(learnerDatabasePath());
    if (!store_->setAsideFile().empty())
      tell(tr("查词历史和生词本的文件已损坏，已另存为 %1，并新建了一个。")
               .arg(QString::fromStdString(store_->setAsideFile().string())));
    if (!store_->isOpen()) {
      qWarning("learner data: %s", store_->error().c_str());
      tell(tr("无法保存查词历史和生词本：%1").arg(QString::fromStdString(store_->error())));
    }
  }
  return store_ && store_->isOpen() ? store_.get() : nullptr;
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

void LearnerWords::entryShown(const QString& headword) {
  shownWord_ = headword;
  // Only what the learner picks counts: the first row shown while typing does not.
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || qobject_cast<QListWidget*>(focus) == nullptr) return;
  pendingWord_ = headword;
  openedDelay_->start();
}

void LearnerWords::recordOpened(const QString& word) {
  if (word.isEmpty()) return;
  LearnerStore* data = store();
  if (data == nullptr) return;
  const std::string error = quorvi::learner::recordOpened(*data, word.toStdString());
  if (!error.empty()) qWarning("learner data: %s", error.c_str());
}

bool LearnerWords::isSaved(const QString& word) {
  LearnerStore* data = store();
  return data != nullptr && containsWord(*data, word.toStdString());
}

bool LearnerWords::toggleSaved(const QString& word) {
  LearnerStore* data = store();
  if (data == nullptr || word.isEmpty()) return false;
  const std::string utf8 = word.toStdString();
  const bool saved = containsWord(*data, utf8);
  const std::string error = saved ? removeWord(*data, utf8) : addWord(*data, utf8);
  if (!error.empty()) {
    tell(tr("生词本未能保存：%1").arg(QString::fromStdString(error)));
    return saved;
  }
  emit wordsChanged();
  return !saved;
}

void LearnerWords::addMenuEntries(QMenu* menu, const QString& headword) {
  menu->addSeparator();
  if (!headword.isEmpty() && !dictionary_.entryText(headword.toStdString()).isEmpty()) {
    QAction* toggle = menu->addAction(isSaved(headword) ? tr("移出生词本") : tr("加入生词本"), this,
                                      [this, headword] { toggleSaved(headword); });
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
    auto* drill = new DrillDialog(*this, window_);
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
    window_->showWord(word);
    recordOpened(word);
  });
  dialog_ = dialog;
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}
