#include "app/results/spelling_search_worker.h"

#include <QMetaObject>

#include "engine/spelling_rows.h"

SpellingSearchWorker::SpellingSearchWorker(QObject* parent)
    : QObject(parent), thread_([this] { run(); }) {}

SpellingSearchWorker::~SpellingSearchWorker() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    pending_.reset();
    stopRunning_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void SpellingSearchWorker::start(std::shared_ptr<const quorvi::engine::RowStore> rows,
                                 std::string utf8Pattern, qsizetype limit, Done done) {
  std::optional<Job> superseded;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    superseded = std::move(pending_);
    pending_ = Job{std::move(rows), std::move(utf8Pattern), limit, std::move(done)};
    stopRunning_ = true;
  }
  wake_.notify_one();
  // A search that never started ends here.
  if (superseded && superseded->done) superseded->done(std::nullopt);
}

void SpellingSearchWorker::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || pending_.has_value(); });
      if (quit_) return;
      job = std::move(*pending_);
      pending_.reset();
      stopRunning_ = false;
    }
    std::optional<SearchOutcome> outcome = quorvi::engine::searchSpellingRows(
        std::move(job.rows), job.pattern, job.limit, &stopRunning_);
    // Delivered through this object's thread's event loop; dropped with the object.
    QMetaObject::invokeMethod(
        this,
        [done = std::move(job.done), outcome = std::move(outcome)]() mutable {
          done(std::move(outcome));
        },
        Qt::QueuedConnection);
  }
}
