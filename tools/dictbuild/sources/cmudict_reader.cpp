#include "cmudict_reader.h"

#include "ascii_case.h"
#include "line_reader.h"

namespace quorvi::dictbuild {

const std::vector<std::string>* CmuDictionary::find(std::string_view word) const {
  const auto it = words.find(lowerAscii(std::string(word)));
  return it == words.end() ? nullptr : &it->second;
}

bool readCmuLine(std::string_view line, CmuDictionary& out) {
  const size_t open = line.find('"');
  if (open == std::string_view::npos) return true;
  const size_t close = line.find('"', open + 1);
  const size_t valueOpen = close == std::string_view::npos ? close : line.find('"', close + 1);
  const size_t valueClose =
      valueOpen == std::string_view::npos ? valueOpen : line.find('"', valueOpen + 1);
  if (valueClose == std::string_view::npos) return false;
  std::string word(line.substr(open + 1, close - open - 1));
  std::string_view value = line.substr(valueOpen + 1, valueClose - valueOpen - 1);
  value = value.substr(0, value.find('#'));
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  // word(2): a further pronunciation of word.
  if (const size_t paren = word.find('('); paren != std::string::npos && word.back() == ')')
    word.resize(paren);
  if (word.empty() || value.empty()) return false;
  out.words[lowerAscii(word)].emplace_back(value);
  return true;
}

bool loadCmuDictionary(const std::string& path, CmuDictionary& out, std::string& error) {
  LineReader reader(path, 4096);
  if (!reader.isOpen()) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  while (reader.next(line)) {
    if (!readCmuLine(line, out)) {
      error = path + ":" + std::to_string(reader.lineNumber()) + ": not a word and its ARPAbet";
      return false;
    }
  }
  if (reader.tooLong() || out.words.empty()) {
    error = path + (reader.tooLong() ? ": a line too long" : ": no words");
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
