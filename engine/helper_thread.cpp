#include "engine/helper_thread.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace quorvi::engine {
namespace {

class HelperThread {
 public:
  bool run(const std::function<void()>& mine, const std::function<void()>& theirs) {
    std::unique_lock<std::mutex> taken(taken_, std::try_to_lock);
    if (!taken.owns_lock() || !started()) return false;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      job_ = &theirs;
      begun_ = false;
      done_ = false;
      failure_ = nullptr;
    }
    wake_.notify_one();
    std::exception_ptr mineFailed;
    try {
      mine();
    } catch (...) {
      mineFailed = std::current_exception();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (job_ != nullptr && !begun_) {
      job_ = nullptr;  // not begun: the caller did it all
      done_ = true;
    }
    finished_.wait(lock, [this] { return done_; });
    if (mineFailed) std::rethrow_exception(mineFailed);
    if (failure_) std::rethrow_exception(failure_);
    return true;
  }

 private:
  bool started() {
    if (started_) return true;
    try {
      std::thread([this] { loop(); }).detach();
    } catch (const std::system_error&) {
      return false;
    }
    started_ = true;
    return true;
  }

  void loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return job_ != nullptr; });
      const std::function<void()>* job = job_;
      begun_ = true;
      lock.unlock();
      std::exception_ptr failed;
      try {
        (*job)();
      } catch (...) {
        failed = std::current_exception();
      }
      lock.lock();
      job_ = nullptr;
      failure_ = failed;
      done_ = true;
      finished_.notify_one();
    }
  }

  std::mutex taken_;  // held by the search that has the helper
  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  const std::function<void()>* job_ = nullptr;
  bool begun_ = false;
  bool done_ = true;
  std::exception_ptr failure_;
  bool started_ = false;
};

}  // namespace

bool runBesideHelper(const std::function<void()>& mine, const std::function<void()>& theirs) {
  // Never destroyed: the thread waits for work until the process ends (a child forked from
  // the process has no such thread, and its caller then does all the work, as when the
  // helper is slow to begin).
  static HelperThread* const helper = new HelperThread;
  return helper->run(mine, theirs);
}

}  // namespace quorvi::engine
