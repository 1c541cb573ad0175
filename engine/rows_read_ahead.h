// The read-ahead: a thread behind the window's that reads every group of the store of rows
// (engine/row_store.h) while the window appears, so that the first keystrokes find them in
// memory. A search never waits for it: it reads a group the thread has not reached yet itself
// (or waits for the one group the thread is reading).
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "engine/row_store.h"

namespace quorvi::engine {

class RowsReadAhead {
 public:
  RowsReadAhead() = default;
  ~RowsReadAhead() { stop(); }
  RowsReadAhead(const RowsReadAhead&) = delete;
  RowsReadAhead& operator=(const RowsReadAhead&) = delete;

  // Starts reading `store` whole, once; a later call does nothing.
  void start(std::shared_ptr<const RowStore> store);
  // Ends the reading at the next group and waits for the thread.
  void stop();

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

}  // namespace quorvi::engine
