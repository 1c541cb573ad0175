#include "engine/phonetic_index_block.h"

#include <algorithm>
#include <cstring>

#include <QString>

#include "engine/sound_code.h"

namespace quorvi::engine {
namespace {

constexpr std::uint32_t kCatalogMagic = 0x32435051;  // "QPC2"
constexpr std::uint32_t kBlockMagic = 0x32425051;    // "QPB2"

template <typename T>
void put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

template <typename T>
void putAll(std::string& out, const std::vector<T>& values) {
  out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

// Reads fixed-size values and byte runs off the front of an image; fails once anything is
// short, and stays failed.
class ImageReader {
 public:
  explicit ImageReader(std::string_view image) : rest_(image) {}
  template <typename T>
  bool get(T& value) {
    if (!take(sizeof(T))) return false;
    std::memcpy(&value, taken_.data(), sizeof(T));
    return true;
  }
  template <typename T>
  bool getAll(std::vector<T>& values, size_t count) {
    if (count > rest_.size() / sizeof(T) || !take(count * sizeof(T))) return false;
    values.resize(count);
    std::memcpy(values.data(), taken_.data(), count * sizeof(T));
    return true;
  }
  bool getBytes(std::string& bytes, size_t count) {
    if (!take(count)) return false;
    bytes.assign(taken_);
    return true;
  }
  bool atEnd() const { return ok_ && rest_.empty(); }

 private:
  bool take(size_t count) {
    if (!ok_ || count > rest_.size()) return ok_ = false;
    taken_ = rest_.substr(0, count);
    rest_.remove_prefix(count);
    return true;
  }
  std::string_view rest_;
  std::string_view taken_;
  bool ok_ = true;
};

// Plain: printable ASCII without capitals, so that the case-blind match of a pattern's
// lower-case pieces is a plain search for them.
bool isPlain(std::string_view phonetic) {
  for (char c : phonetic) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || (c >= 'A' && c <= 'Z')) return false;
  }
  return true;
}

// Sound codes are the printable ASCII bytes sound::fromStored makes.
bool areSoundCodes(std::string_view codes) {
  return std::all_of(codes.begin(), codes.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

}  // namespace

SoundFacts soundFactsOf(std::string_view phonetic) {
  SoundFacts facts;
  facts.codes = sound::fromStored(phonetic);
  facts.signature = sound::signature(facts.codes);
  size_t sounds = 0;
  for (char c : facts.codes) {
    if (sound::isMark(c)) continue;
    if (sounds++ == 0) facts.first = c;
  }
  facts.count = static_cast<std::uint8_t>(std::min<size_t>(sounds, 255));
  return facts;
}

bool isPlainWordCaption(std::string_view caption) {
  const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLower(); });
}

int SymbolCatalog::find(std::string_view symbol) const {
  const auto it = ids_.find(std::string(symbol));
  return it == ids_.end() ? -1 : it->second;
}

int SymbolCatalog::add(std::string_view symbol) {
  const int id = find(symbol);
  if (id >= 0 || size() == kMaxSymbols || symbol.size() > kMaxSymbolBytes) return id;
  texts_.emplace_back(symbol);
  ids_.emplace(std::string(symbol), size() - 1);
  return size() - 1;
}

std::string SymbolCatalog::serialise(std::uint32_t rowCount, std::uint32_t blockRows) const {
  std::string out;
  put(out, kCatalogMagic);
  put(out, rowCount);
  put(out, blockRows);
  put(out, static_cast<std::uint32_t>(texts_.size()));
  for (const std::string& text : texts_) {
    put(out, static_cast<std::uint8_t>(text.size()));
    out += text;
  }
  return out;
}

bool SymbolCatalog::parse(std::string_view image, std::uint32_t& rowCount,
                          std::uint32_t& blockRows) {
  ImageReader reader(image);
  std::uint32_t magic = 0, count = 0;
  if (!reader.get(magic) || magic != kCatalogMagic || !reader.get(rowCount) ||
      !reader.get(blockRows) || !reader.get(count) || count > kMaxSymbols || blockRows == 0 ||
      (blockRows & (blockRows - 1)) != 0)
    return false;
  texts_.clear();
  ids_.clear();
  for (std::uint32_t id = 0; id < count; ++id) {
    std::uint8_t length = 0;
    std::string text;
    if (!reader.get(length) || length == 0 || !reader.getBytes(text, length)) return false;
    if (find(text) >= 0) return false;
    add(text);
  }
  return reader.atEnd();
}

