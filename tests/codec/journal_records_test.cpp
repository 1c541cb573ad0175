// Recognition of journal records and WAL frames, fed the call sequences SQLite makes.
#include "codec/journal_records.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "codec/page_codec.h"

namespace quorvi::codec {
namespace {

// One call on a journal file: its offset and size, and the page number for a 4-byte call.
struct Call {
  sqlite3_int64 off;
  int amt;
  std::uint32_t value = 0;
};

// Replays calls through one JournalRecords; the file's 4-byte fields, when asked for, come from
// `fields`. Returns what each call was taken for, "image:<page>" for images.
std::vector<std::string> replay(JournalRecords& records, const std::vector<Call>& calls,
                                const std::map<sqlite3_int64, std::uint32_t>& fields = {}) {
  std::vector<std::string> seen;
  auto readField = [&](sqlite3_int64 offset, std::uint8_t field[4]) {
    auto it = fields.find(offset);
    if (it == fields.end()) return false;
    writeBigEndian32(field, it->second);
    return true;
  };
  for (const Call& call : calls) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(call.amt), 0);
    if (call.amt == 4) writeBigEndian32(bytes.data(), call.value);
    std::uint32_t page = 0;
    switch (records.classify(call.off, call.amt, bytes.data(), readField, page)) {
      case JournalCall::Other:
        seen.push_back("other");
        break;
      case JournalCall::PageNumber:
        seen.push_back("pgno");
        break;
      case JournalCall::Checksum:
        seen.push_back("cksum");
        break;
      case JournalCall::Image:
        seen.push_back("image:" + std::to_string(page));
        records.noteImage(call.off, call.amt, 0, 0);
        break;
    }
  }
  return seen;
}

// A rollback journal as SQLite writes it: one sector of header, then page number, image and
// checksum of each record as three calls.
std::vector<Call> rollbackJournal(sqlite3_int64 sector, int pageSize,
                                  const std::vector<std::uint32_t>& pages) {
  std::vector<Call> calls{{0, static_cast<int>(sector)}};
  sqlite3_int64 off = sector;
  for (std::uint32_t page : pages) {
    calls.push_back({off, 4, page});
    calls.push_back({off + 4, pageSize});
    calls.push_back({off + 4 + pageSize, 4, 0xdeadbeef});
    off += 8 + pageSize;
  }
  return calls;
}

TEST(JournalRecordsTest, RollbackJournalRecordsAreTakenApart) {
  for (int sector : {512, 4096}) {
    for (int pageSize : {512, 1024, 4096, 65536}) {
      JournalRecords records;
      const auto seen = replay(records, rollbackJournal(sector, pageSize, {1, 7, 2}));
      const std::vector<std::string> expected{"other",   "pgno",  "image:1", "cksum",   "pgno",
                                              "image:7", "cksum", "pgno",    "image:2", "cksum"};
      EXPECT_EQ(seen, expected) << "sector " << sector << ", page size " << pageSize;
    }
  }
}

// Playback reads the header field by field (4-byte reads), then the records as they were written.
TEST(JournalRecordsTest, PlaybackReadsOfTheHeaderAreNeverChecksums) {
  JournalRecords records;
  std::vector<Call> calls{{0, 8}, {8, 4, 2}, {12, 4, 99}, {16, 4, 3}, {20, 4, 512}, {24, 4, 1024}};
  for (const Call& c : rollbackJournal(512, 1024, {3, 1})) {
    if (c.off != 0) calls.push_back(c);
  }
  const auto seen = replay(records, calls);
  const std::vector<std::string> expected{"other", "pgno",    "pgno",  "pgno", "pgno",    "pgno",
                                          "pgno",  "image:3", "cksum", "pgno", "image:1", "cksum"};
  EXPECT_EQ(seen, expected);
}

TEST(JournalRecordsTest, ChecksumsAreKeptOverTheStoredBytes) {
  JournalRecords records;
  std::uint32_t page = 0;
  std::uint8_t field[4];
  writeBigEndian32(field, 5);
  auto noField = [](sqlite3_int64, std::uint8_t*) { return false; };
  ASSERT_EQ(records.classify(512, 4, field, noField, page), JournalCall::PageNumber);
  std::vector<std::uint8_t> image(1024, 0);
  ASSERT_EQ(records.classify(516, 1024, image.data(), noField, page), JournalCall::Image);
  EXPECT_EQ(page, 5u);
  records.noteImage(516, 1024, /*plain*/ 300, /*stored*/ 1000);
  EXPECT_EQ(records.toStored(5000), 5700u);
  EXPECT_EQ(records.toPlain(records.toStored(5000)), 5000u);
  EXPECT_EQ(records.classify(516 + 1024, 4, field, noField, page), JournalCall::Checksum);
  // The checksum is consumed: the same offset later is a page number again.
  EXPECT_EQ(records.classify(516 + 1024, 4, field, noField, page), JournalCall::PageNumber);
}

