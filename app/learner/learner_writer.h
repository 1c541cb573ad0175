#pragma once

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "learner/file_problem.h"
#include "learner/store_recovery.h"

namespace quorvi::learner {
class LearnerStore;
}

// How the learner's store opened: what the window tells the learner once.
struct LearnerStoreOpening {
  bool open = false;
  bool readOnly = false;
  quorvi::learner::FileProblem problem = quorvi::learner::FileProblem::kNone;
  std::string error;  // English, for the log
  std::filesystem::path file;
  std::filesystem::path setAside;  // a damaged file kept here (empty: none)
  quorvi::learner::SalvageReport salvage;
};

// What one write did.
struct LearnerWriteOutcome {
  std::string error;  // empty when it was saved
  quorvi::learner::FileProblem problem = quorvi::learner::FileProblem::kNone;
};

// The window's writes to the learner's store, on a thread of their own, one after another in
// the order given: the window never waits for the disk or for another program's lock. The
// store is opened there (which may set a damaged file aside and copy what it can of it) on
// the first write, or when open() asks.
class LearnerWriter : public QObject {
  Q_OBJECT

 public:
  using Job = std::function<std::string(quorvi::learner::LearnerStore&)>;
  using Done = std::function<void(const LearnerWriteOutcome&)>;

  LearnerWriter(std::filesystem::path file, QObject* parent);
  // Finishes the writes already given, then stops.
  ~LearnerWriter() override;

  // Opens the store on the thread now; opened() tells how it went (once).
  void open();
  // Runs `job` with the store on the thread; `done` (may be empty) then runs on the window's
  // thread, unless `context` is gone by then.
  void write(Job job, QObject* context = nullptr, Done done = {});
  // Runs `task` on the thread, in turn with the writes, without the store (a file written for
  // the learner); `done` as for write().
  void run(std::function<LearnerWriteOutcome()> task, QObject* context, Done done);
  // Waits until every write given so far is done (tests, and leaving).
  void waitUntilIdle();

 signals:
  void opened(const LearnerStoreOpening& opening);

 private:
  void loop();
  void openStore();
  void enqueue(std::function<void()> task);
  // Hands `outcome` to `done` on the window's thread, while `context` lives.
  void deliver(const LearnerWriteOutcome& outcome, QPointer<QObject> context, bool hasContext,
               const Done& done);

  std::filesystem::path file_;
  std::unique_ptr<quorvi::learner::LearnerStore> store_;
  bool openedOnce_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

Q_DECLARE_METATYPE(LearnerStoreOpening)
