#pragma once
// Our transcriptions are British, and so are most of our learners' textbooks: where a word is
// spelled two ways, the British spelling ranks just before the American one (colour before
// color, centre before center, apologise before apologize, travelled before traveled), though
// film subtitles, which our spoken frequencies come from, use the American one more.
#include <string>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

class BritishWordList;

// The British spellings a plain British word list gives for `word`, one rewrite each (our ->
// or, re -> er, ise -> ize, ogue -> og, ence -> ense, one l more or less, ae/oe): only those
// the list has, and only when it lacks `word` itself (the list holds no American spellings,
// so a word both spell alike, for and four, is never rewritten).
std::vector<std::string> britishSpellingsOf(const std::string& word,
                                            const BritishWordList& british);

// Moves in the row order (`order`: entry numbers) every British spelling of an entry that
// comes after it to just before it; the rest keeps its order. Returns how many moved.
size_t placeBritishSpellingsFirst(const std::vector<DictEntry>& entries,
                                  const BritishWordList& british, std::vector<size_t>& order);

}  // namespace quorvi::dictbuild
