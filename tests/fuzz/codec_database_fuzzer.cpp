// Opening and querying damaged keyed databases through the codec. The input is a recipe of
// damage applied to a small keyed dictionary made at start-up (512-byte pages, an index, an
// overflow chain): flipped bytes in the stored file, truncation, garbage appended, plain bytes
// written into a page that is then encrypted again (so the damage passes decryption and reaches
// the b-tree: wrong page size fields, bad cell pointers), a hot journal of arbitrary bytes, or
// an arbitrary file in place of the database, or a left-over WAL of committed transactions with
// damage of its own. The connection then reads, writes, rolls back and sometimes rekeys, or goes
// to WAL mode and rekeys there. Every call must end in an SQLite result code: no crash, no bad
// access. The codec's refusals must hold whatever the damage: no other key once the database
// was read (from the file or from the WAL) or while a transaction is open, and no reading or
// writing of a keyed file by a shared-cache connection without the key, even one that removed
// its authorizer.
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codec/aes_cipher.h"
#include "codec/codec_vfs.h"
#include "codec/page_format.h"

namespace {

constexpr char kPassphrase[] = "harbor_lanternfish_sonatina";
constexpr int kPageSize = 512;

std::string folder, dbPath, journalPath, walPath;
std::vector<uint8_t> pristine;         // the undamaged keyed file
std::vector<uint8_t> walBase, walLog;  // a keyed file in WAL mode and its log, not checkpointed
quorvi::codec::DatabaseKey databaseKey;

[[noreturn]] void fail(const char* what, const char* detail = "") {
  std::fprintf(stderr, "%s %s\n", what, detail);
  std::abort();
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  const bool ok = size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size);
  ::close(fd);
  return ok;
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
  }
  return bytes;
}

void removeFiles() {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) ::unlink((dbPath + suffix).c_str());
}

sqlite3* openKeyed(int flags, bool sharedCache = false) {
  sqlite3* db = nullptr;
  const std::string name = sharedCache ? "file:" + dbPath + "?cache=shared" : dbPath;
  if (sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_key(db, kPassphrase, static_cast<int>(std::strlen(kPassphrase)));
  return db;
}

void makePristine() {
  removeFiles();
  sqlite3* db = openKeyed(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (db == nullptr) fail("cannot create", dbPath.c_str());
  std::string sql =
      "PRAGMA page_size=512; PRAGMA journal_mode=DELETE; BEGIN;"
      "CREATE TABLE dict_word (w_id INTEGER PRIMARY KEY, w_caption TEXT, w_phonetic TEXT,"
      " w_explain TEXT);"
      "CREATE INDEX dict_caption ON dict_word (w_caption);";
  for (int i = 0; i < 40; ++i)
    sql += "INSERT INTO dict_word (w_caption, w_phonetic, w_explain) VALUES ('word" +
           std::to_string(i) + "', 'k&#230;t" + std::to_string(i) + "', 'n. a thing<br/>" +
           std::string(i == 7 ? 1500 : 20, 'x') + "');";
  sql += "COMMIT;";
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) fail("schema", error);
  sqlite3_close(db);
  pristine = readFile(dbPath);
  if (pristine.size() < 8 * kPageSize) fail("pristine database too small");

  // The same in WAL mode, with transactions (page 1 among their pages) that only the log holds.
  db = openKeyed(SQLITE_OPEN_READWRITE);
  if (db == nullptr) fail("cannot open", dbPath.c_str());
  const char kWalSql[] =
      "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
      "UPDATE dict_word SET w_explain = w_explain || 'w' WHERE w_id % 2 = 0;"
      "CREATE TABLE dict_note (n_text TEXT); INSERT INTO dict_note VALUES ('in the log');"
      "DELETE FROM dict_word WHERE w_id > 35;";
  if (sqlite3_exec(db, kWalSql, nullptr, nullptr, &error) != SQLITE_OK) fail("wal", error);
  walBase = readFile(dbPath);
  walLog = readFile(walPath);
  sqlite3_close(db);
  if (walLog.size() < 4 * kPageSize) fail("no log written");
  removeFiles();
}

// Reads the input as a little stream of fields.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  bool empty() const { return at >= size; }
  uint32_t byte() { return at < size ? data[at++] : 0; }
  uint32_t u16() { return byte() | (byte() << 8); }
  std::vector<uint8_t> bytes(size_t n) {
    n = std::min(n, size - std::min(at, size));
    std::vector<uint8_t> out(data + at, data + at + n);
    at += n;
    return out;
  }
  std::vector<uint8_t> rest() { return bytes(size); }
};

