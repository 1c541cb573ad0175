#include "app/learner/learner_writer.h"

#include "learner/learner_store.h"

using quorvi::learner::LearnerStore;

LearnerWriter::LearnerWriter(std::filesystem::path file, QObject* parent)
    : QObject(parent), file_(std::move(file)) {
  qRegisterMetaType<LearnerStoreOpening>();
  thread_ = std::thread([this] { loop(); });
}

LearnerWriter::~LearnerWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void LearnerWriter::loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) break;  // stopping, every write done
    std::function<void()> task = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    task();
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
  lock.unlock();
  store_.reset();
}

void LearnerWriter::openStore() {
  if (openedOnce_) return;
  openedOnce_ = true;
  store_ = std::make_unique<LearnerStore>(file_);
  LearnerStoreOpening opening;
  opening.open = store_->isOpen();
  opening.readOnly = store_->isReadOnly();
  opening.problem = store_->problem();
  opening.error = store_->error();
  opening.file = file_;
  opening.setAside = store_->setAsideFile();
  opening.salvage = store_->salvage();
  QMetaObject::invokeMethod(
      this, [this, opening] { emit opened(opening); }, Qt::QueuedConnection);
}

void LearnerWriter::open() {
  enqueue([this] { openStore(); });
}

void LearnerWriter::enqueue(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  changed_.notify_all();
}

void LearnerWriter::deliver(const LearnerWriteOutcome& outcome, QPointer<QObject> context,
                            bool hasContext, const Done& done) {
  if (!done) return;
  // Run on the window's thread, where `context` may be looked at safely.
  QMetaObject::invokeMethod(
      this,
      [done, outcome, context, hasContext] {
        if (!hasContext || context != nullptr) done(outcome);
      },
      Qt::QueuedConnection);
}

void LearnerWriter::run(std::function<LearnerWriteOutcome()> task, QObject* context, Done done) {
  QPointer<QObject> target = context;
  const bool hasContext = context != nullptr;
  enqueue([this, task = std::move(task), target, hasContext, done = std::move(done)] {
    deliver(task(), target, hasContext, done);
  });
}

void LearnerWriter::write(Job job, QObject* context, Done done) {
  QPointer<QObject> target = context;
  const bool hasContext = context != nullptr;
  enqueue([this, job = std::move(job), target, hasContext, done = std::move(done)] {
    openStore();
    LearnerWriteOutcome outcome;
    if (!store_->isOpen() || store_->isReadOnly()) {
      outcome.error = store_->error();
      outcome.problem = store_->problem();
    } else {
      outcome.error = job(*store_);
      if (!outcome.error.empty()) outcome.problem = store_->problem();
    }
    deliver(outcome, target, hasContext, done);
  });
}

void LearnerWriter::waitUntilIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
}
