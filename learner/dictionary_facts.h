// The dictionary's side of the learner's words: an entry's transcription, Chinese lines, first
// English sense and learner levels, read from the engine's entry lines. The one place where
// the learner's data meets the dictionary.
#pragma once

#include <optional>
#include <string>

#include <QStringList>

#include "learner/word_facts.h"

class PhoneticDictionary;

namespace quorvi::learner {

// The facts in the lines of PhoneticDictionary::entryText (headword, [transcription],
// explanation; the first row's).
WordFacts factsOfEntry(const QStringList& entryLines);

// The tags of a learner-levels line ("中考 高考 四级 · 牛津3000 · 柯林斯★★★" -> Zhongkao
// Gaokao CET4 Oxford3000 Collins3); empty when the line is no such line.
std::vector<std::string> levelTags(const QString& line);
// The name a learner-levels line gives the list of `tag` ("CET4" -> "四级"); empty when unknown.
std::string levelName(const std::string& tag);

// The facts of headwords of an open dictionary, which must outlive the lookup.
FactsLookup factsLookup(PhoneticDictionary& dictionary);

}  // namespace quorvi::learner
