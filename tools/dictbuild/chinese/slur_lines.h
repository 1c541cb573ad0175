#pragma once
// The Chinese of slurs (data/slurs.tsv): a learner reads that the word offends before what it
// means, "n. 冒犯性用语；黑鬼", never a neutral Chinese such as 黑人 first; a word with an ordinary
// sense (coon, the raccoon) opens with that one and has the offensive one on the next line.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dict_entry.h"

namespace quorvi::dictbuild {

inline constexpr char kOffensiveChinese[] = "冒犯性用语";

struct SlurChinese {
  std::string offensive;  // the Chinese of the offensive sense, words joined by "；"
  std::string ordinary;   // the ordinary sense's, or empty
};

// Reads the table's lines (word, offensive Chinese, ordinary Chinese or nothing); false with
// "line N: ..." at the first malformed line.
bool readSlurs(std::string_view text, std::map<std::string, SlurChinese>& out, std::string& error);

// The Chinese lines of a slur's entry, in the order a learner reads them.
std::vector<std::string> slurChineseLines(const SlurChinese& slur);

// Gives every entry of a listed word (in any letter case) these lines in place of the Chinese it
// had; returns how many entries changed.
size_t labelSlurs(std::vector<DictEntry>& entries);

}  // namespace quorvi::dictbuild
