#include "pronunciation_variants.h"

#include <unordered_map>

#include "spelling_adjustments.h"
#include "transcription_normaliser.h"

namespace quorvi::dictbuild {
namespace {

const HeadwordReadings* readingsOf(std::string_view caption) {
  static const auto index = [] {
    std::unordered_map<std::string_view, const HeadwordReadings*> m;
    for (const HeadwordReadings& h : pronunciationTable()) m.emplace(h.caption, &h);  // first wins
    return m;
  }();
  auto it = index.find(caption);
  return it == index.end() ? nullptr : it->second;
}

bool startsWithPrefix(std::string_view line, std::string_view prefix) {
  return !prefix.empty() && line.substr(0, prefix.size()) == prefix &&
         (line.size() == prefix.size() || line[prefix.size()] == ' ');
}

// True when `line` starts with one of the space-separated prefixes of `senses`
// ("v." takes "v. run" but not "adv. fast"; "modal v." lines are taken by "modal"). The verb's
// Chinese lines say whether it takes an object: "v." takes "vt. 放弃" and "vi. 逃掉" too.
bool takesLine(std::string_view senses, std::string_view line) {
  while (!senses.empty()) {
    const size_t space = senses.find(' ');
    const std::string_view prefix = senses.substr(0, space);
    if (startsWithPrefix(line, prefix) ||
        (prefix == "v." && (startsWithPrefix(line, "vt.") || startsWithPrefix(line, "vi."))))
      return true;
    if (space == std::string_view::npos) break;
    senses.remove_prefix(space + 1);
  }
  return false;
}

std::u16string readingSymbols(const Reading& r) {
  NormalisedTranscription n = normaliseTranscription(r.symbols);
  return n.ok() ? n.symbols : std::u16string();
}

// Which row each explanation line goes to: the first row whose senses take it, else row 0.
std::vector<size_t> rowOfEachLine(const std::vector<Reading>& readings,
                                  const std::vector<std::string>& lines) {
  std::vector<size_t> rowOf(lines.size(), 0);
  for (size_t l = 0; l < lines.size(); ++l)
    for (size_t r = 0; r < readings.size(); ++r)
      if (takesLine(readings[r].senses, lines[l])) {
        rowOf[l] = r;
        break;
      }
  return rowOf;
}

}  // namespace

std::vector<PronunciationRow> pronunciationRows(std::string_view caption,
                                                const std::u16string& symbols,
                                                const std::vector<std::string>& explainLines) {
  const HeadwordReadings* table = readingsOf(caption);
  if (!table) return {{symbols, explainLines}};
  const std::vector<size_t> rowOf = rowOfEachLine(table->readings, explainLines);
  std::vector<PronunciationRow> rows;
  for (size_t r = 0; r < table->readings.size(); ++r) {
    const Reading& reading = table->readings[r];
    PronunciationRow row{readingSymbols(reading), {}};
    if (!reading.label.empty()) row.explainLines.push_back(reading.label);
    for (size_t l = 0; l < explainLines.size(); ++l)
      if (rowOf[l] == r) row.explainLines.push_back(explainLines[l]);
    if (row.symbols.empty()) {
      if (r == 0)
        row.symbols = symbols;  // the usual row is never lost
      else
        continue;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::u16string leadingWeakForm(std::string_view word) {
  const HeadwordReadings* table = readingsOf(word);
  if (table == nullptr || table->readings.empty() || table->readings[0].label != "weak form")
    return {};
  return readingSymbols(table->readings[0]);
}

}  // namespace quorvi::dictbuild
