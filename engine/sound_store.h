// The rows of the learner's search by sound, in one store: every row that has a headword,
// ordered by how many sounds it holds and, within one count, in the table's order (the order
// of usefulness: the commonest words first). A directory says where each count starts, so a
// search visits the counts whose length bounds the cost least first and reads each from its
// start. Each row keeps its row number in the table, its sounds as one-byte tokens
// (sound::tokenize) and the kinds of sound it has (sound::kindsOf), so that a keystroke never
// decodes a row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quorvi::engine {

class SoundCountGroup;

class SoundStore {
 public:
  static constexpr int kMaxSoundCount = 255;

  // The rows of one sound count, in the table's order: place i is table row `rows[i]`.
  struct Count {
    std::span<const std::uint32_t> rows;
    const std::uint8_t* tokens = nullptr;
    std::span<const std::uint32_t> tokenStarts;  // rows.size() + 1 entries, or none
    std::span<const std::uint64_t> kinds;

    std::size_t size() const { return rows.size(); }
    std::span<const std::uint8_t> tokensOf(std::size_t i) const {
      return {tokens + tokenStarts[i], tokenStarts[i + 1] - tokenStarts[i]};
    }
  };

  SoundStore() = default;
  // Made from the groups by sound count: `groups[c]` holds the rows of c sounds (null: none).
  explicit SoundStore(std::span<const SoundCountGroup* const> groups);

  // The rows of `count` sounds; none for a count out of range.
  Count withCount(int count) const;
  // Rows in the store (those with a headword).
  std::size_t size() const { return rows_.size(); }

 private:
  // Count c holds places starts_[c] up to starts_[c + 1].
  std::array<std::uint32_t, kMaxSoundCount + 2> starts_{};
  std::vector<std::uint32_t> rows_;
  std::vector<std::uint8_t> tokens_;
  std::vector<std::uint32_t> tokenStarts_;  // size() + 1 entries once made
  std::vector<std::uint64_t> kinds_;
};

}  // namespace quorvi::engine
