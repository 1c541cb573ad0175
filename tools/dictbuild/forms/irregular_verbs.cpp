#include "irregular_verbs.h"

#include "data_tables.h"

#include <unordered_map>
#include <vector>

namespace quorvi::dictbuild {
namespace {

// Prefixes that make new verbs of irregular ones: overtake, mislead, withdraw, undergo ...
const char* const kPrefixes[] = {"be", "for", "fore",  "mis", "out", "over",
                                 "re", "un",  "under", "up",  "with"};

// The table of data/irregular_verbs.tsv, compiled in; empty if a line is malformed (the
// tests read it too).
const std::unordered_map<std::string, Principal>& table() {
  static const std::unordered_map<std::string, Principal> verbs = [] {
    std::unordered_map<std::string, Principal> m;
    std::string error;
    if (!readIrregularVerbs(kIrregularVerbsText, m, error)) m.clear();
    return m;
  }();
  return verbs;
}

bool contains(const std::vector<std::string>& list, const std::string& s) {
  for (const std::string& x : list)
    if (x == s) return true;
  return false;
}

// The table row of a verb and what stands before the table's verb: nothing, one of the
// prefixes (over + take), or with `anyFront` whatever does (ghost + write, misunder + stand),
// the longest table verb first.
const Principal* lookUp(const std::string& verb, std::string& front, bool anyFront) {
  const auto& verbs = table();
  front.clear();
  if (auto it = verbs.find(verb); it != verbs.end()) return &it->second;
  for (const char* p : kPrefixes) {
    const std::string pre = p;
    if (verb.size() <= pre.size() + 1 || verb.compare(0, pre.size(), pre) != 0) continue;
    if (auto it = verbs.find(verb.substr(pre.size())); it != verbs.end()) {
      front = pre;
      return &it->second;
    }
  }
  for (size_t i = 1; anyFront && i + 2 <= verb.size(); ++i) {
    if (auto it = verbs.find(verb.substr(i)); it != verbs.end()) {
      front = verb.substr(0, i);
      return &it->second;
    }
  }
  return nullptr;
}

}  // namespace

bool readIrregularVerbs(std::string_view text, std::unordered_map<std::string, Principal>& out,
                        std::string& error) {
  return readTsvRows(
      text, 3,
      [&out](const std::vector<std::string>& row, std::string& why) {
        Principal p{splitText(row[1], ","), splitText(row[2], ",")};
        for (const auto* forms : {&p.past, &p.participle})
          for (const std::string& f : *forms)
            if (f.empty() || f.find(' ') != std::string::npos) {
              why = "an empty or spaced form of " + row[0];
              return false;
            }
        if (row[0].empty() || !out.emplace(row[0], std::move(p)).second) {
          why = "\"" + row[0] + "\" is empty or listed twice";
          return false;
        }
        return true;
      },
      error);
}

std::optional<PastSlots> irregularPastSlots(const std::string& form, const std::string& verb) {
  std::string prefix;
  const Principal* row = lookUp(verb, prefix, true);
  if (!row || form.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::string rest = form.substr(prefix.size());
  PastSlots slots{contains(row->past, rest), contains(row->participle, rest)};
  if (!slots.pastTense && !slots.pastParticiple) return std::nullopt;
  return slots;
}

bool isIrregularVerb(const std::string& verb, bool behindPrefix) {
  std::string prefix;
  return lookUp(verb, prefix, false) != nullptr && (behindPrefix || prefix.empty());
}

}  // namespace quorvi::dictbuild
