// Runs the window's searches by spelling on a thread of its own, so that a keystroke never
// waits for one. One search at a time: a newer search supersedes an older one, which stops at
// its next look at the stop flag (or never starts) and hands back nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <QObject>

#include "engine/row_store.h"
#include "engine/search_outcome.h"

class SpellingSearchWorker : public QObject {
  Q_OBJECT

 public:
  // Called on the worker's own (the window's) thread, once per search: the outcome, or nothing
  // for a superseded search.
  using Done = std::function<void(std::optional<SearchOutcome>)>;

  explicit SpellingSearchWorker(QObject* parent = nullptr);
  // Stops the running search and waits for the thread; no `done` is called after.
  ~SpellingSearchWorker() override;

  // Searches `rows` for `utf8Pattern`, at most `limit` headwords (-1: all).
  void start(std::shared_ptr<const quorvi::engine::RowStore> rows, std::string utf8Pattern,
             qsizetype limit, Done done);

 private:
  struct Job {
    std::shared_ptr<const quorvi::engine::RowStore> rows;
    std::string pattern;
    qsizetype limit = -1;
    Done done;
  };

  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> pending_;
  bool quit_ = false;
  std::atomic<bool> stopRunning_{false};
  std::thread thread_;
};
