#include "espeak_transcriber.h"

#include <cctype>

#include <espeak-ng/speak_lib.h>

namespace quorvi::dictbuild {

namespace {

// espeak-ng is set up once per process and left running: terminating it and starting it
// again in the same process hangs in the library.
bool initialiseOnce() {
  static const bool initialised =
      espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) >= 0;
  return initialised;
}

// The voice set last, by any transcriber of the process.
const char* voiceInUse = nullptr;

bool useVoice(const char* voice) {
  if (voiceInUse == voice) return true;
  if (espeak_SetVoiceByName(voice) != EE_OK) return false;
  voiceInUse = voice;
  return true;
}

}  // namespace

EspeakTranscriber::EspeakTranscriber(const char* voice) : voice_(voice) {
  if (!initialiseOnce())
    error_ = "espeak-ng could not be initialised (is espeak-ng-data installed?)";
  else if (!useVoice(voice_))
    error_ = std::string("espeak-ng has no voice ") + voice_;
  ready_ = error_.empty();
}

EspeakTranscriber::~EspeakTranscriber() = default;

std::string EspeakTranscriber::transcribe(std::string_view text) {
  if (!ready_ || !useVoice(voice_)) return {};
  // espeak reads up to a terminating zero; clauses come back one call at a time.
  std::string input(text);
  const void* cursor = input.c_str();
  std::string out;
  int guard = 0;
  while (cursor != nullptr && guard++ < 64) {
    const char* piece = espeak_TextToPhonemes(&cursor, espeakCHARS_UTF8, espeakPHONEMES_IPA);
    if (piece == nullptr) break;
    if (*piece == '\0') continue;
    if (!out.empty()) out.push_back(' ');
    out += piece;
  }
  return out;
}

std::string withHyphensAsWordBreaks(std::string_view caption) {
  std::string out(caption);
  const auto isLetter = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '\'' ||
           static_cast<unsigned char>(c) >= 0x80;
  };
  // A letter said as a letter keeps its hyphen: "A line" would be read with the article.
  const auto singleLetter = [&out](size_t from, size_t to) {
    return to - from == 1 && std::isalpha(static_cast<unsigned char>(out[from]));
  };
  size_t partStart = 0;
  for (size_t i = 1; i + 1 < out.size(); ++i) {
    if (out[i] == ' ') partStart = i + 1;
    if (out[i] != '-' || !isLetter(out[i - 1]) || !isLetter(out[i + 1])) continue;
    size_t nextEnd = out.find_first_of("- ", i + 1);
    if (nextEnd == std::string::npos) nextEnd = out.size();
    if (!singleLetter(partStart, i) && !singleLetter(i + 1, nextEnd)) out[i] = ' ';
    partStart = i + 1;
  }
  return out;
}

}  // namespace quorvi::dictbuild
