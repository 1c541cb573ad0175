#pragma once
// Headwords with more than one common pronunciation get one row per pronunciation, all
// with the same headword: weak forms of function words (of ɔv, əv), heteronyms (read riːd,
// red; object ˈɔbdʒikt, əbˈdʒekt) and common variants (either ˈaiðə, ˈiːðə). Each row's
// explanation opens with a line that says what it is ("weak form", "verb", "past tense and
// past participle of read") and holds the senses that go with that pronunciation.
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::dictbuild {

// One pronunciation of a headword as the hand-written table gives it.
struct Reading {
  std::string symbols;  // typed-symbol alphabet with stress marks, as the books print it
  std::string label;    // first explanation line; empty: none
  std::string senses;   // the explanation lines this row takes, by their part-of-speech prefixes
                        // separated by spaces ("n. adj."); the first row also takes every line
                        // no other row takes
};

struct HeadwordReadings {
  std::string caption;
  std::vector<Reading> readings;  // the first is the usual one
};

// The hand-written table, from British learner's dictionaries (data/pronunciations.tsv).
const std::vector<HeadwordReadings>& pronunciationTable();

// Reads such a table: lines "headword<TAB>reading<TAB>label<TAB>senses", a headword's readings
// on consecutive lines. False with "line N: ..." at the first malformed line or a headword whose
// readings are not consecutive.
bool readPronunciationTable(std::string_view text, std::vector<HeadwordReadings>& out,
                            std::string& error);

struct PronunciationRow {
  std::u16string symbols;
  std::vector<std::string> explainLines;
};

// The rows to write for a headword: one row with `symbols` and `explainLines` unless the
// table lists the headword, then one row per reading the phonetic search can read.
std::vector<PronunciationRow> pronunciationRows(std::string_view caption,
                                                const std::u16string& symbols,
                                                const std::vector<std::string>& explainLines);

// The weak form a function word leads with in the table (of əv, to tə, and ənd), as stored
// symbols; empty for a word that leads with its strong form or is not in the table. Within
// a phrase such a word is unstressed: a learner's dictionary prints it weak (point of view
// ˌpɔint əv ˈvjuː).
std::u16string leadingWeakForm(std::string_view word);

}  // namespace quorvi::dictbuild
