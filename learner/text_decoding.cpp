#include "learner/text_decoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quorvi::learner {
namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point at `i` of valid UTF-8, moving `i` past it; nullopt (and `i` unmoved) when
// the bytes there are no valid UTF-8.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return text[i++];
  int length;
  char32_t c;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (i + static_cast<std::size_t>(length) > text.size()) return std::nullopt;
  for (int k = 1; k < length; ++k) {
    const unsigned char next = byte(i + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  i += static_cast<std::size_t>(length);
  return c;
}

bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    // Runs of plain ASCII, eight bytes at a time.
    std::uint64_t eight;
    if (i + 8 <= text.size()) {
      std::memcpy(&eight, text.data() + i, 8);
      if ((eight & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    if (!nextUtf8(text, i)) return false;
  }
  return true;
}

// UTF-16 or UTF-32 (after its mark) to UTF-8; nullopt when a unit is no character.
std::optional<std::string> fromWide(std::string_view bytes, int unit, bool bigEndian) {
  const auto at = [&](std::size_t i) -> std::uint32_t {
    std::uint32_t value = 0;
    for (int k = 0; k < unit; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      value |= static_cast<std::uint32_t>(b) << (8 * (bigEndian ? unit - 1 - k : k));
    }
    return value;
  };
  if (bytes.size() % static_cast<std::size_t>(unit) != 0) return std::nullopt;
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); i += static_cast<std::size_t>(unit)) {
    char32_t c = at(i);
    if (unit == 2 && c >= 0xD800 && c <= 0xDBFF) {
      if (i + 4 > bytes.size()) return std::nullopt;
      const char32_t low = at(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      return std::nullopt;
    }
    appendUtf8(out, c);
  }
  return out;
}

std::optional<std::string> fromGb18030(std::string_view bytes) {
  iconv_t convert = iconv_open("UTF-8", "GB18030");
  if (convert == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* to = out.data();
  std::size_t toLeft = out.size();
  const std::size_t done = iconv(convert, &in, &inLeft, &to, &toLeft);
  iconv_close(convert);
  if (done == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - toLeft);
  return out;
}

// CRLF and lone CR become LF.
std::string withLfLineEnds(std::string text) {
  std::size_t from = text.find('\r');
  if (from == std::string::npos) return text;
  std::size_t to = from;
  while (from < text.size()) {
    if (text[from] == '\r') {
      text[to++] = '\n';
      ++from;
      if (from < text.size() && text[from] == '\n') ++from;
      continue;
    }
    const std::size_t next = std::min(text.find('\r', from), text.size());
    std::memmove(text.data() + to, text.data() + from, next - from);
    to += next - from;
    from = next;
  }
  text.resize(to);
  return text;
}

// Binary data: a NUL byte, or more control characters than a text ever has.
bool looksBinary(std::string_view text) {
  if (std::memchr(text.data(), 0, text.size()) != nullptr) return true;
  static const auto kControl = [] {
    std::array<unsigned char, 256> control{};
    for (int c = 1; c < 0x20; ++c) control[c] = 1;
    for (const char allowed : {'\t', '\n', '\r', '\f', '\v', '\x1b'})
      control[static_cast<unsigned char>(allowed)] = 0;
    return control;
  }();
  std::size_t controls = 0;
  for (const char c : text) controls += kControl[static_cast<unsigned char>(c)];
  return controls > 8 && controls * 100 > text.size();
}

}  // namespace

std::optional<std::string> decodeText(std::string_view bytes, std::string& why) {
  why.clear();
  std::optional<std::string> text;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    if (isUtf8(bytes)) text = std::string(bytes);
  } else if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) {
    text = fromWide(bytes.substr(4), 4, false);
  } else if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
    text = fromWide(bytes.substr(4), 4, true);
  } else if (bytes.starts_with("\xFF\xFE")) {
    text = fromWide(bytes.substr(2), 2, false);
  } else if (bytes.starts_with("\xFE\xFF")) {
    text = fromWide(bytes.substr(2), 2, true);
  } else if (isUtf8(bytes)) {
    text = std::string(bytes);
  } else if (!looksBinary(bytes)) {
    text = fromGb18030(bytes);
  }
  if (!text || looksBinary(*text)) {
    why = "not a text file (a word list is UTF-8, UTF-16 or UTF-32 text)";
    return std::nullopt;
  }
  return withLfLineEnds(std::move(*text));
}

std::string printableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char escape[16];
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const std::optional<char32_t> c = nextUtf8(text, i);
    if (!c) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i++]));
      out += escape;
      continue;
    }
    const bool control = *c < 0x20 || (*c >= 0x7F && *c <= 0x9F);
    const bool turnsDirection = (*c >= 0x202A && *c <= 0x202E) || (*c >= 0x2066 && *c <= 0x2069) ||
                                *c == 0x200E || *c == 0x200F || *c == 0x061C;
    if (control && *c < 0x80) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(*c));
      out += escape;
    } else if (control || turnsDirection) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(*c));
      out += escape;
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  return out;
}

}  // namespace quorvi::learner
