#include "variant_check.h"

#include <sqlite3.h>

#include <set>
#include <string>

namespace quorvi::dictbuild {
namespace {

const char kRowsOfSharedHeadwords[] =
    "SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption IN "
    "(SELECT w_caption FROM dict_word GROUP BY w_caption HAVING count(*) > 1) ORDER BY w_caption";

std::string column(sqlite3_stmt* st, int i) {
  const unsigned char* text = sqlite3_column_text(st, i);
  return text ? reinterpret_cast<const char*>(text) : "";
}

void report(std::ostream& out, long long count, const std::string& what) {
  if (count <= 10) out << what << "\n";
}

}  // namespace

VariantCheck checkVariantRows(sqlite3* db, std::ostream& out) {
  VariantCheck check;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, kRowsOfSharedHeadwords, -1, &st, nullptr) != SQLITE_OK) {
    out << "pronunciation rows: cannot be read: " << sqlite3_errmsg(db) << "\n";
    return check;
  }
  std::string current;
  std::set<std::string> seen;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const std::string caption = column(st, 0), phonetic = column(st, 1);
    if (caption != current || check.headwords == 0) {
      ++check.headwords;
      current = caption;
      seen.clear();
    }
    ++check.rows;
    if (!seen.insert(phonetic).second)
      report(out, ++check.repeated,
             "pronunciation given twice: " + caption + " [" + phonetic + "]");
    if (column(st, 2).empty())
      report(out, ++check.unexplained,
             "pronunciation row without explanation: " + caption + " [" + phonetic + "]");
  }
  sqlite3_finalize(st);
  check.readable = rc == SQLITE_DONE;
  out << "headwords with several pronunciations: " << check.headwords << " (" << check.rows
      << " rows)";
  if (check.repeated || check.unexplained)
    out << ", " << check.repeated << " repeated, " << check.unexplained << " without explanation";
  out << "\n";
  return check;
}

}  // namespace quorvi::dictbuild
