#pragma once
// Opens each entry that has Chinese equivalents with their line; inflected forms without
// equivalents of their own take those of their lemma ("went": 去；走).
#include <vector>

#include "chinese_equivalents.h"
#include "dict_entry.h"
#include "headword_use.h"

namespace quorvi::dictbuild {

// Returns how many entries got a line.
size_t addChineseLines(std::vector<DictEntry>& entries, const ChineseEquivalents& chinese,
                       const HeadwordUses& uses);

}  // namespace quorvi::dictbuild
