// Helper for the on-screen test of the built program:
//   screen_helper layout DIR   lays out DIR as a working directory with a small
//                              dictionary, regexp.dll and the runtime's font
//   screen_helper grab PNG     saves the whole screen to PNG and checks that it
//                              shows more than a blank desktop
//   screen_helper clipboard    prints the text of the display's clipboard

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;

namespace {

int layout(const char* folder) {
  const std::string error =
      quorvi::testing::layOutRuntimeFolder(folder, quorvi::testing::sampleRows());
  if (!error.empty()) {
    std::fprintf(stderr, "layout: %s\n", error.c_str());
    return 1;
  }
  const fs::path font = fs::path(QUORVI_RUNTIME_DIR) / "font" / "mensch.ttf";
  if (fs::exists(font)) {
    fs::create_directories(fs::path(folder) / "font");
    fs::copy_file(font, fs::path(folder) / "font" / "mensch.ttf",
                  fs::copy_options::overwrite_existing);
  }
  return 0;
}

int grab(int argc, char** argv, const char* png) {
  QGuiApplication application(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "grab: no screen\n");
    return 1;
  }
  const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  if (!shot.save(QString::fromLocal8Bit(png), "PNG")) {
    std::fprintf(stderr, "grab: cannot write %s\n", png);
    return 1;
  }
  // The symbol buttons' pale golden background, and enough colours for text.
  const QRgb buttonColour = qRgb(238, 232, 170);
  QSet<QRgb> colours;
  long buttonPixels = 0;
  for (int y = 0; y < shot.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
    for (int x = 0; x < shot.width(); ++x) {
      colours.insert(line[x] & 0xffffff);
      if ((line[x] & 0xffffff) == (buttonColour & 0xffffff)) ++buttonPixels;
    }
  }
  std::printf("grab: %dx%d, %lld colours, %ld button pixels\n", shot.width(), shot.height(),
              static_cast<long long>(colours.size()), buttonPixels);
  return colours.size() >= 16 && buttonPixels >= 12 * 20 * 20 ? 0 : 1;
}

int printClipboard(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  std::printf("%s\n", QGuiApplication::clipboard()->text().toUtf8().constData());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "layout") == 0) return layout(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "grab") == 0) return grab(argc, argv, argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) return printClipboard(argc, argv);
  std::fprintf(stderr, "usage: screen_helper layout DIR | grab PNG | clipboard\n");
  return 2;
}
