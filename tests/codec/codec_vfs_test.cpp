// The shim against the page format, key handling, journals, WAL, ATTACH and temporary files.
#include <dlfcn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "codec/page_format.h"
#include "codec_db_support.h"

namespace quorvi::codec::testing {
namespace {

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
void cryptFile(std::vector<std::uint8_t>& bytes, const char* passphrase, std::size_t pageSize,
               CryptDirection direction) {
  DatabaseKey key = deriveDatabaseKey(passphrase, static_cast<int>(std::strlen(passphrase)));
  AesCipher cipher;
  for (std::size_t off = 0; off + pageSize <= bytes.size(); off += pageSize) {
    cryptPage(cipher, key, static_cast<std::uint32_t>(off / pageSize + 1), direction, &bytes[off],
              &bytes[off], pageSize);
  }
}

class CodecVfsTest : public ::testing::Test {
 protected:
  void SetUp() override { setUpCodecVfs(); }
  quorvi::testing::TemporaryFolder dir;
};

class PageFormatTest : public CodecVfsTest, public ::testing::WithParamInterface<int> {};

// Whatever the page size, the file is exactly the plain database encrypted page by page, and a
// file encrypted page by page opens through the shim.
TEST_P(PageFormatTest, FileIsThePlainDatabaseEncryptedPageByPage) {
  const int pageSize = GetParam();
  const std::string keyed = dir.file("keyed.db"), plain = dir.file("plain.db");
  std::string expected;
  {
    Db db(keyed, "harbor_lanternfish_sonatina");
    ASSERT_EQ(db.exec("PRAGMA page_size=" + std::to_string(pageSize)), SQLITE_OK);
    fillTable(db, 300);
    expected = digest(db);
  }
  auto bytes = readFile(keyed);
  ASSERT_EQ(bytes.size() % pageSize, 0u);
  EXPECT_NE(std::memcmp(bytes.data(), "SQLite format 3", 15), 0);
  cryptFile(bytes, "harbor_lanternfish_sonatina", pageSize, CryptDirection::Decrypt);
  writeFile(plain, bytes);
  {
    Db db(plain, nullptr, SQLITE_OPEN_READONLY, "unix");
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(db.query("PRAGMA page_size"), std::to_string(pageSize));
    EXPECT_EQ(digest(db), expected);
  }
  // And back: encrypted by cryptPage alone, read through the shim (read-only, as the dictionary
  // is).
  cryptFile(bytes, "another key", pageSize, CryptDirection::Encrypt);
  writeFile(keyed, bytes);
  Db db(keyed, "another key", SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(digest(db), expected);
}
INSTANTIATE_TEST_SUITE_P(PageSizes, PageFormatTest, ::testing::Values(512, 4096, 65536));

TEST_F(CodecVfsTest, KeysDecideWhatReadsAndWhatFails) {
  const std::string path = dir.file("k.db");
  std::string expected;
  {
    Db db(path, "right");
    fillTable(db, 50);
    expected = digest(db);
  }
  {
    Db db(path, "right");
    EXPECT_EQ(db.keyRc(), SQLITE_OK);
    EXPECT_EQ(digest(db), expected);
    void* key = reinterpret_cast<void*>(1);
    int count = -1;
    sqlite3CodecGetKey(db.get(), 0, &key, &count);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(count, 1);
  }
  for (const char* key : {"wrong", "righ", "right "}) {
    Db db(path, key);
    EXPECT_EQ(db.keyRc(), SQLITE_OK);
    EXPECT_EQ(db.query("SELECT count(*) FROM t"), kNotADatabase) << key;
    EXPECT_EQ(db.query("PRAGMA user_version"), kNotADatabase) << key;
    EXPECT_EQ(db.exec("INSERT INTO t(b) VALUES('x')"), SQLITE_NOTADB) << key;
  }
  {
    Db db(path);  // no key at all
    EXPECT_EQ(db.query("SELECT count(*) FROM t"), kNotADatabase);
  }
  {
    Db db(path, "wrong");  // keying again replaces the first key
    EXPECT_EQ(sqlite3_key(db.get(), "right", 5), SQLITE_OK);
    EXPECT_EQ(digest(db), expected);
  }
  {
    Db db(path, "right");  // an empty or null key installs nothing, the earlier key stays
    EXPECT_EQ(sqlite3_key(db.get(), "", 0), SQLITE_OK);
    EXPECT_EQ(sqlite3_key(db.get(), nullptr, 5), SQLITE_OK);
    EXPECT_EQ(digest(db), expected);
  }
  {
    Db db(path);  // the key pragma, and the key as URI parameter
    EXPECT_EQ(db.exec("PRAGMA key='right'"), SQLITE_OK);
    EXPECT_EQ(digest(db), expected);
  }
  Db uri("file:" + path + "?hexkey=7269676874");
  EXPECT_EQ(digest(uri), expected);
  Db badHex("file:" + path + "?hexkey=72zz");
  EXPECT_NE(badHex.openRc(), SQLITE_OK);
}

TEST_F(CodecVfsTest, EmptyKeyLeavesDatabasePlain) {
  const std::string path = dir.file("plain.db");
  {
    Db db(path);
    EXPECT_EQ(sqlite3_key(db.get(), "", 0), SQLITE_OK);
    EXPECT_EQ(sqlite3_key(db.get(), nullptr, 8), SQLITE_OK);
    fillTable(db, 20);
    int count = -1;
    sqlite3CodecGetKey(db.get(), 0, nullptr, &count);
    EXPECT_EQ(count, 0);
  }
  Db db(path, nullptr, SQLITE_OPEN_READONLY, "unix");
  EXPECT_EQ(db.query("SELECT count(*) FROM t"), "20");
  Db memory(":memory:", "k");  // nothing on disk to encrypt: keying is accepted and changes nothing
  EXPECT_EQ(memory.keyRc(), SQLITE_OK);
  EXPECT_EQ(memory.exec("CREATE TABLE a(b); INSERT INTO a VALUES (1)"), SQLITE_OK);
  EXPECT_EQ(memory.query("SELECT b FROM a"), "1");
}

TEST_F(CodecVfsTest, RollbackAndWalModesKeepEveryPageUnderTheKey) {
  for (const char* mode : {"delete", "truncate", "persist", "wal"}) {
    const std::string path = dir.file(std::string(mode) + ".db");
    std::string expected;
    {
      Db db(path, "k");
      ASSERT_EQ(db.query(std::string("PRAGMA journal_mode=") + mode), mode);
      ASSERT_EQ(db.exec("PRAGMA cache_size=10"), SQLITE_OK);  // spill pages mid-transaction
      fillTable(db, 400);
      ASSERT_EQ(
          db.exec("BEGIN; UPDATE t SET b = b || '!'; DELETE FROM t WHERE a % 3 = 0; ROLLBACK"),
          SQLITE_OK);
      ASSERT_EQ(
          db.exec("BEGIN; UPDATE t SET b = upper(b) WHERE a % 2 = 0; SAVEPOINT s; DELETE FROM t; "
                  "ROLLBACK TO s; COMMIT"),
          SQLITE_OK);
      expected = digest(db);
      Db reader(path, "k");  // a second connection sees the committed state (through the WAL too)
      EXPECT_EQ(digest(reader), expected) << mode;
    }
    Db db(path, "k");
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok") << mode;
    EXPECT_EQ(digest(db), expected) << mode;
  }
}

// A hot journal or a WAL left by a crash must survive an open with the wrong key (or none):
// SQLite must neither discard the journal as corrupt nor drop the log, and the right key must
// still find the database intact afterwards.
TEST_F(CodecVfsTest, CrashLeftoversSurviveOpensWithTheWrongKey) {
  for (bool wal : {false, true}) {
    const std::string path = dir.file(wal ? "wal.db" : "journal.db");
    std::string committed;
    {
      Db db(path, "k");
      if (wal) {
        ASSERT_EQ(db.query("PRAGMA journal_mode=wal"), "wal");
      }
      fillTable(db, 200);
      committed = digest(db);
    }
    pid_t child = fork();
    if (child == 0) {
      Db db(path, "k");
      db.exec("PRAGMA cache_size=5");
      if (wal) {
        db.exec("INSERT INTO t(b) VALUES('after crash')");  // committed to the WAL only
        _exit(0);
      }
      armFault(60, false, true);  // end the process in the middle of the next transaction
      db.exec("UPDATE t SET b = b || ' changed'");
      _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    for (const char* key : {"wrong", static_cast<const char*>(nullptr)}) {
      Db db(path, key);
      EXPECT_EQ(db.query("SELECT count(*) FROM t"), kNotADatabase);
    }
    Db db(path, "k");
    EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok") << (wal ? "wal" : "journal");
    if (wal) {
      EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b = 'after crash'"), "1");
    } else {
      EXPECT_EQ(digest(db), committed);
    }
  }
}

TEST_F(CodecVfsTest, AttachTakesUriKeysOrSharesTheMainKey) {
  const std::string mainPath = dir.file("main.db"), other = dir.file("other.db"),
                    shared = dir.file("shared.db"), plain = dir.file("plain.db");
  {
    Db db(mainPath, "main key");
    ASSERT_EQ(db.exec("CREATE TABLE m(v)"), SQLITE_OK);
    ASSERT_EQ(db.exec("ATTACH 'file:" + other + "?key=other%20key' AS o"), SQLITE_OK);
    ASSERT_EQ(db.exec("ATTACH 'file:" + shared + "' AS s"), SQLITE_OK);
    ASSERT_EQ(db.exec("ATTACH 'file:" + plain + "?key=' AS p"), SQLITE_OK);
    ASSERT_EQ(db.exec("CREATE TABLE o.x(v); INSERT INTO o.x VALUES ('other'); CREATE TABLE s.x(v); "
                      "INSERT INTO s.x VALUES ('shared'); CREATE TABLE p.x(v); INSERT INTO p.x "
                      "VALUES ('plain')"),
              SQLITE_OK);
  }
  EXPECT_EQ(Db("file:" + other + "?key=other%20key").query("SELECT v FROM x"), "other");
  EXPECT_EQ(Db(other, "main key").query("SELECT v FROM x"), kNotADatabase);
  EXPECT_EQ(Db(shared, "main key").query("SELECT v FROM x"), "shared");
  EXPECT_EQ(Db(plain, nullptr, SQLITE_OPEN_READONLY, "unix").query("SELECT v FROM x"), "plain");

  Db plainMain(dir.file("plain-main.db"));  // a plain main database shares nothing
  ASSERT_EQ(plainMain.exec("ATTACH 'file:" + dir.file("plain2.db") + "' AS q; CREATE TABLE q.x(v)"),
            SQLITE_OK);
  EXPECT_EQ(Db(dir.file("plain2.db"), nullptr, SQLITE_OPEN_READONLY, "unix")
                .query("SELECT count(*) FROM x"),
            "0");
}

// Changing the page size of a keyed database (VACUUM, a backup from a database of another page
// size) is refused and rolled back; copies into a new keyed file take the source's page size.
TEST_F(CodecVfsTest, PageSizeOfAKeyedDatabaseStays) {
  const std::string path = dir.file("k.db");
  Db db(path, "k");
  fillTable(db, 400);
  const std::string expected = digest(db);
  Db small(dir.file("small.db"));
  ASSERT_EQ(small.exec("PRAGMA page_size=1024"), SQLITE_OK);
  fillTable(small, 50);
  ASSERT_EQ(small.query("PRAGMA page_size"), "1024");

  EXPECT_EQ(db.exec("PRAGMA page_size=1024; VACUUM"), SQLITE_READONLY);
  sqlite3_backup* backup = sqlite3_backup_init(db.get(), "main", small.get(), "main");
  ASSERT_NE(backup, nullptr);
  EXPECT_EQ(sqlite3_backup_step(backup, -1), SQLITE_READONLY);
  sqlite3_backup_finish(backup);
  Db check(path, "k");
  EXPECT_EQ(check.query("PRAGMA page_size"), "4096");
  EXPECT_EQ(check.query("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(digest(check), expected);

  Db copy(dir.file("copy.db"), "k");
  backup = sqlite3_backup_init(copy.get(), "main", small.get(), "main");
  ASSERT_NE(backup, nullptr);
  EXPECT_EQ(sqlite3_backup_step(backup, -1), SQLITE_DONE);
  sqlite3_backup_finish(backup);
  Db copyCheck(dir.file("copy.db"), "k");
  EXPECT_EQ(digest(copyCheck), digest(small));
  EXPECT_EQ(copyCheck.query("PRAGMA page_size"), "1024");
}

// The loadable module in a process that already has the shim must not stack a second one on
// top of it: pages are encrypted once.
TEST_F(CodecVfsTest, LoadingTheModuleDoesNotEncryptTwice) {
  void* module = dlopen(QUORVI_CODEC_MODULE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  using Init = int (*)(sqlite3*, char**, const void*);
  auto init = reinterpret_cast<Init>(dlsym(module, "sqlite3_extension_init"));
  ASSERT_NE(init, nullptr);
  EXPECT_EQ(init(nullptr, nullptr, nullptr), SQLITE_OK_LOAD_PERMANENTLY);
  const std::string path = dir.file("once.db");
  {
    Db db("file:" + path + "?key=k");
    fillTable(db, 20);
  }
  auto bytes = readFile(path);
  cryptFile(bytes, "k", 4096, CryptDirection::Decrypt);
  EXPECT_EQ(std::memcmp(bytes.data(), "SQLite format 3", 16), 0);
}

// Sorts, VACUUM and the temp schema of a keyed database leave no file in the temporary folder.
TEST_F(CodecVfsTest, TemporaryFilesStayOffTheDisk) {
  quorvi::testing::TemporaryFolder tmp;
  setenv("SQLITE_TMPDIR", tmp.path().c_str(), 1);
  const std::string path = dir.file("k.db");
  {
    Db db(path, "k");
    ASSERT_EQ(db.exec("PRAGMA temp_store=FILE; PRAGMA cache_size=5"), SQLITE_OK);
    fillTable(db, 2000);
    EXPECT_EQ(db.query("SELECT count(*) FROM (SELECT b FROM t ORDER BY c, b DESC)"), "2000");
    ASSERT_EQ(db.exec("CREATE TEMP TABLE tt AS SELECT * FROM t; UPDATE t SET b = b || (SELECT "
                      "count(*) FROM tt)"),
              SQLITE_OK);
    ASSERT_EQ(db.exec("VACUUM"), SQLITE_OK);
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
  }
  unsetenv("SQLITE_TMPDIR");
  Db db(path, "k");
  EXPECT_EQ(db.query("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(db.query("SELECT count(*) FROM t WHERE b LIKE '%2000'"), "2000");
}

}  // namespace
}  // namespace quorvi::codec::testing
