#pragma once
// Gathers the sources of the headwords a learner hears (learner_headwords.h): the npm data
// packages and the British word list. Each source that cannot be had is named in the log and
// the build goes on without it.
#include <ostream>
#include <string>
#include <vector>

#include "chinese_equivalents.h"
#include "learner_headwords.h"
#include "optional_sources.h"

namespace quorvi::dictbuild {

// Reads what `files` found; a file that cannot be read is logged and left out. The words of
// the spoken list (fragments left out) join `out.british` as attested spellings, so that the
// forms a learner hears ("worked", "brothers") are made even where no word list has them.
void loadLearnerSources(const OptionalSourceFiles& files, LearnerSources& out, std::ostream& log);

// The build step: adds the heard words to `entries` and logs what it added by kind. Words
// no other source explains may be explained by their Chinese equivalents (`chinese` may be null)
// or by ECDICT (`ecdict` may be null).
void addHeardWords(std::vector<DictEntry>& entries, LearnerSources& sources,
                   const ChineseEquivalents* chinese, SkipReport& skipped, std::ostream& log,
                   const EcdictData* ecdict = nullptr);

// One line for the build log: the rows added by kind and what was refused.
std::string describeLearnerHeadwords(const LearnerHeadwordCounts& counts);

}  // namespace quorvi::dictbuild
