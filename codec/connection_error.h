// Leaving an error on a connection from outside SQLite, so that sqlite3_errcode and
// sqlite3_errmsg tell a caller of the key operations what went wrong.
#pragma once

#include <sqlite3.h>

namespace quorvi::codec::detail {

// Sets the connection's error to `rc` with `message`, as a failed statement would, and returns rc.
int reportError(sqlite3* db, int rc, const char* message);

}  // namespace quorvi::codec::detail
