// The program's life in one process, for the leak checker: the application object, the font
// set-up and the main window as main() makes them, one search typed into the input field, one
// headword picked so that its entry shows and goes into the history, the window closed and
// everything destroyed. Run in the sanitizer build, LeakSanitizer then reports whatever the program
// failed to free (the toolkit's own one-off allocations are listed in lsan.supp). Exits non-zero
// when the window did not do its part, so a silent no-op cannot pass for "no leak".
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/startup/fonts.h"
#include "app/window/mainwindow.h"
#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;

namespace {

int check(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "window leak check: %s\n", what);
  return ok ? 0 : 1;
}

int runWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  ensureMenschFont();
  MainWindow window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return check(false, "the window was never shown");

  auto* input = window.findChild<QLineEdit*>(QStringLiteral("inputPhonetic"));
  auto* list = window.findChild<QListWidget*>(QStringLiteral("displayResult"));
  auto* entry = window.findChild<QTextEdit*>(QStringLiteral("displayFull"));
  if (!input || !list || !entry) return check(false, "widgets missing");

  input->clear();
  QTest::keyClicks(input, QString::fromUtf8("k\xC3\xA6t"));
  if (!QTest::qWaitFor([&] { return list->count() == 1 && list->item(0)->text() == "cat"; }, 5000))
    return check(false, "the search did not list \"cat\"");
  const QRect row = list->visualItemRect(list->item(0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  if (!QTest::qWaitFor([&] { return entry->toPlainText().startsWith("cat\n"); }, 5000))
    return check(false, "the entry of \"cat\" was not shown");
  // The picked entry goes into the history, which opens the learner's database.
  const fs::path history =
      fs::path(qgetenv("XDG_DATA_HOME").toStdString()) / "quorvi" / "learner.db";
  if (!QTest::qWaitFor([&] { return fs::exists(history); }, 5000))
    return check(false, "the picked entry did not reach the history");

  QTimer::singleShot(0, &window, &QWidget::close);
  return application.exec();
}

}  // namespace

int main(int argc, char** argv) {
  quorvi::testing::TemporaryFolder folder;
  if (std::string error =
          quorvi::testing::layOutRuntimeFolder(folder.path(), quorvi::testing::sampleRows());
      !error.empty()) {
    std::fprintf(stderr, "window leak check: %s\n", error.c_str());
    return 1;
  }
  std::error_code ec;
  fs::create_directories(folder.path() / "font", ec);
  fs::copy_file(fs::path(QUORVI_RUNTIME_DIR) / "font" / "mensch.ttf",
                folder.path() / "font" / "mensch.ttf", ec);
  // History and my words stay in the scratch folder.
  setenv("XDG_DATA_HOME", (folder.path() / "data").c_str(), 1);
  int result;
  {
    quorvi::testing::WorkingDirectory cwd(folder.path());
    result = runWindow(argc, argv);
  }
  return result;
}
