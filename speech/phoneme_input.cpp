#include "speech/phoneme_input.h"

#include <array>

#include "engine/ipa_symbols.h"

namespace quorvi::speech {

namespace {

struct Sound {
  std::u16string_view written;
  std::string_view codes;
};

// Two-symbol sounds, tried first. The notation writes the short i and u as i and u, the
// diphthongs with i or u, and a length with ː or the keyboard's ':'; today's IPA (ɪ, ʊ, ɒ, ɜ ...)
// is read in those symbols first (engine/ipa_symbols.h).
constexpr std::array kPairs = {
    Sound{u"ei", "eI"},           Sound{u"ai", "aI"},      Sound{u"\u0254i", "OI"},
    Sound{u"\u0259u", "oU"},      Sound{u"au", "aU"},      Sound{u"i\u0259", "i@"},
    Sound{u"\u025B\u0259", "e@"}, Sound{u"e\u0259", "e@"}, Sound{u"u\u0259", "U@"},
    Sound{u"t\u0283", "tS"},      Sound{u"d\u0292", "dZ"}, Sound{u"\u0251\u02D0", "A:"},
    Sound{u"\u0251:", "A:"},      Sound{u"a\u02D0", "A:"}, Sound{u"a:", "A:"},
    Sound{u"\u0254\u02D0", "O:"}, Sound{u"\u0254:", "O:"}, Sound{u"i\u02D0", "i:"},
    Sound{u"i:", "i:"},           Sound{u"u\u02D0", "u:"}, Sound{u"u:", "u:"},
    Sound{u"\u0259\u02D0", "3:"}, Sound{u"\u0259:", "3:"},
};

constexpr std::array kSingles = {
    // vowels
    Sound{u"i", "I"},
    Sound{u"u", "U"},
    Sound{u"e", "E"},
    Sound{u"\u025B", "E"},
    Sound{u"\u00E6", "a"},
    Sound{u"\u028C", "V"},
    Sound{u"\u0254", "0"},
    Sound{u"o", "0"},
    Sound{u"\u0259", "@"},
    Sound{u"\u0251", "A:"},
    Sound{u"a", "A:"},
    // consonants
    Sound{u"p", "p"},
    Sound{u"b", "b"},
    Sound{u"t", "t"},
    Sound{u"d", "d"},
    Sound{u"k", "k"},
    Sound{u"g", "g"},
    Sound{u"\u0261", "g"},
    Sound{u"f", "f"},
    Sound{u"v", "v"},
    Sound{u"s", "s"},
    Sound{u"z", "z"},
    Sound{u"\u03B8", "T"},
    Sound{u"\u00F0", "D"},
    Sound{u"\u0283", "S"},
    Sound{u"\u0292", "Z"},
    Sound{u"m", "m"},
    Sound{u"n", "n"},
    Sound{u"\u014B", "N"},
    Sound{u"h", "h"},
    Sound{u"l", "l"},
    Sound{u"r", "r"},
    Sound{u"w", "w"},
    Sound{u"j", "j"},
    // stress, a length after a sound that has no long form, word breaks
    Sound{u"\u02C8", "'"},
    Sound{u"'", "'"},
    Sound{u"\u02CC", ","},
    Sound{u"\u02D0", ""},
    Sound{u":", ""},
    Sound{u" ", " "},
    Sound{u"-", " "},
};

template <typename Table>
const Sound* soundAt(const Table& table, std::u16string_view rest) {
  for (const Sound& sound : table)
    if (rest.starts_with(sound.written)) return &sound;
  return nullptr;
}

}  // namespace

PhonemeInput toEspeakPhonemes(std::u16string_view transcription) {
  PhonemeInput input;
  // Read in the notation's symbols, one for one, so that positions stay those of the text.
  std::u16string symbols(transcription);
  for (char16_t& c : symbols)
    if (c < 0xD800 || c >= 0xE000) c = static_cast<char16_t>(ipa::storedSymbol(c));
  for (std::size_t i = 0; i < symbols.size();) {
    const std::u16string_view rest = std::u16string_view(symbols).substr(i);
    const Sound* sound = soundAt(kPairs, rest);
    if (sound == nullptr) sound = soundAt(kSingles, rest);
    if (sound == nullptr) {
      // A character outside the basic plane is named whole, both its halves.
      const bool pair = rest.size() > 1 && rest[0] >= 0xD800 && rest[0] < 0xDC00;
      input.unreadable = transcription.substr(i, pair ? 2 : 1);
      input.position = i;
      return input;
    }
    input.codes += sound->codes;
    i += sound->written.size();
  }
  return input;
}

}  // namespace quorvi::speech
