#include "ecdict_heard_words.h"

#include <cctype>

#include <algorithm>

#include "ascii_case.h"
#include "chinese_line.h"
#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

std::string_view firstLineOf(std::string_view translation) {
  return translation.substr(0, translation.find("\\n"));
}

bool holds(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The text of `part` with everything in brackets of any kind taken out.
std::u32string outsideBrackets(std::u32string_view part) {
  std::u32string out;
  int depth = 0;
  for (char32_t c : part) {
    if (c == U'(' || c == U'（' || c == U'[' || c == U'<') {
      ++depth;
    } else if (c == U')' || c == U'）' || c == U']' || c == U'>') {
      depth = std::max(0, depth - 1);
    } else if (depth == 0) {
      out.push_back(c);
    }
  }
  return out;
}

// The run of Han characters a part holds, when it holds no other letters; empty otherwise.
std::u32string hanOnly(std::u32string_view text) {
  std::u32string out;
  for (char32_t c : text) {
    if (isHanCharacter(c))
      out.push_back(c);
    else if (c != U' ' && c != U'.' && c != U'n' && c != U'·' && c != U'・')
      return {};
  }
  return out;
}

// ECDICT ranks some 50,000 words by use; below them its spellings are mostly rare or made up.
constexpr long kUnlistedWordRank = 50000;

const EcdictWord* recordOfName(const std::string& word, const EcdictData& ecdict) {
  if (const EcdictWord* w = ecdict.find(word)) return w;
  return ecdict.find(lowerAscii(word));
}

}  // namespace

std::string ecdictNameChinese(const std::string& translation) {
  const auto line = decodeUtf8(firstLineOf(translation));
  if (!line) return {};
  std::u32string first, english;
  size_t start = 0;
  while (start <= line->size()) {
    size_t end = line->find_first_of(U"；;", start);
    if (end == std::u32string::npos) end = line->size();
    const std::u32string_view part = std::u32string_view(*line).substr(start, end - start);
    const std::u32string han = hanOnly(outsideBrackets(part));
    if (!han.empty() && han != U"人名" && han.size() <= 6) {
      if (first.empty()) first = han;
      if (english.empty() && part.find(U"(英)") != std::u32string_view::npos) english = han;
    }
    start = end + 1;
  }
  return encodeUtf8(english.empty() ? first : english);
}

NameExplanation ecdictPersonName(const std::string& word, const EcdictData& ecdict) {
  NameExplanation out;
  if (!startsCapitalised(word)) return out;
  const EcdictWord* w = recordOfName(word, ecdict);
  if (!w) return out;
  const std::string_view first = firstLineOf(w->translation);
  std::string line;
  const bool family = holds(first, "姓氏") || holds(first, "（姓）") || holds(first, "(姓)");
  const bool male = holds(first, "男子名"), female = holds(first, "女子名");
  if (family) {
    out.kind = NameKind::FamilyName;
    line = "a family name";
  } else if (male || female) {
    out.kind = NameKind::GivenName;
    line = std::string("a given name (") +
           (male && female ? "male or female"
            : male         ? "male"
                           : "female") +
           ")";
  } else if (holds(first, "(" + word + ")人名") || holds(first, "（人名）") ||
             holds(first, "(人名)")) {
    // A bare "person's name" is what ECDICT writes for family names from its name lists.
    out.kind = NameKind::FamilyName;
    line = "a family name";
  } else {
    return out;
  }
  const std::string chinese = ecdict.find(word) ? std::string() : ecdictNameChinese(w->translation);
  if (!chinese.empty()) out.lines.push_back(chinese);
  out.lines.push_back(line);
  return out;
}

std::vector<std::string> ecdictFormLabels(
    const std::string& word, const EcdictData& ecdict,
    const std::function<bool(const std::string&)>& isHeadword) {
  // ECDICT writes some forms of capitalised words in lower case (frenchmen, lemma frenchman):
  // a capitalised form's lemma is capitalised as it is.
  const EcdictWord* w = startsCapitalised(word) ? recordOfName(word, ecdict) : ecdict.find(word);
  if (!w) return {};
  const auto lemmas = exchangeValues(w->exchange, '0');
  const auto kinds = exchangeValues(w->exchange, '1');
  if (lemmas.empty() || kinds.empty()) return {};
  std::string lemma = lemmas.front();
  if (startsCapitalised(word) && !isHeadword(lemma) && !lemma.empty())
    lemma[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(lemma[0])));
  if (lemma == word || !isHeadword(lemma)) return {};
  const std::string& k = kinds.front();
  auto has = [&k](char c) { return k.find(c) != std::string::npos; };
  std::vector<std::string> out;
  if (has('s')) out.push_back("plural of " + lemma);
  if (has('3')) out.push_back("third person singular of " + lemma);
  if (has('p') && has('d'))
    out.push_back("past tense and past participle of " + lemma);
  else if (has('p'))
    out.push_back("past tense of " + lemma);
  else if (has('d'))
    out.push_back("past participle of " + lemma);
  if (has('i')) out.push_back("present participle of " + lemma);
  if (has('r')) out.push_back("comparative of " + lemma);
  if (has('t')) out.push_back("superlative of " + lemma);
  return out;
}

std::string ecdictWordLine(const std::string& word, const EcdictData& ecdict, bool spelled) {
  if (word.size() < 3 || startsCapitalised(word)) return {};
  const EcdictWord* w = ecdict.find(word);
  if (!w || !exchangeValues(w->exchange, '0').empty()) return {};
  // A spelling no word list has needs ECDICT to rank it among the words in use, and to say
  // what part of speech it is.
  const long rank = w->rank();
  if (!spelled && (rank <= 0 || rank > kUnlistedWordRank)) return {};
  const std::string_view first = firstLineOf(w->translation);
  if (first.rfind("abbr.", 0) == 0 || holds(first, "人名") || holds(first, "地名")) return {};
  bool special = false;
  const std::vector<std::string> lines = ecdictChineseLines(w->translation, 0, false, &special);
  if (lines.empty() || special) return {};
  // "X的变形" says only that the word is some form of X.
  if (holds(lines.front(), "的变形")) return {};
  if (!spelled && partOfSpeechOf(lines.front()) == 0) return {};
  return lines.front();
}

size_t addPersonNamesChinese(std::vector<DictEntry>& entries, const EcdictData& ecdict) {
  size_t given = 0;
  for (DictEntry& e : entries) {
    if (e.leftOut || !startsCapitalised(e.caption) || e.caption.find(' ') != std::string::npos)
      continue;
    const bool hasChinese =
        std::any_of(e.explainLines.begin(), e.explainLines.end(),
                    [](const std::string& l) { return opensWithChineseLine(l); });
    if (hasChinese || ecdictPersonName(e.caption, ecdict).lines.empty()) continue;
    const EcdictWord* w = recordOfName(e.caption, ecdict);
    const std::string chinese = w ? ecdictNameChinese(w->translation) : std::string();
    if (chinese.empty()) continue;
    e.explainLines.insert(e.explainLines.begin(), chinese);
    ++given;
  }
  return given;
}

}  // namespace quorvi::dictbuild
