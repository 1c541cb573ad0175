// The Chinese of abbreviations a learner hears said as words: the table's own line in place of
// the sources' other senses, and the senses read letter by letter set apart for a row of their
// own, with the Chinese of the element whose symbol the abbreviation is.
#include <gtest/gtest.h>

#include "abbreviation_chinese.h"
#include "missing_chinese.h"

using namespace quorvi::dictbuild;

namespace {

using Lines = std::vector<std::string>;

DictEntry entry(const std::string& caption, Lines lines, bool saidAsWord = false) {
  DictEntry e;
  e.caption = caption;
  e.explainLines = std::move(lines);
  e.saidAsWord = saidAsWord;
  e.transcription = saidAsWord ? "ˈwɜːd" : "";
  return e;
}

}  // namespace

// Jr and Sr are in the spoken-form table with Chinese of their own; zorp is not.
TEST(AbbreviationChinese, TheTablesLineReplacesOtherSensesChineseAndLetterReadSensesGoApart) {
  std::vector<DictEntry> entries = {
      entry("Jr", {"冯内果", "Jr: junior", "n. a son named after his father"}, true),
      entry("jr.", {"二世；小", "adj. the younger of two persons", "plural of jr / jr的复数"}),
      entry("Sr",
            {"锶Sr；锶(38号元素)", "同 strontium", "Sr: senior", "n. a soft metallic element"},
            true),
      entry("sr.", {"〈外(=Senhor)", "同 senhor", "adj. the older of two persons"}),
      entry("zorp", {"佐普", "n. a zorp"}),
  };
  EXPECT_EQ(giveAbbreviationsTheirChinese(entries), 4u);
  EXPECT_EQ(entries[0].explainLines.front(), "小（父子同名时指儿子）");
  EXPECT_EQ(entries[0].explainLines.size(), 3u);
  EXPECT_EQ(entries[1].explainLines,
            (Lines{"小（父子同名时指儿子）", "adj. the younger of two persons",
                   "plural of jr / jr的复数"}));
  EXPECT_EQ(entries[2].explainLines.size(), 5u);
  EXPECT_EQ(entries[3].explainLines,
            (Lines{"老（父子同名时指父亲）", "adj. the older of two persons"}));
  EXPECT_EQ(entries[4].explainLines.front(), "佐普");

  EXPECT_EQ(separateLetterReadSenses(entries), 1u);
  EXPECT_EQ(entries[2].explainLines, (Lines{"老（父子同名时指父亲）", "Sr: senior"}));
  EXPECT_EQ(entries[2].letterReadLines,
            (Lines{"锶Sr；锶(38号元素)", "同 strontium", "n. a soft metallic element"}));
  EXPECT_TRUE(entries[0].letterReadLines.empty());
}

// A row said as a word with letter-read senses only is read as it is spelled, all of it.
TEST(AbbreviationChinese, ARowOfLetterReadSensesAloneKeepsThemAndTheSpellingsReading) {
  std::vector<DictEntry> entries = {
      entry("Zq", {"佐奎（Zorp Quality）", "n. a radioactive element"}, true)};
  EXPECT_EQ(separateLetterReadSenses(entries), 0u);
  EXPECT_EQ(entries[0].explainLines.size(), 2u);
  EXPECT_TRUE(entries[0].letterReadLines.empty());
  EXPECT_TRUE(entries[0].transcription.empty());
  EXPECT_FALSE(entries[0].saidAsWord);
}

// Letter-read senses without Chinese take the Chinese of the element the symbol spells, not of
// the commonest word WordNet glosses alike (it glosses many elements "a radioactive element").
TEST(AbbreviationChinese, LetterReadSensesTakeTheChineseOfTheElementTheSymbolSpells) {
  const std::string gloss = "n. a radioactive transuranic element";
  std::vector<DictEntry> entries = {
      entry("Zq", {"锆；峰", "Zq: Zorp"}, true),
      entry("darmzorpium", {"𫟼", gloss}),
      entry("zorquium", {"鿏", gloss}),
  };
  entries[0].letterReadLines = {gloss};
  entries[1].frequency = 9;
  entries[2].frequency = 1;
  EXPECT_EQ(borrowChineseOfSynonyms(entries), 1u);
  EXPECT_EQ(entries[0].letterReadLines, (Lines{"鿏", "同 zorquium", gloss}));
  EXPECT_EQ(entries[0].explainLines.size(), 2u);
}
