#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <vector>

class QAudioSink;

// Plays 16-bit mono samples on the default audio output through Qt Multimedia. A new
// clip stops the one playing.
class SpeechPlayer : public QObject {
  Q_OBJECT

 public:
  explicit SpeechPlayer(QObject* parent = nullptr);
  ~SpeechPlayer() override;

  // False when there is no audio output that takes the samples; nothing plays then.
  bool play(const std::vector<std::int16_t>& samples, int sampleRate);

 private:
  void stop();

  QAudioSink* sink_ = nullptr;
  QByteArray data_;
  QBuffer buffer_;
};
