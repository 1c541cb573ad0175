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

}  // namespace

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
