#include "hunspell_expander.h"

#include <map>
#include <sstream>
#include <vector>

#include "line_reader.h"

namespace quorvi::dictbuild {
namespace {

constexpr size_t kMaxLineBytes = 8192;

// One position of a rule's condition: a letter, a bracket set ("[aeiou]", "[^aeiou]") or ".".
struct ConditionChar {
  std::string set;  // empty: any character
  bool negated = false;
  bool matches(char c) const {
    if (set.empty()) return true;
    return (set.find(c) != std::string::npos) != negated;
  }
};

struct AffixRule {
  std::string strip;
  std::string add;
  std::vector<ConditionChar> condition;
};

struct AffixClass {
  bool crossProduct = false;
  std::vector<AffixRule> rules;
};

struct AffixFile {
  std::map<char, AffixClass> suffixes;
  std::map<char, AffixClass> prefixes;
  std::string notWords;   // flags of stems that are no word on their own or only in compounds
  std::string forbidden;  // flags of words the dictionary rejects
};

std::vector<ConditionChar> parseCondition(const std::string& text) {
  std::vector<ConditionChar> out;
  for (size_t i = 0; i < text.size(); ++i) {
    ConditionChar c;
    if (text[i] == '[') {
      size_t close = text.find(']', i);
      if (close == std::string::npos) close = text.size();
      std::string inside = text.substr(i + 1, close - i - 1);
      c.negated = !inside.empty() && inside[0] == '^';
      c.set = c.negated ? inside.substr(1) : inside;
      i = close;
    } else if (text[i] != '.') {
      c.set = std::string(1, text[i]);
    }
    out.push_back(c);
  }
  return out;
}

std::string field(const std::string& token) {
  if (token == "0") return {};
  return token.substr(0, token.find('/'));  // continuation flags are not followed
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool conditionHoldsAtEnd(const std::vector<ConditionChar>& cond, const std::string& word) {
  if (cond.size() > word.size()) return false;
  const size_t start = word.size() - cond.size();
  for (size_t i = 0; i < cond.size(); ++i)
    if (!cond[i].matches(word[start + i])) return false;
  return true;
}

bool conditionHoldsAtStart(const std::vector<ConditionChar>& cond, const std::string& word) {
  if (cond.size() > word.size()) return false;
  for (size_t i = 0; i < cond.size(); ++i)
    if (!cond[i].matches(word[i])) return false;
  return true;
}

// "" when the rule does not apply to the word.
std::string applySuffix(const AffixRule& r, const std::string& word) {
  if (!endsWith(word, r.strip) || word.size() == r.strip.size()) return {};
  if (!conditionHoldsAtEnd(r.condition, word)) return {};
  return word.substr(0, word.size() - r.strip.size()) + r.add;
}

std::string applyPrefix(const AffixRule& r, const std::string& word) {
  if (word.compare(0, r.strip.size(), r.strip) != 0 || word.size() == r.strip.size()) return {};
  if (!conditionHoldsAtStart(r.condition, word)) return {};
  return r.add + word.substr(r.strip.size());
}

// Reads one "SFX"/"PFX" line: the first line of a flag is its header ("SFX D Y 4").
void readAffixLine(std::istringstream& in, std::map<char, AffixClass>& classes) {
  std::string flag, a, b, c;
  if (!(in >> flag >> a >> b) || flag.size() != 1) return;
  auto [it, isHeader] = classes.try_emplace(flag[0]);
  if (isHeader) {
    it->second.crossProduct = a == "Y";
    return;
  }
  in >> c;  // no condition: every word
  it->second.rules.push_back({field(a), field(b), parseCondition(c)});
}

bool readAffixFile(const std::string& path, AffixFile& aff, std::string& error) {
  LineReader reader(path, kMaxLineBytes);
  if (!reader.isOpen()) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  while (reader.next(line)) {
    std::istringstream in(line);
    std::string keyword, value;
    if (!(in >> keyword)) continue;
    if (keyword == "SFX")
      readAffixLine(in, aff.suffixes);
    else if (keyword == "PFX")
      readAffixLine(in, aff.prefixes);
    else if ((keyword == "NEEDAFFIX" || keyword == "ONLYINCOMPOUND") && in >> value)
      aff.notWords += value;
    else if (keyword == "FORBIDDENWORD" && in >> value)
      aff.forbidden += value;
    else if (keyword == "FLAG" && in >> value) {
      error = path + ": flags of type " + value + " are not supported";
      return false;
    }
  }
  if (reader.tooLong()) {
    error = path + ": line " + std::to_string(reader.lineNumber()) + " is too long";
    return false;
  }
  return true;
}

void expandStem(const AffixFile& aff, const std::string& stem, const std::string& flags,
                const std::function<void(const std::string&)>& emit) {
  if (!aff.forbidden.empty() && flags.find_first_of(aff.forbidden) != std::string::npos) return;
  if (aff.notWords.empty() || flags.find_first_of(aff.notWords) == std::string::npos) emit(stem);
  std::vector<std::string> crossable{stem};
  for (char f : flags) {
    auto it = aff.suffixes.find(f);
    if (it == aff.suffixes.end()) continue;
    for (const AffixRule& r : it->second.rules) {
      std::string form = applySuffix(r, stem);
      if (form.empty()) continue;
      emit(form);
      if (it->second.crossProduct) crossable.push_back(form);
    }
  }
  for (char f : flags) {
    auto it = aff.prefixes.find(f);
    if (it == aff.prefixes.end()) continue;
    for (const AffixRule& r : it->second.rules) {
      const size_t bases = it->second.crossProduct ? crossable.size() : 1;
      for (size_t i = 0; i < bases; ++i)
        if (std::string form = applyPrefix(r, crossable[i]); !form.empty()) emit(form);
    }
  }
}

}  // namespace

bool expandHunspell(const std::string& dicPath, const std::string& affPath,
                    const std::function<void(const std::string&)>& emit, std::string& error) {
  AffixFile aff;
  if (!readAffixFile(affPath, aff, error)) return false;
  LineReader reader(dicPath, kMaxLineBytes);
  if (!reader.isOpen()) {
    error = "cannot read " + dicPath;
    return false;
  }
  std::string line;
  bool first = true;
  while (reader.next(line)) {
    if (first) {  // the word count
      first = false;
      continue;
    }
    line = line.substr(0, line.find_first_of("\t "));  // morphological fields follow
    if (line.empty()) continue;
    const size_t slash = line.find('/');
    if (slash == 0) continue;
    if (slash == std::string::npos)
      expandStem(aff, line, {}, emit);
    else
      expandStem(aff, line.substr(0, slash), line.substr(slash + 1), emit);
  }
  if (reader.tooLong()) {
    error = dicPath + ": line " + std::to_string(reader.lineNumber()) + " is too long";
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
