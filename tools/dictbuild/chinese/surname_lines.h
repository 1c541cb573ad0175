#pragma once
// A Chinese family name reads as one: a capitalised headword CC-CEDICT gives as a surname
// ("surname Li") opens with "a family name; 姓氏：李", its usual character first (the one most
// of the people CC-CEDICT names write it with), before what else the spelling means (the
// measure li, the element). A spelling that is also an everyday English word (Long, Sun, He:
// ECDICT puts its lower-case word on an exam list, stars it or has it in the Oxford 3000)
// keeps its order.
#include <cstddef>
#include <vector>

#include "dict_entry.h"
#include "ecdict_source.h"
#include "name_lists.h"

namespace quorvi::dictbuild {

// Returns the rows that now open with their family name.
size_t putChineseSurnamesFirst(std::vector<DictEntry>& entries, const CedictNames& names,
                               const EcdictData* ecdict);

}  // namespace quorvi::dictbuild
