#include "cedict_gloss.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "ascii_case.h"

namespace quorvi::dictbuild {
namespace {

// Glosses that point elsewhere or describe a word's grammar rather than its meaning.
constexpr std::array<std::string_view, 24> kSkippedOpenings = {"variant of",
                                                               "old variant of",
                                                               "archaic variant of",
                                                               "erhua variant of",
                                                               "japanese variant of",
                                                               "erroneous variant of",
                                                               "euphemistic variant of",
                                                               "also written",
                                                               "also pr.",
                                                               "pr. ",
                                                               "see ",
                                                               "used in ",
                                                               "surname ",
                                                               "abbr. for",
                                                               "abbr. to",
                                                               "abbr. of",
                                                               "classifier for",
                                                               "cl:",
                                                               "name of ",
                                                               "particle ",
                                                               "(particle",
                                                               "(classifier",
                                                               "(abbr.",
                                                               "(used in"};

// Usage labels of words a learner should not be offered as the equivalent.
// Honorific and humble forms ("(honorific) your": 贵) are no plain equivalents either.
constexpr std::array<std::string_view, 22> kSkippedLabels = {"archaic",
                                                             "literary",
                                                             "old",
                                                             "dialect",
                                                             "tw",
                                                             "cantonese",
                                                             "hk",
                                                             "slang",
                                                             "internet slang",
                                                             "vulgar",
                                                             "classical",
                                                             "derog.",
                                                             "onom.",
                                                             "taboo",
                                                             "old usage",
                                                             "obsolete",
                                                             "bird species of china",
                                                             "of a woman",
                                                             "honorific",
                                                             "polite",
                                                             "courteous",
                                                             "humble"};

// Labels that leave a gloss as plain as it was.
constexpr std::array<std::string_view, 4> kPlainLabels = {"coll.", "informal", "loanword",
                                                          "lit. and fig."};

template <size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::string trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  const size_t b = s.find_last_not_of(" \t.");
  return b < a ? std::string() : s.substr(a, b - a + 1);
}

std::string trimSpaces(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Removes "(...)" groups, whose texts go to `labels`, and "[...]" pinyin references.
std::string withoutGroups(const std::string& gloss, std::vector<std::string>& labels) {
  std::string out, label;
  int depth = 0;
  char opener = 0;
  for (char c : gloss) {
    if (c == '(' || c == '[') {
      if (depth++ == 0) {
        label.clear();
        opener = c;
      }
    } else if ((c == ')' || c == ']') && depth > 0) {
      if (--depth == 0 && opener == '(') labels.push_back(trimSpaces(label));
    } else if (depth > 0) {
      label += c;
    } else {
      out += c;
    }
  }
  return out;
}

void applyLabel(const std::string& label, GlossReading& r) {
  if (label == "idiom" || label == "proverb" || label == "saying")
    r.idiom = true;
  else if (listed(kSkippedLabels, label))
    r.skip = true;
  else if (startsWith(label, "cl:"))
    return;  // the classifier a plain noun takes
  else if (!listed(kPlainLabels, label))
    r.qualified = true;
}

// "to look after sb" -> "look after"; "a cat" -> "cat".
std::string keyOf(std::string phrase, GlossReading& r) {
  phrase = trim(phrase);
  if (startsWith(phrase, "to be ")) {
    r.stative = true;
    phrase.erase(0, 6);
  } else if (startsWith(phrase, "to ")) {
    r.verb = true;
    phrase.erase(0, 3);
  }
  for (std::string_view article : {"a ", "an ", "the ", "one's "})
    if (startsWith(phrase, article)) phrase.erase(0, article.size());
  // A verb's object: "to look after sb". Elsewhere it belongs to the phrase: "beside oneself".
  for (std::string_view object :
       {" sb/sth", " sth/sb", " sb", " sth", " oneself", " sb's", " one's"})
    if (r.verb && endsWith(phrase, object)) phrase.erase(phrase.size() - object.size());
  return trim(phrase);
}

size_t wordCount(const std::string& s) {
  return static_cast<size_t>(std::count(s.begin(), s.end(), ' ')) + 1;
}

// "big, huge" splits in two; a comma inside a longer description does not.
std::vector<std::string> alternatives(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ';' || text[i] == ',') {
      parts.push_back(trim(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  // "1,4-benzoquinone" is one name.
  const bool shortParts = std::all_of(parts.begin(), parts.end(), [](const std::string& p) {
    return wordCount(p) <= 3 && std::any_of(p.begin(), p.end(), [](char c) {
             return std::isalpha(static_cast<unsigned char>(c));
           });
  });
  if (!shortParts && text.find(';') == std::string::npos) return {trim(text)};
  return parts;
}

// "Alamo, city in United States", "Homer, poet of ancient Greece": a name of one to three
// capitalised words, then a description of what it names, which is no list of alternatives
// (more than three words). The name is what the Chinese word equates with, unless it names a
// firm or its brand ("Coop, Swiss retailer"), which is no sense a learner hears the word in.
std::string nameBeforeDescription(const std::string& gloss) {
  const size_t comma = gloss.find(", ");
  if (comma == std::string::npos || comma == 0) return {};
  const std::string name = gloss.substr(0, comma);
  const std::string description = trim(gloss.substr(comma + 2));
  if (wordCount(name) > 3 || description.empty() || wordCount(description) <= 3) return {};
  std::string described(1, ' ');
  described.append(lowerAscii(description)).push_back(' ');
  for (std::string_view firm :
       {"company", "corporation", "retailer", "brand", "manufacturer", "airline", "firm", "app"})
    for (size_t at = described.find(firm); at != std::string::npos;
         at = described.find(firm, at + 1))
      if (!std::isalpha(static_cast<unsigned char>(described[at - 1])) &&
          !std::isalpha(static_cast<unsigned char>(described[at + firm.size()])))
        return {};
  bool wordStart = true;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == ' ') {
      wordStart = true;
      continue;
    }
    if ((wordStart && !std::isupper(u)) || !(std::isalpha(u) || c == '-' || c == '\'')) return {};
    wordStart = false;
  }
  return name;
}

}  // namespace

GlossReading readGloss(const std::string& gloss) {
  GlossReading r;
  const std::string lowered = lowerAscii(trim(gloss));
  for (std::string_view opening : kSkippedOpenings)
    if (startsWith(lowered, opening)) r.skip = true;
  std::vector<std::string> labels;
  const std::string text = withoutGroups(lowered, labels);
  for (const std::string& label : labels) applyLabel(label, r);
  if (r.skip) return r;
  for (const std::string& part : alternatives(text)) {
    if (part.empty() || std::any_of(part.begin(), part.end(), [](char c) { return c & 0x80; }))
      continue;
    std::string key = keyOf(part, r);
    if (!key.empty()) r.keys.push_back(std::move(key));
  }
  if (r.keys.size() == 1 && wordCount(r.keys.front()) > 3)
    r.name = nameBeforeDescription(trim(gloss));
  return r;
}

}  // namespace quorvi::dictbuild
