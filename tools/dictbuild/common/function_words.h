#pragma once
// The grammatical words WordNet leaves out (the, of, she, because, would ...), with short
// explanations. They are the most frequent words of English and rank first.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

std::vector<DictEntry> functionWords();

// Reads the table (data/function_words.tsv): word<TAB>explanation, lines separated by "|", in
// the order that ranks them. False with "line N: ..." at the first malformed line.
bool readFunctionWords(std::string_view text, std::vector<std::pair<std::string, std::string>>& out,
                       std::string& error);

// Adds the function words: a word WordNet already has gets the grammatical lines first and
// the higher rank; the others become rows of their own.
void addFunctionWords(std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
