#include "utf8.h"

namespace quorvi::dictbuild {

std::optional<std::u32string> decodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F;
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F;
      extra = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07;
      extra = 3;
    } else
      return std::nullopt;
    if (i + extra >= text.size() && extra > 0) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return std::nullopt;
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

bool isValidUtf8(std::string_view text) {
  return decodeUtf8(text).has_value();
}

std::string encodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t cp : text) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::string encodeUtf8(std::u16string_view text) {
  return encodeUtf8(std::u32string(text.begin(), text.end()));
}

std::u16string toUtf16(std::u32string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char32_t cp : text)
    if (cp < 0x10000) out.push_back(static_cast<char16_t>(cp));
  return out;
}

}  // namespace quorvi::dictbuild
