#include "verify.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "ascii_case.h"
#include "dict_store.h"
#include "phonetic_notation.h"
#include "utf8.h"
#include "verify_labels.h"
#include "verify_chinese.h"
#include "missing_chinese.h"
#include "variant_check.h"
#include "spoken_coverage.h"
#include "first_line_scan.h"
#include "search_index_writer.h"

namespace quorvi::dictbuild {
namespace {

bool explainHoldsChinese(std::string_view explain) {
  for (size_t start = 0; start <= explain.size();) {
    size_t end = explain.find("<br/>", start);
    if (end == std::string_view::npos) end = explain.size();
    if (holdsChineseMeaning(explain.substr(start, end - start))) return true;
    start = end + 5;
  }
  return false;
}

bool namesSomeone(std::string_view explanation) {
  for (std::string_view mark : {"人名", "姓", "地名", "given name", "family name"})
    if (explanation.find(mark) != std::string_view::npos) return true;
  return false;
}

// The first row of the entry a learner opens for a heard word, found as below.
struct FirstRows {
  std::unordered_map<std::string, std::string> byCaption;  // the explanation of its first row
  std::unordered_map<std::string, std::vector<std::string>> captionsOfLower;  // in row order
  std::unordered_map<std::string, std::string> readingOf;  // "[British] US [American]"

  void add(const std::string& caption, std::string_view explanation, std::string reading) {
    if (byCaption.emplace(caption, explanation).second) {
      captionsOfLower[lowerAscii(caption)].push_back(caption);
      readingOf.emplace(caption, std::move(reading));
    }
  }
  // A heard word as spelled when that explains it (Christ, Max), else the lower-case word: a
  // capital is then mostly the start of a sentence ("No" is no, not nobelium; "Er" er, not
  // erbium); else its letters in another case that explain it (Md is MD, not mendelevium).
  std::optional<HeardRow> of(const std::string& word) const {
    const std::string* caption = captionFor(word);
    if (!caption) return std::nullopt;
    return HeardRow{*caption, byCaption.at(*caption)};
  }
  const std::string* captionFor(const std::string& word) const {
    const auto explains = [&](const std::string& caption) {
      const std::string& explanation = byCaption.at(caption);
      return namesSomeone(explanation) ||
             firstLineFault(explanation, caption) == FirstLineFault::None;
    };
    const auto spelled = byCaption.find(word), lower = byCaption.find(lowerAscii(word));
    if (spelled != byCaption.end() && explains(spelled->first)) return &spelled->first;
    if (lower != byCaption.end()) return &lower->first;
    const auto others = captionsOfLower.find(lowerAscii(word));
    if (others != captionsOfLower.end())
      for (const std::string& caption : others->second)
        if (explains(caption)) return &caption;
    if (spelled != byCaption.end()) return &spelled->first;
    return others != captionsOfLower.end() ? &others->second.front() : nullptr;
  }
};

// One line a heard word, most heard first: the word, the caption of the entry a learner opens,
// its first row's readings and explanation, for comparing two builds line by line.
void writeFirstLines(const std::vector<std::string>& heard, const FirstRows& firstRows,
                     std::ostream& out) {
  for (const std::string& word : heard) {
    const std::string* caption = firstRows.captionFor(word);
    if (!caption) continue;
    out << word << '\t' << *caption << '\t' << firstRows.readingOf.at(*caption) << '\t'
        << firstRows.byCaption.at(*caption) << '\n';
  }
}

// Reports how much of the spoken list the dictionary covers and the first lines of its most
// heard words; false when a first line of the top 5,000 is at fault.
bool reportSpokenCoverage(const std::unordered_set<std::string>& headwords,
                          const std::unordered_map<std::string, bool>& chineseOf,
                          const FirstRows& firstRows, const std::string& listPath,
                          const std::string& firstLinesPath, std::ostream& out) {
  SpokenFrequencies spoken;
  std::string error;
  if (!loadSpokenFrequencies(listPath, spoken, error)) {
    out << "spoken coverage: not measured (" << error << ")\n";
    return true;
  }
  const auto isHeadword = [&](const std::string& w) { return headwords.count(w) != 0; };
  // The entry a learner opens: the word as spelled, else in lower case ("President" has its
  // own entry; "Okay", capitalised at the start of a line, is okay's), else in any case ("y"
  // is "Y").
  std::unordered_map<std::string, bool> anyCase;
  for (const auto& [caption, chinese] : chineseOf) anyCase[lowerAscii(caption)] |= chinese;
  const auto hasChinese = [&](const std::string& w) {
    for (const std::string& spelling : {w, lowerAscii(w)})
      if (auto it = chineseOf.find(spelling); it != chineseOf.end()) return it->second;
    auto it = anyCase.find(lowerAscii(w));
    return it != anyCase.end() && it->second;
  };
  for (const SpokenCoverage& c :
       measureSpokenCoverage(spoken, isHeadword, {5000, 20000}, hasChinese))
    printSpokenCoverage(c, out);
  const auto scans = scanFirstLines(
      spoken, isHeadword, [&](const std::string& w) { return firstRows.of(w); }, {5000, 20000});
  for (const FirstLineScan& scan : scans) printFirstLineScan(scan, out);
  if (!firstLinesPath.empty()) {
    std::ofstream file(firstLinesPath);
    writeFirstLines(mostHeardWords(spoken, isHeadword, 20000), firstRows, file);
    if (!file) out << "first lines: cannot write " << firstLinesPath << "\n";
  }
  return scans.front().faulty() == 0;
}

}  // namespace

VerifyReport verifyDictionary(const std::string& path, std::ostream& out,
                              const std::string& spokenListPath,
                              const std::string& firstLinesPath) {
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

  // The American transcriptions where the dictionary has them (not one made before them).
  if (sqlite3_prepare_v2(db,
                         "SELECT w_caption, w_phonetic, w_explain, w_phonetic_us FROM dict_word",
                         -1, &st, nullptr) != SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT w_caption, w_phonetic, w_explain, '' FROM dict_word", -1, &st,
                         nullptr) != SQLITE_OK) {
    out << "verify: no readable table dict_word: " << sqlite3_errmsg(db) << "\n";
    sqlite3_close(db);
    return report;
  }
  int rc;
  std::unordered_set<std::string> headwords;
  std::unordered_map<std::string, bool> chineseOf;  // by caption: a row of it has Chinese
  FirstRows firstRows;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    ++report.rows;
    const char* caption = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    const char* phonetic = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    const std::u16string symbols = phonetic ? decodeStoredPhonetic(phonetic) : std::u16string();
    if (!spokenListPath.empty() && caption) {
      headwords.insert(lowerAscii(caption));
      const auto* explain = reinterpret_cast<const char*>(sqlite3_column_blob(st, 2));
      const std::string_view explanation(explain ? explain : "",
                                         static_cast<size_t>(sqlite3_column_bytes(st, 2)));
      bool& chinese = chineseOf[caption];
      chinese = chinese || explainHoldsChinese(explanation);
      const char* american = reinterpret_cast<const char*>(sqlite3_column_text(st, 3));
      std::string reading = "[";
      reading.append(encodeUtf8(symbols)).append("] US [");
      reading.append(american ? american : "").append("]");
      firstRows.add(caption, explanation, std::move(reading));
    }
    if (!caption || !*caption) ++report.emptyCaptions;
    if (!phonetic || !acceptedBySymbolKeys(symbols)) {
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
  if (!spokenListPath.empty() &&
      !reportSpokenCoverage(headwords, chineseOf, firstRows, spokenListPath, firstLinesPath, out))
    ok = false;

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
