#pragma once
// Stores the rows of the learner's searches grouped by sound count (engine/sound_count_groups.h)
// in the dictionary being written, so that the engine reads the few groups a search needs
// instead of every row of the table.
#include <string>

struct sqlite3;

namespace quorvi::dictbuild {

// Writes the table dict_search_index from the rows of dict_word as the engine's search reads
// them, and triggers on `rowTable` (the table behind dict_word) and on dict_american, where the
// American transcriptions are a table of their own, that drop it when a row is added, removed
// or changed later, so that the engine then reads the rows themselves.
// Runs inside the writer's transaction. False with `error` set when it cannot.
bool writeSearchIndex(sqlite3* db, const char* rowTable, std::string& error);

enum class StoredSearchRows {
  Absent,      // the engine makes them from the table's rows
  Matching,    // exactly what writeSearchIndex would write from the rows now
  Differing,   // damaged, or written from other rows or by another version
  Unreadable,  // the rows themselves cannot be read
};

// Compares the stored search rows of `db` with those its rows make.
StoredSearchRows checkSearchIndex(sqlite3* db);
const char* describe(StoredSearchRows state);

}  // namespace quorvi::dictbuild
