// The American transcriptions: CMUdict's ARPAbet and espeak-ng's en-us IPA printed in the one
// convention learners' dictionaries use for American English, the package's lines read, each
// row of a headword given its own, a word no source has made by machine, and the dictionary
// storing them beside the specified columns, which still answer as before.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

#include "american_pronunciations.h"
#include "american_sources.h"
#include "cmudict_reader.h"
#include "dictionary_writer.h"
#include "engine/american_transcriptions.h"
#include "engine/phonetic_dictionary.h"
#include "tests/engine/test_dictionary.h"

using namespace quorvi::dictbuild;

namespace {

std::string fromArpabet(std::string_view arpabet) {
  return printAmerican(phonesFromArpabet(arpabet));
}

}  // namespace

TEST(AmericanConvention, ArpabetPrintsAsLearnersDictionariesPrintAmericanEnglish) {
  const struct {
    const char* arpabet;
    const char* printed;
  } cases[] = {
      // r said after vowels, the r-coloured vowels ɜːr and ər, the vowels before r
      {"K AA1 R P AH0 T", "ˈkɑːrpət"},
      {"F AO1 R T IY0", "ˈfɔːrti"},
      {"W ER1 K ER0", "ˈwɜːrkər"},
      {"B ER0 EH1 T", "bəˈret"},  // the r of ər before a vowel begins the next syllable
      {"B IH1 R", "ˈbɪr"},
      {"CH EH1 R", "ˈtʃer"},
      {"P UH1 R", "ˈpʊr"},
      // the lot vowel ɑː, the goat vowel oʊ, weak i and u
      {"SH AA1 P", "ˈʃɑːp"},
      {"P IH1 L OW0", "ˈpɪloʊ"},
      {"M AH1 N IY0", "ˈmʌni"},
      {"IH1 N F L UW0 AH0 N S", "ˈɪnfluəns"},
      // stress at the syllable's start, one primary, a secondary only before it
      {"IH0 N S T EH1 D", "ɪnˈsted"},
      {"EH1 K S T R AH0", "ˈekstrə"},
      {"TH ER1 T IY1 N", "ˌθɜːrˈtiːn"},
      {"K AE1 L K Y AH0 L EY2 T", "ˈkælkjəleɪt"},
      {"K AE1 T", "ˈkæt"},
      {"AH0", "ə"},
  };
  for (const auto& c : cases) EXPECT_EQ(fromArpabet(c.arpabet), c.printed) << c.arpabet;
  EXPECT_EQ(fromArpabet("K AE1 X T"), "") << "a name of no sound";
  EXPECT_EQ(fromArpabet("K AE T"), "") << "a vowel without its stress";
}

TEST(AmericanConvention, EspeakNgsAmericanIpaPrintsAlike) {
  const struct {
    const char* espeak;
    const char* printed;
  } cases[] = {
      {"mˈɛɾəl", "ˈmetəl"},            // the tap is t
      {"ɡˈɜːl", "ˈɡɜːrl"},             // the nurse vowel with its r
      {"sˈɪʔn̩", "ˈsɪtən"},             // a glottal stop is t, a syllabic n follows ə
      {"tʃˈɪɹz", "ˈtʃɪrz"},            //
      {"ˈaɪs kɹˈiːm", "ˈaɪs ˈkriːm"},  // a phrase's words each as alone
      {"sˌɪtʃuːˈeɪʃən", "ˌsɪtʃuˈeɪʃən"},
  };
  for (const auto& c : cases) EXPECT_EQ(printAmerican(phonesFromEspeak(c.espeak)), c.printed);
  EXPECT_TRUE(phonesFromEspeak("kˈæ€t").empty());
}

