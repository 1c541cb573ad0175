#include "engine/rows_read_ahead.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include "engine/background_thread_priority.h"

namespace quorvi::engine {

void RowsReadAhead::start(std::shared_ptr<const RowStore> store) {
  if (thread_.joinable() || store == nullptr) return;
  thread_ = std::thread([this, store = std::move(store)] {
    runBehindTheWindowsThread();
    store->readAll(&stop_, true);
#ifdef __GLIBC__
    // The blobs the groups were parsed from are freed: hand their pages back.
    malloc_trim(0);
#endif
  });
}

void RowsReadAhead::stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  thread_.join();
}

}  // namespace quorvi::engine
