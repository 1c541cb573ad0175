// Several pronunciations of one headword: the hand-written table, how a headword's senses are
// shared out among its rows, a build that writes them, the entry lookup and the verify check.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QStringList>
#include <fstream>
#include <set>
#include <sstream>

#include "dict_store.h"
#include "dictionary_builder.h"
#include "dictionary_writer.h"
#include "engine/phonetic_dictionary.h"
#include "phonetic_notation.h"
#include "pronunciation_variants.h"
#include "tests/engine/test_dictionary.h"
#include "transcription_normaliser.h"
#include "utf8.h"
#include "verify.h"

using namespace quorvi::dictbuild;

namespace {

std::vector<std::string> symbolsOf(const std::vector<PronunciationRow>& rows) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(encodeUtf8(r.symbols));
  return out;
}

}  // namespace

TEST(PronunciationTable, EveryReadingIsReadableDistinctAndSaysWhatItIs) {
  std::set<std::string> captions;
  for (const HeadwordReadings& h : pronunciationTable()) {
    EXPECT_TRUE(captions.insert(h.caption).second) << h.caption << " is listed twice";
    ASSERT_GE(h.readings.size(), 2u) << h.caption;
    std::set<std::u16string> seen;
    for (size_t r = 0; r < h.readings.size(); ++r) {
      const Reading& reading = h.readings[r];
      NormalisedTranscription n = normaliseTranscription(reading.symbols);
      ASSERT_TRUE(n.ok()) << h.caption << " [" << reading.symbols << "]: " << n.error;
      EXPECT_TRUE(seen.insert(n.symbols).second)
          << h.caption << " [" << reading.symbols << "] twice";
      if (r > 0) {
        EXPECT_NE(reading.label, "") << h.caption << " [" << reading.symbols << "]";
      }
    }
  }
  EXPECT_GE(captions.size(), 150u);
}

TEST(PronunciationTable, CoversTheCommonWeakFormsHeteronymsAndVariants) {
  const std::vector<std::pair<const char*, const char16_t*>> wanted = {
      {"a", u"ə"},
      {"an", u"ən"},
      {"the", u"ðə"},
      {"of", u"əv"},
      {"and", u"ənd"},
      {"to", u"tə"},
      {"for", u"fə"},
      {"from", u"frəm"},
      {"at", u"ət"},
      {"was", u"wəz"},
      {"were", u"wə"},
      {"that", u"ðət"},
      {"have", u"həv"},
      {"has", u"həz"},
      {"had", u"həd"},
      {"can", u"kən"},
      {"could", u"kəd"},
      {"must", u"məst"},
      {"do", u"də"},
      {"does", u"dəz"},
      {"some", u"səm"},
      {"them", u"ðəm"},
      {"us", u"əs"},
      {"her", u"hə"},
      {"than", u"ðən"},
      {"as", u"əz"},
      {"but", u"bət"},
      {"read", u"ˈred"},
      {"live", u"ˈlaiv"},
      {"lead", u"ˈled"},
      {"wind", u"ˈwaind"},
      {"tear", u"ˈtɛə"},
      {"close", u"ˈkləus"},
      {"use", u"ˈjuːz"},
      {"object", u"əbˈdʒekt"},
      {"present", u"priˈzent"},
      {"record", u"riˈkɔːd"},
      {"project", u"prəˈdʒekt"},
      {"produce", u"ˈprɔdjuːs"},
      {"permit", u"ˈpəːmit"},
      {"either", u"ˈiːðə"},
      {"neither", u"ˈniːðə"},
      {"often", u"ˈɔftən"},
      {"schedule", u"ˈskedʒuːl"},
      {"garage", u"ˈɡæridʒ"},
  };
  for (const auto& [word, form] : wanted) {
    const auto rows = pronunciationRows(word, u"x", {});
    bool found = false;
    for (const auto& r : rows) found = found || r.symbols == form;
    EXPECT_TRUE(found) << word << " lacks " << encodeUtf8(form);
  }
}

