#include "mainwindow.h"

#include <QDebug>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidgetItem>
#include <QTimer>
#include <QUrl>

#include "context_menus.h"
#include "empty_list_notice.h"
#include "image_plugin_warmup.h"
#include "learner_words.h"
#include "no_focus_rectangle_style.h"
#include "result_list_filler.h"
#include "result_rows.h"
#include "speech_controls.h"
#include "spelling_search_worker.h"
#include "ui_mainwindow.h"
#include "vendor_site.h"

#include "local_pages.h"
#include "vendor_links.h"
#include "window_additions.h"

namespace {

// Rows shown while typing are capped; the Return key asks for all of them.
constexpr int kTypingLimit = 0;
constexpr int kNoLimit = 1;

constexpr int kSearchDelayMs = 10;
// A search by spelling that takes longer than this says that it is under way.
constexpr int kSearchingSignMs = 100;

}  // namespace

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
  loadImagePluginsInBackground();
  // The rows of the search by sound are read while the window is built and shown.
  learnerSearch.prepareRows();
  ui->setupUi(this);
  setFixedSize(613, 397);
  ui->displayFull->setReadOnly(true);

  // setStyle does not take ownership. Parented to the window, the styles are
  // created after (and so destroyed after) the widget tree that uses them.
  QWidget* const plainFocus[] = {ui->keyGroup, ui->aboutLink, ui->helpLink, ui->feedbackLink};
  for (QWidget* widget : plainFocus) {
    auto* style = new NoFocusRectangleStyle;
    style->setParent(this);
    widget->setStyle(style);
  }

  // The window's style sheet asks every push button for at least 9ex of width, which at
  // the keys' 12 pt is about twice the 37 px they are laid out with 40 px apart: they
  // would cover one another's symbols. The keys keep their laid-out width.
  ui->keyGroup->setStyleSheet(QStringLiteral("QPushButton { min-width: 0px; }"));

  // A click on a symbol key must not take the focus from the input field: the
  // field would drop its selection, and the symbol could not replace it.
  for (QPushButton* key : ui->keyGroup->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
    key->setFocusPolicy(Qt::TabFocus);
  }

  emptyListNotice = new EmptyListNotice(ui->displayResult);
  searchingNotice = new QLabel(tr("正在查找…"), ui->displayResult->viewport());
  searchingNotice->setObjectName(QStringLiteral("searchingNotice"));
  searchingNotice->setAttribute(Qt::WA_TransparentForMouseEvents);
  searchingNotice->setFocusPolicy(Qt::NoFocus);
  searchingNotice->setStyleSheet(QStringLiteral(
      "QLabel { color: #808080; font-style: italic; background: palette(base); padding: 2px; }"));
  searchingNotice->hide();
  // The window's own timers are the typing path's, one a change.
  searchingDelay = new QTimer(searchingNotice);
  searchingDelay->setSingleShot(true);
  searchingDelay->setInterval(kSearchingSignMs);
  connect(searchingDelay, &QTimer::timeout, this, [this] {
    const QRect viewport = ui->displayResult->viewport()->rect();
    searchingNotice->adjustSize();
    searchingNotice->move(viewport.right() - searchingNotice->width(),
                          viewport.bottom() - searchingNotice->height());
    searchingNotice->raise();
    searchingNotice->show();
  });
  showSampleRows();
  // Down and Page Down in the input move into the list.
  ui->inputPhonetic->installEventFilter(this);

  // Connected only now, so the sample text set by the form starts no search.
  connect(ui->inputPhonetic, &QLineEdit::textChanged, this, &MainWindow::lazyLoad);

  // Speech, menus, tooltips, fit and focus: see window_additions.h.
  new WindowAdditions(this, *ui, dictionary);
  // History and my words; their database is opened on first use, not while starting.
  auto* learner = new LearnerWords(this, dictionary);
  if (auto* menus = findChild<ContextMenus*>()) menus->setLearnerWords(learner);
}

MainWindow::~MainWindow() {
  // Its thread stops before the rows and the window it reports to go.
  delete spellingWorker;
  // What the window adds beside the form reads the form in its handlers: it goes before the
  // form, since closing the widgets afterwards still sends them events and signals.
  qDeleteAll(findChildren<WindowAdditions*>(Qt::FindDirectChildrenOnly));
  qDeleteAll(findChildren<LearnerWords*>(Qt::FindDirectChildrenOnly));
  qDeleteAll(findChildren<SpeechControls*>(Qt::FindDirectChildrenOnly));
  ui->inputPhonetic->removeEventFilter(this);
  delete ui;
}

