// What a learner's search hands to the window and to quorvi-dict: the headwords to list, in
// order, which are near-sound ones, and why the list is empty when it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

#include "engine/headword_list.h"

enum class EmptyListReason {
  None,            // the list holds words
  NothingTyped,    // the input is blank
  UnreadableText,  // `position` and `character` say where the reading stopped
  BadPattern,      // the REGEXP module rejected the spelling pattern: `message`
  NoDictionary,    // no dictionary could be opened in `folder`
  QueryFailed,     // the SQL engine stopped: `message`
  NoMatch,         // the dictionary holds no word with these sounds (or this spelling)
};

struct SearchOutcome {
  HeadwordList words;
  qsizetype nearSoundFrom = 0;  // words from this index on are near-sound matches
  // Per word, when filled: 1 for a near-sound match (one that took a slip), wherever it is
  // ranked; the rows before nearSoundFrom may hold some.
  std::vector<std::uint8_t> nearSound;
  EmptyListReason reason = EmptyListReason::None;
  int position = 0;
  char32_t character = 0;
  std::string message;
  QString folder;
  bool dictionaryFileExists = false;  // with NoDictionary: there is a file, unreadable

  bool isNearSound(qsizetype index) const {
    return index >= nearSoundFrom ||
           (index >= 0 && static_cast<std::size_t>(index) < nearSound.size() &&
            nearSound[static_cast<std::size_t>(index)] != 0);
  }
};

// The reason for an engine whose dictionary is not open: where it looked.
SearchOutcome dictionaryNotOpen();
// The reason after a query that stopped on `error` (the engine's lastError()).
SearchOutcome queryStopped(const std::string& error);
