// `quorvi-dict search` started, answering and exiting, against the stock sqlite3 shell that
// loads the codec extension and the REGEXP module and runs the search's own statement on the
// same keyed file: wall time (best of several runs) and peak resident size, as ratios.
// Usage: bench_cli_search [RUNTIME_FOLDER]      default: the build's runtime folder
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <QString>

#include "bench/support/child_run.h"
#include "engine/phonetic_dictionary.h"

namespace {

const char kShell[] = "/usr/bin/sqlite3";
const char kOpen[] = ".open file:dict/words.db?key=harbor_lanternfish_sonatina";
constexpr int kRuns = 15;

struct Run {
  double milliseconds = 1e9;
  double megabytes = 0;
};

// Runs `args` with its output thrown away; the best time and the largest size of kRuns.
Run measure(const std::vector<std::string>& args) {
  Run best;
  for (int i = 0; i < kRuns; ++i) {
    if (const auto run = quorvi::bench::runChild(args)) {
      best.milliseconds = std::min(best.milliseconds, run->seconds * 1000.0);
      best.megabytes = std::max(best.megabytes, run->megabytes);
    } else {
      std::fprintf(stderr, "%s failed\n", args[0].c_str());
    }
  }
  return best;
}

void compare(const char* typed, bool all) {
  const std::string pattern =
      PhoneticDictionary::buildPhoneticPattern(QString::fromUtf8(typed).toStdU16String());
  const std::string sql = "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP '" + pattern +
                          "'" + (all ? "" : " LIMIT 100");
  std::vector<std::string> ours = {"./quorvi-dict", "search"};
  if (all) ours.push_back("--all");
  ours.push_back(typed);
  const Run quorvi = measure(ours);
  const Run shell = measure({kShell, "-cmd", ".load ./quorvi-codec", "-cmd", ".load ./regexp.dll",
                             "-cmd", kOpen, ":memory:", sql});
  std::printf(
      "%-14s %-6s %7.1f ms %6.1f MB   shell %7.1f ms %6.1f MB   ratio time %.2f size %.2f\n", typed,
      all ? "--all" : "capped", quorvi.milliseconds, quorvi.megabytes, shell.milliseconds,
      shell.megabytes, quorvi.milliseconds / shell.milliseconds,
      quorvi.megabytes / shell.megabytes);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : QUORVI_RUNTIME_DIR;
  if (chdir(folder.c_str()) != 0) return std::fprintf(stderr, "no folder %s\n", folder.c_str()), 2;
  std::printf("quorvi-dict search against the sqlite3 shell with the codec extension, best of %d\n",
              kRuns);
  for (const char* typed : {"kæt", "igzɑ:mpl", "ʃ", "θɔ:t", "ʒʒ"})
    for (bool all : {false, true}) compare(typed, all);
  std::printf("goal: time ratio at most 1.00 and under 16 MB\n");
  return 0;
}
