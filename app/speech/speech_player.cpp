#include "app/speech/speech_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QMediaDevices>

#include <chrono>
#include <optional>
#include <thread>

namespace {

// When the last sink was destroyed, if one was (the event loop's thread only).
std::optional<std::chrono::steady_clock::time_point> lastSinkGone;

// Silences `sink` at once and leaves its destruction, with its buffer, to the event loop.
void retire(QAudioSink* sink) {
  sink->stop();
  sink->deleteLater();
}

}  // namespace

void SpeechPlayer::finishBeforeExit() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (lastSinkGone) std::this_thread::sleep_until(*lastSinkGone + std::chrono::milliseconds(200));
}

SpeechPlayer::SpeechPlayer(QObject* parent) : QObject(parent) {}

// The sink has no parent: it must not go down inline with the player, whose owner may be
// in the middle of its own destruction.
SpeechPlayer::~SpeechPlayer() {
  stop();
}

void SpeechPlayer::stop() {
  if (sink_ == nullptr) return;
  retire(sink_);
  sink_ = nullptr;
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
  auto* sink = new QAudioSink(device, format);
  connect(sink, &QObject::destroyed, [] { lastSinkGone = std::chrono::steady_clock::now(); });
  auto* buffer = new QBuffer(sink);
  buffer->setData(reinterpret_cast<const char*>(samples.data()),
                  static_cast<qsizetype>(samples.size() * sizeof(std::int16_t)));
  buffer->open(QIODevice::ReadOnly);
  sink->start(buffer);
  if (sink->error() != QAudio::NoError) {
    retire(sink);
    return false;
  }
  sink_ = sink;
  return true;
}
