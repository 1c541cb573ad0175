#include "wordnet_reader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
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

// Counts the words of the example sentences that glosses quote ("the cat sat on the mat"):
// running English, a second frequency source beside the sense tag counts.
void countExampleWords(const std::string& gloss, std::unordered_map<std::string, int>& counts) {
  bool inQuote = false;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) ++counts[word];
    word.clear();
  };
  for (char c : gloss) {
    if (c == '"') {
      flush();
      inQuote = !inQuote;
      continue;
    }
    if (!inQuote) continue;
    if (std::isalpha(static_cast<unsigned char>(c)))
      word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    else if (c == '\'' && !word.empty())
      word.push_back(c);
    else
      flush();
  }
  flush();
}

// The lemma a running-text word is a form of, by regular suffixes; empty when none is known.
std::string regularStem(const std::string& w,
                        const std::unordered_map<std::string, size_t>& lemmas) {
  auto known = [&](const std::string& s) { return s.size() >= 2 && lemmas.count(s) != 0; };
  auto ends = [&](const char* t) {
    size_t n = std::strlen(t);
    return w.size() > n + 1 && w.compare(w.size() - n, n, t) == 0;
  };
  auto cut = [&](size_t n) { return w.substr(0, w.size() - n); };
  if (ends("'s")) return known(cut(2)) ? cut(2) : std::string();
  if (ends("ies") && known(cut(3) + "y")) return cut(3) + "y";
  if (ends("ied") && known(cut(3) + "y")) return cut(3) + "y";
  if (ends("es") && known(cut(2))) return cut(2);
  if (ends("s") && !ends("ss") && known(cut(1))) return cut(1);
  if (ends("ed")) {
    if (known(cut(2))) return cut(2);
    if (known(cut(1))) return cut(1);
    if (w.size() > 4 && w[w.size() - 3] == w[w.size() - 4] && known(cut(3))) return cut(3);
  }
  if (ends("ing")) {
    if (known(cut(3))) return cut(3);
    if (known(cut(3) + "e")) return cut(3) + "e";
    if (w.size() > 5 && w[w.size() - 4] == w[w.size() - 5] && known(cut(4))) return cut(4);
  }
  if (ends("est") && known(cut(3))) return cut(3);
  if (ends("er") && known(cut(2))) return cut(2);
  return {};
}

bool readData(const std::string& path, std::unordered_map<long, Synset>& synsets,
              std::unordered_map<std::string, int>& exampleWords, std::string& error) {
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
    countExampleWords(s.gloss, exampleWords);
    synsets.emplace(offset, std::move(s));
  }
  return true;
}

// Per-sense tag counts from cntlist.rev: "lemma%ss_type:..." sense_number tag_cnt, kept per
// lemma and part of speech in sense-number order.
using SenseCounts = std::unordered_map<std::string, std::vector<int>>;  // lemma + '\t' + pos

char posOfSenseKey(char ssType) {
  switch (ssType) {
    case '1':
      return 'n';
    case '2':
      return 'v';
    case '3':
    case '5':
      return 'a';
    case '4':
      return 'r';
    default:
      return 0;
  }
}

bool readSenseCounts(const std::string& dir, SenseCounts& counts, std::string& error) {
  std::vector<std::string> lines;
  if (!readLines(dir + "/cntlist.rev", lines, error)) return false;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::string key;
    int senseNumber, count;
    if (!(in >> key >> senseNumber >> count) || senseNumber < 1 || senseNumber > 1000) continue;
    auto pct = key.find('%');
    if (pct == std::string::npos || pct + 1 >= key.size()) continue;
    const char pos = posOfSenseKey(key[pct + 1]);
    if (!pos) continue;
    auto& v = counts[key.substr(0, pct) + '\t' + pos];
    if (static_cast<int>(v.size()) < senseNumber) v.resize(senseNumber, 0);
    v[senseNumber - 1] += count;
  }
  return true;
}

// One sense of a headword while the parts of speech are read one after another.
struct Sense {
  int count = 0;  // how often the sense was tagged in running text
  int pos = 0;    // index into kPosChars
  std::string line;
};

// Gathers the senses of every headword as spelled, then orders each entry's senses.
class HeadwordCollector {
 public:
  explicit HeadwordCollector(WordNetData& out) : out_(out) {}
  WordNetData& data() { return out_; }

  void addSense(const std::string& caption, int pos, int count, std::string line) {
    auto [it, inserted] = byCaption_.emplace(caption, out_.headwords.size());
    if (inserted) {
      out_.headwords.emplace_back();
      out_.headwords.back().caption = caption;
      senses_.emplace_back();
    }
    DictEntry& entry = out_.headwords[it->second];
    entry.senseCount += 1;
    entry.frequency += count;
    senses_[it->second].push_back({count, pos, std::move(line)});
  }

  // The commonest sense first whatever its part of speech ("go" opens with a verb); senses
  // never tagged follow by how much their part of speech is used for the word, each part of
  // speech keeping WordNet's own order.
  void orderSenses() {
    for (size_t i = 0; i < senses_.size(); ++i) {
      std::vector<Sense>& senses = senses_[i];
      int posTotal[4] = {0, 0, 0, 0};
      for (const Sense& s : senses) posTotal[s.pos] += s.count;
      std::stable_sort(senses.begin(), senses.end(), [&](const Sense& a, const Sense& b) {
        if (a.count != b.count) return a.count > b.count;
        return posTotal[a.pos] > posTotal[b.pos];
      });
      auto& lines = out_.headwords[i].explainLines;
      for (Sense& s : senses) lines.push_back(std::move(s.line));
    }
  }

