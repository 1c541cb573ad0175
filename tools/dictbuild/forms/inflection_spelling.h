#pragma once
// How English spells the regular forms of a word: cats, boxes, cities; walked, stopped, tried;
// making, running; bigger, happiest.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

// Regular forms of a lemma, by its spelling.
std::string pluralOf(const std::string& noun);
std::string thirdPersonOf(const std::string& verb);
std::string pastOf(const std::string& verb);
std::string presentParticipleOf(const std::string& verb);
std::string comparativeOf(const std::string& adjective);  // "" when the adjective takes "more"
std::string superlativeOf(const std::string& adjective);  // "" when the adjective takes "most"

enum class WordForm { Plural, ThirdPerson, Past, PresentParticiple, Comparative, Superlative };

// The spellings a regular form may take, the rule's own first, then the ones a word list may
// attest instead or as well: radios and potatoes, travelled beside traveled, committed.
std::vector<std::string> spellingVariants(WordForm form, const std::string& lemma);

}  // namespace quorvi::dictbuild
