#include "engine/ipa_symbols.h"

namespace quorvi::ipa {

char32_t storedSymbol(char32_t c) {
  switch (c) {
    // Symbols of other scripts that look like phonetic ones, which input methods' symbol
    // panels offer (Greek, Cyrillic, mathematics) and learners pick for them.
    case U'\u04D8':  // Cyrillic Ә ә
    case U'\u04D9':
    case U'\u01DD':  // turned e ǝ
      return U'ə';
    case U'\u03B5':  // Greek ε
      return U'ɛ';
    case U'\u03B1':  // Greek α
      return U'ɑ';
    case U'\u222B':  // integral sign ∫
      return U'ʃ';
    case U'\u03B7':  // Greek η
      return U'ŋ';
    case U'\u2227':  // logical and ∧
    case U'\u039B':  // Greek Λ
      return U'ʌ';
    // Today's British vowels in the older symbols (their length is written apart: ɜː əː).
    case U'ɪ':
    case U'ᵻ':  // ɪ or ə
    case U'ɨ':
      return U'i';
    case U'ʊ':
    case U'ᵿ':  // ʊ or ə
    case U'ʉ':  // the fronted u of today's southern British
      return U'u';
    case U'ɒ':
      return U'ɔ';
    case U'ɜ':
    case U'ɚ':
    case U'ɵ':
      return U'ə';
    case U'ɐ':  // the strut vowel of today's transcriptions (cut kɐt)
      return U'ʌ';
    // American and British narrow forms of t: the tap of butter ˈbʌɾɚ, the glottal stop of
    // button ˈbʌʔn̩.
    case U'ɾ':
    case U'ʔ':
      return U't';
    case U'ɹ':
    case U'ʁ':
    case U'ɻ':
    case U'ɺ':
      return U'r';
    case U'ɫ':
    case U'ɬ':  // of Welsh names
      return U'l';
    case U'ʍ':  // of which
    case U'ɥ':
      return U'w';
    // Other languages' sounds, as an English speaker says them.
    case U'χ':
      return U'k';
    case U'ç':
    case U'ɦ':
    case U'ħ':
      return U'h';
    case U'ɟ':
    case U'ɣ':
      return U'ɡ';
    case U'β':
      return U'b';
    case U'ɸ':
      return U'f';
    case U'ʋ':
      return U'v';
    case U'ʝ':
      return U'j';
    case U'ɱ':
      return U'm';
    case U'ɳ':
    case U'ɴ':
      return U'n';
    case U'ʂ':
    case U'ɕ':
      return U'ʃ';
    case U'ʐ':
    case U'ʑ':
      return U'ʒ';
    case U'ɯ':
      return U'u';
    case U'ɘ':
    case U'ɤ':
      return U'ə';
    default:
      return c;
  }
}

}  // namespace quorvi::ipa
