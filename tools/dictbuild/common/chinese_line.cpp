#include "chinese_line.h"

#include <algorithm>

#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

std::string_view firstLine(std::string_view explanation) {
  return explanation.substr(0, explanation.find("<br/>"));
}

// Text the window shows as it stands: no markup, no control characters, no line breaks.
bool isPlainChar(char32_t c) {
  return c >= 0x20 && c != '<' && c != '>' && c != '&' && c != 0x7F;
}

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr std::string_view kSmallWords[] = {"of", "and", "the", "for", "in", "on",
                                            "at", "to",  "a",   "an",  "by", "with"};

// Bracketed English of two words or more, each capitalised, right after Chinese: the words an
// acronym stands for ("隐马尔可夫模型（Hidden Markov Model）"; not "炸薯条（French fries）").
bool holdsBracketedEnglishWords(std::string_view item) {
  for (const auto& [open, close] : {std::pair<std::string_view, std::string_view>{"（", "）"},
                                    std::pair<std::string_view, std::string_view>{"(", ")"}}) {
    for (size_t at = item.find(open); at != std::string_view::npos; at = item.find(open, at + 1)) {
      const size_t start = at + open.size(), end = item.find(close, start);
      if (end == std::string_view::npos) break;
      const std::string_view inside = item.substr(start, end - start);
      const bool english = !inside.empty() && std::all_of(inside.begin(), inside.end(), [](char c) {
        return isAsciiLetter(c) || c == ' ' || c == '-' || c == '&' || c == '.' || c == '\'';
      });
      // Right after Chinese: "a given name (male or female)" is an English gloss.
      const auto before = decodeUtf8(item.substr(0, at));
      const bool afterChinese = before && !before->empty() && isHanCharacter(before->back());
      // Every word capitalised but the small ones between ("Bill of Materials").
      bool capitalised = inside.front() >= 'A' && inside.front() <= 'Z';
      for (size_t at = 0; at < inside.size();) {
        const size_t end = std::min(inside.find_first_of(" -", at), inside.size());
        const std::string_view word = inside.substr(at, end - at);
        if (!word.empty() && !(word.front() >= 'A' && word.front() <= 'Z') &&
            std::find(std::begin(kSmallWords), std::end(kSmallWords), word) ==
                std::end(kSmallWords))
          capitalised = false;
        at = end + 1;
      }
      if (english && afterChinese && capitalised && inside.find(' ') != std::string_view::npos)
        return true;
    }
  }
  return false;
}

}  // namespace

std::string_view withoutPartOfSpeech(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && line[i] >= 'a' && line[i] <= 'z') ++i;
  if (i == 0 || i > 6 || i >= line.size() || line[i] != '.') return line;
  line.remove_prefix(i + 1);
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  return line;
}

OtherSense otherSenseOfItem(std::string_view item) {
  while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
  if (item.size() > 1 && (item[0] == '=' || (item[0] == '-' && isAsciiLetter(item[1]))))
    return OtherSense::CrossReference;
  const auto holds = [&](std::string_view part) {
    return item.find(part) != std::string_view::npos;
  };
  if (holds("号元素") || holds("化学元素")) return OtherSense::Element;
  // A title named to say whose character a name is ("齐格弗里德(德国民间史诗《尼贝龙根之歌》中的
  // 英雄人物)") leaves the name the sense.
  if (const size_t close = item.rfind("》"); close != std::string_view::npos) {
    const std::string_view after = item.substr(close + std::string_view("》").size());
    const bool character =
        after.starts_with("中的") && (after.find("人物") != std::string_view::npos ||
                                      after.find("主人公") != std::string_view::npos ||
                                      after.find("角色") != std::string_view::npos);
    if (!character) return OtherSense::Title;
  }
  // A note in brackets that the sense is a title or brand: "因祸得福（电影名）", "（服装品牌）";
  // not one that says what a person did ("美国小说家", "电影演员").
  const auto namesTitle = [&](size_t from, std::string_view mark) {
    for (size_t at = item.find(mark, from); at != std::string_view::npos;
         at = item.find(mark, at + 1)) {
      const std::string_view after = item.substr(at + mark.size());
      if (!after.starts_with("家") && !after.starts_with("演员") && !after.starts_with("导演") &&
          !after.starts_with("明星"))
        return true;
    }
    return false;
  };
  // A note after the name: "(影片的)连续镜头" opens with what it is a sense of, a film's.
  for (std::string_view open : {"（", "("})
    if (const size_t at = item.find(open); at != std::string_view::npos && at > 0)
      for (std::string_view mark : {"电影", "影片", "剧名", "电视剧", "书名", "小说", "歌曲",
                                    "专辑", "游戏名", "杂志", "乐队", "品牌", "商标"})
        if (namesTitle(at, mark)) return OtherSense::Title;
  if (holdsBracketedEnglishWords(item)) return OtherSense::Acronym;
  return OtherSense::None;
}

