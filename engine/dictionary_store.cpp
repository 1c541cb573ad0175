// Opening and closing the dictionary, and the one way every query runs.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "codec/codec_vfs.h"
#include "engine/dictionary_key.h"
#include "engine/dictionary_engine.h"
#include "engine/program_folder.h"

namespace {

const char kDatabasePath[] = "./dict/words.db";
// The engine never writes, and nothing changes the file in place while it is open (a build
// renames a new file over it): immutable, so that no journal or lock file beside it is looked
// at, and a stray journal cannot make the dictionary unreadable or be played back into it.
const char kDatabaseUri[] = "file:./dict/words.db?immutable=1";
const char kRegexpModuleName[] = "regexp.dll";
const char kSchemaCheckSql[] = "SELECT w_caption, w_phonetic, w_explain FROM dict_word LIMIT 0";

// The whole dictionary fits in this many KiB of page cache, so pages are decrypted once; and
// the cache stays valid from one query to the next without re-reading (and decrypting) the
// file header for each (an immutable file takes no locks; the exclusive mode says the same
// should it ever be opened otherwise). Nothing here writes.
const char kCacheSizeSql[] = "PRAGMA cache_size=-131072; PRAGMA locking_mode=EXCLUSIVE";

// The folder tests name in place of the program's own; empty: the program's own.
std::string& moduleFolderOverride() {
  static std::string folder;
  return folder;
}

// The REGEXP module of this program: beside its executable, or in the installed runtime
// folder beside that (an installed command links to it from bin/). Never from the working
// directory, which may be anyone's folder: loading a module runs its code. Empty when the
// program's folder cannot be told.
std::string regexpModulePath() {
  if (!moduleFolderOverride().empty())
    return (std::filesystem::path(moduleFolderOverride()) / kRegexpModuleName).string();
  const std::filesystem::path folder = quorvi::engine::executableFolder();
  if (folder.empty()) return {};
  const std::filesystem::path candidates[] = {
      folder / kRegexpModuleName, folder / ".." / QUORVI_INSTALL_DIR / kRegexpModuleName};
  for (const std::filesystem::path& candidate : candidates) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
  }
  return candidates[0].string();  // missing: the load fails and says so
}

// Opening a FIFO or a device would block or read nonsense: only a regular file (or a link to
// one) is a dictionary.
bool isRegularFile(const char* path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

DictionaryEngine::DictionaryEngine(LogLine log) : log_(log) {
  symbolMap();
  if (!initDB()) log_("initDB(): Error");
}

DictionaryEngine::~DictionaryEngine() {
  for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
  if (sqliteDB_ != nullptr) sqlite3_close(sqliteDB_);
}

void DictionaryEngine::closeConnection() {
  if (sqlite3_close(sqliteDB_) == SQLITE_OK) {
    isOpen_ = false;
    sqliteDB_ = nullptr;
  }
}

bool DictionaryEngine::initDB() {
  if (sqliteDB_ != nullptr) return isOpen_;  // opened once per engine, by the constructor
  quorvi::codec::registerCodecVfs();
  if (!isRegularFile(kDatabasePath)) return isOpen_;
  // Read-only: the engine never writes, and a missing file must not be created empty.
  // Serialized: the learner's store of rows may be read on another thread.
  if (sqlite3_open_v2(kDatabaseUri, &sqliteDB_,
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_URI,
                      nullptr) != SQLITE_OK) {
    closeConnection();
    return isOpen_;
  }
  isOpen_ = true;

  if (sqlite3_key(sqliteDB_, quorvi::kDictionaryPassphrase.data(),
                  static_cast<int>(quorvi::kDictionaryPassphrase.size())) != SQLITE_OK) {
    closeConnection();
    return isOpen_;
  }
  // The key call does not check the key: read the schema once, so that a wrong passphrase,
  // or a file that is no keyed dictionary, closes the engine here.
  if (sqlite3_exec(sqliteDB_, kSchemaCheckSql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    closeConnection();
    isOpen_ = false;  // stays closed even if the close failed; the destructor closes it
    return isOpen_;
  }
  sqlite3_exec(sqliteDB_, kCacheSizeSql, nullptr, nullptr, nullptr);

  if (sqlite3_enable_load_extension(sqliteDB_, 1) != SQLITE_OK) {
    log_("sqlite3_enable_load_extension(sqliteDB_, 1): Error");
    return isOpen_;
  }
  const std::string module = regexpModulePath();
  if (module.empty() ||
      sqlite3_load_extension(sqliteDB_, module.c_str(), nullptr, nullptr) != SQLITE_OK) {
    log_("sqlite3_load_extension(sqliteDB_, \"./regexp.dll\", 0, 0): Error");
  } else {
    hasRegexp_ = true;
  }
  // Nothing else is loaded into this connection.
  sqlite3_enable_load_extension(sqliteDB_, 0);
  return isOpen_;
}

void DictionaryEngine::setModuleFolder(const std::string& folder) {
  moduleFolderOverride() = folder;
}

bool DictionaryEngine::startQuery() {
  lastError_.clear();
  return isOpen_;
}

void DictionaryEngine::runQuery(const char* sql, const std::string& text, void* sink,
                                RowHandler onRow) {
  if (!startQuery()) return;
  // Each statement is prepared on its first use and then reset and bound again.
  sqlite3_stmt* statement = nullptr;
  for (const auto& [cachedSql, cached] : statements_)
    if (cachedSql == sql) statement = cached;
  if (statement == nullptr) {
    if (sqlite3_prepare_v3(sqliteDB_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
        SQLITE_OK) {
      lastError_ = sqlite3_errmsg(sqliteDB_);
      return;
    }
    statements_.emplace_back(sql, statement);
  }
  sqlite3_bind_text(statement, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) onRow(sink, statement);
  if (rc != SQLITE_DONE) lastError_ = sqlite3_errmsg(sqliteDB_);
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
}

std::string DictionaryEngine::buildStamp() const {
  std::string stamp;
  if (sqliteDB_ == nullptr || !isOpen_) return stamp;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(sqliteDB_, "SELECT stamp FROM dict_build_stamp", -1, &statement,
                         nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    if (const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)))
      stamp.assign(text, static_cast<size_t>(sqlite3_column_bytes(statement, 0)));
  }
  sqlite3_finalize(statement);
  return stamp;
}

std::filesystem::path quorvi::engine::executableFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !self.is_absolute()) return {};
  return self.parent_path();
}
