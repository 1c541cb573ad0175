#pragma once
// Turns a transcription in any of the IPA flavours we meet (espeak-ng's narrow RP output,
// imported dictionaries with ASCII stress and length marks) into the textbook symbol set
// that learners type and the search reads: i for ɪ, u for ʊ, ɔ for ɒ, əu, ɛə, əː, r, ɡ ...
// with stress marks at the start of the stressed syllable, never inside a pair a learner
// types as one (a glide, tʃ, dʒ, tr, dr), one primary mark per word, -s and -ed endings voiced like
// the sound before them, and no spaces.
#include <string>
#include <string_view>

namespace quorvi::dictbuild {

struct NormalisedTranscription {
  std::u16string symbols;  // typed-symbol alphabet, e.g. u"igˈzɑːmpəl"; empty on failure
  std::string error;       // why the input could not be read; empty on success
  bool ok() const { return error.empty(); }
};

NormalisedTranscription normaliseTranscription(std::string_view utf8Ipa);

}  // namespace quorvi::dictbuild
