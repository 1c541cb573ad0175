#include "spoken_form_table.h"

#include "data_tables.h"

namespace quorvi::dictbuild {
namespace {

// The table of data/spoken_forms.tsv, compiled in; empty if a line is malformed (the tests
// read it too).
const std::vector<DictEntry>& spokenFormTable() {
  static const std::vector<DictEntry> forms = [] {
    std::vector<DictEntry> out;
    std::string error;
    if (!readSpokenForms(kSpokenFormsText, out, error)) out.clear();
    return out;
  }();
  return forms;
}

}  // namespace

std::vector<DictEntry> spokenForms() {
  return spokenFormTable();
}

bool readSpokenForms(std::string_view text, std::vector<DictEntry>& out, std::string& error) {
  return readTsvRows(
      text, 4,
      [&out](const std::vector<std::string>& row, std::string& why) {
        if (row[0].empty() || row[2].empty()) {
          why = "a word or gloss is empty";
          return false;
        }
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
