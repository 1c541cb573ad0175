// How often a learner finds the word they heard: for every word of a hand-written learner
// list, typed in textbook notation and again in today's IPA, for every word of a hand-written
// list of misheard input (one slip each of those Chinese learners make most), of a hand-written
// American list (its American IPA, its KK, and its t between vowels heard as d) and of a
// hand-written list typed on a plain keyboard, the share of words listed first, within the
// first 10 and anywhere in the list (100 rows), through the plain search by sound, through the
// learner's search, and through a plain edit-distance ranking over the same rows (British and
// American) as the peer, on the dictionary of RUNTIME_FOLDER.
// It also times the learner's search on every keystroke of the textbook forms (median, p95).
// Usage: bench_learner_words [--misses] [RUNTIME_FOLDER [LIST [MISHEARD_LIST]]]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <sqlite3.h>

#include <QHash>
#include <QString>
#include <QStringList>

#include "engine/learner_input.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "engine/sound_code.h"

namespace {

struct LearnerWord {
  QString headword;
  QStringList forms;  // the fields after the headword
};

// A list of `fields` tab-separated fields a line, the headword first.
std::vector<LearnerWord> readList(const char* path, qsizetype fields) {
  std::vector<LearnerWord> words;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const QStringList parts = QString::fromStdString(line).split(QLatin1Char('\t'));
    if (parts.size() == fields) words.push_back({parts[0], parts.mid(1)});
  }
  return words;
}

// The peer: the rows ranked by plain edit distance between the typed sounds and the row's
// whole transcription, every sound alike, stress and length ignored, each diphthong and
// affricate one symbol; ties by the table's order; each headword once, at its best row.
class EditDistancePeer {
 public:
  // Reads the rows the search statement reads, in its order, from `db`, each row's American
  // transcription as a row of its own where the dictionary has them.
  explicit EditDistancePeer(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT w_caption, w_phonetic, w_phonetic_us FROM dict_word "
                           "WHERE +w_phonetic IS NOT NULL",
                           -1, &statement, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement);
      sqlite3_prepare_v2(
          db, "SELECT w_caption, w_phonetic FROM dict_word WHERE +w_phonetic IS NOT NULL", -1,
          &statement, nullptr);
    }
    QHash<QString, std::uint32_t> firstRows;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
      const auto* caption = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      const auto* phonetic = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
      if (caption == nullptr) continue;
      const QString text = QString::fromUtf8(caption);
      auto first = firstRows.constFind(text);
      if (first == firstRows.cend())
        first = firstRows.insert(text, static_cast<std::uint32_t>(rows_.size()));
      headwords_.push_back(*first);
      captions_.emplace_back(caption);
      rows_.push_back(symbolsOf(sound::fromStored(phonetic)));
      const auto* american = sqlite3_column_count(statement) > 2
                                 ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 2))
                                 : nullptr;
      if (american != nullptr && *american != '\0') {
        headwords_.push_back(*first);
        captions_.emplace_back(caption);
        rows_.push_back(symbolsOf(sound::fromIpa(american)));
      }
    }
    sqlite3_finalize(statement);
  }
  bool empty() const { return rows_.empty(); }

  // The position of `headword` in the peer's list for `typed`, -1 past 100 rows or nowhere.
  qsizetype position(const QString& typed, const QString& headword) const {
    const LearnerInput input = readLearnerInput(typed.toStdU16String());
    if (!input.readable()) return -1;
    std::u16string symbols = input.symbols;
    std::erase(symbols, u' ');
    const std::string wanted = symbolsOf(sound::fromSymbols(symbols));
    const QByteArray caption = headword.toUtf8();
    const std::string_view target(caption.constData(), static_cast<std::size_t>(caption.size()));
    // The headword's best row first: only rows at most as far can come before it.
    int best = INT32_MAX;
    std::size_t bestRow = SIZE_MAX;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
      if (captions_[row] != target) continue;
      const int d = distance(wanted, rows_[row], best);
      if (d < best) best = d, bestRow = row;
    }
    if (bestRow == SIZE_MAX) return -1;
    std::vector<bool> counted(rows_.size(), false);
    qsizetype before = 0;
    for (std::size_t row = 0; row < rows_.size() && before < 100; ++row) {
      const std::uint32_t head = headwords_[row];
      if (counted[head] || captions_[row] == target) continue;
      const int d = distance(wanted, rows_[row], best);
      if (d < best || (d == best && row < bestRow)) {
        counted[head] = true;
        ++before;
      }
    }
    return before < 100 ? before : -1;
  }

 private:
  // One byte per symbol: the codes without marks, a diphthong or affricate folded into one.
  static std::string symbolsOf(std::string_view codes) {
    static const std::string_view kPairs[] = {"ei", "ai", "Oi", "Eu", "au", "iE", "WE",
                                              "uE", "tS", "dZ", "tr", "dr", "ts", "dz"};
    std::string plain, out;
    for (const char code : codes)
      if (code != sound::kPrimaryStress && code != sound::kSecondaryStress &&
          code != sound::kLength)
        plain.push_back(code);
    for (std::size_t i = 0; i < plain.size(); ++i) {
      char symbol = plain[i];
      for (std::size_t p = 0; p < std::size(kPairs); ++p)
        if (i + 1 < plain.size() && plain.compare(i, 2, kPairs[p]) == 0) {
          symbol = static_cast<char>(0x80 + p);
          ++i;
          break;
        }
      out.push_back(symbol);
    }
    return out;
  }

  // Levenshtein distance, or a number above `most` once it is sure to exceed it.
  static int distance(const std::string& a, const std::string& b, int most) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (std::abs(n - m) > most) return most + 1;
    std::vector<int> previous(static_cast<std::size_t>(m) + 1), current(previous.size());
    for (int j = 0; j <= m; ++j) previous[static_cast<std::size_t>(j)] = j;
    for (int i = 1; i <= n; ++i) {
      current[0] = i;
      int rowBest = i;
      for (int j = 1; j <= m; ++j) {
        const auto at = static_cast<std::size_t>(j);
        current[at] = std::min(
            {previous[at] + 1, current[at - 1] + 1,
             previous[at - 1] +
                 (a[static_cast<std::size_t>(i - 1)] == b[static_cast<std::size_t>(j - 1)] ? 0
                                                                                           : 1)});
        rowBest = std::min(rowBest, current[at]);
      }
      if (rowBest > most) return most + 1;
      std::swap(previous, current);
    }
    return previous[static_cast<std::size_t>(m)];
  }

  std::vector<std::string> captions_;
  std::vector<std::uint32_t> headwords_;  // the first row of each row's headword
  std::vector<std::string> rows_;
};

