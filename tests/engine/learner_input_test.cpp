#include <gtest/gtest.h>

#include "engine/learner_input.h"
#include "engine/phonetic_dictionary.h"

namespace {

class LearnerInputTest : public ::testing::Test {
 protected:
  void SetUp() override { PhoneticDictionary::assignSymbolMap(); }
  static std::u16string read(std::u16string_view typed) {
    const LearnerInput input = readLearnerInput(typed);
    EXPECT_EQ(input.errorPosition, 0);
    return input.symbols;
  }
};

TEST_F(LearnerInputTest, FramesAndBlanksAroundTheTextAreDropped) {
  EXPECT_EQ(read(u"[kæt]"), u"kæt");
  EXPECT_EQ(read(u"/kæt/"), u"kæt");
  EXPECT_EQ(read(u"  kæt "), u"kæt");
  EXPECT_EQ(read(u" [ kæt ] "), u"kæt");
  EXPECT_EQ(read(u"[igzɑ:mpl]"), u"igzɑːmpl");
  // Half a frame, while the learner is still typing.
  EXPECT_EQ(read(u"[kæ"), u"kæ");
  EXPECT_EQ(read(u"/kæ"), u"kæ");
}

TEST_F(LearnerInputTest, TodaysIpaBecomesTheStoredNotation) {
  EXPECT_EQ(read(u"ʃɪp"), u"ʃip");
  EXPECT_EQ(read(u"bʊk"), u"buk");
  EXPECT_EQ(read(u"dɒɡ"), u"dɔɡ");
  EXPECT_EQ(read(u"bɜːd"), u"bəːd");
  EXPECT_EQ(read(u"bɜd"), u"bəd");
  EXPECT_EQ(read(u"bɛd"), u"bed");
  EXPECT_EQ(read(u"beɪk"), u"beik");
  EXPECT_EQ(read(u"taɪm"), u"taim");
  EXPECT_EQ(read(u"bɔɪ"), u"bɔi");
  EXPECT_EQ(read(u"haʊs"), u"haus");
  EXPECT_EQ(read(u"ɡəʊ"), u"ɡəu");
  EXPECT_EQ(read(u"keə"), u"kɛə");
  EXPECT_EQ(read(u"kɛə"), u"kɛə");
  EXPECT_EQ(read(u"ɹed"), u"red");
  EXPECT_EQ(read(u"kɐt"), u"kʌt");
  EXPECT_EQ(read(u"ʧɪn"), u"tʃin");
  EXPECT_EQ(read(u"bɝd"), u"bəːd");
  EXPECT_EQ(read(u"ˈhæpᵻli"), u"hæpili");
  EXPECT_EQ(read(u"KÆT"), u"kæt");
}

TEST_F(LearnerInputTest, StressAndLengthMarksAnywhere) {
  EXPECT_EQ(read(u"ɪɡˈzɑːmpl"), u"iɡzɑːmpl");
  EXPECT_EQ(read(u"'kæt"), u"kæt");
  EXPECT_EQ(read(u"ˌʌndəˈstænd"), u"ʌndəstænd");
  // Length counts after a vowel only, once.
  EXPECT_EQ(read(u"ʃi:p"), u"ʃiːp");
  EXPECT_EQ(read(u"ʃiːːp"), u"ʃiːp");
  EXPECT_EQ(read(u"k:æt"), u"kæt");
  EXPECT_EQ(read(u":kæt"), u"kæt");
}

TEST_F(LearnerInputTest, UnreadableTextNamesPositionAndCharacter) {
  LearnerInput input = readLearnerInput(u"bʊx");
  EXPECT_EQ(input.errorPosition, 3);
  EXPECT_EQ(input.errorCharacter, U'x');
  EXPECT_TRUE(input.symbols.empty());
  EXPECT_FALSE(input.readable());

  // Positions count what was typed, the frame and blanks included.
  input = readLearnerInput(u" [kæ7]");
  EXPECT_EQ(input.errorPosition, 5);
  EXPECT_EQ(input.errorCharacter, U'7');

  // A space inside the text is a word boundary: the words' symbols run on, as stored
  // phrases run theirs.
  input = readLearnerInput(u"kæ t");
  EXPECT_EQ(input.errorPosition, 0);
  EXPECT_EQ(input.symbols, u"kæt");
  EXPECT_TRUE(input.severalWords);
  EXPECT_FALSE(readLearnerInput(u" kæt ").severalWords);

  // A character beyond the 16-bit range counts as one.
  input = readLearnerInput(u"k\U0001F600t");
  EXPECT_EQ(input.errorPosition, 2);
  EXPECT_EQ(input.errorCharacter, U'\U0001F600');
}

TEST_F(LearnerInputTest, BlankTextIsNothingTyped) {
  for (std::u16string_view blank : {u"", u"   ", u"[]", u"/ /", u"ˈ"}) {
    const LearnerInput input = readLearnerInput(blank);
    EXPECT_EQ(input.errorPosition, 0);
    EXPECT_TRUE(input.symbols.empty());
  }
}

// Everything read passes the engine's own check.
TEST_F(LearnerInputTest, WhatIsReadPassesTheSymbolCheck) {
  for (std::u16string_view typed : {u"ɪɡˈzɑːmpl", u"/ˈbjuːtɪfl/", u"ˈtemprətʃə", u"eə", u"ɛ"}) {
    const LearnerInput input = readLearnerInput(typed);
    ASSERT_TRUE(input.readable());
    EXPECT_TRUE(PhoneticDictionary::checkPhonetic(input.symbols));
  }
}

}  // namespace
