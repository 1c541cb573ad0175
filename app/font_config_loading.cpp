#include "font_config_loading.h"

#include <dlfcn.h>

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
