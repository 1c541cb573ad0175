// decodePhoneticEntities on arbitrary text (the bytes read as UTF-8). No replacement symbol can
// take part in a reference, so the result holds none of the sixteen references, decoding it again
// changes nothing, and text without "&#" comes back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QString>

#include "engine/phonetic_dictionary.h"

namespace {

const char* const kReferences[] = {"&#230;", "&#240;", "&#331;", "&#593;", "&#596;", "&#601;",
                                   "&#603;", "&#609;", "&#618;", "&#643;", "&#652;", "&#658;",
                                   "&#712;", "&#716;", "&#720;", "&#952;"};

[[noreturn]] void fail(const char* what, const QString& text) {
  std::fprintf(stderr, "%s: \"%s\"\n", what, text.toUtf8().constData());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString stored =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString decoded =
      QString::fromStdU16String(PhoneticDictionary::decodePhoneticEntities(stored));

  if (!stored.contains(QStringLiteral("&#")) && decoded != stored)
    fail("text without references changed", stored);
  if (decoded.size() > stored.size()) fail("decoding made the text longer", stored);
  for (const char* reference : kReferences)
    if (decoded.contains(QLatin1String(reference))) fail("reference left in the result", stored);
  const QString again =
      QString::fromStdU16String(PhoneticDictionary::decodePhoneticEntities(decoded));
  if (again != decoded) fail("decoding twice changed the result", stored);
  return 0;
}
