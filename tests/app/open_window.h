#pragma once

// A main window shown on a small keyed dictionary in a temporary runtime folder, which is
// the working directory while the window lives.

#include <QFile>
#include <QObject>
#include <QTest>

#include <memory>
#include <vector>

#include "app/window/mainwindow.h"
#include "tests/engine/test_dictionary.h"

class OpenWindow {
 public:
  explicit OpenWindow(
      const std::vector<quorvi::testing::DictionaryRow>& rows = quorvi::testing::sampleRows()) {
    layoutError_ = quorvi::testing::layOutRuntimeFolder(folder_.path(), rows);
    cwd_ = std::make_unique<quorvi::testing::WorkingDirectory>(folder_.path());
    // History and my words go to the scratch folder, never to the real home.
    qputenv("XDG_DATA_HOME",
            QFile::encodeName(QString::fromStdString((folder_.path() / "data").string())));
    window_ = std::make_unique<MainWindow>();
  }

  // Lays the folder out, shows the window and makes it active; false when any step failed.
  bool show() {
    if (!layoutError_.empty()) return false;
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) return false;
    window_->activateWindow();
    return QTest::qWaitForWindowActive(window_.get());
  }

  MainWindow* window() const { return window_.get(); }

 private:
  quorvi::testing::TemporaryFolder folder_;
  std::string layoutError_;
  std::unique_ptr<quorvi::testing::WorkingDirectory> cwd_;
  std::unique_ptr<MainWindow> window_;
};

// Base of the window test cases: `window` while one is open, from openWindow() in a test's or
// the case's set-up to closeWindow() in the matching clean-up.
class WindowTestCase : public QObject {
 protected:
  // Opens and shows a window on `rows`; false when it could not be shown.
  bool openWindow(
      const std::vector<quorvi::testing::DictionaryRow>& rows = quorvi::testing::sampleRows()) {
    open_ = std::make_unique<OpenWindow>(rows);
    window = open_->window();
    return open_->show();
  }

  void closeWindow() {
    open_.reset();
    window = nullptr;
  }

  MainWindow* window = nullptr;

 private:
  std::unique_ptr<OpenWindow> open_;
};
