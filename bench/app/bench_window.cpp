// The window on a runtime folder (default: the build's), offscreen, against the engine alone
// measured in the same run:
//   start      construction to the first search answered after a typed "k", against a fresh
//              engine opening the dictionary and answering the same search; and the longest
//              step the window's thread took once its event loop ran
//   Return     Return on each one-symbol input, against the engine's own search for it
//   next key   a capped search right after the longest list, against the same search after a
//              short list (the difference is what emptying the long list costs)
//   memory     the process's resident size after all those lists, against the size at start
// Usage: bench_window [RUNTIME_FOLDER]
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/phonetic_dictionary.h"
#include "mainwindow.h"

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

template <typename Work>
double milliseconds(Work work) {
  QElapsedTimer timer;
  timer.start();
  work();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double engineSearch(PhoneticDictionary& engine, const QString& typed, int limitMode) {
  return milliseconds([&] { engine.searchByPhonetic(typed.toStdU16String(), limitMode); });
}

// The longest gap between turns of the event loop until `done`.
double longestStep(const std::function<bool()>& done) {
  QElapsedTimer gap;
  gap.start();
  double longest = 0;
  while (!done()) {
    QApplication::processEvents(QEventLoop::AllEvents);
    longest = std::max(longest, static_cast<double>(gap.nsecsElapsed()) / 1e6);
    gap.restart();
  }
  return longest;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string folder = argc > 1 ? argv[1] : QUORVI_RUNTIME_DIR;
  if (chdir(folder.c_str()) != 0) return std::fprintf(stderr, "no folder %s\n", folder.c_str()), 2;
  QApplication application(argc, argv);
  qInstallMessageHandler(onDebugLine);

  clock_.start();
  MainWindow window;
  const double constructed = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
  window.show();
  auto* input = window.findChild<QLineEdit*>(QStringLiteral("inputPhonetic"));
  auto* list = window.findChild<QListWidget*>(QStringLiteral("displayResult"));
  input->setText(QStringLiteral("k"));
  const double longest = longestStep([] { return firstResultNs >= 0; });
  const double windowFirst = static_cast<double>(firstResultNs) / 1e6;
  const double startMemory = residentMegabytes();

  // The window alone first, so that its memory is its own: Return on every one-symbol input.
  std::vector<std::pair<QString, double>> returns;
  for (const auto& [typed, stored] : PhoneticDictionary::symbolMap()) {
    const QString text = QString::fromStdU16String(typed);
    if (text.size() != 1) continue;
    window.lazyLoad(text);
    returns.emplace_back(text, milliseconds([&] { QMetaObject::invokeMethod(input, "returnPressed"); }));
  }
  const int listRows = list->count();
  const double endMemory = residentMegabytes();
  const double afterLong = milliseconds([&] { window.displaySlot(QStringLiteral("kæ")); });
  const double afterShort = milliseconds([&] { window.displaySlot(QStringLiteral("kæ")); });

  const double engineFirst = milliseconds([] {
    PhoneticDictionary engine;
    engine.searchByPhonetic(u"k", 0);
  });
  std::printf("start to first result   window %7.1f ms   engine alone %7.1f ms   ratio %.2f\n",
              windowFirst, engineFirst, windowFirst / engineFirst);
  std::printf("  constructing the window %.1f ms; longest step of its event loop after that %.1f ms;"
              " the first search itself %.1f ms (goal under 16)\n", constructed, longest, firstSearchMs);
  PhoneticDictionary engine;
  engine.prepareSearchIndex();
  engine.searchByPhonetic(u"k", 0);
  std::printf("Return on each one-symbol input: window against the engine's own search\n");
  for (const auto& [text, inWindow] : returns) {
    const double alone = engineSearch(engine, text, 1);
    std::printf("  \"%s\" %7lld rows   window %7.2f ms   engine %7.2f ms   ratio %.2f\n",
                qPrintable(text), static_cast<long long>(engine.getResults().size()), inWindow,
                alone, inWindow / alone);
  }
  std::printf("  goal: Return on \"t\" under 15 ms; the list holds %d rows after the last, the rest"
              " join as it scrolls\n", listRows);
  std::printf("next key after the last list %6.2f ms   after a short one %6.2f ms   ratio %.2f"
              " (goal: difference under 2 ms)\n", afterLong, afterShort, afterLong / afterShort);
  std::printf("memory   after all those lists %6.1f MB   at the first result %6.1f MB   ratio %.2f"
              " (goal: under 60 MB)\n", endMemory, startMemory, endMemory / startMemory);
  return 0;
}
