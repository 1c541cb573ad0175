#include "engine/unicode_text.h"

#include <locale.h>
#include <wctype.h>

namespace quorvi::engine {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The C library's UTF-8 locale, made once; null where the system has none (then only ASCII
// letters have a case).
locale_t utf8Locale() {
  static const locale_t locale =
      newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// The code point starting at `text[i]`, advancing `i` past it. A byte that starts no UTF-8
// character (or a longer form, a surrogate or a cut one) is one U+FFFD, and reading goes on
// at the byte after it, as the toolkit reads.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
  const std::size_t start = i;
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, least = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      i = start + 1;
      return kReplacement;
    }
    c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
    i = start + 1;
    return kReplacement;
  }
  return c;
}

}  // namespace

std::u32string codePointsOfUtf8(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out.push_back(nextCodePoint(utf8, i));
  return out;
}

std::u16string utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) appendUtf16(out, nextCodePoint(utf8, i));
  return out;
}

void appendUtf16(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(c));
  }
}

void appendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string utf8FromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    appendUtf8(out, c);
  }
  return out;
}

bool isLowerCase(char32_t c) {
  if (c < 0x80) return c >= U'a' && c <= U'z';
  const locale_t locale = utf8Locale();
  // A title-case letter (ǅ) is in both classes there, and neither lower nor upper case here.
  return locale != nullptr && iswlower_l(static_cast<wint_t>(c), locale) != 0 &&
         iswupper_l(static_cast<wint_t>(c), locale) == 0;
}

bool isUpperCase(char32_t c) {
  if (c < 0x80) return c >= U'A' && c <= U'Z';
  const locale_t locale = utf8Locale();
  return locale != nullptr && iswupper_l(static_cast<wint_t>(c), locale) != 0 &&
         iswlower_l(static_cast<wint_t>(c), locale) == 0;
}

char32_t lowerCase(char32_t c) {
  if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
  const locale_t locale = utf8Locale();
  return locale == nullptr ? c : static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
}

}  // namespace quorvi::engine
