#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <random>
#include <vector>

#include "engine/aligned_sounds.h"
#include "speech/speech_synthesiser.h"

class LearnerWords;
class QComboBox;
class Speaker;
class WindowState;
class QLabel;
class QPushButton;

// "Listen and find": the window says a word from the chosen source (my words, the most heard
// words, a learner level) without showing it; the learner types what they heard in the main
// window's input and chooses a word in its list (double-click or Return). The drill then says
// whether it was the word, shows the word's transcription under what was typed sound by sound
// with the differing sounds marked, and keeps the answer: the word's box, its score and the
// sounds heard as others (learner/drill.h); the word then becomes the window's current word, and
// the add button keeps it in my words. Non-modal, beside the main window (never over its input
// and list); Ctrl+R says the word again, Ctrl+N asks the next one, from either window.
class DrillDialog : public QDialog {
  Q_OBJECT

 public:
  DrillDialog(LearnerWords& learner, WindowState& state, Speaker& speaker, QWidget* window);

  // New words are drawn from this seed from now on (tests).
  void setSeed(unsigned seed) { random_.seed(seed); }
  QComboBox* sourceBox() const { return source_; }
  // The voice the words are said in: British or American, as the learner picks.
  QComboBox* voiceBox() const { return voice_; }
  // The word asked now; empty before the first question. Never shown before the answer.
  const QString& askedWord() const { return asked_; }
  bool answered() const { return answered_; }
  // What the latest answer showed: the typed (or chosen) sounds against the word's.
  const std::vector<sound::AlignedSound>& alignment() const { return alignment_; }

 public slots:
  // Asks the next word of the chosen source (once its list is read).
  void nextQuestion();
  // The learner chose `headword` in the main window's list.
  void answer(const QString& headword);
  void sayWordAgain();
  void sayWhatWasTyped();

 private:
  void ask(const QString& word);
  void listReady(const QString& source);
  void showAlignment(const QString& heardLabel);
  void showScores();
  void setStatus(const QString& text);
  // The transcription of the voice picked: the American one when it says the words and the
  // dictionary has one, else the British.
  QString transcriptionOf(const QString& headword);
  quorvi::speech::Voice voice() const;
  void nameAddButton();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  LearnerWords& learner_;
  WindowState& state_;
  Speaker& speaker_;
  QPointer<QWidget> window_;
  QComboBox* source_;
  QComboBox* voice_;
  QLabel* status_;
  QLabel* verdict_;
  QLabel* alignmentView_;
  QLabel* legend_;
  QLabel* score_;
  QLabel* confusions_;
  QPushButton* repeat_;
  QPushButton* hearTyped_;
  QPushButton* next_;
  QPushButton* add_;
  bool placed_ = false;

  std::mt19937 random_;
  QString asked_;
  bool answered_ = false;
  // A question waits for its source's list to be read.
  bool waitingForList_ = false;
  QString heard_;  // what "hear what I typed" says: the typed or the chosen transcription
  std::vector<sound::AlignedSound> alignment_;
  int sessionAsked_ = 0;
  int sessionRight_ = 0;
};
