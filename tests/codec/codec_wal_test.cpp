// The WAL of a keyed database as it lies on disk, read by a reader of its own (the WAL format
// and cryptPage, nothing of the shim): frames hold ciphertext, and their checksums are taken
// over that ciphertext, so nothing in the log is derived from the plain pages. And what a kill
// or a copied log leaves behind is replayed under the key.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "codec/page_format.h"
#include "codec_db_support.h"

namespace quorvi::codec::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

// The WAL checksum: pairs of 32-bit words, big-endian when the magic's low bit is set.
struct Checksum {
  std::uint32_t s1 = 0, s2 = 0;
  void add(const std::uint8_t* data, std::size_t size, bool bigEndian) {
    auto word = [&](const std::uint8_t* p) {
      return bigEndian ? be32(p)
                       : std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                             (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    };
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
      s1 += word(data + i) + s2;
      s2 += word(data + i + 4) + s1;
    }
  }
  bool matches(const std::uint8_t* stored) const {
    return be32(stored) == s1 && be32(stored + 4) == s2;
  }
};

struct Frame {
  std::uint32_t page;
  bool commit;
  bool validOverStored;  // the checksum chain holds over the bytes in the file
  bool validOverPlain;   // ... or over the decrypted pages instead
  std::vector<std::uint8_t> stored, plain;
};

// Every frame of `wal` whose salts match the header, checked both ways; empty when the header
// itself does not check.
std::vector<Frame> readWal(const std::vector<std::uint8_t>& wal, const char* passphrase) {
  std::vector<Frame> frames;
  if (wal.size() < 32) return frames;
  const std::uint32_t magic = be32(wal.data());
  const bool bigEndian = (magic & 1) != 0;
  const std::uint32_t pageSize = be32(&wal[8]);
  Checksum header;
  header.add(wal.data(), 24, bigEndian);
  if ((magic & ~1u) != 0x377f0682u || !header.matches(&wal[24])) return frames;
  const DatabaseKey key = deriveDatabaseKey(passphrase, static_cast<int>(std::strlen(passphrase)));
  AesCipher cipher;
  Checksum overStored = header, overPlain = header;
  for (std::size_t off = 32; off + 24 + pageSize <= wal.size(); off += 24 + pageSize) {
    const std::uint8_t* h = &wal[off];
    if (std::memcmp(h + 8, &wal[16], 8) != 0) break;  // salts of an earlier generation
    Frame frame{be32(h), be32(h + 4) != 0, false, false, {h + 24, h + 24 + pageSize}, {}};
    frame.plain = frame.stored;
    cryptPage(cipher, key, frame.page, CryptDirection::Decrypt, frame.plain.data(),
              frame.plain.data(), pageSize);
    overStored.add(h, 8, bigEndian);
    overStored.add(frame.stored.data(), pageSize, bigEndian);
    overPlain.add(h, 8, bigEndian);
    overPlain.add(frame.plain.data(), pageSize, bigEndian);
    frame.validOverStored = overStored.matches(h + 16);
    frame.validOverPlain = overPlain.matches(h + 16);
    frames.push_back(std::move(frame));
  }
  return frames;
}

bool contains(const std::vector<std::uint8_t>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class WalFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { setUpCodecVfs(); }
  quorvi::testing::TemporaryFolder dir;
  const std::string path = dir.file("w.db");
};

// Several transactions, pages written again within one (SQLite then rewrites the checksums of
// the frames after them), a spilling cache: every frame checks over its stored bytes, none over
// the plain page, and the pages decrypt under the key.
TEST_F(WalFormatTest, FrameChecksumsAreTakenOverTheCiphertext) {
  for (int pageSize : {512, 4096}) {
    fs::remove(path);
    Db db(path, "k");
    ASSERT_EQ(db.exec("PRAGMA page_size=" + std::to_string(pageSize)), SQLITE_OK);
    ASSERT_EQ(db.query("PRAGMA journal_mode=wal"), "wal");
    ASSERT_EQ(db.exec("PRAGMA wal_autocheckpoint=0; PRAGMA cache_size=5"), SQLITE_OK);
    fillTable(db, 300);
    ASSERT_EQ(db.exec("BEGIN; UPDATE t SET b = b || ' again' WHERE a % 2 = 0; UPDATE t SET b = "
                      "b || ' and again' WHERE a % 4 = 0; COMMIT"),
              SQLITE_OK);
    ASSERT_EQ(db.exec("INSERT INTO t(b) VALUES('the last one')"), SQLITE_OK);

    const std::vector<std::uint8_t> wal = fileBytes(path + "-wal");
    const std::vector<Frame> frames = readWal(wal, "k");
    ASSERT_GT(frames.size(), 10u) << pageSize;
    EXPECT_TRUE(frames.back().commit);
    bool pageOneSeen = false;
    for (std::size_t i = 0; i < frames.size(); ++i) {
      const Frame& f = frames[i];
      EXPECT_TRUE(f.validOverStored) << "frame " << i + 1 << ", page size " << pageSize;
      EXPECT_FALSE(f.validOverPlain) << "frame " << i + 1 << ", page size " << pageSize;
      if (f.page == 1) {
        pageOneSeen = true;
        EXPECT_EQ(std::memcmp(f.plain.data(), "SQLite format 3", 16), 0);
      }
    }
    EXPECT_TRUE(pageOneSeen);
    EXPECT_FALSE(contains(wal, "seed 1"));
    EXPECT_FALSE(contains(wal, "the last one"));
  }
}

