#pragma once
// Gathers the sources of the headwords a learner hears (headwords/learner_headwords.h): the npm
// data packages and the British word list. Each source that cannot be had is named in the log and
// the build goes on without it.
#include <ostream>
#include <string>
#include <vector>

#include <functional>

#include "british_word_list.h"
#include "ecdict_source.h"
#include "name_lists.h"
#include "optional_sources.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

// The Chinese equivalents of an English word, best first (empty when there are none).
using ChineseLookup = std::function<std::vector<std::string>(const std::string&)>;

struct LearnerSources {
  SpokenFrequencies spoken;  // empty when the list cannot be had
  BritishWordList british;   // empty when no list can be read
  GivenNames givenNames;
  CedictNames cedictNames;
  // The Chinese equivalents of an English word, when a source knows them. Names whose
  // Chinese comes this way do not repeat it in their own line.
  ChineseLookup chineseFor;
  // ECDICT, for the names, forms and words the sources above leave unexplained; may be null.
  const EcdictData* ecdict = nullptr;
};

// Reads what `files` found; a file that cannot be read is logged and left out. The words of
// the spoken list (fragments left out) join `out.british` as attested spellings, so that the
// forms a learner hears ("worked", "brothers") are made even where no word list has them.
void loadLearnerSources(const OptionalSourceFiles& files, LearnerSources& out, std::ostream& log);

}  // namespace quorvi::dictbuild
