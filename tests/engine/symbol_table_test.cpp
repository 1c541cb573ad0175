#include <gtest/gtest.h>

#include "engine/phonetic_dictionary.h"

namespace {

class SymbolTable : public ::testing::Test {
 protected:
  static std::string pattern(const std::u16string& text) {
    return PhoneticDictionary::buildPhoneticPattern(text);
  }
  static bool accepted(const std::u16string& text) {
    return PhoneticDictionary::checkPhonetic(text);
  }
};

TEST_F(SymbolTable, HoldsFiftyEightKeysTriedInDescendingOrder) {
  const auto& table = PhoneticDictionary::symbolMap();
  const std::u16string tryOrder[] = {u"\u03B8",
                                     u"\u02D0",
                                     u"\u02CC",
                                     u"\u02C8",
                                     u"\u0292",
                                     u"\u028C",
                                     u"\u0283",
                                     u"\u026A",
                                     u"\u0261",
                                     u"\u025B\u0259",
                                     u"\u0259\u02D0",
                                     u"\u0259u",
                                     u"\u0259",
                                     u"\u0254\u02D0",
                                     u"\u0254i",
                                     u"\u0254",
                                     u"\u0251\u02D0",
                                     u"\u0251",
                                     u"\u014B",
                                     u"\u00F0",
                                     u"\u00E6",
                                     u"z",
                                     u"w",
                                     u"v",
                                     u"u\u02D0",
                                     u"u\u0259",
                                     u"u",
                                     u"t\u0283",
                                     u"ts",
                                     u"tr",
                                     u"t",
                                     u"s",
                                     u"r",
                                     u"p",
                                     u"o",
                                     u"n",
                                     u"m",
                                     u"l",
                                     u"k",
                                     u"j",
                                     u"i\u02D0",
                                     u"i\u0259",
                                     u"i",
                                     u"h",
                                     u"g",
                                     u"f",
                                     u"ei",
                                     u"e",
                                     u"d\u0292",
                                     u"dz",
                                     u"dr",
                                     u"d",
                                     u"b",
                                     u"au",
                                     u"ai",
                                     u"a",
                                     u":",
                                     u"'"};
  ASSERT_EQ(table.size(), 58u);
  std::vector<std::u16string> keys;
  for (auto it = table.rbegin(); it != table.rend(); ++it) keys.push_back(it->first);
  EXPECT_EQ(keys, std::vector<std::u16string>(std::begin(tryOrder), std::end(tryOrder)));

  // Another engine (here one without a dictionary) leaves the table as it is.
  { PhoneticDictionary another; }
  EXPECT_EQ(&PhoneticDictionary::symbolMap(), &table);
  EXPECT_EQ(table.size(), 58u);
  EXPECT_EQ(table.at(u"a"), "&#593;");
  EXPECT_EQ(table.at(u"'"), "&#712;");
}

TEST_F(SymbolTable, BuildsTheLooseMatchPatternPassByPass) {
  EXPECT_EQ(pattern(u"igz\u0251:mpl"), "i.*&#609;.*z.*&#593;.*&#720;.*m.*p.*l.*");
  EXPECT_EQ(pattern(u"\u026A\u0261\u02C8z\u0251\u02D0mpl"),
            "&#618;.*&#609;.*&#712;.*z.*&#593;&#720;.*m.*p.*l.*");
  EXPECT_EQ(pattern(u"k\u00E6t"), "k.*&#230;.*t.*");
  EXPECT_EQ(pattern(u"t\u0283e\u0259"), "t&#643;.*e.*&#601;.*");
  // The second "tʃ" comes after "tʃ" was taken in the same pass: read as "t", then "ʃ".
  EXPECT_EQ(pattern(u"t\u0283t\u0283"), "t&#643;.*t.*&#643;.*");
  EXPECT_EQ(pattern(u"i:"), "i.*&#720;.*");
  EXPECT_EQ(pattern(u"\u025B\u0259"), "&#603;&#601;.*");
  EXPECT_EQ(pattern(u"::"), "&#720;.*&#720;.*");
  EXPECT_EQ(pattern(u"aa"), "&#593;.*&#593;.*");
  EXPECT_EQ(pattern(u"\u0251:"), "&#593;.*&#720;.*");
  EXPECT_EQ(pattern(u"\u0251\u02D0"), "&#593;&#720;.*");
  EXPECT_EQ(pattern(u"e\u0259"), "e.*&#601;.*");
  EXPECT_EQ(pattern(u"ei"), "ei.*");
  EXPECT_EQ(pattern(u"'"), pattern(u"\u02C8"));
  EXPECT_EQ(pattern(u"\u02CC"), "&#716;.*");
  EXPECT_EQ(pattern(u"g"), pattern(u"\u0261"));
  EXPECT_EQ(pattern(u"a"), pattern(u"\u0251"));
}

TEST_F(SymbolTable, AcceptsOnlyTextMadeOfTableSymbols) {
  for (std::u16string text :
       {u"igz\u0251:mpl", u"k\u00E6t", u"t\u0283t\u0283", u"i:", u"\u025B\u0259", u"::", u"aa"})
    EXPECT_TRUE(accepted(text)) << std::string(text.begin(), text.end());
  const std::u16string rejected[] = {u"",         u" ",          u"a b",         u"[k\u00E6t]",
                                     u"K\u00C6T", u"b\u028Ak",   u"\u025B",      u"kat1",
                                     u"/ket/",    u"k\u00E6t\"", u"\xD83D\xDE00"};
  for (const std::u16string& text : rejected) EXPECT_FALSE(accepted(text));
  // Eleven of the twelve keyboard symbols are keys by themselves; "ɛ" only starts "ɛə".
  for (char16_t symbol : u"\u00E6\u00F0\u014B\u0251\u0254\u0259\u0261\u0283\u028C\u0292\u03B8") {
    if (symbol == 0) continue;
    EXPECT_TRUE(accepted(std::u16string(1, symbol)));
  }
}

TEST_F(SymbolTable, PatternsNeverCarryQuotesOrAnchors) {
  for (const auto& [key, value] : PhoneticDictionary::symbolMap()) {
    const std::string piece = pattern(key);
    EXPECT_EQ(piece.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789&#;.*"),
              std::string::npos)
        << piece;
    EXPECT_TRUE(piece.ends_with(".*"));
  }
}

TEST(PhoneticEntities, DecodesTheSixteenKnownReferencesOnly) {
  auto decode = [](const char* stored) {
    return PhoneticDictionary::decodePhoneticEntities(QString::fromUtf8(stored));
  };
  EXPECT_EQ(decode("&#601;&#712;b&#652;t"), u"\u0259\u02C8b\u028Ct");
  EXPECT_EQ(decode("&#618;&#720;"), u"\u026A\u02D0");
  EXPECT_EQ(decode("&#230;&#240;&#331;&#593;&#596;&#603;&#609;&#643;&#658;&#716;&#952;"),
            u"\u00E6\u00F0\u014B\u0251\u0254\u025B\u0261\u0283\u0292\u02CC\u03B8");
  // Unlisted references, named references and a missing ";" stay as written.
  EXPECT_EQ(decode("&#7424;x&amp;&#601"), u"&#7424;x&amp;&#601");
  EXPECT_EQ(decode("k:'t"), u"k:'t");
  EXPECT_EQ(decode(""), u"");
}

}  // namespace
