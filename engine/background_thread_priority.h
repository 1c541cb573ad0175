// Work started while the window appears (reading the search rows ahead, setting speech up)
// runs behind the window's thread: its own steps come first.
#pragma once

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

// Lowers the calling thread's priority below the window's (Linux: a nice value of 10 for this
// thread alone). Elsewhere it does nothing.
inline void runBehindTheWindowsThread() {
#ifdef __linux__
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
}
