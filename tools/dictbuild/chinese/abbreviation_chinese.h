#pragma once
// The Chinese of an abbreviation a learner hears said as the word it stands for (Ms, Jr, Mt):
// the spoken-form table's own Chinese line opens it in place of the sources' lines of another
// sense or expansion (Jr: 冯内果, sr.: 〈外(=Senhor)), and its senses read letter by letter (the
// element Sr, strontium) are set apart, with their Chinese, for a row of their own.
#include <cstddef>
#include <string>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// Whether a line belongs to a sense said letter by letter: a Chinese line naming an element or
// an acronym's expansion in any item ("锶Sr；锶(38号元素)"), or a sense whose gloss names a
// chemical element ("n. a radioactive transuranic element").
bool isLetterReadSense(const std::string& line);

// Gives each table word with Chinese of its own (spoken_form_table.h), and its spelling with a
// full stop (Ms., jr.), that line first; it replaces the sources' lines holding Chinese (but
// form labels) of no letter-read sense, with the "同 X" line after them. Returns the rows
// changed.
size_t giveAbbreviationsTheirChinese(std::vector<DictEntry>& entries);

// Moves the letter-read lines of each row said as a word (DictEntry::saidAsWord) into its
// `letterReadLines`, a "同 X" line with the line before it. A row left with nothing else keeps
// all its lines and the speech synthesiser's reading. Returns the rows that gave some.
size_t separateLetterReadSenses(std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
