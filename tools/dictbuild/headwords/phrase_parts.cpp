#include "phrase_parts.h"

#include <algorithm>
#include <cctype>

namespace quorvi::dictbuild {
namespace {

std::vector<std::string> wordsOf(const std::string& caption) {
  std::vector<std::string> words;
  std::string word;
  for (char c : caption + ' ') {
    if (c != ' ' && c != '-') {
      word.push_back(c);
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

bool capitalised(const std::string& w) {
  return !w.empty() && std::isupper(static_cast<unsigned char>(w[0])) != 0;
}

// The small words names hold in lower case: "Wizard of Oz", "von Neumann", "Rio de Janeiro".
bool isNameParticle(const std::string& w) {
  for (const char* p :
       {"of", "the", "and", "von", "van", "de", "del", "der", "da", "di", "du", "la", "le"})
    if (w == p) return true;
  return false;
}

bool isPlainWord(const std::string& w) {
  return std::all_of(w.begin(), w.end(), [](char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '\'';
  });
}

bool isName(const std::vector<std::string>& words) {
  const bool someCapital = std::any_of(words.begin(), words.end(), capitalised);
  return someCapital && std::all_of(words.begin(), words.end(), [](const std::string& w) {
           return capitalised(w) || isNameParticle(w);
         });
}

// Names are capitalised but for their particles, phrases nowhere: "Hong Kong", "et cetera".
bool isNameOrPhrase(const std::vector<std::string>& words) {
  if (!std::all_of(words.begin(), words.end(), isPlainWord)) return false;
  return isName(words) || std::none_of(words.begin(), words.end(), capitalised);
}

// How much a name or phrase is heard: as often as its least heard other word at most.
double heardScore(const std::string& caption, const std::string& part,
                  const SpokenFrequencies& spoken) {
  double score = -1;
  for (const std::string& w : wordsOf(caption))
    if (w != part) score = score < 0 ? spoken.countOf(w) : std::min(score, spoken.countOf(w));
  return score;
}

// WordNet's lines open with their part of speech ("n. ", "adv. "); the line quoted after the
// name or phrase reads better without it.
std::string withoutPartOfSpeech(const std::string& line) {
  for (const char* label : {"n. ", "v. ", "adj. ", "adv. "})
    if (line.rfind(label, 0) == 0) return line.substr(std::char_traits<char>::length(label));
  return line;
}

}  // namespace

PhraseParts::PhraseParts(const std::vector<DictEntry>& entries) : entries_(entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string& caption = entries[i].caption;
    if (entries[i].explainLines.empty() || caption.find_first_of(" -") == std::string::npos)
      continue;
    const std::vector<std::string> words = wordsOf(caption);
    if (words.size() < 2 || words.size() > 4 || !isNameOrPhrase(words)) continue;
    for (const std::string& w : words)
      if (!isName(words) || !isNameParticle(w) || w == "von" || w == "van") byPart_[w].push_back(i);
  }
}

std::vector<std::string> PhraseParts::explain(const std::string& word,
                                              const SpokenFrequencies& spoken) const {
  auto it = byPart_.find(word);
  if (it == byPart_.end()) return {};
  std::vector<std::pair<double, size_t>> found;
  for (size_t i : it->second) found.emplace_back(heardScore(entries_[i].caption, word, spoken), i);
  std::sort(found.begin(), found.end(), [this](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first
                              : entries_[a.second].caption < entries_[b.second].caption;
  });
  std::vector<std::string> lines;
  for (size_t k = 0; k < found.size() && k < 2; ++k) {
    const DictEntry& e = entries_[found[k].second];
    const char* kind = isName(wordsOf(e.caption)) ? "in the name " : "in the phrase ";
    lines.push_back(kind + e.caption + ": " + withoutPartOfSpeech(e.explainLines.front()));
  }
  return lines;
}

}  // namespace quorvi::dictbuild