TEST(PronunciationRows, AWordTheTableDoesNotListKeepsItsOneRow) {
  const auto rows = pronunciationRows("cat", u"ˈkæt", {"n. a small animal"});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].symbols, u"ˈkæt");
  EXPECT_EQ(rows[0].explainLines, std::vector<std::string>{"n. a small animal"});
  // Spelling counts exactly: the capitalised word is another headword.
  EXPECT_EQ(pronunciationRows("Object", u"ˈɔbdʒekt", {}).size(), 1u);
}

TEST(PronunciationRows, SensesGoToTheRowOfTheirPartOfSpeech) {
  const auto rows =
      pronunciationRows("object", u"ˈɔbdʒekt",
                        {"n. a thing", "v. express disapproval", "n. a goal", "adv. never here"});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(symbolsOf(rows), (std::vector<std::string>{"ˈɔbdʒikt", "əbˈdʒekt"}));
  // The first row takes its own lines and every line no other row takes.
  EXPECT_EQ(rows[0].explainLines,
            (std::vector<std::string>{"noun", "n. a thing", "n. a goal", "adv. never here"}));
  EXPECT_EQ(rows[1].explainLines, (std::vector<std::string>{"verb", "v. express disapproval"}));

  // "v." takes verb lines only, never "adv." ones.
  const auto live =
      pronunciationRows("live", u"ˈlaiv", {"v. inhabit", "adj. alive", "adv. not recorded"});
  ASSERT_EQ(live.size(), 2u);
  EXPECT_EQ(live[0].explainLines, (std::vector<std::string>{"verb", "v. inhabit"}));
  EXPECT_EQ(live[1].explainLines,
            (std::vector<std::string>{"adjective, adverb", "adj. alive", "adv. not recorded"}));

  // Each pronunciation carries its own Chinese: the verb's lines say vt. or vi.
  const auto desert = pronunciationRows(
      "desert", u"ˈdezət", {"vt. 放弃；遗弃", "vi. 逃掉", "n. 沙漠", "n. arid land", "v. abandon"});
  ASSERT_EQ(desert.size(), 2u);
  EXPECT_EQ(desert[0].explainLines,
            (std::vector<std::string>{"noun: a dry region", "n. 沙漠", "n. arid land"}));
  EXPECT_EQ(desert[1].explainLines,
            (std::vector<std::string>{"verb: leave, abandon", "vt. 放弃；遗弃", "vi. 逃掉",
                                      "v. abandon"}));
}

TEST(PronunciationRows, WeakFormsAndVariantsAreLabelledRowsAfterTheUsualOne) {
  // A function word leads with the weak form a learner hears most, which takes the senses.
  const auto of = pronunciationRows("of", u"ɔv", {"prep. belonging to"});
  ASSERT_EQ(of.size(), 2u);
  EXPECT_EQ(of[0].symbols, u"əv");
  EXPECT_EQ(of[0].explainLines, (std::vector<std::string>{"weak form", "prep. belonging to"}));
  EXPECT_EQ(of[1].symbols, u"ɔv");
  EXPECT_EQ(of[1].explainLines, std::vector<std::string>{"strong form"});
  const auto the = pronunciationRows("the", u"ðə", {"det. the one"});
  ASSERT_EQ(the.size(), 3u);
  EXPECT_EQ(the[0].symbols, u"ðə");
  EXPECT_EQ(the[1].symbols, u"ði");
  EXPECT_EQ(the[2].symbols, u"ðiː");
  // A word as often stressed as not leads with the strong form.
  const auto that = pronunciationRows("that", u"ðæt", {"det. that one"});
  ASSERT_EQ(that.size(), 2u);
  EXPECT_EQ(that[0].symbols, u"ðæt");

  const auto read = pronunciationRows("read", u"ˈriːd", {"v. look at and understand"});
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].symbols, u"ˈred");
  EXPECT_EQ(read[1].explainLines,
            std::vector<std::string>{"past tense and past participle of read"});

  const auto often = pronunciationRows("often", u"ˈɔfən", {"adv. many times"});
  ASSERT_EQ(often.size(), 2u);
  EXPECT_EQ(often[0].explainLines,
            std::vector<std::string>{"adv. many times"});  // the usual one: no label
  EXPECT_EQ(often[1].explainLines, std::vector<std::string>{"other pronunciation"});
}

