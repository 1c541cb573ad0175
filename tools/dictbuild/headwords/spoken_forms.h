#pragma once
// The words of speech that no written dictionary lists as headwords: contractions (I'm,
// you'll, hadn't), spoken forms (gonna, dunno, tellin'), interjections (hey, huh, whoa),
// titles said aloud (Mr, Dr, St) and old forms met in films and songs (thee, thy, hath).
// Each says what it stands for and how it is used.
#include <string>
#include <string_view>
#include <vector>

#include "dict_entry.h"
#include "spoken_form_table.h"

namespace quorvi::dictbuild {

// The explanation of a dropped-g spoken form ("tellin" for "telling"), or "" when `word`
// is not one: it must end in "in" and `full` (word + "g") must be a known word.
std::vector<std::string> droppedGExplanation(const std::string& word, const std::string& full);

// Adds the everyday phrases and interjections a learner hears ("you know", "no worries",
// "cheers": thank you), each opening with its Chinese line, its English gloss next, and its
// British reading written by hand. A word already in gets them in front of its own lines
// (in place of a line of Chinese equivalents only). Returns the number of rows added.
size_t addHeardPhrases(std::vector<DictEntry>& entries);

// Reads a table of such phrases (data/heard_phrases.tsv): lines "phrase<TAB>gloss<TAB>Chinese
// <TAB>reading", blank lines and "#" comments passed over. False with the line and the reason
// at the first line that is not of that form.
bool readHeardPhrases(std::string_view text, std::vector<DictEntry>& out, std::string& error);

// Adds the table's words that are not headwords yet. Returns the number of rows added.
size_t addSpokenForms(std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
