// Headwords with more than one common pronunciation, written by hand in data/pronunciations.tsv
// and compiled in.
#include <unordered_set>

#include "data_tables.h"
#include "pronunciation_variants.h"

namespace quorvi::dictbuild {

bool readPronunciationTable(std::string_view text, std::vector<HeadwordReadings>& out,
                            std::string& error) {
  std::unordered_set<std::string> done;  // headwords whose readings are over
  return readTsvRows(
      text, 4,
      [&](const std::vector<std::string>& row, std::string& why) {
        if (row[0].empty() || row[1].empty()) {
          why = "a headword or reading is empty";
          return false;
        }
        if (out.empty() || out.back().caption != row[0]) {
          if (!out.empty()) done.insert(out.back().caption);
          if (done.count(row[0])) {
            why = row[0] + ": its readings are not on consecutive lines";
            return false;
          }
          out.push_back({row[0], {}});
        }
        out.back().readings.push_back({row[1], row[2], row[3]});
        return true;
      },
      error);
}

const std::vector<HeadwordReadings>& pronunciationTable() {
  static const std::vector<HeadwordReadings> table = [] {
    std::vector<HeadwordReadings> all;
    std::string error;
    if (!readPronunciationTable(kPronunciationsText, all, error)) all.clear();  // tests say why
    return all;
  }();
  return table;
}

}  // namespace quorvi::dictbuild
