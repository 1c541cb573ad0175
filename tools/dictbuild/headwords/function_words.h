#pragma once
// The grammatical words WordNet leaves out (the, of, she, because, would ...), with short
// explanations. They are the most frequent words of English and rank first.
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

std::vector<DictEntry> functionWords();

// Adds the function words: a word WordNet already has gets the grammatical lines first and
// the higher rank; the others become rows of their own.
void addFunctionWords(std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