 private:
  WordNetData& out_;
  std::unordered_map<std::string, size_t> byCaption_;
  std::vector<std::vector<Sense>> senses_;  // parallel to out_.headwords
};

// The headword of a synset member as the synset spells it ("Turkey"), spaces for underscores.
std::string captionIn(const Synset& synset, const std::string& lemma) {
  for (const std::string& w : synset.words)
    if (lower(w) == lemma) return spaced(w);
  return spaced(lemma);
}

// One index line: "lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt offsets...".
void readIndexLine(const std::string& line, int p, const std::unordered_map<long, Synset>& synsets,
                   const SenseCounts& senseCounts, HeadwordCollector& collector) {
  WordNetData& out = collector.data();
  std::istringstream in(line);
  std::string lemma, pos, skip;
  int synsetCount, pointerCount, senseCount, tagSenseCount;
  if (!(in >> lemma >> pos >> synsetCount >> pointerCount)) return;
  for (int i = 0; i < pointerCount; ++i) in >> skip;
  if (!(in >> senseCount >> tagSenseCount)) return;
  out.lemmaPos[spaced(lemma)].push_back(kPosChars[p]);
  const auto countsIt = senseCounts.find(lemma + '\t' + kPosChars[p]);
  for (int s = 0; s < synsetCount; ++s) {
    long offset;
    if (!(in >> offset)) break;
    auto it = synsets.find(offset);
    if (it == synsets.end()) continue;
    int count = 0;
    if (countsIt != senseCounts.end() && s < static_cast<int>(countsIt->second.size()))
      count = countsIt->second[s];
    if (count > 0) out.posCounts[spaced(lemma) + '#' + kPosChars[p]] += count;
    collector.addSense(captionIn(it->second, lemma), p, count, kPosLabels[p] + it->second.gloss);
  }
}

bool readPartOfSpeech(const std::string& dir, int p, const SenseCounts& senseCounts,
                      HeadwordCollector& collector,
                      std::unordered_map<std::string, int>& exampleWords, std::string& error) {
  std::unordered_map<long, Synset> synsets;
  if (!readData(dir + "/data." + kPosNames[p], synsets, exampleWords, error)) return false;
  std::vector<std::string> lines;
  if (!readLines(dir + "/index." + kPosNames[p], lines, error)) return false;
  for (const std::string& line : lines)
    if (!line.empty() && line[0] != ' ') readIndexLine(line, p, synsets, senseCounts, collector);
  return true;
}

bool readExceptions(const std::string& dir, WordNetData& out, std::string& error) {
  for (int p = 0; p < 4; ++p) {
    std::vector<std::string> lines;
    if (!readLines(dir + "/" + kPosNames[p] + ".exc", lines, error)) return false;
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
  return true;
}

// Example-sentence counts, each word form credited to its lemma.
void creditExampleWords(const std::unordered_map<std::string, int>& exampleWords,
                        WordNetData& out) {
  std::unordered_map<std::string, size_t> lemmaIndex;  // lower-case single-word lemma -> entry
  for (size_t i = 0; i < out.headwords.size(); ++i)
    if (out.headwords[i].caption.find(' ') == std::string::npos)
      lemmaIndex.emplace(lower(out.headwords[i].caption), i);
  std::unordered_map<std::string, std::string> irregularBase;
  for (const auto& [pos, list] : out.exceptions)
    for (const auto& [form, bases] : list) irregularBase.emplace(form, bases.front());
  std::unordered_map<std::string, double> lemmaCounts;
  for (const auto& [word, n] : exampleWords) {
    std::string lemma;
    if (lemmaIndex.count(word))
      lemma = word;
    else if (auto it = irregularBase.find(word); it != irregularBase.end())
      lemma = it->second;
    else
      lemma = regularStem(word, lemmaIndex);
    if (!lemma.empty()) lemmaCounts[lemma] += n;
  }
  for (DictEntry& e : out.headwords) {
    if (e.caption.find(' ') != std::string::npos) continue;
    if (auto it = lemmaCounts.find(lower(e.caption)); it != lemmaCounts.end())
      e.frequency += it->second;
  }
}

}  // namespace

std::vector<std::string> wordNetInputFiles(const std::string& dir) {
  std::vector<std::string> files;
  for (const char* pos : kPosNames) {
    files.push_back(dir + "/index." + pos);
    files.push_back(dir + "/data." + pos);
  }
  for (const char* exc : {"noun.exc", "verb.exc", "adj.exc", "adv.exc"})
    files.push_back(dir + "/" + exc);
  files.push_back(dir + "/cntlist.rev");
  return files;
}

bool readWordNet(const std::string& dir, WordNetData& out, std::string& error) {
  SenseCounts senseCounts;
  if (!readSenseCounts(dir, senseCounts, error)) return false;
  HeadwordCollector collector(out);
  std::unordered_map<std::string, int> exampleWords;
  for (int p = 0; p < 4; ++p)
    if (!readPartOfSpeech(dir, p, senseCounts, collector, exampleWords, error)) return false;
  collector.orderSenses();
  if (!readExceptions(dir, out, error)) return false;
  creditExampleWords(exampleWords, out);
  if (out.headwords.empty()) {
    error = "no headwords found in " + dir;
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
