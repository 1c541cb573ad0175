#pragma once
// The hand-written table of the words of speech (data/spoken_forms.tsv): contractions, spoken
// forms, interjections, titles said aloud and old forms. The spoken list's reader uses it to
// tell such words from fragments; the headwords stage adds them (spoken_forms.h).
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// The hand-written table (data/spoken_forms.tsv) as entries: "gonna: going to" then a short
// gloss.
std::vector<DictEntry> spokenForms();

// The table's own Chinese lines by word ("Ms": 女士): those of the abbreviations said as words.
const std::unordered_map<std::string, std::string>& spokenFormChinese();

// Reads such a table: lines "word<TAB>what it stands for<TAB>gloss<TAB>reading<TAB>Chinese", the
// second, fourth and fifth fields may be empty; the Chinese lines go to `chinese` when given.
// False with "line N: ..." at the first malformed line.
bool readSpokenForms(std::string_view text, std::vector<DictEntry>& out, std::string& error,
                     std::unordered_map<std::string, std::string>* chinese = nullptr);

}  // namespace quorvi::dictbuild
