#include "slur_lines.h"

#include <algorithm>

#include "ascii_case.h"
#include "chinese_line.h"
#include "data_tables.h"
#include "ecdict_source.h"
#include "form_chinese.h"

namespace quorvi::dictbuild {
namespace {

const std::map<std::string, SlurChinese>& slurs() {
  static const auto table = [] {
    std::map<std::string, SlurChinese> m;
    std::string error;
    if (!readSlurs(kSlursText, m, error)) m.clear();
    return m;
  }();
  return table;
}

}  // namespace

bool readSlurs(std::string_view text, std::map<std::string, SlurChinese>& out, std::string& error) {
  return readTsvRows(
      text, 3,
      [&out](const std::vector<std::string>& row, std::string& why) {
        const SlurChinese slur{row[1], row[2]};
        std::string lineWhy;
        if (row[0].empty() || row[0] != lowerAscii(row[0]))
          why = "a slur is written in lower case";
        else if (!checkChineseLine(chineseLine({kOffensiveChinese, slur.offensive}), lineWhy) ||
                 (!slur.ordinary.empty() && !checkChineseLine(slur.ordinary, lineWhy)))
          why = "Chinese of " + row[0] + ": " + lineWhy;
        else if (!out.emplace(row[0], slur).second)
          why = "\"" + row[0] + "\" is listed twice";
        return why.empty();
      },
      error);
}

std::vector<std::string> slurChineseLines(const SlurChinese& slur) {
  std::vector<std::string> lines;
  // The ordinary sense is a noun unless the table names its part of speech ("vt. 延迟").
  if (!slur.ordinary.empty())
    lines.push_back(partOfSpeechOf(slur.ordinary) ? slur.ordinary : "n. " + slur.ordinary);
  lines.push_back("n. " + chineseLine({kOffensiveChinese, slur.offensive}));
  return lines;
}

size_t labelSlurs(std::vector<DictEntry>& entries) {
  size_t changed = 0;
  for (DictEntry& e : entries) {
    const auto it = slurs().find(lowerAscii(e.caption));
    if (it == slurs().end()) continue;
    std::erase_if(e.explainLines, [](const std::string& l) { return isChineseMeaningLine(l); });
    const std::vector<std::string> lines = slurChineseLines(it->second);
    e.explainLines.insert(e.explainLines.begin(), lines.begin(), lines.end());
    ++changed;
  }
  return changed;
}

}  // namespace quorvi::dictbuild
