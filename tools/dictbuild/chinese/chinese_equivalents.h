#pragma once
// English -> simplified Chinese equivalents, from CC-CEDICT turned round: the Chinese words
// whose glosses name an English headword, best first.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cedict_reader.h"
#include "chinese_line.h"
#include "chinese_word_frequencies.h"
#include "headword_use.h"

namespace quorvi::dictbuild {

class ChineseEquivalents {
 public:
  // Without word frequencies, a word counts as common when its rarest character is found in
  // many dictionary words.
  ChineseEquivalents(const std::vector<CedictEntry>& cedict,
                     const ChineseWordFrequencies& frequencies);

  // The headword of the same letters in another case beside the one looked up.
  enum class Beside {
    Nothing,
    LowerCase,    // "He" beside "he" (helium): the capitalised one takes proper names only
    Capitalised,  // "ms" beside "Ms": the lower-case one takes no gloss written capitalised
                  // ("Ms": 女士), which is the other's
  };

  // At most `most` simplified Chinese words for the headword, best first; empty when no gloss
  // names it well enough. A gloss that is the headword itself comes before a verb's gloss with
  // its particle ("to look at" for "look"); proper names are given to capitalised headwords
  // only.
  std::vector<std::string> lookup(const std::string& headword, const HeadwordUse& use,
                                  Beside beside = Beside::Nothing,
                                  size_t most = kMostChineseWords) const;

  // For a capitalised headword no gloss names as such, the words whose glosses give it as a
  // name before a description, spelled as it is ("Alamo, city in United States": 阿拉摩; no
  // NARA's 奈良), best first.
  std::vector<std::string> lookupName(const std::string& headword,
                                      size_t most = kMostChineseWords) const;

  bool empty() const { return words_.empty(); }

 private:
  struct Word {
    std::string simplified;
    bool properName = false;
    uint32_t characters = 0;
    double commonness = 0;  // log of its frequency in text
  };
  struct Sense {
    uint32_t word;
    uint16_t position;  // of the gloss in the Chinese word's entry: the first is its main sense
    bool verb, stative, idiom, qualified;
    bool capitalised;  // the gloss writes the key with a capital ("Ms", "the Internet")
  };
  struct Candidate {
    uint32_t word;
    double cost;
  };

  void addEntry(const CedictEntry& entry);
  void measureCommonness(const ChineseWordFrequencies& frequencies);
  double cost(const Sense& sense, const HeadwordUse& use, double matchCost) const;
  std::vector<Candidate> candidates(const std::vector<Sense>& senses, const HeadwordUse& use,
                                    double matchCost, bool capitalised, Beside beside) const;

  bool hasFrequencies_ = false;
  std::vector<Word> words_;
  std::unordered_map<std::string, std::vector<Sense>> exact_;    // gloss key -> senses
  std::unordered_map<std::string, std::vector<Sense>> phrasal_;  // "look" -> "to look at"
  std::unordered_map<std::string, std::vector<Sense>> named_;    // "Alamo" -> "Alamo, city in"
};

}  // namespace quorvi::dictbuild
