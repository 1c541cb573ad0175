#pragma once
// Annotates the headwords with ECDICT: its Chinese lines open each entry (a word form's those
// of its lemma, after the line saying what form it is), the learner levels follow on a line of
// their own and lift the word in the row order, form labels ECDICT's forms contradict are
// dropped, offensive and vulgar senses are labelled, and the learner words the dictionary
// lacks join as headwords.
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dict_entry.h"
#include "ecdict_source.h"
#include "headword_use.h"

namespace quorvi::dictbuild {

struct EcdictSummary {
  size_t chinese = 0;           // entries given Chinese lines
  size_t levels = 0;            // entries given a learner-levels line
  size_t labelsDropped = 0;     // word-form labels dropped as wrong
  size_t headwordsAdded = 0;    // learner words ECDICT added
  size_t madeUpDropped = 0;     // heard words left out as forms nobody uses
  size_t lowerCaseRecords = 0;  // capitalised headwords given ECDICT's lower-case record
  std::vector<std::string> droppedExamples;
};

// Reads the words the annotation treats apart (data/word_kinds.tsv): lines "word<TAB>kind", the
// kind "uncountable", "same plural" or "vulgar". False with "line N: ..." at the first malformed
// line.
bool readWordKinds(std::string_view text, std::map<std::string, std::set<std::string>>& out,
                   std::string& error);

// The label of a word-form line and the Chinese that says the same ("past tense of see" ->
// "see的过去式"); empty when the line is no such label.
std::string chineseFormLabel(const std::string& line);

// Labels a WordNet sense line that is a slur or vulgar ("n. [offensive 冒犯] ..."); the line
// as it was otherwise. `kind` tells which (0 none, 1 vulgar, 2 offensive); `vulgarWord`: the
// word is vulgar in every sense.
std::string labelOffensiveSense(const std::string& line, int* kind = nullptr,
                                bool vulgarWord = false);

EcdictSummary addEcdictLines(std::vector<DictEntry>& entries, const EcdictData& ecdict,
                             const HeadwordUses& uses);

}  // namespace quorvi::dictbuild
