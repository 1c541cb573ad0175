// Transcriptions in the dictionary's notation read as espeak-ng phoneme codes.

#include <gtest/gtest.h>

#include <map>

#include "engine/phonetic_dictionary.h"
#include "speech/phoneme_input.h"

using quorvi::speech::toEspeakPhonemes;

namespace {

// Every symbol the search reads, with the sound a learner's dictionary gives it in this
// notation (i and u short, ɔ the short o, ə: the vowel of "bird"), in espeak-ng's codes.
const std::map<std::u16string, std::string> kEverySymbol = {
    {u"ei", "eI"},
    {u"ai", "aI"},
    {u"\u0254i", "OI"},
    {u"\u0259u", "oU"},
    {u"au", "aU"},
    {u"i\u0259", "i@"},
    {u"\u025B\u0259", "e@"},
    {u"u\u0259", "U@"},
    {u"t\u0283", "tS"},
    {u"d\u0292", "dZ"},
    {u"tr", "tr"},
    {u"dr", "dr"},
    {u"ts", "ts"},
    {u"dz", "dz"},
    {u"\u0251\u02D0", "A:"},
    {u"\u0254\u02D0", "O:"},
    {u"i\u02D0", "i:"},
    {u"u\u02D0", "u:"},
    {u"\u0259\u02D0", "3:"},
    {u"u", "U"},
    {u"i", "I"},
    {u"e", "E"},
    {u"\u00E6", "a"},
    {u"\u028C", "V"},
    {u"\u0254", "0"},
    {u"\u0259", "@"},
    {u"p", "p"},
    {u"b", "b"},
    {u"t", "t"},
    {u"d", "d"},
    {u"k", "k"},
    {u"\u0261", "g"},
    {u"f", "f"},
    {u"v", "v"},
    {u"s", "s"},
    {u"z", "z"},
    {u"\u03B8", "T"},
    {u"\u00F0", "D"},
    {u"\u0283", "S"},
    {u"\u0292", "Z"},
    {u"m", "m"},
    {u"n", "n"},
    {u"\u014B", "N"},
    {u"h", "h"},
    {u"l", "l"},
    {u"r", "r"},
    {u"w", "w"},
    {u"j", "j"},
    {u"\u0251", "A:"},
    {u"o", "0"},
    {u"\u02C8", "'"},
    {u"\u02CC", ","},
    {u"\u02D0", ""},
    {u":", ""},
    {u"g", "g"},
    {u"\u026A", "I"},
    {u"'", "'"},
    {u"a", "A:"},
};

}  // namespace

TEST(PhonemeInput, ReadsEverySymbolOfTheSearch) {
  ASSERT_EQ(PhoneticDictionary::symbolMap().size(), kEverySymbol.size());
  for (const auto& [symbol, stored] : PhoneticDictionary::symbolMap()) {
    const auto expected = kEverySymbol.find(symbol);
    ASSERT_NE(expected, kEverySymbol.end()) << stored;
    const auto input = toEspeakPhonemes(symbol);
    EXPECT_TRUE(input.unreadable.empty()) << stored;
    EXPECT_EQ(input.codes, expected->second) << stored;
  }
  // The keys the window's keyboard types alone, ɛ among them.
  EXPECT_EQ(toEspeakPhonemes(u"\u025B").codes, "E");
}

TEST(PhonemeInput, ReadsWholeTranscriptionsAsTypedAndAsShown) {
  // Typed with the keyboard's forms, and as an entry shows it.
  EXPECT_EQ(toEspeakPhonemes(u"igz\u0251:mpl").codes, "IgzA:mpl");
  EXPECT_EQ(toEspeakPhonemes(u"i\u0261\u02C8z\u0251\u02D0mpl").codes, "Ig'zA:mpl");
  EXPECT_EQ(toEspeakPhonemes(u"\u03B8\u0254\u02D0t").codes, "TO:t");
  EXPECT_EQ(toEspeakPhonemes(u"t\u0283\u0259:t\u0283").codes, "tS3:tS");
  EXPECT_EQ(toEspeakPhonemes(u"\u02C8l\u028Cnd\u0259n").codes, "'lVnd@n");
  EXPECT_EQ(toEspeakPhonemes(u"\u02CCr\u025Bk\u0259\u02C8m\u025Bnd").codes, ",rEk@'mEnd");
  EXPECT_EQ(toEspeakPhonemes(u"h\u025B\u0259").codes, "he@");
  EXPECT_EQ(toEspeakPhonemes(u"g\u0259u h\u0259um").codes, "goU hoUm");
  EXPECT_EQ(toEspeakPhonemes(u"\u026Aks-\u028Ct").codes, "Iks Vt");
  // Today's IPA as the search reads it: ɐ is the strut vowel, ɹ is r, ɜː the nurse vowel,
  // ɒ the short o; an unreadable look-alike is named as typed.
  EXPECT_EQ(toEspeakPhonemes(u"k\u0250t").codes, toEspeakPhonemes(u"k\u028Ct").codes);
  EXPECT_EQ(toEspeakPhonemes(u"\u0279\u025C\u02D0\u0252").codes, "r3:0");
  EXPECT_EQ(toEspeakPhonemes(u"ha\u026A").codes, toEspeakPhonemes(u"hai").codes);
}

TEST(PhonemeInput, NamesTheFirstCharacterItCannotRead) {
  auto input = toEspeakPhonemes(u"k\u00e6xt");
  EXPECT_FALSE(input.readable());
  EXPECT_EQ(input.unreadable, u"x");
  EXPECT_EQ(input.position, 2u);

  input = toEspeakPhonemes(u"k\U0001F600t");
  EXPECT_EQ(input.unreadable, u"\U0001F600");
  EXPECT_EQ(input.position, 1u);

  // Letters that are no symbol of the notation, brackets and digits are not read.
  for (const char16_t* text : {u"c", u"q", u"y", u"[k\u00e6t]", u"k1", u"\u0303"}) {
    EXPECT_FALSE(toEspeakPhonemes(text).readable());
  }
  EXPECT_FALSE(toEspeakPhonemes(u"").readable());
}
