#include "verify_chinese.h"

#include <string>

#include "chinese_line.h"
#include "ecdict_source.h"

namespace quorvi::dictbuild {

bool verifyChineseLines(sqlite3* db, std::ostream& out) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT w_caption, w_explain FROM dict_word", -1, &st, nullptr) !=
      SQLITE_OK) {
    out << "verify: cannot read the explanations: " << sqlite3_errmsg(db) << "\n";
    return false;
  }
  size_t lines = 0, malformed = 0, levels = 0, badLevels = 0;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const auto* caption = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    const auto* explain = reinterpret_cast<const char*>(sqlite3_column_blob(st, 1));
    const std::string_view text(explain ? explain : "",
                                static_cast<size_t>(sqlite3_column_bytes(st, 1)));
    for (size_t start = 0; start <= text.size();) {
      size_t end = text.find("<br/>", start);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view line = text.substr(start, end - start);
      start = end + 5;
      if (!looksLikeLearnerLevels(line)) continue;
      ++levels;
      if (!isLearnerLevelsLine(line) && badLevels++ < 10)
        out << "malformed learner levels: " << (caption ? caption : "(null)") << ": " << line
            << "\n";
    }
    if (!opensWithChineseLine(text)) continue;
    ++lines;
    std::string why;
    if (!checkChineseLine(text, why) && malformed++ < 10)
      out << "malformed Chinese line (" << why << "): " << (caption ? caption : "(null)") << "\n";
  }
  sqlite3_finalize(st);
  out << "entries with Chinese equivalents: " << lines
      << (malformed ? ", MALFORMED: " + std::to_string(malformed) : "") << "\n";
  out << "learner levels: " << levels
      << (badLevels ? ", MALFORMED: " + std::to_string(badLevels) : "") << "\n";
  if (rc != SQLITE_DONE)
    out << "verify: reading explanations stopped: " << sqlite3_errmsg(db) << "\n";
  return rc == SQLITE_DONE && malformed == 0 && badLevels == 0;
}

}  // namespace quorvi::dictbuild
