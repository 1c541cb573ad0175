#pragma once
// Checks the explanation lines that say what a word form is ("past tense of go"): each must
// name a headword of the dictionary, and none may use the old "past tense or past participle".
#include <sqlite3.h>

#include <cstddef>
#include <ostream>

namespace quorvi::dictbuild {

struct LabelCheck {
    size_t labels = 0;     // form lines read
    size_t dangling = 0;   // naming no headword
    size_t ambiguous = 0;  // "past tense or past participle of ..."
    bool readable = true;
    bool ok() const { return readable && dangling == 0 && ambiguous == 0; }
};

// Reads every row of dict_word of an open dictionary; prints a summary line and a few examples.
LabelCheck checkFormLabels(sqlite3* db, std::ostream& out);

}  // namespace quorvi::dictbuild
