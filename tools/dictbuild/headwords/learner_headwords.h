#pragma once
// Headwords a learner hears that WordNet lacks: the words of the spoken frequency list and the
// names and places of the British word list, each explained, or left out when no source can
// explain it. Spoken forms and contractions come from the hand table (spoken_forms.h), names
// and places from proper_names.h; fragments of the spoken list (word_fragments.h) never
// become headwords.
#include <functional>
#include <string>
#include <vector>

#include <ostream>

#include "dict_entry.h"
#include "learner_sources.h"
#include "proper_names.h"
#include "skip_report.h"

namespace quorvi::dictbuild {

struct LearnerHeadwordCounts {
  size_t spokenForms = 0;  // contractions, spoken forms, interjections, titles, old forms
  size_t givenNames = 0;
  size_t familyNames = 0;
  size_t places = 0;
  size_t phraseParts = 0;  // "Vegas", "cetera": heard as part of a name or set phrase
  size_t plurals = 0;      // plurals of capitalised headwords: "Americans", "Sundays"
  size_t forms = 0;        // forms of headwords by ECDICT's exchange: "stomachs"
  size_t chinese = 0;      // other words, explained by their Chinese equivalents
  size_t fragments = 0;    // spoken-list entries refused as no words
  size_t unexplained = 0;  // words left out: no source explains them
  size_t added() const {
    return spokenForms + givenNames + familyNames + places + phraseParts + plurals + forms +
           chinese;
  }
};

// How often a row is heard, on the scale the ranking compares: the spoken count of its
// spelling (contractions: a tenth of the word before the apostrophe, "I'm" from "I").
double spokenFrequencyOf(const std::string& caption, const SpokenFrequencies& spoken);

// A proper noun spelled like a common word ("Mark", "mark") shares its spoken count; it ranks
// right below it, unless the spoken list writes the word capitalised (most of its uses are the
// name). Other proper nouns keep their own count ("Joe" before "jo").
void rankNamesBelowCommonWords(std::vector<DictEntry>& entries, const std::vector<size_t>& nameRows,
                               const SpokenFrequencies& spoken);

// Gives each line that says a word is a name its Chinese word for that: "a given name
// (female); 人名：爱丽丝", "a family name; 姓氏". Run after the Chinese lines are in, which a name
// line holding Chinese would keep out.
void markNameLinesInChinese(std::vector<DictEntry>& entries);

LearnerHeadwordCounts addLearnerHeadwords(std::vector<DictEntry>& entries,
                                          const LearnerSources& sources, SkipReport& skipped);

// The build step: adds the heard words to `entries` and logs what it added by kind. Words
// no other source explains may be explained by their Chinese equivalents (`chineseFor`, the
// Chinese stage's lookup, may be empty) or by ECDICT (`ecdict` may be null).
void addHeardWords(std::vector<DictEntry>& entries, LearnerSources& sources,
                   ChineseLookup chineseFor, SkipReport& skipped, std::ostream& log,
                   const EcdictData* ecdict = nullptr);

// One line for the build log: the rows added by kind and what was refused.
std::string describeLearnerHeadwords(const LearnerHeadwordCounts& counts);

}  // namespace quorvi::dictbuild
