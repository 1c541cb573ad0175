// The search the window and quorvi-dict offer a learner, above the engine's searches: input
// as learners write it, the closest rows first by one score (engine/closest_match.h) with the
// rows that took a slip marked, the spelling search ranked, and a reason for every empty list.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "engine/search_outcome.h"
#include "engine/sound_rows.h"

class PhoneticDictionary;
struct LearnerInput;

class LearnerSearch {
 public:
  static constexpr qsizetype kTypingCap = 100;

  explicit LearnerSearch(PhoneticDictionary& dictionary);
  ~LearnerSearch();

  // Starts reading the rows of the search by sound on another thread (see
  // PhoneticDictionary::prepareSearchIndex); the first search by sound takes what is ready
  // and reads the rest itself.
  void prepareRows();

  // limitMode 0: the best kTypingCap headwords (the typing path); 1: every headword listed,
  // in the same order.
  SearchOutcome bySound(const QString& typed, int limitMode);
  // The pattern as the REGEXP module reads it: UTF-8 bytes, passed on unchanged. Matched over
  // the headwords in memory (engine/spelling_rows.h) when they can be had, otherwise by the
  // engine's statements, ranked alike.
  SearchOutcome bySpelling(const std::string& utf8Pattern, int limitMode);
  // The rows a spelling search matches in memory, read on first use (waiting for the rows
  // read ahead); null when they cannot be had. Another thread may search them.
  std::shared_ptr<const PhoneticIndex> spellingRows();

 private:
  // The rows in memory both searches read, read on first use; null when they cannot be had.
  std::shared_ptr<const PhoneticIndex> rows();
  SearchOutcome soundFromRows(const LearnerInput& input, int limitMode);
  // A capped search from the rows stored by sound count, while the whole rows are not in
  // memory: nothing when it would read more than a quarter of them, or the groups cannot be
  // read (from then on the whole rows answer).
  std::optional<SearchOutcome> soundFromGroups(const LearnerInput& input);
  SearchOutcome soundFromStatement(const std::u16string& symbols, int limitMode);
  SearchOutcome spellingFromStatements(const std::string& utf8Pattern, int limitMode);

  PhoneticDictionary& dictionary_;
  std::shared_ptr<const PhoneticIndex> rows_;
  bool rowsFailed_ = false;
  bool groupsFailed_ = false;
};
