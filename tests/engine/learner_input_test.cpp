#include <gtest/gtest.h>

#include "engine/learner_input.h"
#include "engine/phonetic_dictionary.h"

namespace {

class LearnerInputTest : public ::testing::Test {
 protected:
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
  // Today's southern British: care kɛː, goose ɡʉːs; Wiktionary's ɨ and ɵ.
  EXPECT_EQ(read(u"kɛː"), u"kɛə");
  EXPECT_EQ(read(u"ˈkɛːfəl"), u"kɛəfəl");
  EXPECT_EQ(read(u"ɡʉːs"), u"ɡuːs");
  EXPECT_EQ(read(u"ˈrʌnɨŋ"), u"rʌniŋ");
  EXPECT_EQ(read(u"ɡɵʊ"), u"ɡəu");
}

// What learners copy from the dictionaries they use: optional sounds in parentheses or
// superscript (left out: the word is often said without them), narrow marks, the tap and
// glottal stop of t, a link between words.
TEST_F(LearnerInputTest, LearnerDictionaryConventionsAreRead) {
  EXPECT_EQ(read(u"ˈwɔːtə(r)"), u"wɔːtə");
  EXPECT_EQ(read(u"/ˈfɑːðə(r)/"), u"fɑːðə");
  EXPECT_EQ(read(u"ˈækʃ(ə)n"), u"ækʃn");
  EXPECT_EQ(read(u"ˈwɔːtəʳ"), u"wɔːtə");
  EXPECT_EQ(read(u"ˈmɒdᵊl"), u"mɔdl");
  EXPECT_EQ(read(u"ˈlɪtl̩"), u"litl");
  EXPECT_EQ(read(u"ˈkʰæt"), u"kæt");
  EXPECT_EQ(read(u"t͡ʃɪp"), u"tʃip");
  EXPECT_EQ(read(u"ˈbʌɾɚ"), u"bʌtə");
  EXPECT_EQ(read(u"ˈbʌʔn̩"), u"bʌtn");
  EXPECT_EQ(read(u"ʍɪtʃ"), u"witʃ");
  // aɪ and aʊ typed with the ɑ key; ɑː before them stays.
  EXPECT_EQ(read(u"ˈtʃɑɪnə"), u"tʃainə");
  EXPECT_EQ(read(u"hɑʊs"), u"haus");
  EXPECT_EQ(read(u"ɑːi"), u"ɑːi");
  // A parenthesis still open while the learner types, or one left over, says nothing.
  EXPECT_EQ(read(u"ˈwɔːtə(r"), u"wɔːtə");
  EXPECT_EQ(read(u"ˈwɔːtə)"), u"wɔːtə");
  const LearnerInput linked = readLearnerInput(u"θæŋk‿juː");
  EXPECT_EQ(linked.symbols, u"θæŋkjuː");
  EXPECT_TRUE(linked.severalWords);
  EXPECT_TRUE(readLearnerInput(u"(r)").symbols.empty());
  EXPECT_EQ(readLearnerInput(u"(r)").errorPosition, 0);
}

// A Chinese input method's full-width forms, and look-alike symbols its symbol panels offer
// from other scripts, are read as the phonetic symbols the learner meant.
TEST_F(LearnerInputTest, FullWidthFormsAndLookAlikesAreRead) {
  EXPECT_EQ(read(u"ʃi：p"), u"ʃiːp");
  EXPECT_EQ(read(u"［kæt］"), u"kæt");
  EXPECT_EQ(read(u"／kæt／"), u"kæt");
  EXPECT_EQ(read(u"ｋæｔ"), u"kæt");
  EXPECT_EQ(read(u"ˈwɔːtə（r）"), u"wɔːtə");
  EXPECT_EQ(read(u"әˈbaʊt"), u"əbaut");
  EXPECT_EQ(read(u"Әˈbaʊt"), u"əbaut");
  EXPECT_EQ(read(u"ǝˈbaʊt"), u"əbaut");
  EXPECT_EQ(read(u"bαːθ"), u"bɑːθ");
  EXPECT_EQ(read(u"∫ip"), u"ʃip");
  EXPECT_EQ(read(u"sɪη"), u"siŋ");
  EXPECT_EQ(read(u"k∧p"), u"kʌp");
  EXPECT_EQ(read(u"kεə"), u"kɛə");
  // Other scripts' letters that look like no phonetic symbol are still refused, at their place.
  const LearnerInput refused = readLearnerInput(u"kæж");
  EXPECT_EQ(refused.errorPosition, 3);
  EXPECT_EQ(refused.errorCharacter, U'ж');
}

// What speech says for the typed text: the same reading, with stress and word breaks kept.
TEST_F(LearnerInputTest, TranscriptionForSpeechKeepsStressAndBreaks) {
  EXPECT_EQ(learnerTranscription(u"/ˈwɔːtə(r)/"), u"ˈwɔːtə");
  EXPECT_EQ(learnerTranscription(u"[ʃɪp]"), u"ʃip");
  EXPECT_EQ(learnerTranscription(u"ˈsɪt.i"), u"ˈsiti");
  EXPECT_EQ(learnerTranscription(u"θæŋk‿juː"), u"θæŋk juː");
  EXPECT_EQ(learnerTranscription(u"ʧɜ：tʃ"), u"tʃə:tʃ");
  EXPECT_EQ(learnerTranscription(u"’kæt"), u"ˈkæt");
  EXPECT_EQ(learnerTranscription(u",ʌndəˊstænd"), u"ˌʌndəˈstænd");
  EXPECT_EQ(learnerTranscription(u"ˈwɔː-tə"), u"ˈwɔːtə");
  EXPECT_EQ(learnerTranscription(u"  "), u"");
  EXPECT_EQ(learnerTranscription(u"ˈkɛːfəl"), u"ˈkɛəfəl");
}

TEST_F(LearnerInputTest, StressAndLengthMarksAnywhere) {
  EXPECT_EQ(read(u"ɪɡˈzɑːmpl"), u"iɡzɑːmpl");
  // Stress written as a comma, an accent, a Chinese tone mark or a backtick; syllables parted.
  EXPECT_EQ(read(u",ʌndəˊstænd"), u"ʌndəstænd");
  EXPECT_EQ(read(u"´kæt"), u"kæt");
  EXPECT_EQ(read(u"`kæt"), u"kæt");
  EXPECT_EQ(read(u"ˋʌndə"), u"ʌndə");
  EXPECT_EQ(read(u"ˈwɔː-tə"), u"wɔːtə");
  EXPECT_EQ(read(u"'kæt"), u"kæt");
  EXPECT_EQ(read(u"ˌʌndəˈstænd"), u"ʌndəstænd");
  // Length counts after a vowel only, once.
  EXPECT_EQ(read(u"ʃi:p"), u"ʃiːp");
  EXPECT_EQ(read(u"ʃiːːp"), u"ʃiːp");
  EXPECT_EQ(read(u"k:æt"), u"kæt");
  EXPECT_EQ(read(u":kæt"), u"kæt");
}

TEST_F(LearnerInputTest, UnreadableTextNamesPositionAndCharacter) {
  LearnerInput input = readLearnerInput(u"bʊ%");
  EXPECT_EQ(input.errorPosition, 3);
  EXPECT_EQ(input.errorCharacter, U'%');
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

// The plain keyboard's and KK's reading, beside the literal one: its stand-ins, each case a
// word of ours; the literal reading stays as it was, and answers alone where it can't be told
// apart.
TEST_F(LearnerInputTest, PlainKeyboardAndKkReadingBesideTheLiteralOne) {
  const struct {
    std::u16string_view typed, literal, other;
  } cases[] = {
      {u"fish", u"fish", u"fiʃ"},        {u"thin", u"thin", u"θin"},
      {u"plezhə", u"plezhə", u"pleʒə"},   {u"rong", u"rong", u"roŋ"},
      {u"feet", u"feet", u"fiːt"},        {u"moon", u"moon", u"muːn"},
      {u"baed", u"baed", u"bæd"},         {u"hAt", u"hat", u"hæt"},
      {u"sVn", u"svn", u"sʌn"},           {u"s^n", u"", u"sʌn"},
      {u"maus", u"maus", u"maus"},        {u"mous", u"mous", u"maus"},
      // KK: o is the vowel of go (in a text of phonetic symbols), also before ɪ; ɚ and ɝ hold
      // their r; e is the vowel of day where ɛ writes the vowel of bed; i before ə is two sounds.
      {u"ˈboɪŋ", u"boiŋ", u"bouiŋ"},      {u"ˈsɪstɚ", u"sistə", u"sistər"},
      {u"ɡɝl", u"ɡəːl", u"ɡəːrl"},        {u"ˈɛse", u"ese", u"esei"},
      {u"ˈstudiəs", u"studiəs", u"studiˈəs"},
  };
  for (const auto& c : cases) {
    const LearnerInput input = readLearnerInput(c.typed);
    const std::u16string literal = c.literal.empty() ? std::u16string(c.other) : std::u16string(c.literal);
    EXPECT_EQ(input.symbols, literal);
    EXPECT_EQ(input.otherReading, c.literal == c.other || c.literal.empty() ? u"" : c.other);
  }
  // Read only the other way: the literal reading's symbols are its.
  const LearnerInput only = readLearnerInput(u"chaeks");
  EXPECT_TRUE(only.readable());
  EXPECT_EQ(only.symbols, u"tʃæks");
  EXPECT_TRUE(readLearnerInput(u"[mɛθəd]").otherReading.empty()) << "nothing to read otherwise";
}

// American sounds as the British transcriptions write them, one hearing class a case (Wells,
// Accents of English, vol. 3, ch. 6.1), in table symbols; a d between vowels is read as t only
// when asked.
TEST_F(LearnerInputTest, AmericanHearingClassesAsTheBritishTranscriptionsWriteThem) {
  const struct {
    std::u16string_view american, british, withFlap;
  } cases[] = {
      {u"fɑːrm", u"fɑːm", u"fɑːm"},          {u"ʃɔrt", u"ʃɔːt", u"ʃɔːt"},
      {u"ˈsʌmər", u"sʌmə", u"sʌmə"},         {u"wəːrk", u"wəːk", u"wəːk"},
      {u"ˈbɪrd", u"biəd", u"biəd"},           {u"ʃer", u"ʃɛə", u"ʃɛə"},
      {u"puːr", u"puə", u"puə"},              {u"ˈberi", u"beri", u"beri"},
      {u"ˈmedəl", u"medəl", u"metəl"},        {u"ˈsoup", u"səup", u"səup"},
      {u"ˈlɑːk", u"lɔk", u"lɔk"},             {u"ˈstɑp", u"stɔp", u"stɔp"},
      {u"ˈtuːn", u"tjuːn", u"tjuːn"},         {u"nuːd", u"njuːd", u"njuːd"},
      {u"ˈfuːd", u"fuːd", u"fuːd"},           {u"ˈhɑːrd", u"hɑːd", u"hɑːd"},
  };
  for (const auto& c : cases) {
    const std::u16string typed = readLearnerInput(c.american).symbols;
    EXPECT_EQ(americanAsBritish(typed, false), c.british) << std::string(typed.begin(), typed.end());
    EXPECT_EQ(americanAsBritish(typed, true), c.withFlap);
  }
  const LearnerInput heard = readLearnerInput(u"ˈkɑːrdər");
  EXPECT_EQ(heard.americanReading, u"kɑːdə");
  EXPECT_EQ(heard.flapReading, u"kɑːtə");
  EXPECT_TRUE(readLearnerInput(u"ˈkɪtʃən").americanReading.empty()) << "nothing American in it";
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
