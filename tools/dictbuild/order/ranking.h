#pragma once
// The order rows are written in, which is the order the typing path lists them in (it has
// no ORDER BY and stops after 100 rows): most useful first.
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// Lemmas by frequency (descending), single words before phrases, then more senses, shorter,
// lower case before capitalised, alphabetical; each lemma followed by its inflected forms.
std::vector<size_t> rankOrder(const std::vector<DictEntry>& entries);

// As above, but lemmas heard in speech come first, by how often (`heard`, one count per
// entry, 0 for never heard); the rest follow by frequency as above.
std::vector<size_t> rankOrder(const std::vector<DictEntry>& entries,
                              const std::vector<double>& heard);

}  // namespace quorvi::dictbuild
