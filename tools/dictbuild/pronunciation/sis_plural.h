#pragma once
// The plural of a noun in -sis ends in siːz in a learner's dictionary (analyses
// əˈnæləsiːz, crises ˈkraisiːz): its singular's reading with the last syllable lengthened and
// voiced, where a reading from the spelling takes the verb's sound (analyses ˈænəlaiziz).
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvi::dictbuild {

// The singular whose reading the entry `caption` takes: "analysis" for "analyses" when the
// entry's lines call it the plural of that headword; empty otherwise.
std::string sisPluralSingular(const std::string& caption,
                              const std::vector<std::string>& explainLines,
                              const std::function<bool(const std::string&)>& isHeadword);

// The plural's reading from the singular's: its final sis said siːz; none when the singular's
// reading does not end in sis.
std::optional<std::u16string> sisPluralReading(const std::u16string& singular);

}  // namespace quorvi::dictbuild
