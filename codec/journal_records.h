// Recognising what SQLite writes to (and reads from) a rollback journal and a WAL, from the
// offsets and sizes of its calls alone: the shim must encrypt page images and nothing else.
//
// Rollback journal: after a header of one sector, records of a 4-byte page number, the page
// image and a 4-byte checksum; a journal may hold several headers, each at a sector boundary.
// SQLite passes the three parts of a record as three separate calls, so an image is a call of
// one page size at an offset of 4 modulo 8 whose preceding 4 bytes name a real page (not 0, not
// the lock-byte page). SQLite's checksum samples the page bytes it hands over; on disk the shim
// keeps it as a checksum of the stored bytes, and turns it back when the record is read.
//
// WAL: a 32-byte header (magic, page size at bytes 8..11, salts, its checksum at 24..31), then
// frames of a 24-byte header (page number, commit size, salts, checksum at 16..23) and one page.
// Each frame's checksum continues the one before it (the header's for the first frame) over the
// frame header's first 8 bytes and the page as stored.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorvi::codec {

std::uint32_t readBigEndian32(const std::uint8_t* p);
void writeBigEndian32(std::uint8_t* p, std::uint32_t value);
bool isPageSize(sqlite3_int64 n);

// SQLite's journal checksum samples: every 200th byte from the end of the page.
std::uint32_t checksumSamples(const std::uint8_t* page, int pageSize);

enum class JournalCall { Other, PageNumber, Image, Checksum };

// Follows the calls in one direction (writes, or reads) on one journal.
class JournalRecords {
 public:
  // Reads the 4 bytes at `offset` of the journal file; false when it cannot.
  using FieldReader = std::function<bool(sqlite3_int64 offset, std::uint8_t field[4])>;

  // What a call of `amt` bytes at `off` is; `bytes` are the call's bytes (needed for a 4-byte
  // call). For an image, `page` receives its page number; `readField` is asked for the page
  // number field when the call before was not it.
  JournalCall classify(sqlite3_int64 off, int amt, const std::uint8_t* bytes,
                       const FieldReader& readField, std::uint32_t& page);
  // An image went through: its checksum samples as SQLite sees it and as stored.
  void noteImage(sqlite3_int64 off, int amt, std::uint32_t plainSamples,
                 std::uint32_t storedSamples);
  // The checksum after the last image, from SQLite's form to the stored one and back.
  std::uint32_t toStored(std::uint32_t checksum) const {
    return checksum - plainSamples_ + storedSamples_;
  }
  std::uint32_t toPlain(std::uint32_t checksum) const {
    return checksum - storedSamples_ + plainSamples_;
  }

 private:
  sqlite3_int64 pageNumberOffset_ = -1;  // last 4-byte call, which may be a record's page number
  std::uint32_t pageNumber_ = 0;
  sqlite3_int64 imageEnd_ = -1;  // end of the last image, where its checksum follows
  std::uint32_t plainSamples_ = 0;
  std::uint32_t storedSamples_ = 0;
};

// Frame geometry of a WAL whose page size is known.
class WalLayout {
 public:
  static constexpr int kHeader = 32;
  static constexpr int kFrameHeader = 24;

  explicit WalLayout(std::uint32_t pageSize) : pageSize_(pageSize) {}
  std::uint32_t pageSize() const { return pageSize_; }
  sqlite3_int64 frameSize() const { return kFrameHeader + sqlite3_int64(pageSize_); }
  // Start of the frame holding `pos` (0, the WAL header, for a position inside the header).
  sqlite3_int64 frameStart(sqlite3_int64 pos) const {
    return pos < kHeader ? 0 : kHeader + (pos - kHeader) / frameSize() * frameSize();
  }
  // Where the page data of the frame holding `pos` starts (kHeader inside the WAL header).
  sqlite3_int64 dataStart(sqlite3_int64 pos) const {
    return pos < kHeader ? kHeader : frameStart(pos) + kFrameHeader;
  }
  bool isFrameHeader(sqlite3_int64 off) const {
    return off >= kHeader && (off - kHeader) % frameSize() == 0;
  }
  // Where the checksum that the frame starting at `frameStart` continues lies.
  sqlite3_int64 previousChecksum(sqlite3_int64 frameStart) const {
    return frameStart <= kHeader ? 24 : frameStart - frameSize() + 16;
  }
  // Calls fn(frameStart, from, to) for the page-data part [from, to) of every frame met by
  // [off, end); stops at the first result other than SQLITE_OK and returns it.
  int forEachFrameData(
      sqlite3_int64 off, sqlite3_int64 end,
      const std::function<int(sqlite3_int64, sqlite3_int64, sqlite3_int64)>& fn) const;

 private:
  std::uint32_t pageSize_;
};

// SQLite's WAL checksum: continues `sum` over `size` bytes (a multiple of 8) read as 32-bit
// words, big-endian when the WAL header's magic says so, else little-endian.
void walChecksum(bool bigEndian, std::uint32_t sum[2], const std::uint8_t* data, std::size_t size);

// The page size a write or read of `amt` bytes at `off` shows when it covers the WAL header's
// page-size field, else 0.
std::uint32_t walHeaderPageSize(const std::uint8_t* bytes, int amt, sqlite3_int64 off);

}  // namespace quorvi::codec
