#include "engine/learner_input.h"

#include <algorithm>

#include <QChar>
#include <vector>

#include "engine/phonetic_dictionary.h"

namespace {

// One character of what was typed, as a code point, with its 1-based position.
struct Typed {
  char32_t c;
  int position;
};

std::vector<Typed> codePoints(std::u16string_view text) {
  std::vector<Typed> out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back({c, static_cast<int>(out.size()) + 1});
  }
  return out;
}

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\u00A0' || c == U'\u3000';
}

bool isStressMark(char32_t c) {
  return c == U'\u02C8' || c == U'\u02CC' || c == U'\'' || c == U'\u2019' || c == U'\u02BC' ||
         c == U'\u0301' || c == U'.';
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

// The stored notation's symbol for a symbol of today's IPA or a capital; the
// character itself when it needs no change.
char32_t olderSymbol(char32_t c) {
  switch (c) {
    case U'\u026A':
      return U'i';  // ɪ
    case U'\u028A':
      return U'u';  // ʊ
    case U'\u0252':
      return U'\u0254';  // ɒ → ɔ
    case U'\u025C':
      return U'\u0259';  // ɜ → ə
    case U'\u025A':
      return U'\u0259';  // ɚ → ə
    case U'\u0279':
      return U'r';  // ɹ
    case U'\u0250':
      return U'\u028C';  // ɐ → ʌ
    case U'\u026B':
      return U'l';  // ɫ
    case U'\u1D7B':
      return U'i';  // ᵻ (ɪ or ə)
    case U'\u1D7F':
      return U'u';  // ᵿ (ʊ or ə)
    default:
      break;
  }
  return QChar::toLower(c);
}

}  // namespace

LearnerInput readLearnerInput(std::u16string_view typed) {
  std::vector<Typed> text = codePoints(typed);
  trimFrame(text);
  LearnerInput input;
  const auto& table = PhoneticDictionary::symbolMap();
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = olderSymbol(text[i].c);
    const char32_t next = i + 1 < text.size() ? olderSymbol(text[i + 1].c) : 0;
    if (isStressMark(c)) continue;
    // A blank between words: stored phrases run their words together, so do the symbols.
    if (isBlank(c)) {
      input.severalWords = true;
      continue;
    }
    if (isLengthMark(c)) {
      // A length mark counts after a vowel; anywhere else it says nothing.
      if (!input.symbols.empty() && isVowel(input.symbols.back()) &&
          input.symbols.back() != u'\u02D0')
        input.symbols.push_back(u'\u02D0');
      continue;
    }
    if (c == U'\u025D') {
      input.symbols += u"\u0259\u02D0";
      continue;
    }  // ɝ
    if (c == U'\u02A7') {
      input.symbols += u"t\u0283";
      continue;
    }  // ʧ
    if (c == U'\u02A4') {
      input.symbols += u"d\u0292";
      continue;
    }  // ʤ
    // "eə" is written "ɛə"; a lone ɛ is e.
    if (c == U'e' && next == U'\u0259') {
      input.symbols += u"\u025B\u0259";
      ++i;
      continue;
    }
    if (c == U'\u025B' && next != U'\u0259') {
      input.symbols.push_back(u'e');
      continue;
    }
    if (c == U'\u025B') {
      input.symbols += u"\u025B\u0259";
      ++i;
      continue;
    }
    if (c > 0xFFFF || !table.contains(std::u16string(1, static_cast<char16_t>(c)))) {
      input.errorPosition = text[i].position;
      input.errorCharacter = text[i].c;
      input.symbols.clear();
      return input;
    }
    input.symbols.push_back(static_cast<char16_t>(c));
  }
  return input;
}
