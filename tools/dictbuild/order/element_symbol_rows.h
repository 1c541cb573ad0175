#pragma once
// Rows headed by a chemical element's symbol spelled like a word in another case: He (helium)
// beside he, At (astatine) beside at, Pa (protactinium) beside pa.
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// The spoken list counts a spelling once, in its commonest case, so the row of a symbol whose
// Chinese opens with its element would take the count of the word a learner hears: it takes
// none (its entry in `heard` becomes 0) when a row of the same letters in another case exists.
// Returns how many rows that was.
size_t leaveSymbolRowsUnheard(const std::vector<DictEntry>& entries, std::vector<double>& heard);

}  // namespace quorvi::dictbuild
