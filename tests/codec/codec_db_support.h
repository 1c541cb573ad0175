// Helpers for the codec tests that go through SQLite: a fault-injecting VFS registered below the
// codec shim, a scratch folder, and small wrappers for connections and queries.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>

#include "codec/codec_vfs.h"
#include "tests/support/temporary_folder.h"

namespace quorvi::codec::testing {

// Counts writes to every file; can fail the k-th (once, or from then on) or end the process there.
struct FaultPlan {
  std::atomic<long> writes{0};
  std::atomic<long> failAt{0};  // 0 = never
  std::atomic<bool> persistent{false};
  std::atomic<bool> exitInstead{false};
};

inline FaultPlan& faults() {
  static FaultPlan plan;
  return plan;
}

namespace detail_fault {
struct File {
  sqlite3_file base;
  sqlite3_file* real;
};
inline sqlite3_vfs* base() {
  static sqlite3_vfs* vfs = sqlite3_vfs_find("unix");
  return vfs;
}
inline sqlite3_file* real(sqlite3_file* f) {
  return reinterpret_cast<File*>(f)->real;
}
inline int xWrite(sqlite3_file* f, const void* buf, int amt, sqlite3_int64 off) {
  FaultPlan& plan = faults();
  long n = ++plan.writes;
  long at = plan.failAt.load();
  if (at > 0 && (n == at || (plan.persistent && n > at))) {
    if (plan.exitInstead) _exit(0);
    return SQLITE_IOERR_WRITE;
  }
  return real(f)->pMethods->xWrite(real(f), buf, amt, off);
}
inline int xClose(sqlite3_file* f) {
  return real(f)->pMethods->xClose(real(f));
}
inline int xRead(sqlite3_file* f, void* b, int a, sqlite3_int64 o) {
  return real(f)->pMethods->xRead(real(f), b, a, o);
}
inline int xTruncate(sqlite3_file* f, sqlite3_int64 s) {
  return real(f)->pMethods->xTruncate(real(f), s);
}
inline int xSync(sqlite3_file* f, int fl) {
  return real(f)->pMethods->xSync(real(f), fl);
}
inline int xFileSize(sqlite3_file* f, sqlite3_int64* s) {
  return real(f)->pMethods->xFileSize(real(f), s);
}
inline int xLock(sqlite3_file* f, int l) {
  return real(f)->pMethods->xLock(real(f), l);
}
inline int xUnlock(sqlite3_file* f, int l) {
  return real(f)->pMethods->xUnlock(real(f), l);
}
inline int xCheck(sqlite3_file* f, int* o) {
  return real(f)->pMethods->xCheckReservedLock(real(f), o);
}
inline int xFcntl(sqlite3_file* f, int op, void* a) {
  return real(f)->pMethods->xFileControl(real(f), op, a);
}
inline int xSector(sqlite3_file* f) {
  return real(f)->pMethods->xSectorSize(real(f));
}
inline int xDevice(sqlite3_file* f) {
  return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
inline int xShmMap(sqlite3_file* f, int r, int s, int e, void volatile** o) {
  return real(f)->pMethods->xShmMap(real(f), r, s, e, o);
}
inline int xShmLock(sqlite3_file* f, int o, int n, int fl) {
  return real(f)->pMethods->xShmLock(real(f), o, n, fl);
}
inline void xShmBarrier(sqlite3_file* f) {
  real(f)->pMethods->xShmBarrier(real(f));
}
inline int xShmUnmap(sqlite3_file* f, int d) {
  return real(f)->pMethods->xShmUnmap(real(f), d);
}
inline const sqlite3_io_methods kMethods = {
    2,      xClose,  xRead,   xWrite,  xTruncate, xSync,       xFileSize, xLock,   xUnlock, xCheck,
    xFcntl, xSector, xDevice, xShmMap, xShmLock,  xShmBarrier, xShmUnmap, nullptr, nullptr};
inline int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* out) {
  auto* file = reinterpret_cast<File*>(f);
  file->real = reinterpret_cast<sqlite3_file*>(file + 1);
  f->pMethods = nullptr;
  int rc = base()->xOpen(base(), name, file->real, flags, out);
  if (rc == SQLITE_OK) f->pMethods = &kMethods;
  return rc;
}
}  // namespace detail_fault

// Registers the fault VFS as default and the codec shim over it, once per process.
inline void setUpCodecVfs() {
  static std::once_flag once;
  std::call_once(once, [] {
    static sqlite3_vfs vfs = *detail_fault::base();
    vfs.zName = "fault";
    vfs.szOsFile = static_cast<int>(sizeof(detail_fault::File)) + detail_fault::base()->szOsFile;
    vfs.xOpen = detail_fault::xOpen;
    vfs.pNext = nullptr;
    sqlite3_vfs_register(&vfs, 1);
    ASSERT_EQ(registerCodecVfs(), SQLITE_OK);
  });
}

inline void armFault(long failAt, bool persistent = false, bool exitInstead = false) {
  faults().writes = 0;
  faults().persistent = persistent;
  faults().exitInstead = exitInstead;
  faults().failAt = failAt;
}
inline void disarmFault() {
  faults().failAt = 0;
}

// A connection, closed on destruction.
class Db {
 public:
  explicit Db(const std::string& name, const char* key = nullptr,
              int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
              const char* vfs = nullptr) {
    openRc_ = sqlite3_open_v2(name.c_str(), &db_, flags, vfs);
    if (key != nullptr) keyRc_ = sqlite3_key(db_, key, static_cast<int>(std::strlen(key)));
  }
  ~Db() { sqlite3_close(db_); }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;
  sqlite3* get() const { return db_; }
  int openRc() const { return openRc_; }
  int keyRc() const { return keyRc_; }

