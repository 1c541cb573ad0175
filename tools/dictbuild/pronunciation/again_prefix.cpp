#include "again_prefix.h"

#include "chinese_line.h"

#include <algorithm>
#include <regex>
#include <set>

namespace quorvi::dictbuild {
namespace {

// The explanation line of an English sense starts with its part of speech: "v. ", "n. ",
// "adj. ". The Chinese lines before them ("v. 重开；再开始") start alike.
bool isSenseLine(std::string_view line) {
  if (opensWithChineseLine(line)) return false;
  for (std::string_view pos : {"v. ", "n. ", "adj. ", "adv. "})
    if (line.substr(0, pos.size()) == pos) return true;
  return false;
}

// Words whose re- is weak although a sense says "again" and the rest is a word.
const std::set<std::string, std::less<>>& weakAgainWords() {
  static const std::set<std::string, std::less<>> words = {
      "repeat",    "recur",     "review",   "renew",      "resume",  "respire",   "resurge",
      "retrace",   "reiterate", "reprisal", "resumption", "refresh", "refreshen", "resurgent",
      "renascent", "revive",    "recover",  "restore",    "remind",  "relapse",   "reflect",
      "resound",   "rebound",   "retort",   "relay",      "remark",  "report",    "resort"};
  return words;
}

}  // namespace

bool senseMeansAgain(const std::vector<std::string>& explainLines) {
  static const std::regex again(R"(\b(again|anew|once more|a second time)\b)");
  for (const std::string& line : explainLines) {
    if (!isSenseLine(line)) continue;
    const std::string gloss = line.substr(0, line.find('"'));  // examples are quoted
    return std::regex_search(gloss, again);
  }
  return false;
}

std::string againStem(std::string_view caption) {
  if (caption.substr(0, 2) != "re" || caption.find(' ') != std::string_view::npos) return {};
  std::string_view rest = caption.substr(2);
  if (!rest.empty() && rest.front() == '-') rest.remove_prefix(1);
  if (rest.size() < 3 || !std::all_of(rest.begin(), rest.end(),
                                      [](char c) { return (c >= 'a' && c <= 'z') || c == '-'; }))
    return {};
  // A form shares its lemma's exception: repeated, recurring.
  for (const std::string& weak : weakAgainWords())
    if (caption.substr(0, weak.size()) == weak) return {};
  return std::string(rest);
}

std::u16string withAgainPrefix(const std::u16string& stemSymbols) {
  if (stemSymbols.find(u'ˈ') == std::u16string::npos) return u"riː" + stemSymbols;
  return u"ˌriː" + stemSymbols;
}

}  // namespace quorvi::dictbuild
