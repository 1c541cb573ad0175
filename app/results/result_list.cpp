#include "app/results/result_list.h"

#include <QDebug>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include "app/entry/word_menu.h"
#include "app/results/empty_list_notice.h"
#include "app/results/result_list_filler.h"
#include "app/results/result_rows.h"
#include "app/results/spelling_search_worker.h"
#include "app/common/window_state.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

namespace {

// A search by spelling that takes longer than this says that it is under way.
constexpr int kSearchingSignMs = 100;
constexpr int kTypingLimit = 0;

}  // namespace

ResultList::ResultList(QListWidget* list, WindowState& state, PhoneticDictionary& dictionary,
                       LearnerSearch& search, QObject* window, std::function<void()> reconnect)
    : QObject(window),
      list_(list),
      state_(state),
      dictionary_(dictionary),
      search_(search),
      window_(window),
      reconnect_(std::move(reconnect)),
      emptyListNotice_(new EmptyListNotice(list)),
      searchingNotice_(new QLabel(tr("正在查找…"), list->viewport())),
      searchingDelay_(new QTimer(this)),
      spellingWorker_(new SpellingSearchWorker(this)) {
  searchingNotice_->setObjectName(QStringLiteral("searchingNotice"));
  searchingNotice_->setAttribute(Qt::WA_TransparentForMouseEvents);
  searchingNotice_->setFocusPolicy(Qt::NoFocus);
  searchingNotice_->setStyleSheet(QStringLiteral(
      "QLabel { color: #808080; font-style: italic; background: palette(base); padding: 2px; }"));
  searchingNotice_->hide();
  searchingDelay_->setSingleShot(true);
  searchingDelay_->setInterval(kSearchingSignMs);
  connect(searchingDelay_, &QTimer::timeout, this, &ResultList::showSearching);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QMenu* menu = menuAt(at)) popUpMenu(menu, list_->viewport()->mapToGlobal(at));
  });
}

// Its thread stops before the rows and the window it reports to go.
ResultList::~ResultList() {
  delete spellingWorker_;
}

// An overlay in the viewport's bottom right corner, wherever the list is scrolled: it follows
// the viewport, so it is placed here rather than in a layout.
void ResultList::showSearching() {
  const QRect viewport = list_->viewport()->rect();
  searchingNotice_->adjustSize();
  searchingNotice_->move(viewport.right() - searchingNotice_->width(),
                         viewport.bottom() - searchingNotice_->height());
  searchingNotice_->raise();
  searchingNotice_->show();
}

// The list shows the sample result of the sample input, each row a word of the dictionary;
// making row 0 current shows the entry of "example" through the window's by-name connection.
void ResultList::showSampleRows() {
  SearchOutcome samples;
  for (const QString& word : {QStringLiteral("example"), QStringLiteral("exampling")}) {
    if (!dictionary_.entryText(word.toStdString()).isEmpty())
      samples.words.append(word.toStdString());
  }
  samples.nearSoundFrom = samples.words.size();
  if (!dictionary_.isOpen()) samples = dictionaryNotOpen();
  QObject::disconnect(list_, nullptr, window_, nullptr);
  ResultListFiller::of(list_)->fill(samples.words, samples.nearSoundFrom);
  reconnect_();
  starting_ = true;
  list_->setCurrentItem(list_->item(0));
  starting_ = false;
  emptyListNotice_->showFor(samples, false);
}

void ResultList::search(const QString& text, int limitMode, int searchMode) {
  QElapsedTimer elapsed;
  elapsed.start();
  qDebug() << "last";
  ++searchNumber_;  // whatever runs on the worker is out of date now

  const bool spelling = searchMode != 0;
  if (spelling && startSpellingSearch(text, limitMode, elapsed)) return;
  searchingDelay_->stop();
  searchingNotice_->hide();
  SearchOutcome outcome = spelling ? search_.bySpelling(text.toStdString(), limitMode)
                                   : search_.bySound(text.toStdU16String(), limitMode);
  state_.requestInputFocus();
  showOutcome(std::move(outcome), spelling, text);
  qDebug() << static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
}

bool ResultList::startSpellingSearch(const QString& text, int limitMode,
                                     const QElapsedTimer& elapsed) {
  // A blank pattern is answered at once, and so is every search of a closed dictionary.
  if (text.trimmed().isEmpty()) return false;
  std::shared_ptr<const quorvi::engine::RowStore> rows = search_.spellingRows();
  if (rows == nullptr) return false;
  state_.requestInputFocus();
  if (!searchingDelay_->isActive() && !searchingNotice_->isVisible()) searchingDelay_->start();
  const quint64 number = searchNumber_;
  spellingWorker_->start(std::move(rows), text.toStdString(),
                         limitMode == kTypingLimit ? LearnerSearch::kTypingCap : -1,
                         [this, number, elapsed, text](std::optional<SearchOutcome> outcome) {
                           // The list of an outdated pattern is dropped.
                           if (outcome && number == searchNumber_) {
                             searchingDelay_->stop();
                             searchingNotice_->hide();
                             showOutcome(std::move(*outcome), true, text);
                           }
                           qDebug() << static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
                         });
  return true;
}

void ResultList::showOutcome(SearchOutcome outcome, bool spelling, const QString& text) {
  emptyListNotice_->showFor(outcome, spelling, text);
  // Emptying and refilling the list must not look up entries: cut the window's connections
  // to the list for the whole refill. Only the window's: the list emits itemClicked through a
  // connection from its own clicked signal, and the style sheet machinery watches its
  // destruction.
  QObject::disconnect(list_, nullptr, window_, nullptr);
  // The first screenfuls become items now, the rest as the list is scrolled.
  ResultListFiller::of(list_)->fill(std::move(outcome.words), outcome.nearSoundFrom,
                                    std::move(outcome.nearSound));
  reconnect_();
  // A new list is read from its top, whatever was scrolled before.
  list_->scrollToTop();
}

void ResultList::pickRow(int row) {
  if (const QListWidgetItem* item = list_->item(row)) pickItem(item);
}

void ResultList::pickItem(const QListWidgetItem* item) {
  if (item == nullptr || isNearSoundHeading(item)) return;
  state_.show(item->text(), starting_ ? WindowState::Shown::kAtStart : WindowState::Shown::kPicked);
}

void ResultList::chooseItem(const QListWidgetItem* item) {
  if (item == nullptr || isNearSoundHeading(item)) return;
  pickItem(item);
  state_.choose(item->text());
}

QMenu* ResultList::menuAt(const QPoint& position) {
  QListWidgetItem* item = list_->itemAt(position);
  // The heading above the near-sound rows is no word, and has no menu.
  if (item != nullptr && isNearSoundHeading(item)) return nullptr;
  if (item != nullptr) {
    if (list_->currentItem() != item)
      list_->setCurrentItem(item);  // shows it, through the window's connection
    else
      pickItem(item);
  }
  return wordMenu(state_, dictionary_, QString(), this);
}
