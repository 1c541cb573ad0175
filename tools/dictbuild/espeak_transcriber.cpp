#include "espeak_transcriber.h"

#include <espeak-ng/speak_lib.h>

namespace quorvi::dictbuild {

EspeakTranscriber::EspeakTranscriber() {
    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) < 0) {
        error_ = "espeak-ng could not be initialised (is espeak-ng-data installed?)";
        return;
    }
    if (espeak_SetVoiceByName(kVoice) != EE_OK) {
        error_ = std::string("espeak-ng has no voice ") + kVoice;
        return;
    }
    ready_ = true;
}

EspeakTranscriber::~EspeakTranscriber() {
    if (ready_) espeak_Terminate();
}

std::string EspeakTranscriber::transcribe(std::string_view text) {
    if (!ready_) return {};
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

}  // namespace quorvi::dictbuild
