#include "verify_labels.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "form_chinese.h"
#include "form_labels.h"

namespace quorvi::dictbuild {
namespace {

const std::string kAmbiguous = "past tense or past participle of ";

std::vector<std::string> explanationLines(const std::string& explain) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t br; (br = explain.find("<br/>", start)) != std::string::npos; start = br + 5)
    lines.push_back(explain.substr(start, br - start));
  lines.push_back(explain.substr(start));
  return lines;
}

bool isWarningLine(const std::string& line) {
  return line.find("/ offensive: avoid using it") != std::string::npos ||
         line.find("/ vulgar: avoid using it") != std::string::npos;
}

// A row read for the check: its form labels' lemmas and its Chinese lines, when it is only a
// form (every other line is Chinese or a warning).
struct FormRow {
  std::string caption;
  std::vector<std::string> lemmas;
  std::vector<std::string> chinese;
};

}  // namespace

LabelCheck checkFormLabels(sqlite3* db, std::ostream& out) {
  LabelCheck check;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT w_caption, w_explain FROM dict_word", -1, &st, nullptr) !=
      SQLITE_OK) {
    out << "word-form labels: cannot read dict_word: " << sqlite3_errmsg(db) << "\n";
    check.readable = false;
    return check;
  }
  std::unordered_set<std::string> captions;
  std::unordered_map<std::string, std::unordered_set<std::string>> chineseOf;  // every row's
  std::vector<std::pair<std::string, std::string>> named;                      // form, lemma
  std::vector<FormRow> formRows;
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* caption = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    const char* explain = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    if (!caption) continue;
    captions.insert(caption);
    FormRow row{caption, {}, {}};
    bool onlyForm = true;
    for (const std::string& line : explanationLines(explain ? explain : "")) {
      if (line.compare(0, kAmbiguous.size(), kAmbiguous) == 0 && check.ambiguous++ < 5)
        out << "ambiguous word-form label: " << caption << ": " << line << "\n";
      if (std::string lemma = formLabelLemma(line); !lemma.empty()) {
        named.emplace_back(caption, lemma);
        row.lemmas.push_back(std::move(lemma));
      } else if (isChineseMeaningLine(line)) {
        chineseOf[caption].insert(line);
        row.chinese.push_back(line);
      } else if (!isWarningLine(line)) {
        onlyForm = false;
      }
    }
    if (onlyForm && !row.lemmas.empty()) formRows.push_back(std::move(row));
  }
  sqlite3_finalize(st);
  check.labels = named.size();
  for (const auto& [form, lemma] : named)
    if (!captions.count(lemma) && check.dangling++ < 5)
      out << "word-form label naming no headword: " << form << ": " << lemma << "\n";
  // A form row's Chinese is its lemma's; its own only where no lemma has any (ECDICT's line
  // for the form is all there is to say).
  check.formRows = formRows.size();
  for (const FormRow& row : formRows) {
    bool lemmaHasChinese = false;
    for (const std::string& lemma : row.lemmas)
      if (auto it = chineseOf.find(lemma); it != chineseOf.end() && !it->second.empty())
        lemmaHasChinese = true;
    if (!lemmaHasChinese) continue;
    for (const std::string& line : row.chinese) {
      const bool lemmas = std::any_of(row.lemmas.begin(), row.lemmas.end(), [&](auto& lemma) {
        auto it = chineseOf.find(lemma);
        return it != chineseOf.end() && it->second.count(line);
      });
      if (lemmas) continue;
      if (check.ownChinese++ < 5)
        out << "form row with a Chinese line its lemma has not: " << row.caption << ": " << line
            << "\n";
      break;
    }
  }
  out << "word-form labels: " << check.labels << ", naming no headword: " << check.dangling
      << ", ambiguous: " << check.ambiguous << "\n";
  out << "form rows: " << check.formRows
      << ", with Chinese unlike their lemma's: " << check.ownChinese << "\n";
  return check;
}

}  // namespace quorvi::dictbuild
