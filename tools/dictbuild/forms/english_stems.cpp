#include "english_stems.h"

#include <array>
#include <string_view>

namespace quorvi::dictbuild {
namespace {

bool endsWith(const std::string& s, std::string_view suffix) {
  return s.size() > suffix.size() + 1 &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isVowel(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// "stopp" -> "stop" when the ending doubled the consonant.
void addStem(std::vector<BaseCandidate>& out, const std::string& stem, const std::string& pos) {
  out.push_back({stem, pos});
  out.push_back({stem + "e", pos});
  const size_t n = stem.size();
  if (n >= 3 && stem[n - 1] == stem[n - 2] && !isVowel(stem[n - 1]))
    out.push_back({stem.substr(0, n - 1), pos});
}

}  // namespace

std::vector<BaseCandidate> regularBaseCandidates(const std::string& word) {
  std::vector<BaseCandidate> out;
  auto cut = [&](size_t n) { return word.substr(0, word.size() - n); };
  if (endsWith(word, "ies")) out.push_back({cut(3) + "y", "nv"});
  if (endsWith(word, "ied")) out.push_back({cut(3) + "y", "v"});
  if (endsWith(word, "ier")) out.push_back({cut(3) + "y", "a"});
  if (endsWith(word, "iest")) out.push_back({cut(4) + "y", "a"});
  if (endsWith(word, "es")) out.push_back({cut(2), "nv"});
  if (endsWith(word, "s") && !endsWith(word, "ss")) out.push_back({cut(1), "nv"});
  if (endsWith(word, "ing")) addStem(out, cut(3), "v");
  if (endsWith(word, "ed")) addStem(out, cut(2), "v");
  if (endsWith(word, "est")) addStem(out, cut(3), "a");
  if (endsWith(word, "er")) addStem(out, cut(2), "a");
  return out;
}

std::vector<std::string> americanSpellings(const std::string& word) {
  struct Change {
    std::string_view british, american;
  };
  static constexpr std::array<Change, 9> kChanges = {{{"our", "or"},
                                                      {"ours", "ors"},
                                                      {"ourite", "orite"},
                                                      {"ourhood", "orhood"},
                                                      {"tre", "ter"},
                                                      {"ence", "ense"},
                                                      {"ise", "ize"},
                                                      {"ised", "ized"},
                                                      {"isation", "ization"}}};
  std::vector<std::string> out;
  for (const Change& c : kChanges)
    if (endsWith(word, c.british) && word.size() >= c.british.size() + 3)
      out.push_back(word.substr(0, word.size() - c.british.size()) + std::string(c.american));
  for (std::string_view inner : {"our", "ae", "oe"}) {
    const size_t at = word.find(inner, 1);  // behaviour, paediatric, manoeuvre
    if (at != std::string::npos && inner == "our" && at + 3 < word.size())
      out.push_back(word.substr(0, at) + "or" + word.substr(at + 3));
    else if (at != std::string::npos && inner != "our")
      out.push_back(word.substr(0, at) + "e" + word.substr(at + 2));
  }
  return out;
}

}  // namespace quorvi::dictbuild
