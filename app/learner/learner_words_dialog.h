#pragma once

#include <QDialog>

class LearnerWords;
struct WordListImportOutcome;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

// The "My words" window (word, transcription, Chinese, level, added, lookups, the drill's score,
// and under the table the sounds the learner most often hears as others) or the history
// (word, transcription, Chinese, last opened, times): sortable by any column, narrowed by a
// filter box; double-click or Return opens the word in the main window. My words can be
// removed, exported for Anki or as CSV, and imported.
class LearnerWordsDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Kind { kMyWords, kHistory };
  LearnerWordsDialog(LearnerWords& words, Kind kind, QWidget* parent);

  // Reads the rows again from the learner's data, keeping the current word current.
  void reload();
  // reload() when another window or quorvi-dict changed the data since the last reading
  // (this window's own changes reload at once). Done whenever the window is activated.
  void reloadIfChangedElsewhere();
  QTableView* table() const { return table_; }
  QLineEdit* filter() const { return filter_; }
  // The learner's commonest confusions in the drill (My words only; empty when none).
  QString confusionsText() const;
  // The word in `row` of the table as shown (sorted and filtered).
  QString wordAt(int row) const;

  // Where an export starts: my-words.txt in the learner's documents folder (their home when
  // there is none).
  static QString exportStartFile();
  // `file` with the extension of the chosen type (.csv or .txt) when it has none.
  static QString withExportExtension(const QString& file, bool csv);

 signals:
  void openWord(const QString& word);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void openCurrent();
  void removeSelected();
  void exportWords();
  void importWords();
  void showImported(const WordListImportOutcome& outcome);

  LearnerWords& words_;
  Kind kind_;
  QStandardItemModel* model_;
  QSortFilterProxyModel* proxy_;
  QTableView* table_;
  QLineEdit* filter_;
  QLabel* confusions_ = nullptr;
  bool sized_ = false;         // made wide enough for its columns once
  long long readVersion_ = 0;  // LearnerStore::changesByOthers at the last reading
};
