// The process-wide symbol table while engines are constructed on some threads and searches run
// on others. This test is built with ThreadSanitizer (tests/engine/CMakeLists.txt), which fails
// it on any unordered write and read of the table: the table is filled once, by whichever comes
// first, and only read from then on.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/learner_input.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "tests/engine/test_dictionary.h"

namespace {

TEST(SymbolTableRace, EnginesConstructedWhileOthersSearch) {
  quorvi::testing::TemporaryFolder folder;
  ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(folder.path(), quorvi::testing::sampleRows()), "");
  quorvi::testing::WorkingDirectory cwd(folder.path());

  // Nothing has read the table yet: the first engines and the first searches start together.
  std::atomic<int> waiting{4};
  std::atomic<int> wrongAnswers{0};
  const auto startTogether = [&waiting] {
    waiting.fetch_sub(1);
    while (waiting.load() > 0) std::this_thread::yield();
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&] {
      startTogether();
      for (int i = 0; i < 8; ++i) {
        PhoneticDictionary engine;
        LearnerSearch search(engine);
        const SearchOutcome outcome = search.bySound(u"k\u00E6t", 0);
        if (outcome.words.isEmpty() || outcome.words.first() != "cat") wrongAnswers.fetch_add(1);
      }
    });
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&] {
      startTogether();
      for (int i = 0; i < 200; ++i) {
        const bool read =
            PhoneticDictionary::checkPhonetic(u"igz\u0251:mpl") &&
            PhoneticDictionary::buildPhoneticPattern(u"k\u00E6t") == "k.*&#230;.*t.*" &&
            readLearnerInput(u"/\u0283\u026Ap/").symbols == u"\u0283ip";
        if (!read) wrongAnswers.fetch_add(1);
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrongAnswers.load(), 0);
  EXPECT_EQ(PhoneticDictionary::symbolMap().size(), 58u);
}

}  // namespace