// A log whose frames check only over the plain pages (as an older shim wrote them) is not
// replayed: its frames are taken for a torn write, and the database stays as checkpointed.
TEST_F(WalFormatTest, ALogCheckedOverPlainPagesIsNotReplayed) {
  {
    Db db(path, "k");
    ASSERT_EQ(db.query("PRAGMA journal_mode=wal"), "wal");
    fillTable(db, 50);
  }
  const std::string copy = dir.file("copy.db");
  {
    Db db(path, "k");
    ASSERT_EQ(db.exec("PRAGMA wal_autocheckpoint=0; INSERT INTO t(b) VALUES('logged')"), SQLITE_OK);
    fs::copy_file(path, copy);
    std::vector<std::uint8_t> wal = fileBytes(path + "-wal");
    const std::vector<Frame> frames = readWal(wal, "k");
    ASSERT_FALSE(frames.empty());
    // Re-seal every frame over its plain page.
    const bool bigEndian = (wal[3] & 1) != 0;
    const std::uint32_t pageSize = be32(&wal[8]);
    Checksum chain;
    chain.add(wal.data(), 24, bigEndian);
    for (std::size_t i = 0; i < frames.size(); ++i) {
      std::uint8_t* h = &wal[32 + i * (24 + pageSize)];
      chain.add(h, 8, bigEndian);
      chain.add(frames[i].plain.data(), pageSize, bigEndian);
      for (int b = 0; b < 4; ++b) {
        h[16 + b] = static_cast<std::uint8_t>(chain.s1 >> (24 - 8 * b));
        h[20 + b] = static_cast<std::uint8_t>(chain.s2 >> (24 - 8 * b));
      }
    }
    std::ofstream(copy + "-wal", std::ios::binary)
        .write(reinterpret_cast<const char*>(wal.data()), static_cast<std::streamsize>(wal.size()));
  }
  Db db(copy, "k");
  EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(db.query("SELECT count(*) FROM t"), "50");
}

// Committed transactions that only the log holds survive a killed writer and a copy of the
// database with its log; a torn last frame loses only the transaction it belonged to.
TEST_F(WalFormatTest, CommittedLogTransactionsSurviveAKillAndACopy) {
  {
    Db db(path, "k");
    ASSERT_EQ(db.query("PRAGMA journal_mode=wal"), "wal");
    fillTable(db, 100);
  }
  pid_t child = fork();
  if (child == 0) {
    Db db(path, "k");
    db.exec("PRAGMA wal_autocheckpoint=0; PRAGMA cache_size=5");
    db.exec("UPDATE t SET b = b || ' logged'");
    db.exec("INSERT INTO t(b) VALUES('first after')");
    _exit(0);  // no close: no checkpoint, the log stays
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(fs::exists(path + "-wal"));

  const std::string copy = dir.file("copy.db");
  fs::copy_file(path, copy);
  fs::copy_file(path + "-wal", copy + "-wal");
  const std::string torn = dir.file("torn.db");
  {
    Db db(path, "k");
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b LIKE '% logged'"), "100");
    EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b = 'first after'"), "1");
    ASSERT_EQ(db.exec("PRAGMA wal_autocheckpoint=0; INSERT INTO t(b) VALUES('second after')"),
              SQLITE_OK);
    fs::copy_file(path, torn);
    std::vector<std::uint8_t> wal = fileBytes(path + "-wal");
    wal.resize(wal.size() - 100);  // the last frame, torn
    std::ofstream(torn + "-wal", std::ios::binary)
        .write(reinterpret_cast<const char*>(wal.data()), static_cast<std::streamsize>(wal.size()));
  }
  for (const std::string& p : {copy, torn}) {
    Db db(p, "k");
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok") << p;
    EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b = 'first after'"), "1") << p;
    EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b = 'second after'"), "0") << p;
  }
  Db db(path, "k");
  EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b = 'second after'"), "1");
}

}  // namespace
}  // namespace quorvi::codec::testing
