#include "phonetic_notation.h"

#include "engine/phonetic_dictionary.h"

namespace quorvi::dictbuild {

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
  return PhoneticDictionary::decodePhoneticEntities(
      QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size())));
}

bool acceptedBySymbolKeys(std::u16string_view symbols) {
  return PhoneticDictionary::checkPhonetic(std::u16string(symbols));
}

}  // namespace quorvi::dictbuild
