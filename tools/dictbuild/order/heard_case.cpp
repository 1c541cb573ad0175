#include "heard_case.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "ascii_case.h"
#include "element_symbols.h"
#include "missing_chinese.h"

namespace quorvi::dictbuild {
namespace {

bool isInCapitals(const std::string& caption) {
  return caption.size() >= 2 &&
         std::all_of(caption.begin(), caption.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

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

size_t giveCapitalsTheirCount(const std::vector<DictEntry>& entries,
                              const SpokenFrequencies& spoken, std::vector<double>& heard) {
  std::unordered_set<std::string> heardCaptions;
  for (size_t i = 0; i < entries.size() && i < heard.size(); ++i)
    if (heard[i] > 0) heardCaptions.insert(entries[i].caption);
  size_t given = 0;
  for (size_t i = 0; i < entries.size() && i < heard.size(); ++i) {
    const std::string& caption = entries[i].caption;
    if (heard[i] > 0 || !isInCapitals(caption)) continue;
    const std::string asListed = caption.front() + lowerAscii(caption.substr(1));
    const auto count = spoken.counts.find(asListed);
    if (count == spoken.counts.end() || heardCaptions.count(asListed)) continue;
    heard[i] = count->second;
    ++given;
  }
  return given;
}

}  // namespace quorvi::dictbuild
