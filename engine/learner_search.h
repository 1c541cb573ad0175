// The search the window and quorvi-dict offer a learner, above the engine's searches: input
// as learners write it, the closest rows first by one score (engine/closest_match.h) with the
// rows that took a slip marked, the spelling search ranked, and a reason for every empty list.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/row_store.h"
#include "engine/rows_read_ahead.h"
#include "engine/search_outcome.h"

class DictionaryEngine;
struct LearnerInput;

class LearnerSearch {
 public:
  static constexpr HeadwordList::Index kTypingCap = 100;

  // `dictionary` must outlive the search.
  explicit LearnerSearch(DictionaryEngine& dictionary);
  // Stops the read-ahead, and the store's reading from the dictionary.
  ~LearnerSearch();

  // Starts the read-ahead (engine/rows_read_ahead.h): every group of the store read on a
  // thread behind the window's. A search meanwhile reads what it needs and finds unread itself.
  void prepareRows();

  // limitMode 0: the best kTypingCap headwords (the typing path); 1: every headword listed,
  // in the same order.
  SearchOutcome bySound(const std::u16string& typed, int limitMode);
  // The pattern as the REGEXP module reads it: UTF-8 bytes, passed on unchanged. Matched over
  // the headwords in memory (engine/spelling_rows.h) when they can be had, otherwise by the
  // engine's statements, ranked alike.
  SearchOutcome bySpelling(const std::string& utf8Pattern, int limitMode);
  // The store complete, as a spelling search matches it: what is unread is read here (with the
  // read-ahead, if it runs); null when it cannot be had. Another thread may search it.
  std::shared_ptr<const quorvi::engine::RowStore> spellingRows();

 private:
  // The store, its directory read on first use; null when the dictionary stores no rows that
  // can be read, or one of its groups turned out damaged (the statements answer instead).
  std::shared_ptr<const quorvi::engine::RowStore> store();
  SearchOutcome soundFromStatement(const std::u16string& symbols, int limitMode);
  SearchOutcome spellingFromStatements(const std::string& utf8Pattern, int limitMode);

  DictionaryEngine& dictionary_;
  std::shared_ptr<const quorvi::engine::RowStore> store_;
  bool storeOpened_ = false;
  quorvi::engine::RowsReadAhead readAhead_;
};
