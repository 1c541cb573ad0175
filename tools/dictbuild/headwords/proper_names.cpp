#include "proper_names.h"

#include <cctype>
#include <string_view>

#include "ascii_case.h"
#include "data_tables.h"
#include "line_reader.h"

namespace quorvi::dictbuild {
namespace {

bool endsWith(const std::string& s, std::string_view tail) {
  return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string withChinese(const std::string& text, const std::string& chinese) {
  return chinese.empty() ? text : text + "; " + chinese;
}

}  // namespace

bool readHeardNames(std::string_view text, std::unordered_map<std::string, NameExplanation>& out,
                    std::string& error) {
  return readTsvRows(
      text, 2,
      [&out](const std::vector<std::string>& row, std::string& why) {
        const std::string& name = row[0];
        if (!startsCapitalised(name) || name.find(' ') != std::string::npos) {
          why = "\"" + name + "\" is no capitalised single word";
          return false;
        }
        NameExplanation e;
        if (row[1] == "family") {
          e.kind = NameKind::FamilyName;
          e.lines = {"a family name"};
        } else if (row[1] == "given (male)" || row[1] == "given (female)") {
          e.kind = NameKind::GivenName;
          e.lines = {"a given name " + row[1].substr(6)};
        } else {
          why = "unknown kind \"" + row[1] + "\"";
          return false;
        }
        if (!out.emplace(name, std::move(e)).second) {
          why = name + " is listed twice";
          return false;
        }
        return true;
      },
      error);
}

const std::unordered_map<std::string, NameExplanation>& heardNames() {
  static const auto table = [] {
    std::unordered_map<std::string, NameExplanation> t;
    std::string error;
    if (!readHeardNames(kHeardNamesText, t, error)) t.clear();  // the tests read it too
    return t;
  }();
  return table;
}

bool looksLikePlaceName(const std::string& word) {
  if (!startsCapitalised(word)) return false;
  if (word.find("-on-") != std::string::npos || word.find("-upon-") != std::string::npos)
    return true;
  for (std::string_view tail :
       {"shire", "borough", "brough", "chester", "caster", "cester", "mouth", "minster"})
    if (endsWith(word, tail)) return true;
  return false;
}

NameExplanation explainName(const std::string& word, const GivenNames& given,
                            const CedictNames& cedict, bool transliterate) {
  NameExplanation out;
  if (!startsCapitalised(word)) return out;
  const CedictName* c = cedict.find(word);
  const std::string chinese = c && transliterate ? c->chinese : std::string();
  const bool bareName = c && !c->place;
  const bool male = given.male.count(word) != 0, female = given.female.count(word) != 0;
  if (male || female) {
    out.kind = NameKind::GivenName;
    const char* sex = male && female ? "male or female" : male ? "male" : "female";
    out.lines.push_back(
        withChinese(std::string("a given name (") + sex + ")", bareName ? chinese : ""));
  } else if (bareName) {
    out.kind = NameKind::FamilyName;
    out.lines.push_back(withChinese("a family name", chinese));
  }
  if (c && c->place) {
    if (out.kind == NameKind::None) out.kind = NameKind::Place;
    out.lines.push_back(withChinese(c->description, chinese));
  } else if (out.kind == NameKind::None && looksLikePlaceName(word)) {
    out.kind = NameKind::Place;
    out.lines.push_back("a place name");
  }
  return out;
}

}  // namespace quorvi::dictbuild
