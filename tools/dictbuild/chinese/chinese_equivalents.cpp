#include "chinese_equivalents.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <unordered_set>

#include "ascii_case.h"
#include "cedict_gloss.h"
#include "english_stems.h"
#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

// The words of a short verb gloss: "run away" -> run, away.
std::vector<std::string> phraseWords(const std::string& key) {
  std::vector<std::string> words;
  std::istringstream in(key);
  for (std::string w; in >> w;) words.push_back(w);
  if (words.size() < 2 || words.size() > 3) return {};
  return words;
}

// A verb glossed with its particle or object ("to look at") answers the bare verb almost as
// well as "to look". Other glosses that merely hold the headword ("what went wrong",
// "police car") are no equivalents of it.
constexpr double kPhrasalCost = 4;
// log(1 + count) of a word met about 100 times in the word-frequency list's corpus.
constexpr double kEverydayCommonness = 4.6;

}  // namespace

ChineseEquivalents::ChineseEquivalents(const std::vector<CedictEntry>& cedict,
                                       const ChineseWordFrequencies& frequencies) {
  for (const CedictEntry& entry : cedict) addEntry(entry);
  measureCommonness(frequencies);
}

void ChineseEquivalents::addEntry(const CedictEntry& entry) {
  if (entry.variantOf) return;
  const auto decoded = decodeUtf8(entry.simplified);
  if (!decoded || std::none_of(decoded->begin(), decoded->end(), isHanCharacter)) return;
  const auto index = static_cast<uint32_t>(words_.size());
  bool used = false;
  for (size_t i = 0; i < entry.glosses.size(); ++i) {
    const std::string& gloss = entry.glosses[i];
    const GlossReading r = readGloss(gloss);
    if (r.skip) continue;
    if (!r.name.empty()) {
      named_[r.name].push_back({index, static_cast<uint16_t>(std::min<size_t>(i, 0xFFFF)), false,
                                false, false, true, true});
      used = true;
    }
    for (const std::string& key : r.keys) {
      // The keys are in lower case: one the gloss holds only so was written with capitals.
      const bool capitalised =
          gloss.find(key) == std::string::npos && lowerAscii(gloss).find(key) != std::string::npos;
      const Sense sense{index,      static_cast<uint16_t>(std::min<size_t>(i, 0xFFFF)),
                        r.verb,     r.stative,
                        r.idiom,    r.qualified,
                        capitalised};
      exact_[key].push_back(sense);
      used = true;
      if (!r.verb) continue;
      const std::vector<std::string> words = phraseWords(key);
      if (!words.empty()) phrasal_[words.front()].push_back(sense);
    }
  }
  if (!used) return;
  Word word;
  word.simplified = entry.simplified;
  word.properName =
      !entry.pinyin.empty() && std::isupper(static_cast<unsigned char>(entry.pinyin[0]));
  word.characters = static_cast<uint32_t>(decoded->size());
  words_.push_back(std::move(word));
}

// Everyday characters turn up in many dictionary words, rare ones in a handful.
void ChineseEquivalents::measureCommonness(const ChineseWordFrequencies& frequencies) {
  hasFrequencies_ = !frequencies.empty();
  if (hasFrequencies_) {
    for (Word& w : words_) {
      auto it = frequencies.find(w.simplified);
      w.commonness = std::log1p(it == frequencies.end() ? 0 : it->second);
    }
    return;
  }
  std::unordered_map<char32_t, uint32_t> wordsWith;
  for (const Word& w : words_) {
    std::u32string chars = decodeUtf8(w.simplified).value_or(std::u32string());
    std::sort(chars.begin(), chars.end());
    chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
    for (char32_t c : chars) ++wordsWith[c];
  }
  for (Word& w : words_) {
    uint32_t rarest = UINT32_MAX;
    const std::u32string chars = decodeUtf8(w.simplified).value_or(std::u32string());
    for (char32_t c : chars)
      if (isHanCharacter(c)) rarest = std::min(rarest, wordsWith[c]);
    w.commonness = std::log1p(rarest == UINT32_MAX ? 0 : rarest);
  }
}