namespace {

class VariantBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto list = folder_.path() / "words.tsv";
    std::ofstream(list, std::ios::binary) << "object\t\tn. a thing\\nv. be against\t50\n"
                                             "of\t\tprep. belonging to\t90\n"
                                             "cat\tkæt\tn. a small animal\t10\n";
    options_.runtimeDir = folder_.path().string();
    options_.useWordNet = false;
    options_.useNpmSources = false;  // the readings alone, without Chinese lines
    options_.tsvFiles = {list.string()};
  }
  quorvi::testing::TemporaryFolder folder_;
  BuildOptions options_;
};

}  // namespace

TEST_F(VariantBuild, TheEntryLookupShowsEveryPronunciationAndVerifyAcceptsThem) {
  std::ostringstream log;
  const BuildSummary s = buildDictionary(options_, log);
  ASSERT_TRUE(s.ok) << log.str();
  EXPECT_EQ(s.rows, 3u);  // headwords

  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
  EXPECT_NE(report.str().find("headwords with several pronunciations: 2 (4 rows)"),
            std::string::npos)
      << report.str();

  quorvi::testing::WorkingDirectory inFolder(folder_.path());
  PhoneticDictionary dict;
  ASSERT_TRUE(dict.isOpen());
  const QStringList entry = dict.entryText("object");
  EXPECT_EQ(entry, (QStringList{"object", "[ˈɔbdʒikt]", "noun\nn. a thing", "object", "[əbˈdʒekt]",
                                "verb\nv. be against"}));
}

TEST(VariantCheck, RepeatedOrUnexplainedPronunciationsAreReported) {
  quorvi::testing::TemporaryFolder folder;
  const std::string path = (folder.path() / "words.db").string();
  DictionaryWriter writer;
  ASSERT_TRUE(writer.begin(path, StorageDesign::Split, 4096)) << writer.error();
  ASSERT_TRUE(writer.add("of", "&#596;v", "strong form"));
  ASSERT_TRUE(writer.add("of", "&#596;v", "strong form again"));
  ASSERT_TRUE(writer.add("of", "&#601;v", ""));
  ASSERT_TRUE(writer.finish()) << writer.error();

  std::ostringstream report;
  EXPECT_FALSE(verifyDictionary(path, report).ok);
  EXPECT_NE(report.str().find("pronunciation given twice: of [&#596;v]"), std::string::npos)
      << report.str();
  EXPECT_NE(report.str().find("pronunciation row without explanation: of [&#601;v]"),
            std::string::npos);
  EXPECT_NE(report.str().find("1 repeated, 1 without explanation"), std::string::npos);
}

TEST(PronunciationTable, ReadsConsecutiveReadingsAndRefusesMalformedLines) {
  std::vector<HeadwordReadings> table;
  std::string error;
  ASSERT_TRUE(
      readPronunciationTable("# a comment\nread\tˈriːd\tpresent tense\t\nread\tˈred\t"
                             "past tense\t\nlive\tˈliv\tverb\tv.\n",
                             table, error))
      << error;
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].readings.size(), 2u);
  EXPECT_EQ(table[1].readings[0].senses, "v.");
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"read\tˈriːd\t\t\nlive\tˈliv\t\t\nread\tˈred\t\t\n",
       "line 3: read: its readings are not on consecutive lines"},
      {"read\t\tverb\t\n", "line 1: a headword or reading is empty"},
      {"read\tˈriːd\n", "line 1: expected 4 fields separated by tabs, found 2"},
  };
  for (const auto& b : bad) {
    table.clear();
    EXPECT_FALSE(readPronunciationTable(b.text, table, error)) << b.text;
    EXPECT_EQ(error, b.error);
  }
}
