#pragma once
// Inflected forms a learner hears (went, children, cats, walked, walking, bigger ...), added
// as entries explained by their lemma ("past tense of go", "plural of cat").
#include <string>
#include <vector>

#include "british_word_list.h"
#include "inflection_spelling.h"
#include "wordnet_reader.h"

namespace quorvi::dictbuild {

struct InflectionSummary {
  size_t rowsAdded = 0;
  size_t madeKept = 0;                       // forms made by rule that a word list attests
  size_t madeDropped = 0;                    // forms made by rule that no word list has
  std::vector<std::string> droppedExamples;  // a few of them, for the build log
  size_t listedWithoutLemma = 0;             // exception-list forms of lemmas WordNet lacks
};

// Adds the forms of the exception lists for every lemma and the regular forms of lemmas with
// a frequency above zero, each labelled for what it is. A form that already is a headword
// gets the line added to its explanation instead of a second row. Returns the rows added.
size_t addInflections(WordNetData& data);

// The same checked against British word lists: a form made by rule is kept only when a list
// has it, which lets every WordNet lemma take its regular forms and brings back the regular
// forms beside irregular ones (worked beside wrought, showed beside shown, brothers beside
// brethren). An empty list checks nothing, as above.
InflectionSummary addInflections(WordNetData& data, const BritishWordList& attested);

// The label of a form of be, have or do ("were": "past tense of be"); nullptr for other words.
const char* fixedFormLabel(const std::string& form);

}  // namespace quorvi::dictbuild
