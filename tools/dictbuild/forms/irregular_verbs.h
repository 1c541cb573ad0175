#pragma once
// The irregular verbs of a learner's dictionary with their past tense and past participle,
// so that "went" reads "past tense of go" and "gone" "past participle of go".
#include <optional>
#include <string>

namespace quorvi::dictbuild {

// Which past forms a spelling is for its verb.
struct PastSlots {
  bool pastTense = false;
  bool pastParticiple = false;
  bool operator==(const PastSlots&) const = default;
};

// The slots `form` fills for `verb` when the table knows the verb, directly or at the end of
// a compound (overtake: over + take, took, taken; ghostwrite: ghostwrote, ghostwritten) and
// the form is the same compound; nothing when the table does not know the pair.
std::optional<PastSlots> irregularPastSlots(const std::string& form, const std::string& verb);

// Whether the table knows the verb, directly or (with `behindPrefix`) behind a prefix: its
// "-ed" form is then a real form only where the table lists it (dreamed, showed; never
// "goed", "seed" of see, "putted" of put).
bool isIrregularVerb(const std::string& verb, bool behindPrefix = true);

}  // namespace quorvi::dictbuild
