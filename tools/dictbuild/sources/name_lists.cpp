#include "name_lists.h"

#include <algorithm>
#include <map>

#include <cctype>
#include <string_view>

#include "ascii_case.h"
#include "line_reader.h"

namespace quorvi::dictbuild {
namespace {

// Words of a CC-CEDICT description that make it the description of a place.
constexpr std::string_view kPlaceWords[] = {
    "city",   "town",    "county",   "country", "capital",   "province",   "state",       "island",
    "river",  "lake",    "mountain", "village", "district",  "region",     "port",        "borough",
    "suburb", "islands", "sea",      "bay",     "peninsula", "prefecture", "municipality"};

bool describesPlace(const std::string& description) {
  size_t start = 0;
  for (int word = 0; word < 4 && start < description.size(); ++word) {
    size_t end = description.find(' ', start);
    const std::string token =
        description.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (std::string_view w : kPlaceWords)
      if (token == w) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

std::string withArticle(const std::string& description) {
  if (description.rfind("capital", 0) == 0) return "the " + description;
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(description[0])));
  return (std::string_view("aeiou").find(c) != std::string_view::npos ? "an " : "a ") + description;
}

// Drops the labels CC-CEDICT puts before a gloss: "(Tw) Strauss (name)".
std::string withoutLeadingLabels(std::string gloss) {
  while (gloss.size() > 2 && gloss[0] == '(') {
    const size_t close = gloss.find(") ");
    if (close == std::string::npos) break;
    gloss.erase(0, close + 2);
  }
  return gloss;
}

}  // namespace

bool loadNameList(const std::string& path, std::unordered_set<std::string>& out,
                  std::string& error) {
  LineReader reader(path, 256);
  if (!reader.isOpen()) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  while (reader.next(line))
    if (!line.empty() && line.find(' ') == std::string::npos) out.insert(line);
  if (reader.tooLong()) {
    error = path + ": line " + std::to_string(reader.lineNumber()) + " is too long for a name";
    return false;
  }
  return true;
}

CedictNames::CedictNames(const std::vector<CedictEntry>& entries) {
  for (const CedictEntry& e : entries) {
    // Proper nouns have a capital syllable in their pinyin; cross-references say nothing.
    if (e.variantOf || !startsCapitalised(e.pinyin)) continue;
    for (const std::string& g : e.glosses) read(e, withoutLeadingLabels(g));
  }
  chooseUsualSurnames(entries);
}

// Several characters are "surname Li" (李, 黎, 里...): the usual one is the one most of the
// people CC-CEDICT names ("Li Bai (701-762)", "Li Peng") write it with.
void CedictNames::chooseUsualSurnames(const std::vector<CedictEntry>& entries) {
  std::map<std::pair<std::string, std::string>, size_t> bearers;  // (name, character) -> people
  for (const CedictEntry& e : entries) {
    if (e.variantOf || !startsCapitalised(e.pinyin)) continue;
    for (const std::string& g : e.glosses) {
      const size_t space = g.find(' ');
      if (space == std::string::npos || space + 1 >= g.size() ||
          !startsCapitalised(g.substr(space + 1)))
        continue;
      const auto candidates = surnames_.find(g.substr(0, space));
      if (candidates == surnames_.end()) continue;
      for (const std::string& c : candidates->second)
        if (e.simplified.size() > c.size() && e.simplified.rfind(c, 0) == 0)
          ++bearers[{candidates->first, c}];
    }
  }
  // A surname no one CC-CEDICT names bears (Pa) is too rare to read the spelling as one.
  for (const auto& [name, characters] : surnames_) {
    const std::string* usual = &characters.front();
    for (const std::string& c : characters)
      if (bearers[{name, c}] > bearers[{name, *usual}]) usual = &c;
    if (bearers[{name, *usual}] > 0)
      byName_[name] = CedictName{"", *usual, false, true};
    else
      byName_.emplace(name, CedictName{"", *usual, false, false});
  }
}

// "Alice (name)", "Oxfordshire (English county)", "Banbury, town in Oxfordshire, England";
// "surname Liang" for Chinese family names.
void CedictNames::read(const CedictEntry& entry, const std::string& gloss) {
  if (gloss.rfind("surname ", 0) == 0) {
    const std::string name = gloss.substr(8);
    if (startsCapitalised(name) && name.find_first_of(" ,(") == std::string::npos) {
      auto& characters = surnames_[name];
      if (std::find(characters.begin(), characters.end(), entry.simplified) == characters.end())
        characters.push_back(entry.simplified);
    }
    return;
  }
  size_t end = gloss.find_first_of(",(");
  if (end == std::string::npos || end < 2) return;
  std::string name = gloss.substr(0, end);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (!startsCapitalised(name) || byName_.count(name)) return;
  std::string rest = gloss.substr(end);
  CedictName found;
  found.chinese = entry.simplified;
  if (rest == "(name)") {
    byName_.emplace(name, found);
    return;
  }
  if (rest[0] == '(' && rest.back() == ')')
    rest = rest.substr(1, rest.size() - 2);
  else if (rest.rfind(", ", 0) == 0)
    rest = rest.substr(2);
  else
    return;
  if (rest.empty() || !describesPlace(rest)) return;
  found.description = withArticle(rest);
  found.place = true;
  byName_.emplace(name, found);
}

const CedictName* CedictNames::find(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : &it->second;
}

}  // namespace quorvi::dictbuild
