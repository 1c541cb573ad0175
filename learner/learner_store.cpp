#include "learner/learner_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

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

int readVersion(sqlite3* db, int& version) {
  Statement query(db, "PRAGMA user_version");
  const int rc = query.step();
  if (rc != SQLITE_ROW) return rc;
  version = static_cast<int>(query.integer(0));
  return SQLITE_OK;
}

// "file:" and the path with what a URI must not hold written as %XX.
std::string fileUri(const fs::path& file) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const unsigned char c : file.string()) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

long long fileSize(const fs::path& file) {
  struct stat st {};
  return stat(file.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

std::chrono::milliseconds lockPatience(int busyMilliseconds) {
  // Setting a damaged file aside copies its rows: give the program doing it time.
  return std::chrono::milliseconds(std::max(busyMilliseconds, 0) * 4 + 2000);
}

}  // namespace

LearnerStore::LearnerStore(fs::path file, int busyMilliseconds, Role role)
    : file_(std::move(file)), busyMilliseconds_(busyMilliseconds), role_(role) {
  if (file_.empty()) {
    fail(FileProblem::kNoDataFolder, describeProblem(FileProblem::kNoDataFolder));
    return;
  }
  FileProblem folderProblem = FileProblem::kNone;
  if (role_ == Role::kKeeper)
    if (std::string folderError = makePrivateFolder(file_.parent_path(), &folderProblem);
        !folderError.empty()) {
      fail(folderProblem, folderError);
      return;
    }
  open();
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

void LearnerStore::fail(FileProblem problem, const std::string& text) {
  close();
  problem_ = problem;
  error_ = text;
}

void LearnerStore::open() {
  // Each round either ends, or finds the file changed by another program (made, or set
  // aside) and looks again.
  for (int round = 0; round < 10; ++round) {
    if (openOnce() == Step::kDone) {
      if (db_ != nullptr) keepPrivate(file_.parent_path(), file_);
      return;
    }
  }
  if (db_ == nullptr && error_.empty())
    fail(FileProblem::kBusy, "cannot use the learner's data " + file_.string() +
                                 ": other programs kept changing it while it was opened");
}

LearnerStore::Step LearnerStore::openOnce() {
  close();
  readOnly_ = false;
  error_.clear();
  problem_ = FileProblem::kNone;
  struct stat st {};
  if (lstat(file_.c_str(), &st) != 0) {
    if (errno == ENOENT && role_ == Role::kKeeper) return makeFreshFile();
    const FileProblem problem = problemOfErrno(errno);
    fail(problem,
         "cannot use the learner's data " + file_.string() + ": " + describeProblem(problem));
    return Step::kDone;
  }
  if (!S_ISREG(st.st_mode)) {
    const FileProblem problem =
        S_ISLNK(st.st_mode) ? FileProblem::kSymbolicLink : FileProblem::kNotAFile;
    fail(problem,
         "cannot use the learner's data " + file_.string() + ": it is " + describeProblem(problem));
    return Step::kDone;
  }
  int rc = sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                           plainVfs());
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, &LearnerStore::waitForLock, this);
    readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
    bool healthy = true;
    rc = role_ == Role::kKeeper ? checkIntegrity(db_, healthy) : readVersion(db_, schemaVersion_);
    if (rc == SQLITE_OK && !healthy) rc = SQLITE_CORRUPT;
  }
  if (role_ == Role::kReader && rc == SQLITE_OK && !readOnly_) {
    if (schemaVersion_ > kSchemaVersion) {
      fail(FileProblem::kNewerVersion, "cannot use the learner's data " + file_.string() + ": " +
                                           describeProblem(FileProblem::kNewerVersion));
      return Step::kDone;
    }
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return Step::kDone;
  }
  if (rc == SQLITE_OK && readOnly_) {
    // A file the system lets this program read only.
    close();
    openForReading(FileProblem::kNoPermission);
    return Step::kDone;
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
    if (rc != SQLITE_OK && !isDamage(rc) && whyNotWritable(rc) == FileProblem::kNone) {
      fail(why.find("newer version") != std::string::npos ? FileProblem::kNewerVersion
                                                          : FileProblem::kOther,
           "cannot use the learner's data " + file_.string() + ": " + why);
      return Step::kDone;
    }
  }
  if (rc == SQLITE_OK) {
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return Step::kDone;
  }
  if (isDamage(rc)) {
    // Closed without folding its log into the file: a damaged file is kept as it was.
    if (db_ != nullptr) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    close();
    if (role_ == Role::kReader) {
      fail(FileProblem::kDamaged, "cannot use the learner's data " + file_.string() + ": " +
                                      describeProblem(FileProblem::kDamaged));
      return Step::kDone;
    }
    return recoverDamaged(st.st_dev, st.st_ino);
  }
  // Set aside or replaced by another program while this one opened it (SQLite then calls the
  // moved file read-only): what stands at the path now is opened in the next round.
  struct stat now {};
  if (lstat(file_.c_str(), &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
    close();
    return Step::kAgain;
  }
  if (const FileProblem unwritable = whyNotWritable(rc); unwritable != FileProblem::kNone) {
    close();
    openForReading(unwritable);
    return Step::kDone;
  }
  const std::string error = describe(rc);
  fail(problem_, error);
  return Step::kDone;
}

