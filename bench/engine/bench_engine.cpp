// Times the engine's search by sound (typing path and Return path, as specified and through the
// learner's ranked search with near-sound matches), its search by spelling on the typing path
// (as specified, and the learner's ranked search over the headwords in memory) and entry
// lookup on a keyed
// dictionary, and the same statements on a plain copy through two peers in the same run:
//   shell  the stock sqlite3 shell with its built-in regexp, timed as a process; the time of
//          the same script with the queries replaced by "SELECT 1" is subtracted, and every
//          script first reads the whole table once, so both sides start with a warm cache;
//   pcre   the sqlite3-pcre module loaded into this process with sqlite3_load_extension, on
//          a connection with the engine's cache size.
// Usage: bench_engine [--no-shell] [--spelling] [RUNTIME_FOLDER]
//          RUNTIME_FOLDER holds dict/words.db and regexp.dll (the real dictionary, say);
//          by default a generated dictionary of 150,000 entries. --no-shell skips the slow
//          shell peer; --spelling times only the searches by spelling.
//        bench_engine --generate FOLDER    only lay out FOLDER with a generated dictionary
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/engine/dictionary_generator.h"
#include "codec/codec_vfs.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

extern char** environ;

namespace {

const char kPassphrase[] = "harbor_lanternfish_sonatina";
const char kPcreModule[] = "/usr/lib/sqlite3/pcre.so";
const char kShell[] = "/usr/bin/sqlite3";
const char kCacheSizeSql[] = "PRAGMA cache_size=-131072;";
constexpr int kGeneratedRows = 150000;
constexpr int kSampleWords = 24;
constexpr int kRounds = 5;

const char kPhoneticCapped[] =
    "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ? LIMIT 100;";
const char kPhoneticAll[] = "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?;";
const char kCaptionCapped[] = "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ? LIMIT 100;";
const char kEntry[] = "SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption=?";

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Stats {
  double median = NAN;
  double p95 = NAN;
};

Stats stats(std::vector<double> samples) {
  Stats s;
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  s.median = samples[samples.size() / 2];
  s.p95 = samples[static_cast<size_t>(std::ceil(0.95 * samples.size())) - 1];
  return s;
}

// One kind of query: the statement and the variable texts it runs with.
struct Workload {
  const char* name;
  const char* sql;
  std::vector<std::string> texts;     // pattern or headword, UTF-8
  std::vector<std::u16string> typed;  // the engine's input for the searches
  int repeatsInShell;
  bool learner = false;   // through LearnerSearch (ranked, near-sound rows included)
  bool spelling = false;  // a search by spelling: `texts` are the patterns
  bool capped() const { return std::string_view(sql).find("LIMIT 100") != std::string_view::npos; }
};

struct Sample {
  std::vector<double> engine, pcre, shell;
};

std::string sqlWithLiteral(const char* sql, const std::string& text) {
  std::string literal = "'";
  for (char c : text) {
    if (c == '\'') literal.push_back('\'');
    literal.push_back(c);
  }
  literal.push_back('\'');
  std::string s(sql);
  s.replace(s.find('?'), 1, literal);
  if (s.back() != ';') s.push_back(';');
  return s;
}

// Runs the shell on `plain` with `script` as its input; returns the wall time in ms.
double timeShell(const fs::path& plain, const fs::path& script) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, script.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string shell = kShell, readonly = "-readonly", db = plain.string();
  char* argv[] = {shell.data(), readonly.data(), db.data(), nullptr};
  const auto start = Clock::now();
  pid_t pid;
  double elapsed = NAN;
  if (posix_spawn(&pid, kShell, &actions, nullptr, argv, environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    elapsed = millisecondsSince(start);
  }
  posix_spawn_file_actions_destroy(&actions);
  return elapsed;
}

double shellQueryTime(const fs::path& plain, const fs::path& work, const std::string& sql,
                      int repeats, double baseline) {
  const fs::path script = work / "query.sql";
  {
    std::ofstream out(script);
    out << kCacheSizeSql << "\nSELECT count(*) FROM dict_word WHERE length(w_explain) >= 0;\n";
    for (int i = 0; i < repeats; ++i) out << sql << "\n";
  }
  return (timeShell(plain, script) - baseline) / repeats;
}

double shellBaseline(const fs::path& plain, const fs::path& work, int repeats) {
  const fs::path script = work / "baseline.sql";
  {
    std::ofstream out(script);
    out << kCacheSizeSql << "\nSELECT count(*) FROM dict_word WHERE length(w_explain) >= 0;\n";
    for (int i = 0; i < repeats; ++i) out << "SELECT 1;\n";
  }
  std::vector<double> runs;
  for (int i = 0; i < 7; ++i) runs.push_back(timeShell(plain, script));
  return stats(runs).median;
}

// Runs `sql` with `text` bound on `db`; returns the number of rows.
int runStatement(sqlite3* db, const char* sql, const std::string& text) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return -1;
  sqlite3_bind_text(statement, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  int rows = 0;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(statement); ++i) sqlite3_column_text(statement, i);
    ++rows;
  }
  sqlite3_finalize(statement);
  return rows;
}