OtherSense otherSenseOfLine(std::string_view line) {
  line = withoutPartOfSpeech(line.substr(0, line.find("<br/>")));
  // The first item, or the title whose note names it with the words before ("宝鸟服饰；报喜鸟
  // （品牌名）").
  for (size_t start = 0; start <= line.size();) {
    const size_t end = std::min(line.find(kChineseSeparator, start), line.size());
    const std::string_view item = line.substr(start, end - start);
    const OtherSense kind = otherSenseOfItem(item);
    if (start == 0 && kind != OtherSense::Title) {
      if (kind != OtherSense::None) return kind;
    } else if (kind == OtherSense::Title) {
      return kind;
    }
    if (item.find("（") != std::string_view::npos || item.find('(') != std::string_view::npos)
      break;
    start = end + std::string_view(kChineseSeparator).size();
  }
  return OtherSense::None;
}

const char* describe(OtherSense kind) {
  switch (kind) {
    case OtherSense::Acronym:
      return "acronym";
    case OtherSense::Title:
      return "title";
    case OtherSense::Element:
      return "element";
    case OtherSense::CrossReference:
      return "cross-reference";
    case OtherSense::None:
      break;
  }
  return "";
}

std::string crossReferenceTarget(std::string_view item) {
  while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
  if (item.empty() || item.front() != '=') return {};
  item.remove_prefix(1);
  while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
  size_t end = 0;
  while (end < item.size() &&
         (isAsciiLetter(item[end]) || item[end] == '-' || item[end] == ' ' || item[end] == '\''))
    ++end;
  std::string target(item.substr(0, end));
  while (!target.empty() && (target.back() == ' ' || target.back() == '-')) target.pop_back();
  return target;
}

bool isHanCharacter(char32_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x20000 && c <= 0x2FA1F) || (c >= 0xF900 && c <= 0xFAFF);
}

std::string chineseLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& w : words) {
    if (!line.empty()) line += kChineseSeparator;
    line += w;
  }
  return line;
}

bool opensWithChineseLine(std::string_view explanation) {
  const auto text = decodeUtf8(firstLine(explanation));
  return !text ||
         std::any_of(text->begin(), text->end(), isHanCharacter);  // broken UTF-8 is checked too
}

bool checkChineseLine(std::string_view explanation, std::string& why) {
  const std::string_view line = firstLine(explanation);
  const auto text = decodeUtf8(line);
  if (!text) {
    why = "not UTF-8";
    return false;
  }
  const std::u32string separator = decodeUtf8(kChineseSeparator).value_or(U"");
  size_t words = 0, start = 0;
  while (start <= text->size()) {
    size_t end = text->find(separator, start);
    if (end == std::u32string::npos) end = text->size();
    const std::u32string_view word(text->data() + start, end - start);
    if (word.empty() || std::none_of(word.begin(), word.end(), isHanCharacter)) {
      why = "a word without Chinese characters";
      return false;
    }
    if (!std::all_of(word.begin(), word.end(), isPlainChar)) {
      why = "control characters or markup";
      return false;
    }
    ++words;
    start = end + separator.size();
  }
  if (words > kMostChineseWords) {
    why = "more than " + std::to_string(kMostChineseWords) + " words";
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
