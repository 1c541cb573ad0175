// checkPhonetic and buildPhoneticPattern on arbitrary UTF-16 input (the bytes read as
// little-endian code units). Accepted input must give a non-empty pattern that ends in ".*" and
// holds only the characters a pattern may hold, since it goes into a statement; rejected input
// must not crash the builder either.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "engine/phonetic_dictionary.h"

namespace {

bool patternCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '&' || c == '#' || c == ';' ||
         c == '.' || c == '*';
}

[[noreturn]] void fail(const char* what, const std::string& pattern) {
  std::fprintf(stderr, "%s: \"%s\"\n", what, pattern.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string typed;
  typed.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2)
    typed.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  const bool accepted = PhoneticDictionary::checkPhonetic(typed);
  const std::string pattern = PhoneticDictionary::buildPhoneticPattern(typed);
  if (!accepted) return 0;

  if (pattern.empty()) fail("empty pattern for accepted input", pattern);
  if (!pattern.ends_with(".*")) fail("pattern does not end in .*", pattern);
  if (pattern.starts_with(".")) fail("pattern starts with a wildcard", pattern);
  for (char c : pattern)
    if (!patternCharacter(c)) fail("character a pattern may not hold", pattern);
  // Every symbol contributes one piece, so there are never more pieces than code units.
  size_t pieces = 0;
  for (size_t at = pattern.find(".*"); at != std::string::npos; at = pattern.find(".*", at + 2))
    ++pieces;
  if (pieces > typed.size()) fail("more pieces than typed code units", pattern);
  return 0;
}