// Writes `patch` into the plain text of page `page` and encrypts the page again.
void patchPlainPage(std::vector<uint8_t>& file, uint32_t page, uint32_t offset,
                    const std::vector<uint8_t>& patch) {
  const size_t start = static_cast<size_t>(page - 1) * kPageSize;
  if (start + kPageSize > file.size()) return;
  quorvi::codec::AesCipher cipher;
  uint8_t* p = file.data() + start;
  quorvi::codec::cryptPage(cipher, databaseKey, page, quorvi::codec::CryptDirection::Decrypt, p, p,
                           kPageSize);
  for (size_t i = 0; i < patch.size() && offset + i < kPageSize; ++i) p[offset + i] = patch[i];
  quorvi::codec::cryptPage(cipher, databaseKey, page, quorvi::codec::CryptDirection::Encrypt, p, p,
                           kPageSize);
}

// Steps a statement to its end; returns the number of rows.
int runStatement(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return -1;
  int rows = 0;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    for (int c = 0; c < sqlite3_column_count(statement); ++c) sqlite3_column_text(statement, c);
    ++rows;
  }
  const int rc = sqlite3_finalize(statement);
  return rc == SQLITE_OK ? rows : -1;
}

constexpr char kOtherKeyPragma[] = "PRAGMA key='a different key'";

// A second connection through the shared cache, without its authorizer, reads and writes
// nothing of the keyed file.
void expectSharedCacheRefused(bool canWrite) {
  sqlite3* second = nullptr;
  const std::string uri = "file:" + dbPath + "?cache=shared";
  const int flags = canWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  if (sqlite3_open_v2(uri.c_str(), &second, flags | SQLITE_OPEN_URI, nullptr) == SQLITE_OK) {
    sqlite3_set_authorizer(second, nullptr, nullptr);
    if (runStatement(second, "SELECT count(*) FROM dict_word") >= 0)
      fail("a shared-cache connection read the keyed database");
    if (canWrite && runStatement(second, "INSERT INTO dict_word (w_caption) VALUES ('in')") >= 0)
      fail("a shared-cache connection wrote the keyed database");
  }
  sqlite3_close(second);
}