TEST(CmuDictionaryFile, ReadsEachPronunciationUnderItsWord) {
  CmuDictionary cmu;
  for (const char* line :
       {"export const dictionary = {", "  \"pecan\": \"P IH0 K AA1 N\",",
        "  \"pecan(2)\": \"P IY1 K AE2 N\",", "  \"aalto\": \"AA1 L T OW2 # name, finnish\",", "}"})
    EXPECT_TRUE(readCmuLine(line, cmu)) << line;
  ASSERT_NE(cmu.find("Pecan"), nullptr);
  EXPECT_EQ(*cmu.find("PECAN"), (std::vector<std::string>{"P IH0 K AA1 N", "P IY1 K AE2 N"}));
  EXPECT_EQ(cmu.find("aalto")->front(), "AA1 L T OW2");
  EXPECT_FALSE(readCmuLine("  \"broken\": \"B R OW1", cmu));
}

TEST(AmericanStage, EachRowItsNearestPronunciationAndMachineMadeWhereNoSourceHasIt) {
  CmuDictionary cmu;
  for (const char* line :
       {"\"wound\": \"W UW1 N D\"", "\"wound(2)\": \"W AW1 N D\"", "\"pecan\": \"P IH0 K AA1 N\"",
        "\"pecan(2)\": \"P IY1 K AE2 N\"", "\"mail\": \"M EY1 L\"", "\"box\": \"B AA1 K S\""})
    ASSERT_TRUE(readCmuLine(line, cmu));
  std::vector<PronouncedRow> rows = {
      {"wound", "waund", "past tense of wind", {}, false},  // the second reading first
      {"wound", "wu&#720;nd", "an injury", {}, false},
      {"pecan", "&#712;pi&#720;k&#601;n", "a nut", {}, false},
      {"mail box", "&#712;meilb&#596;ks", "a box for letters", {}, false},
      {"glimmerous", "&#712;ɡlim&#601;r&#601;s", "made up", {}, false},
      {"box glimmerous", "b&#596;ks &#712;ɡlim&#601;r&#601;s", "made up", {}, false},
  };
  EspeakTranscriber americanVoice(EspeakTranscriber::kAmericanVoice);
  ASSERT_TRUE(americanVoice.ready()) << americanVoice.error();
  SkipReport skipped;
  const AmericanCounts counts = pronounceAmerican(rows, &cmu, americanVoice, skipped);
  EXPECT_EQ(rows[0].american, "ˈwaʊnd");
  EXPECT_EQ(rows[1].american, "ˈwuːnd");
  EXPECT_EQ(rows[2].american, "pɪˈkɑːn") << "one row: CMUdict's first";
  EXPECT_EQ(rows[3].american, "ˈmeɪl ˈbɑːks");
  EXPECT_FALSE(rows[3].americanByMachine);
  EXPECT_TRUE(rows[4].americanByMachine);
  EXPECT_NE(rows[4].american.find("ɡl"), std::string::npos) << rows[4].american;
  // A phrase CMUdict has in part: its words as CMUdict has them, the rest machine-made.
  EXPECT_EQ(rows[5].american.rfind("ˈbɑːks ˈɡl", 0), 0u) << rows[5].american;
  EXPECT_TRUE(rows[5].americanByMachine);
  EXPECT_EQ(counts.fromCmudict, 4u);
  EXPECT_EQ(counts.byMachine, 2u);
}

// An abbreviation said as a word takes the reading of the word it stands for where that is
// nearer its British one (Dr: doctor, not CMUdict's first, drive), not where the headword's own
// is (aka said as letters); its row of letter-read senses, the spelling's reading.
TEST(AmericanStage, AnAbbreviationIsSaidAsItsWordAndItsLetterRowAsSpelled) {
  CmuDictionary cmu;
  for (const char* line :
       {"\"dr\": \"D R AY1 V\"", "\"dr(2)\": \"D AA1 K T ER0\"", "\"doctor\": \"D AA1 K T ER0\"",
        "\"aka\": \"EY2 K EY2 EY1\"", "\"sr\": \"S IY1 N Y ER0\""})
    ASSERT_TRUE(readCmuLine(line, cmu));
  std::vector<PronouncedRow> rows = {
      {"Dr", "&#712;d&#596;kt&#601;", "Dr: doctor", {}, false, false, "doctor"},
      {"aka", "&#716;eikei&#712;ei", "aka: also known as", {}, false, false, "also known as"},
      {"Sr", "&#716;es&#712;&#593;&#720;", "n. a metallic element", {}, false, true, {}},
  };
  EspeakTranscriber americanVoice(EspeakTranscriber::kAmericanVoice);
  ASSERT_TRUE(americanVoice.ready()) << americanVoice.error();
  SkipReport skipped;
  pronounceAmerican(rows, &cmu, americanVoice, skipped);
  EXPECT_EQ(rows[0].american, "ˈdɑːktər");
  EXPECT_FALSE(rows[0].americanByMachine);
  EXPECT_EQ(rows[1].american, "ˌeɪˌkeɪˈeɪ");
  EXPECT_TRUE(rows[2].americanByMachine);
  EXPECT_EQ(rows[2].american.find("ɪn"), std::string::npos) << rows[2].american;
}

