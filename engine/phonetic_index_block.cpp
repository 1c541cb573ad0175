#include "engine/phonetic_index_block.h"

#include <cstring>

#include "engine/image_bytes.h"

namespace quorvi::engine {
namespace {

constexpr std::uint32_t kCatalogMagic = 0x33435051;  // "QPC3"
constexpr std::uint32_t kBlockMagic = 0x33425051;    // "QPB3"

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
                        SymbolCatalog& catalog) {
  caption = caption.substr(0, caption.find('\0'));
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
  ++rows_;
}

std::string IndexBlock::transcription(size_t row, const SymbolCatalog& catalog) const {
  const std::string_view stored = text(row);
  if (isRawText(row)) return std::string(stored);
  std::string text;
  for (char id : stored) text += catalog.text(static_cast<unsigned char>(id));
  return text;
}

// The image: a header of four 32-bit values, then the headwords, then what the search by
// pattern reads, so that the learner's search reads the image's first pages only.
struct IndexBlock::Layout {
  static constexpr size_t kHeaderBytes = 4 * sizeof(std::uint32_t);
  std::uint32_t rows = 0, textBytes = 0, captionBytes = 0;
  std::uint64_t captionAt = kHeaderBytes, patternAt = 0, end = 0;

  void place() {
    const std::uint64_t n = rows;
    patternAt = captionAt + n * sizeof(std::uint32_t) + captionBytes;
    end = patternAt + n * (sizeof(std::uint64_t) + sizeof(std::uint32_t)) + textBytes;
  }
};
static_assert(IndexBlock::kFixedRowBytes == 16, "the fixed part of a row in Layout::place");

std::string IndexBlock::serialise() const {
  std::string out;
  put(out, kBlockMagic);
  put(out, static_cast<std::uint32_t>(rows()));
  put(out, static_cast<std::uint32_t>(text_.size()));
  put(out, static_cast<std::uint32_t>(captions_.size()));
  putAll(out, captionEnds_);
  out.append(captions_);
  putAll(out, signatures_);
  putAll(out, textEnds_);
  return out.append(text_);
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

namespace {

// Reads `count` values at `offset` into `values`, and moves `offset` past them.
template <typename Container>
bool readInto(BlockSource& source, Container& values, size_t count, std::uint64_t& offset) {
  values.resize(count);
  const size_t bytes = count * sizeof(typename Container::value_type);
  if (bytes != 0 && !source.read(values.data(), bytes, static_cast<size_t>(offset))) return false;
  offset += bytes;
  return true;
}

class MemorySource : public BlockSource {
 public:
  explicit MemorySource(std::string_view image) : image_(image) {}
  size_t size() const override { return image_.size(); }
  bool read(void* to, size_t count, size_t offset) override {
    if (offset > image_.size() || count > image_.size() - offset) return false;
    std::memcpy(to, image_.data() + offset, count);
    return true;
  }

 private:
  std::string_view image_;
};

}  // namespace

bool IndexBlock::readPattern(BlockSource& source, const Layout& layout,
                             const SymbolCatalog& catalog) {
  std::uint64_t at = layout.patternAt;
  if (layout.textBytes >= kRawText || !readInto(source, signatures_, rows_, at) ||
      !readInto(source, textEnds_, rows_, at) || !readInto(source, text_, layout.textBytes, at) ||
      !checkEnds(textEnds_, layout.textBytes, kRawText))
    return false;
  for (size_t row = 0; row < rows(); ++row) {
    if (isRawText(row)) continue;
    for (char id : text(row))
      if (static_cast<unsigned char>(id) >= catalog.size()) return false;
  }
  return true;
}

bool IndexBlock::readCaptions(BlockSource& source, const Layout& layout) {
  std::uint64_t at = layout.captionAt;
  return readInto(source, captionEnds_, rows_, at) &&
         readInto(source, captions_, layout.captionBytes, at) &&
         checkEnds(captionEnds_, layout.captionBytes, 0);
}

bool IndexBlock::read(BlockSource& source, unsigned parts, const SymbolCatalog& catalog) {
  std::uint32_t header[4] = {};
  if (!source.read(header, sizeof(header), 0) || header[0] != kBlockMagic) return false;
  Layout layout;
  layout.rows = header[1];
  layout.textBytes = header[2];
  layout.captionBytes = header[3];
  layout.place();
  if (layout.end != source.size()) return false;
  // A block read in parts: each part must come from the same image.
  if (parts_ != 0 && layout.rows != rows_) return false;
  if (parts_ == 0) rows_ = layout.rows;
  if ((parts & kPatternPart) && !(parts_ & kPatternPart)) {
    if (!readPattern(source, layout, catalog)) {
      signatures_ = {}, textEnds_ = {}, text_ = {};
      return false;
    }
    parts_ |= kPatternPart;
  }
  if ((parts & kCaptionPart) && !(parts_ & kCaptionPart)) {
    if (!readCaptions(source, layout)) {
      captionEnds_ = {}, captions_ = {};
      return false;
    }
    parts_ |= kCaptionPart;
  }
  return true;
}

bool IndexBlock::parse(std::string_view image, const SymbolCatalog& catalog) {
  *this = IndexBlock(0);
  MemorySource source(image);
  return read(source, kBlockParts, catalog);
}

}  // namespace quorvi::engine
