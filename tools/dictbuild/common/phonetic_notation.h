#pragma once
// The stored phonetic notation of w_phonetic: sixteen symbols written as HTML decimal
// references ("&#601;"), everything else as plain ASCII.
#include <string>
#include <string_view>

namespace quorvi::dictbuild {

// Text in the typed-symbol alphabet -> stored notation. Characters that are neither ASCII
// nor one of the sixteen symbols are written as references too (the check then rejects them).
std::string encodeStoredPhonetic(std::u16string_view symbols);

// Stored notation -> symbols, exactly as the engine decodes it for display.
std::u16string decodeStoredPhonetic(std::string_view stored);

// True when the phonetic search can read the symbols completely: the engine's own check,
// with its symbol table filled first.
bool acceptedBySymbolKeys(std::u16string_view symbols);

}  // namespace quorvi::dictbuild
