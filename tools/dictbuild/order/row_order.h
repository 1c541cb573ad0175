#pragma once
// The order stage: the order the rows are written in, which is the order of usefulness the
// searches list them in (the commonest words first): headwords heard in speech by how often,
// the rest by WordNet's counts, forms after their lemma, British spellings before American.
#include <cstddef>
#include <ostream>
#include <vector>

#include "british_word_list.h"
#include "dict_entry.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

// The indexes of `entries` in that order; only the first `limit` (0: all).
std::vector<size_t> rowOrder(const std::vector<DictEntry>& entries, const SpokenFrequencies& spoken,
                             const BritishWordList& british, size_t limit, std::ostream& log);

}  // namespace quorvi::dictbuild
