// `quorvi-dict words import` of a 1,000,000-line list into fresh data, against `sort -u` on
// the same file (what any import must at least do: read every line and drop the repeats):
// wall time, best of a few runs, as a ratio, and the import's peak resident size.
// The list is what learners keep, made from the dictionary's own headwords: most a word a
// line, some in another letter case, some with a translation after a tab or a number before,
// and a tenth no word at all.
// Usage: bench_word_import [RUNTIME_FOLDER] [LINES]
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/support/child_run.h"
#include "engine/phonetic_dictionary.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 3;

struct Run {
  double seconds = 1e9;
  double megabytes = 0;
  bool ok = true;
};

Run measure(const std::vector<std::string>& args, const std::string& dataHome) {
  Run best;
  for (int i = 0; i < kRuns; ++i) {
    fs::remove_all(dataHome);
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    if (const auto run = quorvi::bench::runChild(args)) {
      best.seconds = std::min(best.seconds, run->seconds);
      best.megabytes = std::max(best.megabytes, run->megabytes);
    } else {
      std::fprintf(stderr, "%s failed\n", args[0].c_str());
      best.ok = false;
    }
  }
  return best;
}

std::vector<std::string> headwordsOf(const fs::path& runtime) {
  std::vector<std::string> words;
  fs::current_path(runtime);
  PhoneticDictionary::setModuleFolder(runtime.string());
  PhoneticDictionary dictionary;
  if (!dictionary.isOpen()) return words;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(dictionary.connection(), "SELECT DISTINCT w_caption FROM dict_word", -1,
                         &statement, nullptr) != SQLITE_OK)
    return words;
  while (sqlite3_step(statement) == SQLITE_ROW)
    words.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  sqlite3_finalize(statement);
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path runtime = argc > 1 ? fs::path(argv[1]) : fs::path(QUORVI_RUNTIME_DIR);
  const long lines = argc > 2 ? std::atol(argv[2]) : 1000000;
  const std::vector<std::string> headwords = headwordsOf(runtime);
  if (headwords.empty()) {
    std::fprintf(stderr, "no dictionary in %s\n", runtime.c_str());
    return 1;
  }
  const fs::path scratch =
      fs::temp_directory_path() / ("bench_word_import." + std::to_string(getpid()));
  fs::create_directories(scratch);
  const fs::path list = scratch / "list.txt";
  {
    std::mt19937 random(7);
    // Learners' lists lean on the common words: the dictionary's order, skewed to its start.
    std::uniform_real_distribution<double> unit(0, 1);
    std::ofstream out(list, std::ios::binary);
    for (long i = 0; i < lines; ++i) {
      const double kind = unit(random);
      std::string word = headwords[static_cast<std::size_t>(
          std::pow(unit(random), 3) * static_cast<double>(headwords.size() - 1))];
      if (kind < 0.1) {
        out << "notaword" << random() % 100000 << "\r\n";
      } else if (kind < 0.2) {
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        out << word << "\r\n";
      } else if (kind < 0.3) {
        out << word << "\t释义\r\n";
      } else if (kind < 0.35) {
        out << (i % 1000) << ". " << word << "\r\n";
      } else {
        out << word << "\r\n";
      }
    }
  }
  const std::string dataHome = (scratch / "data").string();
  const Run sorted = measure({"sort", "-u", "-o", "/dev/null", list.string()}, dataHome);
  const Run imported = measure({(runtime / "quorvi-dict").string(), "--dir", runtime.string(),
                                "words", "import", list.string()},
                               dataHome);
  std::printf("word list: %ld lines, %.1f MB, %zu headwords\n", lines,
              static_cast<double>(fs::file_size(list)) / 1e6, headwords.size());
  std::printf("sort -u:      %.3f s\n", sorted.seconds);
  std::printf("words import: %.3f s, peak %.1f MB\n", imported.seconds, imported.megabytes);
  std::printf("import / sort -u: %.2f (goal at most 3)\n", imported.seconds / sorted.seconds);
  std::printf("peak memory: %.1f MB (goal under 200)\n", imported.megabytes);
  fs::remove_all(scratch);
  return sorted.ok && imported.ok ? 0 : 1;
}
