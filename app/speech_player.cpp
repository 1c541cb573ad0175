#include "speech_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

SpeechPlayer::SpeechPlayer(QObject* parent) : QObject(parent) {}

SpeechPlayer::~SpeechPlayer() {
  stop();
}

void SpeechPlayer::stop() {
  if (sink_ != nullptr) {
    sink_->stop();
    delete sink_;
    sink_ = nullptr;
  }
  buffer_.close();
}

bool SpeechPlayer::play(const std::vector<std::int16_t>& samples, int sampleRate) {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return false;
  QAudioFormat format;
  format.setSampleRate(sampleRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) return false;

  stop();
  data_ = QByteArray(reinterpret_cast<const char*>(samples.data()),
                     static_cast<qsizetype>(samples.size() * sizeof(std::int16_t)));
  buffer_.setData(data_);
  buffer_.open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(device, format);
  sink_->start(&buffer_);
  return sink_->error() == QAudio::NoError;
}
