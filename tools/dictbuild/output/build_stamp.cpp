#include "build_stamp.h"

#include <dlfcn.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dict_store.h"
#include "engine/sound_count_groups.h"

namespace quorvi::dictbuild {

std::vector<std::string> builderCodeFiles() {
  std::vector<std::string> files;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) files.push_back(self.string());
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&builderCodeFiles), &info) != 0 && info.dli_fname) {
    const auto module = std::filesystem::canonical(info.dli_fname, error);
    if (!error && (files.empty() || module != files.front())) files.push_back(module.string());
  }
  return files;
}

std::string makeStamp(const std::vector<std::string>& inputFiles, const std::string& options,
                      const std::vector<std::string>& sources) {
  std::ostringstream out;
  out << kBuilderVersion << " with search index " << engine::kStoredRowsFormat << "\noptions "
      << options << "\n";
  for (const std::string& source : sources) out << source << "\n";
  for (const std::string& path : inputFiles) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
      out << path << " " << st.st_size << " " << st.st_mtim.tv_sec << "." << st.st_mtim.tv_nsec
          << "\n";
    else
      out << path << " missing\n";
  }
  return out.str();
}

bool storeStamp(sqlite3* db, const std::string& stamp, std::string& error) {
  const std::string create = std::string("CREATE TABLE ") + kStampTable + "(stamp TEXT NOT NULL)";
  const std::string insert = std::string("INSERT INTO ") + kStampTable + "(stamp) VALUES(?1)";
  sqlite3_stmt* statement = nullptr;
  const bool ok = sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
                  sqlite3_prepare_v2(db, insert.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
                  sqlite3_bind_text(statement, 1, stamp.data(), static_cast<int>(stamp.size()),
                                    SQLITE_STATIC) == SQLITE_OK &&
                  sqlite3_step(statement) == SQLITE_DONE;
  if (!ok) error = std::string("cannot store the build stamp: ") + sqlite3_errmsg(db);
  sqlite3_finalize(statement);
  return ok;
}

std::string readStoredStamp(const std::string& databasePath) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(databasePath, ec)) return {};
  std::string error;
  sqlite3* db = openKeyedDatabase(databasePath, false, error);
  if (db == nullptr) return {};
  const std::string select = std::string("SELECT stamp FROM ") + kStampTable;
  sqlite3_stmt* statement = nullptr;
  std::string stamp;
  // Exactly one row: anything else is no stamp of this builder.
  if (sqlite3_prepare_v2(db, select.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    if (text != nullptr)
      stamp.assign(text, static_cast<size_t>(sqlite3_column_bytes(statement, 0)));
    if (sqlite3_step(statement) != SQLITE_DONE) stamp.clear();
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return stamp;
}

bool writeStampCopy(const std::string& stampPath, const std::string& stamp) {
  const std::string temp = stampPath + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!(out << stamp)) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, stampPath, ec);
  return !ec;
}

}  // namespace quorvi::dictbuild
