#pragma once

#include <QMainWindow>
#include <QElapsedTimer>
#include <QString>

#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

class ContextMenus;
class EmptyListNotice;
class LearnerWords;
class QLabel;
class QListWidgetItem;
class QTimer;
class SpeechControls;
class SpellingSearchWorker;
class Ui_MainWindow;

// The finder's one window: a phonetic input with its symbol keyboard, the list
// of matching headwords and the entry pane of the picked headword.
//
// The constructor is a list of set-up steps, each defined in the folder of its feature
// (app/window, app/results, app/speech, app/pages, app/startup, app/learner): a new feature
// adds its step there and one call to the list.
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
  // The symbol keys type their symbols (window/symbol_keys.cpp).
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
  // Typing, Return and the modes (window/mainwindow.cpp).
  void triggerDisplay();
  void on_phoneticMode_toggled(bool checked);
  void on_captionMode_toggled(bool checked);
  void on_inputPhonetic_returnPressed();
  // Picking a row (results/result_list.cpp).
  void on_displayResult_itemClicked(QListWidgetItem* item);
  void on_displayResult_currentRowChanged(int currentRow);
  void on_displayResult_itemActivated(QListWidgetItem* item);
  // The links (pages/page_links.cpp).
  void on_aboutLink_clicked();
  void on_helpLink_clicked();
  void on_feedbackLink_clicked();
  void on_slogan_linkActivated(const QString& link);

 protected:
  // Down into the list, Escape back to the input (window/focus_order.cpp).
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The set-up steps, in the constructor's order.
  // Image plugins and the search rows read on other threads (startup/warm_up.cpp).
  void startWarmUps();
  // The Designer form (window/mainwindow.cpp).
  void setUpForm();
  // The focus-free style, the caption buttons, the usage text's fit, the entry pane's
  // border (window/window_style.cpp).
  void setUpStyle();
  // The result list's notices and its sample rows (results/result_list.cpp).
  void setUpResultList();
  // Each change of the typed text searches, a moment later (window/mainwindow.cpp).
  void setUpSearchOnTyping();
  // The entry pane says where the dictionary was looked for (startup/dictionary_notice.cpp).
  void setUpDictionaryNotice();
  // The symbol keys' tooltips (window/symbol_keys.cpp).
  void setUpSymbolKeys();
  // Right-click menus on the list and the entry pane (results/context_menus.cpp).
  void setUpMenus();
  // The speech bar (its form speech/speech_bar.ui) and its shortcuts
  // (speech/speech_controls.cpp).
  void setUpSpeech();
  // History, my words and the listening drill (learner/learner_words.cpp).
  void setUpLearnerWords();
  // Which widgets take the focus, Tab's order, the keys that move between input and list,
  // and the focus to start with (window/focus_order.cpp).
  void setUpFocusOrder();

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
  ContextMenus* menus = nullptr;
  SpeechControls* speech = nullptr;
  LearnerWords* learner = nullptr;
  QString pendingText;
  int searchMode;
  SpellingSearchWorker* spellingWorker;
  // Counts the searches: only the latest one's list is shown.
  quint64 searchNumber = 0;
  // "Searching" at the foot of the list while a search on the worker takes a while.
  QLabel* searchingNotice;
  QTimer* searchingDelay;
};
