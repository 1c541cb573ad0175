#include "engine/phonetic_index_block.h"

#include <cstring>

namespace quorvi::engine {
namespace {

constexpr std::uint32_t kCatalogMagic = 0x31435051;  // "QPC1"
constexpr std::uint32_t kBlockMagic = 0x31425051;    // "QPB1"

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

}  // namespace

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
      !reader.get(blockRows) || !reader.get(count) || count > kMaxSymbols || blockRows == 0)
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
                        SymbolCatalog& catalog) {
  captions_.append(caption.substr(0, caption.find('\0')));
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
  putAll(out, signatures_);
  putAll(out, textEnds_);
  putAll(out, captionEnds_);
  return out.append(text_).append(captions_);
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

bool IndexBlock::parse(std::string_view image, const SymbolCatalog& catalog) {
  ImageReader reader(image);
  std::uint32_t magic = 0, rowCount = 0, textBytes = 0, captionBytes = 0;
  if (!reader.get(magic) || magic != kBlockMagic || !reader.get(rowCount) ||
      !reader.get(textBytes) || !reader.get(captionBytes) ||
      !reader.getAll(signatures_, rowCount) || !reader.getAll(textEnds_, rowCount) ||
      !reader.getAll(captionEnds_, rowCount) || !reader.getBytes(text_, textBytes) ||
      !reader.getBytes(captions_, captionBytes) || !reader.atEnd())
    return false;
  if (textBytes >= kRawText || !checkEnds(textEnds_, textBytes, kRawText) ||
      !checkEnds(captionEnds_, captionBytes, 0))
    return false;
  for (size_t row = 0; row < rows(); ++row) {
    if (isRawText(row)) continue;
    for (char id : text(row))
      if (static_cast<unsigned char>(id) >= catalog.size()) return false;
  }
  return true;
}

}  // namespace quorvi::engine
