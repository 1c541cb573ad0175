// The passphrase every dictionary file is keyed with: the window, quorvi-dict and the
// dictionary builder all open and write words.db under it.
#pragma once

#include <string_view>

namespace quorvi {

inline constexpr std::string_view kDictionaryPassphrase = "harbor_lanternfish_sonatina";

}  // namespace quorvi
