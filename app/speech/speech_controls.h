#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "speech/speech_synthesiser.h"

class QPushButton;
class SpeechPlayer;
class Ui_MainWindow;
class Ui_SpeechBar;

// Hearing words: a button and Ctrl+Space pronounce the picked headword, a button and
// Ctrl+Shift+Space speak the typed transcription as written, so that a learner can compare
// it with the sound of each candidate. A line under the modes says what could not be
// spoken, and, once, that there is no audio device. The buttons and the line are the form
// speech_bar.ui, over the entry pane. The synthesiser is set up on a background thread
// behind the window's once the window is up, and made on first use.
class SpeechControls : public QObject {
  Q_OBJECT

 public:
  SpeechControls(Ui_MainWindow& form, QWidget* window);
  ~SpeechControls() override;

  // The samples of the latest speech, played or not.
  const std::vector<std::int16_t>& lastClip() const { return lastClip_; }
  // Why the latest speech could not be heard (no sound made, no audio device); empty when it
  // was played.
  const QString& lastProblem() const { return lastProblem_; }
  // The two buttons in reading order: speak the typed text, say the word.
  std::pair<QPushButton*, QPushButton*> buttons() const;

 public slots:
  void speakHeadword(const QString& headword);
  void speakTranscription(const QString& transcription);
  // What the learner typed, read as the search by sound reads it, then spoken.
  void speakTyped(const QString& typed);
  void speakPickedWord();
  void speakTypedText();

  // The word Say speaks: the picked row's, else the first listed; empty when none is listed.
  QString currentWord() const;

 private:
  void nameCurrentWord();
  void loadSpeechBar();
  void play(std::vector<std::int16_t> clip);
  void say(const QString& message);
  quorvi::speech::SpeechSynthesiser& synthesiser();

  Ui_MainWindow& form_;
  std::unique_ptr<Ui_SpeechBar> bar_;
  SpeechPlayer* player_ = nullptr;
  // espeak-ng being set up on a background thread once the window's event loop runs.
  std::future<void> preparing_;
  std::unique_ptr<quorvi::speech::SpeechSynthesiser> synthesiser_;
  std::vector<std::int16_t> lastClip_;
  bool noDeviceSaid_ = false;
  QString lastProblem_;
};
