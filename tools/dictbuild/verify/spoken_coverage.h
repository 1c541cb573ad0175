#pragma once
// How many of the most frequent words of spoken English are headwords: the figure that says
// whether a learner who hears a word can find it.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

struct SpokenCoverage {
  size_t top = 0;                    // the first `top` words of the list, fragments passed over
  size_t words = 0;                  // words counted (fewer than top when the list is shorter)
  size_t covered = 0;                // of them, headwords in any letter case
  size_t fragments = 0;              // entries passed over as no words ("ls", "Weli", "dont")
  std::vector<std::string> missing;  // the most frequent words that are no headwords
  // Of the covered words, those whose entry has Chinese (when asked) and the first without.
  size_t withChinese = 0;
  std::vector<std::string> withoutChinese;
  bool chineseMeasured = false;
  double percent() const {
    return words ? 100.0 * static_cast<double>(covered) / static_cast<double>(words) : 0;
  }
};

// `isHeadword` is asked in lower case. `hasChinese`, when given, is asked of each covered word
// as the list spells it: whether the entry a learner opens for it (that spelling's, else the
// lower-case word's) has Chinese.
std::vector<SpokenCoverage> measureSpokenCoverage(
    const SpokenFrequencies& spoken, const std::function<bool(const std::string&)>& isHeadword,
    const std::vector<size_t>& tops,
    const std::function<bool(const std::string&)>& hasChinese = nullptr);

// The first `top` words of the list by count, fragments passed over, as the list spells them.
std::vector<std::string> mostHeardWords(const SpokenFrequencies& spoken,
                                        const std::function<bool(const std::string&)>& isHeadword,
                                        size_t top);

// "spoken top 5,000: 99.62% (4981 of 5000 words; 23 fragments passed over)" and the first
// missing words; then, when measured, "  with Chinese: 99.52% (4946 of 4970 headwords)" and the
// first words without.
void printSpokenCoverage(const SpokenCoverage& c, std::ostream& out);

}  // namespace quorvi::dictbuild
