#include "place_names.h"

#include "chinese_line.h"
#include "data_tables.h"
#include "transcription_normaliser.h"
#include "utf8.h"

namespace quorvi::dictbuild {

namespace {

bool hasHan(std::string_view text) {
  auto decoded = decodeUtf8(text);
  if (!decoded) return false;
  for (char32_t c : *decoded)
    if (isHanCharacter(c)) return true;
  return false;
}

// A line of Chinese equivalents only, no English in it ("伦敦大学学院"); a name's line
// ("a town in Oxfordshire, England; 班伯里") is an explanation of its own.
bool isChineseOnly(const std::string& line) {
  for (char c : line)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return false;
  return opensWithChineseLine(line);
}

}  // namespace

bool readPlaceTable(std::string_view text, PlaceTable& out, std::string& error) {
  return readTsvRows(
      text, 4,
      [&out](const std::vector<std::string>& fields, std::string& why) {
        const std::string &name = fields[0], &chinese = fields[1], &reading = fields[2],
                          &description = fields[3];
        if (name.empty() || !hasHan(chinese))
          why = "a name and its Chinese are needed";
        else if (!reading.empty() && !normaliseTranscription(reading).ok())
          why = "unreadable reading " + reading;
        else if (!out.emplace(name, PlaceName{chinese, reading, description}).second)
          why = name + " is listed twice";
        return why.empty();
      },
      error);
}

const PlaceTable& placeNames() {
  static const PlaceTable table = [] {
    PlaceTable t;
    std::string error;
    if (!readPlaceTable(kPlaceTableText, t, error)) t.clear();  // the tests read it too
    return t;
  }();
  return table;
}

size_t applyPlaceNames(std::vector<DictEntry>& entries, const PlaceTable& table, bool addMissing) {
  size_t changed = 0;
  std::unordered_map<std::string, bool> named;
  for (DictEntry& e : entries) {
    auto it = table.find(e.caption);
    if (it == table.end()) continue;
    named[e.caption] = true;
    const std::string line = chineseLine(splitText(it->second.chinese, kChineseSeparator));
    if (!e.explainLines.empty() && isChineseOnly(e.explainLines.front()))
      e.explainLines.front() = line;
    else
      e.explainLines.insert(e.explainLines.begin(), line);
    if (!it->second.reading.empty()) e.transcription = it->second.reading;
    ++changed;
  }
  if (!addMissing) return changed;
  for (const auto& [name, place] : table) {
    if (named.count(name) || place.description.empty()) continue;
    DictEntry e;
    e.caption = name;
    e.explainLines = {chineseLine(splitText(place.chinese, kChineseSeparator)), place.description};
    e.transcription = place.reading;
    entries.push_back(std::move(e));
    ++changed;
  }
  return changed;
}

}  // namespace quorvi::dictbuild
