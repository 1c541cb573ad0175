// Rewriting the main database of a connection under a new key (or plain).
#pragma once

#include <sqlite3.h>

#include <string>

namespace quorvi::codec::detail {

struct RekeyOutcome {
  int rc = SQLITE_OK;
  std::string message;  // why it failed; empty on success
};

// Rewrites every page of the main database of `db` under the key (plain for none) in one write
// transaction; on failure the database keeps its old key. The caller holds the connection mutex.
RekeyOutcome rekeyMain(sqlite3* db, const void* key, int count);

}  // namespace quorvi::codec::detail
