#include "transcription_normaliser.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <unordered_map>
#include <vector>

#include "engine/ipa_symbols.h"
#include "phonetic_notation.h"
#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

enum class Kind { Vowel, Consonant, Primary, Secondary, Boundary };

struct Token {
  std::u16string text;
  Kind kind;
};

struct Rule {
  std::u32string source;
  std::vector<std::u16string> output;  // one phoneme per element
};

const std::set<std::u16string>& vowels() {
  static const std::set<std::u16string> v = {u"i",  u"iː", u"e",  u"æ",  u"ʌ",  u"ɔ",  u"ɔː",
                                             u"ə",  u"əː", u"u",  u"uː", u"ɑ",  u"ɑː", u"ei",
                                             u"ai", u"ɔi", u"əu", u"au", u"iə", u"ɛə", u"uə"};
  return v;
}

// Longest match first. Diphthongs and long vowels are listed before their first symbol.
const std::vector<Rule>& rules() {
  static const std::vector<Rule> r = {
      // two-vowel glides
      {U"ai", {u"ai"}},
      {U"ʌi", {u"ai"}},  // ʌɪ
      {U"au", {u"au"}},
      {U"ei", {u"ei"}},
      {U"ɛi", {u"ei"}},
      {U"eə", {u"ɛə"}},
      {U"ɛə", {u"ɛə"}},
      {U"ɛː", {u"ɛə"}},
      {U"eː", {u"ɛə"}},
      {U"iə", {u"iə"}},
      {U"uə", {u"uə"}},
      {U"əu", {u"əu"}},
      {U"ou", {u"əu"}},
      {U"ɔi", {u"ɔi"}},
      {U"oi", {u"ɔi"}},
      // long vowels and the nurse vowel
      // The nurse vowel is long: a lone ɜ too (where the table reads today's ɜ as ə, its
      // length written apart).
      {U"ɜː", {u"əː"}},
      {U"ɜ", {u"əː"}},
      {U"ɝː", {u"əː"}},
      {U"ɝ", {u"əː"}},
      {U"əː", {u"əː"}},
      {U"iː", {u"iː"}},
      {U"uː", {u"uː"}},
      {U"ɑː", {u"ɑː"}},
      {U"aː", {u"ɑː"}},
      {U"ɐː", {u"ɑː"}},
      {U"ɔː", {u"ɔː"}},
      {U"oː", {u"ɔː"}},
      {U"øː", {u"əː"}},
      {U"ø", {u"əː"}},
      {U"œ", {u"əː"}},
      // short vowels
      {U"i", {u"i"}},
      {U"y", {u"i"}},
      {U"u", {u"u"}},
      {U"e", {u"e"}},
      {U"ɛ", {u"e"}},
      {U"æ", {u"æ"}},
      {U"a", {u"æ"}},
      {U"ʌ", {u"ʌ"}},
      {U"ɔ", {u"ɔ"}},
      {U"o", {u"ɔ"}},
      {U"ɑ", {u"ɑ"}},
      {U"ə", {u"ə"}},
      {U"ɐ", {u"ə"}},  // espeak-ng's weak vowel (see tokenise)
      // consonants
      {U"tʃ", {u"tʃ"}},
      {U"ʧ", {u"tʃ"}},
      {U"dʒ", {u"dʒ"}},
      {U"ʤ", {u"dʒ"}},
      {U"ʦ", {u"t", u"s"}},
      {U"ʣ", {u"d", u"z"}},
      {U"p", {u"p"}},
      {U"b", {u"b"}},
      {U"t", {u"t"}},
      {U"d", {u"d"}},
      {U"k", {u"k"}},
      {U"ɡ", {u"ɡ"}},
      {U"g", {u"ɡ"}},
      {U"f", {u"f"}},
      {U"v", {u"v"}},
      {U"s", {u"s"}},
      {U"z", {u"z"}},
      {U"θ", {u"θ"}},
      {U"ð", {u"ð"}},
      {U"ʃ", {u"ʃ"}},
      {U"ʒ", {u"ʒ"}},
      {U"m", {u"m"}},
      {U"n", {u"n"}},
      {U"ŋ", {u"ŋ"}},
      {U"h", {u"h"}},
      {U"l", {u"l"}},
      {U"r", {u"r"}},
      {U"w", {u"w"}},
      {U"j", {u"j"}},
      {U"x", {u"k"}},
      {U"c", {u"k"}},
      {U"q", {u"k"}},
      {U"ɲ", {u"n", u"j"}},
      {U"ʎ", {u"l", u"j"}},
  };
  return r;
}

