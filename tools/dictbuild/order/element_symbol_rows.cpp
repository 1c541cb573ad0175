#include "element_symbol_rows.h"

#include <set>
#include <string>
#include <unordered_map>

#include "ascii_case.h"
#include "element_symbols.h"
#include "missing_chinese.h"

namespace quorvi::dictbuild {
namespace {

// The first line a learner reads as the meaning, or none.
const std::string* firstChineseLine(const DictEntry& e) {
  for (const std::string& line : e.explainLines)
    if (holdsChineseMeaning(line)) return &line;
  return nullptr;
}

}  // namespace

size_t leaveSymbolRowsUnheard(const std::vector<DictEntry>& entries, std::vector<double>& heard) {
  // The spellings of each few letters headwords are made of ("he": he, He, HE).
  std::unordered_map<std::string, std::set<std::string>> spellings;
  for (const DictEntry& e : entries)
    if (e.caption.size() <= 3) spellings[lowerAscii(e.caption)].insert(e.caption);
  size_t unheard = 0;
  for (size_t i = 0; i < entries.size() && i < heard.size(); ++i) {
    const DictEntry& e = entries[i];
    if (heard[i] == 0 || !elementOfSymbol(e.caption)) continue;
    const std::string* line = firstChineseLine(e);
    if (!line || !opensWithElementOfSymbol(e.caption, *line)) continue;
    if (spellings[lowerAscii(e.caption)].size() < 2) continue;
    heard[i] = 0;
    ++unheard;
  }
  return unheard;
}

}  // namespace quorvi::dictbuild
