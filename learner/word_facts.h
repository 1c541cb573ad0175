// What the dictionary says about a saved word, as an export shows it. The store knows nothing
// of the dictionary: these come through a lookup the caller hands in (dictionary_facts.h).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvi::learner {

struct WordFacts {
  std::string transcription;         // without brackets
  std::vector<std::string> chinese;  // the Chinese lines ("n. 例子；样本"), in order
  std::string firstSense;            // the first English explanation
  std::vector<std::string> levels;   // one tag a learner level ("CET4", "Oxford3000")
};

// The facts of a headword; nullopt when the dictionary has no such headword.
using FactsLookup = std::function<std::optional<WordFacts>(const std::string& word)>;

}  // namespace quorvi::learner
