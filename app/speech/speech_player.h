#pragma once

#include <QObject>

#include <cstdint>
#include <vector>

class QAudioSink;

// Plays 16-bit mono samples on the default audio output through Qt Multimedia. A new
// clip stops the one playing.
//
// A QAudioSink runs the event loop while it is destroyed, and that loop may delete whatever
// widget's handler asked for the sound: a context menu that deletes itself as it closes, a
// window being torn down. So a sink is only ever stopped here, and destroyed from the event
// loop (deleteLater), never inside a caller.
class SpeechPlayer : public QObject {
  Q_OBJECT

 public:
  explicit SpeechPlayer(QObject* parent = nullptr);
  ~SpeechPlayer() override;

  // False when there is no audio output that takes the samples; nothing plays then.
  bool play(const std::vector<std::int16_t>& samples, int sampleRate);

  // For the end of the program, once the players are gone: destroys the sinks still waiting
  // for the event loop, then gives the audio server's last answers to them 200 ms to come in.
  // Qt 6.4's PulseAudio connection is torn down at exit without the lock of the thread that
  // reads those answers, and aborts when one arrives meanwhile.
  static void finishBeforeExit();

 private:
  void stop();

  // Playing, or done and idle; it owns the buffer it reads.
  QAudioSink* sink_ = nullptr;
};