const std::unordered_map<char32_t, std::vector<const Rule*>>& rulesByFirst() {
  static const auto index = [] {
    std::unordered_map<char32_t, std::vector<const Rule*>> m;
    for (const Rule& rule : rules()) m[rule.source.front()].push_back(&rule);
    for (auto& [c, list] : m)
      std::stable_sort(list.begin(), list.end(), [](const Rule* a, const Rule* b) {
        return a->source.size() > b->source.size();
      });
    return m;
  }();
  return index;
}

bool isVowel(const std::u16string& t) {
  return vowels().count(t) != 0;
}

std::u16string lengthened(const std::u16string& v) {
  if (v == u"i") return u"iː";
  if (v == u"u") return u"uː";
  if (v == u"ɑ") return u"ɑː";
  if (v == u"ɔ") return u"ɔː";
  if (v == u"ə") return u"əː";
  return v;
}

// Onsets an English syllable can begin with, written as phonemes joined by '+'.
const std::set<std::u16string>& legalOnsets() {
  static const std::set<std::u16string> onsets = [] {
    std::set<std::u16string> s;
    for (const char16_t* c :
         {u"p", u"b", u"t",  u"d",  u"k", u"ɡ", u"f", u"v", u"s", u"z", u"θ", u"ð",
          u"ʃ", u"ʒ", u"tʃ", u"dʒ", u"m", u"n", u"h", u"l", u"r", u"w", u"j"})
      s.insert(c);
    for (const char16_t* c :
         {u"p+r",   u"b+r",   u"t+r",   u"d+r",   u"k+r",   u"ɡ+r",  u"f+r",   u"θ+r",   u"ʃ+r",
          u"p+l",   u"b+l",   u"k+l",   u"ɡ+l",   u"f+l",   u"s+l",  u"p+j",   u"b+j",   u"t+j",
          u"d+j",   u"k+j",   u"ɡ+j",   u"m+j",   u"n+j",   u"f+j",  u"v+j",   u"θ+j",   u"s+j",
          u"z+j",   u"h+j",   u"l+j",   u"t+w",   u"d+w",   u"k+w",  u"ɡ+w",   u"s+w",   u"θ+w",
          u"s+p",   u"s+t",   u"s+k",   u"s+m",   u"s+n",   u"s+f",  u"s+p+r", u"s+t+r", u"s+k+r",
          u"s+p+l", u"s+k+l", u"s+p+j", u"s+t+j", u"s+k+j", u"s+k+w"})
      s.insert(c);
    return s;
  }();
  return onsets;
}

bool isLegalOnset(const std::vector<Token>& tokens, size_t from, size_t to) {
  std::u16string key;
  for (size_t i = from; i < to; ++i) {
    if (!key.empty()) key.push_back(u'+');
    key += tokens[i].text;
  }
  return legalOnsets().count(key) != 0;
}

std::string hexCodePoint(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

// Replaces keyboard and look-alike forms, and the symbols of today's IPA and of other
// languages, by the stored notation's symbols they stand for (the one table of them,
// engine/ipa_symbols.h), but for three that espeak-ng writes with a meaning of its own: ɐ (its
// weak vowel as well as the strut vowel, see tokenise), a lone ɜ (the long nurse vowel) and the
// glottal stop ʔ (dropped, not read as t).
char32_t canonical(char32_t c) {
  if (c != U'ɐ' && c != U'ɜ' && c != U'ʔ') c = ipa::storedSymbol(c);
  switch (c) {
    case U'\'':
    case U'\u2019':
    case U'\u2018':
    case U'\u02B9':
    case U'\u00B4':
      return U'ˈ';
    case U',':
    case U'\u02CF':
      return U'ˌ';
    case U':':
    case U'\u02D1':
      return U'ː';
    case U'\u0251':
      return U'ɑ';
    case U'\u0261':
      return U'ɡ';
    default:
      return c;
  }
}

bool isCombining(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1DC0 && c <= 0x1DFF);
}
bool isModifierToDrop(char32_t c) {
  return c == U'ʰ' || c == U'ʲ' || c == U'ʷ' || c == U'ˠ' || c == U'ˤ' || c == U'˞' || c == U'ʔ' ||
         c == U'ʕ' || c == U'.' || c == U'‿' || c == U'ˑ';
}

