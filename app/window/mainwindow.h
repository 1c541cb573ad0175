#pragma once

#include <QMainWindow>
#include <QString>

#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

class EntryPane;
class LearnerWords;
class QListWidgetItem;
class ResultList;
class SpeechControls;
class Ui_MainWindow;
class WindowState;

// The finder's one window: a phonetic input with its symbol keyboard, the list of matching
// headwords and the entry pane of the current word.
//
// A thin shell: it holds the form, the dictionary and the slots the form connects by name,
// and hands the work to its features, each owning its widgets and connections and talking
// to the others only through the window's state (app/common/window_state.h): the result list
// (app/results), the entry pane and window (app/entry), speech (app/speech), history, my
// words and the drill (app/learner). The help and about pages (app/pages) and the start-up
// (app/startup) are functions it calls.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

 public slots:
  void displaySlot(QString text);
  void lazyLoad(QString text);

 private slots:
  // The symbol keys type their symbols.
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
  // A pick in the list shows its word; a double-click or Return chooses it.
  void on_displayResult_itemClicked(QListWidgetItem* item);
  void on_displayResult_currentRowChanged(int currentRow);
  void on_displayResult_itemActivated(QListWidgetItem* item);
  void on_phoneticMode_toggled(bool checked);
  void on_captionMode_toggled(bool checked);
  void on_inputPhonetic_returnPressed();
  // The links open the vendor's pages, or the window's own.
  void on_aboutLink_clicked();
  void on_helpLink_clicked();
  void on_feedbackLink_clicked();
  void on_slogan_linkActivated(const QString& link);

 private:
  void connectResultList();
  void typeSymbol(char16_t codePoint);

  Ui_MainWindow* ui;
  PhoneticDictionary dictionary;
  QString pendingText;
  int searchMode;
  LearnerSearch learnerSearch;
  WindowState* state;
  EntryPane* entry = nullptr;
  ResultList* results = nullptr;
  SpeechControls* speech = nullptr;
  LearnerWords* learner = nullptr;
};
