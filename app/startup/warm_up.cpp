#include "app/startup/warm_up.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QThreadPool>

#include "engine/learner_search.h"

namespace {

void readOnePixel() {
  QImage pixel(1, 1, QImage::Format_ARGB32);
  pixel.fill(Qt::transparent);
  QByteArray png;
  QBuffer written(&png);
  written.open(QIODevice::WriteOnly);
  pixel.save(&written, "PNG");
  // No format named: the reader asks the plugins, as for the style's image.
  QBuffer read(&png);
  read.open(QIODevice::ReadOnly);
  QImageReader(&read).read();
}

}  // namespace

void loadImagePluginsInBackground() {
  QThreadPool::globalInstance()->start(readOnePixel);
}

void startWarmUps(LearnerSearch& search) {
  loadImagePluginsInBackground();
  // The rows of the search by sound are read while the window is built and shown.
  search.prepareRows();
}