// Another connection that reads the database (page 1 from the WAL, when it is there) takes no
// other key afterwards.
void expectNoOtherKeyAfterAWalRead() {
  sqlite3* other = openKeyed(SQLITE_OPEN_READWRITE);
  if (other == nullptr) return;
  if (runStatement(other, "SELECT count(*) FROM dict_word") == 1 &&
      runStatement(other, kOtherKeyPragma) >= 0) {
    fail("another key accepted after a read in WAL mode");
  }
  sqlite3_close(other);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  char pattern[64];
  std::snprintf(pattern, sizeof pattern, "%s/quorvi-codec-fuzz-XXXXXX", base);
  if (mkdtemp(pattern) == nullptr) fail("mkdtemp");
  folder = pattern;
  dbPath = folder + "/words.db";
  journalPath = dbPath + "-journal";
  walPath = dbPath + "-wal";
  if (quorvi::codec::registerCodecVfs() != SQLITE_OK) fail("registerCodecVfs");
  databaseKey =
      quorvi::codec::deriveDatabaseKey(kPassphrase, static_cast<int>(std::strlen(kPassphrase)));
  makePristine();
  std::atexit([] {
    removeFiles();
    ::rmdir(folder.c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const uint32_t flags = in.byte();
  std::vector<uint8_t> file = pristine;
  std::vector<uint8_t> journal, wal;
  bool damaged = false;
  for (int step = 0; step < 8 && !in.empty(); ++step) {
    const uint32_t op = in.byte() % 8;
    damaged = true;
    if (op == 0) {  // flip bits of a stored byte
      const uint32_t offset = in.u16();
      const uint8_t mask = static_cast<uint8_t>(in.byte() | 1);
      if (!file.empty()) file[offset % file.size()] ^= mask;
    } else if (op == 1) {  // truncate, often mid-page
      file.resize(std::min<size_t>(file.size(), in.u16() % (file.size() + 1)));
    } else if (op == 2) {  // garbage after the last page
      const std::vector<uint8_t> tail = in.bytes(in.byte() * 4);
      file.insert(file.end(), tail.begin(), tail.end());
    } else if (op == 3 || op == 4) {  // plain bytes into a page, encrypted again
      const uint32_t page = 1 + in.byte() % static_cast<uint32_t>(pristine.size() / kPageSize);
      // op 4 aims at page 1's header: page size (16), reserved bytes (20), page count (28) ...
      const uint32_t offset = op == 4 ? 16 + in.byte() % 84 : in.u16() % kPageSize;
      patchPlainPage(file, page, offset, in.bytes(1 + in.byte() % 8));
    } else if (op == 5) {  // a hot journal: the journal magic, then anything
      static const uint8_t kMagic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
      journal.assign(kMagic, kMagic + 8);
      const std::vector<uint8_t> body = in.rest();
      journal.insert(journal.end(), body.begin(), body.end());
    } else if (op == 6) {  // an arbitrary file
      file = in.rest();
    } else {  // the WAL-mode file and its log: bits flipped in the log, the log cut short
      file = walBase;
      wal = walLog;
      const uint32_t offset = in.u16() * 2, mask = in.byte();
      wal[offset % wal.size()] ^= static_cast<uint8_t>(mask);
      wal.resize(wal.size() - std::min<size_t>(wal.size(), in.u16() % 3 == 0 ? in.u16() : 0));
    }
  }

  removeFiles();
  if (!writeFile(dbPath, file.data(), file.size())) fail("cannot write", dbPath.c_str());
  if (!journal.empty() && !writeFile(journalPath, journal.data(), journal.size()))
    fail("cannot write", journalPath.c_str());
  if (!wal.empty() && !writeFile(walPath, wal.data(), wal.size()))
    fail("cannot write", walPath.c_str());

  const bool readOnly = flags & 1;
  const bool sharedCache = flags & 16;
  sqlite3* db = openKeyed(readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, sharedCache);
  if (db == nullptr) return 0;
  const int count = runStatement(db, "SELECT count(*) FROM dict_word");
  if (!damaged && count != 1) fail("the undamaged dictionary does not read");
  if (count == 1 && runStatement(db, kOtherKeyPragma) >= 0)
    fail("another key accepted after a read");
  if (sharedCache && count == 1) expectSharedCacheRefused(!readOnly);
  runStatement(db,
               "SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption='word7'");
  runStatement(db, "SELECT w_caption FROM dict_word ORDER BY w_caption DESC LIMIT 5");
  if (flags & 2) runStatement(db, "PRAGMA integrity_check");
  if (!readOnly) {
    // A write that is rolled back journals page images under the read key and plays them back.
    runStatement(db, "BEGIN");
    runStatement(db, "UPDATE dict_word SET w_explain = w_explain || 'y' WHERE w_id % 3 = 0");
    runStatement(db, "INSERT INTO dict_word (w_caption) VALUES ('new')");
    if (sqlite3_get_autocommit(db) == 0 && runStatement(db, kOtherKeyPragma) >= 0) {
      fail("another key accepted inside a transaction");
    }
    runStatement(db, "ROLLBACK");
    if (flags & 4) {
      const char other[] = "another key";
      sqlite3_rekey(db, other, sizeof other - 1);
      runStatement(db, "SELECT count(*) FROM dict_word");
    }
    if (flags & 8) {
      runStatement(db, "PRAGMA journal_mode=WAL");
      runStatement(db, "PRAGMA wal_autocheckpoint=0");
      runStatement(db, "DELETE FROM dict_word WHERE w_id < 5");
      runStatement(db, "CREATE TABLE IF NOT EXISTS dict_extra (x)");  // page 1 into the log
      if (count == 1 && runStatement(db, kOtherKeyPragma) >= 0)
        fail("another key accepted in WAL mode");
      expectNoOtherKeyAfterAWalRead();
      if (flags & 32) {  // a rekey from WAL mode, then reads under the new key
        const char other[] = "wal key";
        sqlite3_rekey(db, other, sizeof other - 1);
        runStatement(db, "SELECT count(*) FROM dict_word");
      }
      runStatement(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    }
  }
  if (sqlite3_close(db) != SQLITE_OK) fail("close left statements open");
  return 0;
}
