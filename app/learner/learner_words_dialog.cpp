#include "app/learner/learner_words_dialog.h"

#include <QEvent>

#include <QDateTime>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/learner/learner_words.h"
#include "app/learner/learner_writer.h"
#include "app/learner/word_list_import.h"
#include "app/common/level_names.h"
#include "learner/dictionary_facts.h"
#include "learner/drill.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/safe_file_output.h"
#include "learner/text_decoding.h"
#include "learner/word_export.h"
#include "learner/word_import.h"

using namespace quorvi::learner;

namespace {

// Every cell sorts by its value in this role: numbers as numbers, text as lower-case text.
constexpr int kSortRole = Qt::UserRole + 1;

QStandardItem* textCell(const QString& text) {
  auto* item = new QStandardItem(text);
  item->setData(text.toLower(), kSortRole);
  item->setEditable(false);
  return item;
}

QStandardItem* numberCell(long long value) {
  auto* item = new QStandardItem(QString::number(value));
  item->setData(value, kSortRole);
  item->setEditable(false);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

// `newerThan`: how many rows of the same list are older, so that rows of the same second
// still sort in the order they were written.
QStandardItem* timeCell(long long seconds, long long newerThan) {
  auto* item = new QStandardItem(
      QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
  item->setData(seconds * 1000000 + newerThan, kSortRole);
  item->setEditable(false);
  return item;
}

QString joined(const std::vector<std::string>& parts, const char* between) {
  QStringList list;
  for (const std::string& part : parts) list << QString::fromStdString(part);
  return list.join(QString::fromUtf8(between));
}

// The drill's score of `word`: right/asked and its box; sorted by box, then by answers right.
QStandardItem* drillCell(const std::map<std::string, DrillScore>& scores, const std::string& word) {
  const auto found = scores.find(word);
  if (found == scores.end()) {
    auto* item = new QStandardItem;
    item->setData(-1, kSortRole);
    item->setEditable(false);
    return item;
  }
  const DrillScore& score = found->second;
  auto* item = new QStandardItem(
      LearnerWordsDialog::tr("%1/%2，第 %3 盒").arg(score.right).arg(score.asked()).arg(score.box));
  item->setToolTip(LearnerWordsDialog::tr("听音找词：答对 %1 次，共 %2 次，第 %3 盒")
                       .arg(score.right)
                       .arg(score.asked())
                       .arg(score.box));
  item->setData(score.box * 1000000LL + score.right, kSortRole);
  item->setEditable(false);
  return item;
}

}  // namespace

LearnerWordsDialog::LearnerWordsDialog(LearnerWords& words, Kind kind, QWidget* parent)
    : QDialog(parent),
      words_(words),
      kind_(kind),
      model_(new QStandardItemModel(this)),
      proxy_(new QSortFilterProxyModel(this)),
      table_(new QTableView(this)),
      filter_(new QLineEdit(this)) {
  setObjectName(kind == Kind::kMyWords ? QStringLiteral("myWordsDialog")
                                       : QStringLiteral("historyDialog"));
  setWindowTitle(kind == Kind::kMyWords ? tr("生词本") : tr("查词历史"));
  resize(720, 420);
  filter_->setObjectName(QStringLiteral("learnerFilter"));
  filter_->setPlaceholderText(tr("筛选 (Ctrl+F)"));
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  connect(findKey, &QShortcut::activated, filter_,
          [this] { filter_->setFocus(Qt::ShortcutFocusReason); });
  filter_->setClearButtonEnabled(true);
  proxy_->setSourceModel(model_);
  proxy_->setSortRole(kSortRole);
  proxy_->setFilterKeyColumn(-1);
  proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
  connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
  table_->setObjectName(QStringLiteral("learnerTable"));
  table_->setModel(proxy_);
  table_->setSortingEnabled(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setWordWrap(false);
  // Tab leaves the table for the buttons; the arrows move within it.
  table_->setTabKeyNavigation(false);
  connect(table_, &QAbstractItemView::activated, this, [this] { openCurrent(); });

  auto* buttons = new QHBoxLayout;
  auto* open = new QPushButton(tr("打开(&O)"), this);
  connect(open, &QPushButton::clicked, this, &LearnerWordsDialog::openCurrent);
  buttons->addWidget(open);
  if (kind_ == Kind::kMyWords) {
    auto* remove = new QPushButton(tr("移出生词本(&R)"), this);
    connect(remove, &QPushButton::clicked, this, &LearnerWordsDialog::removeSelected);
    auto* exportButton = new QPushButton(tr("导出(&E)…"), this);
    connect(exportButton, &QPushButton::clicked, this, &LearnerWordsDialog::exportWords);
    auto* importButton = new QPushButton(tr("导入(&I)…"), this);
    connect(importButton, &QPushButton::clicked, this, &LearnerWordsDialog::importWords);
    buttons->addWidget(remove);
    buttons->addWidget(exportButton);
    buttons->addWidget(importButton);
  }
  buttons->addStretch();
  auto* close = new QPushButton(tr("关闭(&C)"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(filter_);
  layout->addWidget(table_);
  if (kind_ == Kind::kMyWords) {
    confusions_ = new QLabel(this);
    confusions_->setObjectName(QStringLiteral("drillConfusions"));
    confusions_->setWordWrap(true);
    layout->addWidget(confusions_);
  }
  layout->addLayout(buttons);

  connect(&words_, &LearnerWords::wordsChanged, this, &LearnerWordsDialog::reload);
  reload();
  table_->sortByColumn(kind_ == Kind::kMyWords ? 4 : 3, Qt::DescendingOrder);
  table_->setFocus();
}

void LearnerWordsDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) reloadIfChangedElsewhere();
}

void LearnerWordsDialog::reloadIfChangedElsewhere() {
  LearnerStore* store = words_.store();
  if (store != nullptr && store->changesByOthers() != readVersion_) reload();
}

void LearnerWordsDialog::reload() {
  const QModelIndex current = table_->currentIndex();
  const QString currentWord = current.isValid() ? wordAt(current.row()) : QString();
  model_->clear();
  if (kind_ == Kind::kMyWords)
    model_->setHorizontalHeaderLabels({tr("单词"), tr("音标"), tr("中文"), tr("级别"),
                                       tr("加入时间"), tr("查询次数"), tr("听音练习")});
  else
    model_->setHorizontalHeaderLabels(
        {tr("单词"), tr("音标"), tr("中文"), tr("最近查询"), tr("查询次数")});
  LearnerStore* store = words_.store();
  if (store == nullptr) return;
  readVersion_ = store->changesByOthers();
  const FactsLookup facts = factsLookup(words_.dictionary());
  std::string error;
  auto factsRow = [&](const std::string& word) {
    const WordFacts found = facts(word).value_or(WordFacts{});
    QString chinese = joined(found.chinese, "；");
    QStringList levels;
    for (const std::string& tag : found.levels)
      levels << levelDisplayName(QString::fromStdString(tag));
    return QList<QStandardItem*>{textCell(QString::fromStdString(word)),
                                 textCell(QString::fromStdString(found.transcription)),
                                 textCell(chinese), textCell(levels.join(QLatin1Char(' ')))};
  };
  if (kind_ == Kind::kMyWords) {
    const std::vector<SavedWord> saved = savedWords(*store, error);
    std::string drillError;
    const std::map<std::string, DrillScore> scores = drillScores(*store, drillError);
    for (size_t i = 0; i < saved.size(); ++i) {
      QList<QStandardItem*> row = factsRow(saved[i].word);
      row << timeCell(saved[i].added, static_cast<long long>(saved.size() - i))
          << numberCell(saved[i].lookups) << drillCell(scores, saved[i].word);
      model_->appendRow(row);
    }
    QStringList often;
    for (const Confusion& confusion : commonConfusions(*store, 5, drillError))
      often << tr("你常把 %1 听成 %2（%n 次）", nullptr, static_cast<int>(confusion.count))
                   .arg(QString::fromStdString(confusion.stored),
                        QString::fromStdString(confusion.heard));
    confusions_->setText(often.join(tr("；")));
    if (!drillError.empty()) qWarning("learner data: %s", drillError.c_str());
  } else {
    const std::vector<HistoryItem> items = history(*store, 0, error);
    for (size_t i = 0; i < items.size(); ++i) {
      QList<QStandardItem*> row = factsRow(items[i].word);
      delete row.takeLast();  // no level column in the history
      row << timeCell(items[i].lastOpened, static_cast<long long>(items.size() - i))
          << numberCell(items[i].count);
      model_->appendRow(row);
    }
  }
  if (!error.empty()) qWarning("learner data: %s", error.c_str());
  table_->resizeColumnsToContents();
  for (int column = 0; column < model_->columnCount(); ++column)
    table_->setColumnWidth(column, std::min(table_->columnWidth(column), 220));
  // Wide enough for every column at first (within the screen); the learner may resize it.
  if (!sized_ && model_->rowCount() > 0) {
    sized_ = true;
    int width = table_->frameWidth() * 2 + 24;
    for (int column = 0; column < model_->columnCount(); ++column)
      width += table_->columnWidth(column);
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(std::max(width + layout()->contentsMargins().left() * 2, this->width()),
                    screen.width() * 9 / 10),
           height());
  }
  for (int row = 0; !currentWord.isEmpty() && row < proxy_->rowCount(); ++row)
    if (wordAt(row) == currentWord) {
      table_->setCurrentIndex(proxy_->index(row, 0));
      break;
    }
}

QString LearnerWordsDialog::confusionsText() const {
  return confusions_ != nullptr ? confusions_->text() : QString();
}

QString LearnerWordsDialog::wordAt(int row) const {
  return proxy_->index(row, 0).data().toString();
}

void LearnerWordsDialog::openCurrent() {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return;
  emit openWord(wordAt(current.row()));
}

void LearnerWordsDialog::removeSelected() {
  QStringList chosen;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows(0))
    chosen << index.data().toString();
  if (chosen.isEmpty()) return;
  std::vector<std::string> words;
  for (const QString& word : chosen) words.push_back(word.toStdString());
  words_.writer()->write(
      [words](LearnerStore& store) {
        for (const std::string& word : words)
          if (std::string error = removeWord(store, word); !error.empty()) return error;
        return std::string();
      },
      this,
      [this](const LearnerWriteOutcome& outcome) {
        if (!outcome.error.empty())
          QMessageBox::warning(
              this, windowTitle(),
              tr("生词本未能保存：%1").arg(LearnerWords::problemText(outcome.problem)));
        emit words_.wordsChanged();
      });
}

QString LearnerWordsDialog::exportStartFile() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  return QDir(folder).filePath(QStringLiteral("my-words.txt"));
}