// Typed forms of sampled entries: the transcription decoded to symbols, without stress marks,
// kept when the engine can read it.
void sampleInputs(const fs::path& keyed, std::vector<std::u16string>& typed,
                  std::vector<std::string>& headwords) {
  quorvi::codec::registerCodecVfs();
  sqlite3* db = nullptr;
  sqlite3_open_v2(keyed.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_key(db, kPassphrase, static_cast<int>(sizeof kPassphrase - 1));
  // Every step-th row, spread over the whole list (dict_word may be a view: no rowid).
  sqlite3_stmt* statement = nullptr;
  int count = 0;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM dict_word", -1, &statement, nullptr);
  if (sqlite3_step(statement) == SQLITE_ROW) count = sqlite3_column_int(statement, 0);
  sqlite3_finalize(statement);
  const int step = std::max(1, count / 211);
  sqlite3_prepare_v2(db, "SELECT w_caption, w_phonetic FROM dict_word", -1, &statement, nullptr);
  for (int row = 0;
       sqlite3_step(statement) == SQLITE_ROW && static_cast<int>(typed.size()) < kSampleWords;
       ++row) {
    if (row % step != 3 % step) continue;
    const char* caption = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    const char* phonetic = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    if (!caption || !phonetic) continue;
    std::u16string form = PhoneticDictionary::decodePhoneticEntities(QString::fromUtf8(phonetic));
    std::erase_if(form, [](char16_t c) { return c == u'\u02C8' || c == u'\u02CC'; });
    if (form.size() < 3 || !PhoneticDictionary::checkPhonetic(form)) continue;
    typed.push_back(form);
    headwords.push_back(caption);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
}

void printRow(const char* name, const Sample& s, const char* target) {
  const Stats e = stats(s.engine), p = stats(s.pcre), sh = stats(s.shell);
  std::printf("%-22s %9.3f %9.3f | %9.3f %9.3f | %9.3f %9.3f | %6.1fx %6.1fx | %6.1fx %6.1fx  %s\n",
              name, e.median, e.p95, p.median, p.p95, sh.median, sh.p95, p.median / e.median,
              p.p95 / e.p95, sh.median / e.median, sh.p95 / e.p95, target);
}

}  // namespace

int main(int argc, char** argv) {
  bool generateOnly = false, skipShell = false, spellingOnly = false;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--generate" && i + 1 < argc) {
      generateOnly = true;
      folder = argv[++i];
    } else if (arg == "--no-shell") {
      skipShell = true;
    } else if (arg == "--spelling") {
      spellingOnly = true;
    } else if (arg[0] != '-' && folder.empty()) {
      folder = arg;
    } else {
      std::fprintf(stderr,
                   "Usage: bench_engine [--no-shell] [--spelling] [RUNTIME_FOLDER]\n"
                   "       bench_engine --generate FOLDER\n");
      return 2;
    }
  }
  char tmpl[] = "/tmp/quorvi-bench-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) return 1;
  const fs::path work = tmpl;
  fs::path runtime;
  if (!folder.empty() && !generateOnly) {
    runtime = fs::absolute(folder);
  } else {
    runtime = generateOnly ? fs::path(folder) : work / "runtime";
    fs::create_directories(runtime / "dict");
    fs::copy_file(QUORVI_REGEXP_MODULE, runtime / "regexp.dll",
                  fs::copy_options::overwrite_existing);
    std::printf("generating a keyed dictionary of %d entries...\n", kGeneratedRows);
    std::fflush(stdout);
    if (auto error = quorvi::bench::generateDictionary(runtime / "dict" / "words.db",
                                                       kGeneratedRows, kPassphrase);
        !error.empty()) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
  }
  if (generateOnly) {
    fs::remove_all(work);
    return 0;
  }
  const fs::path keyed = runtime / "dict" / "words.db";
  const fs::path plain = work / "plain.db";
  if (auto error = quorvi::bench::copyToPlain(keyed, kPassphrase, plain); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  std::vector<std::u16string> words;
  std::vector<std::string> headwords;
  sampleInputs(keyed, words, headwords);

  Workload typing{"typing path (LIMIT 100)", kPhoneticCapped, {}, {}, 10};
  Workload enter{"Return path (all rows)", kPhoneticAll, {}, {}, 3};
  Workload entry{"entryText", kEntry, headwords, {}, 5000};
  Workload learnerTyping{"learner typing path", kPhoneticCapped, {}, {}, 10, true};
  Workload learnerEnter{"learner Return path", kPhoneticAll, {}, {}, 3, true};
  for (const std::u16string& word : words) {
    // Every keystroke of the word that the engine would search on.
    for (size_t n = 1; n <= word.size(); ++n) {
      const std::u16string prefix = word.substr(0, n);
      if (!PhoneticDictionary::checkPhonetic(prefix)) continue;
      typing.typed.push_back(prefix);
      typing.texts.push_back(PhoneticDictionary::buildPhoneticPattern(prefix));
    }
    enter.typed.push_back(word);
    enter.texts.push_back(PhoneticDictionary::buildPhoneticPattern(word));
  }
  // Spelling: every keystroke of the sampled headwords, and patterns with the dialect's syntax.
  Workload spellingTyping{"spelling typing path", kCaptionCapped, {}, {}, 10, false, true};
  Workload learnerSpelling{"learner spelling typing", kCaptionCapped, {}, {}, 10, true, true};
  for (const std::string& headword : headwords) {
    const QString word = QString::fromUtf8(headword);
    for (qsizetype n = 1; n <= word.size(); ++n)
      spellingTyping.texts.push_back(word.left(n).toStdString());
  }
  for (const char* pattern : {"c.t", "^lond", "^th.*ght$", "ship", "e", "tion$", "[aeiou]{4}"})
    spellingTyping.texts.push_back(pattern);
  learnerSpelling.texts = spellingTyping.texts;
  learnerTyping.texts = typing.texts;
  learnerTyping.typed = typing.typed;
  learnerEnter.texts = enter.texts;
  learnerEnter.typed = enter.typed;
  std::printf("dictionary %s: %ju bytes; %zu words sampled, %zu typing inputs\n", keyed.c_str(),
              static_cast<uintmax_t>(fs::file_size(keyed)), words.size(), typing.texts.size());

  // The engine, in the runtime folder.
  const fs::path previous = fs::current_path();
  fs::current_path(runtime);
  // Its REGEXP module is the runtime folder's: this program is not in it.
  PhoneticDictionary::setModuleFolder(fs::current_path().string());
  PhoneticDictionary engine;
  LearnerSearch learner(engine);
  fs::current_path(previous);
  if (!engine.isOpen() || !engine.hasRegexp()) {
    std::fprintf(stderr, "the engine cannot open %s\n", runtime.c_str());
    return 1;
  }
  // The peer in this process.
  sqlite3* pcre = nullptr;
  sqlite3_open_v2(plain.c_str(), &pcre, SQLITE_OPEN_READONLY, "unix");
  sqlite3_exec(pcre, kCacheSizeSql, nullptr, nullptr, nullptr);
  sqlite3_enable_load_extension(pcre, 1);
  char* loadError = nullptr;
  const bool havePcre = sqlite3_load_extension(pcre, kPcreModule, nullptr, &loadError) == SQLITE_OK;
  if (!havePcre) std::printf("sqlite3-pcre not available: %s\n", loadError ? loadError : "");
  sqlite3_free(loadError);
  const bool haveShell = !skipShell && access(kShell, X_OK) == 0;

  // Warm both caches with one full scan each.
  engine.searchByPhonetic(u"\u03B8\u03B8\u03B8\u03B8", 1);
  learner.bySound(u"\u03B8\u03B8\u03B8\u03B8", 1);
  if (havePcre) runStatement(pcre, kPhoneticAll, "zzzz");

  std::vector<std::pair<Workload*, Sample>> results;
  std::vector<std::pair<double, std::string>> slowTyping;
  int mismatches = 0;
  std::vector<Workload*> workloads = {
      &typing, &enter, &learnerTyping, &learnerEnter, &spellingTyping, &learnerSpelling, &entry};
  if (spellingOnly) workloads = {&spellingTyping, &learnerSpelling};
  for (Workload* w : workloads) {
    Sample s;
    // Round 0 is not timed: it brings every page these queries read into both caches, as the
    // shell scripts' first statement does for the shell.
    for (int round = 0; round <= kRounds; ++round) {
      for (size_t i = 0; i < w->texts.size(); ++i) {
        auto start = Clock::now();
        const int limitMode = w->capped() ? 0 : 1;
        if (w == &entry)
          engine.entryText(w->texts[i]);
        else if (w->spelling && w->learner)
          learner.bySpelling(w->texts[i], limitMode);
        else if (w->spelling)
          engine.searchByCaption(w->texts[i], limitMode);
        else if (w->learner)
          learner.bySound(w->typed[i], limitMode);
        else
          engine.searchByPhonetic(w->typed[i], limitMode);
        if (round > 0) s.engine.push_back(millisecondsSince(start));
        if (w->capped() && round == kRounds)
          slowTyping.emplace_back(s.engine.back(),
                                  std::string(w->learner ? "learner " : "") + w->texts[i] + " (" +
                                      std::to_string(engine.getResults().size()) + " rows)");
        const int engineRows = engine.getResults().size() / (w == &entry ? 3 : 1);
        if (havePcre) {
          start = Clock::now();
          const int rows = runStatement(pcre, w->sql, w->texts[i]);
          if (round > 0) s.pcre.push_back(millisecondsSince(start));
          if (round == 0 && !w->learner && rows != engineRows) ++mismatches;
        }
      }
    }
    if (haveShell) {
      const double baseline = shellBaseline(plain, work, w->repeatsInShell);
      for (const std::string& text : w->texts)
        s.shell.push_back(
            shellQueryTime(plain, work, sqlWithLiteral(w->sql, text), w->repeatsInShell, baseline));
    }
    results.emplace_back(w, s);
  }
  sqlite3_close(pcre);

  std::printf(
      "\ntimes in ms; ratios are peer time / engine time (above 1: the engine is faster)\n");
  std::printf("%-22s %9s %9s | %9s %9s | %9s %9s | %15s | %15s\n", "", "engine", "", "pcre", "",
              "shell", "", "pcre/engine", "shell/engine");
  std::printf("%-22s %9s %9s | %9s %9s | %9s %9s | %6s  %6s  | %6s  %6s\n", "", "median", "p95",
              "median", "p95", "median", "p95", "median", "p95", "median", "p95");
  for (auto& [w, s] : results)
    printRow(w->name, s,
             w->spelling                           ? "(target p95 < 10 ms)"
             : w->capped()                         ? "(target p95 < 5 ms)"
             : (w == &enter || w == &learnerEnter) ? "(target p95 < 30 ms)"
                                                   : "");
  std::sort(slowTyping.rbegin(), slowTyping.rend());
  std::printf("\nslowest typing-path inputs of the last round:\n");
  for (size_t i = 0; i < slowTyping.size() && i < 5; ++i)
    std::printf("  %7.3f ms  %s\n", slowTyping[i].first, slowTyping[i].second.c_str());
  if (mismatches)
    std::printf("note: %d queries gave a different row count on the pcre peer\n", mismatches);
  std::error_code ignored;
  fs::remove_all(work, ignored);
  return 0;
}