void IndexBlock::append(std::string_view caption, std::string_view phonetic,
                        SymbolCatalog& catalog, const LearnerRowFacts& facts) {
  caption = caption.substr(0, caption.find('\0'));
  const SoundFacts sounds = soundFactsOf(phonetic);
  soundCodes_ += sounds.codes;
  soundEnds_.push_back(static_cast<std::uint32_t>(soundCodes_.size()));
  soundSignatures_.push_back(sounds.signature);
  soundCounts_.push_back(sounds.count);
  firstSounds_.push_back(sounds.first);
  headwords_.push_back(facts.headword);
  flags_.push_back(static_cast<std::uint8_t>((isPlainWordCaption(caption) ? kPlainWord : 0) |
                                             (facts.hasCaption ? 0 : kNoCaption)));
  captions_.append(caption);
  captionEnds_.push_back(static_cast<std::uint32_t>(captions_.size()));
  const size_t start = text_.size();
  std::uint64_t signature = 0;
  bool plain = isPlain(phonetic);
  if (plain) {
    forEachSymbol(phonetic, [&](std::string_view symbol) {
      const int id = catalog.add(symbol);
      if (id < 0) plain = false;
      text_.push_back(static_cast<char>(id));
      signature |= std::uint64_t{1} << (id < 63 ? id : 63);
    });
  }
  if (!plain) {
    text_.resize(start);
    text_.append(phonetic);
    signature = ~std::uint64_t{0};
  }
  signatures_.push_back(signature);
  textEnds_.push_back(static_cast<std::uint32_t>(text_.size()) | (plain ? 0 : kRawText));
}

std::string IndexBlock::transcription(size_t row, const SymbolCatalog& catalog) const {
  const std::string_view stored = text(row);
  if (isRawText(row)) return std::string(stored);
  std::string text;
  for (char id : stored) text += catalog.text(static_cast<unsigned char>(id));
  return text;
}

std::string IndexBlock::serialise() const {
  std::string out;
  put(out, kBlockMagic);
  put(out, static_cast<std::uint32_t>(rows()));
  put(out, static_cast<std::uint32_t>(text_.size()));
  put(out, static_cast<std::uint32_t>(captions_.size()));
  put(out, static_cast<std::uint32_t>(soundCodes_.size()));
  putAll(out, signatures_);
  putAll(out, textEnds_);
  putAll(out, captionEnds_);
  putAll(out, soundSignatures_);
  putAll(out, soundEnds_);
  putAll(out, headwords_);
  putAll(out, soundCounts_);
  putAll(out, firstSounds_);
  putAll(out, flags_);
  return out.append(text_).append(captions_).append(soundCodes_);
}

bool IndexBlock::checkEnds(const std::vector<std::uint32_t>& ends, size_t total,
                           std::uint32_t flag) const {
  std::uint32_t previous = 0;
  for (std::uint32_t end : ends) {
    if ((end & ~flag) < previous) return false;
    previous = end & ~flag;
  }
  return previous == total;
}

bool IndexBlock::parse(std::string_view image, const SymbolCatalog& catalog, size_t firstRow) {
  ImageReader reader(image);
  std::uint32_t magic = 0, rowCount = 0, textBytes = 0, captionBytes = 0, soundBytes = 0;
  if (!reader.get(magic) || magic != kBlockMagic || !reader.get(rowCount) ||
      !reader.get(textBytes) || !reader.get(captionBytes) || !reader.get(soundBytes) ||
      !reader.getAll(signatures_, rowCount) || !reader.getAll(textEnds_, rowCount) ||
      !reader.getAll(captionEnds_, rowCount) || !reader.getAll(soundSignatures_, rowCount) ||
      !reader.getAll(soundEnds_, rowCount) || !reader.getAll(headwords_, rowCount) ||
      !reader.getAll(soundCounts_, rowCount) || !reader.getAll(firstSounds_, rowCount) ||
      !reader.getAll(flags_, rowCount) || !reader.getBytes(text_, textBytes) ||
      !reader.getBytes(captions_, captionBytes) || !reader.getBytes(soundCodes_, soundBytes) ||
      !reader.atEnd())
    return false;
  if (textBytes >= kRawText || !checkEnds(textEnds_, textBytes, kRawText) ||
      !checkEnds(captionEnds_, captionBytes, 0) || !checkEnds(soundEnds_, soundBytes, 0) ||
      !areSoundCodes(soundCodes_))
    return false;
  for (size_t row = 0; row < rows(); ++row) {
    // A headword's first row comes no later than the row itself; the facts are those of the
    // codes, so that the learner's search reads only what it expects.
    const std::string_view codes = soundCodes(row);
    if (headwords_[row] > firstRow + row || soundSignatures_[row] != sound::signature(codes) ||
        flags_[row] > (kPlainWord | kNoCaption))
      return false;
    size_t sounds = 0;
    char first = '\0';
    for (char c : codes) {
      if (sound::isMark(c)) continue;
      if (sounds++ == 0) first = c;
    }
    if (soundCounts_[row] != std::min<size_t>(sounds, 255) || firstSounds_[row] != first)
      return false;
    if (isRawText(row)) continue;
    for (char id : text(row))
      if (static_cast<unsigned char>(id) >= catalog.size()) return false;
  }
  return true;
}

}  // namespace quorvi::engine
