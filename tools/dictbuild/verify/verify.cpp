#include "verify.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <unordered_set>

#include "ascii_case.h"
#include "dict_store.h"
#include "phonetic_notation.h"
#include "verify_labels.h"
#include "verify_chinese.h"
#include "variant_check.h"
#include "spoken_coverage.h"
#include "search_index_writer.h"

namespace quorvi::dictbuild {
namespace {

void reportSpokenCoverage(const std::unordered_set<std::string>& headwords,
                          const std::string& listPath, std::ostream& out) {
  SpokenFrequencies spoken;
  std::string error;
  if (!loadSpokenFrequencies(listPath, spoken, error)) {
    out << "spoken coverage: not measured (" << error << ")\n";
    return;
  }
  const auto isHeadword = [&](const std::string& w) { return headwords.count(w) != 0; };
  for (const SpokenCoverage& c : measureSpokenCoverage(spoken, isHeadword, {5000, 20000}))
    printSpokenCoverage(c, out);
}

}  // namespace

VerifyReport verifyDictionary(const std::string& path, std::ostream& out,
                              const std::string& spokenListPath) {
  VerifyReport report;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    out << "verify: " << path << " does not exist\n";
    return report;
  }
  std::string error;
  sqlite3* db = openKeyedDatabase(path, false, error);
  if (!db) {
    out << "verify: " << error << "\n";
    return report;
  }
  bool ok = true;
  sqlite3_stmt* st = nullptr;

  // integrity_check also proves the passphrase: a wrong key cannot read the schema.
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) != SQLITE_OK) {
    out << "verify: cannot read " << path << " (" << sqlite3_errmsg(db)
        << "); wrong passphrase or not a dictionary\n";
    sqlite3_close(db);
    return report;
  }
  int problems = 0;
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* line = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    std::string text = line ? line : "";
    if (text != "ok") {
      if (problems++ < 10) out << "integrity: " << text << "\n";
      ok = false;
    }
  }
  sqlite3_finalize(st);
  out << "integrity check: " << (problems ? "FAILED" : "ok") << "\n";

  if (sqlite3_prepare_v2(db, "SELECT w_caption, w_phonetic FROM dict_word", -1, &st, nullptr) !=
      SQLITE_OK) {
    out << "verify: no readable table dict_word: " << sqlite3_errmsg(db) << "\n";
    sqlite3_close(db);
    return report;
  }
  int rc;
  std::unordered_set<std::string> headwords;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    ++report.rows;
    const char* caption = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    if (!spokenListPath.empty()) headwords.insert(lowerAscii(caption ? caption : ""));
    const char* phonetic = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    if (!caption || !*caption) ++report.emptyCaptions;
    if (!phonetic || !acceptedBySymbolKeys(decodeStoredPhonetic(phonetic))) {
      if (report.badTranscriptions++ < 10)
        out << "unreadable transcription: " << (caption ? caption : "(null)") << " ["
            << (phonetic ? phonetic : "(null)") << "]\n";
    }
  }
  if (rc != SQLITE_DONE) {
    out << "verify: reading rows stopped: " << sqlite3_errmsg(db) << "\n";
    ok = false;
  }
  sqlite3_finalize(st);
  out << "rows: " << report.rows << "\n";
  out << "unreadable transcriptions: " << report.badTranscriptions << "\n";
  if (report.emptyCaptions) out << "empty headwords: " << report.emptyCaptions << "\n";
  if (report.rows == 0 || report.badTranscriptions || report.emptyCaptions) ok = false;
  if (!spokenListPath.empty()) reportSpokenCoverage(headwords, spokenListPath, out);

  if (!verifyChineseLines(db, out)) ok = false;
  if (!checkVariantRows(db, out).ok()) ok = false;

  // The entry lookup compares w_caption for equality; it must not scan the table.
  bool indexed = false;
  if (sqlite3_prepare_v2(
          db,
          "EXPLAIN QUERY PLAN SELECT w_caption, w_phonetic, w_explain FROM dict_word "
          "WHERE w_caption='example'",
          -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      const char* detail = reinterpret_cast<const char*>(sqlite3_column_text(st, 3));
      if (detail && std::string(detail).find("USING INDEX") != std::string::npos) indexed = true;
    }
    sqlite3_finalize(st);
  }
  out << "headword lookup: " << (indexed ? "uses an index" : "SCANS THE TABLE") << "\n";
  if (!indexed) ok = false;
  if (!checkFormLabels(db, out).ok()) ok = false;

  const StoredSearchRows searchRows = checkSearchIndex(db);
  out << "stored search rows: " << describe(searchRows) << "\n";
  if (searchRows == StoredSearchRows::Differing || searchRows == StoredSearchRows::Unreadable)
    ok = false;

  sqlite3_close(db);
  report.ok = ok;
  out << (ok ? "dictionary OK\n" : "dictionary has problems\n");
  return report;
}

}  // namespace quorvi::dictbuild
