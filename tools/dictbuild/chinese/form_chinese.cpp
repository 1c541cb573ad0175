#include "form_chinese.h"

#include <algorithm>
#include <unordered_map>

#include "chinese_line.h"
#include "ecdict_source.h"
#include "form_labels.h"

namespace quorvi::dictbuild {
namespace {

bool isWarningLine(const std::string& line) {
  return line.find("/ offensive: avoid using it") != std::string::npos ||
         line.find("/ vulgar: avoid using it") != std::string::npos;
}

// The parts of speech a form label's Chinese is taken from.
std::string partsOfSpeechFor(const std::string& label) {
  if (label.rfind("plural of ", 0) == 0) return "n";
  if (label.rfind("comparative of ", 0) == 0 || label.rfind("superlative of ", 0) == 0) return "ar";
  return "v";
}

std::vector<std::string> chineseLinesOf(const DictEntry& e) {
  std::vector<std::string> out;
  for (const std::string& l : e.explainLines)
    if (isChineseMeaningLine(l)) out.push_back(l);
  return out;
}

}  // namespace

bool isChineseMeaningLine(const std::string& line) {
  if (!formLabelLemma(line).empty() || !opensWithChineseLine(line) ||
      looksLikeLearnerLevels(line) || isWarningLine(line))
    return false;
  // An English word of four letters or more: a sense, not Chinese; but not a part of speech
  // ("conj. 因为", "pron. 他们") or the word a note says the line equals ("n. 姐妹（等于sister）").
  size_t letters = 0, start = 0;
  bool equalsNote = false;
  for (size_t end = 0; end < line.size() && end - start <= 6; ++end) {
    if (line[end] >= 'a' && line[end] <= 'z') continue;
    if (end == start || line[end] != '.' || end + 1 >= line.size() || line[end + 1] != ' ') break;
    start = end + 2, end = start - 1;
  }
  for (size_t i = start; i < line.size(); ++i) {
    const std::string_view at = std::string_view(line).substr(i);
    if (at.starts_with("（等于")) equalsNote = true;
    if (at.starts_with("）")) equalsNote = false;
    const char c = line[i];
    letters = !equalsNote && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) ? letters + 1 : 0;
    if (letters >= 4) return false;
  }
  return true;
}

size_t giveFormsTheirLemmasChinese(std::vector<DictEntry>& entries) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  // The lemmas' lines as they stand before any form row changes.
  std::unordered_map<std::string, std::vector<std::string>> lemmaLines;
  std::vector<size_t> formRows;
  // Rows with senses of their own besides the label ("elves": also an acronym) and no Chinese
  // at all: they keep their senses, the lemma's Chinese after the labels.
  std::vector<bool> keepsSenses(entries.size(), false);
  for (size_t i = 0; i < entries.size(); ++i) {
    const DictEntry& e = entries[i];
    bool hasLabel = false, onlyForm = true;
    for (const std::string& l : e.explainLines) {
      if (const std::string lemma = formLabelLemma(l); !lemma.empty()) {
        hasLabel = true;
        if (auto it = byCaption.find(lemma); it != byCaption.end() && !lemmaLines.count(lemma))
          lemmaLines.emplace(lemma, chineseLinesOf(entries[it->second]));
      } else if (!isChineseMeaningLine(l) && !isWarningLine(l)) {
        onlyForm = false;
      }
    }
    if (hasLabel && !onlyForm)
      keepsSenses[i] = std::none_of(e.explainLines.begin(), e.explainLines.end(),
                                    [](const std::string& l) { return isChineseMeaningLine(l); });
    if (hasLabel && (onlyForm || keepsSenses[i])) formRows.push_back(i);
  }
  size_t changed = 0;
  for (size_t i : formRows) {
    DictEntry& e = entries[i];
    std::vector<std::string> labels, fitting, unnamed;
    bool lemmaHasChinese = false, lacking = false;
    for (const std::string& l : e.explainLines)
      if (!formLabelLemma(l).empty()) labels.push_back(l);
    for (const std::string& label : labels) {
      const auto& lines = lemmaLines[formLabelLemma(label)];
      lemmaHasChinese = lemmaHasChinese || !lines.empty();
      const std::string kinds = partsOfSpeechFor(label);
      for (const std::string& l : lines) {
        const char pos = partOfSpeechOf(l);
        auto& to = pos == 0 ? unnamed : fitting;
        if ((pos == 0 || kinds.find(pos) != std::string::npos) &&
            std::find(to.begin(), to.end(), l) == to.end())
          to.push_back(l);
      }
    }
    if (!lemmaHasChinese) continue;
    // A form without any Chinese of its own lacks its lemma's.
    lacking = std::none_of(e.explainLines.begin(), e.explainLines.end(), isChineseMeaningLine);
    for (const std::string& l : e.explainLines) {
      if (!isChineseMeaningLine(l)) continue;
      bool inLemma = false;
      for (const std::string& label : labels) {
        const auto& lines = lemmaLines[formLabelLemma(label)];
        inLemma = inLemma || std::find(lines.begin(), lines.end(), l) != lines.end();
      }
      lacking = lacking || !inLemma;
    }
    if (!lacking) continue;
    const std::vector<std::string>& chinese = fitting.empty() ? unnamed : fitting;
    std::vector<std::string> lines = labels;
    lines.insert(lines.end(), chinese.begin(), chinese.end());
    for (const std::string& l : e.explainLines)
      if (isWarningLine(l) || (keepsSenses[i] && formLabelLemma(l).empty())) lines.push_back(l);
    e.explainLines = std::move(lines);
    ++changed;
  }
  return changed;
}

}  // namespace quorvi::dictbuild
