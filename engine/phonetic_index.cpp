#include "engine/phonetic_index.h"
#include "engine/pieces_in_order.h"
#include "engine/sound_code.h"

#include <sqlite3.h>

#include "regexp/regexp_dialect.h"

#include <algorithm>
#include <bit>

using quorvi::engine::IndexBlock;

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Splits a pattern of pieces each followed by ".*" into the pieces. False for any other form.
bool splitPattern(std::string_view pattern, std::vector<std::string_view>& pieces) {
  while (!pattern.empty()) {
    const size_t wildcard = pattern.find(".*");
    if (wildcard == 0 || wildcard == std::string_view::npos) return false;
    const std::string_view piece = pattern.substr(0, wildcard);
    for (char c : piece) {
      const bool allowed = (c >= 'a' && c <= 'z') || isDigit(c) || c == '&' || c == '#' || c == ';';
      if (!allowed) return false;
    }
    pieces.push_back(piece);
    pattern.remove_prefix(wildcard + 2);
  }
  return !pieces.empty();
}

// The pattern compiled and matched as the REGEXP module does it (its options and its bounds on
// one match), on first use.
class CompiledPattern {
 public:
  explicit CompiledPattern(std::string_view pattern) : pattern_(pattern) {}
  ~CompiledPattern() {
    pcre2_match_context_free(context_);
    pcre2_match_data_free(data_);
    pcre2_code_free(code_);
  }
  bool matches(std::string_view value) {
    if (code_ == nullptr) {
      int errorCode = 0;
      PCRE2_SIZE errorOffset = 0;
      code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(),
                            quorvi::regexp::kCompileOptions, &errorCode, &errorOffset, nullptr);
      if (code_ == nullptr) return false;
      data_ = pcre2_match_data_create(1, nullptr);
      context_ = pcre2_match_context_create(nullptr);
      if (context_ != nullptr) quorvi::regexp::applyMatchLimits(context_);
    }
    const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(value.data()), value.size(), 0,
                               0, data_, context_);
    if (quorvi::regexp::reachedMatchLimit(rc)) reachedLimit_ = true;
    return rc >= 0;
  }
  // True once a match was stopped by a bound: the module would end the statement there.
  bool reachedLimit() const { return reachedLimit_; }

 private:
  std::string_view pattern_;
  pcre2_code* code_ = nullptr;
  pcre2_match_data* data_ = nullptr;
  pcre2_match_context* context_ = nullptr;
  bool reachedLimit_ = false;
};

// The pattern as symbol ids, and the signature bits a plain row needs to match it.
struct PlainPieces {
  std::vector<std::string> pieces;
  std::uint64_t required = 0;
  bool possible = true;  // false: a symbol no plain row holds rules out every plain row
};

PlainPieces toSymbolIds(const std::vector<std::string_view>& textPieces,
                        const quorvi::engine::SymbolCatalog& catalog) {
  PlainPieces plain;
  plain.pieces.resize(textPieces.size());
  for (size_t p = 0; p < textPieces.size(); ++p)
    quorvi::engine::forEachSymbol(textPieces[p], [&](std::string_view symbol) {
      const int id = catalog.find(symbol);
      if (id < 0) {
        plain.possible = false;
        return;
      }
      plain.pieces[p].push_back(static_cast<char>(id));
      plain.required |= std::uint64_t{1} << (id < 63 ? id : 63);
    });
  return plain;
}

// Appends the matching rows of one block; false once `limit` rows are found.
bool searchBlock(const IndexBlock& block, const PlainPieces& plain, CompiledPattern& compiled,
                 int limit, int& found, QStringList& results) {
  for (size_t row = 0; row < block.rows(); ++row) {
    if ((block.signature(row) & plain.required) != plain.required) continue;
    const bool match = block.isRawText(row)
                           ? compiled.matches(block.text(row))
                           : plain.possible && holdsInOrder(block.text(row), plain.pieces);
    if (compiled.reachedLimit()) return false;
    if (!match) continue;
    const std::string_view caption = block.caption(row);
    results.append(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    if (++found == limit) return false;
  }
  return true;
}

}  // namespace

PhoneticIndex::~PhoneticIndex() = default;

