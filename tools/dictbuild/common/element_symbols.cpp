#include "element_symbols.h"

#include <unordered_map>

#include "chinese_line.h"
#include "data_tables.h"

namespace quorvi::dictbuild {
namespace {

// The table of data/element_symbols.tsv, compiled in; empty if a line is malformed (the tests
// read it too).
const std::unordered_map<std::string, ChemicalElement>& elementsBySymbol() {
  static const auto bySymbol = [] {
    std::vector<ChemicalElement> rows;
    std::string error;
    if (!readElementSymbols(kElementSymbolsText, rows, error)) rows.clear();
    std::unordered_map<std::string, ChemicalElement> map;
    for (ChemicalElement& e : rows) map.emplace(e.symbol, std::move(e));
    return map;
  }();
  return bySymbol;
}

}  // namespace

bool readElementSymbols(std::string_view text, std::vector<ChemicalElement>& out,
                        std::string& error) {
  return readTsvRows(
      text, 3,
      [&out](const std::vector<std::string>& row, std::string& why) {
        if (row[0].empty() || row[1].empty() || row[2].empty()) {
          why = "a symbol or name is empty";
          return false;
        }
        out.push_back({row[0], row[2]});
        return true;
      },
      error);
}

const ChemicalElement* elementOfSymbol(std::string_view caption) {
  const auto& bySymbol = elementsBySymbol();
  const auto it = bySymbol.find(std::string(caption));
  return it == bySymbol.end() ? nullptr : &it->second;
}

bool opensWithElementOfSymbol(std::string_view caption, std::string_view line) {
  const ChemicalElement* element = elementOfSymbol(caption);
  if (!element) return false;
  line = withoutPartOfSpeech(line);
  const std::string_view first = line.substr(0, line.find(kChineseSeparator));
  return first == element->chinese ||
         (first.starts_with(element->chinese) && otherSenseOfItem(first) == OtherSense::Element);
}

}  // namespace quorvi::dictbuild
