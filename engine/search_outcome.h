// What a learner's search hands to the window and to quorvi-dict: the headwords to list, in
// order, which are near-sound ones, and why the list is empty when it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// What stands at a dictionary's path, as far as the file system tells before it is read.
enum class DictionaryFileState {
  Present,   // a regular file this process may read (its contents may still be no dictionary)
  Missing,   // nothing there
  LinkLoop,  // symbolic links that lead back to themselves
  NoAccess,  // the file, or a folder on the way to it, may not be read
  NotAFile,  // a folder, device or FIFO
};
DictionaryFileState inspectDictionaryFile(const std::string& path);

struct SearchOutcome {
  HeadwordList words;
  HeadwordList::Index nearSoundFrom = 0;  // words from this index on are near-sound matches
  // Per word, when filled: 1 for a near-sound match (one that took a slip), wherever it is
  // ranked; the rows before nearSoundFrom may hold some.
  std::vector<std::uint8_t> nearSound;
  EmptyListReason reason = EmptyListReason::None;
  int position = 0;
  char32_t character = 0;
  std::string message;
  std::string folder;  // with NoDictionary: where it looked (the dictionary's folder)
  bool dictionaryFileExists = false;  // with NoDictionary: something is there, unreadable
  DictionaryFileState dictionaryFile = DictionaryFileState::Missing;  // with NoDictionary
  // The list is not the ranked one: the search rows could not be read, so the plain search
  // answered instead, in the table's order and without near-sound matches.
  bool incomplete = false;

  bool isNearSound(HeadwordList::Index index) const {
    return index >= nearSoundFrom ||
           (index >= 0 && static_cast<std::size_t>(index) < nearSound.size() &&
            nearSound[static_cast<std::size_t>(index)] != 0);
  }
};

// The reason for an engine whose dictionary is not open: where it looked.
SearchOutcome dictionaryNotOpen();
// The reason after a query that stopped on `error` (the engine's lastError()).
SearchOutcome queryStopped(const std::string& error);
