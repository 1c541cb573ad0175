#include "app/startup/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <dlfcn.h>

bool ensureMenschFont(const QString& folder) {
  const QStringList families = QFontDatabase::families();
  for (const QString& family : families) {
    if (family == QLatin1String("Mensch")) {
      return false;
    }
  }
  // A missing or unreadable file is not reported: the widgets still ask for
  // "Mensch" and get the toolkit's fallback.
  QFontDatabase::addApplicationFont(folder + QStringLiteral("/font/mensch.ttf"));
  return true;
}

FontConfigLoading::FontConfigLoading() {
  // int FcInit(void): loads the default configuration once per process; safe on any thread.
  using Init = int (*)();
  if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"))) {
    thread_ = std::thread(init);
  }
}

FontConfigLoading::~FontConfigLoading() {
  wait();
}

void FontConfigLoading::wait() {
  if (thread_.joinable()) thread_.join();
}
