// The listening drill's data: a box per word (Leitner's flash-card boxes, 1..5), counted in
// questions rather than days, so a word answered wrongly comes back within a few questions and
// one answered right several times only now and then; the sounds the learner heard as others.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quorvi::learner {

class LearnerStore;

inline constexpr int kDrillBoxes = 5;

// How many questions after an answer a word of `box` is due again (box 1: soon).
long long questionsUntilDue(int box);

struct DrillScore {
  std::string word;
  int box = 1;
  long long dueAfter = 0;  // the question count from which it is due again
  long long right = 0;
  long long wrong = 0;
  long long lastAsked = 0;  // seconds since 1970, UTC
  long long asked() const { return right + wrong; }
};

// A sound of the word (`stored`, UTF-8 symbols) that the learner heard as `heard`.
struct Confusion {
  std::string stored;
  std::string heard;
  long long count = 0;
};

// Records one answer in one transaction: the question count goes up by one, a right answer
// moves the word up a box (at most kDrillBoxes), a wrong one back to box 1, and each confusion
// counts once more. `after` receives the word's score as written. Returns an empty string, or
// the error (then nothing of the answer is kept).
std::string recordAnswer(LearnerStore& store, const std::string& word, bool right,
                         const std::vector<Confusion>& heard, long long when = 0,
                         DrillScore* after = nullptr);

// The questions answered so far.
long long questionsAsked(LearnerStore& store);

std::optional<DrillScore> drillScore(LearnerStore& store, const std::string& word);
// Every word drilled, by word. Empty on error, with `error` set.
std::map<std::string, DrillScore> drillScores(LearnerStore& store, std::string& error);

// The commonest confusions, most counted first (then by sound), at most `limit`.
std::vector<Confusion> commonConfusions(LearnerStore& store, std::size_t limit, std::string& error);

// The next word to ask from `source` (its words in the source's order): the most overdue word
// drilled before (then the lower box, then the source's order); when none is due, a word never
// drilled, drawn with `random`; when every word was drilled and none is due, the one due
// soonest. `previous` is not asked twice in a row while the source has another word. Empty
// when the source is empty or on error (`error` set).
std::string nextDrillWord(LearnerStore& store, const std::vector<std::string>& source,
                          std::mt19937& random, const std::string& previous, std::string& error);

}  // namespace quorvi::learner
