#pragma once

#include <thread>

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
