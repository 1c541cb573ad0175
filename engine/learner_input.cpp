#include "engine/learner_input.h"

#include <algorithm>

#include <vector>

#include "engine/ipa_symbols.h"
#include "engine/dictionary_engine.h"
#include "engine/unicode_text.h"

namespace {

// Stands between two symbols that are two sounds, not the glide or affricate the two may
// write (the other reading's KK o ɪ); written into the symbols as a stress mark, which parts
// them and says nothing else.
constexpr char32_t kPartsSounds = U'\u200B';

// One character of what was typed, as a code point, with its 1-based position.
struct Typed {
  char32_t c;
  int position;
  char32_t typed;  // the character as typed
};

// A Chinese input method in its full-width mode types the forms of U+FF01..U+FF5E for ASCII
// (：for the length mark, ［］ and （）): read as the ASCII they stand for.
char32_t halfWidth(char32_t c) {
  return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c;
}

std::vector<Typed> codePoints(std::u16string_view text) {
  std::vector<Typed> out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back({halfWidth(c), static_cast<int>(out.size()) + 1, c});
  }
  return out;
}

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\u00A0' || c == U'\u3000';
}

// Primary stress as written in other ways: an apostrophe, an acute accent, the rising tone
// mark of a Chinese input method (ˊ), a backtick.
bool isPrimaryStressLike(char32_t c) {
  return c == U'\u02C8' || c == U'\'' || c == U'\u2019' || c == U'\u02BC' || c == U'\u02CA' ||
         c == U'\u00B4' || c == U'`';
}

// Secondary stress, also as a comma or the falling tone mark (ˋ).
bool isSecondaryStressLike(char32_t c) {
  return c == U'\u02CC' || c == U',' || c == U'\u02CB';
}

// Stress marks, and the marks between syllables ('.' and '-'), which the search leaves aside.
bool isStressMark(char32_t c) {
  return isPrimaryStressLike(c) || isSecondaryStressLike(c) || c == U'\u0301' || c == U'.' ||
         c == U'-';
}

// Marks of narrow transcription that say nothing the search weighs: aspiration ʰ, the
// syllabic and non-syllabic marks (l̩, n̩, ʊ̯), tie bars (t͡ʃ), nasal vowels of French words
// (ɒ̃), the rhotic hook (ɜ˞) and the half-length mark's combining forms.
bool isNarrowMark(char32_t c) {
  return c == U'\u02B0' || c == U'\u0329' || c == U'\u030D' || c == U'\u032F' || c == U'\u0311' ||
         c == U'\u0361' || c == U'\u035C' || c == U'\u0303' || c == U'\u02DE' || c == U'\u0325' ||
         c == U'\u031A' || c == U'\u0308';
}

// Sounds learners' dictionaries print as optional, which the word is often said without:
// a superscript r or ə (ˈwɔːtəʳ, ˈmɒdᵊl), or any sound in parentheses (ˈwɔːtə(r), ˈækʃ(ə)n).
bool isOptionalSound(char32_t c) {
  return c == U'\u02B3' || c == U'\u1D4A' || c == U'\u207F' || c == U'\u02B2';
}

bool isLengthMark(char32_t c) {
  return c == U'\u02D0' || c == U':' || c == U'\u02D1';
}

bool isVowel(char32_t c) {
  return std::u32string_view(U"aeiouæɑɔəɛʌ").find(c) != std::u32string_view::npos;
}

void trimBlanks(std::vector<Typed>& text) {
  while (!text.empty() && isBlank(text.back().c)) text.pop_back();
  const auto first =
      std::find_if(text.begin(), text.end(), [](const Typed& t) { return !isBlank(t.c); });
  text.erase(text.begin(), first);
}

// Drops blanks at either end and one pair of surrounding brackets or slashes (either half
// may be missing while the learner is still typing).
void trimFrame(std::vector<Typed>& text) {
  trimBlanks(text);
  if (!text.empty() && (text.front().c == U'[' || text.front().c == U'/')) text.erase(text.begin());
  if (!text.empty() && (text.back().c == U']' || text.back().c == U'/')) text.pop_back();
  trimBlanks(text);
}

