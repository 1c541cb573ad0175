// How the learner's search by sound (what the window and quorvi-dict use) grows with the
// dictionary: the real dictionary's rows repeated to 1x, 2x and 4x (each copy's headwords
// marked apart), written by the dictionary builder's writer with its stored rows. For each
// size: the first search of a fresh engine that has started its read-ahead as the window does
// (opening included), the 95th percentile of the searches while typing words symbol by symbol
// once the rows are in, and how much the process grew with the store and a Return on "k";
// against the search statement (LIMIT 100, the REGEXP module) on the same file.
// Usage: bench_growth [RUNTIME_FOLDER]      default: the build's runtime folder
#include <sqlite3.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QString>

#include "dict_store.h"
#include "dictionary_writer.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Row {
  std::string caption;
  std::string phonetic;
};

const char* const kTypedWords[] = {"igzɑ:mpl", "kæt", "θɔ:t", "ʃu:z", "ləndən", "dʒʌmp", "ʌndə"};

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The thread's processor time: on a shared machine it stands for the wall time of an idle one.
double threadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The processor time of every thread: the learner's search shares a long search with a helper
// thread, whose time counts too.
double processCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::vector<Row> readRows(const fs::path& db) {
  std::string error;
  std::vector<Row> rows;
  sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(db.string(), false, error);
  sqlite3_stmt* statement = nullptr;
  if (connection != nullptr &&
      sqlite3_prepare_v2(connection, "SELECT w_caption, w_phonetic FROM dict_word", -1, &statement,
                         nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW)
      rows.push_back({reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                      reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))});
  }
  sqlite3_finalize(statement);
  sqlite3_close(connection);
  return rows;
}

bool writeCopies(const fs::path& folder, const std::vector<Row>& rows, int copies) {
  fs::create_directories(folder / "dict");
  fs::copy_file("regexp.dll", folder / "regexp.dll", fs::copy_options::overwrite_existing);
  quorvi::dictbuild::DictionaryWriter writer;
  if (!writer.begin((folder / "dict" / "words.db").string(),
                    quorvi::dictbuild::StorageDesign::Split, 16384))
    return false;
  for (int copy = 0; copy < copies; ++copy)
    for (const Row& row : rows)
      if (!writer.add(copy == 0 ? row.caption : row.caption + "~" + std::to_string(copy),
                      row.phonetic, "x"))
        return false;
  return writer.finish();
}

std::vector<std::u16string> typedPrefixes() {
  std::vector<std::u16string> prefixes;
  for (const char* word : kTypedWords) {
    const std::u16string typed = QString::fromUtf8(word).toStdU16String();
    for (size_t length = 1; length <= typed.size(); ++length)
      if (PhoneticDictionary::checkPhonetic(typed.substr(0, length)))
        prefixes.push_back(typed.substr(0, length));
  }
  return prefixes;
}

double percentile95(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, values.size() * 95 / 100)];
}

double residentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// The learner's search on a fresh engine: its first search (the rows prepared as the window
// does), typing p95, and growth; against the statement's processor p95 measured just before.
void measureLearner(double statementCpuP95) {
  malloc_trim(0);
  const double memoryBefore = residentMegabytes();
  const auto start = Clock::now();
  PhoneticDictionary engine;
  LearnerSearch search(engine);
  search.prepareRows();
  search.bySound(u"k", 0);
  const double first = millisecondsSince(start);
  search.bySound(u"k", 1);
  const double memory = residentMegabytes() - memoryBefore;
  std::vector<double> wall, cpu;
  for (const std::u16string& typed : typedPrefixes()) {
    const QString text = QString::fromStdU16String(typed);
    const auto at = Clock::now();
    const double cpuAt = processCpuMs();
    search.bySound(text.toStdU16String(), 0);
    wall.push_back(millisecondsSince(at));
    cpu.push_back(processCpuMs() - cpuAt);
  }
  std::printf(
      "   learner     first search %5.1f ms  typing p95 %5.2f ms (processor, all threads %5.2f)"
      "  ratio to the statement %.3f  grown by %5.1f MB\n",
      first, percentile95(wall), percentile95(cpu), percentile95(cpu) / statementCpuP95, memory);
}

// The typing path's patterns through the statement, then the learner's search.
void measureSize(int copies, size_t rows) {
  std::vector<double> statement, statementCpu;
  sqlite3* db = nullptr;
  sqlite3_open_v2("file:dict/words.db?key=harbor_lanternfish_sonatina", &db,
                  SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  sqlite3_enable_load_extension(db, 1);
  sqlite3_load_extension(db, "./regexp.dll", nullptr, nullptr);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db, "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ? LIMIT 100", -1,
                     &query, nullptr);
  for (const std::u16string& typed : typedPrefixes()) {
    const std::string pattern = PhoneticDictionary::buildPhoneticPattern(typed);
    const auto at = Clock::now();
    const double cpu = threadCpuMs();
    sqlite3_bind_text(query, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(query) == SQLITE_ROW) {
    }
    sqlite3_reset(query);
    statement.push_back(millisecondsSince(at));
    statementCpu.push_back(threadCpuMs() - cpu);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  std::printf("%dx %7zu rows  statement typing p95 %6.1f ms (processor %6.1f)\n", copies,
              rows * static_cast<size_t>(copies), percentile95(statement),
              percentile95(statementCpu));
  measureLearner(percentile95(statementCpu));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string runtime = argc > 1 ? argv[1] : QUORVI_RUNTIME_DIR;
  if (chdir(runtime.c_str()) != 0)
    return std::fprintf(stderr, "no folder %s\n", runtime.c_str()), 2;
  // The engines load the runtime folder's REGEXP module: this program is not in it.
  PhoneticDictionary::setModuleFolder(fs::current_path().string());
  const std::vector<Row> rows = readRows("dict/words.db");
  if (rows.empty()) return std::fprintf(stderr, "no rows in dict/words.db\n"), 2;
  const fs::path scratch =
      fs::temp_directory_path() / ("quorvi-growth-" + std::to_string(getpid()));
  std::printf(
      "the learner's search by sound at 1x, 2x and 4x rows (goal at 4x: typing p95 under 2 ms,"
      " first search under 40 ms)\n");
  int status = 0;
  for (int copies : {1, 2, 4}) {
    const fs::path folder = scratch / std::to_string(copies);
    if (!writeCopies(folder, rows, copies)) {
      std::fprintf(stderr, "cannot write %s\n", folder.c_str());
      status = 1;
      break;
    }
    const fs::path back = fs::current_path();
    fs::current_path(folder);
    measureSize(copies, rows.size());
    fs::current_path(back);
  }
  std::error_code ignored;
  fs::remove_all(scratch, ignored);
  return status;
}
