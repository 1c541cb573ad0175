#pragma once
// The explanation lines that say what a word form is ("past tense of go", "plural of use
// (noun)"): the forms stage writes them, the Chinese stage and the builder read the lemma they
// name, and verify checks that each names a headword.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

// The headword a word-form line names ("past tense of go" names go; a trailing sense in
// brackets and the Chinese after " / " are not part of it), or "" when the line is no
// word-form label.
std::string formLabelLemma(const std::string& line);

// Whether one of `lines` says the word is the plural of `lemma`: it opens with "plural of"
// and `lemma`, then ends or goes on after a space ("plural of thesis / thesis的复数").
bool labelsPluralOf(const std::vector<std::string>& lines, const std::string& lemma);

}  // namespace quorvi::dictbuild
