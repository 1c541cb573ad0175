#include "codec/connection_error.h"

namespace quorvi::codec::detail {
namespace {

constexpr const char kRaiseSql[] = "SELECT quorvi_codec_error(?1, ?2)";

// quorvi_codec_error(code, message): fails with that result code and message.
void raiseError(sqlite3_context* context, int, sqlite3_value** argv) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
  sqlite3_result_error(context, text != nullptr ? text : "", -1);
  sqlite3_result_error_code(context, sqlite3_value_int(argv[0]));
}

sqlite3_stmt* prepareRaise(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, kRaiseSql, -1, &stmt, nullptr) == SQLITE_OK) return stmt;
  // First use on this connection: the function is registered once and stays.
  sqlite3_create_function(db, "quorvi_codec_error", 2, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr,
                          raiseError, nullptr, nullptr);
  if (sqlite3_prepare_v2(db, kRaiseSql, -1, &stmt, nullptr) == SQLITE_OK) return stmt;
  return nullptr;
}

}  // namespace

int reportError(sqlite3* db, int rc, const char* message) {
  if (db == nullptr || rc == SQLITE_OK) return rc;
  if (sqlite3_stmt* stmt = prepareRaise(db)) {
    sqlite3_bind_int(stmt, 1, rc);
    sqlite3_bind_text(stmt, 2, message, -1, SQLITE_TRANSIENT);
    sqlite3_step(stmt);
    sqlite3_finalize(stmt);
  }
  return rc;
}

}  // namespace quorvi::codec::detail
