#pragma once
// Case folding of English words (ASCII letters only; other bytes stay as they are).
#include <cctype>
#include <string>

namespace quorvi::dictbuild {

inline std::string lowerAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

inline bool startsCapitalised(const std::string& word) {
  return !word.empty() && std::isupper(static_cast<unsigned char>(word[0]));
}

}  // namespace quorvi::dictbuild
