#include "wordnet_reader.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace quorvi::dictbuild {
namespace {

struct Synset {
    std::vector<std::string> words;  // as spelled, underscores kept
    std::string gloss;
};

const char* kPosNames[] = {"noun", "verb", "adj", "adv"};
const char kPosChars[] = {'n', 'v', 'a', 'r'};
const char* kPosLabels[] = {"n. ", "v. ", "adj. ", "adv. "};

bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return true;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string stripAdjMarker(const std::string& w) {
    // Adjectives carry a syntactic marker: "outback(a)", "elect(ip)".
    if (!w.empty() && w.back() == ')') {
        auto open = w.rfind('(');
        if (open != std::string::npos) return w.substr(0, open);
    }
    return w;
}

std::string spaced(std::string s) {
    std::replace(s.begin(), s.end(), '_', ' ');
    return s;
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool readData(const std::string& path, std::unordered_map<long, Synset>& synsets, std::string& error) {
    std::vector<std::string> lines;
    if (!readLines(path, lines, error)) return false;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ' ') continue;  // licence header
        std::istringstream in(line);
        long offset;
        std::string lexFile, ssType, countHex;
        if (!(in >> offset >> lexFile >> ssType >> countHex)) continue;
        int count = static_cast<int>(std::strtol(countHex.c_str(), nullptr, 16));
        Synset s;
        for (int i = 0; i < count; ++i) {
            std::string word, lexId;
            if (!(in >> word >> lexId)) break;
            s.words.push_back(stripAdjMarker(word));
        }
        auto bar = line.find(" | ");
        if (bar != std::string::npos) s.gloss = trim(line.substr(bar + 3));
        synsets.emplace(offset, std::move(s));
    }
    return true;
}

}  // namespace

std::vector<std::string> wordNetInputFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const char* pos : kPosNames) {
        files.push_back(dir + "/index." + pos);
        files.push_back(dir + "/data." + pos);
    }
    for (const char* exc : {"noun.exc", "verb.exc", "adj.exc", "adv.exc"}) files.push_back(dir + "/" + exc);
    files.push_back(dir + "/cntlist.rev");
    return files;
}

bool readWordNet(const std::string& dir, WordNetData& out, std::string& error) {
    // Per-sense tag counts: "lemma%ss_type:..." sense_number tag_cnt.
    std::unordered_map<std::string, std::vector<int>> senseCounts;  // lemma + '\t' + pos
    {
        std::vector<std::string> lines;
        if (!readLines(dir + "/cntlist.rev", lines, error)) return false;
        for (const std::string& line : lines) {
            std::istringstream in(line);
            std::string key;
            int senseNumber, count;
            if (!(in >> key >> senseNumber >> count) || senseNumber < 1 || senseNumber > 1000) continue;
            auto pct = key.find('%');
            if (pct == std::string::npos || pct + 1 >= key.size()) continue;
            char ss = key[pct + 1];
            char pos = ss == '1' ? 'n' : ss == '2' ? 'v' : (ss == '3' || ss == '5') ? 'a' : ss == '4' ? 'r' : 0;
            if (!pos) continue;
            auto& v = senseCounts[key.substr(0, pct) + '\t' + pos];
            if (static_cast<int>(v.size()) < senseNumber) v.resize(senseNumber, 0);
            v[senseNumber - 1] += count;
        }
    }

    std::unordered_map<std::string, size_t> byCaption;
    for (int p = 0; p < 4; ++p) {
        std::unordered_map<long, Synset> synsets;
        if (!readData(dir + "/data." + kPosNames[p], synsets, error)) return false;
        std::vector<std::string> lines;
        if (!readLines(dir + "/index." + kPosNames[p], lines, error)) return false;
        for (const std::string& line : lines) {
            if (line.empty() || line[0] == ' ') continue;
            std::istringstream in(line);
            std::string lemma, pos;
            int synsetCount, pointerCount;
            if (!(in >> lemma >> pos >> synsetCount >> pointerCount)) continue;
            std::string skip;
            for (int i = 0; i < pointerCount; ++i) in >> skip;
            int senseCount, tagSenseCount;
            if (!(in >> senseCount >> tagSenseCount)) continue;
            out.lemmaPos[spaced(lemma)].push_back(kPosChars[p]);
            const auto countsIt = senseCounts.find(lemma + '\t' + kPosChars[p]);
            for (int s = 0; s < synsetCount; ++s) {
                long offset;
                if (!(in >> offset)) break;
                auto it = synsets.find(offset);
                if (it == synsets.end()) continue;
                std::string caption = lemma;
                for (const std::string& w : it->second.words)
                    if (lower(w) == lemma) { caption = w; break; }
                caption = spaced(caption);
                auto [pos2, inserted] = byCaption.emplace(caption, out.headwords.size());
                if (inserted) {
                    out.headwords.emplace_back();
                    out.headwords.back().caption = caption;
                }
                DictEntry& entry = out.headwords[pos2->second];
                entry.explainLines.push_back(kPosLabels[p] + it->second.gloss);
                entry.senseCount += 1;
                if (countsIt != senseCounts.end() && s < static_cast<int>(countsIt->second.size()))
                    entry.frequency += countsIt->second[s];
            }
        }
    }

    for (int p = 0; p < 4; ++p) {
        std::vector<std::string> lines;
        std::string excName = std::string(kPosNames[p]) + ".exc";
        if (!readLines(dir + "/" + excName, lines, error)) return false;
        auto& list = out.exceptions[kPosChars[p]];
        for (const std::string& line : lines) {
            std::istringstream in(line);
            std::string form, base;
            if (!(in >> form)) continue;
            std::vector<std::string> bases;
            while (in >> base) bases.push_back(spaced(base));
            if (!bases.empty()) list.emplace_back(spaced(form), std::move(bases));
        }
    }
    if (out.headwords.empty()) {
        error = "no headwords found in " + dir;
        return false;
    }
    return true;
}

}  // namespace quorvi::dictbuild
