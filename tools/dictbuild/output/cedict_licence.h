#pragma once
// The licence note of CC-CEDICT, whose words the dictionary's Chinese lines come from; it
// lies beside the dictionary as dict/LICENSE-CC-CEDICT.txt while the dictionary holds them.
#include <string>

namespace quorvi::dictbuild {

inline constexpr char kCedictLicenceFile[] = "LICENSE-CC-CEDICT.txt";

std::string cedictLicenceText();

// Writes the note into dictDir (or removes it when `used` is false). False with a message
// when the folder cannot be written.
bool updateCedictLicence(const std::string& dictDir, bool used, std::string& error);

// The same for ECDICT (MIT licence), whose translations and learner levels the entries carry:
// dict/LICENSE-ECDICT.txt.
inline constexpr char kEcdictLicenceFile[] = "LICENSE-ECDICT.txt";
std::string ecdictLicenceText();
bool updateEcdictLicence(const std::string& dictDir, bool used, std::string& error);

}  // namespace quorvi::dictbuild
