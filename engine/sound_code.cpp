#include "engine/sound_code.h"

#include "engine/ipa_symbols.h"

namespace sound {
namespace {

struct Symbol {
  char32_t codePoint;
  char code;
};

constexpr Symbol kSymbols[] = {
    {U'\u00E6', code::kAsh},       {U'\u00F0', code::kEth},       {U'\u014B', code::kEng},
    {U'\u0251', code::kOpenBackA}, {U'\u0254', code::kOpenO},     {U'\u0259', code::kSchwa},
    {U'\u025B', code::kOpenE},     {U'\u0261', code::kScriptG},   {U'\u026A', code::kSmallCapitalI},
    {U'\u0283', code::kEsh},       {U'\u028C', code::kTurnedV},   {U'\u0292', code::kEzh},
    {U'\u02C8', kPrimaryStress},   {U'\u02CC', kSecondaryStress}, {U'\u02D0', kLength},
    {U'\u03B8', code::kTheta},
};

char codeOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return static_cast<char>(c);
  if (c >= U'A' && c <= U'Z') return static_cast<char>(c - U'A' + U'a');
  if (c == U':') return kLength;
  if (c == U'\'') return kPrimaryStress;
  for (const Symbol& s : kSymbols)
    if (s.codePoint == c) return s.code;
  return kUnknown;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads "&#digits;" at the front of `text`; 0 when it is not one.
size_t referenceLength(std::string_view text, char32_t& codePoint) {
  if (text.size() < 4 || text[0] != '&' || text[1] != '#' || !isDigit(text[2])) return 0;
  char32_t value = 0;
  size_t i = 2;
  for (; i < text.size() && isDigit(text[i]) && i < 10; ++i) value = value * 10 + (text[i] - '0');
  if (i >= text.size() || text[i] != ';') return 0;
  codePoint = value;
  return i + 1;
}

// Reads one UTF-8 sequence at the front of `text` (at least one byte).
size_t utf8Length(std::string_view text, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (length == 1 || length > text.size()) {
    codePoint = lead < 0x80 ? lead : 0xFFFD;
    return 1;
  }
  codePoint = lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i)
    codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  return length;
}

}  // namespace

std::string fromStored(std::string_view stored) {
  std::string codes;
  codes.reserve(stored.size());
  while (!stored.empty()) {
    char32_t c = 0;
    size_t length = referenceLength(stored, c);
    if (length == 0) length = utf8Length(stored, c);
    codes.push_back(codeOf(c));
    stored.remove_prefix(length);
  }
  return codes;
}

std::string fromIpa(std::string_view ipa) {
  std::string codes;
  codes.reserve(ipa.size());
  while (!ipa.empty()) {
    char32_t c = 0;
    const size_t length = utf8Length(ipa, c);
    if (c != U' ') codes.push_back(codeOf(quorvi::ipa::storedSymbol(c)));
    ipa.remove_prefix(length);
  }
  return codes;
}

std::string fromSymbols(std::u16string_view symbols) {
  std::string codes;
  codes.reserve(symbols.size());
  for (char16_t c : symbols) codes.push_back(codeOf(c));
  return codes;
}

std::string toSymbols(std::string_view codes) {
  std::string text;
  for (const char code : codes) {
    char32_t c = static_cast<unsigned char>(code);
    for (const Symbol& s : kSymbols)
      if (s.code == code) c = s.codePoint;
    if (c < 0x80) {
      text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      text.push_back(static_cast<char>(0xC0 | (c >> 6)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      text.push_back(static_cast<char>(0xE0 | (c >> 12)));
      text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return text;
}

}  // namespace sound
