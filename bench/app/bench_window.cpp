// The window on a runtime folder (default: the build's), offscreen, against the engine alone
// measured in the same run:
//   start      construction to the first search answered after a typed "k", against a fresh
//              engine opening the dictionary and answering the same learner's search; and the
//              longest stretches of the window's thread: its constructor (with the font set-up
//              before it, also shown alone), show(), and the longest step of its event loop from
//              then until a quarter of a second after the first result. Each start is a launch of
//              its own (a child process): the median, best and worst of several are shown
//   Return     Return on each one-symbol input, against the learner's search for it alone
//   next key   a capped search right after the longest list, against the same search after a
//              short list (the difference is what emptying the long list costs)
//   memory     the largest resident size after one of those Returns, against the size at the
//              first result (the rows are still being read then); and a second later
// Usage: bench_window [RUNTIME_FOLDER]
//        bench_window --one-start RUNTIME_FOLDER   (one launch; prints its start figures)
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QListWidget>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/startup/fonts.h"
#include "app/window/mainwindow.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"

namespace {

QElapsedTimer clock_;
qint64 firstResultNs = -1;
double firstSearchMs = 0;

// The window writes "last" before and the elapsed seconds after each search.
void onDebugLine(QtMsgType, const QMessageLogContext&, const QString& message) {
  if (message == QLatin1String("last") || firstResultNs >= 0) return;
  firstResultNs = clock_.nsecsElapsed();
  firstSearchMs = message.toDouble() * 1e3;
}

double residentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// Wall time, and the thread's processor time, which on a shared machine stands for what the
// wall time would be on an idle one.
struct Cost {
  double wall = 0;
  double cpu = 0;
};

double threadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <typename Work>
Cost measure(Work work) {
  QElapsedTimer timer;
  const double cpuStart = threadCpuMs();
  timer.start();
  work();
  return {static_cast<double>(timer.nsecsElapsed()) / 1e6, threadCpuMs() - cpuStart};
}

template <typename Work>
double milliseconds(Work work) {
  return measure(work).wall;
}

// The longest turn of the event loop until `done`, then for `tail` ms more; the idle waits
// between turns are not counted.
double longestStep(const std::function<bool()>& done, qint64 tailMs) {
  QElapsedTimer step;
  QElapsedTimer sinceDone;
  double longest = 0;
  while (!sinceDone.isValid() || sinceDone.elapsed() < tailMs) {
    step.start();
    const bool handled = QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
    longest = std::max(longest, static_cast<double>(step.nsecsElapsed()) / 1e6);
    if (!sinceDone.isValid() && done()) sinceDone.start();
    if (!handled) usleep(200);
  }
  return longest;
}

// The figures of one start of the window, in milliseconds.
struct StartFigures {
  double firstResult = 0;  // construction began to first result
  double fontSetUp = 0;    // ensureMenschFont, as the program calls it before the window
  double constructed = 0;  // that and the window's constructor
  double shown = 0;        // show()
  double longestStep = 0;  // the longest turn of the event loop after that
  double firstSearch = 0;  // the first search inside the window

