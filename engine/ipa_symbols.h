// The one table from IPA to the stored notation's symbols: the symbols of today's IPA, of
// narrow transcription and of other languages' sounds, and the look-alikes input methods offer
// for them, each with the symbol the stored notation writes for it (ɪ i, ʊ u, ɒ ɔ, ɹ r, ɐ ʌ,
// ɾ t ...). The learner's input (engine/learner_input.h), the dictionary builder's reading of
// espeak-ng's and imported transcriptions, and the speech of typed text read through it, so
// they read every such symbol alike.
#pragma once

namespace quorvi::ipa {

// The stored notation's symbol for `c`; `c` itself when the table does not hold it (a symbol
// of the notation, an ASCII letter, or no sound).
char32_t storedSymbol(char32_t c);

}  // namespace quorvi::ipa
