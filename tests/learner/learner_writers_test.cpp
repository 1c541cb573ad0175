// Two programs writing at once, and one killed in the middle of its writes.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

namespace fs = std::filesystem;
using namespace quorvi::learner;
using quorvi::testing::ChildRun;
using quorvi::testing::runChild;

namespace {

std::set<std::string> savedSet(LearnerStore& store) {
  std::string error;
  std::set<std::string> words;
  for (const SavedWord& saved : savedWords(store, error)) words.insert(saved.word);
  EXPECT_EQ(error, "");
  return words;
}

long long sharedCount(LearnerStore& store) {
  std::string error;
  for (const HistoryItem& item : history(store, 0, error))
    if (item.word == "shared") return item.count;
  return 0;
}

TEST(LearnerWriters, TwoProcessesWritingAtOnceLoseNothing) {
  quorvi::testing::TemporaryFolder folder;
  const std::string file = folder.file("quorvi/learner.db");
  ChildRun first, second;
  std::thread a([&] {
    first = runChild(QUORVI_LEARNER_WRITER, {file, "a", "150"}, folder.path());
  });
  std::thread b([&] {
    second = runChild(QUORVI_LEARNER_WRITER, {file, "b", "150"}, folder.path());
  });
  a.join();
  b.join();
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(second.exitCode, 0) << second.err;

  LearnerStore store(file);
  ASSERT_TRUE(store.isOpen()) << store.error();
  const std::set<std::string> words = savedSet(store);
  EXPECT_EQ(words.size(), 300u);
  EXPECT_TRUE(words.contains("a149") && words.contains("b149") && words.contains("a0"));
  // Every count went through: none read a stale count and wrote it back.
  EXPECT_EQ(sharedCount(store), 300);
}

// A program that writes all the time must not keep the other waiting until it gives up: the
// waiting one looks for the lock often enough to get its turn. (SQLite's own busy timeout
// sleeps up to 100 ms at a time and lost that race now and then.)
TEST(LearnerWriters, AWriterBesideABusyOneGetsItsTurn) {
  quorvi::testing::TemporaryFolder folder;
  const std::string file = folder.file("quorvi/learner.db");
  ASSERT_EQ(runChild(QUORVI_LEARNER_WRITER, {file, "seed", "1"}, folder.path()).exitCode, 0);
  ChildRun busy;
  std::thread a([&] {
    busy =
        runChild(QUORVI_LEARNER_WRITER, {file, "a", "0"}, folder.path(), std::chrono::seconds(4));
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const ChildRun second = runChild(QUORVI_LEARNER_WRITER, {file, "b", "300"}, folder.path());
  a.join();
  EXPECT_TRUE(busy.timedOut) << busy.err;
  EXPECT_EQ(second.exitCode, 0) << second.err;
}

TEST(LearnerWriters, KilledWriterLeavesEveryCommittedWord) {
  quorvi::testing::TemporaryFolder folder;
  const std::string file = folder.file("quorvi/learner.db");
  // Writes until the deadline kills it (SIGKILL), somewhere in a transaction. Each word waits
  // for the disk, which a loaded machine makes slow: the deadline leaves room for a few.
  const ChildRun run =
      runChild(QUORVI_LEARNER_WRITER, {file, "w", "0"}, folder.path(), std::chrono::seconds(2));
  ASSERT_TRUE(run.timedOut) << run.err;
  std::istringstream printed(run.out);
  std::set<std::string> committed;
  for (std::string word; std::getline(printed, word);) committed.insert(word);
  ASSERT_FALSE(committed.empty());

  LearnerStore store(file);
  ASSERT_TRUE(store.isOpen()) << store.error();
  EXPECT_EQ(store.notice(), "");
  const std::set<std::string> words = savedSet(store);
  for (const std::string& word : committed) EXPECT_TRUE(words.contains(word)) << word;
  // At most the word whose history was not yet written when it died.
  EXPECT_LE(words.size(), committed.size() + 1);
  EXPECT_GE(sharedCount(store), static_cast<long long>(committed.size()));
  EXPECT_EQ(addWord(store, "after"), "");
}

}  // namespace
