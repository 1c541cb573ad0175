// Builds the real dictionary in several storage layouts and times the engine's searches on
// each: the typing path (LIMIT 100) for common and for rare sounds (a rare one scans the whole
// table), the Return path (all rows), the entry lookup, and the first search of a freshly
// opened engine (every page read and decrypted once). Prints the times and the ratio of each
// layout to the split layout with 4096-byte pages, measured in the same run.
//
// usage: bench_dict_storage [--limit N] [--rounds N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <sqlite3.h>
#include <unistd.h>

#include "dict_store.h"
#include "dictionary_builder.h"
#include "engine/phonetic_dictionary.h"

namespace fs = std::filesystem;
using quorvi::dictbuild::BuildOptions;
using quorvi::dictbuild::StorageDesign;

namespace {

struct Layout {
  const char* name;
  StorageDesign design;
  int pageSize;
};

const Layout kLayouts[] = {
    {"split, 4096", StorageDesign::Split, 4096},
    {"single table, 4096", StorageDesign::SingleTable, 4096},
    {"split, 16384", StorageDesign::Split, 16384},
    {"single table, 16384", StorageDesign::SingleTable, 16384},
};

struct Query {
  const char* label;
  std::u16string typed;
  int limitMode;
};

const std::vector<Query> kQueries = {
    {"common sounds, typing path", u"kæt", 0},
    {"the window's example", u"igzɑ:mpl", 0},
    {"rare sounds (whole table)", u"ʒθʒ", 0},
    {"Return path, all rows", u"kæt", 1},
};

double seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

template <class F>
double medianOf(int rounds, F&& f) {
  std::vector<double> t;
  for (int i = 0; i < rounds; ++i) {
    auto start = std::chrono::steady_clock::now();
    f();
    t.push_back(seconds(std::chrono::steady_clock::now() - start));
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

struct Result {
  std::vector<double> times;  // per measurement, seconds
  unsigned long long bytes = 0;
};

}  // namespace

int main(int argc, char** argv) {
  size_t limit = 0;
  int rounds = 7;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--limit")) limit = std::strtoul(argv[i + 1], nullptr, 10);
    if (!std::strcmp(argv[i], "--rounds")) rounds = std::max(1, std::atoi(argv[i + 1]));
  }
  const fs::path root =
      fs::temp_directory_path() / ("bench_dict_storage." + std::to_string(::getpid()));
  const fs::path home = fs::current_path();
  std::vector<std::string> labels = {"first search after opening (cold)"};
  for (const auto& q : kQueries) labels.push_back(q.label);
  labels.push_back("entry lookup");
  labels.push_back("spelling search, whole table");
  labels.push_back("SQL scan of w_phonetic, warm");
  labels.push_back("SQL scan of w_phonetic, cold");

  std::vector<Result> results;
  for (const Layout& layout : kLayouts) {
    const fs::path dir = root / (std::to_string(results.size()));
    fs::create_directories(dir);
    fs::copy_file(QUORVI_REGEXP_MODULE, dir / "regexp.dll");
    BuildOptions options;
    options.runtimeDir = dir.string();
    options.sourceCacheDir = (root / "npm-sources").string();  // fetched once for all layouts
    options.design = layout.design;
    options.pageSize = layout.pageSize;
    options.limit = limit;
    options.force = true;
    std::ostringstream log;
    std::fprintf(stderr, "building %s ...\n", layout.name);
    auto summary = quorvi::dictbuild::buildDictionary(options, log);
    if (!summary.ok) {
      std::fprintf(stderr, "%s", log.str().c_str());
      return 1;
    }
    Result r;
    r.bytes = summary.fileBytes;
    fs::current_path(dir);
    {
      // Cold: a new engine, nothing cached; a search that reads every page.
      r.times.push_back(medianOf(3, [] {
        PhoneticDictionary dict;
        dict.searchByPhonetic(u"ʒθʒ", 0);
      }));
      PhoneticDictionary dict;
      if (!dict.isOpen() || !dict.hasRegexp()) {
        std::fprintf(stderr, "the engine cannot open %s\n", dir.c_str());
        return 1;
      }
      for (const Query& q : kQueries)
        r.times.push_back(medianOf(rounds, [&] { dict.searchByPhonetic(q.typed, q.limitMode); }));
      r.times.push_back(medianOf(rounds * 20, [&] { dict.entryText("example"); }));
      r.times.push_back(medianOf(rounds, [&] { dict.searchByCaption("qqz", 0); }));
    }
    // The engine answers repeated searches by sound from memory; the statement itself, as
    // the engine runs it when it has to, on a connection of our own.
    for (bool warm : {true, false}) {
      r.times.push_back(medianOf(warm ? rounds : 3, [&] {
        static sqlite3* db = nullptr;
        if (!warm || !db) {
          if (db) sqlite3_close(db);
          std::string error;
          db = quorvi::dictbuild::openKeyedDatabase("dict/words.db", false, error);
          sqlite3_exec(db, "PRAGMA cache_size=-131072", nullptr, nullptr, nullptr);
          sqlite3_enable_load_extension(db, 1);
          sqlite3_load_extension(db, "./regexp.dll", nullptr, nullptr);
        }
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP "
                           "\"&#658;.*&#952;.*&#658;.*\";",
                           -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
        }
        sqlite3_finalize(st);
        if (!warm) {
          sqlite3_close(db);
          db = nullptr;
        }
      }));
    }
    fs::current_path(home);
    results.push_back(std::move(r));
    fs::remove_all(dir);
  }
  fs::remove_all(root);

  std::printf(
      "dictionary storage: %s rows; median times in ms; ratio = layout / \"%s\" (>1: slower)\n",
      limit ? std::to_string(limit).c_str() : "all", kLayouts[0].name);
  std::printf("%-36s", "");
  for (const Layout& l : kLayouts) std::printf(" | %-22s", l.name);
  std::printf("\n%-36s", "file size (KiB)");
  for (const Result& r : results)
    std::printf(" | %10llu  x%-9.2f", r.bytes / 1024, double(r.bytes) / results[0].bytes);
  std::printf("\n");
  for (size_t m = 0; m < labels.size(); ++m) {
    std::printf("%-36s", labels[m].c_str());
    for (const Result& r : results)
      std::printf(" | %10.3f  x%-9.2f", r.times[m] * 1000, r.times[m] / results[0].times[m]);
    std::printf("\n");
  }
  return 0;
}