// Removes optional segments written in parentheses: an optional r (non-rhotic RP drops it)
// goes, other optional sounds are kept.
std::u32string resolveParentheses(const std::u32string& in) {
  std::u32string out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == U'(') {
      size_t close = in.find(U')', i);
      if (close == std::u32string::npos) continue;
      std::u32string inner = in.substr(i + 1, close - i - 1);
      if (inner != U"r" && inner != U"ɹ") out += inner;
      i = close;
    } else if (in[i] != U')') {
      out.push_back(in[i]);
    }
  }
  return out;
}

// Strips the framing dictionaries put around a transcription, keeps the first variant and
// writes keyboard forms as the IPA symbols they stand for.
std::u32string unframed(const std::u32string& decoded) {
  std::u32string text;
  for (char32_t c : decoded) {
    if (c == U';' || c == U'|' || c == U'\u2016') break;
    if (c == U'/' || c == U'[' || c == U']') continue;
    text.push_back(canonical(c));
  }
  return resolveParentheses(text);
}

bool isMark(const Token& t) {
  return t.kind == Kind::Primary || t.kind == Kind::Secondary;
}

// The longest rule that matches `text` at `i`; tie bars inside its span are skipped. On a
// match `i` moves past it.
const Rule* matchRule(const std::u32string& text, size_t& i) {
  const auto& index = rulesByFirst();
  auto it = index.find(text[i]);
  if (it == index.end()) return nullptr;
  for (const Rule* rule : it->second) {
    size_t j = i, k = 0;
    while (k < rule->source.size() && j < text.size()) {
      if (text[j] == U'\u0361' || text[j] == U'\u035C') {
        ++j;
        continue;
      }
      if (text[j] != rule->source[k]) break;
      ++j;
      ++k;
    }
    if (k == rule->source.size()) {
      i = j;
      return rule;
    }
  }
  return nullptr;
}

// Handles a character that is not a speech sound: word breaks, stress and length marks,
// syllabic marks and modifiers. False when `c` is a sound (or unknown).
bool readMarkOrModifier(char32_t c, std::vector<Token>& tokens) {
  if (c == U' ' || c == U'\t' || c == U'-' || c == U'_') {
    if (!tokens.empty() && tokens.back().kind != Kind::Boundary)
      tokens.push_back({u"", Kind::Boundary});
    return true;
  }
  if (c == U'ˈ' || c == U'ˌ') {
    tokens.push_back({c == U'ˈ' ? u"ˈ" : u"ˌ", c == U'ˈ' ? Kind::Primary : Kind::Secondary});
    return true;
  }
  if (c == U'ː') {
    if (!tokens.empty() && tokens.back().kind == Kind::Vowel)
      tokens.back().text = lengthened(tokens.back().text);
    return true;
  }
  if (c == U'\u0329' || c == U'\u030D') {  // syllabic consonant: l̩ -> əl
    if (!tokens.empty() && tokens.back().kind == Kind::Consonant &&
        (tokens.size() < 2 || tokens[tokens.size() - 2].text != u"ə"))
      tokens.insert(tokens.end() - 1, Token{u"ə", Kind::Vowel});
    return true;
  }
  return isCombining(c) || isModifierToDrop(c);  // tie bars, nasalisation, syllable dots ...
}

// Splits the text into phonemes, marks and word boundaries. Empty `error` on success.
std::vector<Token> tokenise(const std::u32string& text, std::string& error) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    const char32_t c = text[i];
    if (readMarkOrModifier(c, tokens)) {
      ++i;
      continue;
    }
    const Rule* match = matchRule(text, i);
    if (!match) {
      error = "unknown symbol " + hexCodePoint(c);
      return {};
    }
    for (const auto& phoneme : match->output) {
      Token t{phoneme, isVowel(phoneme) ? Kind::Vowel : Kind::Consonant};
      // Today's IPA writes ɐ for the strut vowel, but espeak-ng writes it for the weak vowel
      // too: under stress it is ʌ, else ə.
      if (c == U'ɐ' && match->source.size() == 1)
        t.text = (!tokens.empty() && tokens.back().kind == Kind::Primary) ? u"ʌ" : u"ə";
      tokens.push_back(std::move(t));
    }
  }
  return tokens;
}

bool isWordEnd(const std::vector<Token>& tokens, size_t at) {
  while (at < tokens.size() && isMark(tokens[at])) ++at;
  return at >= tokens.size() || tokens[at].kind == Kind::Boundary;
}

