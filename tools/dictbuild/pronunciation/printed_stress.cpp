#include "printed_stress.h"

#include <algorithm>
#include <string_view>

namespace quorvi::dictbuild {
namespace {

constexpr char16_t kPrimary = u'ˈ';
constexpr char16_t kSecondary = u'ˌ';
constexpr std::u16string_view kVowelLetters = u"iueæʌɔəɑaɛo";
// Second halves that make one vowel with the letter before: ei ai ɔi au əu iə ɛə uə.
constexpr std::u16string_view kGlides[] = {u"ei", u"ai", u"ɔi", u"au", u"əu",
                                           u"iə", u"ɛə", u"uə", u"oi", u"ou"};

// Whether the first vowel of `s` is a full one (not the weak ə, i or u) and another vowel
// follows it before `limit`: a glide or a long vowel counts as one.
bool fullVowelOpensTwoSyllables(std::u16string_view s, size_t limit) {
  size_t vowels = 0;
  bool firstFull = false;
  for (size_t i = 0; i < limit && vowels < 2;) {
    if (kVowelLetters.find(s[i]) == std::u16string_view::npos) {
      ++i;
      continue;
    }
    size_t end = i + 1;
    if (end < limit && (s[end] == u'ː' || std::find(std::begin(kGlides), std::end(kGlides),
                                                    s.substr(i, 2)) != std::end(kGlides)))
      ++end;
    if (vowels++ == 0) firstFull = end > i + 1 || (s[i] != u'ə' && s[i] != u'i' && s[i] != u'u');
    i = end;
  }
  return vowels == 2 && firstFull;
}

}  // namespace

std::u16string withPrintedStress(std::u16string symbols, bool singleWord) {
  // Said alone, a word has a main stress: a lone secondary mark (espeak-ng's function words)
  // is the main one.
  if (symbols.find(kPrimary) == std::u16string::npos) {
    const size_t secondary = symbols.find(kSecondary);
    if (secondary == std::u16string::npos) return symbols;  // a weak form as given
    symbols[secondary] = kPrimary;
  }
  // No secondary mark after the last main stress.
  const size_t lastPrimary = symbols.rfind(kPrimary);
  symbols.erase(
      std::remove(symbols.begin() + static_cast<long>(lastPrimary), symbols.end(), kSecondary),
      symbols.end());
  if (!singleWord) return symbols;
  // A full first vowel with another syllable between it and the main stress, unmarked.
  const size_t primary = symbols.find(kPrimary);
  if (primary == 0 || symbols.find(kSecondary) < primary) return symbols;
  if (fullVowelOpensTwoSyllables(symbols, primary)) symbols.insert(symbols.begin(), kSecondary);
  return symbols;
}

}  // namespace quorvi::dictbuild
