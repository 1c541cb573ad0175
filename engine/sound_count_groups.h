// The learner's rows, grouped by how many sounds their transcription holds: the one stored
// copy of what the learner's search reads, which the dictionary builder writes beside the
// blocks of the phonetic index (those hold only what the search by pattern reads and the
// headwords' text).
//
// The closest matches of a typed text are the rows of fewest sounds that hold it, so a search
// that wants only the first screenful (the typing path, a capped command-line search) can read
// the few small groups of the shortest rows instead of every row of the dictionary; the whole
// load reads them all and lays them out as one store (engine/sound_store.h). Each group keeps,
// in table order, what the learner's search reads of a row: its number in the index, the
// first row of its headword, whether the headword is a plain word and its sound codes. A row
// whose headword is NULL is in no group: the search never lists it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvi::engine {

// Keys in the index table: the directory, then group `count` (0..255) below it.
inline constexpr std::int64_t kSoundGroupDirectoryKey = -1;
inline constexpr std::int64_t soundGroupKey(int count) {
  return kSoundGroupDirectoryKey - 1 - count;
}

// The rows of one sound count.
class SoundCountGroup {
 public:
  void append(std::uint32_t row, std::uint32_t headword, bool plainWord, std::string_view codes);

  std::size_t size() const { return rows_.size(); }
  std::uint32_t row(std::size_t i) const { return rows_[i]; }
  std::uint32_t headword(std::size_t i) const { return headwords_[i]; }
  bool isPlainWord(std::size_t i) const { return plainWords_[i] != 0; }
  std::string_view codes(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : codeEnds_[i - 1];
    return std::string_view(codes_).substr(begin, codeEnds_[i] - begin);
  }

  std::string serialise(int count) const;
  // False unless `image` is a group of `count` sounds with `expectedRows` rows of an index of
  // `indexRows` rows, whose rows rise, whose headwords come no later than their rows and whose
  // codes hold `count` sounds.
  bool parse(std::string_view image, int count, std::uint32_t expectedRows,
             std::uint32_t indexRows);

 private:
  std::vector<std::uint32_t> rows_;
  std::vector<std::uint32_t> headwords_;
  std::vector<std::uint8_t> plainWords_;
  std::vector<std::uint32_t> codeEnds_;
  std::string codes_;
};

// How many rows each group holds, and how many rows the index has.
struct SoundGroupDirectory {
  std::uint32_t indexRows = 0;
  std::vector<std::uint32_t> groupRows = std::vector<std::uint32_t>(256, 0);

  std::string serialise() const;
  // False unless `image` is a directory of an index of `storedRows` rows (what the stored
  // row blocks hold): the searches lay memory out by its counts.
  bool parse(std::string_view image, std::uint32_t storedRows);
};

// True for a headword of lower-case letters only (no name, number, or phrase).
bool isPlainWordCaption(std::string_view caption);

// Every group, as the rows are read from the table, with its directory.
struct SoundGroups {
  SoundGroupDirectory directory;
  std::vector<SoundCountGroup> groups = std::vector<SoundCountGroup>(256);

  // Row `row` of the index, whose headword is `caption` and first row `headword`, in the group
  // of its count of sounds (marks aside, at most 255).
  void append(std::uint32_t row, std::uint32_t headword, std::string_view caption,
              std::string_view phonetic);
};

// The blobs to store for `groups`: the directory and each group that holds rows, with their
// keys.
std::vector<std::pair<std::int64_t, std::string>> soundGroupBlobs(const SoundGroups& groups);

}  // namespace quorvi::engine
