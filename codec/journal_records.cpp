#include "codec/journal_records.h"

#include <algorithm>

#include "codec/byte_order.h"
#include "codec/page_codec.h"

namespace quorvi::codec {

std::uint32_t readBigEndian32(const std::uint8_t* p) {
  return loadBe32(p);
}

void writeBigEndian32(std::uint8_t* p, std::uint32_t value) {
  storeBe32(p, value);
}

bool isPageSize(sqlite3_int64 n) {
  return n >= 512 && n <= 65536 && (n & (n - 1)) == 0;
}

std::uint32_t checksumSamples(const std::uint8_t* page, int pageSize) {
  std::uint32_t sum = 0;
  for (int i = pageSize - 200; i > 0; i -= 200) sum += page[i];
  return sum;
}

JournalCall JournalRecords::classify(sqlite3_int64 off, int amt, const std::uint8_t* bytes,
                                     const FieldReader& readField, std::uint32_t& page) {
  page = 0;
  if (amt == 4) {
    if (off == imageEnd_) {  // the checksum of the image just passed
      imageEnd_ = -1;
      return JournalCall::Checksum;
    }
    pageNumberOffset_ = off;
    pageNumber_ = readBigEndian32(bytes);
    return JournalCall::PageNumber;
  }
  if (!isPageSize(amt) || off % 8 != 4) return JournalCall::Other;
  if (pageNumberOffset_ == off - 4) {
    page = pageNumber_;
  } else {
    std::uint8_t field[4];
    if (!readField(off - 4, field)) return JournalCall::Other;
    page = readBigEndian32(field);
  }
  if (page == 0 || page == lockBytePage(static_cast<std::uint32_t>(amt))) {
    page = 0;
    return JournalCall::Other;
  }
  imageEnd_ = -1;  // until the image has gone through
  return JournalCall::Image;
}

void JournalRecords::noteImage(sqlite3_int64 off, int amt, std::uint32_t plainSamples,
                               std::uint32_t storedSamples) {
  imageEnd_ = off + amt;
  plainSamples_ = plainSamples;
  storedSamples_ = storedSamples;
}

int WalLayout::forEachFrameData(
    sqlite3_int64 off, sqlite3_int64 end,
    const std::function<int(sqlite3_int64, sqlite3_int64, sqlite3_int64)>& fn) const {
  for (sqlite3_int64 pos = std::max<sqlite3_int64>(off, kHeader); pos < end;) {
    const sqlite3_int64 start = frameStart(pos);
    const sqlite3_int64 from = std::max(pos, start + kFrameHeader),
                        to = std::min(end, start + frameSize());
    if (from < to) {
      if (int rc = fn(start, from, to); rc != SQLITE_OK) return rc;
    }
    pos = start + frameSize();
  }
  return SQLITE_OK;
}

void walChecksum(bool bigEndian, std::uint32_t sum[2], const std::uint8_t* data, std::size_t size) {
  std::uint32_t s1 = sum[0], s2 = sum[1];
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    s1 += (bigEndian ? loadBe32(data + i) : loadLe32(data + i)) + s2;
    s2 += (bigEndian ? loadBe32(data + i + 4) : loadLe32(data + i + 4)) + s1;
  }
  sum[0] = s1;
  sum[1] = s2;
}

std::uint32_t walHeaderPageSize(const std::uint8_t* bytes, int amt, sqlite3_int64 off) {
  if (off != 0 || amt < 12) return 0;
  const std::uint32_t size = readBigEndian32(bytes + 8);
  return isPageSize(size) ? size : 0;
}

}  // namespace quorvi::codec