// The stored notation's symbol for a symbol of today's IPA (engine/ipa_symbols.h) or a capital;
// the character itself when it needs no change.
char32_t olderSymbol(char32_t c) {
  return quorvi::engine::lowerCase(quorvi::ipa::storedSymbol(c));
}

// What was typed, read as the stored notation's symbols, each with the place of the character
// it came from: the frame and blanks at either end dropped, full-width forms and look-alikes
// read as what they stand for, today's IPA as the older symbols, ɝ ʧ ʤ as two symbols, optional
// sounds and narrow marks left out, a link between words as a blank. Stress, length and blanks
// stay, for the reader to weigh.
std::vector<Typed> storedSymbols(std::vector<Typed> text) {
  trimFrame(text);
  std::vector<Typed> out;
  out.reserve(text.size() + 4);
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = olderSymbol(text[i].c);
    const auto put = [&](char32_t symbol) { out.push_back({symbol, text[i].position, text[i].c}); };
    if (c == kPartsSounds) {
      put(c);
      continue;
    }
    if (isNarrowMark(c) || isOptionalSound(c) || c == U')') continue;
    if (c == U'(') {  // an optional sound, to its closing parenthesis or the end
      while (i + 1 < text.size() && text[i + 1].c != U')') ++i;
      ++i;
      continue;
    }
    const char32_t next = i + 1 < text.size() ? olderSymbol(text[i + 1].c) : 0;
    // ɛː is how today's British transcriptions write the vowel of care (kɛː): ɛə.
    if (c == U'\u025B' && isLengthMark(next)) {
      put(U'\u025B');
      put(U'\u0259');
      ++i;
      continue;
    }
    // The glides aɪ and aʊ typed with the ɑ key: no English word has ɑ before i or u.
    if (c == U'\u0251' && (next == U'i' || next == U'u')) {
      put(U'a');
      continue;
    }
    switch (c) {
      case U'\u203F':  // a link mark (kæt‿ænd) joins two words
        put(U' ');
        break;
      case U'\u02D1':  // half long
        put(U'\u02D0');
        break;
      case U'\u025D':  // ɝ
        put(U'\u0259');
        put(U'\u02D0');
        break;
      case U'\u02A7':  // ʧ
        put(U't');
        put(U'\u0283');
        break;
      case U'\u02A4':  // ʤ
        put(U'd');
        put(U'\u0292');
        break;
      default:
        put(c);
    }
  }
  return out;
}

}  // namespace

std::u16string learnerTranscription(std::u16string_view typed) {
  std::u16string out;
  for (const Typed& t : storedSymbols(codePoints(typed))) {
    char32_t c = t.c;
    if (c == kPartsSounds) continue;
    if (isPrimaryStressLike(c)) c = U'\u02C8';
    if (isSecondaryStressLike(c)) c = U'\u02CC';
    if (c == U'\u0301' || c == U'.' || c == U'-') continue;
    if (isBlank(c)) c = U' ';
    quorvi::engine::appendUtf16(out, c);
  }
  return out;
}

