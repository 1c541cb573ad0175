#include "american_phones.h"

#include <set>
#include <string_view>

namespace quorvi::dictbuild {
namespace {

struct Sound {
  std::string_view name;
  std::string_view ipa;  // as printed; the vowels' forms by stress are chosen in vowelOf
};

constexpr Sound kConsonants[] = {
    {"B", "b"}, {"CH", "tʃ"}, {"D", "d"},  {"DH", "ð"},  {"F", "f"},  {"G", "ɡ"},
    {"HH", "h"}, {"JH", "dʒ"}, {"K", "k"},  {"L", "l"},   {"M", "m"},  {"N", "n"},
    {"NG", "ŋ"}, {"P", "p"},  {"R", "r"},  {"S", "s"},   {"SH", "ʃ"}, {"T", "t"},
    {"TH", "θ"}, {"V", "v"},  {"W", "w"},  {"Y", "j"},   {"Z", "z"},  {"ZH", "ʒ"},
};
constexpr std::string_view kVowels[] = {"AA", "AE", "AH", "AO", "AW", "AY", "EH", "ER",
                                        "EY", "IH", "IY", "OW", "OY", "UH", "UW"};
// ER whose r is printed as the next syllable's first sound.
constexpr char kRlessEr[] = "ER-";

// The consonants that can begin an English syllable together (besides each one alone, ŋ
// aside), joined by '+'.
bool isOnset(const std::vector<AmericanPhone>& phones, size_t from, size_t to) {
  static const std::set<std::string> clusters = {
      "P+R",   "B+R",   "T+R",   "D+R",   "K+R",   "G+R",   "F+R",   "TH+R", "SH+R", "P+L",
      "B+L",   "K+L",   "G+L",   "F+L",   "S+L",   "P+Y",   "B+Y",   "T+Y",  "D+Y",  "K+Y",
      "G+Y",   "M+Y",   "N+Y",   "F+Y",   "V+Y",   "TH+Y",  "S+Y",   "Z+Y",  "HH+Y", "L+Y",
      "T+W",   "D+W",   "K+W",   "G+W",   "S+W",   "TH+W",  "S+P",   "S+T",  "S+K",  "S+M",
      "S+N",   "S+F",   "S+P+R", "S+T+R", "S+K+R", "S+P+L", "S+K+L", "S+P+Y", "S+K+Y",
      "S+K+W", "S+M+Y"};
  if (to - from == 1) return phones[from].name != "NG";
  std::string key;
  for (size_t i = from; i < to; ++i) key += (key.empty() ? "" : "+") + phones[i].name;
  return clusters.count(key) != 0;
}

// An r that closes the vowel's syllable: no vowel after it in the word.
bool closingR(const std::vector<AmericanPhone>& phones, size_t r, size_t wordEnd) {
  return r < wordEnd && phones[r].name == "R" && (r + 1 >= wordEnd || !isArpabetVowel(phones[r + 1].name));
}

std::string vowelOf(const std::vector<AmericanPhone>& phones, size_t at, size_t wordEnd) {
  const AmericanPhone& v = phones[at];
  const bool weak = v.stress == 0;
  if (v.name == "AA") return "ɑː";
  if (v.name == "AE") return "æ";
  if (v.name == "AH") return weak ? "ə" : "ʌ";
  if (v.name == "AO") return "ɔː";
  if (v.name == "AW") return "aʊ";
  if (v.name == "AY") return "aɪ";
  if (v.name == "EH") return "e";
  if (v.name == "ER") return weak ? "ər" : "ɜːr";
  if (v.name == kRlessEr) return weak ? "ə" : "ɜː";
  if (v.name == "EY") return "eɪ";
  if (v.name == "IH") return "ɪ";
  // The vowel of near before its r; the weak one of happy.
  if (v.name == "IY") return closingR(phones, at + 1, wordEnd) ? "ɪ" : weak ? "i" : "iː";
  if (v.name == "OW") return "oʊ";
  if (v.name == "OY") return "ɔɪ";
  if (v.name == "UH") return "ʊ";
  if (v.name == "UW") return weak ? "u" : "uː";
  return {};
}

std::string_view consonantOf(const std::string& name) {
  for (const Sound& s : kConsonants)
    if (s.name == name) return s.ipa;
  return {};
}

// One word [begin, end): its marks, then its sounds.
std::string printWord(const std::vector<AmericanPhone>& word, size_t wordBegin, size_t wordEnd) {
  // An r-coloured vowel before a vowel: its r begins the next syllable (garage ɡəˈrɑːʒ).
  std::vector<AmericanPhone> phones;
  for (size_t i = wordBegin; i < wordEnd; ++i) {
    phones.push_back(word[i]);
    if (word[i].name == "ER" && i + 1 < wordEnd && isArpabetVowel(word[i + 1].name)) {
      phones.back().name = kRlessEr;
      phones.push_back({"R", -1, false});
    }
  }
  const size_t begin = 0, end = phones.size();
  size_t vowels = 0, lastPrimary = end;
  for (size_t i = begin; i < end; ++i) {
    if (!isArpabetVowel(phones[i].name)) continue;
    ++vowels;
    if (phones[i].stress == 1) lastPrimary = i;
  }
  // One primary stress a word, the last: an earlier one is secondary (thirteen ˌθɜːrˈtiːn).
  for (size_t i = begin; i < lastPrimary; ++i)
    if (phones[i].stress == 1) phones[i].stress = 2;
  std::vector<std::string> marks(end - begin);
  if (vowels > 0) {
    size_t previousVowelEnd = begin;
    for (size_t i = begin; i < end; ++i) {
      if (!isArpabetVowel(phones[i].name)) continue;
      const int stress = phones[i].stress;
      const bool marked = stress == 1 || (stress == 2 && i < lastPrimary);
      if (marked) {
        size_t onset = i;
        if (previousVowelEnd == begin)
          onset = begin;  // the consonants a word begins with all begin its first syllable
        else
          while (onset > previousVowelEnd && isOnset(phones, onset - 1, i)) --onset;
        marks[onset - begin] = stress == 1 ? "ˈ" : "ˌ";
      }
      previousVowelEnd = i + 1;
    }
  }
  std::string out;
  for (size_t i = begin; i < end; ++i) {
    out += marks[i - begin];
    // The r of an r-coloured vowel is already printed with it.
    if (phones[i].name == "R" && i > begin && phones[i - 1].name == "ER") continue;
    if (isArpabetVowel(phones[i].name))
      out += vowelOf(phones, i, end);
    else
      out += consonantOf(phones[i].name);
  }
  return out;
}

}  // namespace

bool isArpabetVowel(const std::string& name) {
  if (name == kRlessEr) return true;
  for (std::string_view v : kVowels)
    if (v == name) return true;
  return false;
}

bool isArpabetSound(const std::string& name) {
  return isArpabetVowel(name) || !consonantOf(name).empty();
}

std::string printAmerican(const std::vector<AmericanPhone>& phones) {
  std::string out;
  bool anyVowel = false;
  size_t begin = 0;
  for (size_t i = 1; i <= phones.size(); ++i) {
    if (i < phones.size() && !phones[i].wordStart) continue;
    for (size_t v = begin; v < i; ++v) anyVowel = anyVowel || isArpabetVowel(phones[v].name);
    if (i > begin) {
      if (!out.empty()) out += ' ';
      out += printWord(phones, begin, i);
    }
    begin = i;
  }
  return anyVowel ? out : std::string();
}

}  // namespace quorvi::dictbuild
