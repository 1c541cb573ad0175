#include "name_parts.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace quorvi::dictbuild {
namespace {

std::vector<std::string> wordsOf(const std::string& caption) {
    std::vector<std::string> words;
    std::istringstream in(caption);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool allCapitalised(const std::vector<std::string>& words) {
    return std::all_of(words.begin(), words.end(),
                       [](const std::string& w) { return std::isupper(static_cast<unsigned char>(w[0])) != 0; });
}

// How much a name is heard: its other words' spoken counts.
double heardScore(const std::string& caption, const std::string& part, const SpokenFrequencies& spoken) {
    double score = 0;
    for (const std::string& w : wordsOf(caption))
        if (w != part) score += spoken.countOf(w);
    return score;
}

std::string withoutPartOfSpeech(const std::string& line) {
    // WordNet lines start with "n. "; the name's line reads better without it here.
    return line.rfind("n. ", 0) == 0 ? line.substr(3) : line;
}

}  // namespace

NameParts::NameParts(const std::vector<DictEntry>& entries) : entries_(entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].explainLines.empty() || entries[i].caption.find(' ') == std::string::npos) continue;
        const std::vector<std::string> words = wordsOf(entries[i].caption);
        if (words.size() < 2 || words.size() > 4 || !allCapitalised(words)) continue;
        for (const std::string& w : words) byPart_[w].push_back(i);
    }
}

std::vector<std::string> NameParts::explain(const std::string& word, const SpokenFrequencies& spoken) const {
    auto it = byPart_.find(word);
    if (it == byPart_.end()) return {};
    std::vector<std::pair<double, size_t>> names;
    for (size_t i : it->second) names.emplace_back(heardScore(entries_[i].caption, word, spoken), i);
    std::sort(names.begin(), names.end(), [this](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : entries_[a.second].caption < entries_[b.second].caption;
    });
    std::vector<std::string> lines;
    for (size_t k = 0; k < names.size() && k < 2; ++k) {
        const DictEntry& name = entries_[names[k].second];
        lines.push_back("in the name " + name.caption + ": " + withoutPartOfSpeech(name.explainLines.front()));
    }
    return lines;
}

}  // namespace quorvi::dictbuild
