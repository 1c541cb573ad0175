#include "abbreviation_chinese.h"

#include <cctype>

#include "chinese_line.h"
#include "data_tables.h"
#include "ecdict_source.h"
#include "form_labels.h"
#include "missing_chinese.h"
#include "spoken_form_table.h"

namespace quorvi::dictbuild {
namespace {

bool isSynonymNote(const std::string& line) {
  return line.rfind("同 ", 0) == 0;
}

// The table word a caption spells: itself, or with a full stop after it in either case of its
// first letter (jr. for Jr).
const std::string* tableChineseOf(const std::string& caption) {
  const auto& table = spokenFormChinese();
  if (auto it = table.find(caption); it != table.end()) return &it->second;
  if (caption.size() < 2 || caption.back() != '.') return nullptr;
  std::string word = caption.substr(0, caption.size() - 1);
  if (auto it = table.find(word); it != table.end()) return &it->second;
  word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  if (auto it = table.find(word); it != table.end()) return &it->second;
  return nullptr;
}

// "element" as a word of an English sense's gloss.
bool namesElement(const std::string& line) {
  if (partOfSpeechOf(line) == 0 || holdsChineseMeaning(line)) return false;
  for (size_t at = line.find(" element"); at != std::string::npos;
       at = line.find(" element", at + 1)) {
    const size_t end = at + 8;
    if (end == line.size() || !std::isalpha(static_cast<unsigned char>(line[end]))) return true;
  }
  return false;
}

}  // namespace

bool isLetterReadSense(const std::string& line) {
  if (namesElement(line)) return true;
  if (!holdsChineseMeaning(line) || !formLabelLemma(line).empty()) return false;
  if (otherSenseOfLine(line) == OtherSense::Acronym) return true;
  for (const std::string& item : splitText(line, kChineseSeparator))
    if (otherSenseOfItem(item) == OtherSense::Element) return true;
  return false;
}

size_t giveAbbreviationsTheirChinese(std::vector<DictEntry>& entries) {
  size_t changed = 0;
  for (DictEntry& e : entries) {
    const std::string* chinese = e.leftOut ? nullptr : tableChineseOf(e.caption);
    if (!chinese) continue;
    std::vector<std::string> lines = {*chinese};
    bool dropped = false;
    for (const std::string& l : e.explainLines) {
      if (isSynonymNote(l)
              ? dropped
              : (holdsChineseMeaning(l) && formLabelLemma(l).empty() && !isLetterReadSense(l))) {
        dropped = true;
        continue;
      }
      dropped = false;
      if (l != *chinese) lines.push_back(l);
    }
    e.explainLines = std::move(lines);
    ++changed;
  }
  return changed;
}

size_t separateLetterReadSenses(std::vector<DictEntry>& entries) {
  size_t separated = 0;
  for (DictEntry& e : entries) {
    if (!e.saidAsWord || e.leftOut) continue;
    std::vector<std::string> spoken, letters;
    bool previousLetters = false;
    for (std::string& l : e.explainLines) {
      previousLetters = isSynonymNote(l) ? previousLetters : isLetterReadSense(l);
      (previousLetters ? letters : spoken).push_back(std::move(l));
    }
    if (spoken.empty()) {
      // Nothing said as the word: the spelling's reading for all of it.
      e.explainLines = std::move(letters);
      e.transcription.clear();
      e.saidAsWord = false;
      continue;
    }
    e.explainLines = std::move(spoken);
    e.letterReadLines = std::move(letters);
    separated += !e.letterReadLines.empty();
  }
  return separated;
}

}  // namespace quorvi::dictbuild
