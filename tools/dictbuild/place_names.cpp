#include "place_names.h"

#include "chinese_line.h"
#include "transcription_normaliser.h"
#include "utf8.h"

namespace quorvi::dictbuild {

extern const std::string_view kPlaceTableText;

namespace {

std::vector<std::string> split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + separator.size();
  }
}

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
  size_t number = 0;
  for (const std::string& line : split(text, "\n")) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = split(line, "\t");
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    };
    if (fields.size() != 3) return fail("expected name, Chinese and reading separated by tabs");
    const auto& [name, chinese, reading] = std::tie(fields[0], fields[1], fields[2]);
    if (name.empty() || !hasHan(chinese)) return fail("a name and its Chinese are needed");
    if (!reading.empty() && !normaliseTranscription(reading).ok())
      return fail("unreadable reading " + reading);
    if (!out.emplace(name, PlaceName{chinese, reading}).second)
      return fail(name + " is listed twice");
  }
  return true;
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

size_t applyPlaceNames(std::vector<DictEntry>& entries, const PlaceTable& table) {
  size_t changed = 0;
  for (DictEntry& e : entries) {
    auto it = table.find(e.caption);
    if (it == table.end()) continue;
    const std::string line = chineseLine(split(it->second.chinese, kChineseSeparator));
    if (!e.explainLines.empty() && isChineseOnly(e.explainLines.front()))
      e.explainLines.front() = line;
    else
      e.explainLines.insert(e.explainLines.begin(), line);
    if (!it->second.reading.empty()) e.transcription = it->second.reading;
    ++changed;
  }
  return changed;
}

}  // namespace quorvi::dictbuild
