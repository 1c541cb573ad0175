// Cold full-table scans: a fresh connection (empty page cache) reads every row of a ~30 MB
// table. The OS file cache is warm for every peer alike (each is run once before timing).
//
// In process:  plain file through the default "unix" VFS  vs  keyed file through the codec shim.
// As processes (start-up included, like for like):
//   stock sqlite3 shell on the plain file
//   stock sqlite3 shell with the codec extension on the keyed file
//   Debian's sqlcipher shell (default settings, PRAGMA key) on the same data
// Usage: bench_vfs_scan [rows] [runs]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/codec_vfs.h"

extern char** environ;

namespace {

constexpr const char* kKey = "harbor_lanternfish_sonatina";
constexpr const char* kScan =
    "SELECT count(*), sum(length(w_caption) + length(w_phonetic) + length(w_explain)) FROM "
    "dict_word";
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

bool exec(sqlite3* db, const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql.c_str(), err ? err : "?");
    sqlite3_free(err);
    return false;
  }
  return true;
}

bool buildPlain(const std::string& path, int rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, "unix");
  bool ok =
      exec(db,
           "CREATE TABLE dict_word(w_id INTEGER PRIMARY KEY, w_caption TEXT, w_phonetic TEXT, "
           "w_explain TEXT)") &&
      exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
                   std::to_string(rows) +
                   ") INSERT INTO dict_word(w_caption, w_phonetic, w_explain) SELECT "
                   "printf('word%06d', i), printf('&#601;k%d&#720;mpl', i % 977), "
                   "printf('%.*c explanation number %d of the word', 120 + i % 80, 'x', i) FROM n");
  sqlite3_close(db);
  return ok;
}

// Scans once on a fresh connection; returns seconds, or a negative value on failure.
double scanInProcess(const std::string& name, const char* vfs, const char* key) {
  auto start = Clock::now();
  sqlite3* db = nullptr;
  sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, vfs);
  if (key != nullptr) sqlite3_key(db, key, static_cast<int>(std::strlen(key)));
  sqlite3_stmt* stmt = nullptr;
  double result = -1;
  if (sqlite3_prepare_v2(db, kScan, -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int64(stmt, 0) > 0) {
    result = seconds(start, Clock::now());
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return result;
}

double runProcess(std::vector<std::string> args, bool quiet = true) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  auto start = Clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  double t = seconds(start, Clock::now());
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? t : -1;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

template <typename Fn>
double timeRuns(int runs, Fn fn) {
  fn();  // warm the OS cache
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double t = fn();
    if (t < 0) return -1;
    times.push_back(t);
  }
  return median(times);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 120000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/quorvi-bench-vfs-XXXXXX";
  const fs::path dir = mkdtemp(pattern);
  const std::string plain = (dir / "plain.db").string(), keyed = (dir / "keyed.db").string(),
                    peer = (dir / "sqlcipher.db").string();

  quorvi::codec::registerCodecVfs();
  if (!buildPlain(plain, rows)) return 1;
  fs::copy_file(plain, keyed);
  {
    sqlite3* db = nullptr;
    sqlite3_open(keyed.c_str(), &db);
    int rc = sqlite3_rekey(db, kKey, static_cast<int>(std::strlen(kKey)));
    sqlite3_close(db);
    if (rc != SQLITE_OK) return 1;
  }
  const std::string cipherSql =
      std::string("PRAGMA key='") + kKey + "'; ATTACH '" + plain +
      "' AS p KEY ''; CREATE TABLE dict_word AS SELECT * FROM p.dict_word;";
  const bool havePeer = runProcess({"sqlcipher", peer, cipherSql}) >= 0;

  std::printf("data: %d rows, plain %.1f MB, keyed %.1f MB%s\n", rows, fs::file_size(plain) / 1e6,
              fs::file_size(keyed) / 1e6, havePeer ? "" : " (sqlcipher not available)");

  double inPlain = timeRuns(runs, [&] { return scanInProcess(plain, "unix", nullptr); });
  double inKeyed = timeRuns(runs, [&] { return scanInProcess(keyed, nullptr, kKey); });
  std::printf("in process, cold scan: plain %.1f ms, keyed %.1f ms, ratio %.2f (target <= 1.30)\n",
              inPlain * 1e3, inKeyed * 1e3, inKeyed / inPlain);

  const std::string module = QUORVI_CODEC_MODULE;
  double shPlain = timeRuns(runs, [&] { return runProcess({"sqlite3", plain, kScan}); });
  double shKeyed = timeRuns(runs, [&] {
    return runProcess({"sqlite3", "-cmd", ".load " + fs::path(module).replace_extension().string(),
                       "-cmd", ".open file:" + keyed + "?key=" + kKey, ":memory:", kScan});
  });
  std::printf(
      "processes: sqlite3 plain %.1f ms, sqlite3 + codec keyed %.1f ms (ratio %.2f, overhead %.1f "
      "ms)\n",
      shPlain * 1e3, shKeyed * 1e3, shKeyed / shPlain, (shKeyed - shPlain) * 1e3);
  if (havePeer) {
    double shPeer = timeRuns(runs, [&] {
      return runProcess({"sqlcipher", peer, std::string("PRAGMA key='") + kKey + "';" + kScan});
    });
    std::printf("processes: sqlcipher keyed %.1f ms (ratio %.2f, overhead %.1f ms)\n", shPeer * 1e3,
                shPeer / shPlain, (shPeer - shPlain) * 1e3);
    std::printf("overhead of the codec vs sqlcipher's: %.2f\n",
                (shKeyed - shPlain) / (shPeer - shPlain));
    // The same without the scan: start-up and key derivation alone, to show the scan's own cost.
    const std::string openOnly = "SELECT count(*) FROM sqlite_master";
    double idlePlain = timeRuns(runs, [&] { return runProcess({"sqlite3", plain, openOnly}); });
    double idleKeyed = timeRuns(runs, [&] {
      return runProcess({"sqlite3", "-cmd",
                         ".load " + fs::path(module).replace_extension().string(), "-cmd",
                         ".open file:" + keyed + "?key=" + kKey, ":memory:", openOnly});
    });
    double idlePeer = timeRuns(runs, [&] {
      return runProcess({"sqlcipher", peer, std::string("PRAGMA key='") + kKey + "';" + openOnly});
    });
    std::printf(
        "scan alone (process minus open-only process): plain %.1f ms, codec %.1f ms (ratio %.2f), "
        "sqlcipher %.1f ms (ratio %.2f)\n",
        (shPlain - idlePlain) * 1e3, (shKeyed - idleKeyed) * 1e3,
        (shKeyed - idleKeyed) / (shPlain - idlePlain), (shPeer - idlePeer) * 1e3,
        (shPeer - idlePeer) / (shPlain - idlePlain));
  }
  fs::remove_all(dir);
  return 0;
}