struct Tally {
  int first = 0, withinTen = 0, shown = 0, total = 0;
  void add(qsizetype position) {
    ++total;
    if (position < 0) return;
    ++shown;
    if (position < 10) ++withinTen;
    if (position == 0) ++first;
  }
  void print(const char* label) const {
    const auto share = [this](int n) { return 100.0 * n / (total ? total : 1); };
    std::printf("  %-28s first %5.1f%%   within 10 %5.1f%%   shown %5.1f%%   (%d words)\n", label,
                share(first), share(withinTen), share(shown), total);
  }
};

// Position of `headword` in the plain search's rows, as the window listed them before.
qsizetype plainPosition(PhoneticDictionary& dictionary, const QString& typed,
                        const QString& headword) {
  const std::u16string text = typed.toStdU16String();
  if (!PhoneticDictionary::checkPhonetic(text)) return -1;
  dictionary.searchByPhonetic(text, 0);
  QStringList rows = dictionary.getResults();
  rows.removeDuplicates();
  return rows.indexOf(headword);
}

// Median and 95th percentile of the typing path over every prefix of every textbook form.
double threadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void timeTyping(LearnerSearch& learner, const std::vector<LearnerWord>& words) {
  std::vector<double> ms, cpu;
  std::vector<std::pair<double, QString>> slowest;
  learner.bySound(u"k", 0);  // loads the rows
  for (const LearnerWord& word : words) {
    for (qsizetype n = 1; n <= word.forms[0].size(); ++n) {
      const QString prefix = word.forms[0].left(n);
      const auto start = std::chrono::steady_clock::now();
      const double cpuAt = threadCpuMs();
      learner.bySound(prefix.toStdU16String(), 0);
      cpu.push_back(threadCpuMs() - cpuAt);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      slowest.emplace_back(ms.back(), prefix);
    }
  }
  const auto p95 = [](std::vector<double>& values) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(std::ceil(0.95 * values.size())) - 1];
  };
  const double cpuP95 = p95(cpu);
  std::sort(ms.begin(), ms.end());
  // The processor time of the searching thread is what other programs' load does not change.
  std::printf(
      "typing path on %zu keystrokes: median %.3f ms, p95 %.3f ms, max %.3f ms "
      "(processor: median %.3f ms, p95 %.3f ms)\n",
      ms.size(), ms[ms.size() / 2], ms[static_cast<size_t>(std::ceil(0.95 * ms.size())) - 1],
      ms.back(), cpu[cpu.size() / 2], cpuP95);
  std::sort(slowest.rbegin(), slowest.rend());
  for (size_t i = 0; i < 8 && i < slowest.size(); ++i)
    std::printf("  %7.3f ms  %s\n", slowest[i].first, qPrintable(slowest[i].second));
}

}  // namespace

