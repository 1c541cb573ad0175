// Every headword of the dictionary in memory, for checking many words at once (an import):
// whether a word is a headword, its spelling in the dictionary when typed in another letter
// case, and a headword spelled almost so when it is none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;

namespace quorvi::learner {

class HeadwordSpellings {
 public:
  // Reads the headwords of the open dictionary `dictionary` in the table's order (the more
  // common first). `error` is set when they cannot be read.
  HeadwordSpellings(sqlite3* dictionary, std::string& error);
  // From a list, for tests and tools: the same rules over `headwords`, in their order.
  explicit HeadwordSpellings(const std::vector<std::string>& headwords);

  // The dictionary's spelling of `word`: itself when it is a headword; else the headword it
  // is in another letter case (london, LONDON: London), the all lower-case one among several
  // (CHURCH: church), else the most common; nullopt when none.
  std::optional<std::string> spellingOf(std::string_view word) const;

  // A headword at most two typing slips (a letter missed, added, changed, or two swapped) from
  // `word`, the fewest slips first, then the most common; empty when none.
  std::string closeSpelling(std::string_view word) const;

  std::size_t size() const { return starts_.size(); }

 private:
  void add(std::string_view headword);
  std::string_view headword(std::uint32_t index) const;

  std::string text_;                   // every headword, one after another
  std::vector<std::uint32_t> starts_;  // where each begins in text_ (one past: the next start)
  std::vector<std::uint32_t> ends_;
  // By the headword in lower case: the first of them, then the next of the same (-1: none).
  std::unordered_map<std::string, std::uint32_t> byLowerCase_;
  std::vector<std::int32_t> nextSameCase_;
};

}  // namespace quorvi::learner
