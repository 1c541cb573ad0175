// Stands in for a module someone left in a folder the program is started from: being loaded
// at all leaves the file "planted-module-ran" in the working directory.
#include <fcntl.h>
#include <unistd.h>

namespace {

__attribute__((constructor)) void leaveMarker() {
  const int file = ::open("planted-module-ran", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file >= 0) ::close(file);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(void*, char**,
                                                                             const void*) {
  leaveMarker();
  return 0;
}
