// Orders the headwords a spelling pattern found: the word equal to the pattern first, then
// words that start with it, then the rest; within each, plain lower-case words ahead of
// capitalised words and phrases, then the table's order. Each headword once. Text is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The text every match of `pattern` starts with when it is anchored ("^lond" gives "lond"),
// or that it plainly spells out; `whole` tells whether that text is all of the pattern.
std::string literalPrefix(const std::string& pattern, bool& whole);

// At most `limit` headwords (-1: all).
std::vector<std::string> rankSpellingMatches(const std::vector<std::string>& found,
                                             const std::string& pattern, std::ptrdiff_t limit);
