// The one stored form of what the learner's searches read: the dictionary's rows grouped by
// how many sounds their transcription holds and, within a count, by their band of the table's
// order, which the dictionary builder writes into the table dict_search_index and the engine
// reads back, a group at a time, into its store of rows (engine/row_store.h).
//
// The closest matches of a typed text are the rows of fewest sounds that hold it, and the
// table's order is the order of usefulness (a later row needs to be closer to rank), so a
// search that wants only the first screenful reads the groups of the counts and bands that can
// still hold a row among the best; the whole store reads them all. Band 0 holds the table's
// first 1024 rows, band b the rows from 2^(b+9) up to 2^(b+10). Each group keeps, in table
// order, what the searches read of a row: its number among the rows the search statement
// reads, the first row of its headword, whether the headword is a plain word, its sounds as
// tokens (engine/sound_alignment.h) and its headword's text. A row whose headword is NULL is in
// no group, and takes no number: no search lists it.
//
// A row whose American transcription from a source (not one espeak-ng made) an American
// hearing of the British one would not give (americanAsBritish, engine/learner_input.h) is in
// the groups a second time, as its American
// entry: the same row number, headword and kind of word, the American sounds, no text of its
// own, and the place of the row's British entry in the store, whose text it shares. A search
// weighs both entries and keeps the row once, at the cheaper.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/group_memory.h"
#include "engine/sound_confusion_costs.h"

namespace quorvi::engine {

inline constexpr int kMaxSoundCount = 255;
inline constexpr int kMaxBands = 23;  // rows numbered below 2^32
inline constexpr int bandOf(std::uint32_t row) {
  return std::bit_width(row >> 10);
}
inline constexpr std::uint32_t bandStart(int band) {
  return band == 0 ? 0 : std::uint32_t{1024} << (band - 1);
}
// The bands a table of `rows` rows takes (at least one).
inline constexpr int bandsFor(std::uint32_t rows) {
  return rows == 0 ? 1 : bandOf(rows - 1) + 1;
}

// The table and its keys: the directory, and the group of `count` sounds (0..255) in `band`.
inline constexpr char kStoredRowsTable[] = "dict_search_index";
inline constexpr std::int64_t kSoundGroupDirectoryKey = -1;
inline constexpr std::int64_t soundGroupKey(int count, int band) {
  return kSoundGroupDirectoryKey - 1 - (std::int64_t{count} * kMaxBands + band);
}
// Changes whenever what is stored changes, so that dictionaries are built again.
inline constexpr int kStoredRowsFormat = 9;

// A group as the builder and a dictionary changed after its build make it: rows appended in
// table order, then written out as the image a SoundCountGroup reads.
class SoundGroupWriter {
 public:
  // Appends a row; `tokens` its sounds, at most sound::TypedSounds::kMaxRow of them.
  void append(std::uint32_t row, std::uint32_t headword, bool plainWord,
              std::span<const std::uint8_t> tokens, std::string_view caption);
  // Appends the American entry of a row: its British entry's place is set later
  // (setBritishPlaces), once every group's size is known.
  void appendAmerican(std::uint32_t row, std::uint32_t headword, bool plainWord,
                      std::span<const std::uint8_t> tokens);
  // Sets each American entry's British place from its row.
  template <typename PlaceOfRow>
  void setBritishPlaces(PlaceOfRow placeOfRow) {
    for (std::size_t k = 0; k < americanIndexes_.size(); ++k)
      britishPlaces_[k] = placeOfRow(rows_[americanIndexes_[k]]);
  }
  std::size_t size() const { return rows_.size(); }

  // The image of a group of `count` sounds: the four-byte columns first, then the byte ones.
  std::string serialise(int count) const;

 private:
  std::vector<std::uint32_t> rows_;
  std::vector<std::uint32_t> headwords_;
  std::vector<std::uint8_t> flags_;
  std::vector<std::uint32_t> tokenEnds_;
  std::vector<std::uint8_t> tokens_;
  std::vector<std::uint32_t> captionEnds_;
  std::string captions_;
  std::vector<std::uint32_t> americanIndexes_;
  std::vector<std::uint32_t> britishPlaces_;
};

// The rows of one sound count in one band, in table order, read from the image a
// SoundGroupWriter wrote, which the group keeps and reads in place. Once parsed it never
// changes, so any number of threads may read it.
class SoundCountGroup {
 public:
  static constexpr std::uint8_t kPlainWord = 1;
  static constexpr std::uint8_t kAmerican = 2;

  // The most memory parse takes besides the image: per entry, and in all for alignment.
  static constexpr std::size_t kTakenPerEntry = sizeof(std::uint32_t) + sizeof(std::uint8_t);
  static constexpr std::size_t kTakenBesides = 64;

