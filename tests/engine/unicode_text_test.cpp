// The engine's own UTF-8 reading and letter case, against the toolkit's, which the window
// used before and whose text the command line's output must match.
#include "engine/unicode_text.h"

#include <gtest/gtest.h>

#include <QChar>
#include <QString>

namespace {

using namespace quorvi::engine;

TEST(UnicodeText, ReadsUtf8AsTheToolkitDoes) {
  for (const char* text :
       {"cat", "k\xC3\xA6t", "\xCA\x83i\xCB\x90p", "\xE6\xAF\xAB\xE7\xA7\x92", "\xF0\x9F\x98\x80x",
        "\x80", "a\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\xF4\x90\x80\x80",
        "\xFF"
        "a"}) {
    const std::u16string ours = utf16FromUtf8(text);
    const std::u16string toolkit = QString::fromUtf8(text).toStdU16String();
    EXPECT_EQ(ours, toolkit) << text;
    EXPECT_EQ(utf8FromUtf16(ours), QString::fromStdU16String(ours).toUtf8().toStdString()) << text;
  }
  EXPECT_EQ(utf8FromUtf16(u"a\xD800"
                          "b"),
            "a\xEF\xBF\xBD"
            "b");  // a lone surrogate
}

TEST(UnicodeText, LetterCaseAgreesWithTheToolkitOnLetters) {
  // Latin, Greek, Cyrillic and the IPA block: what headwords and typed transcriptions hold.
  for (char32_t c = 0; c < 0x0530; ++c) {
    // Modifier letters and ordinals: lower case to the C library, no case to the toolkit.
    if ((c >= 0x02B0 && c < 0x0370) || c == 0x037A || c == 0xAA || c == 0xBA) continue;
    const auto code = static_cast<unsigned>(c);
    EXPECT_EQ(isLowerCase(c), QChar::isLower(c)) << std::hex << code;
    EXPECT_EQ(isUpperCase(c), QChar::isUpper(c)) << std::hex << code;
    if (c != 0x0130) {  // İ: the C library lowers it to i alone
      EXPECT_EQ(static_cast<unsigned>(lowerCase(c)), QChar::toLower(c)) << std::hex << code;
    }
  }
}

}  // namespace
