#include "speech/speech_synthesiser.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>

namespace quorvi::speech {

namespace {

struct Setup {
  int sampleRate = 0;
  std::string error;
};

// The buffer of the synthesis running now. espeak_Synth calls back before it returns, and
// not every call carries an event with the caller's data, so the buffer is named here.
thread_local std::vector<std::int16_t>* currentBuffer = nullptr;

int collectSamples(short* samples, int count, espeak_EVENT*) {
  if (currentBuffer != nullptr && samples != nullptr && count > 0) {
    currentBuffer->insert(currentBuffer->end(), samples, samples + count);
  }
  return 0;  // go on synthesising
}

// espeak-ng is set up once per process and left running: terminating it and starting it
// again in the same process hangs in the library.
const Setup& setUpOnce() {
  static const Setup setup = [] {
    Setup result;
    result.sampleRate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (result.sampleRate <= 0) {
      result.error = "espeak-ng could not be initialised (is espeak-ng-data installed?)";
    } else if (espeak_SetVoiceByName(SpeechSynthesiser::kVoice) != EE_OK) {
      result.error = std::string("espeak-ng has no voice ") + SpeechSynthesiser::kVoice;
    }
    espeak_SetSynthCallback(collectSamples);
    return result;
  }();
  return setup;
}

}  // namespace

void SpeechSynthesiser::prepare() {
  setUpOnce();
}

SpeechSynthesiser::SpeechSynthesiser() {
  const Setup& setup = setUpOnce();
  sampleRate_ = setup.sampleRate;
  error_ = setup.error;
}

std::vector<std::int16_t> SpeechSynthesiser::synthesise(const std::string& text, unsigned flags,
                                                        Voice voice) {
  std::vector<std::int16_t> samples;
  if (!ready() || text.empty()) return samples;
  // The voice is set again each time: the dictionary builder in the same process may
  // have used the library with its own settings.
  if (espeak_SetVoiceByName(voice == Voice::kAmerican ? kAmericanVoice : kVoice) != EE_OK)
    return samples;
  espeak_SetSynthCallback(collectSamples);
  currentBuffer = &samples;
  const espeak_ERROR result = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                           espeakCHARS_UTF8 | flags, nullptr, nullptr);
  currentBuffer = nullptr;
  if (result != EE_OK) samples.clear();
  return samples;
}

std::vector<std::int16_t> SpeechSynthesiser::speakText(std::string_view utf8, Voice voice) {
  return synthesise(std::string(utf8), 0, voice);
}

std::vector<std::int16_t> SpeechSynthesiser::speakPhonemes(std::string_view codes, Voice voice) {
  // Only the codes the phoneme reader writes may stand between the brackets.
  const bool safe = std::all_of(codes.begin(), codes.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '@' ||
           c == ':' || c == '\'' || c == ',' || c == ' ';
  });
  if (!safe) return {};
  return synthesise("[[" + std::string(codes) + "]]", espeakPHONEMES, voice);
}

}  // namespace quorvi::speech
