#pragma once
// The irregular verbs of a learner's dictionary with their past tense and past participle,
// so that "went" reads "past tense of go" and "gone" "past participle of go".
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvi::dictbuild {

// A verb's past tense and past participle forms, alternatives in the table's order.
struct Principal {
  std::vector<std::string> past;
  std::vector<std::string> participle;
};

// Reads the table (data/irregular_verbs.tsv): base<TAB>past tense<TAB>past participle, the
// alternatives joined by commas. False with "line N: ..." at the first malformed line.
bool readIrregularVerbs(std::string_view text, std::unordered_map<std::string, Principal>& out,
                        std::string& error);

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
