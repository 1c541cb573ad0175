#pragma once
// Checks the explanation lines that say what a word form is ("past tense of go"): each must
// name a headword of the dictionary, and none may use the old "past tense or past participle".
// A row that is only a form ("went": its labels and Chinese lines) carries the Chinese of its
// lemma, never lines of its own, unless the lemma has none.
#include <sqlite3.h>

#include <cstddef>
#include <ostream>
#include <string>

namespace quorvi::dictbuild {

struct LabelCheck {
  size_t labels = 0;      // form lines read
  size_t dangling = 0;    // naming no headword
  size_t ambiguous = 0;   // "past tense or past participle of ..."
  size_t formRows = 0;    // rows that are only a form of another word
  size_t ownChinese = 0;  // of them, rows with a Chinese line their lemma has not
  bool readable = true;
  bool ok() const { return readable && dangling == 0 && ambiguous == 0 && ownChinese == 0; }
};

// Reads every row of dict_word of an open dictionary; prints a summary line and a few examples.
LabelCheck checkFormLabels(sqlite3* db, std::ostream& out);

}  // namespace quorvi::dictbuild
