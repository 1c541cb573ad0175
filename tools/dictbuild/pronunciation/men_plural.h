#pragma once
// The plural of a compound in -man sounds like its singular in a learner's dictionary
// (policemen pəˈliːsmən, Frenchmen ˈfrentʃmən): the ending is unstressed mən in both, where a
// reading from the spelling says -men.
#include <functional>
#include <string>
#include <vector>

namespace quorvi::dictbuild {

// The singular whose reading the entry `caption` takes: "policeman" for "policemen" when the
// entry's lines call it the plural of that headword; empty otherwise (men itself, women).
std::string menPluralSingular(const std::string& caption,
                              const std::vector<std::string>& explainLines,
                              const std::function<bool(const std::string&)>& isHeadword);

// True when a reading ends in an unstressed mən, which the plural may share.
bool endsInUnstressedMan(const std::u16string& symbols);

}  // namespace quorvi::dictbuild
