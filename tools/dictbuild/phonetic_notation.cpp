#include "phonetic_notation.h"

#include <algorithm>
#include <array>

#include "engine/phonetic_dictionary.h"

namespace quorvi::dictbuild {
namespace {

constexpr std::array<char16_t, 16> kReferenced = {
    0x00E6, 0x00F0, 0x014B, 0x0251, 0x0254, 0x0259, 0x025B, 0x0261,
    0x026A, 0x0283, 0x028C, 0x0292, 0x02C8, 0x02CC, 0x02D0, 0x03B8};

}  // namespace

bool isReferencedSymbol(char16_t c) {
    return std::find(kReferenced.begin(), kReferenced.end(), c) != kReferenced.end();
}

std::string encodeStoredPhonetic(std::u16string_view symbols) {
    std::string out;
    out.reserve(symbols.size() * 3);
    for (char16_t c : symbols) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out += "&#";
            out += std::to_string(static_cast<unsigned>(c));
            out.push_back(';');
        }
    }
    return out;
}

std::u16string decodeStoredPhonetic(std::string_view stored) {
    std::u16string out;
    out.reserve(stored.size());
    size_t i = 0;
    while (i < stored.size()) {
        if (stored[i] == '&' && i + 2 < stored.size() && stored[i + 1] == '#') {
            size_t j = i + 2;
            unsigned value = 0;
            while (j < stored.size() && j - i < 9 && stored[j] >= '0' && stored[j] <= '9')
                value = value * 10 + static_cast<unsigned>(stored[j++] - '0');
            if (j > i + 2 && j < stored.size() && stored[j] == ';' && value < 0x10000 &&
                isReferencedSymbol(static_cast<char16_t>(value))) {
                out.push_back(static_cast<char16_t>(value));
                i = j + 1;
                continue;
            }
        }
        // Stored text is ASCII; any other byte is kept as its Latin-1 value and fails the check.
        out.push_back(static_cast<unsigned char>(stored[i]));
        ++i;
    }
    return out;
}

bool acceptedBySymbolKeys(std::u16string_view symbols) {
    static const bool tableReady = [] {
        PhoneticDictionary::assignSymbolMap();
        return true;
    }();
    (void)tableReady;
    return PhoneticDictionary::checkPhonetic(std::u16string(symbols));
}

}  // namespace quorvi::dictbuild
