#include "american_sources.h"

#include <string>

#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

// espeak-ng's symbols, longest first where one begins another, and the sound each is.
struct EspeakSymbol {
  std::u32string_view ipa;
  const char* name;
};

constexpr EspeakSymbol kEspeakSymbols[] = {
    {U"aɪ", "AY"}, {U"aʊ", "AW"}, {U"eɪ", "EY"}, {U"oʊ", "OW"}, {U"ɔɪ", "OY"}, {U"tʃ", "CH"},
    {U"dʒ", "JH"}, {U"ɑː", "AA"}, {U"ɔː", "AO"}, {U"ɜː", "ER"}, {U"iː", "IY"}, {U"uː", "UW"},
    {U"ɑ", "AA"},  {U"a", "AA"},  {U"æ", "AE"},  {U"ʌ", "AH"},  {U"ɐ", "AH"},  {U"ə", "AH"},
    {U"ɔ", "AO"},  {U"ɛ", "EH"},  {U"e", "EH"},  {U"ɜ", "ER"},  {U"ɚ", "ER"},  {U"ɝ", "ER"},
    {U"ɪ", "IH"},  {U"ᵻ", "IH"},  {U"ɨ", "IH"},  {U"i", "IY"},  {U"o", "OW"},  {U"ʊ", "UH"},
    {U"u", "UW"},  {U"p", "P"},   {U"b", "B"},   {U"t", "T"},   {U"d", "D"},   {U"k", "K"},
    {U"ɡ", "G"},   {U"g", "G"},   {U"f", "F"},   {U"v", "V"},   {U"θ", "TH"},  {U"ð", "DH"},
    {U"s", "S"},   {U"z", "Z"},   {U"ʃ", "SH"},  {U"ʒ", "ZH"},  {U"h", "HH"},  {U"m", "M"},
    {U"n", "N"},   {U"ŋ", "NG"},  {U"l", "L"},   {U"ɫ", "L"},   {U"ɬ", "L"},   {U"ɹ", "R"},
    {U"r", "R"},   {U"w", "W"},   {U"ʍ", "W"},   {U"j", "Y"},   {U"ɾ", "T"},   {U"ʔ", "T"},
    {U"x", "K"},   {U"ç", "HH"},
};

}  // namespace

std::vector<AmericanPhone> phonesFromArpabet(std::string_view arpabet) {
  std::vector<AmericanPhone> phones;
  size_t start = 0;
  while (start < arpabet.size()) {
    size_t end = arpabet.find(' ', start);
    if (end == std::string_view::npos) end = arpabet.size();
    std::string name(arpabet.substr(start, end - start));
    start = end + 1;
    if (name.empty()) continue;
    AmericanPhone phone;
    if (name.back() >= '0' && name.back() <= '2') {
      phone.stress = name.back() - '0';
      name.pop_back();
    }
    if (!isArpabetSound(name) || isArpabetVowel(name) != (phone.stress >= 0)) return {};
    phone.name = std::move(name);
    phones.push_back(std::move(phone));
  }
  if (!phones.empty()) phones.front().wordStart = true;
  return phones;
}

std::vector<AmericanPhone> phonesFromEspeak(std::string_view ipa) {
  const auto text = decodeUtf8(ipa);
  if (!text) return {};
  std::vector<AmericanPhone> phones;
  int stress = 0;
  bool wordStart = true;
  for (size_t i = 0; i < text->size();) {
    const char32_t c = (*text)[i];
    if (c == U' ' || c == U'-' || c == U'_') {
      wordStart = true;
      ++i;
      continue;
    }
    if (c == U'ˈ' || c == U'ˌ') {
      stress = c == U'ˈ' ? 1 : 2;
      ++i;
      continue;
    }
    // A syllabic consonant (n̩, l̩) is said after ə; length and other marks say nothing more.
    if (c == U'\u0329') {
      if (!phones.empty() && !isArpabetVowel(phones.back().name))
        phones.insert(phones.end() - 1, AmericanPhone{"AH", 0, false});
      ++i;
      continue;
    }
    if (c == U'ː' || c == U'ˑ' || c == U'\u0361' || c == U'\u0303' || c == U'ʰ' || c == U'.') {
      ++i;
      continue;
    }
    const EspeakSymbol* match = nullptr;
    for (const EspeakSymbol& s : kEspeakSymbols)
      if (std::u32string_view(*text).substr(i).starts_with(s.ipa)) {
        match = &s;
        break;
      }
    if (match == nullptr) return {};
    i += match->ipa.size();
    AmericanPhone phone{match->name, -1, wordStart};
    wordStart = false;
    if (isArpabetVowel(phone.name)) {
      phone.stress = stress;
      stress = 0;
    }
    phones.push_back(std::move(phone));
  }
  return phones;
}

}  // namespace quorvi::dictbuild
