#pragma once

#include <QString>

#include <thread>

// The fonts at start-up: fontconfig read on a thread while the toolkit starts, and the
// window's own family.

// Makes sure the window's font family "Mensch" is available: when no installed
// family is named exactly "Mensch", registers `folder`/font/mensch.ttf (by default
// relative to the working directory). Returns true when it asked for the file to be
// registered, false when the family was already there.
bool ensureMenschFont(const QString& folder = QStringLiteral("."));

// fontconfig reads its configuration files and checks its font caches the first time it is
// used: about 5 ms here, more on a desktop with many fonts, all of it inside the first call
// to the font database on the window's thread. Made before the application object, this
// starts that reading on a thread of its own, so that it runs while the toolkit starts.
// wait() before the font database is first used; the destructor waits too. fontconfig is
// found among the libraries already loaded (the toolkit's GUI module uses it); where it is
// not, nothing is started.
class FontConfigLoading {
 public:
  FontConfigLoading();
  ~FontConfigLoading();
  FontConfigLoading(const FontConfigLoading&) = delete;
  FontConfigLoading& operator=(const FontConfigLoading&) = delete;

  void wait();

 private:
  std::thread thread_;
};
