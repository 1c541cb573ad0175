#pragma once
// What WordNet knows of how a headword is used: its parts of speech and the commonest one.
#include <string>
#include <unordered_map>

namespace quorvi::dictbuild {

struct WordNetData;

struct HeadwordUse {
  std::string partsOfSpeech;  // 'n', 'v', 'a', 'r'; empty when unknown
  char commonest = 0;         // the part of speech its senses are most often tagged with
  std::string base;   // an irregular form's lemma from WordNet's exception lists: kept -> keep
  double tagged = 0;  // how often its own senses are tagged in WordNet's corpus
  bool has(char pos) const { return partsOfSpeech.find(pos) != std::string::npos; }
};

// Keyed by the lower-case headword.
using HeadwordUses = std::unordered_map<std::string, HeadwordUse>;

HeadwordUses headwordUses(const WordNetData& wordnet);

// The use of a headword as spelled; unknown use when WordNet lacks it.
HeadwordUse useOf(const HeadwordUses& uses, const std::string& headword);

}  // namespace quorvi::dictbuild
