// Text conversions and letter case for the engine, without the toolkit: UTF-8 as stored and
// printed, UTF-16 as typed into the window, code points where letters are weighed.
#pragma once

#include <string>
#include <string_view>

namespace quorvi::engine {

// UTF-8 to UTF-16 and back. A byte sequence that is no UTF-8 character becomes U+FFFD, as the
// toolkit reads it; a lone surrogate, or no code point at all, is written as U+FFFD.
std::u16string utf16FromUtf8(std::string_view utf8);
std::string utf8FromUtf16(std::u16string_view utf16);
std::u32string codePointsOfUtf8(std::string_view utf8);
void appendUtf8(std::string& out, char32_t c);
void appendUtf16(std::u16string& out, char32_t c);

// Unicode letter case by the C library's UTF-8 classification, whatever the process's locale.
bool isLowerCase(char32_t c);
bool isUpperCase(char32_t c);
char32_t lowerCase(char32_t c);

}  // namespace quorvi::engine
