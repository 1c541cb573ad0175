#include "dictionary_writer.h"

#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include <cstdio>
#include <filesystem>

#include "build_stamp.h"
#include "dict_store.h"
#include "search_index_writer.h"

namespace quorvi::dictbuild {
namespace {

// Beside the specified columns, the American transcription (today's IPA, as learners'
// dictionaries print it for American English) and whether espeak-ng made it.
const char kSingleSchema[] =
    "CREATE TABLE dict_word(w_caption TEXT NOT NULL, w_phonetic TEXT NOT NULL, w_explain TEXT NOT "
    "NULL, w_phonetic_us TEXT NOT NULL DEFAULT '', w_us_by_machine INTEGER NOT NULL DEFAULT 0);";
const char kSingleIndex[] = "CREATE INDEX dict_word_caption ON dict_word(w_caption);";

// The searches read only w_caption and w_phonetic: keeping them in a narrow table of their
// own lets a full scan touch a fraction of the pages. The explanation and the American
// transcription are tables of their own keyed like it; the view's LEFT JOINs on their primary
// keys are dropped by the query planner when none of their columns is used.
const char kSplitSchema[] =
    "CREATE TABLE dict_head(id INTEGER PRIMARY KEY, w_caption TEXT NOT NULL, w_phonetic TEXT NOT "
    "NULL);"
    "CREATE TABLE dict_explain(id INTEGER PRIMARY KEY, w_explain TEXT NOT NULL);"
    "CREATE TABLE dict_american(id INTEGER PRIMARY KEY, w_phonetic_us TEXT NOT NULL,"
    " w_us_by_machine INTEGER NOT NULL);"
    "CREATE VIEW dict_word AS SELECT h.w_caption AS w_caption, h.w_phonetic AS w_phonetic,"
    " e.w_explain AS w_explain, ifnull(a.w_phonetic_us, '') AS w_phonetic_us,"
    " ifnull(a.w_us_by_machine, 0) AS w_us_by_machine FROM dict_head AS h"
    " LEFT JOIN dict_explain AS e ON e.id = h.id LEFT JOIN dict_american AS a ON a.id = h.id;";
const char kSplitIndex[] = "CREATE INDEX dict_head_caption ON dict_head(w_caption);";

// Removes TARGET.tmp-PID files of builds that were killed: PID names no live process.
void removeStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = target.filename().string() + ".tmp-";
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    const std::string_view pid =
        std::string_view(name).substr(std::min(name.size(), prefix.size()));
    if (!name.starts_with(prefix) || pid.empty() || pid.size() > 9 ||
        pid.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    if (::kill(static_cast<pid_t>(std::stol(std::string(pid))), 0) != 0 && errno == ESRCH)
      std::filesystem::remove(entry.path(), ec);
  }
}

}  // namespace

DictionaryWriter::~DictionaryWriter() {
  abandon();
}

bool DictionaryWriter::exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::string what = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return fail(what);
  }
  return true;
}

bool DictionaryWriter::fail(const std::string& what) {
  error_ = what;
  abandon();
  return false;
}

bool DictionaryWriter::begin(const std::string& targetPath, StorageDesign design, int pageSize) {
  abandon();
  error_.clear();
  design_ = design;
  target_ = targetPath;
  tempPath_ = targetPath + ".tmp-" + std::to_string(::getpid());
  removeStaleTemporaries(targetPath);
  std::error_code ec;
  std::filesystem::remove(tempPath_, ec);
  std::string openError;
  db_ = openKeyedDatabase(tempPath_, true, openError);
  if (!db_) {
    error_ = openError;
    tempPath_.clear();
    return false;
  }
  std::string pragmas =
      "PRAGMA page_size=" + std::to_string(pageSize) +
      "; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;";
  if (!exec(pragmas.c_str())) return false;
  if (!exec(design == StorageDesign::Split ? kSplitSchema : kSingleSchema)) return false;
  if (!exec("BEGIN")) return false;
  const char* headSql =
      design == StorageDesign::Split
          ? "INSERT INTO dict_head(id, w_caption, w_phonetic) VALUES(?1, ?2, ?3)"
          : "INSERT INTO dict_word(w_caption, w_phonetic, w_explain, w_phonetic_us, "
            "w_us_by_machine) VALUES(?2, ?3, ?4, ?5, ?6)";
  if (sqlite3_prepare_v2(db_, headSql, -1, &insertHead_, nullptr) != SQLITE_OK)
    return fail(sqlite3_errmsg(db_));
  if (design == StorageDesign::Split &&
      sqlite3_prepare_v2(db_, "INSERT INTO dict_explain(id, w_explain) VALUES(?1, ?2)", -1,
                         &insertExplain_, nullptr) != SQLITE_OK)
    return fail(sqlite3_errmsg(db_));
  if (design == StorageDesign::Split &&
      sqlite3_prepare_v2(db_,
                         "INSERT INTO dict_american(id, w_phonetic_us, w_us_by_machine) "
                         "VALUES(?1, ?2, ?3)",
                         -1, &insertAmerican_, nullptr) != SQLITE_OK)
    return fail(sqlite3_errmsg(db_));
  nextId_ = 1;
  return true;
}

