#pragma once

// A main window shown on a small keyed dictionary in a temporary runtime folder, which is
// the working directory while the window lives.

#include <QTest>

#include <memory>
#include <vector>

#include "mainwindow.h"
#include "tests/engine/test_dictionary.h"

class OpenWindow {
public:
    explicit OpenWindow(const std::vector<quorvi::testing::DictionaryRow> &rows = quorvi::testing::sampleRows()) {
        layoutError_ = quorvi::testing::layOutRuntimeFolder(folder_.path(), rows);
        cwd_ = std::make_unique<quorvi::testing::WorkingDirectory>(folder_.path());
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

    MainWindow *window() const { return window_.get(); }

private:
    quorvi::testing::TemporaryFolder folder_;
    std::string layoutError_;
    std::unique_ptr<quorvi::testing::WorkingDirectory> cwd_;
    std::unique_ptr<MainWindow> window_;
};
