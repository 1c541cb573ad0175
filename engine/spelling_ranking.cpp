#include "engine/spelling_ranking.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "engine/unicode_text.h"

using quorvi::engine::codePointsOfUtf8;
using quorvi::engine::lowerCase;

namespace {

bool isSpecial(char32_t c) {
  return std::u32string_view(U".[]()*+?{}|\\^$").find(c) != std::u32string_view::npos;
}

bool isPlainWord(const std::u32string& caption) {
  return std::none_of(caption.begin(), caption.end(),
                      [](char32_t c) { return c == U' ' || quorvi::engine::isUpperCase(c); });
}

std::u32string lowered(std::u32string text) {
  for (char32_t& c : text) c = lowerCase(c);
  return text;
}

std::string utf8Of(std::u32string_view text) {
  std::string out;
  for (const char32_t c : text) quorvi::engine::appendUtf8(out, c);
  return out;
}

std::u32string literalPrefixOf(const std::u32string& pattern, bool& whole) {
  std::size_t i = pattern.starts_with(U'^') ? 1 : 0;
  std::u32string prefix;
  while (i < pattern.size() && !isSpecial(pattern[i])) prefix += pattern[i++];
  // A quantified last letter may be missing from a match.
  if (i < pattern.size() && std::u32string_view(U"*?{").find(pattern[i]) != std::u32string::npos &&
      !prefix.empty()) {
    prefix.pop_back();
    whole = false;
    return prefix;
  }
  whole = i == pattern.size() || (i + 1 == pattern.size() && pattern[i] == U'$');
  return prefix;
}

}  // namespace

std::string literalPrefix(const std::string& pattern, bool& whole) {
  return utf8Of(literalPrefixOf(codePointsOfUtf8(pattern), whole));
}

std::vector<std::string> rankSpellingMatches(const std::vector<std::string>& found,
                                             const std::string& pattern, std::ptrdiff_t limit) {
  bool whole = false;
  const std::u32string prefix = literalPrefixOf(codePointsOfUtf8(pattern), whole);
  const std::u32string lowerPrefix = lowered(prefix);
  struct Ranked {
    int tier;
    bool plain;
    std::size_t order;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    const std::u32string word = codePointsOfUtf8(found[i]);
    const std::u32string lowerWord = lowered(word);
    int tier = 4;
    if (whole && word == prefix)
      tier = 0;
    else if (whole && lowerWord == lowerPrefix)
      tier = 1;
    else if (!prefix.empty() && lowerWord.starts_with(lowerPrefix))
      tier = 2;
    ranked.push_back({tier, isPlainWord(word), i});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    if (a.tier != b.tier) return a.tier < b.tier;
    return a.plain && !b.plain;
  });
  std::vector<std::string> words;
  std::unordered_set<std::string> seen;
  for (const Ranked& r : ranked) {
    if (limit >= 0 && static_cast<std::ptrdiff_t>(words.size()) >= limit) break;
    const std::string& word = found[r.order];
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}
