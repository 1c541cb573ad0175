// The rows of the dictionary that the concurrency test writes and its readers check: every row
// of one version carries that version, so a reader can tell a consistent snapshot from a torn
// one or from rows that decrypted into something else.
#pragma once

#include <cstddef>
#include <string>

namespace quorvi::testing {

inline constexpr int kConcurrentRows = 400;
inline constexpr char kConcurrentKey[] = "harbor_lanternfish_sonatina";
inline constexpr char kConcurrentNewKey[] = "a different passphrase";

inline std::string concurrentCaption(int id) { return "word" + std::to_string(id); }
inline std::string concurrentExplain(int id, int version) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict, an impossible overlap
  // inside char_traits) about the same text built as one chain of operator+.
  std::string text = "v";
  text += std::to_string(version);
  text += " row ";
  text += std::to_string(id);
  text += ' ';
  text.append(static_cast<std::size_t>(60 + id % 50), static_cast<char>('a' + id % 26));
  return text;
}

}  // namespace quorvi::testing
