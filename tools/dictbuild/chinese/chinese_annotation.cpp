#include "chinese_annotation.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "ascii_case.h"
#include "chinese_line.h"
#include "english_stems.h"

namespace quorvi::dictbuild {
namespace {

bool isAllCapitals(const std::string& word) {
  return std::none_of(word.begin(), word.end(),
                      [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

using Beside = ChineseEquivalents::Beside;

// "He" beside "he" is helium, "WHO" an organisation: such headwords take only proper names;
// "ms" beside "Ms" no gloss of the title.
std::vector<Beside> besideOtherCase(const std::vector<DictEntry>& entries) {
  std::unordered_set<std::string> captions, capitalisedLower;
  for (const DictEntry& e : entries) {
    captions.insert(e.caption);
    if (lowerAscii(e.caption) != e.caption) capitalisedLower.insert(lowerAscii(e.caption));
  }
  std::vector<Beside> out(entries.size(), Beside::Nothing);
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string& c = entries[i].caption;
    // "I" is the one English word always written with a capital.
    if (startsCapitalised(c) && c != "I" && (isAllCapitals(c) || captions.count(lowerAscii(c))))
      out[i] = Beside::LowerCase;
    else if (lowerAscii(c) == c && capitalisedLower.count(c))
      out[i] = Beside::Capitalised;
  }
  return out;
}

// The entry whose line an inflected form without one of its own shares: its lemma's
// (`anchor`), else that of the base WordNet's exception lists give (kept -> keep), else that of
// a regular base WordNet knows (wanted -> want, hours -> hour).
std::vector<size_t> lineSources(const std::vector<DictEntry>& entries, const HeadwordUses& uses) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  auto indexOf = [&](const std::string& caption) {
    auto it = byCaption.find(caption);
    return it == byCaption.end() ? entries.size() : it->second;
  };
  std::vector<size_t> out(entries.size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const DictEntry& e = entries[i];
    if (e.anchor >= 0 && static_cast<size_t>(e.anchor) < entries.size()) {
      out[i] = static_cast<size_t>(e.anchor);
      continue;
    }
    if (startsCapitalised(e.caption)) continue;
    const HeadwordUse use = useOf(uses, e.caption);
    if (!use.base.empty()) out[i] = indexOf(use.base);
    for (const BaseCandidate& candidate : regularBaseCandidates(e.caption)) {
      if (out[i] != entries.size()) break;
      const HeadwordUse baseUse = useOf(uses, candidate.base);
      const bool fits = std::any_of(candidate.partsOfSpeech.begin(), candidate.partsOfSpeech.end(),
                                    [&](char pos) { return baseUse.has(pos); });
      if (fits) out[i] = indexOf(candidate.base);
    }
  }
  return out;
}

}  // namespace

size_t addChineseLines(std::vector<DictEntry>& entries, const ChineseEquivalents& chinese,
                       const HeadwordUses& uses) {
  const std::vector<Beside> beside = besideOtherCase(entries);
  std::vector<std::string> lines(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    lines[i] =
        chineseLine(chinese.lookup(entries[i].caption, useOf(uses, entries[i].caption), beside[i]));
    // A name CC-CEDICT glosses only with a description after it, where no gloss names it alone.
    if (lines[i].empty()) lines[i] = chineseLine(chinese.lookupName(entries[i].caption));
  }
  const std::vector<size_t> sources = lineSources(entries, uses);
  size_t added = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].leftOut) continue;
    std::string line = lines[i];
    // "are" is a unit of area too, but one no text ever uses: the irregular form of "be" wins.
    const HeadwordUse use = useOf(uses, entries[i].caption);
    const bool rareOwnSenses = !use.base.empty() && use.tagged == 0;
    if ((line.empty() || rareOwnSenses) && sources[i] < entries.size() &&
        !lines[sources[i]].empty())
      line = lines[sources[i]];
    if (line.empty()) continue;
    // Rows explained by their Chinese equivalents alone already open with the line; a row that
    // opens with an element, a title or an acronym ("锂(3号元素)" for Li) has the word's own
    // Chinese put before it.
    if (const auto& lines = entries[i].explainLines;
        !lines.empty() && opensWithChineseLine(lines.front()) &&
        (otherSenseOfLine(lines.front()) == OtherSense::None ||
         otherSenseOfLine(line) != OtherSense::None))
      continue;
    entries[i].explainLines.insert(entries[i].explainLines.begin(), std::move(line));
    ++added;
  }
  return added;
}

}  // namespace quorvi::dictbuild