  std::size_t size() const { return size_; }
  std::uint32_t row(std::size_t i) const { return word(rowsAt_, i); }
  std::uint32_t headword(std::size_t i) const { return word(headwordsAt_, i); }
  bool isPlainWord(std::size_t i) const { return (flag(i) & kPlainWord) != 0; }
  // The row's American entry, whose text is its British entry's.
  bool isAmerican(std::size_t i) const { return (flag(i) & kAmerican) != 0; }
  // The place in the store of the British entry of American entry `i`.
  std::uint32_t britishPlace(std::size_t i) const;
  // How many entries are American.
  std::size_t americanEntries() const { return americanIndexes_.size(); }
  std::span<const std::uint8_t> tokens(std::size_t i) const {
    const std::size_t begin = tokenBegin(i);
    return {reinterpret_cast<const std::uint8_t*>(image_) + tokensAt_ + begin,
            tokenBegin(i + 1) - begin};
  }
  // The kinds of sound the row has (sound::kindsOf), worked out once when read: a keystroke
  // reads them for every row it looks at, its tokens only for the few it weighs. Five bytes a
  // row: no row has the kind of no token (bit 0), and a letter of no sound (the last kind) is
  // said to be in every row, which no typed text holds and a bound may only take for more.
  std::uint64_t kinds(std::size_t i) const {
    return kOtherKind | (std::uint64_t{kindsHigh_[i]} << 33) | (std::uint64_t{kindsLow_[i]} << 1);
  }
  std::string_view caption(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : word(captionEndsAt_, i - 1);
    return {image_ + captionsAt_ + begin, word(captionEndsAt_, i) - begin};
  }

  // False (and empty) unless `image` is a group of `count` sounds with `expectedRows` entries,
  // each within `band` and below `tableRows`, whose rows rise (a row's American entry may
  // follow its British one), whose headwords come no later than their rows, whose tokens are
  // `count` sounds and whose American entries have no text of their own. The group reads the
  // image in place, and takes what it works out from `memory`, where a store's reader read the
  // image; the other form copies the image into memory of the group's own.
  bool parse(std::string_view image, int count, int band, std::uint32_t expectedRows,
             std::uint32_t tableRows, GroupMemory& memory);
  bool parse(std::string_view image, int count, int band, std::uint32_t expectedRows,
             std::uint32_t tableRows);

 private:
  std::uint32_t word(std::size_t at, std::size_t i) const {
    std::uint32_t value;
    std::memcpy(&value, image_ + at + i * sizeof value, sizeof value);
    return value;
  }
  std::uint8_t flag(std::size_t i) const { return static_cast<std::uint8_t>(image_[flagsAt_ + i]); }
  // Where row `i`'s tokens begin (row size() where the last ends): rows of a count below the
  // last hold exactly that many.
  std::size_t tokenBegin(std::size_t i) const {
    if (tokenEndsAt_ == 0) return i * static_cast<std::size_t>(count_);
    return i == 0 ? 0 : word(tokenEndsAt_, i - 1);
  }
  void clear();

  const char* image_ = nullptr;
  std::size_t size_ = 0;
  int count_ = 0;
  // Where each column starts in the image; no token ends unless the count is the last.
  std::size_t rowsAt_ = 0, headwordsAt_ = 0, captionEndsAt_ = 0, britishPlacesAt_ = 0,
              tokenEndsAt_ = 0, flagsAt_ = 0, tokensAt_ = 0, captionsAt_ = 0;
  static constexpr std::uint64_t kOtherKind = std::uint64_t{1} << sound::kOther;
  const std::uint32_t* kindsLow_ = nullptr;  // kinds 1 to 32
  const std::uint8_t* kindsHigh_ = nullptr;  // kinds 33 to 40
  // The memory of a group parsed on its own; a store's groups have theirs in the store.
  std::unique_ptr<GroupMemory> ownMemory_;
  // The American entries' indexes, rising.
  std::vector<std::uint32_t> americanIndexes_;
};

// How many rows the groups hold in all, how many American entries besides, and the entries of
// each group. The rows are numbered in the search statement's order (the table's), those
// without a headword passed over.
struct SoundGroupDirectory {
  // Bytes every entry takes in its group's image besides its tokens and its headword's text.
  static constexpr std::size_t kFixedRowBytes = 3 * sizeof(std::uint32_t) + 1;

  explicit SoundGroupDirectory(std::uint32_t rows = 0)
      : tableRows(rows),
        bands(bandsFor(rows)),
        groupRows(static_cast<std::size_t>(kMaxSoundCount + 1) * bands, 0) {}
  // The rows of `count` sounds in `band`.
  std::uint32_t& rowsOf(int count, int band) {
    return groupRows[static_cast<std::size_t>(count) * static_cast<std::size_t>(bands) +
                     static_cast<std::size_t>(band)];
  }
  std::uint32_t rowsOf(int count, int band) const {
    return const_cast<SoundGroupDirectory*>(this)->rowsOf(count, band);
  }

  std::uint32_t tableRows;
  std::uint32_t americanRows = 0;  // American entries
  int bands;
  std::vector<std::uint32_t> groupRows;  // entries by count, then band

  // Entries in all: places in the store.
  std::uint64_t entries() const { return std::uint64_t{tableRows} + americanRows; }

  std::string serialise() const;
  // False unless `image` is a directory whose groups add up to its count of entries, in the bands
  // that many rows take, and that no more than `storedBytes` (the dictionary file's size) can
  // hold: the store lays its memory out by these counts.
  bool parse(std::string_view image, double storedBytes);
};

// True for a headword of lower-case letters only (no name, number, or phrase).
bool isPlainWordCaption(std::string_view caption);

// The group of a row whose sounds are `tokens` (cut at sound::TypedSounds::kMaxRow): how many
// sounds it holds (a glide or affricate is one), at most kMaxSoundCount.
int soundCount(std::span<const std::uint8_t> tokens);

}  // namespace quorvi::engine
