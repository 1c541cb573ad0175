#include "voicing.h"

#include <algorithm>
#include <cctype>

#include "ascii_case.h"

namespace quorvi::dictbuild {
namespace {

bool isStressMark(char16_t c) {
  return c == u'ˈ' || c == u'ˌ';
}

bool isVoicingPair(char16_t a, char16_t b) {
  return (a == u's' && b == u'z') || (a == u'z' && b == u's');
}

bool isVowelLetter(char c) {
  return std::string_view("aeiouy").find(c) != std::string_view::npos;
}

}  // namespace

std::string voicingStemOf(const std::string& caption,
                          const std::function<bool(const std::string&)>& isHeadword) {
  static const char* const kSuffixes[] = {"ance", "ancy", "ant",  "ence", "ent",
                                          "ive",  "ible", "able", "er",   "ers",
                                          "or",   "ors",  "ful",  "ment", "ments"};
  for (const char* suffix : kSuffixes) {
    const std::string_view tail(suffix);
    if (caption.size() < tail.size() + 4 ||
        caption.compare(caption.size() - tail.size(), tail.size(), tail) != 0)
      continue;
    const std::string stem = caption.substr(0, caption.size() - tail.size());
    if (stem.find('s') != std::string::npos && isHeadword(stem)) return stem;
  }
  return {};
}

std::optional<std::u16string> withStemVoicing(const std::u16string& derivative,
                                              const std::u16string& stem) {
  size_t i = 0, j = 0, differs = std::u16string::npos;
  while (j < stem.size()) {
    if (isStressMark(stem[j])) {
      ++j;
      continue;
    }
    while (i < derivative.size() && isStressMark(derivative[i])) ++i;
    if (i == derivative.size()) return std::nullopt;
    if (derivative[i] != stem[j]) {
      if (differs != std::u16string::npos || !isVoicingPair(derivative[i], stem[j]))
        return std::nullopt;
      differs = i;
    }
    ++i;
    ++j;
  }
  if (differs == std::u16string::npos) return std::nullopt;
  std::u16string out = derivative;
  out[differs] = out[differs] == u's' ? u'z' : u's';
  return out;
}

std::u16string withNameEndingAs(const std::string& caption,
                                const std::vector<std::string>& explainLines,
                                std::u16string symbols) {
  const size_t n = caption.size();
  if (n < 5 || !startsCapitalised(caption) || caption.compare(n - 2, 2, "as") != 0 ||
      !std::isalpha(static_cast<unsigned char>(caption[n - 3])) ||
      isVowelLetter(static_cast<char>(std::tolower(static_cast<unsigned char>(caption[n - 3])))) ||
      !std::all_of(caption.begin(), caption.end(),
                   [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }))
    return symbols;
  const bool plural = std::any_of(explainLines.begin(), explainLines.end(),
                                  [](const auto& l) { return l.rfind("plural of ", 0) == 0; });
  if (!plural && symbols.size() >= 2 && symbols.compare(symbols.size() - 2, 2, u"əz") == 0)
    symbols.back() = u's';
  return symbols;
}

}  // namespace quorvi::dictbuild
