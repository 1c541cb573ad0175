#include "speech_preparation.h"

#include "engine/background_thread_priority.h"
#include "speech/speech_synthesiser.h"

std::future<void> prepareSpeechInBackground() {
  return std::async(std::launch::async, [] {
    runBehindTheWindowsThread();
    quorvi::speech::SpeechSynthesiser::prepare();
  });
}
