#include "app/window/mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "app/common/window_state.h"
#include "app/entry/entry_pane.h"
#include "app/learner/learner_words.h"
#include "app/pages/local_pages.h"
#include "app/pages/vendor_links.h"
#include "app/results/result_list.h"
#include "app/speech/speech_controls.h"
#include "app/startup/dictionary_notice.h"
#include "app/startup/runtime_folder.h"
#include "app/startup/warm_up.h"
#include "app/window/focus_order.h"
#include "app/window/symbol_keys.h"
#include "app/window/window_overlay.h"
#include "app/window/window_style.h"
#include "ui_mainwindow.h"

namespace {

// Rows shown while typing are capped; the Return key asks for all of them.
constexpr int kTypingLimit = 0;
constexpr int kNoLimit = 1;

constexpr int kSearchDelayMs = 10;

}  // namespace

// The order counts for the start's time: the search rows and the image plugins are read on
// other threads while the rest is built, and the form's style sheets stand before the
// widgets they style are made; the focus comes last, when every widget it orders exists.
MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      ui(new Ui_MainWindow),
      dictionary(),
      pendingText(),
      searchMode(0),
      learnerSearch(dictionary),
      state(new WindowState(this)) {
  startWarmUps(learnerSearch);
  ui->setupUi(this);
  setFixedSize(613, 397);
  ui->displayFull->setReadOnly(true);
  applyWindowStyle(*ui, this);
  const WindowOverlay overlay(*ui);

  state->setObjectName(QStringLiteral("windowState"));
  state->setTypedText(ui->inputPhonetic->text());
  connect(state, &WindowState::typedTextRequested, ui->inputPhonetic, &QLineEdit::setText);
  connect(state, &WindowState::inputFocusRequested, this,
          [this] { ui->inputPhonetic->setFocus(Qt::OtherFocusReason); });
  connect(state, &WindowState::statusSaid, overlay.statusLine(), &QLabel::setText);

  entry = new EntryPane(ui->displayFull, *state, dictionary, this);
  results = new ResultList(ui->displayResult, *state, dictionary, learnerSearch, this,
                           [this] { connectResultList(); });
  results->showSampleRows();
  // Connected only now, so the sample text set by the form starts no search.
  connect(ui->inputPhonetic, &QLineEdit::textChanged, this, &MainWindow::lazyLoad);
  // The state follows the field; a status line about what was is out of date once it changes.
  connect(ui->inputPhonetic, &QLineEdit::textChanged, state, [this](const QString& text) {
    state->setTypedText(text);
  });
  connect(ui->inputPhonetic, &QLineEdit::textChanged, overlay.statusLine(), &QLabel::clear);
  if (!dictionary.isOpen()) showMissingDictionary(ui->displayFull, lastRuntimeFolderSearch());
  nameSymbolKeys(*ui);

  speech = new SpeechControls(overlay.speechArea(), *state, dictionary, this);
  learner = new LearnerWords(*state, dictionary, *speech, overlay.learnerArea(), this);
  const std::vector<QPushButton*> speechButtons = speech->buttons();
  orderFocus(*ui, QList<QWidget*>(speechButtons.begin(), speechButtons.end()),
             overlay.learnerArea()->findChildren<QWidget*>(), this);
}

MainWindow::~MainWindow() {
  // What the window adds beside the form reads the form in its handlers: it goes before the
  // form, since closing the widgets afterwards still sends them events and signals. The
  // learner's threads stop before the dictionary goes; the result list's worker before the
  // rows.
  delete learner;
  delete speech;
  delete results;
  delete entry;
  delete ui;
}

void MainWindow::connectResultList() {
  QListWidget* list = ui->displayResult;
  connect(list, &QListWidget::currentRowChanged, this,
          &MainWindow::on_displayResult_currentRowChanged);
  connect(list, &QListWidget::itemClicked, this, &MainWindow::on_displayResult_itemClicked);
  connect(list, &QListWidget::itemActivated, this, &MainWindow::on_displayResult_itemActivated);
}

void MainWindow::displaySlot(QString text) {
  results->search(text, kTypingLimit, searchMode);
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
  if (auto* timer = qobject_cast<QTimer*>(sender())) timer->deleteLater();
  displaySlot(QString(pendingText));
}

// What the field shows: at start that is the sample text, which no change has reported yet.
void MainWindow::on_inputPhonetic_returnPressed() {
  results->search(ui->inputPhonetic->text(), kNoLimit, searchMode);
}

void MainWindow::on_phoneticMode_toggled(bool checked) {
  if (checked) {
    searchMode = 0;
    state->setMode(WindowState::Mode::kSound);
  }
}

void MainWindow::on_captionMode_toggled(bool checked) {
  if (checked) {
    searchMode = 1;
    state->setMode(WindowState::Mode::kSpelling);
  }
}

void MainWindow::on_displayResult_itemClicked(QListWidgetItem* item) {
  results->pickItem(item);
}

void MainWindow::on_displayResult_currentRowChanged(int currentRow) {
  results->pickRow(currentRow);
}

void MainWindow::on_displayResult_itemActivated(QListWidgetItem* item) {
  results->chooseItem(item);
}

void MainWindow::typeSymbol(char16_t codePoint) {
  ui->inputPhonetic->insert(QString(QChar(codePoint)));
  ui->inputPhonetic->setFocus(Qt::OtherFocusReason);
}

void MainWindow::on_k230_clicked() {
  typeSymbol(230);
}
void MainWindow::on_k240_clicked() {
  typeSymbol(240);
}
void MainWindow::on_k952_clicked() {
  typeSymbol(952);
}
void MainWindow::on_k331_clicked() {
  typeSymbol(331);
}
void MainWindow::on_k593_clicked() {
  typeSymbol(593);
}
void MainWindow::on_k596_clicked() {
  typeSymbol(596);
}
void MainWindow::on_k601_clicked() {
  typeSymbol(601);
}
void MainWindow::on_k603_clicked() {
  typeSymbol(603);
}
void MainWindow::on_k609_clicked() {
  typeSymbol(609);
}
void MainWindow::on_k643_clicked() {
  typeSymbol(643);
}
void MainWindow::on_k652_clicked() {
  typeSymbol(652);
}
void MainWindow::on_k658_clicked() {
  typeSymbol(658);
}

void MainWindow::on_aboutLink_clicked() {
  if (!openVendorPage(QStringLiteral("/software/phonetic/about/")))
    showAboutPage(this, dictionary.buildStamp());
}

void MainWindow::on_helpLink_clicked() {
  if (!openVendorPage(QStringLiteral("/software/phonetic/help/"))) showHelpPage(this);
}

void MainWindow::on_feedbackLink_clicked() {
  if (!openVendorPage(QStringLiteral("/software/phonetic/feedback/")))
    showFeedbackPage(this, feedbackText(ui->inputPhonetic->text(), searchMode != 0),
                     dictionary.buildStamp());
}

void MainWindow::on_slogan_linkActivated(const QString& link) {
  if (!openVendorLink(link)) showAboutPage(this, dictionary.buildStamp());
}
