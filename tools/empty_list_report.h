// What quorvi-dict says on stderr when a learner's search lists nothing (or stopped, or could
// not rank its list), and the exit code that goes with it.
#pragma once

#include <string>

#include "engine/search_outcome.h"

namespace quorvi::tools {

int reportOutcome(const SearchOutcome& outcome, bool spelling);

// Why the dictionary words.db in `folder` cannot be used, for a message line.
std::string describeDictionaryFile(DictionaryFileState state, const std::string& folder);

}  // namespace quorvi::tools
