// Temporary files kept in memory: SQLite's temporary databases, statement journals, sorter and
// VACUUM files never reach the disk, so no plain copy of a keyed database's pages can leak there.
#pragma once

#include <sqlite3.h>

namespace quorvi::codec {

// Room an sqlite3_file needs to hold a memory file.
int memoryFileSize();

// Opens an empty memory file in `file` (at least memoryFileSize() bytes). SQLITE_OK or
// SQLITE_NOMEM; on failure file->pMethods stays null.
int openMemoryFile(sqlite3_file* file, int flags, int* outFlags);

}  // namespace quorvi::codec
