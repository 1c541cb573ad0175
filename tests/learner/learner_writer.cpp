// Test helper: writes to a learner database as the window would, printing each word once its
// transaction is committed.
//   learner_writer FILE PREFIX COUNT   adds PREFIX0.. (COUNT 0: until killed) and records
//                                      "shared" as opened after each
// When it set a damaged file aside, its first line is
//   salvaged WORDS HISTORY DRILL LOST
#include <cstdio>
#include <cstdlib>
#include <string>

#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  quorvi::learner::LearnerStore store(argv[1]);
  if (!store.isOpen()) {
    std::fprintf(stderr, "%s\n", store.error().c_str());
    return 1;
  }
  if (!store.setAsideFile().empty()) {
    const quorvi::learner::SalvageReport& saved = store.salvage();
    std::printf("salvaged %lld %lld %lld %lld\n", saved.words, saved.history, saved.drill, saved.lost);
  }
  const long count = std::atol(argv[3]);
  for (long i = 0; count == 0 || i < count; ++i) {
    const std::string word = argv[2] + std::to_string(i);
    std::string error = quorvi::learner::addWord(store, word);
    if (error.empty()) error = quorvi::learner::recordOpened(store, "shared");
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    std::printf("%s\n", word.c_str());
    std::fflush(stdout);
  }
  return 0;
}
