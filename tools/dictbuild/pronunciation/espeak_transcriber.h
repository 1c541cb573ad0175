#pragma once
// Transcribes English text with the espeak-ng library (British RP voice), in process.
// The library keeps global state: it is set up once per process, used from one thread.
#include <string>
#include <string_view>

namespace quorvi::dictbuild {

class EspeakTranscriber {
 public:
  EspeakTranscriber();
  ~EspeakTranscriber();
  EspeakTranscriber(const EspeakTranscriber&) = delete;
  EspeakTranscriber& operator=(const EspeakTranscriber&) = delete;

  bool ready() const { return ready_; }
  const std::string& error() const { return error_; }
  // IPA as espeak writes it, the clauses of the text joined by spaces; empty on failure.
  std::string transcribe(std::string_view text);

  static constexpr const char* kVoice = "en-gb-x-rp";

 private:
  bool ready_ = false;
  std::string error_;
};

// The text espeak-ng is given for a headword: a hyphen between two words is a word break, so
// that each part is said as its own word and its stress falls at its start ("hands-on" as
// "hands on", not "hand-zon"); a hyphen at either end (the prefix "ex-") stays.
std::string withHyphensAsWordBreaks(std::string_view caption);

}  // namespace quorvi::dictbuild