int main(int argc, char** argv) {
  int i = 1;
  const bool showMisses = argc > 1 && std::string(argv[1]) == "--misses";
  if (showMisses) ++i;
  const char* folder = i < argc ? argv[i] : QUORVI_RUNTIME_DIR;
  const char* list = i + 1 < argc ? argv[i + 1] : QUORVI_LEARNER_LIST;
  const char* misheardList = i + 2 < argc ? argv[i + 2] : QUORVI_MISHEARD_LIST;
  const std::vector<LearnerWord> words = readList(list, 3);
  const std::vector<LearnerWord> misheard = readList(misheardList, 4);
  const std::vector<LearnerWord> american = readList(QUORVI_AMERICAN_LIST, 4);
  std::vector<LearnerWord> flapped;
  for (const LearnerWord& word : american)
    if (word.forms[2] != QStringLiteral("-")) flapped.push_back(word);
  const std::vector<LearnerWord> plainKeyboard = readList(QUORVI_PLAIN_KEYBOARD_LIST, 2);
  if (words.empty() || misheard.empty() || american.empty() || plainKeyboard.empty() ||
      chdir(folder) != 0) {
    std::fprintf(stderr, "cannot read the lists %s and %s or enter %s\n", list, misheardList,
                 folder);
    return 1;
  }
  // The runtime folder is the program's own: its engine loads the REGEXP module there.
  char here[4096] = {};
  if (getcwd(here, sizeof here - 1) != nullptr) PhoneticDictionary::setModuleFolder(here);
  PhoneticDictionary dictionary;
  if (!dictionary.isOpen()) {
    std::fprintf(stderr, "no dictionary in %s\n", folder);
    return 1;
  }
  LearnerSearch learner(dictionary);
  if (const char* one = std::getenv("QUORVI_TIME_ONE")) {
    std::vector<double> ms;
    for (int round = 0; round < 50; ++round) {
      const auto start = std::chrono::steady_clock::now();
      learner.bySound(QString::fromUtf8(one).toStdU16String(),
                      std::getenv("QUORVI_TIME_ALL") ? 1 : 0);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.3f ms\n", one, ms[ms.size() / 2]);
    return 0;
  }
  timeTyping(learner, words);
  // The peer reads every row's transcription from the table.
  const EditDistancePeer peer(dictionary.connection());
  if (peer.empty()) {
    std::fprintf(stderr, "the rows of %s cannot be read\n", folder);
    return 1;
  }
  std::printf("%zu words of %s and %zu of %s on %s/dict/words.db\n", words.size(), list,
              misheard.size(), misheardList, folder);
  if (const auto rows = learner.spellingRows())
    std::printf("%u rows, %u of them also by their American sounds\n", rows->rowCount(),
                rows->americanEntries());
  struct Run {
    const char* name;
    const std::vector<LearnerWord>* list;
    int form;
  };
  for (const Run& run :
       {Run{"textbook notation", &words, 0}, Run{"today's IPA", &words, 1},
        Run{"misheard input", &misheard, 1}, Run{"American IPA", &american, 0},
        Run{"KK symbols", &american, 1}, Run{"American flap heard as d", &flapped, 2},
        Run{"plain keyboard", &plainKeyboard, 0}}) {
    Tally plain, ours, edits;
    int emptyLists = 0;
    for (const LearnerWord& word : *run.list) {
      const QString& typed = word.forms[run.form];
      plain.add(plainPosition(dictionary, typed, word.headword));
      edits.add(peer.position(typed, word.headword));
      const SearchOutcome outcome = learner.bySound(typed.toStdU16String(), 0);
      const HeadwordList::Index position = outcome.words.indexOf(word.headword.toStdString());
      ours.add(position);
      emptyLists += outcome.words.isEmpty() ? 1 : 0;
      if (showMisses && position != 0)
        std::printf("    %s %s: %lld; first %s\n", qPrintable(word.headword), qPrintable(typed),
                    static_cast<long long>(position),
                    outcome.words.isEmpty() ? "-" : outcome.words.first().c_str());
    }
    std::printf("%s:\n", run.name);
    plain.print("plain search");
    edits.print("edit distance (peer)");
    ours.print("learner's search");
    std::printf("  learner's search listed nothing for %d\n", emptyLists);
  }
  return 0;
}