QString PhoneticIndex::caption(size_t row) const {
  const std::string_view text = captionUtf8(row);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void PhoneticIndex::setBlockRows(std::uint32_t blockRows) {
  blockRows_ = blockRows;
  blockShift_ = static_cast<unsigned>(std::countr_zero(blockRows));
}

bool PhoneticIndex::openStored(sqlite3* db) {
  std::uint32_t rowCount = 0, blockRows = 0;
  if (!stored_.open(db, image_.catalog, rowCount, blockRows)) return false;
  {
    const std::lock_guard<std::mutex> lock(groupMutex_);
    if (!groups_.open(db, rowCount)) {
      stored_.close();
      return false;
    }
  }
  image_.rowCount = rowCount;
  builtFromRows_ = false;
  setBlockRows(blockRows);  // a power of two, or the catalog is refused
  const size_t blocks = (size_t{rowCount} + blockRows - 1) / blockRows;
  image_.blocks.assign(blocks, IndexBlock(0));
  blocksRead_ = 0;
  return loaded_ = true;
}

bool PhoneticIndex::load(sqlite3* db) {
  return openStored(db) || loadFromRows(db);
}

bool PhoneticIndex::loadFromRows(sqlite3* db, const std::atomic<bool>* stop) {
  image_ = quorvi::engine::IndexImage();
  builtFromRows_ = true;
  setBlockRows(quorvi::engine::kIndexBlockRows);
  if (!quorvi::engine::buildIndexFromRows(db, image_, stop)) return false;
  blocksRead_ = image_.blocks.size();
  if (!makeStore(stop)) return false;
  return loaded_ = true;
}

bool PhoneticIndex::ensureBlock(size_t number, unsigned parts) {
  const std::lock_guard<std::mutex> lock(blockMutex_);
  IndexBlock& block = image_.blocks[number];
  if ((block.parts() & parts) == parts) return true;
  const size_t first = number * blockRows_;
  const size_t expected = std::min<size_t>(blockRows_, image_.rowCount - first);
  if (!stored_.read(number, expected, parts, image_.catalog, block)) return false;
  if (block.parts() == quorvi::engine::kBlockParts && ++blocksRead_ == image_.blocks.size())
    stored_.close();
  return true;
}

void PhoneticIndex::closeStored() {
  {
    const std::lock_guard<std::mutex> lock(blockMutex_);
    stored_.close();
  }
  const std::lock_guard<std::mutex> lock(groupMutex_);
  groups_.close();
}

bool PhoneticIndex::loadAllRows(const std::atomic<bool>* stop, unsigned parts) {
  const unsigned blockParts = parts & quorvi::engine::kBlockParts;
  if (blockParts != 0)
    for (size_t number = 0; number < image_.blocks.size(); ++number)
      if ((stop != nullptr && *stop) || !ensureBlock(number, blockParts)) return false;
  if (!loaded_) return false;
  return (parts & quorvi::engine::kSoundPart) == 0 || makeStore(stop);
}

std::shared_ptr<const quorvi::engine::SoundCountGroup> PhoneticIndex::storedSoundGroup(int count) {
  const std::lock_guard<std::mutex> lock(groupMutex_);
  return groups_.group(count);
}

std::uint32_t PhoneticIndex::storedSoundGroupRows(int count) {
  const std::lock_guard<std::mutex> lock(groupMutex_);
  return groups_.groupRows(count);
}

std::optional<QString> PhoneticIndex::readCaption(size_t row) {
  if (row >= image_.rowCount || !ensureBlock(row >> blockShift_, quorvi::engine::kCaptionPart))
    return std::nullopt;
  return caption(row);
}

bool PhoneticIndex::makeStore(const std::atomic<bool>* stop) {
  const std::lock_guard<std::mutex> lock(storeMutex_);
  if (storeReady_.load(std::memory_order_relaxed)) return true;
  // The stored groups are read one at a time, so that a search waits for one group at most.
  std::vector<std::shared_ptr<const quorvi::engine::SoundCountGroup>> read;
  std::vector<const quorvi::engine::SoundCountGroup*> groups(256, nullptr);
  for (int count = 0; count < 256; ++count) {
    if (stop != nullptr && *stop) return false;
    if (builtFromRows_) {
      groups[static_cast<size_t>(count)] = &image_.groups.groups[static_cast<size_t>(count)];
      continue;
    }
    read.push_back(storedSoundGroup(count));
    if (!read.back()) return false;
    groups[static_cast<size_t>(count)] = read.back().get();
  }
  // The facts of a row in no group: no headword, so no search lists it.
  facts_ = quorvi::engine::RowFactColumns();
  facts_.headwords.resize(image_.rowCount);
  for (std::uint32_t row = 0; row < image_.rowCount; ++row) facts_.headwords[row] = row;
  facts_.flags.assign(image_.rowCount, quorvi::engine::RowFactColumns::kNoCaption);
  for (const quorvi::engine::SoundCountGroup* group : groups)
    for (size_t i = 0; i < group->size(); ++i) {
      facts_.headwords[group->row(i)] = group->headword(i);
      facts_.flags[group->row(i)] =
          group->isPlainWord(i) ? quorvi::engine::RowFactColumns::kPlainWord : 0;
    }
  store_ = quorvi::engine::SoundStore(groups);
  storeReady_.store(true, std::memory_order_release);
  // The store holds what the search reads: the groups need not stay.
  read.clear();
  image_.groups = quorvi::engine::SoundGroups();
  const std::lock_guard<std::mutex> reader(groupMutex_);
  groups_.close();
  return true;
}

const quorvi::engine::SoundStore& PhoneticIndex::soundStore() const {
  static const quorvi::engine::SoundStore none;
  return storeReady_.load(std::memory_order_acquire) ? store_ : none;
}

std::string PhoneticIndex::soundCodes(size_t row) const {
  return sound::fromStored(transcription(row));
}

bool PhoneticIndex::search(const std::string& pattern, int limit, QStringList& results) {
  std::vector<std::string_view> textPieces;
  if (!loaded_ || !splitPattern(pattern, textPieces)) return false;
  const PlainPieces plain = toSymbolIds(textPieces, image_.catalog);
  CompiledPattern compiled(pattern);
  int found = 0;
  for (size_t number = 0; number < image_.blocks.size(); ++number) {
    if (!ensureBlock(number, quorvi::engine::kPatternPart | quorvi::engine::kCaptionPart))
      return false;
    if (!searchBlock(image_.blocks[number], plain, compiled, limit, found, results)) break;
  }
  reachedMatchLimit_ = compiled.reachedLimit();
  return !reachedMatchLimit_;
}
