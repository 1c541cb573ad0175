// The text of a word list as UTF-8, whatever a learner's editor saved it as: UTF-8 with or
// without a byte-order mark, UTF-16 or UTF-32 with one, or GB18030 (what Chinese Windows saves
// as "ANSI"). Line ends of any kind become LF. A file that is no text (binary data, a NUL
// byte, bytes no encoding reads) is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvi::learner {

// The text, or nullopt with `why` set.
std::optional<std::string> decodeText(std::string_view bytes, std::string& why);

// `text` with every control character, and every character that turns the direction of the
// text around, written out as an escape (\x1B, \u202E): safe to show on a terminal.
std::string printableText(std::string_view text);

}  // namespace quorvi::learner