namespace {

// The text rewritten as the plain-keyboard and KK reading reads it (learner_input.h), before
// the usual reading; each piece keeps the place of the character it came from.
std::vector<Typed> asPlainKeyboardOrKk(const std::vector<Typed>& text) {
  static const struct {
    std::u32string_view typed, sounds;
  } kSpellings[] = {
      {U"sh", U"ʃ"},  {U"ch", U"tʃ"}, {U"th", U"θ"},  {U"zh", U"ʒ"},  {U"ng", U"ŋ"}, {U"ee", U"iː"},
      {U"oo", U"uː"}, {U"ae", U"æ"},  {U"ai", U"aɪ"}, {U"ou", U"aʊ"}, {U"c", U"k"},  {U"q", U"k"},
      {U"x", U"ks"},  {U"y", U"j"},   {U"@", U"ə"},   {U"^", U"ʌ"},   {U"ɚ", U"ər"}, {U"ɝ", U"ɜːr"},
  };
  static const struct {
    char32_t capital;
    char32_t sound;
  } kCapitals[] = {{U'A', U'æ'}, {U'E', U'ə'}, {U'O', U'ɔ'},
                   {U'U', U'ʊ'}, {U'I', U'ɪ'}, {U'V', U'ʌ'}};
  // A text of phonetic symbols may be KK's, whose o is the vowel of go; on a plain keyboard
  // (ASCII alone) o is the vowel of dog.
  const bool symbols = std::any_of(text.begin(), text.end(), [](const Typed& t) {
    return t.c > 0x7F && !isBlank(t.c) && !isStressMark(t.c) && !isLengthMark(t.c);
  });
  // KK writes the vowel of bed ɛ: its e is then the vowel of day.
  const bool eIsEi = std::any_of(text.begin(), text.end(), [&](const Typed& t) {
    const std::size_t at = static_cast<std::size_t>(&t - text.data());
    const char32_t next = at + 1 < text.size() ? text[at + 1].c : 0;
    return t.c == U'ɛ' && next != U'ə' && !isLengthMark(next);
  });
  std::vector<Typed> out;
  for (std::size_t i = 0; i < text.size();) {
    const Typed& t = text[i];
    const auto put = [&](std::u32string_view sounds) {
      for (const char32_t c : sounds) out.push_back({c, t.position, t.typed});
    };
    const char32_t next = i + 1 < text.size() ? text[i + 1].c : 0;
    bool done = false;
    for (const auto& [typed, sounds] : kSpellings) {
      if (typed.size() == 2 && (typed[0] != t.c || typed[1] != next)) continue;
      if (typed.size() == 1 && typed[0] != t.c) continue;
      put(sounds);
      i += typed.size();
      done = true;
      break;
    }
    if (done) continue;
    for (const auto& [capital, sound] : kCapitals)
      if (t.c == capital) {
        put(std::u32string(1, sound));
        done = true;
      }
    if (!done) {
      if (t.c == U'o' && symbols && next != U'u' && next != U'ʊ')
        put(U"oʊ");  // KK's o
      else if (t.c == U'e' && eIsEi && next != U'i' && next != U'ɪ' && next != U'ə')
        put(U"eɪ");
      else if ((t.c == U'i' || t.c == U'ɪ') && next == U'ə')
        out.push_back(t), out.push_back({kPartsSounds, t.position, t.typed});
      else
        out.push_back(t);
    }
    ++i;
  }
  return out;
}

// Reads the stored notation's symbols into `input`; false (the error set) at a character
// that is none.
bool readSymbols(const std::vector<Typed>& text, LearnerInput& input, std::u16string& symbols) {
  const auto& table = DictionaryEngine::symbolMap();
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i].c;
    const char32_t next = i + 1 < text.size() ? text[i + 1].c : 0;
    if (c == kPartsSounds) {
      if (!symbols.empty()) symbols.push_back(u'\u02C8');
      continue;
    }
    if (isStressMark(c)) continue;
    // A blank between words: stored phrases run their words together, so do the symbols.
    if (isBlank(c)) {
      input.severalWords = true;
      continue;
    }
    if (isLengthMark(c)) {
      // A length mark counts after a vowel; anywhere else it says nothing.
      if (!symbols.empty() && isVowel(symbols.back()) && symbols.back() != u'\u02D0')
        symbols.push_back(u'\u02D0');
      continue;
    }
    // "eə" is written "ɛə"; a lone ɛ is e.
    if (c == U'e' && next == U'\u0259') {
      symbols += u"\u025B\u0259";
      ++i;
      continue;
    }
    if (c == U'\u025B' && next != U'\u0259') {
      symbols.push_back(u'e');
      continue;
    }
    if (c == U'\u025B') {
      symbols += u"\u025B\u0259";
      ++i;
      continue;
    }
    if (c > 0xFFFF || !table.contains(std::u16string(1, static_cast<char16_t>(c)))) {
      input.errorPosition = text[i].position;
      input.errorCharacter = text[i].typed;
      symbols.clear();
      return false;
    }
    symbols.push_back(static_cast<char16_t>(c));
  }
  return true;
}

}  // namespace

