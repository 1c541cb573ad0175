#pragma once

// Speech synthesised in process with the espeak-ng library (its British RP voice or its
// American one) into a buffer of 16-bit mono samples, for the window to play or a test to inspect. The library keeps
// global state: it is set up once per process (on any thread, see prepare) and used from
// one thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::speech {

enum class Voice { kBritish, kAmerican };

class SpeechSynthesiser {
 public:
  SpeechSynthesiser();
  SpeechSynthesiser(const SpeechSynthesiser&) = delete;
  SpeechSynthesiser& operator=(const SpeechSynthesiser&) = delete;

  // Sets the library up as the first synthesiser would (loading its phoneme data and the
  // voice takes several milliseconds), so that another thread can do it ahead of the first
  // speech. A synthesiser made meanwhile waits for it and then speaks as usual.
  static void prepare();

  bool ready() const { return error_.empty(); }
  // Why the synthesiser cannot speak; empty when it can.
  const std::string& error() const { return error_; }
  int sampleRate() const { return sampleRate_; }

  // The UTF-8 text read aloud as English words; any [[ in it is read as text too.
  std::vector<std::int16_t> speakText(std::string_view utf8, Voice voice = Voice::kBritish);
  // espeak-ng phoneme codes (see phoneme_input.h) spoken as they are.
  std::vector<std::int16_t> speakPhonemes(std::string_view codes, Voice voice = Voice::kBritish);

  static constexpr const char* kVoice = "en-gb-x-rp";
  static constexpr const char* kAmericanVoice = "en-us";

 private:
  std::vector<std::int16_t> synthesise(const std::string& text, unsigned flags, Voice voice);

  int sampleRate_ = 0;
  std::string error_;
};

}  // namespace quorvi::speech
