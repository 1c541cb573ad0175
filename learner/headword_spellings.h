// Every headword of the dictionary in memory, for checking many words at once (an import):
// whether a word is a headword, its spelling in the dictionary when typed in another letter
// case, and a headword spelled almost so when it is none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace quorvi::learner {

class HeadwordSpellings {
 public:
  // Reads the headwords of the open dictionary `dictionary` in the table's order (the more
  // common first). `error` is set when they cannot be read.
  HeadwordSpellings(sqlite3* dictionary, std::string& error);
  // The same rules over `headwords`, in their order (tests, tools).
  explicit HeadwordSpellings(const std::vector<std::string>& headwords);

  // The dictionary's spelling of `word`: itself when it is a headword; else the headword it
  // is in another letter case (london, LONDON: London), the all lower-case one among several
  // (CHURCH: church), else the most common; nullopt when none. find() gives its number,
  // spelling() the spelling of a number.
  std::optional<std::uint32_t> find(std::string_view word) const;
  std::string_view spelling(std::uint32_t index) const;
  std::optional<std::string> spellingOf(std::string_view word) const;

  // A headword at most two typing slips (a letter missed, added, changed, or two swapped) from
  // `word`, the fewest slips first, then the most common; empty when none.
  std::string closeSpelling(std::string_view word) const;

  // How many different headwords there are, and how many numbers find() may give.
  std::size_t size() const { return unique_.size(); }
  std::size_t rows() const { return starts_.empty() ? 0 : starts_.size() - 1; }

 private:
  void makeIndex();
  std::string_view lowerSpelling(std::uint32_t index) const;
  // The slot of `lowered` in slots_: where its first headword's number is, or the empty slot
  // where it would go.
  std::size_t slotOf(std::string_view lowered, std::size_t hash) const;

  std::string text_;                   // every row's headword, one after another
  std::string lowerText_;              // the same in lower case
  std::vector<std::uint32_t> starts_;  // where each begins; one more at the end
  std::vector<std::uint32_t> unique_;  // each headword once, in order
  // By the headword in lower case (open addressing, a power of two at least twice the rows):
  // the number of the first of them, kEmpty for none; then the next of the same (-1: none).
  // Each slot keeps some bits of its key's hash, so that most other keys are passed over
  // without comparing text.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  struct Slot {
    std::uint32_t first = kEmpty;
    std::uint32_t hash = 0;
  };
  std::vector<Slot> slots_;
  std::vector<std::int32_t> nextSameCase_;
};

}  // namespace quorvi::learner
