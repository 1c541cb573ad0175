#pragma once
// Where the machine says s and British learner's dictionaries print z, or the other way, and
// something besides the letters tells which:
//  - a word made from a stem by a suffix is said with its stem's voicing: the machine reads
//    the s of resist as z but that of resistor as s; the books print z in both. Only a stem
//    with one reading (not use, close, house) gives its voicing;
//  - a name in -as after a consonant ends əs (Lucas ˈluːkəs, Judas ˈdʒuːdəs), where the
//    machine reads the ending as a plural's əz; a row that is a plural (Dakotas) keeps it.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvi::dictbuild {

// The headword `caption` is made from by a suffix that leaves the stem as it is spelled
// ("resist" for "resistor", "resistance"), when the stem holds an s; empty otherwise.
std::string voicingStemOf(const std::string& caption,
                          const std::function<bool(const std::string&)>& isHeadword);

// `derivative` with the stem's voicing where the two readings differ only in one s or z
// within the stem's sounds (stress marks aside); none when they differ otherwise.
std::optional<std::u16string> withStemVoicing(const std::u16string& derivative,
                                              const std::u16string& stem);

// The reading of a name in -as with its ending said əs; `symbols` unchanged for any other row.
std::u16string withNameEndingAs(const std::string& caption,
                                const std::vector<std::string>& explainLines,
                                std::u16string symbols);

}  // namespace quorvi::dictbuild