// The sound before `at` in its word, stress marks passed over; null at the word's start.
const Token* soundBefore(const std::vector<Token>& tokens, size_t at) {
  while (at > 0 && isMark(tokens[at - 1])) --at;
  if (at == 0 || tokens[at - 1].kind == Kind::Boundary) return nullptr;
  return &tokens[at - 1];
}

// An ending -s or -ed takes the voicing of the sound before it: aches ˈeiks, not ˈeikz;
// faced ˈfeist, not ˈfeisd. No English word ends in a voiceless sound and z or d.
void voiceEndingsLikeTheirStem(std::vector<Token>& tokens) {
  static const std::set<std::u16string> voicelessBeforeS = {u"p", u"t", u"k", u"f", u"θ"};
  static const std::set<std::u16string> voicelessBeforeD = {u"p", u"k", u"f", u"θ",
                                                            u"s", u"ʃ", u"tʃ"};
  for (size_t t = 0; t < tokens.size(); ++t) {
    Token& tok = tokens[t];
    if ((tok.text != u"z" && tok.text != u"d") || !isWordEnd(tokens, t + 1)) continue;
    const Token* before = soundBefore(tokens, t);
    if (!before || before->kind != Kind::Consonant) continue;
    const bool isZ = tok.text == u"z";
    if ((isZ ? voicelessBeforeS : voicelessBeforeD).count(before->text))
      tok.text[0] = isZ ? u's' : u't';
  }
}

// One word has one primary stress: an earlier primary mark in the word becomes secondary, as
// the books print long words (congratulation kənˌɡrætʃuˈleiʃən). Each word of a phrase keeps
// its own.
void onePrimaryPerWord(std::vector<Token>& tokens) {
  bool primaryAfter = false;  // a later primary in the same word
  for (size_t t = tokens.size(); t-- > 0;) {
    Token& tok = tokens[t];
    if (tok.kind == Kind::Boundary) {
      primaryAfter = false;
    } else if (tok.kind == Kind::Primary) {
      if (primaryAfter) tok = Token{u"ˌ", Kind::Secondary};
      primaryAfter = true;
    }
  }
}

// Where a stress mark goes in the consonants [clusterStart, clusterEnd) before its vowel: the
// longest run that can begin an English syllable; word-initial consonants all belong to it.
size_t onsetStart(const std::vector<Token>& placed, size_t wordStart, size_t clusterEnd) {
  size_t clusterStart = clusterEnd;
  while (clusterStart > wordStart && placed[clusterStart - 1].kind == Kind::Consonant)
    --clusterStart;
  if (clusterStart == wordStart) return clusterStart;
  for (size_t s = clusterStart; s < clusterEnd; ++s)
    if (isLegalOnset(placed, s, clusterEnd)) return s;
  return clusterEnd;
}

// Moves each stress mark to the start of its syllable. Marks that stand before no vowel go.
std::vector<Token> placeStressMarks(const std::vector<Token>& tokens) {
  std::vector<Token> placed;
  size_t wordStart = 0;
  for (size_t t = 0; t < tokens.size(); ++t) {
    const Token& tok = tokens[t];
    if (!isMark(tok)) {
      placed.push_back(tok);
      if (tok.kind == Kind::Boundary) wordStart = placed.size();
      continue;
    }
    // Find the vowel this mark belongs to; consonants after the mark join the cluster.
    size_t v = t + 1;
    while (v < tokens.size() && tokens[v].kind == Kind::Consonant) ++v;
    if (v >= tokens.size() || tokens[v].kind != Kind::Vowel) continue;  // stray mark
    for (size_t k = t + 1; k < v; ++k) placed.push_back(tokens[k]);
    const size_t onset = onsetStart(placed, wordStart, placed.size());
    placed.insert(placed.begin() + static_cast<long>(onset), tok);
    t = v - 1;
  }
  return placed;
}

// Non-rhotic r: an r after a vowel that no vowel follows is not pronounced in RP.
bool isSilentR(const std::vector<Token>& placed, size_t t, const std::vector<Token>& kept) {
  if (placed[t].text != u"r" || kept.empty() || kept.back().kind != Kind::Vowel) return false;
  size_t n = t + 1;
  while (n < placed.size() && isMark(placed[n])) ++n;
  return n >= placed.size() || placed[n].kind != Kind::Vowel;
}

