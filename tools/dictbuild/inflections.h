#pragma once
// Inflected forms a learner hears (went, children, cats, walked, walking, bigger ...), added
// as entries explained by their lemma ("past tense of walk").
#include <string>
#include <vector>

#include "wordnet_reader.h"

namespace quorvi::dictbuild {

// Regular forms of a lemma, by its spelling.
std::string pluralOf(const std::string& noun);
std::string thirdPersonOf(const std::string& verb);
std::string pastOf(const std::string& verb);
std::string presentParticipleOf(const std::string& verb);
std::string comparativeOf(const std::string& adjective);   // "" when the adjective takes "more"
std::string superlativeOf(const std::string& adjective);   // "" when the adjective takes "most"

// Adds the irregular forms of the exception lists for every lemma and the regular forms of
// lemmas with a frequency above zero. A form that already is a headword gets the line added
// to its explanation instead of a second row. Returns the number of rows added.
size_t addInflections(WordNetData& data);

}  // namespace quorvi::dictbuild
