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

// Checks an explanation whose first line is a Chinese line; false with the reason otherwise.
bool checkChineseLine(std::string_view explanation, std::string& why);

}  // namespace quorvi::dictbuild
