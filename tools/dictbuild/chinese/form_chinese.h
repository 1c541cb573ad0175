#pragma once
// A row that is only a form of other words ("breakings": its labels, Chinese lines and perhaps
// a warning) shows its lemma's Chinese as the lemma's own row shows it, never lines of its own
// that the lemma's row has not. Run after every step that writes Chinese lines.
#include <cstddef>
#include <string>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

// A line of Chinese equivalents ("n. 猫；猫科动物", "保重；当心"), not an English sense with a
// Chinese label ("n. [vulgar 粗俗] slang for ..."), a form label or the learner levels.
bool isChineseMeaningLine(const std::string& line);

// Gives each form row whose Chinese its lemma's row lacks the lemma's lines of the form's part
// of speech (the noun's for a plural, the verb's for a verb form, the adjective's for a
// comparative), else the lemma's lines that name none; none when no line fits. A lemma with
// no Chinese leaves the form's own. A form row with senses of its own and no Chinese at all
// keeps its senses after the lemma's lines. Returns the rows changed.
size_t giveFormsTheirLemmasChinese(std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
