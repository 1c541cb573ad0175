#pragma once
// The order rows are written in, which is the order the typing path lists them in (it has
// no ORDER BY and stops after 100 rows): most useful first.
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// Lemmas by frequency (descending), single words before phrases, then more senses, shorter,
// lower case before capitalised, alphabetical; each lemma followed by its inflected forms.
std::vector<size_t> rankOrder(const std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
