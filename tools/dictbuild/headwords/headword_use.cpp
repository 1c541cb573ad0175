#include "headword_use.h"

#include <cctype>

#include "ascii_case.h"
#include "wordnet_reader.h"

namespace quorvi::dictbuild {
HeadwordUses headwordUses(const WordNetData& wordnet) {
  HeadwordUses uses;
  uses.reserve(wordnet.lemmaPos.size());
  for (const auto& [lemma, parts] : wordnet.lemmaPos) {
    HeadwordUse use;
    use.partsOfSpeech = parts;
    double best = -1;
    for (char pos : parts) {
      auto it = wordnet.posCounts.find(lemma + '#' + pos);
      const double count = it == wordnet.posCounts.end() ? 0 : it->second;
      use.tagged += count;
      if (count > best) {  // ties keep WordNet's order: noun, verb, adjective, adverb
        best = count;
        use.commonest = pos;
      }
    }
    uses.emplace(lemma, std::move(use));
  }
  for (const auto& [pos, list] : wordnet.exceptions)
    for (const auto& [form, bases] : list) {
      std::string& base = uses[form].base;
      if (base.empty() && bases.front() != form) base = bases.front();
    }
  return uses;
}

HeadwordUse useOf(const HeadwordUses& uses, const std::string& headword) {
  auto it = uses.find(lowerAscii(headword));
  return it == uses.end() ? HeadwordUse{} : it->second;
}

}  // namespace quorvi::dictbuild
