// What quorvi-dict says on stderr when a learner's search lists nothing (or stopped), and the
// exit code that goes with it.
#pragma once

#include "engine/search_outcome.h"

namespace quorvi::tools {

int reportOutcome(const SearchOutcome& outcome, bool spelling);

}  // namespace quorvi::tools
