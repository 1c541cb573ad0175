#pragma once
// The chemical elements by symbol (data/element_symbols.tsv): a row headed "He", "At" or "Pa"
// is helium's, astatine's or protactinium's when its Chinese opens with the element's name.
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::dictbuild {

struct ChemicalElement {
  std::string symbol;   // "Pa"
  std::string chinese;  // "镤"
};

// Reads the table's lines (symbol, English name for the reader, Chinese name).
bool readElementSymbols(std::string_view text, std::vector<ChemicalElement>& out,
                        std::string& error);

// The element `caption` is the symbol of, as spelled (case counts: "he" is none); null if none.
const ChemicalElement* elementOfSymbol(std::string_view caption);

// True when `caption` is an element's symbol and the first item of `line` (a line of Chinese,
// its part of speech allowed: "n. 镤；...") is that element's Chinese name.
bool opensWithElementOfSymbol(std::string_view caption, std::string_view line);

}  // namespace quorvi::dictbuild
