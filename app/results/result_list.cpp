// The window's result list: its notices, its sample rows, refilling it with a search's words
// and showing the entry of the row picked in it.

#include <QLabel>
#include <QListWidgetItem>
#include <QTimer>

#include "app/results/empty_list_notice.h"
#include "app/results/result_list_filler.h"
#include "app/results/result_rows.h"
#include "app/window/mainwindow.h"
#include "ui_mainwindow.h"

namespace {

// A search by spelling that takes longer than this says that it is under way.
constexpr int kSearchingSignMs = 100;

}  // namespace

void MainWindow::setUpResultList() {
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
  // An overlay in the viewport's bottom right corner, wherever the list is scrolled.
  connect(searchingDelay, &QTimer::timeout, this, [this] {
    const QRect viewport = ui->displayResult->viewport()->rect();
    searchingNotice->adjustSize();
    searchingNotice->move(viewport.right() - searchingNotice->width(),
                          viewport.bottom() - searchingNotice->height());
    searchingNotice->raise();
    searchingNotice->show();
  });
  showSampleRows();
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

void MainWindow::connectResultList() {
  QListWidget* list = ui->displayResult;
  connect(list, &QListWidget::currentRowChanged, this,
          &MainWindow::on_displayResult_currentRowChanged);
  connect(list, &QListWidget::itemClicked, this, &MainWindow::on_displayResult_itemClicked);
  connect(list, &QListWidget::itemActivated, this, &MainWindow::on_displayResult_itemActivated);
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