  static constexpr int kCount = 6;
  double* begin() { return &firstResult; }
};

// As the program starts it: fontconfig was started on its thread before the application.
StartFigures startTheWindow(FontConfigLoading& fontConfig) {
  StartFigures figures;
  clock_.start();
  fontConfig.wait();
  ensureMenschFont();
  figures.fontSetUp = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
  MainWindow window;
  figures.constructed = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
  figures.shown = milliseconds([&] { window.show(); });
  window.findChild<QLineEdit*>(QStringLiteral("inputPhonetic"))->setText(QStringLiteral("k"));
  figures.longestStep = longestStep([] { return firstResultNs >= 0; }, 250);
  figures.firstResult = static_cast<double>(firstResultNs) / 1e6;
  figures.firstSearch = firstSearchMs;
  return figures;
}

constexpr const char* kOneStart = "--one-start";

// Each start in a process of its own, so that every one pays for the first font, style and
// dictionary set-up. Returns the median, the best and the worst of each figure.
struct StartSummary {
  StartFigures median, best, worst;
  int launches = 0;
};

StartSummary startInChildren(const char* program, const std::string& folder, int launches) {
  std::vector<double> columns[StartFigures::kCount];
  for (int i = 0; i < launches; ++i) {
    const std::string command =
        std::string("'") + program + "' " + kOneStart + " '" + folder + "' 2>/dev/null";
    FILE* child = popen(command.c_str(), "r");
    if (child == nullptr) continue;
    StartFigures figures;
    int read = 0;
    while (read < StartFigures::kCount && std::fscanf(child, "%lf", figures.begin() + read) == 1)
      ++read;
    if (read == StartFigures::kCount) {
      for (int c = 0; c < StartFigures::kCount; ++c) columns[c].push_back(figures.begin()[c]);
    }
    pclose(child);
  }
  StartSummary summary;
  summary.launches = static_cast<int>(columns[0].size());
  for (int c = 0; c < StartFigures::kCount && summary.launches > 0; ++c) {
    std::sort(columns[c].begin(), columns[c].end());
    summary.median.begin()[c] = columns[c][columns[c].size() / 2];
    summary.best.begin()[c] = columns[c].front();
    summary.worst.begin()[c] = columns[c].back();
  }
  return summary;
}

double loadAverage() {
  std::ifstream loadavg("/proc/loadavg");
  double oneMinute = 0;
  loadavg >> oneMinute;
  return oneMinute;
}

// Return on every one-symbol input in the window alone, so that its memory is its own, each
// after the one before has been put away, as when a user types. Returns the largest size.
double returnOnEverySymbol(MainWindow& window, QLineEdit* input,
                           std::vector<std::pair<QString, Cost>>& returns) {
  double largestMemory = 0;
  for (const auto& [typed, stored] : PhoneticDictionary::symbolMap()) {
    const QString text = QString::fromStdU16String(typed);
    if (text.size() != 1) continue;
    {
      // Return searches what the field shows; no typing search runs meanwhile.
      const QSignalBlocker quiet(input);
      input->setText(text);
    }
    window.lazyLoad(text);
    returns.emplace_back(text, measure([&] { QMetaObject::invokeMethod(input, "returnPressed"); }));
    QThreadPool::globalInstance()->waitForDone();
    largestMemory = std::max(largestMemory, residentMegabytes());
  }
  return largestMemory;
}

// The engine's own time for each of those searches; returns the input of the longest list.
QString compareWithTheEngine(const std::vector<std::pair<QString, Cost>>& returns) {
  PhoneticDictionary engine;
  LearnerSearch search(engine);
  search.prepareRows();
  search.bySound(u"k", 0);
  std::printf(
      "Return on each one-symbol input, window against the learner's search alone"
      " (wall ms, thread processor ms)\n");
  QString longestInput;
  qsizetype longestRows = -1;
  for (const auto& [text, inWindow] : returns) {
    qsizetype rows = 0;
    const Cost alone =
        measure([&] { rows = search.bySound(text.toStdU16String(), 1).words.size(); });
    if (rows > longestRows) longestRows = rows, longestInput = text;
    std::printf("  \"%s\" %7lld rows   window %6.2f %6.2f   engine %6.2f %6.2f   ratio %.2f %.2f\n",
                qPrintable(text), static_cast<long long>(rows), inWindow.wall, inWindow.cpu,
                alone.wall, alone.cpu, inWindow.wall / alone.wall, inWindow.cpu / alone.cpu);
  }
  return longestInput;
}

// A capped search right after Return on `longestInput`, and after a short list.
void nextKeyAfter(MainWindow& window, QLineEdit* input, const QString& longestInput) {
  window.lazyLoad(longestInput);
  QMetaObject::invokeMethod(input, "returnPressed");
  const Cost afterLong = measure([&] { window.displaySlot(QStringLiteral("kæ")); });
  QThreadPool::globalInstance()->waitForDone();
  const Cost afterShort = measure([&] { window.displaySlot(QStringLiteral("kæ")); });
  std::printf(
      "next key after \"%s\" %6.2f %6.2f ms   after a short list %6.2f %6.2f ms   ratio"
      " %.2f (goal: difference under 2 ms)\n",
      qPrintable(longestInput), afterLong.wall, afterLong.cpu, afterShort.wall, afterShort.cpu,
      afterLong.wall / afterShort.wall);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const bool oneStart = argc > 2 && std::strcmp(argv[1], kOneStart) == 0;
  const std::string folder = oneStart ? argv[2] : argc > 1 ? argv[1] : QUORVI_RUNTIME_DIR;
  char program[4096] = {};
  if (readlink("/proc/self/exe", program, sizeof program - 1) < 0) return 2;
  if (chdir(folder.c_str()) != 0) return std::fprintf(stderr, "no folder %s\n", folder.c_str()), 2;
  // The window's engine loads the runtime folder's REGEXP module: this program is not in it.
  char here[4096] = {};
  if (getcwd(here, sizeof here - 1) != nullptr) PhoneticDictionary::setModuleFolder(here);
  constexpr int kLaunches = 7;
  const double loadBefore = loadAverage();
  const StartSummary starts =
      oneStart ? StartSummary() : startInChildren(program, folder, kLaunches);
  FontConfigLoading fontConfig;
  QApplication application(argc, argv);
  qInstallMessageHandler(onDebugLine);
  if (oneStart) {
    StartFigures figures = startTheWindow(fontConfig);
    for (int c = 0; c < StartFigures::kCount; ++c) std::printf("%.3f ", figures.begin()[c]);
    std::printf("\n");
    return 0;
  }

  clock_.start();
  MainWindow window;
  window.show();
  auto* input = window.findChild<QLineEdit*>(QStringLiteral("inputPhonetic"));
  auto* list = window.findChild<QListWidget*>(QStringLiteral("displayResult"));
  input->setText(QStringLiteral("k"));
  longestStep([] { return firstResultNs >= 0; }, 0);
  const double startMemory = residentMegabytes();
  std::vector<std::pair<QString, Cost>> returns;
  const double largestMemory = returnOnEverySymbol(window, input, returns);
  // A second later, with nothing typed: the rows read on the window's start are in and what
  // reading them took is handed back.
  QElapsedTimer idle;
  idle.start();
  while (idle.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  const double settledMemory = residentMegabytes();

  const double engineFirst = milliseconds([] {
    PhoneticDictionary engine;
    LearnerSearch search(engine);
    search.bySound(u"k", 0);
  });
  const StartFigures& median = starts.median;
  std::printf(
      "start to first result   window %7.1f ms   engine alone %7.1f ms   ratio %.2f   (median of"
      " %d launches; best %.1f; load average %.2f)\n",
      median.firstResult, engineFirst, median.firstResult / engineFirst, starts.launches,
      starts.best.firstResult, loadBefore);
  std::printf(
      "  constructing the window %.1f ms (font set-up %.1f, constructor %.1f); showing it %.1f ms;"
      " longest step of its event loop after that %.1f ms; the first search itself %.1f ms"
      " (goal: no step over 16)\n",
      median.constructed, median.fontSetUp, median.constructed - median.fontSetUp, median.shown,
      median.longestStep, median.firstSearch);
  for (const auto& [name, figures] : {std::pair{"best ", &starts.best}, {"worst", &starts.worst}}) {
    std::printf(
        "  %s of the launches: constructing %.1f ms (font set-up %.1f); showing %.1f ms;"
        " longest step %.1f ms\n",
        name, figures->constructed, figures->fontSetUp, figures->shown, figures->longestStep);
  }
  const QString longestInput = compareWithTheEngine(returns);
  std::printf(
      "  goal: Return on \"t\" under 15 ms; the list holds %d rows, the rest join as it"
      " scrolls\n",
      list->count());
  nextKeyAfter(window, input, longestInput);
  std::printf(
      "memory   largest after a Return %6.1f MB   at the first result %6.1f MB   ratio %.2f"
      "   a second later %6.1f MB (goal: under 60 MB)\n",
      largestMemory, startMemory, largestMemory / startMemory, settledMemory);
  return 0;
}