bool DictionaryWriter::add(const std::string& caption, const std::string& phonetic,
                           const std::string& explain, const std::string& american,
                           bool americanByMachine) {
  if (!db_) return false;
  const long long id = nextId_++;
  const auto text = [](sqlite3_stmt* statement, int column, const std::string& value) {
    sqlite3_bind_text(statement, column, value.data(), static_cast<int>(value.size()),
                      SQLITE_STATIC);
  };
  if (design_ == StorageDesign::Split) {
    sqlite3_bind_int64(insertHead_, 1, id);
    text(insertHead_, 2, caption);
    text(insertHead_, 3, phonetic);
    sqlite3_bind_int64(insertExplain_, 1, id);
    text(insertExplain_, 2, explain);
    sqlite3_bind_int64(insertAmerican_, 1, id);
    text(insertAmerican_, 2, american);
    sqlite3_bind_int(insertAmerican_, 3, americanByMachine ? 1 : 0);
    for (sqlite3_stmt* statement : {insertHead_, insertExplain_, insertAmerican_}) {
      if (sqlite3_step(statement) != SQLITE_DONE) return fail(sqlite3_errmsg(db_));
      sqlite3_reset(statement);
    }
  } else {
    text(insertHead_, 2, caption);
    text(insertHead_, 3, phonetic);
    text(insertHead_, 4, explain);
    text(insertHead_, 5, american);
    sqlite3_bind_int(insertHead_, 6, americanByMachine ? 1 : 0);
    if (sqlite3_step(insertHead_) != SQLITE_DONE) return fail(sqlite3_errmsg(db_));
    sqlite3_reset(insertHead_);
  }
  return true;
}

bool DictionaryWriter::finish() {
  if (!db_) return false;
  sqlite3_finalize(insertHead_);
  sqlite3_finalize(insertExplain_);
  sqlite3_finalize(insertAmerican_);
  insertHead_ = insertExplain_ = insertAmerican_ = nullptr;
  if (!exec(design_ == StorageDesign::Split ? kSplitIndex : kSingleIndex)) return false;
  std::string indexError;
  if (!writeSearchIndex(db_, design_ == StorageDesign::Split ? "dict_head" : "dict_word",
                        indexError))
    return fail(indexError);
  if (!stamp_.empty() && !storeStamp(db_, stamp_, indexError)) return fail(indexError);
  if (!exec("COMMIT")) return false;
  if (sqlite3_close(db_) != SQLITE_OK) return fail(sqlite3_errmsg(db_));
  db_ = nullptr;
  // Make the new file durable before it replaces the old one.
  if (FILE* f = std::fopen(tempPath_.c_str(), "rb")) {
    ::fsync(fileno(f));
    std::fclose(f);
  }
  std::error_code ec;
  std::filesystem::rename(tempPath_, target_, ec);
  if (ec) return fail("cannot move " + tempPath_ + " to " + target_ + ": " + ec.message());
  tempPath_.clear();
  return true;
}

void DictionaryWriter::abandon() {
  if (insertHead_) sqlite3_finalize(insertHead_);
  if (insertExplain_) sqlite3_finalize(insertExplain_);
  if (insertAmerican_) sqlite3_finalize(insertAmerican_);
  insertHead_ = insertExplain_ = insertAmerican_ = nullptr;
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
  if (!tempPath_.empty()) {
    std::error_code ec;
    std::filesystem::remove(tempPath_, ec);
    tempPath_.clear();
  }
}

}  // namespace quorvi::dictbuild
