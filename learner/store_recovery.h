// A damaged learner's store: set aside under a name of its own, and every row that can still
// be read copied into a fresh store that takes its place.
#pragma once

#include <filesystem>
#include <string>

#include "learner/file_problem.h"

struct sqlite3;

namespace quorvi::learner {

struct SalvageReport {
  long long words = 0;    // my words copied into the fresh store
  long long history = 0;  // history rows copied
  long long drill = 0;    // rows of the listening drill copied
  long long lost = 0;     // rows the damaged file shows it had that could not be read
  bool readable = true;   // false: nothing of it could be read at all
  long long saved() const { return words + history + drill; }
};

struct Recovery {
  std::filesystem::path aside;  // where the damaged file is kept (empty: it was not set aside)
  SalvageReport salvage;
  FileProblem problem = FileProblem::kNone;  // why it could not be set aside
  std::string error;
};

// Moves the damaged `file` (with its write-ahead log) to `<file>.damaged-<UTC time>`, a
// number added when that name is taken (no existing file is ever replaced), and puts in its
// place a fresh store holding every row still readable. The caller holds the folder's lock,
// so that no other program makes a fresh file meanwhile.
Recovery setAsideAndSalvage(const std::filesystem::path& file);

// Copies what can be read of the database `from` into `to` (a store at the current schema):
// each table read whole until it fails, then row by row by the row numbers its indexes still
// know. My words known only from an index keep their word, with `fallbackTime` as the time
// they were added.
SalvageReport salvageRows(sqlite3* from, sqlite3* to, long long fallbackTime);

// Renames `from` to `to` unless `to` exists; errno tells why not.
bool renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace quorvi::learner