std::u16string americanAsBritish(std::u16string_view symbols, bool dAsFlap) {
  constexpr char16_t kLength = u'\u02D0';
  const auto isStress = [](char16_t c) { return c == u'\u02C8' || c == u'\u02CC'; };
  // The next symbol that is a sound, past stress marks.
  const auto soundAfter = [&](std::size_t i) -> char16_t {
    for (++i; i < symbols.size(); ++i)
      if (!isStress(symbols[i])) return symbols[i];
    return 0;
  };
  std::u16string out;
  out.reserve(symbols.size() + 4);
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    const char16_t c = symbols[i];
    const char16_t next = soundAfter(i);
    // The last sound written, length aside, and whether it was long.
    std::size_t lastAt = out.size();
    while (lastAt > 0 && isStress(out[lastAt - 1])) --lastAt;
    const bool afterLength = lastAt > 0 && out[lastAt - 1] == kLength;
    const char16_t last =
        lastAt > (afterLength ? 1u : 0u) ? out[lastAt - (afterLength ? 2 : 1)] : 0;
    if (c == u'r' && last != 0 && isVowel(last) && !isVowel(next)) {
      // Rhoticity: the vowel before the r as the British vowel without it.
      if (afterLength && (last == u'i' || last == u'u')) out.erase(lastAt - 1, 1);
      if (last == u'i' || last == u'u') {
        out.push_back(u'\u0259');
      } else if (last == u'e' && !afterLength) {
        out[lastAt - 1] = u'\u025B';
        out.push_back(u'\u0259');
      } else if ((last == u'\u0251' || last == u'\u0254') && !afterLength) {
        out.push_back(kLength);
      }
      continue;
    }
    if (dAsFlap && c == u'd' && last != 0 && isVowel(last) && isVowel(next)) {
      out.push_back(u't');  // T Voicing heard back
      continue;
    }
    if (c == u'o' && next == u'u') {
      out.push_back(u'\u0259');  // GOAT
      continue;
    }
    const bool longHere = i + 1 < symbols.size() && symbols[i + 1] == kLength;
    const char16_t afterLong = longHere ? soundAfter(i + 1) : next;
    if (c == u'\u0251' && afterLong != u'r' && next != u'i' && next != u'u') {
      // LOT, ɑ or ɑː, as ɒ; the vowel of father before r stays.
      out.push_back(u'\u0254');
      if (longHere) ++i;
      continue;
    }
    if (c == u'u' && longHere && (last == u't' || last == u'd' || last == u'n') && !afterLength) {
      out.push_back(u'j');  // Yod Dropping undone
    }
    out.push_back(c);
  }
  return out;
}

namespace {

void setAmericanReading(LearnerInput& input) {
  const std::u16string& base = input.otherReading.empty() ? input.symbols : input.otherReading;
  input.americanReading = americanAsBritish(base, false);
  input.flapReading = americanAsBritish(base, true);
  if (input.flapReading == input.americanReading) input.flapReading.clear();
  if (input.americanReading == base) input.americanReading.clear();
}

}  // namespace

LearnerInput readLearnerInput(std::u16string_view typed) {
  const std::vector<Typed> text = codePoints(typed);
  LearnerInput input;
  const bool literal = readSymbols(storedSymbols(text), input, input.symbols);
  LearnerInput other;
  if (!readSymbols(storedSymbols(asPlainKeyboardOrKk(text)), other, input.otherReading) ||
      input.otherReading == input.symbols) {
    input.otherReading.clear();
    setAmericanReading(input);
    return input;
  }
  if (!literal) {
    // Only the other reading reads the text.
    input.errorPosition = 0;
    input.errorCharacter = 0;
    input.severalWords = other.severalWords;
    input.symbols = input.otherReading;
    std::erase(input.symbols, u'\u02C8');
    if (input.symbols == input.otherReading) input.otherReading.clear();
  }
  setAmericanReading(input);
  return input;
}
