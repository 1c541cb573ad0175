#pragma once
// The verify step for the Chinese lines that open entries: well-formed UTF-8, one to four
// words of Chinese characters joined by "；", nothing the window would show as markup; and
// for the learner-levels lines ("中考 高考 · 牛津3000 · 柯林斯★★★"): known lists, one to five
// stars.
#include <sqlite3.h>

#include <ostream>

namespace quorvi::dictbuild {

// Prints how many entries open with a Chinese line and the first malformed ones; false when
// any is malformed or the explanations cannot be read.
bool verifyChineseLines(sqlite3* db, std::ostream& out);

}  // namespace quorvi::dictbuild
