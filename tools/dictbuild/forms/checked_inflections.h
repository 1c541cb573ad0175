#pragma once
// The build step that adds word forms checked against the British word lists, saying in the
// build log what was read, what is missing and what was left out.
#include <ostream>

#include "british_word_list.h"
#include "inflections.h"

namespace quorvi::dictbuild {

// Without any word list the forms are made unchecked, as the rules give them, and the log
// says so.
InflectionSummary addCheckedInflections(WordNetData& data, const WordListSources& sources,
                                        std::ostream& log);
// The same with the list already read (and perhaps added to).
InflectionSummary addCheckedInflections(WordNetData& data, const BritishWordList& list,
                                        std::ostream& log);

}  // namespace quorvi::dictbuild
