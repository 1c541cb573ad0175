#pragma once

#include <memory>

class QLabel;
class QWidget;
class Ui_MainWindow;
class Ui_WindowOverlay;

// What the window adds to its form, laid out in a form of its own (window_overlay.ui) over the
// form's central widget and under its widgets: the area of the speech buttons beside the modes,
// the status line under them, and the area of the learner's buttons beside the links. The
// specified form keeps its widgets and their places as they are.
class WindowOverlay {
 public:
  explicit WindowOverlay(Ui_MainWindow& form);
  ~WindowOverlay();

  QWidget* speechArea() const;
  QLabel* statusLine() const;
  QWidget* learnerArea() const;

 private:
  std::unique_ptr<Ui_WindowOverlay> overlay_;
};
