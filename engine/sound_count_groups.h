// The one stored form of what the learner's searches read: the dictionary's rows grouped by
// how many sounds their transcription holds, which the dictionary builder writes into the
// table dict_search_index and the engine reads back, a group at a time, into its store of rows
// (engine/row_store.h).
//
// The closest matches of a typed text are the rows of fewest sounds that hold it, so a search
// that wants only the first screenful reads the few small groups of the shortest rows; the
// whole store reads them all. Each group keeps, in table order, what the searches read of a
// row: its number among the rows the search statement reads, the first row of its headword,
// whether the headword is a plain word, its sounds as tokens (engine/sound_alignment.h) and its
// headword's text. A row whose headword is NULL is in no group: no search lists it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::engine {

// The table and its keys: the directory, and the group of `count` sounds (0..255).
inline constexpr char kStoredRowsTable[] = "dict_search_index";
inline constexpr std::int64_t kSoundGroupDirectoryKey = -1;
inline constexpr std::int64_t soundGroupKey(int count) {
  return kSoundGroupDirectoryKey - 1 - count;
}
inline constexpr int kMaxSoundCount = 255;
// Changes whenever what is stored changes, so that dictionaries are built again.
inline constexpr int kStoredRowsFormat = 5;

// The rows of one sound count, in table order. Once parsed it never changes, so any number of
// threads may read it.
class SoundCountGroup {
 public:
  // Appends a row; `tokens` its sounds, at most sound::TypedSounds::kMaxRow of them.
  void append(std::uint32_t row, std::uint32_t headword, bool plainWord,
              std::span<const std::uint8_t> tokens, std::string_view caption);

  std::size_t size() const { return rows_.size(); }
  std::uint32_t row(std::size_t i) const { return rows_[i]; }
  std::uint32_t headword(std::size_t i) const { return headwords_[i]; }
  bool isPlainWord(std::size_t i) const { return plainWords_[i] != 0; }
  std::span<const std::uint8_t> tokens(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : tokenEnds_[i - 1];
    return std::span<const std::uint8_t>(tokens_).subspan(begin, tokenEnds_[i] - begin);
  }
  // The kinds of sound the row has (sound::kindsOf), worked out once when read.
  std::uint64_t kinds(std::size_t i) const { return kinds_[i]; }
  std::string_view caption(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : captionEnds_[i - 1];
    return std::string_view(captions_).substr(begin, captionEnds_[i] - begin);
  }

  std::string serialise(int count) const;
  // False (and empty) unless `image` is a group of `count` sounds with `expectedRows` rows of
  // `tableRows` rows in all, whose rows rise, whose headwords come no later than their rows
  // and whose tokens are sounds adding up to `count`.
  bool parse(std::string_view image, int count, std::uint32_t expectedRows,
             std::uint32_t tableRows);

 private:
  std::vector<std::uint32_t> rows_;
  std::vector<std::uint32_t> headwords_;
  std::vector<std::uint8_t> plainWords_;
  std::vector<std::uint32_t> tokenEnds_;
  std::vector<std::uint8_t> tokens_;
  std::vector<std::uint32_t> captionEnds_;
  std::string captions_;
  std::vector<std::uint64_t> kinds_;
};

// How many rows the groups hold in all, and each of them. The rows are numbered in the search
// statement's order (the table's), those without a headword passed over.
struct SoundGroupDirectory {
  // Bytes every row takes in its group's image besides its tokens and its headword's text.
  static constexpr std::size_t kFixedRowBytes = 4 * sizeof(std::uint32_t) + 1;

  std::uint32_t tableRows = 0;
  std::vector<std::uint32_t> groupRows = std::vector<std::uint32_t>(kMaxSoundCount + 1, 0);

  std::string serialise() const;
  // False unless `image` is a directory whose groups add up to its count of rows, and that no
  // more than `storedBytes` (what the stored groups take) can hold: the store lays its memory
  // out by these counts.
  bool parse(std::string_view image, double storedBytes);
};

// True for a headword of lower-case letters only (no name, number, or phrase).
bool isPlainWordCaption(std::string_view caption);

// The group of a row whose sounds are `tokens` (cut at sound::TypedSounds::kMaxRow): how many
// sounds it holds, a glide or affricate counting two, at most kMaxSoundCount.
int soundCount(std::span<const std::uint8_t> tokens);

}  // namespace quorvi::engine
