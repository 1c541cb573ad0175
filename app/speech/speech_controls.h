#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "app/common/speaker.h"
#include "speech/speech_synthesiser.h"

class PhoneticDictionary;
class QMenu;
class QPushButton;
class SpeechPlayer;
class Ui_SpeechBar;
class WindowState;

// Hearing words: Say in the British voice (英, Ctrl+Space) and in the American one (美,
// Ctrl+Alt+Space) pronounce the current word, whose name the buttons' tooltips and the status
// line give; Hear it (听输入) and Ctrl+Shift+Space speak the typed transcription as written, so
// that a learner can compare it with the sound of each candidate. The status line says what could not be spoken and, once, that there is no audio
// device. The menus on a word offer to pronounce it and each of its transcriptions. The two
// buttons are the form speech_bar.ui, put in the area the window gives them. The synthesiser
// is set up on a background thread behind the window's once the window is up, and made on
// first use.
class SpeechControls : public QObject, public Speaker {
  Q_OBJECT

 public:
  SpeechControls(QWidget* area, WindowState& state, PhoneticDictionary& dictionary,
                 QWidget* window);
  ~SpeechControls() override;

  // The samples of the latest speech, played or not.
  const std::vector<std::int16_t>& lastClip() const { return lastClip_; }
  // Why the latest speech could not be heard (no sound made, no audio device); empty when it
  // was played.
  QString lastProblem() const override { return lastProblem_; }
  // The buttons in reading order: speak the typed text, say the word (British, American).
  std::vector<QPushButton*> buttons() const;

  void speakHeadword(const QString& headword,
                     quorvi::speech::Voice voice = quorvi::speech::Voice::kBritish) override;
  void speakTranscription(const QString& transcription,
                          quorvi::speech::Voice voice = quorvi::speech::Voice::kBritish);
  // What the learner typed, read as the search by sound reads it, then spoken.
  void speakTyped(const QString& typed) override;
  // Say: the current word.
  void speakCurrentWord(quorvi::speech::Voice voice = quorvi::speech::Voice::kBritish);
  void speakTypedText();

 signals:
  // Something was made to be heard: a word, or a transcription as written.
  void spoken(const QString& text);

 private:
  void nameCurrentWord();
  void addMenuEntries(QMenu* menu, const QString& word);
  void play(std::vector<std::int16_t> clip);
  void say(const QString& message);
  quorvi::speech::SpeechSynthesiser& synthesiser();

  WindowState& state_;
  PhoneticDictionary& dictionary_;
  std::unique_ptr<Ui_SpeechBar> bar_;
  SpeechPlayer* player_ = nullptr;
  // espeak-ng being set up on a background thread once the window's event loop runs.
  std::future<void> preparing_;
  std::unique_ptr<quorvi::speech::SpeechSynthesiser> synthesiser_;
  std::vector<std::int16_t> lastClip_;
  bool noDeviceSaid_ = false;
  QString lastProblem_;
};
