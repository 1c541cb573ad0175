#pragma once
// Transcribes English text with the espeak-ng library (the British RP voice, or another),
// in process. The library keeps global state: it is set up once per process, used from one
// thread, and each transcriber sets its voice when another was used since.
#include <string>
#include <string_view>

namespace quorvi::dictbuild {

class EspeakTranscriber {
 public:
  explicit EspeakTranscriber(const char* voice = kVoice);
  ~EspeakTranscriber();
  EspeakTranscriber(const EspeakTranscriber&) = delete;
  EspeakTranscriber& operator=(const EspeakTranscriber&) = delete;

  bool ready() const { return ready_; }
  const std::string& error() const { return error_; }
  // IPA as espeak writes it, the clauses of the text joined by spaces; empty on failure.
  std::string transcribe(std::string_view text);

  static constexpr const char* kVoice = "en-gb-x-rp";
  static constexpr const char* kAmericanVoice = "en-us";

 private:
  const char* voice_;
  bool ready_ = false;
  std::string error_;
};

// The text espeak-ng is given for a headword: a hyphen between two words is a word break, so
// that each part is said as its own word and its stress falls at its start ("hands-on" as
// "hands on", not "hand-zon"); a hyphen at either end (the prefix "ex-") stays.
std::string withHyphensAsWordBreaks(std::string_view caption);

}  // namespace quorvi::dictbuild
