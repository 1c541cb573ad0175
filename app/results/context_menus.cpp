#include "app/results/context_menus.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QTextEdit>

#include "app/learner/learner_words.h"
#include "app/results/result_rows.h"
#include "app/window/mainwindow.h"
#include "engine/phonetic_dictionary.h"
#include "ui_mainwindow.h"

namespace {

void copyText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

// The transcriptions of an entry, without their brackets: the second of every three lines.
QStringList transcriptionsOf(const QStringList& entry) {
  QStringList found;
  for (qsizetype i = 1; i < entry.size(); i += 3) {
    QString line = entry.at(i);
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
      line = line.mid(1, line.size() - 2);
    if (!line.isEmpty() && !found.contains(line)) found << line;
  }
  return found;
}

}  // namespace

void MainWindow::setUpMenus() {
  menus = new ContextMenus(ui->displayResult, ui->displayFull, dictionary, this);
}

ContextMenus::ContextMenus(QListWidget* list, QTextEdit* pane, PhoneticDictionary& dictionary,
                           QObject* parent)
    : QObject(parent), list_(list), pane_(pane), dictionary_(dictionary) {
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popUp(listMenu(at), list_->viewport(), at); });
  pane_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(pane_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popUp(paneMenu(), pane_->viewport(), at); });
}

void ContextMenus::popUp(QMenu* menu, QWidget* widget, const QPoint& position) {
  if (menu == nullptr) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(widget->mapToGlobal(position));
}

QMenu* ContextMenus::listMenu(const QPoint& position) {
  const QListWidgetItem* item = list_->itemAt(position);
  if (item == nullptr) item = list_->currentItem();
  // The heading above the near-sound rows is no word.
  if (item == nullptr || isNearSoundHeading(item)) return nullptr;
  return entryMenu(item->text(), QString());
}

QMenu* ContextMenus::paneMenu() {
  const QString shown = pane_->toPlainText();
  if (shown.isEmpty()) return nullptr;
  return entryMenu(shown.section(QLatin1Char('\n'), 0, 0), pane_->textCursor().selectedText());
}

QMenu* ContextMenus::entryMenu(const QString& headword, const QString& selection) {
  const QStringList entry = dictionary_.entryText(headword.toStdString());
  auto* menu = new QMenu;
  menu->setObjectName(QStringLiteral("entryMenu"));
  if (!selection.isEmpty()) {
    // The text edit hands a selection over with paragraph separators for line feeds.
    QString plain = selection;
    plain.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    menu->addAction(tr("复制选中文字"), this, [plain] { copyText(plain); });
  }
  menu->addAction(tr("复制单词"), this, [headword] { copyText(headword); });
  QAction* copyEntry =
      menu->addAction(tr("复制词条"), this, [entry] { copyText(entry.join(QLatin1Char('\n'))); });
  copyEntry->setEnabled(!entry.isEmpty());
  menu->addSeparator();
  addPronunciations(menu, headword, entry);
  // Last, so that the entries above keep their places.
  if (learner_ != nullptr) learner_->addMenuEntries(menu, headword);
  return menu;
}

// Whatever says the word may run the event loop, and a popped-up menu deletes itself as it
// closes: the signals go out once the menu has finished handling the click that chose them.
void ContextMenus::addPronunciations(QMenu* menu, const QString& headword,
                                     const QStringList& entry) {
  menu->addAction(tr("朗读单词"), this, [this, headword] {
    QMetaObject::invokeMethod(
        this, [this, headword] { emit pronounceWord(headword); }, Qt::QueuedConnection);
  });
  for (const QString& transcription : transcriptionsOf(entry)) {
    menu->addAction(tr("朗读 [%1]").arg(transcription), this, [this, transcription] {
      QMetaObject::invokeMethod(
          this, [this, transcription] { emit pronounceTranscription(transcription); },
          Qt::QueuedConnection);
    });
  }
}
