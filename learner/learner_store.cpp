#include "learner/learner_store.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <ctime>
#include <system_error>

#include "learner/data_folder.h"
#include "learner/schema.h"

namespace fs = std::filesystem;

namespace quorvi::learner {
namespace {

// The system's own file layer: the dictionary's codec may have made itself the default VFS in
// this process, and the learner's file is plain SQLite.
const char* plainVfs() {
  return sqlite3_vfs_find("unix") != nullptr ? "unix" : nullptr;
}

bool isDamage(int code) {
  const int primary = code & 0xff;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

std::string utcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

// One statement whose single text result must be "ok" (the integrity check).
int checkIntegrity(sqlite3* db, bool& healthy) {
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
  if (rc != SQLITE_OK) return rc;
  healthy = true;
  bool first = true;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    if (!first || text == nullptr || std::string(text) != "ok") healthy = false;
    first = false;
  }
  sqlite3_finalize(statement);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// WAL: a reader never waits for a writer, and a killed writer leaves the committed
// transactions.
int setWalMode(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db, "PRAGMA journal_mode=WAL", -1, &statement, nullptr);
  if (rc != SQLITE_OK) return rc;
  rc = sqlite3_step(statement);
  const auto* mode =
      rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)) : nullptr;
  rc = (mode != nullptr && std::string(mode) == "wal") ? SQLITE_OK
       : rc == SQLITE_ROW                              ? SQLITE_CANTOPEN
                                                       : rc;
  sqlite3_finalize(statement);
  return rc;
}

}  // namespace

LearnerStore::LearnerStore(fs::path file, int busyMilliseconds)
    : file_(std::move(file)), busyMilliseconds_(busyMilliseconds) {
  if (file_.empty()) {
    error_ = "no folder for the learner's data (neither XDG_DATA_HOME nor HOME is set)";
    return;
  }
  if (std::string folderError = makePrivateFolder(file_.parent_path()); !folderError.empty()) {
    error_ = folderError;
    return;
  }
  Opened opened = openFile();
  if (opened == Opened::kDamaged) {
    setAside();
    if (error_.empty()) opened = openFile();
  }
  if (opened != Opened::kOk) close();
}

LearnerStore::~LearnerStore() {
  close();
}

// SQLite's own busy timeout sleeps up to 100 ms at a time, and a program writing often takes
// the lock again in between: the other one could wait out the whole timeout. Short sleeps
// catch the lock when it is free.
int LearnerStore::waitForLock(void* self, int attempt) {
  auto* store = static_cast<LearnerStore*>(self);
  const auto now = std::chrono::steady_clock::now();
  if (attempt == 0) store->waitStarted_ = now;
  if (now - store->waitStarted_ >= std::chrono::milliseconds(store->busyMilliseconds_)) return 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(attempt < 10 ? 1 : 5));
  return 1;
}

void LearnerStore::close() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

LearnerStore::Opened LearnerStore::openFile() {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW;
  int rc = sqlite3_open_v2(file_.c_str(), &db_, flags, plainVfs());
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, &LearnerStore::waitForLock, this);
    bool healthy = true;
    rc = checkIntegrity(db_, healthy);
    if (rc == SQLITE_OK && !healthy) {
      close();
      return Opened::kDamaged;
    }
  }
  if (rc == SQLITE_OK) {
    // Two programs opening a new file at once both ask for WAL while it is still in the
    // rollback mode: the one holding a read lock is refused at once, without the busy
    // handler (waiting could deadlock), so it asks again, as long as a lock may be waited for.
    const auto start = std::chrono::steady_clock::now();
    for (int attempt = 0;; ++attempt) {
      rc = setWalMode(db_);
      if ((rc & 0xff) != SQLITE_BUSY ||
          std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(busyMilliseconds_))
        break;
      std::this_thread::sleep_for(std::chrono::milliseconds(attempt < 10 ? 1 : 5));
    }
  }
  // FULL: a commit is on the disk before it returns.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) {
    std::string why;
    rc = migrateSchema(db_, schemaVersion_, why);
    if (rc != SQLITE_OK && !isDamage(rc)) {
      error_ = "cannot use the learner's data " + file_.string() + ": " + why;
      return Opened::kFailed;
    }
  }
  if (rc == SQLITE_OK) return Opened::kOk;
  if (isDamage(rc)) {
    close();
    return Opened::kDamaged;
  }
  error_ = describe(rc);
  return Opened::kFailed;
}

// Renames the damaged file (and its write-ahead log) aside and removes its shared-memory
// index, so that a fresh file can take its name; nothing of it is deleted.
void LearnerStore::setAside() {
  const std::string aside = file_.string() + ".damaged-" + utcStamp();
  std::error_code failure;
  fs::rename(file_, aside, failure);
  if (failure) {
    error_ = "the learner's data " + file_.string() +
             " is damaged and cannot be set aside: " + failure.message();
    return;
  }
  std::error_code ignored;
  const fs::path wal = file_.string() + "-wal";
  if (fs::exists(wal, ignored)) fs::rename(wal, aside + "-wal", ignored);
  fs::remove(file_.string() + "-shm", ignored);
  setAside_ = aside;
  notice_ = "The learner's data " + file_.string() + " was damaged; it is kept as " + aside +
            " and a fresh one was started.";
}

long long LearnerStore::changesByOthers() const {
  if (db_ == nullptr) return 0;
  Statement version(db_, "PRAGMA data_version");
  return version.prepared() == SQLITE_OK && version.step() == SQLITE_ROW ? version.integer(0) : 0;
}

std::string LearnerStore::describe(int code) const {
  std::string why;
  switch (code & 0xff) {
    case SQLITE_FULL:
      why = "the disk is full";
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      why = "another program kept it locked too long";
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
      why = "it cannot be written (" + std::string(sqlite3_errstr(code)) + ")";
      break;
    case SQLITE_IOERR:
      why = "the disk failed (" + std::string(sqlite3_errstr(code)) + ")";
      break;
    default:
      why = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
  }
  return "cannot use the learner's data " + file_.string() + ": " + why;
}

std::string LearnerStore::write(const std::function<int(sqlite3*)>& body) {
  if (db_ == nullptr) return error_.empty() ? "the learner's data is not open" : error_;
  int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return describe(rc);
  rc = body(db_);
  if (rc == SQLITE_DONE) rc = SQLITE_OK;
  if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return {};
  const std::string error = describe(rc);
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return error;
}

Statement::Statement(sqlite3* db, const char* sql)
    : prepareCode_(sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr)) {}

Statement::~Statement() {
  sqlite3_finalize(statement_);
}

Statement& Statement::bind(int index, const std::string& text) {
  sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::bind(int index, long long value) {
  sqlite3_bind_int64(statement_, index, value);
  return *this;
}

int Statement::step() {
  return statement_ != nullptr ? sqlite3_step(statement_) : prepareCode_;
}

std::string Statement::text(int column) const {
  const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return value != nullptr
             ? std::string(value, static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
             : std::string();
}

long long Statement::integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

}  // namespace quorvi::learner