// An image whose page number call was not seen (a journal opened for playback in the middle)
// takes the number from the file; a page number of 0 or the lock-byte page is no record.
TEST(JournalRecordsTest, PageNumbersComeFromTheFileAndOddOnesAreNoRecords) {
  JournalRecords records;
  EXPECT_EQ(replay(records, {{1028, 1024}}, {{1024, 9}}), std::vector<std::string>{"image:9"});
  EXPECT_EQ(replay(records, {{3076, 1024}}),
            std::vector<std::string>{"other"});  // unreadable field
  EXPECT_EQ(replay(records, {{512, 4, 0}, {516, 1024}}),
            (std::vector<std::string>{"pgno", "other"}));
  const std::uint32_t lockByte = lockBytePage(4096);
  EXPECT_EQ(replay(records, {{512, 4, lockByte}, {516, 4096}}),
            (std::vector<std::string>{"pgno", "other"}));
  // The same number is an ordinary page of a database with smaller pages.
  EXPECT_EQ(replay(records, {{512, 4, lockByte}, {516, 1024}}),
            (std::vector<std::string>{"pgno", "image:" + std::to_string(lockByte)}));
}

// VACUUM with a new page size: the next transaction's journal has records of the new size.
TEST(JournalRecordsTest, PageSizeChangesBetweenTransactions) {
  JournalRecords records;
  auto calls = rollbackJournal(512, 1024, {1, 2});
  for (const Call& c : rollbackJournal(512, 4096, {1, 3})) calls.push_back(c);
  const auto seen = replay(records, calls);
  const std::vector<std::string> expected{"other",   "pgno",  "image:1", "cksum", "pgno",
                                          "image:2", "cksum", "other",   "pgno",  "image:1",
                                          "cksum",   "pgno",  "image:3", "cksum"};
  EXPECT_EQ(seen, expected);
}

// A statement journal has no header and no checksums: the second record's page number sits
// where a checksum would, and its image at an offset of 0 modulo 8. This is why statement
// journals are kept in memory and never reach the shim.
TEST(JournalRecordsTest, StatementJournalRecordsAreNotRecognised) {
  JournalRecords records;
  const int pageSize = 1024;
  const auto seen =
      replay(records, {{0, 4, 4}, {4, pageSize}, {4 + pageSize, 4, 6}, {8 + pageSize, pageSize}});
  EXPECT_EQ(seen, (std::vector<std::string>{"pgno", "image:4", "cksum", "other"}));
}

TEST(WalLayoutTest, FramesOfHeaderAndPage) {
  const WalLayout wal(4096);
  const sqlite3_int64 frame = 24 + 4096;
  EXPECT_EQ(wal.frameStart(10), 0);
  EXPECT_EQ(wal.dataStart(10), 32);
  EXPECT_TRUE(wal.isFrameHeader(32));
  EXPECT_TRUE(wal.isFrameHeader(32 + 2 * frame));
  EXPECT_FALSE(wal.isFrameHeader(32 + 24));
  EXPECT_EQ(wal.frameStart(32 + frame + 100), 32 + frame);
  EXPECT_EQ(wal.dataStart(32 + frame + 100), 32 + frame + 24);

  // A read from inside the WAL header to the middle of the third frame's page.
  std::vector<std::tuple<sqlite3_int64, sqlite3_int64, sqlite3_int64>> parts;
  const sqlite3_int64 end = 32 + 2 * frame + 24 + 100;
  EXPECT_EQ(wal.forEachFrameData(16, end,
                                 [&](sqlite3_int64 start, sqlite3_int64 from, sqlite3_int64 to) {
                                   parts.emplace_back(start, from, to);
                                   return SQLITE_OK;
                                 }),
            SQLITE_OK);
  const std::vector<std::tuple<sqlite3_int64, sqlite3_int64, sqlite3_int64>> expected{
      {32, 56, 32 + frame},
      {32 + frame, 32 + frame + 24, 32 + 2 * frame},
      {32 + 2 * frame, 32 + 2 * frame + 24, end}};
  EXPECT_EQ(parts, expected);
  // A frame header alone holds no page data; an error stops the walk.
  parts.clear();
  wal.forEachFrameData(32, 32 + 24, [&](sqlite3_int64 s, sqlite3_int64 f, sqlite3_int64 t) {
    parts.emplace_back(s, f, t);
    return SQLITE_OK;
  });
  EXPECT_TRUE(parts.empty());
  EXPECT_EQ(wal.forEachFrameData(
                0, end, [](sqlite3_int64, sqlite3_int64, sqlite3_int64) { return SQLITE_IOERR; }),
            SQLITE_IOERR);
}

// The WAL header names the page size; a WAL restarted after a page-size change names the new one.
TEST(WalLayoutTest, PageSizeComesFromTheHeader) {
  std::uint8_t header[32] = {};
  for (std::uint32_t size : {512u, 4096u, 65536u}) {
    writeBigEndian32(header + 8, size);
    EXPECT_EQ(walHeaderPageSize(header, 32, 0), size);
    EXPECT_EQ(walHeaderPageSize(header, 12, 0), size);
  }
  EXPECT_EQ(walHeaderPageSize(header, 8, 0), 0u);    // the call stops before the field
  EXPECT_EQ(walHeaderPageSize(header, 32, 32), 0u);  // not the header
  writeBigEndian32(header + 8, 3000);
  EXPECT_EQ(walHeaderPageSize(header, 32, 0), 0u);
}

}  // namespace
}  // namespace quorvi::codec
