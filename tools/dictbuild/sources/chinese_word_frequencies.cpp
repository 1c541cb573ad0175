#include "chinese_word_frequencies.h"

#include <cstdlib>

#include "line_reader.h"

namespace quorvi::dictbuild {

bool loadChineseWordFrequencies(const std::string& path, ChineseWordFrequencies& out,
                                std::string& error) {
  LineReader reader(path, 4096);
  if (!reader.isOpen()) {
    error = path + ": cannot open";
    return false;
  }
  out.reserve(600000);
  std::string line;
  while (reader.next(line)) {
    const size_t space = line.find(' ');
    if (space == 0 || space == std::string::npos) continue;
    char* end = nullptr;
    const double count = std::strtod(line.c_str() + space + 1, &end);
    if (end == line.c_str() + space + 1 || count < 0) continue;
    out[line.substr(0, space)] += count;
  }
  if (reader.tooLong()) {
    error = path + ": line " + std::to_string(reader.lineNumber()) + " is too long for a word list";
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
