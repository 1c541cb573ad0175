#include "app/window/mainwindow.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "app/learner/learner_words.h"
#include "app/results/context_menus.h"
#include "app/results/spelling_search_worker.h"
#include "app/speech/speech_controls.h"
#include "ui_mainwindow.h"

namespace {

// Rows shown while typing are capped; the Return key asks for all of them.
constexpr int kTypingLimit = 0;
constexpr int kNoLimit = 1;

constexpr int kSearchDelayMs = 10;

}  // namespace

// The order counts for the start's time: the search rows and the image plugins are read on
// other threads while the rest is built, and the form's style sheets stand before the
// widgets they style are made.
MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      ui(new Ui_MainWindow),
      dictionary(),
      learnerSearch(dictionary),
      emptyListNotice(nullptr),
      pendingText(),
      searchMode(0),
      spellingWorker(new SpellingSearchWorker(this)),
      searchingNotice(nullptr),
      searchingDelay(nullptr) {
  startWarmUps();
  setUpForm();
  setUpStyle();
  setUpResultList();
  setUpSearchOnTyping();
  setUpDictionaryNotice();
  setUpSymbolKeys();
  setUpMenus();
  setUpSpeech();
  setUpLearnerWords();
  setUpFocusOrder();
}

MainWindow::~MainWindow() {
  // Its thread stops before the rows and the window it reports to go.
  delete spellingWorker;
  // What the window adds beside the form reads the form in its handlers: it goes before the
  // form, since closing the widgets afterwards still sends them events and signals.
  delete menus;
  delete learner;
  delete speech;
  ui->inputPhonetic->removeEventFilter(this);
  ui->displayResult->removeEventFilter(this);
  delete ui;
}

void MainWindow::setUpForm() {
  ui->setupUi(this);
  setFixedSize(613, 397);
  ui->displayFull->setReadOnly(true);
}

// The slogan is rich text in a family Linux desktops seldom have: its document is parsed
// and the family's substitutes looked up the first time it is measured or painted. Measured
// here, that happens while the window is shown, and the first paint, the longest step of
// the window's start, is about 3 ms shorter.
void MainWindow::showEvent(QShowEvent* event) {
  ui->slogan->sizeHint();
  QMainWindow::showEvent(event);
}

void MainWindow::setUpSearchOnTyping() {
  // Connected only now, so the sample text set by the form starts no search.
  connect(ui->inputPhonetic, &QLineEdit::textChanged, this, &MainWindow::lazyLoad);
}

void MainWindow::displaySlot(QString text) {
  searchAndRefill(text, kTypingLimit);
}

void MainWindow::lazyLoad(QString text) {
  pendingText = text;
  // One timer per change: each change searches once, on the newest text.
  auto* timer = new QTimer(this);
  timer->setSingleShot(true);
  connect(timer, &QTimer::timeout, this, &MainWindow::triggerDisplay);
  timer->start(kSearchDelayMs);
}

void MainWindow::triggerDisplay() {
  if (auto* timer = qobject_cast<QTimer*>(sender())) {
    timer->deleteLater();
  }
  displaySlot(QString(pendingText));
}

void MainWindow::on_inputPhonetic_returnPressed() {
  searchAndRefill(pendingText, kNoLimit);
}

void MainWindow::searchAndRefill(const QString& text, int limitMode) {
  QElapsedTimer elapsed;
  elapsed.start();
  qDebug() << "last";
  ++searchNumber;  // whatever runs on the worker is out of date now

  const bool spelling = searchMode != 0;
  if (spelling && startSpellingSearch(text, limitMode, elapsed)) return;
  searchingDelay->stop();
  searchingNotice->hide();
  SearchOutcome outcome = spelling ? learnerSearch.bySpelling(text.toStdString(), limitMode)
                                   : learnerSearch.bySound(text, limitMode);
  ui->inputPhonetic->setFocus(Qt::OtherFocusReason);
  showOutcome(std::move(outcome), spelling);
  qDebug() << static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
}

bool MainWindow::startSpellingSearch(const QString& text, int limitMode,
                                     const QElapsedTimer& elapsed) {
  // A blank pattern is answered at once, and so is every search of a closed dictionary.
  if (text.trimmed().isEmpty()) return false;
  std::shared_ptr<const quorvi::engine::RowStore> rows = learnerSearch.spellingRows();
  if (rows == nullptr) return false;
  ui->inputPhonetic->setFocus(Qt::OtherFocusReason);
  if (!searchingDelay->isActive() && !searchingNotice->isVisible()) searchingDelay->start();
  const quint64 number = searchNumber;
  spellingWorker->start(std::move(rows), text.toStdString(),
                        limitMode == kTypingLimit ? LearnerSearch::kTypingCap : -1,
                        [this, number, elapsed](std::optional<SearchOutcome> outcome) {
                          // The list of an outdated pattern is dropped.
                          if (outcome && number == searchNumber) {
                            searchingDelay->stop();
                            searchingNotice->hide();
                            showOutcome(std::move(*outcome), true);
                          }
                          qDebug() << static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
                        });
  return true;
}

void MainWindow::showWord(const QString& word) {
  const QStringList& lines = dictionary.entryText(word.toStdString());
  if (lines.isEmpty()) return;
  ui->displayFull->setText(lines.join(QLatin1Char('\n')));
  emit entryShown(word);
  activateWindow();
  raise();
}

void MainWindow::on_phoneticMode_toggled(bool checked) {
  if (checked) {
    searchMode = 0;
  }
}

void MainWindow::on_captionMode_toggled(bool checked) {
  if (checked) {
    searchMode = 1;
  }
}
