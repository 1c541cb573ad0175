// The learner's database: one SQLite file in the user's data folder, written in WAL mode
// through the system SQLite (never through the dictionary's codec), every write in one
// transaction. Two programs may write at once: a writer waits up to the busy timeout for the
// other. A file that is no database, or fails the integrity check, is renamed aside as
// `<name>.damaged-<UTC time>` and a fresh one started; notice() then says so.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace quorvi::learner {

class LearnerStore {
 public:
  // Opens `file`, creating it and its folders (mode 0700) when missing, and brings its
  // schema up to date. `busyMilliseconds`: how long a statement waits for another writer.
  explicit LearnerStore(std::filesystem::path file, int busyMilliseconds = 5000);
  ~LearnerStore();
  LearnerStore(const LearnerStore&) = delete;
  LearnerStore& operator=(const LearnerStore&) = delete;

  bool isOpen() const { return db_ != nullptr; }
  // Why the store is not open (empty when it is).
  const std::string& error() const { return error_; }
  // What the learner should be told once: a damaged file set aside. Empty otherwise.
  const std::string& notice() const { return notice_; }
  // Where the damaged file was set aside (empty when none was).
  const std::filesystem::path& setAsideFile() const { return setAside_; }
  const std::filesystem::path& file() const { return file_; }
  sqlite3* connection() const { return db_; }
  int schemaVersion() const { return schemaVersion_; }

  // Runs `body` in one write transaction: committed when it returns SQLITE_OK (or
  // SQLITE_DONE), rolled back otherwise. Returns an empty string, or a clear error; nothing
  // of a failed transaction stays behind.
  std::string write(const std::function<int(sqlite3*)>& body);

  // A number that changes when another connection (another window, quorvi-dict) commits a
  // change to the file; 0 when it cannot be read.
  long long changesByOthers() const;

  // The message for a failed SQLite call on this store.
  std::string describe(int code) const;

 private:
  enum class Opened { kOk, kDamaged, kFailed };
  Opened openFile();
  void setAside();
  void close();
  static int waitForLock(void* self, int attempt);

  std::filesystem::path file_;
  int busyMilliseconds_;
  std::chrono::steady_clock::time_point waitStarted_;
  sqlite3* db_ = nullptr;
  std::string error_;
  std::string notice_;
  std::filesystem::path setAside_;
  int schemaVersion_ = 0;
};

// A prepared statement, finalized when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // SQLITE_OK when the statement was prepared.
  int prepared() const { return prepareCode_; }
  sqlite3_stmt* get() const { return statement_; }
  Statement& bind(int index, const std::string& text);
  Statement& bind(int index, long long value);
  // sqlite3_step.
  int step();
  std::string text(int column) const;
  long long integer(int column) const;

 private:
  sqlite3_stmt* statement_ = nullptr;
  int prepareCode_;
};

}  // namespace quorvi::learner
