#include "spoken_form_table.h"

#include "chinese_line.h"
#include "data_tables.h"

namespace quorvi::dictbuild {
namespace {

struct SpokenFormTable {
  std::vector<DictEntry> forms;
  std::unordered_map<std::string, std::string> chinese;
};

// The table of data/spoken_forms.tsv, compiled in; empty if a line is malformed (the tests
// read it too).
const SpokenFormTable& spokenFormTable() {
  static const SpokenFormTable table = [] {
    SpokenFormTable t;
    std::string error;
    if (!readSpokenForms(kSpokenFormsText, t.forms, error, &t.chinese)) t = {};
    return t;
  }();
  return table;
}

}  // namespace

std::vector<DictEntry> spokenForms() {
  return spokenFormTable().forms;
}

const std::unordered_map<std::string, std::string>& spokenFormChinese() {
  return spokenFormTable().chinese;
}

bool readSpokenForms(std::string_view text, std::vector<DictEntry>& out, std::string& error,
                     std::unordered_map<std::string, std::string>* chinese) {
  return readTsvRows(
      text, 5,
      [&out, chinese](const std::vector<std::string>& row, std::string& why) {
        if (row[0].empty() || row[2].empty()) {
          why = "a word or gloss is empty";
          return false;
        }
        if (std::string chineseWhy; !row[4].empty() && !checkChineseLine(row[4], chineseWhy)) {
          why = "Chinese of " + row[0] + ": " + chineseWhy;
          return false;
        }
        if (chinese && !row[4].empty()) chinese->emplace(row[0], row[4]);
        DictEntry e;
        e.caption = row[0];
        // How it is said where the spelling misleads the speech synthesiser (which reads "Sgt"
        // as letters and "gonna" as a weak form); normalised like any transcription.
        e.transcription = row[3];
        if (!row[1].empty()) e.explainLines.push_back(row[0] + ": " + row[1]);
        e.explainLines.push_back(row[2]);
        out.push_back(std::move(e));
        return true;
      },
      error);
}

}  // namespace quorvi::dictbuild