// No file yet: made under the folder's lock, empty and private, then opened like any other.
LearnerStore::Step LearnerStore::makeFreshFile() {
  const FolderLock lock(file_.parent_path(), lockPatience(busyMilliseconds_));
  if (!lock.held()) {
    fail(lock.problem(), "cannot use the learner's data " + file_.string() + ": " +
                             describeProblem(lock.problem()));
    return Step::kDone;
  }
  struct stat st {};
  if (lstat(file_.c_str(), &st) == 0) return Step::kAgain;
  // A log left behind by an earlier file must never meet a fresh one.
  const fs::path strayLog = file_.string() + "-wal";
  if (lstat(strayLog.c_str(), &st) == 0)
    renameWithoutReplacing(strayLog, file_.string() + "-wal.stray-" + std::to_string(st.st_ino));
  const int fd = ::open(file_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
    return Step::kAgain;
  }
  if (errno == EEXIST) return Step::kAgain;
  const FileProblem problem = problemOfErrno(errno);
  if (problem == FileProblem::kNoPermission || problem == FileProblem::kDiskFull) {
    openEmpty(problem);
  } else {
    fail(problem,
         "cannot make the learner's data " + file_.string() + ": " + describeProblem(problem));
  }
  return Step::kDone;
}

LearnerStore::Step LearnerStore::recoverDamaged(dev_t device, ino_t inode) {
  // One program at a time sets it aside; the others wait here, then open the fresh file.
  const FolderLock lock(file_.parent_path(), lockPatience(busyMilliseconds_));
  if (!lock.held()) {
    fail(FileProblem::kDamaged,
         "the learner's data " + file_.string() +
             " is damaged and cannot be set aside: " + describeProblem(lock.problem()));
    return Step::kDone;
  }
  struct stat st {};
  if (lstat(file_.c_str(), &st) != 0 || st.st_dev != device || st.st_ino != inode)
    return Step::kAgain;  // another program set it aside already
  const Recovery recovery = setAsideAndSalvage(file_);
  if (recovery.aside.empty()) {
    fail(FileProblem::kDamaged, recovery.error);
    return Step::kDone;
  }
  setAside_ = recovery.aside;
  salvage_ = recovery.salvage;
  const SalvageReport& saved = salvage_;
  notice_ = "The learner's data " + file_.string() + " was damaged; it is kept as " +
            setAside_.string() + ". ";
  if (!saved.readable) {
    notice_ += "Nothing of it could be read; a fresh one was started.";
  } else {
    notice_ += "Saved into a fresh one: " + std::to_string(saved.words) + " of my words, " +
               std::to_string(saved.history) + " history entries and " +
               std::to_string(saved.drill) + " rows of the listening drill; " +
               std::to_string(saved.lost) + " rows could not be read.";
  }
  return Step::kAgain;
}