QString LearnerWordsDialog::withExportExtension(const QString& file, bool csv) {
  if (!QFileInfo(file).suffix().isEmpty()) return file;
  return file + (csv ? QStringLiteral(".csv") : QStringLiteral(".txt"));
}

void LearnerWordsDialog::exportWords() {
  LearnerStore* store = words_.store();
  if (store == nullptr) return;
  const QString anki = tr("Anki 文本 (*.txt)");
  const QString csv = tr("CSV 表格 (*.csv)");
  QFileDialog dialog(this, tr("导出生词本"), exportStartFile(), anki + QStringLiteral(";;") + csv);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
    dialog.setDefaultSuffix(chosen == csv ? QStringLiteral("csv") : QStringLiteral("txt"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const bool asCsv = dialog.selectedNameFilter() == csv ||
                     dialog.selectedFiles().first().endsWith(QStringLiteral(".csv"));
  const QString file = withExportExtension(dialog.selectedFiles().first(), asCsv);
  // The text is made here, where the dictionary is read; the file is written on the
  // writer's thread, so a slow disk never stops the window.
  std::string error;
  const std::vector<SavedWord> saved = savedWords(*store, error);
  if (!error.empty()) {
    QMessageBox::warning(this, windowTitle(),
                         tr("无法读取生词本：%1").arg(LearnerWords::problemText(store->problem())));
    return;
  }
  std::string text = exportText(saved, factsLookup(words_.dictionary()),
                                asCsv ? ExportFormat::kCsv : ExportFormat::kAnki);
  const std::size_t count = saved.size();
  words_.writer()->run(
      [text = std::move(text), path = file.toStdString()] {
        LearnerWriteOutcome outcome;
        outcome.error = writeWholeFile(path, text, &outcome.problem);
        return outcome;
      },
      this,
      [this, file, count](const LearnerWriteOutcome& outcome) {
        if (!outcome.error.empty())
          QMessageBox::warning(
              this, windowTitle(),
              tr("无法导出到 %1：%2").arg(file, LearnerWords::problemText(outcome.problem)));
        else
          QMessageBox::information(
              this, windowTitle(),
              tr("已导出 %n 个单词到 %1", nullptr, static_cast<int>(count)).arg(file));
      });
}

void LearnerWordsDialog::importWords() {
  WordListImport* import = words_.wordListImport();
  if (import->running()) return;
  const QString file = QFileDialog::getOpenFileName(this, tr("导入生词"), QString(),
                                                    tr("单词表 (*.txt *.csv *.tsv);;所有文件 (*)"));
  if (file.isEmpty() || !import->start(file)) return;
  // Long lists show how far the import is, and may be stopped.
  auto* progress = new QProgressDialog(tr("正在导入 %1…").arg(QFileInfo(file).fileName()),
                                       tr("取消"), 0, 100, this);
  progress->setObjectName(QStringLiteral("importProgress"));
  progress->setWindowModality(Qt::WindowModal);
  progress->setMinimumDuration(400);
  progress->setAttribute(Qt::WA_DeleteOnClose);
  connect(progress, &QProgressDialog::canceled, import, &WordListImport::cancel);
  connect(import, &WordListImport::progressed, progress, &QProgressDialog::setValue);
  connect(
      import, &WordListImport::finished, this,
      [this, progress](const WordListImportOutcome& outcome) {
        progress->close();
        showImported(outcome);
      },
      Qt::SingleShotConnection);
}

void LearnerWordsDialog::showImported(const WordListImportOutcome& outcome) {
  if (outcome.cancelled) return;
  if (!outcome.error.empty()) {
    qWarning("import: %s", outcome.error.c_str());
    QMessageBox::warning(
        this, windowTitle(),
        tr("无法导入 %1：%2").arg(outcome.file, LearnerWords::problemText(outcome.problem)));
    return;
  }
  emit words_.wordsChanged();
  const ImportReport& report = outcome.report;
  QString text = tr("新加入 %1 个，已在生词本中 %2 个，词典中没有 %3 个。")
                     .arg(report.added.size())
                     .arg(report.alreadyThere)
                     .arg(report.unknownCount);
  // The first of them, each with a word spelled almost so; control characters written out.
  QStringList named;
  for (const UnknownWord& unknown : report.unknown) {
    const QString word = QString::fromStdString(printableText(unknown.written));
    named << (unknown.closeSpelling.empty()
                  ? word
                  : tr("%1（也许是 %2）").arg(word, QString::fromStdString(unknown.closeSpelling)));
  }
  if (!named.isEmpty()) text += QLatin1Char('\n') + named.join(tr("，"));
  if (report.unknownCount > report.unknown.size())
    text += tr("……另有 %1 个").arg(report.unknownCount - report.unknown.size());
  QMessageBox::information(this, windowTitle(), text);
}
