#pragma once
// How common Chinese words are in running text: the word list of the jieba segmenter
// (Debian package python3-jieba, lines "word count tag").
#include <string>
#include <unordered_map>

namespace quorvi::dictbuild {

inline const char kJiebaWordList[] = "/usr/lib/python3/dist-packages/jieba/dict.txt";

using ChineseWordFrequencies = std::unordered_map<std::string, double>;

// Reads the list; malformed lines are passed over. False with a message when unreadable.
bool loadChineseWordFrequencies(const std::string& path, ChineseWordFrequencies& out,
                                std::string& error);

}  // namespace quorvi::dictbuild
