#include "spoken_forms.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>

#include "chinese_line.h"
#include "data_tables.h"
#include "transcription_normaliser.h"

namespace quorvi::dictbuild {
namespace {

// The table of data/heard_phrases.tsv, read once; empty if it cannot be read (its test says why).
const std::vector<DictEntry>& heardPhrases() {
  static const std::vector<DictEntry> phrases = [] {
    std::vector<DictEntry> out;
    std::string error;
    if (!readHeardPhrases(kHeardPhrasesText, out, error)) out.clear();
    return out;
  }();
  return phrases;
}

}  // namespace

std::vector<std::string> droppedGExplanation(const std::string& word, const std::string& full) {
  if (word.size() < 4 || word.compare(word.size() - 2, 2, "in") != 0 || full != word + "g")
    return {};
  return {word + ": " + full, "spoken form, with the final g dropped"};
}

bool readHeardPhrases(std::string_view text, std::vector<DictEntry>& out, std::string& error) {
  return readTsvRows(
      text, 4,
      [&out](const std::vector<std::string>& fields, std::string& why) {
        const std::string &caption = fields[0], &gloss = fields[1], &chinese = fields[2],
                          &ipa = fields[3];
        DictEntry e;
        e.caption = caption;
        e.transcription = ipa;
        e.explainLines = {chineseLine(splitText(chinese, kChineseSeparator)), gloss};
        std::string chineseWhy;
        if (caption.empty() || gloss.find(". ") == std::string::npos)
          why = "a phrase and its gloss, opening with its part of speech, are needed";
        else if (!checkChineseLine(e.explainLines[0], chineseWhy))
          why = "Chinese of " + caption + ": " + chineseWhy;
        else if (!normaliseTranscription(ipa).ok())
          why = "unreadable reading of " + caption;
        else
          out.push_back(std::move(e));
        return why.empty();
      },
      error);
}

size_t addHeardPhrases(std::vector<DictEntry>& entries) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  size_t added = 0;
  for (const DictEntry& phrase : heardPhrases()) {
    auto it = byCaption.find(phrase.caption);
    if (it == byCaption.end()) {
      byCaption.emplace(phrase.caption, entries.size());
      entries.push_back(phrase);
      ++added;
      continue;
    }
    // A word already in (cheers: plural of cheer) opens with what a learner hears it say.
    DictEntry& e = entries[it->second];
    std::vector<std::string>& lines = e.explainLines;
    if (!lines.empty() && opensWithChineseLine(lines.front()) &&
        std::none_of(lines.front().begin(), lines.front().end(),
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
      lines.erase(lines.begin());
    std::erase(lines, phrase.explainLines.back());  // its gloss once, where the phrase puts it
    lines.insert(lines.begin(), phrase.explainLines.begin(), phrase.explainLines.end());
    e.transcription = phrase.transcription;
  }
  return added;
}

size_t addSpokenForms(std::vector<DictEntry>& entries) {
  std::unordered_set<std::string> present;
  for (const DictEntry& e : entries) present.insert(e.caption);
  size_t added = 0;
  for (DictEntry& f : spokenForms()) {
    if (!present.insert(f.caption).second) continue;
    entries.push_back(std::move(f));
    ++added;
  }
  return added;
}

}  // namespace quorvi::dictbuild
