#include "function_words.h"

#include "data_tables.h"

#include <unordered_map>

namespace quorvi::dictbuild {
namespace {

// The table of data/function_words.tsv, compiled in; empty if a line is malformed (the
// tests read it too).
const std::vector<std::pair<std::string, std::string>>& table() {
  static const auto rows = [] {
    std::vector<std::pair<std::string, std::string>> out;
    std::string error;
    if (!readFunctionWords(kFunctionWordsText, out, error)) out.clear();
    return out;
  }();
  return rows;
}

}  // namespace

bool readFunctionWords(std::string_view text, std::vector<std::pair<std::string, std::string>>& out,
                       std::string& error) {
  return readTsvRows(
      text, 2,
      [&out](const std::vector<std::string>& row, std::string& why) {
        if (row[0].empty() || row[1].empty()) {
          why = "a word or explanation is empty";
          return false;
        }
        out.emplace_back(row[0], row[1]);
        return true;
      },
      error);
}

std::vector<DictEntry> functionWords() {
  std::vector<DictEntry> out;
  const double count = static_cast<double>(table().size());
  double rank = 0;
  for (const auto& [word, explain] : table()) {
    DictEntry e;
    e.caption = word;
    const std::string& text = explain;
    size_t start = 0;
    while (true) {
      size_t bar = text.find('|', start);
      e.explainLines.push_back(
          text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    // Above every WordNet count, in list order.
    e.frequency = 100000.0 + (count - rank);
    rank += 1;
    out.push_back(std::move(e));
  }
  return out;
}

void addFunctionWords(std::vector<DictEntry>& entries) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  for (DictEntry& f : functionWords()) {
    auto it = byCaption.find(f.caption);
    if (it == byCaption.end()) {
      byCaption.emplace(f.caption, entries.size());
      entries.push_back(std::move(f));
      continue;
    }
    DictEntry& e = entries[it->second];
    // An inflected form already made from the exception lists ("is", "had") keeps its
    // own lines only when they say something the grammatical line does not.
    std::vector<std::string> lines = f.explainLines;
    for (const auto& l : e.explainLines)
      if (e.anchor < 0) lines.push_back(l);
    e.explainLines = std::move(lines);
    e.frequency = f.frequency;
    e.anchor = -1;  // ranked on its own now
  }
}

}  // namespace quorvi::dictbuild