  int exec(const std::string& sql) const {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  }
  // First column of every row, joined with '|'; "ERROR: <message>" when the statement fails.
  std::string query(const std::string& sql) const {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      return std::string("ERROR: ") + sqlite3_errmsg(db_);
    }
    std::string out;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      if (!out.empty()) out += '|';
      const unsigned char* text = sqlite3_column_text(stmt, 0);
      out += text != nullptr ? reinterpret_cast<const char*>(text) : "NULL";
    }
    if (rc != SQLITE_DONE) out = std::string("ERROR: ") + sqlite3_errmsg(db_);
    sqlite3_finalize(stmt);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
  int openRc_ = SQLITE_OK;
  int keyRc_ = SQLITE_OK;
};

// SQLITE_NOTADB's message; older SQLite worded it "file is encrypted or is not a database".
inline const std::string kNotADatabase = std::string("ERROR: ") + sqlite3_errstr(SQLITE_NOTADB);

// Fills table t with `rows` rows of mixed content; `digest` summarises the whole table.
inline void fillTable(const Db& db, int rows, int seed = 1) {
  ASSERT_EQ(db.exec("CREATE TABLE IF NOT EXISTS t(a INTEGER PRIMARY KEY, b TEXT, c BLOB)"),
            SQLITE_OK);
  ASSERT_EQ(
      db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
              std::to_string(rows) + ") INSERT INTO t(b, c) SELECT printf('row %d seed %d', i, " +
              std::to_string(seed) + "), zeroblob(50 + (i * 37 + " + std::to_string(seed) +
              ") % 700) FROM n"),
      SQLITE_OK);
  ASSERT_EQ(db.exec("CREATE INDEX IF NOT EXISTS tb ON t(b)"), SQLITE_OK);
}
inline std::string digest(const Db& db) {
  return db.query(
      "SELECT count(*) || ':' || total(a) || ':' || total(length(c)) || ':' || "
      "group_concat(b, ',') FROM t");
}

}  // namespace quorvi::codec::testing
