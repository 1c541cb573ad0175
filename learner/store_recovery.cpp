#include "learner/store_recovery.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <vector>

#include "learner/learner_store.h"
#include "learner/schema.h"

namespace fs = std::filesystem;

namespace quorvi::learner {
namespace {

std::string utcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

bool pathExists(const fs::path& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

std::vector<std::string> columnsOf(sqlite3* db, const std::string& table) {
  std::vector<std::string> columns;
  Statement info(db, ("PRAGMA table_info(\"" + table + "\")").c_str());
  while (info.step() == SQLITE_ROW) columns.push_back(info.text(1));
  return columns;
}

std::string joined(const std::vector<std::string>& names, const char* prefix = "") {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + (prefix + name);
  return text;
}

// One table's copy: its rows read whole, then by row number.
class TableSalvage {
 public:
  TableSalvage(sqlite3* from, sqlite3* to, std::string table, std::vector<std::string> columns)
      : from_(from), to_(to), table_(std::move(table)), columns_(std::move(columns)) {
    std::string marks;
    for (size_t i = 0; i < columns_.size(); ++i) marks += i == 0 ? "?" : ", ?";
    insertSql_ = "INSERT OR REPLACE INTO " + table_ + "(" + joined(columns_) + ") VALUES(" +
                 marks + ")";
  }

  // Returns the rows copied; `lost` grows by the rows known but unreadable.
  long long run(long long& lost, long long fallbackTime) {
    Statement insert(to_, insertSql_.c_str());
    if (insert.prepared() != SQLITE_OK) return 0;
    insert_ = &insert;
    Statement hasRowid(from_, ("SELECT rowid FROM " + table_ + " LIMIT 0").c_str());
    const bool byRowid = hasRowid.prepared() == SQLITE_OK;
    readWhole(byRowid);
    if (byRowid) {
      readIndexes();
      readByRowid(fallbackTime);
      lost += static_cast<long long>(known_.size()) - static_cast<long long>(saved_.size());
    }
    return copied_;
  }

 private:
  void copyRow(sqlite3_stmt* row, int first) {
    sqlite3_reset(insert_->get());
    for (size_t i = 0; i < columns_.size(); ++i)
      sqlite3_bind_value(insert_->get(), static_cast<int>(i) + 1,
                         sqlite3_column_value(row, first + static_cast<int>(i)));
    if (insert_->step() == SQLITE_DONE) ++copied_;
  }

  void readWhole(bool byRowid) {
    const std::string sql =
        "SELECT " + std::string(byRowid ? "rowid, " : "") + joined(columns_) + " FROM " + table_;
    Statement rows(from_, sql.c_str());
    while (rows.step() == SQLITE_ROW) {
      if (byRowid) {
        const long long rowid = rows.integer(0);
        known_.insert(rowid);
        if (!saved_.insert(rowid).second) continue;
      }
      copyRow(rows.get(), byRowid ? 1 : 0);
    }
  }

  // Every index of the table names rows, and holds some of their columns.
  void readIndexes() {
    std::vector<std::string> indexes;
    {
      Statement list(from_, ("PRAGMA index_list(\"" + table_ + "\")").c_str());
      while (list.step() == SQLITE_ROW) indexes.push_back(list.text(1));
    }
    for (const std::string& index : indexes) {
      std::vector<std::string> indexed;
      {
        Statement info(from_, ("PRAGMA index_info(\"" + index + "\")").c_str());
        while (info.step() == SQLITE_ROW) indexed.push_back(info.text(2));
      }
      if (indexed.empty()) continue;
      const std::string sql = "SELECT rowid, " + joined(indexed) + " FROM " + table_ +
                              " INDEXED BY \"" + index + "\"";
      Statement rows(from_, sql.c_str());
      while (rows.step() == SQLITE_ROW) {
        const long long rowid = rows.integer(0);
        known_.insert(rowid);
        for (size_t i = 0; i < indexed.size(); ++i)
          if (sqlite3_column_type(rows.get(), static_cast<int>(i) + 1) != SQLITE_NULL)
            fromIndex_[rowid][indexed[i]] = rows.text(static_cast<int>(i) + 1);
      }
    }
  }

  void readByRowid(long long fallbackTime) {
    const std::string sql = "SELECT " + joined(columns_) + " FROM " + table_ + " WHERE rowid=?1";
    Statement one(from_, sql.c_str());
    for (const long long rowid : known_) {
      if (saved_.contains(rowid)) continue;
      sqlite3_reset(one.get());
      one.bind(1, rowid);
      if (one.step() == SQLITE_ROW) {
        copyRow(one.get(), 0);
        saved_.insert(rowid);
      } else if (table_ == "my_words" && rescueWord(rowid, fallbackTime)) {
        saved_.insert(rowid);
      }
    }
  }

  // A saved word is what the learner collected: kept from its index even when its row is
  // gone, added at `fallbackTime`.
  bool rescueWord(long long rowid, long long fallbackTime) {
    const auto found = fromIndex_.find(rowid);
    if (found == fromIndex_.end() || !found->second.contains("word")) return false;
    const auto sequence = found->second.find("sequence");
    Statement insert(to_,
                     "INSERT OR IGNORE INTO my_words(word, added, sequence) VALUES(?1, ?2, ?3)");
    insert.bind(1, found->second.at("word")).bind(2, fallbackTime);
    insert.bind(3, sequence != found->second.end() ? std::atoll(sequence->second.c_str()) : 0LL);
    if (insert.step() != SQLITE_DONE) return false;
    ++copied_;
    return true;
  }

  sqlite3* from_;
  sqlite3* to_;
  std::string table_;
  std::vector<std::string> columns_;
  std::string insertSql_;
  Statement* insert_ = nullptr;
  std::set<long long> known_;
  std::set<long long> saved_;
  std::map<long long, std::map<std::string, std::string>> fromIndex_;
  long long copied_ = 0;
};

}  // namespace

bool renameWithoutReplacing(const fs::path& from, const fs::path& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without that flag: a new name, then the old one dropped.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

SalvageReport salvageRows(sqlite3* from, sqlite3* to, long long fallbackTime) {
  SalvageReport report;
  {
    Statement schema(from, "SELECT count(*) FROM sqlite_master");
    if (schema.step() != SQLITE_ROW) {
      report.readable = false;
      return report;
    }
  }
  struct Table {
    const char* name;
    long long SalvageReport::*count;
  };
  const Table tables[] = {{"my_words", &SalvageReport::words},
                          {"history", &SalvageReport::history},
                          {"drill_words", &SalvageReport::drill},
                          {"drill_confusions", &SalvageReport::drill},
                          {"drill_progress", &SalvageReport::drill}};
  sqlite3_exec(to, "BEGIN", nullptr, nullptr, nullptr);
  for (const Table& table : tables) {
    // The columns both files have: an older file has fewer.
    const std::vector<std::string> theirs = columnsOf(from, table.name);
    std::vector<std::string> common;
    for (const std::string& column : columnsOf(to, table.name))
      for (const std::string& their : theirs)
        if (their == column) common.push_back(column);
    if (common.empty()) continue;
    TableSalvage salvage(from, to, table.name, common);
    report.*table.count += salvage.run(report.lost, fallbackTime);
  }
  if (sqlite3_exec(to, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_exec(to, "ROLLBACK", nullptr, nullptr, nullptr);
    report.lost += report.saved();
    report.words = report.history = report.drill = 0;
  }
  return report;
}

namespace {

// Copies what can be read of `aside` into a fresh file beside it and links it in at `file`.
SalvageReport salvageInto(const fs::path& aside, const fs::path& file, std::string& error) {
  SalvageReport report;
  struct stat st {};
  const long long fallbackTime =
      lstat(aside.c_str(), &st) == 0 ? static_cast<long long>(st.st_mtime) : std::time(nullptr);
  std::string fresh = file.string() + ".salvage-XXXXXX";
  const int fd = mkstemp(fresh.data());  // 0600
  if (fd < 0) {
    error = describeProblem(problemOfErrno(errno));
    report.readable = false;
    return report;
  }
  close(fd);
  const fs::path asideShm = aside.string() + "-shm";
  const bool hadShm = pathExists(asideShm);
  sqlite3* from = nullptr;
  sqlite3* to = nullptr;
  bool placed = false;
  if (sqlite3_open_v2(aside.c_str(), &from, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, "unix") ==
          SQLITE_OK &&
      sqlite3_open_v2(fresh.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, "unix") ==
          SQLITE_OK) {
    int version = 0;
    std::string why;
    if (migrateSchema(to, version, why) == SQLITE_OK) {
      report = salvageRows(from, to, fallbackTime);
      placed = sqlite3_close(to) == SQLITE_OK;
      to = nullptr;
    } else {
      error = why;
    }
  } else {
    report.readable = false;
  }
  sqlite3_close(from);
  sqlite3_close(to);
  if (!hadShm) unlink(asideShm.c_str());
  // Placed only where no file stands: a program that made one meanwhile keeps it.
  if (placed && link(fresh.c_str(), file.c_str()) != 0) placed = false;
  unlink(fresh.c_str());
  unlink((fresh + "-journal").c_str());
  if (!placed && error.empty()) error = "the fresh store could not be put in its place";
  return report;
}

}  // namespace

Recovery setAsideAndSalvage(const fs::path& file) {
  Recovery recovery;
  const fs::path wal = file.string() + "-wal";
  const bool hasWal = pathExists(wal);
  // A name of its own, for the file and its log: never one that exists.
  const std::string stem = file.string() + ".damaged-" + utcStamp();
  fs::path aside;
  for (int n = 1; n < 1000 && aside.empty(); ++n) {
    const fs::path candidate = n == 1 ? stem : stem + "-" + std::to_string(n);
    if (pathExists(candidate) || pathExists(candidate.string() + "-wal")) continue;
    // The log first: a fresh file must never meet the old file's log.
    if (hasWal && !renameWithoutReplacing(wal, candidate.string() + "-wal")) {
      if (errno == EEXIST) continue;
      recovery.problem = problemOfErrno(errno);
      break;
    }
    if (renameWithoutReplacing(file, candidate)) {
      aside = candidate;
    } else {
      const int why = errno;
      if (hasWal) renameWithoutReplacing(candidate.string() + "-wal", wal);
      if (why == EEXIST) continue;
      recovery.problem = problemOfErrno(why);
      break;
    }
  }
  if (aside.empty()) {
    if (recovery.problem == FileProblem::kNone) recovery.problem = FileProblem::kOther;
    recovery.error = "the learner's data " + file.string() +
                     " is damaged and cannot be set aside: " + describeProblem(recovery.problem);
    return recovery;
  }
  unlink((file.string() + "-shm").c_str());
  recovery.aside = aside;
  std::string error;
  recovery.salvage = salvageInto(aside, file, error);
  return recovery;
}

}  // namespace quorvi::learner
