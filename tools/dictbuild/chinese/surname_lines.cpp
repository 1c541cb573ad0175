#include "surname_lines.h"

#include <algorithm>
#include <cctype>

#include "ascii_case.h"

namespace quorvi::dictbuild {
namespace {

bool isEverydayWord(const EcdictWord* w) {
  return w && (!w->tag.empty() || w->collins > 0 || w->oxford);
}

bool spelledLikeAName(const std::string& caption) {
  return caption.size() > 1 && startsCapitalised(caption) &&
         std::all_of(caption.begin() + 1, caption.end(),
                     [](char c) { return std::islower(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

size_t putChineseSurnamesFirst(std::vector<DictEntry>& entries, const CedictNames& names,
                               const EcdictData* ecdict) {
  size_t changed = 0;
  for (DictEntry& e : entries) {
    if (e.leftOut || e.anchor >= 0 || !spelledLikeAName(e.caption)) continue;
    const CedictName* name = names.find(e.caption);
    if (!name || !name->surname || name->chinese.empty()) continue;
    if (ecdict && isEverydayWord(ecdict->find(lowerAscii(e.caption)))) continue;
    std::erase_if(e.explainLines,
                  [](const std::string& l) { return l.rfind("a family name", 0) == 0; });
    e.explainLines.insert(e.explainLines.begin(), "a family name; 姓氏：" + name->chinese);
    ++changed;
  }
  return changed;
}

}  // namespace quorvi::dictbuild
