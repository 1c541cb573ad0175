#pragma once

#include <QMainWindow>
#include <QElapsedTimer>
#include <QString>

#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

class QListWidgetItem;
class Ui_MainWindow;
class EmptyListNotice;
class QLabel;
class QTimer;
class SpellingSearchWorker;

// The finder's one window: a phonetic input with its symbol keyboard, the list
// of matching headwords and the entry pane of the picked headword.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

 public slots:
  void displaySlot(QString text);
  void lazyLoad(QString text);
  // Shows the entry of `word` in the entry pane (the list stays as it is).
  void showWord(const QString& word);

 signals:
  // The entry pane shows the entry of `headword` now.
  void entryShown(const QString& headword);
  // The learner chose `headword` in the list: a double-click or Return on its row.
  void wordChosen(const QString& headword);

 private slots:
  void on_k230_clicked();
  void on_k240_clicked();
  void on_k952_clicked();
  void on_k331_clicked();
  void on_k593_clicked();
  void on_k596_clicked();
  void on_k601_clicked();
  void on_k603_clicked();
  void on_k609_clicked();
  void on_k643_clicked();
  void on_k652_clicked();
  void on_k658_clicked();
  void triggerDisplay();
  void on_displayResult_itemClicked(QListWidgetItem* item);
  void on_displayResult_currentRowChanged(int currentRow);
  void on_displayResult_itemActivated(QListWidgetItem* item);
  void on_phoneticMode_toggled(bool checked);
  void on_captionMode_toggled(bool checked);
  void on_inputPhonetic_returnPressed();
  void on_aboutLink_clicked();
  void on_helpLink_clicked();
  void on_feedbackLink_clicked();
  void on_slogan_linkActivated(const QString& link);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void connectResultList();
  void showSampleRows();
  void searchAndRefill(const QString& text, int limitMode);
  // A search by spelling over the headwords in memory, on the worker: false when they cannot
  // be had (the search then runs here).
  bool startSpellingSearch(const QString& text, int limitMode, const QElapsedTimer& elapsed);
  void showOutcome(SearchOutcome outcome, bool spelling);
  void showEntry(const QListWidgetItem* item);
  void typeSymbol(char16_t codePoint);

  Ui_MainWindow* ui;
  PhoneticDictionary dictionary;
  LearnerSearch learnerSearch;
  EmptyListNotice* emptyListNotice;
  QString pendingText;
  int searchMode;
  SpellingSearchWorker* spellingWorker;
  // Counts the searches: only the latest one's list is shown.
  quint64 searchNumber = 0;
  // "Searching" at the foot of the list while a search on the worker takes a while.
  QLabel* searchingNotice;
  QTimer* searchingDelay;
};
