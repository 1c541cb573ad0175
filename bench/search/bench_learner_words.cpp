// How often a learner finds the word they heard: for every word of a hand-written learner
// list, typed in textbook notation and again in today's IPA, the share of words listed first,
// within the first 10 and anywhere in the list, through the plain search by sound (before)
// and through the learner's search (after), on the dictionary of RUNTIME_FOLDER.
// It also times the learner's search on every keystroke of the textbook forms (median, p95).
// Usage: bench_learner_words [--misses] [RUNTIME_FOLDER [LIST]]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

namespace {

struct LearnerWord {
  QString headword;
  QString forms[2];  // textbook notation, today's IPA
};

std::vector<LearnerWord> readList(const char* path) {
  std::vector<LearnerWord> words;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const QStringList fields = QString::fromStdString(line).split(QLatin1Char('\t'));
    if (fields.size() == 3) words.push_back({fields[0], {fields[1], fields[2]}});
  }
  return words;
}

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
void timeTyping(LearnerSearch& learner, const std::vector<LearnerWord>& words) {
  std::vector<double> ms;
  std::vector<std::pair<double, QString>> slowest;
  learner.bySound(QStringLiteral("k"), 0);  // loads the rows
  for (const LearnerWord& word : words) {
    for (qsizetype n = 1; n <= word.forms[0].size(); ++n) {
      const QString prefix = word.forms[0].left(n);
      const auto start = std::chrono::steady_clock::now();
      learner.bySound(prefix, 0);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      slowest.emplace_back(ms.back(), prefix);
    }
  }
  std::sort(ms.begin(), ms.end());
  std::printf("typing path on %zu keystrokes: median %.3f ms, p95 %.3f ms, max %.3f ms\n",
              ms.size(), ms[ms.size() / 2],
              ms[static_cast<size_t>(std::ceil(0.95 * ms.size())) - 1], ms.back());
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
  const std::vector<LearnerWord> words = readList(list);
  if (words.empty() || chdir(folder) != 0) {
    std::fprintf(stderr, "cannot read the list %s or enter %s\n", list, folder);
    return 1;
  }
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
      learner.bySound(QString::fromUtf8(one), std::getenv("QUORVI_TIME_ALL") ? 1 : 0);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.3f ms\n", one, ms[ms.size() / 2]);
    return 0;
  }
  timeTyping(learner, words);
  const char* formNames[2] = {"textbook notation", "today's IPA"};
  std::printf("%zu words of %s on %s/dict/words.db\n", words.size(), list, folder);
  for (int form = 0; form < 2; ++form) {
    Tally before, after;
    for (const LearnerWord& word : words) {
      const QString& typed = word.forms[form];
      before.add(plainPosition(dictionary, typed, word.headword));
      const SearchOutcome outcome = learner.bySound(typed, 0);
      const qsizetype position = outcome.words.indexOf(word.headword);
      after.add(position);
      if (showMisses && position != 0)
        std::printf("    %s %s: %lld; first %s\n", qPrintable(word.headword), qPrintable(typed),
                    static_cast<long long>(position),
                    outcome.words.isEmpty() ? "-" : qPrintable(outcome.words.first()));
    }
    std::printf("%s:\n", formNames[form]);
    before.print("before (plain search)");
    after.print("after (learner's search)");
  }
  return 0;
}
