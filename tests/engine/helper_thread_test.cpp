#include "engine/helper_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using quorvi::engine::runBesideHelper;

// Both halves run, on two threads, and the call returns only when both are done; a second
// search that asks while the helper is taken works alone.
TEST(HelperThread, RunsBothHalvesAndIsLentToOneSearchAtATime) {
  std::atomic<int> supply{1000};
  std::atomic<int> mine{0}, theirs{0};
  std::thread::id helperId;
  bool nestedGotHelper = true;
  const auto take = [&supply](std::atomic<int>& done) {
    while (supply.fetch_sub(1) > 0) {
      ++done;
      std::this_thread::yield();
    }
  };
  ASSERT_TRUE(runBesideHelper(
      [&] {
        nestedGotHelper = runBesideHelper([] {}, [] {});
        take(mine);
      },
      [&] {
        helperId = std::this_thread::get_id();
        take(theirs);
      }));
  EXPECT_FALSE(nestedGotHelper);
  EXPECT_EQ(mine + theirs, 1000);
  // Given the helper did begin, it ran on a thread of its own.
  if (theirs > 0) {
    EXPECT_NE(helperId, std::this_thread::get_id());
  }
  // Lent again once returned; a failure on the helper's side reaches the caller.
  std::atomic<bool> begun{false};
  EXPECT_THROW(runBesideHelper(
                   [&begun] {
                     while (!begun) std::this_thread::yield();
                   },
                   [&begun] {
                     begun = true;
                     throw std::runtime_error("helper");
                   }),
               std::runtime_error);
  EXPECT_TRUE(runBesideHelper([] {}, [] {}));
}
