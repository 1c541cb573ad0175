// The learner's database: one SQLite file in the user's data folder, written in WAL mode
// through the system SQLite (never through the dictionary's codec), every write in one
// transaction. Several programs may use it at once: a writer waits up to the busy timeout for
// another.
//
// A file that is no database, or fails the integrity check, is set aside by one program alone,
// under the folder's lock and only while it is still the file found damaged; the rows still
// readable go into the fresh file that takes its place (store_recovery.h), and notice() says
// so. A fresh file is made only under that lock too, so no program ever makes one while
// another sets a damaged one aside. When the file cannot be written (a read-only folder or
// file, a full disk) it is opened for reading, and notice() says changes cannot be saved.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "learner/file_problem.h"
#include "learner/store_recovery.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quorvi::learner {

class LearnerStore {
 public:
  // kKeeper opens the file as described above. kReader is a second connection of a program
  // whose keeper has opened the file already: it never makes, migrates or sets aside a file
  // and skips the integrity check, so that opening it takes no time.
  enum class Role { kKeeper, kReader };

  // Opens `file`, creating it (0600) and its folders (0700) when missing, and brings its
  // schema up to date. `busyMilliseconds`: how long a statement waits for another writer.
  explicit LearnerStore(std::filesystem::path file, int busyMilliseconds = 5000,
                        Role role = Role::kKeeper);
  ~LearnerStore();
  LearnerStore(const LearnerStore&) = delete;
  LearnerStore& operator=(const LearnerStore&) = delete;

  bool isOpen() const { return db_ != nullptr; }
  // Open for reading only: every write fails with error().
  bool isReadOnly() const { return readOnly_; }
  // Why the store is not open, or why it is read-only (empty when neither).
  const std::string& error() const { return error_; }
  // The kind of the last failure: why it is not open, read-only, or why the last write failed.
  FileProblem problem() const { return problem_; }
  // What the learner should be told once: a damaged file set aside and what was saved of it,
  // or that changes cannot be saved. Empty otherwise.
  const std::string& notice() const { return notice_; }
  // Where the damaged file was set aside (empty when none was), and what was saved of it.
  const std::filesystem::path& setAsideFile() const { return setAside_; }
  const SalvageReport& salvage() const { return salvage_; }
  const std::filesystem::path& file() const { return file_; }
  sqlite3* connection() const { return db_; }
  int schemaVersion() const { return schemaVersion_; }

  // Runs `body` in one write transaction: committed when it returns SQLITE_OK (or
  // SQLITE_DONE), rolled back otherwise. Returns an empty string, or a clear error; nothing
  // of a failed transaction stays behind. When another program has set the file aside since
  // it was opened, the fresh file is opened first.
  std::string write(const std::function<int(sqlite3*)>& body);

  // A number that changes when another connection (another window, quorvi-dict) commits a
  // change to the file, or puts a fresh file in its place (which is then opened); 0 when it
  // cannot be read.
  long long changesByOthers();

  // The message for a failed SQLite call on this store; sets problem().
  std::string describe(int code);

 private:
  enum class Step { kDone, kAgain };
  void open();
  Step openOnce();
  Step makeFreshFile();
  Step recoverDamaged(dev_t device, ino_t inode);
  void openForReading(FileProblem why);
  void openEmpty(FileProblem why);
  void fail(FileProblem problem, const std::string& text);
  FileProblem whyNotWritable(int code) const;
  bool replacedByAnother() const;
  void close();
  static int waitForLock(void* self, int attempt);

  std::filesystem::path file_;
  int busyMilliseconds_;
  Role role_;
  std::chrono::steady_clock::time_point waitStarted_;
  sqlite3* db_ = nullptr;
  bool readOnly_ = false;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::string error_;
  FileProblem problem_ = FileProblem::kNone;
  std::string notice_;
  std::filesystem::path setAside_;
  SalvageReport salvage_;
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