// The list shows the sample result of the sample input, each row a word of the dictionary;
// picking row 0 shows the entry of "example" through the by-name connection.
void MainWindow::showSampleRows() {
  SearchOutcome samples;
  for (const QString& word : {QStringLiteral("example"), QStringLiteral("exampling")}) {
    if (!dictionary.entryText(word.toStdString()).isEmpty()) samples.words.append(word);
  }
  samples.nearSoundFrom = samples.words.size();
  if (!dictionary.isOpen()) samples = dictionaryNotOpen();
  QObject::disconnect(ui->displayResult, nullptr, this, nullptr);
  ResultListFiller::of(ui->displayResult)->fill(samples.words, samples.nearSoundFrom);
  connectResultList();
  ui->displayResult->setCurrentItem(ui->displayResult->item(0));
  emptyListNotice->showFor(samples, false);
}

// The slogan is rich text in a family Linux desktops seldom have: its document is parsed
// and the family's substitutes looked up the first time it is measured or painted. Measured
// here, that happens while the window is shown, and the first paint, the longest step of
// the window's start, is about 3 ms shorter.
void MainWindow::showEvent(QShowEvent* event) {
  ui->slogan->sizeHint();
  QMainWindow::showEvent(event);
}

void MainWindow::connectResultList() {
  QListWidget* list = ui->displayResult;
  connect(list, &QListWidget::currentRowChanged, this,
          &MainWindow::on_displayResult_currentRowChanged);
  connect(list, &QListWidget::itemClicked, this, &MainWindow::on_displayResult_itemClicked);
  connect(list, &QListWidget::itemActivated, this, &MainWindow::on_displayResult_itemActivated);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->inputPhonetic && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    QListWidget* list = ui->displayResult;
    if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && list->count() > 0) {
      list->setFocus(Qt::TabFocusReason);
      if (list->currentRow() < 0) list->setCurrentRow(0);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
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
  std::shared_ptr<const PhoneticIndex> rows = learnerSearch.spellingRows();
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

void MainWindow::showOutcome(SearchOutcome outcome, bool spelling) {
  emptyListNotice->showFor(outcome, spelling, ui->inputPhonetic->text());

  // Emptying and refilling the list must not look up entries: cut the
  // window's connections to the list for the whole refill. Only the window's:
  // the list emits itemClicked through a connection from its own clicked
  // signal, and the style sheet machinery watches its destruction.
  QListWidget* list = ui->displayResult;
  QObject::disconnect(list, nullptr, this, nullptr);
  // The first screenfuls become items now, the rest as the list is scrolled.
  ResultListFiller::of(list)->fill(std::move(outcome.words), outcome.nearSoundFrom,
                                   std::move(outcome.nearSound));
  connectResultList();
  // A new list is read from its top, whatever was scrolled before.
  list->scrollToTop();
}

void MainWindow::showEntry(const QListWidgetItem* item) {
  if (isNearSoundHeading(item)) return;
  const QStringList& lines = dictionary.entryText(item->text().toStdString());
  ui->displayFull->setText(lines.join(QLatin1Char('\n')));
  emit entryShown(item->text());
}

void MainWindow::showWord(const QString& word) {
  const QStringList& lines = dictionary.entryText(word.toStdString());
  if (lines.isEmpty()) return;
  ui->displayFull->setText(lines.join(QLatin1Char('\n')));
  emit entryShown(word);
  activateWindow();
  raise();
}

void MainWindow::on_displayResult_itemClicked(QListWidgetItem* item) {
  if (item != nullptr) {
    showEntry(item);
  }
}

void MainWindow::on_displayResult_itemActivated(QListWidgetItem* item) {
  if (item != nullptr) {
    showEntry(item);
    if (!isNearSoundHeading(item)) emit wordChosen(item->text());
  }
}

void MainWindow::on_displayResult_currentRowChanged(int currentRow) {
  if (const QListWidgetItem* item = ui->displayResult->item(currentRow)) {
    showEntry(item);
  }
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

// Without a vendor site, or without a browser, the window shows its own pages.
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
