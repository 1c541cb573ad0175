#include "app/window/window_overlay.h"

#include <QGridLayout>
#include <QLabel>

#include "ui_mainwindow.h"
#include "ui_window_overlay.h"

WindowOverlay::WindowOverlay(Ui_MainWindow& form) : overlay_(new Ui_WindowOverlay) {
  auto* overlay = new QWidget(form.centralWidget);
  overlay_->setupUi(overlay);
  overlay_->statusLine->setObjectName(QStringLiteral("statusLine"));
  // The overlay fills the central widget; the form's own widgets keep their places above it, so
  // that where they meet the form's get the clicks.
  auto* fill = new QGridLayout(form.centralWidget);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(overlay, 0, 0);
  overlay->lower();
}

WindowOverlay::~WindowOverlay() = default;

QWidget* WindowOverlay::speechArea() const {
  return overlay_->speechArea;
}

QLabel* WindowOverlay::statusLine() const {
  return overlay_->statusLine;
}

QWidget* WindowOverlay::learnerArea() const {
  return overlay_->learnerArea;
}