double ChineseEquivalents::cost(const Sense& s, const HeadwordUse& use, double matchCost) const {
  const Word& w = words_[s.word];
  double c = matchCost;
  // "to run" answers the verb; a plain gloss answers the noun or adjective.
  const bool wantVerb =
      use.commonest == 'v' || (use.commonest == 0 && use.has('v') && !use.has('n'));
  if (!use.partsOfSpeech.empty() && s.verb && !use.has('v')) c += 8;
  if (s.verb != wantVerb && !s.stative) c += 6;
  if (s.stative && !use.has('a')) c += 3;
  if (s.idiom) c += 6;
  if (s.qualified) c += 3;
  c += 2 * std::min<double>(s.position, 5);
  if (w.characters >= 4)
    c += 6;
  else if (w.characters == 3)
    c += 2;
  else if (w.characters == 1 && !s.verb)
    c += 1;  // a lone character is often bound in a noun
  return c - w.commonness;
}

std::vector<ChineseEquivalents::Candidate> ChineseEquivalents::candidates(
    const std::vector<Sense>& senses, const HeadwordUse& use, double matchCost, bool capitalised,
    Beside beside) const {
  std::vector<Candidate> out;
  for (const Sense& s : senses) {
    if (words_[s.word].properName ? !capitalised : beside == Beside::LowerCase) continue;
    if (s.capitalised && beside == Beside::Capitalised) continue;
    out.push_back(
        {s.word, cost(s, use, matchCost) - (capitalised && words_[s.word].properName ? 4 : 0)});
  }
  return out;
}

std::vector<std::string> ChineseEquivalents::lookupName(const std::string& headword,
                                                        size_t most) const {
  if (!startsCapitalised(headword) || exact_.count(lowerAscii(headword))) return {};
  const auto it = named_.find(headword);
  if (it == named_.end()) return {};
  std::vector<Candidate> found = candidates(it->second, HeadwordUse{}, 0, true, Beside::Nothing);
  std::stable_sort(found.begin(), found.end(),
                   [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
  std::vector<std::string> out;
  for (const Candidate& c : found) {
    if (out.size() >= most || c.cost > found.front().cost + 5) break;
    if (std::find(out.begin(), out.end(), words_[c.word].simplified) == out.end())
      out.push_back(words_[c.word].simplified);
  }
  return out;
}

std::vector<std::string> ChineseEquivalents::lookup(const std::string& headword,
                                                    const HeadwordUse& use, Beside beside,
                                                    size_t most) const {
  const std::string key = lowerAscii(headword);
  const bool capitalised = startsCapitalised(headword);
  std::vector<Candidate> found;
  auto add = [&](const auto& index, double matchCost) {
    auto it = index.find(key);
    if (it == index.end()) return;
    std::vector<Candidate> more = candidates(it->second, use, matchCost, capitalised, beside);
    found.insert(found.end(), more.begin(), more.end());
  };
  add(exact_, 0);
  if (use.partsOfSpeech.empty() || use.has('v')) add(phrasal_, kPhrasalCost);
  if (found.empty())  // the glosses spell the American way
    for (const std::string& spelling : americanSpellings(key))
      if (auto it = exact_.find(spelling); it != exact_.end() && found.empty())
        found = candidates(it->second, use, 0, capitalised, beside);
  std::stable_sort(found.begin(), found.end(),
                   [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  for (const Candidate& c : found) {
    if (out.size() >= most || c.cost > found.front().cost + 5) break;
    // Past the first, only words in everyday use: a rare word is no help to a learner.
    if (!out.empty() && hasFrequencies_ && words_[c.word].commonness < kEverydayCommonness)
      continue;
    if (seen.insert(words_[c.word].simplified).second) out.push_back(words_[c.word].simplified);
  }
  return out;
}

}  // namespace quorvi::dictbuild