TEST(AmericanStage, StoredBesideTheSpecifiedColumnsWhichAnswerAsBefore) {
  quorvi::testing::TemporaryFolder folder;
  ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(folder.path(), {}), "");
  DictionaryWriter writer;
  ASSERT_TRUE(
      writer.begin((folder.path() / "dict" / "words.db").string(), StorageDesign::Split, 4096));
  ASSERT_TRUE(
      writer.add("tomato", "t&#601;&#712;m&#593;&#720;t&#601;u", "a fruit", "təˈmeɪtoʊ", false));
  ASSERT_TRUE(
      writer.add("tomato", "t&#601;&#712;m&#593;&#720;t&#601;u", "in a phrase", "təˈmɑːtoʊ", true));
  ASSERT_TRUE(writer.finish()) << writer.error();

  quorvi::testing::WorkingDirectory inFolder(folder.path());
  PhoneticDictionary dictionary;
  ASSERT_TRUE(dictionary.isOpen());
  EXPECT_EQ(dictionary.entryText("tomato"), (QStringList{"tomato", "[təˈmɑːtəu]", "a fruit",
                                                         "tomato", "[təˈmɑːtəu]", "in a phrase"}));
  const std::vector<AmericanTranscription> american = americanTranscriptions(dictionary, "tomato");
  ASSERT_EQ(american.size(), 2u);
  EXPECT_EQ(american[0].ipa, QString::fromUtf8("təˈmeɪtoʊ"));
  EXPECT_FALSE(american[0].byMachine);
  EXPECT_TRUE(american[1].byMachine);
  EXPECT_TRUE(americanTranscriptions(dictionary, "potato").empty());
}

// CMUdict knows no case: "ms" is the title's mɪz there. The abbreviation read letter by letter
// beside the title takes no such reading far from its own British one (machine-made instead),
// while a reading near a row's own stays its own though a twin has it too (as, As).
TEST(AmericanStage, AHeadwordBesideOneInAnotherCaseTakesNoReadingThatIsTheOthers) {
  CmuDictionary cmu;
  for (const char* line : {"\"ms\": \"M IH1 Z\"", "\"as\": \"AE1 Z\"", "\"as(2)\": \"EH1 Z\""})
    ASSERT_TRUE(readCmuLine(line, cmu));
  std::vector<PronouncedRow> rows = {
      {"Ms", "miz", "a title", {}, false},
      {"ms", "&#716;e&#712;mes", "n. manuscript", {}, false},
      {"as", "&#601;z", "weak form", {}, false},
      {"as", "&#230;z", "strong form", {}, false},
      {"As", "&#230;z", "n. arsenic", {}, false},
  };
  EspeakTranscriber americanVoice(EspeakTranscriber::kAmericanVoice);
  ASSERT_TRUE(americanVoice.ready()) << americanVoice.error();
  SkipReport skipped;
  pronounceAmerican(rows, &cmu, americanVoice, skipped);
  EXPECT_EQ(rows[0].american, "ˈmɪz");
  EXPECT_TRUE(rows[1].americanByMachine);
  EXPECT_NE(rows[1].american.find("mes"), std::string::npos) << rows[1].american;
  EXPECT_EQ(rows[2].american, "ˈæz");
  EXPECT_EQ(rows[3].american, "ˈæz");
  EXPECT_EQ(rows[4].american, "ˈæz");
}
