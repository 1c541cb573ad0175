// The search the window and quorvi-dict offer a learner, above the engine's searches: input
// as learners write it, closest matches first, near-sound matches after the exact ones, the
// spelling search ranked, and a reason for every empty list.
#pragma once

#include <QString>

#include "engine/search_outcome.h"
#include "engine/sound_rows.h"

class PhoneticDictionary;

class LearnerSearch {
 public:
  static constexpr qsizetype kTypingCap = 100;

  explicit LearnerSearch(PhoneticDictionary& dictionary) : dictionary_(dictionary) {}

  // Starts reading the rows of the search by sound on another thread (see
  // PhoneticDictionary::prepareSearchIndex); the first search by sound takes what is ready
  // and reads the rest itself.
  void prepareRows();

  // limitMode 0: at most kTypingCap headwords (the typing path); 1: every exact match, and
  // near-sound matches up to kTypingCap rows in all.
  SearchOutcome bySound(const QString& typed, int limitMode);
  // The pattern as the REGEXP module reads it: UTF-8 bytes, passed on unchanged.
  SearchOutcome bySpelling(const std::string& utf8Pattern, int limitMode);

 private:
  bool rowsReady();
  SearchOutcome soundFromRows(const std::u16string& symbols, int limitMode);
  SearchOutcome soundFromStatement(const std::u16string& symbols, int limitMode);

  PhoneticDictionary& dictionary_;
  SoundRows rows_;
  bool rowsFailed_ = false;
};