// RP as dictionaries print it: no silent r, long vowel + schwa as the glide, one mark per place.
std::vector<Token> applyRpConventions(const std::vector<Token>& placed) {
  std::vector<Token> kept;
  for (size_t t = 0; t < placed.size(); ++t) {
    const Token& tok = placed[t];
    if (isSilentR(placed, t, kept)) continue;
    // A long vowel before schwa is the glide dictionaries print: usual -ʒuəl, theatre θiə-.
    if (tok.text == u"ə" && !kept.empty() &&
        (kept.back().text == u"uː" || kept.back().text == u"iː")) {
      kept.back().text = kept.back().text == u"uː" ? u"uə" : u"iə";
      continue;
    }
    // Two marks in a row keep the stronger one.
    if (isMark(tok) && !kept.empty() && isMark(kept.back())) {
      if (tok.kind == Kind::Primary) kept.back() = tok;
      continue;
    }
    kept.push_back(tok);
  }
  return kept;
}

// Pairs a learner types as one key sequence and the search reads as one unit: the search
// finds a typed "tr" only where the row holds t and r side by side, so a mark never splits one
// (hot rod ˈhɔˈtrɔd). The glides and tʃ, dʒ are one sound; tr and dr can begin a syllable.
// ts and dz are no such pair: neither begins an English syllable inside a word, so the mark
// goes where the syllable starts (outside autˈsaid, itself itˈself, Godzilla ɡɔdˈzilə).
bool formsTypedUnit(const std::u16string& before, const std::u16string& after) {
  if (before.empty() || after.empty()) return false;
  static const std::set<std::u16string> units = {u"ei", u"ai", u"ɔi", u"əu", u"au", u"iə",
                                                 u"ɛə", u"uə", u"tʃ", u"dʒ", u"tr", u"dr"};
  return units.count(std::u16string{before.back(), after.front()}) != 0;
}

// Where the syllable of the vowel at `vowel` begins: its legal onset, unless that start would
// split a typed pair.
size_t syllableStart(const std::vector<Token>& tokens, size_t vowel) {
  if (tokens[vowel].kind != Kind::Vowel) return vowel;
  size_t at = vowel;
  while (at > 0 && tokens[at - 1].kind == Kind::Consonant && isLegalOnset(tokens, at - 1, vowel))
    --at;
  if (at > 0 && formsTypedUnit(tokens[at - 1].text, tokens[at].text)) return vowel;
  return at;
}

// A stress mark never splits such a pair: radio ˈreidiəu, not ˈreidiˌəu; hot rod ˈhɔˈtrɔd.
// A secondary mark there goes; a primary mark moves in front of the pair.
// Word breaks are gone by now: they are no break for the search either.
std::vector<Token> keepTypedUnitsTogether(std::vector<Token> tokens) {
  std::erase_if(tokens, [](const Token& t) { return t.kind == Kind::Boundary; });
  for (size_t t = 1; t + 1 < tokens.size(); ++t) {
    if (!isMark(tokens[t]) || !formsTypedUnit(tokens[t - 1].text, tokens[t + 1].text)) continue;
    const Token mark = tokens[t];
    tokens.erase(tokens.begin() + static_cast<long>(t));
    if (mark.kind != Kind::Primary) continue;
    // In front of the pair it may split the pair before: move on until it splits none,
    // then to the start of the syllable (layered ˈleiəd, not lˈeiəd).
    size_t at = t - 1;
    while (at > 0 && formsTypedUnit(tokens[at - 1].text, tokens[at].text)) --at;
    tokens.insert(tokens.begin() + static_cast<long>(syllableStart(tokens, at)), mark);
  }
  return tokens;
}

}  // namespace

NormalisedTranscription normaliseTranscription(std::string_view utf8Ipa) {
  NormalisedTranscription result;
  auto decoded = decodeUtf8(utf8Ipa);
  if (!decoded) {
    result.error = "not valid UTF-8";
    return result;
  }
  std::vector<Token> tokens = tokenise(unframed(*decoded), result.error);
  if (!result.ok()) return result;
  voiceEndingsLikeTheirStem(tokens);
  tokens = placeStressMarks(tokens);
  onePrimaryPerWord(tokens);
  tokens = keepTypedUnitsTogether(applyRpConventions(tokens));
  for (const Token& tok : tokens) result.symbols += tok.text;
  if (result.symbols.empty()) {
    result.error = "no speech sounds";
    return result;
  }
  if (!acceptedBySymbolKeys(result.symbols)) {
    result.error = "result not readable by the phonetic search";
    result.symbols.clear();
  }
  return result;
}

}  // namespace quorvi::dictbuild
