#pragma once
// The line of simplified Chinese equivalents that opens an entry's explanation:
// "跑；跑步；奔跑" — at most four words, each holding Chinese characters, joined by "；".
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::dictbuild {

inline constexpr size_t kMostChineseWords = 4;
inline constexpr char kChineseSeparator[] = "；";

std::string chineseLine(const std::vector<std::string>& words);

// A CJK unified ideograph (basic block, extension A, B to F, compatibility).
bool isHanCharacter(char32_t c);

// True when the explanation's first line holds a Chinese character: it then is the line above.
bool opensWithChineseLine(std::string_view explanation);

// What a Chinese sense says when it is not the word's own everyday sense: the expansion of an
// acronym ("设备准确度测试站（Equipment Accuracy Test Station）", any "abbr." line), the title of
// a film, book, series or song or a brand ("因祸得福（电影名）"), a chemical element
// ("锂(3号元素)"), or a pointer to another headword ("=decarbonize", "-bos 小坏蛋").
enum class OtherSense { None, Acronym, Title, Element, CrossReference };

// The kind of one item of a Chinese line (a word between "；"), the part of speech taken off.
OtherSense otherSenseOfItem(std::string_view item);
// The kind of a whole line's first item.
OtherSense otherSenseOfLine(std::string_view line);
// "acronym", "title", "element", "cross-reference"; "" for None.
const char* describe(OtherSense kind);
// The headword an "=X" item points to ("=decarbonize[亦作decarburise]" -> "decarbonize"); empty
// for any other item.
std::string crossReferenceTarget(std::string_view item);

// `line` without the part of speech it opens with ("n. 跑" -> "跑").
std::string_view withoutPartOfSpeech(std::string_view line);

// Checks an explanation whose first line is a Chinese line; false with the reason otherwise.
bool checkChineseLine(std::string_view explanation, std::string& why);

}  // namespace quorvi::dictbuild
