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
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
inline constexpr int kStoredRowsFormat = 8;

// The rows of one sound count in one band, in table order. Once parsed it never changes, so any
// number of threads may read it.
class SoundCountGroup {
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
  std::uint32_t row(std::size_t i) const { return rows_[i]; }
  std::uint32_t headword(std::size_t i) const { return headwords_[i]; }
  bool isPlainWord(std::size_t i) const { return (plainWords_[i] & kPlainWord) != 0; }
  // The row's American entry, whose text is its British entry's.
  bool isAmerican(std::size_t i) const { return (plainWords_[i] & kAmerican) != 0; }
  // The place in the store of the British entry of American entry `i`.
  std::uint32_t britishPlace(std::size_t i) const;
  // How many entries are American.
  std::size_t americanEntries() const { return americanIndexes_.size(); }
  std::span<const std::uint8_t> tokens(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : tokenEnds_[i - 1];
    return std::span<const std::uint8_t>(tokens_).subspan(begin, tokenEnds_[i] - begin);
  }
  // The kinds of sound the row has (sound::kindsOf), worked out once when read: a keystroke
  // reads them for every row it looks at, its tokens only for the few it weighs.
  std::uint64_t kinds(std::size_t i) const { return kinds_[i]; }
  std::string_view caption(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : captionEnds_[i - 1];
    return std::string_view(captions_).substr(begin, captionEnds_[i] - begin);
  }

  std::string serialise(int count) const;
  // False (and empty) unless `image` is a group of `count` sounds with `expectedRows` entries,
  // each within `band` and below `tableRows`, whose rows rise (a row's American entry may
  // follow its British one), whose headwords come no later than their rows, whose tokens are
  // `count` sounds and whose American entries have no text of their own.
  bool parse(std::string_view image, int count, int band, std::uint32_t expectedRows,
             std::uint32_t tableRows);

 private:
  static constexpr std::uint8_t kPlainWord = 1;
  static constexpr std::uint8_t kAmerican = 2;

  std::vector<std::uint32_t> rows_;
  std::vector<std::uint32_t> headwords_;
  std::vector<std::uint8_t> plainWords_;
  std::vector<std::uint32_t> tokenEnds_;
  std::vector<std::uint8_t> tokens_;
  std::vector<std::uint32_t> captionEnds_;
  std::string captions_;
  std::vector<std::uint64_t> kinds_;
  // The American entries' indexes, rising, and their British entries' places.
  std::vector<std::uint32_t> americanIndexes_;
  std::vector<std::uint32_t> britishPlaces_;
};

// How many rows the groups hold in all, how many American entries besides, and the entries of
// each group. The rows are numbered in the search statement's order (the table's), those
// without a headword passed over.
struct SoundGroupDirectory {
  // Bytes every entry takes in its group's image besides its tokens and its headword's text.
  static constexpr std::size_t kFixedRowBytes = 4 * sizeof(std::uint32_t) + 1;

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
  // that many rows take, and that no more than `storedBytes` (what the stored groups take) can
  // hold: the store lays its memory out by these counts.
  bool parse(std::string_view image, double storedBytes);
};

// True for a headword of lower-case letters only (no name, number, or phrase).
bool isPlainWordCaption(std::string_view caption);

// The group of a row whose sounds are `tokens` (cut at sound::TypedSounds::kMaxRow): how many
// sounds it holds (a glide or affricate is one), at most kMaxSoundCount.
int soundCount(std::span<const std::uint8_t> tokens);

}  // namespace quorvi::engine