void LearnerStore::openForReading(FileProblem why) {
  const std::string cause = describeProblem(why);
  const bool empty = fileSize(file_) == 0;
  if (empty) {
    openEmpty(why);
    return;
  }
  bool latestMayBeMissing = false;
  // Read as it is: works where the shared-memory file exists or can be made.
  int rc =
      sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, plainVfs());
  bool healthy = true;
  if (rc == SQLITE_OK) rc = checkIntegrity(db_, healthy);
  if (rc != SQLITE_OK && !isDamage(rc)) {
    // Without it, the file alone: all of it when no log is waiting to be folded in.
    close();
    latestMayBeMissing = fileSize(file_.string() + "-wal") > 0;
    rc = sqlite3_open_v2(fileUri(file_).append("?immutable=1").c_str(), &db_,
                         SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOFOLLOW, plainVfs());
    if (rc == SQLITE_OK) rc = checkIntegrity(db_, healthy);
  }
  if (rc == SQLITE_OK && !healthy) rc = SQLITE_CORRUPT;
  if (rc == SQLITE_OK) rc = readVersion(db_, schemaVersion_);
  if (rc != SQLITE_OK) {
    fail(isDamage(rc) ? FileProblem::kDamaged : why,
         "cannot use the learner's data " + file_.string() + ": " +
             (isDamage(rc) ? "it is damaged and cannot be set aside (" + cause + ")" : cause));
    return;
  }
  if (schemaVersion_ > kSchemaVersion) {
    fail(FileProblem::kNewerVersion, "cannot use the learner's data " + file_.string() + ": " +
                                         describeProblem(FileProblem::kNewerVersion));
    return;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_handler(db_, &LearnerStore::waitForLock, this);
  readOnly_ = true;
  problem_ = why;
  error_ = "the learner's data " + file_.string() + " can only be read: changes cannot be saved (" +
           cause + ")";
  notice_ += (notice_.empty() ? "" : " ") + error_ +
             (latestMayBeMissing ? "; its latest changes may not show." : ".");
  struct stat st {};
  if (stat(file_.c_str(), &st) == 0) {
    device_ = st.st_dev;
    inode_ = st.st_ino;
  }
}

// Nothing to read and nowhere to write: an empty store in memory, so that lists show empty.
void LearnerStore::openEmpty(FileProblem why) {
  close();
  std::string unused;
  if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
      migrateSchema(db_, schemaVersion_, unused) != SQLITE_OK) {
    fail(why, "cannot use the learner's data " + file_.string() + ": " + describeProblem(why));
    return;
  }
  readOnly_ = true;
  problem_ = why;
  error_ = "the learner's data " + file_.string() + " cannot be made: changes cannot be saved (" +
           describeProblem(why) + ")";
  notice_ += (notice_.empty() ? "" : " ") + error_ + ".";
}

// The kind of trouble when `code` says the file could not be written, or kNone when it says
// something else.
FileProblem LearnerStore::whyNotWritable(int code) const {
  const int primary = code & 0xff;
  if (primary != SQLITE_READONLY && primary != SQLITE_CANTOPEN && primary != SQLITE_PERM &&
      primary != SQLITE_FULL && primary != SQLITE_IOERR && primary != SQLITE_AUTH)
    return FileProblem::kNone;
  const int error = db_ != nullptr ? sqlite3_system_errno(db_) : 0;
  const FileProblem byErrno = problemOfErrno(error);
  if (byErrno == FileProblem::kDiskFull || byErrno == FileProblem::kNoPermission) return byErrno;
  const fs::path folder = file_.parent_path();
  struct statvfs room {};
  if (primary == SQLITE_FULL || (statvfs(folder.c_str(), &room) == 0 && room.f_bavail == 0))
    return FileProblem::kDiskFull;
  if (access(folder.c_str(), W_OK) != 0 || access(file_.c_str(), W_OK) != 0 ||
      primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_AUTH)
    return FileProblem::kNoPermission;
  return primary == SQLITE_IOERR ? FileProblem::kDiskFailed : FileProblem::kNoPermission;
}

bool LearnerStore::replacedByAnother() const {
  struct stat st {};
  return lstat(file_.c_str(), &st) != 0 || st.st_dev != device_ || st.st_ino != inode_;
}

long long LearnerStore::changesByOthers() {
  if (db_ != nullptr && !readOnly_ && replacedByAnother()) open();
  if (db_ == nullptr) return 0;
  Statement version(db_, "PRAGMA data_version");
  // The file itself counts too: a fresh one put in place by another program is a change.
  return version.prepared() == SQLITE_OK && version.step() == SQLITE_ROW
             ? version.integer(0) + static_cast<long long>(inode_) * 1000003LL
             : 0;
}

std::string LearnerStore::describe(int code) {
  const int primary = code & 0xff;
  std::string detail;
  switch (primary) {
    case SQLITE_FULL:
      problem_ = FileProblem::kDiskFull;
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      problem_ = FileProblem::kBusy;
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR: {
      problem_ = whyNotWritable(code);
      detail = sqlite3_errstr(code);
      break;
    }
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      problem_ = FileProblem::kDamaged;
      break;
    default:
      problem_ = FileProblem::kOther;
      detail = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
  }
  return "cannot use the learner's data " + file_.string() + ": " +
         describeProblem(problem_, detail);
}

std::string LearnerStore::write(const std::function<int(sqlite3*)>& body) {
  if (db_ != nullptr && !readOnly_ && replacedByAnother()) open();
  if (db_ == nullptr) return error_.empty() ? "the learner's data is not open" : error_;
  if (readOnly_) return error_;
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
