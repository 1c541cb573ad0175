#pragma once

// A transcription in the dictionary's notation (as typed into the window, or as an entry
// shows it) turned into espeak-ng's phoneme codes, so that it can be heard as written.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvi::speech {

struct PhonemeInput {
  std::string codes;          // espeak-ng's phoneme codes, for input between [[ and ]]
  std::u16string unreadable;  // the first character that is no sound or mark; empty when all read
  std::size_t position = 0;   // its index in the transcription (UTF-16 units)

  bool readable() const { return unreadable.empty() && !codes.empty(); }
};

// Reads the transcription from the left, two-symbol sounds (diphthongs, long vowels, tʃ
// and dʒ) before single symbols. The learner's keyboard forms count as the symbols they
// stand for: ':' for ː, g for ɡ, a for ɑ, ' for ˈ. Spaces and hyphens part words.
PhonemeInput toEspeakPhonemes(std::u16string_view transcription);

}  // namespace quorvi::speech
