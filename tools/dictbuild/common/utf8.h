#pragma once
// Small UTF-8 / UTF-16 helpers for the dictionary builder.
#include <optional>
#include <string>
#include <string_view>

namespace quorvi::dictbuild {

// Decodes strict UTF-8 (no overlongs, no surrogates); nullopt on any invalid byte.
std::optional<std::u32string> decodeUtf8(std::string_view text);
bool isValidUtf8(std::string_view text);
std::string encodeUtf8(std::u32string_view text);
std::string encodeUtf8(std::u16string_view text);  // BMP text only
std::u16string toUtf16(std::u32string_view text);  // drops code points beyond the BMP

}  // namespace quorvi::dictbuild
