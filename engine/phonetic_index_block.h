// The rows of the phonetic index in their compact form: a catalog of symbols and blocks of
// rows, each of which can be written into the dictionary as one blob and read back as it was.
//
// A transcription of printable ASCII without capitals is kept as a string of one-byte symbol
// ids (a reference "&#digits;" or any other byte is one symbol), in which a piece of a pattern
// occurs exactly where its text occurs in the transcription. Any other is kept as stored.
//
// Each row also carries its headword's text. What the learner's search by sound reads of a
// row is stored apart, grouped by sound count (engine/sound_count_groups.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvi::engine {

// Calls `onSymbol` with every symbol of stored notation: a reference "&#digits;" is one
// symbol, any other byte is a symbol of its own.
template <typename OnSymbol>
void forEachSymbol(std::string_view text, OnSymbol onSymbol) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i + 1;
    if (text[i] == '&' && i + 2 < text.size() && text[i + 1] == '#' && isDigit(text[i + 2])) {
      size_t j = i + 2;
      while (j < text.size() && isDigit(text[j])) ++j;
      if (j < text.size() && text[j] == ';') end = j + 1;
    }
    onSymbol(text.substr(i, end - i));
    i = end;
  }
}

// Symbol ids in the order first seen; at most kMaxSymbols kinds.
class SymbolCatalog {
 public:
  static constexpr int kMaxSymbols = 255;
  static constexpr size_t kMaxSymbolBytes = 255;

  int find(std::string_view symbol) const;  // -1: unknown
  int add(std::string_view symbol);         // -1 once all ids are taken
  int size() const { return static_cast<int>(texts_.size()); }
  const std::string& text(int id) const { return texts_[static_cast<size_t>(id)]; }

  std::string serialise(std::uint32_t rowCount, std::uint32_t blockRows) const;
  // False when `image` is not a catalog this version wrote.
  bool parse(std::string_view image, std::uint32_t& rowCount, std::uint32_t& blockRows);

 private:
  std::vector<std::string> texts_;
  std::unordered_map<std::string, int> ids_;
};

// The learner's facts of every row of an index, one column each, in row order.
struct RowFactColumns {
  static constexpr std::uint8_t kPlainWord = 1;  // flags: lower-case letters only
  static constexpr std::uint8_t kNoCaption = 2;  // flags: a NULL headword, in no group
  std::vector<std::uint32_t> headwords;          // the first row with the same headword
  std::vector<std::uint8_t> flags;
};

// The parts of the stored rows, each of which can be read on its own: what the search by
// pattern reads and the headwords, the two parts of a block, and the learner's rows, stored
// apart by sound count.
enum BlockPart : unsigned {
  kPatternPart = 1,
  kCaptionPart = 2,
  kBlockParts = 3,
  kSoundPart = 4,
  kAllParts = 7,
};

// Where a block's image is read from: `count` bytes at `offset`.
class BlockSource {
 public:
  virtual ~BlockSource() = default;
  virtual size_t size() const = 0;
  virtual bool read(void* to, size_t count, size_t offset) = 0;
};

// One block of consecutive rows.
class IndexBlock {
 public:
  static constexpr std::uint32_t kRawText = 0x80000000u;  // flag in textEnds_: stored text
  // Bytes every row takes in a block's image besides its texts: a stored count of rows that
  // needs more than the images hold is not to be believed.
  static constexpr std::size_t kFixedRowBytes =
      sizeof(std::uint32_t) + (sizeof(std::uint64_t) + sizeof(std::uint32_t));

  // A block to append rows to (both parts there), or one to read `parts` of (none yet).
  IndexBlock() = default;
  explicit IndexBlock(unsigned parts) : parts_(parts) {}

  // Appends a row; `caption` stops at its first NUL as the statement's text does.
  void append(std::string_view caption, std::string_view phonetic, SymbolCatalog& catalog);

  size_t rows() const { return rows_; }
  // The parts read (BlockPart bits); a block being appended to has all of them.
  unsigned parts() const { return parts_; }
  // Bit min(id, 63) for every symbol present; all ones for stored text.
  std::uint64_t signature(size_t row) const { return signatures_[row]; }
  bool isRawText(size_t row) const { return (textEnds_[row] & kRawText) != 0; }
  // Symbol ids, or the stored text when isRawText.
  std::string_view text(size_t row) const { return slice(text_, textEnds_, row, kRawText); }
  std::string_view caption(size_t row) const { return slice(captions_, captionEnds_, row, 0); }
  // The transcription as stored.
  std::string transcription(size_t row, const SymbolCatalog& catalog) const;

  std::string serialise() const;
  // Reads the `parts` (of kBlockParts) not read yet from `source`, each straight into place.
  // False when the image is not a block this version wrote or holds ids unknown to `catalog`.
  // A part that fails is left unread.
  bool read(BlockSource& source, unsigned parts, const SymbolCatalog& catalog);
  // read() of both parts from a whole image.
  bool parse(std::string_view image, const SymbolCatalog& catalog);

 private:
  struct Layout;
  static std::string_view slice(const std::string& bytes, const std::vector<std::uint32_t>& ends,
                                size_t row, std::uint32_t flag) {
    const std::uint32_t begin = row == 0 ? 0 : ends[row - 1] & ~flag;
    return std::string_view(bytes).substr(begin, (ends[row] & ~flag) - begin);
  }
  bool checkEnds(const std::vector<std::uint32_t>& ends, size_t total, std::uint32_t flag) const;
  bool readPattern(BlockSource& source, const Layout& layout, const SymbolCatalog& catalog);
  bool readCaptions(BlockSource& source, const Layout& layout);

  size_t rows_ = 0;
  unsigned parts_ = kBlockParts;
  // kPatternPart
  std::vector<std::uint64_t> signatures_;
  std::vector<std::uint32_t> textEnds_;
  std::string text_;
  // kCaptionPart
  std::vector<std::uint32_t> captionEnds_;
  std::string captions_;
};

}  // namespace quorvi::engine
