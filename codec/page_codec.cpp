#include "codec/page_codec.h"

#include <cstring>

namespace quorvi::codec {

const DatabaseKey* PageCodec::dbReadKey(std::uint32_t pageNumber) const {
  if (rekeying && rewrittenPages.count(pageNumber) != 0) return keyOrNull(writeKey);
  return keyOrNull(readKey);
}

const DatabaseKey* PageCodec::dbWriteKey(std::uint32_t pageNumber) {
  if (restoring) {
    // A journal image going back: it is under the read key, so is the restored page.
    if (rekeying) rewrittenPages.erase(pageNumber);
    return keyOrNull(readKey);
  }
  if (rekeying) rewrittenPages.insert(pageNumber);
  return keyOrNull(writeKey);
}

bool PageCodec::holdsOnly(const DatabaseKey& key) const {
  return !rekeying && readKey == key && writeKey == key;
}

void PageCodec::endRekey() {
  rekeying = false;
  rewrittenPages.clear();
}

std::unique_ptr<PageCodec> makeKeyedCodec(const void* key, int count) {
  if (key == nullptr || count <= 0) return nullptr;
  auto codec = std::make_unique<PageCodec>();
  codec->readKey = deriveDatabaseKey(key, count);
  codec->writeKey = codec->readKey;
  return codec;
}

void cryptImage(PageCodec& codec, const DatabaseKey* key, std::uint32_t pageNumber,
                CryptDirection direction, std::uint8_t* data, std::size_t count) {
  if (key == nullptr) return;
  cryptPage(codec.cipher, *key, pageNumber, direction, data, data, count);
}

void* codecTransform(PageCodec* codec, void* page, std::uint32_t pageNumber, int mode,
                     std::size_t pageSize) {
  if (codec == nullptr || page == nullptr || pageSize > kMaxPageSize) return page;
  auto* bytes = static_cast<std::uint8_t*>(page);
  switch (mode) {
    case 0:
    case 2:
    case kModeRead:
      cryptImage(*codec, codec->dbReadKey(pageNumber), pageNumber, CryptDirection::Decrypt, bytes,
                 pageSize);
      return page;
    case kModeWriteDb:
    case kModeWriteJournal: {
      const DatabaseKey* key =
          mode == kModeWriteDb ? codec->dbWriteKey(pageNumber) : codec->journalKey();
      if (key == nullptr) return page;
      std::memcpy(codec->pageBuffer.get(), bytes, pageSize);
      cryptImage(*codec, key, pageNumber, CryptDirection::Encrypt, codec->pageBuffer.get(),
                 pageSize);
      return codec->pageBuffer.get();
    }
    default:
      return page;
  }
}

std::uint32_t headerPageSize(const std::uint8_t* header32) {
  std::uint32_t size = (std::uint32_t(header32[16]) << 8) | (std::uint32_t(header32[17]) << 16);
  if (size < 512 || size > kMaxPageSize || (size & (size - 1)) != 0) return 0;
  return size;
}

bool decodeHexKey(const char* text, std::string& out) {
  out.clear();
  if (text == nullptr) return false;
  std::size_t n = std::strlen(text);
  if (n % 2 != 0) return false;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < n; i += 2) {
    int hi = nibble(text[i]), lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

}  // namespace quorvi::codec
