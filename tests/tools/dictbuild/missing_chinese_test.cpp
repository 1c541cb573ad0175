// Chinese for the headwords ECDICT and CC-CEDICT leave without any: letters, capitalised
// words that are the lower-case word with a capital, and names; and verify's figure of the
// spoken words whose entry has Chinese.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "data_tables.h"
#include "missing_chinese.h"
#include "spoken_coverage.h"

using namespace quorvi::dictbuild;

namespace {

using Lines = std::vector<std::string>;

EcdictWord word(const std::string& translation, const std::string& definition = "",
                const std::string& tag = "") {
  EcdictWord w;
  w.translation = translation;
  w.definition = definition;
  w.tag = tag;
  return w;
}

DictEntry entry(const std::string& caption, Lines lines) {
  DictEntry e;
  e.caption = caption;
  e.explainLines = std::move(lines);
  return e;
}

const Lines& linesOf(const std::vector<DictEntry>& entries, const std::string& caption) {
  static const Lines none;
  for (const DictEntry& e : entries)
    if (e.caption == caption) return e.explainLines;
  return none;
}

}  // namespace

// A letter opens with its name as a letter; ECDICT's general senses of it in either case
// follow, its special fields' (S: computing and medicine) do not; the article and the pronoun
// stay words.
TEST(MissingChinese, LettersOpenWithTheirNameAndEcdictsGeneralSenses) {
  EcdictData ecdict;
  ecdict.add("S", word("[计] 标量, 服务员, 符号\\n[医] 硫[黄](16号元素)",
                       "n. the 19th letter of the Roman alphabet"));
  ecdict.add("x", word("n. 未知数\\n[计] 交换, 变址"));
  ecdict.add("j", word("n. 字母j"));
  std::vector<DictEntry> entries = {
      entry("s", {"n. 1/60 of a minute"}),
      entry("S", {"标量；服务员；符号", "n. the cardinal compass point that is at 180 degrees"}),
      entry("X", {"n. the cardinal number that is the sum of nine and one"}),
      entry("J", {"n. a unit of electrical energy"}),
      entry("a", {"art. 一", "det. used before a noun"}),
      entry("I", {"pron. 我"})};
  const MissingChineseCounts counts = addMissingChinese(entries, ecdict, {});
  EXPECT_EQ(counts.letters, 4u);
  EXPECT_EQ(linesOf(entries, "s"), (Lines{"n. 字母S", "n. 1/60 of a minute"}));
  EXPECT_EQ(linesOf(entries, "S"),
            (Lines{"n. 字母S", "n. the cardinal compass point that is at 180 degrees"}));
  EXPECT_EQ(
      linesOf(entries, "X"),
      (Lines{"n. 字母X", "n. 未知数", "n. the cardinal number that is the sum of nine and one"}));
  EXPECT_EQ(linesOf(entries, "J"), (Lines{"n. 字母J", "n. a unit of electrical energy"}));
  EXPECT_EQ(linesOf(entries, "a"), (Lines{"art. 一", "det. used before a noun"}));
  EXPECT_EQ(linesOf(entries, "I"), (Lines{"pron. 我"}));
}

// A letter of another alphabet or a sol-fa syllable says so in Chinese when it has no Chinese
// of its own, first even where WordNet gives another sense first; its count read from a figure
// or a word.
TEST(MissingChinese, LettersOfOtherAlphabetsAndSolFaSyllablesSayWhatTheyAre) {
  std::vector<DictEntry> entries = {
      entry("mem", {"n. the 13th letter of the Hebrew alphabet"}),
      entry("te", {"n. the syllable naming the seventh (subtonic) note of any scale in "
                   "solmization; \"te comes before do\""}),
      entry("mi", {"n. a unit of length", "n. the syllable naming the third note in solmization"}),
      entry("nun", {"n. 修女", "n. the 14th letter of the Hebrew alphabet"}),
      entry("omega", {"n. the last (24th) letter of the Greek alphabet"}),
  };
  EXPECT_EQ(addMissingChinese(entries, {}, {}).letterSenses, 3u);
  EXPECT_EQ(entries[0].explainLines.front(), "n. 希伯来字母表的第13个字母");
  EXPECT_EQ(entries[1].explainLines.front(), "n. 音阶第7音的唱名");
  EXPECT_EQ(entries[2].explainLines,
            (Lines{"n. 音阶第3音的唱名", "n. a unit of length",
                   "n. the syllable naming the third note in solmization"}));
  // Chinese of its own, a count that is no ordinal: unchanged.
  EXPECT_EQ(entries[3].explainLines.front(), "n. 修女");
  EXPECT_EQ(entries[4].explainLines.size(), 1u);
}

// An abbreviation takes the Chinese of the expansion ECDICT gives (in any case) when its letters
// begin the expansion's words and its first sense names most of them.
TEST(MissingChinese, AnAbbreviationTakesTheChineseOfWhatItStandsForWhereItsSenseSaysSo) {
  EcdictData ecdict;
  ecdict.add("asap", word("abbr. 尽快（As Soon As Possible）"));
  ecdict.add("bb", word("abbr. 滚珠轴承（ball bearing）；铅笔芯（double black）"));
  ecdict.add("tai", word("abbr. 泰国国际航空公司（Thai Airways International）"));
  std::vector<DictEntry> entries = {
      entry("ASAP", {"adv. as soon as possible"}),
      entry("BB", {"n. a small pellet fired from an air rifle"}),
      entry("Tai", {"n. a native or inhabitant of Thailand"}),
  };
  EXPECT_EQ(addMissingChinese(entries, ecdict, {}).expansions, 1u);
  EXPECT_EQ(entries[0].explainLines, (Lines{"adv. 尽快", "adv. as soon as possible"}));
  EXPECT_EQ(entries[1].explainLines.size(), 1u);
  EXPECT_EQ(entries[2].explainLines.size(), 1u);
}

// The same word with a capital takes the lower-case word's Chinese of its parts of speech:
// when ECDICT files its sense first under that word, a sense names the word, an example gives
// it an article, or the hand-written table says so. A person, a genus, a sense ECDICT files
// below others (the constellation Dragon) and a Chinese of another part of speech give none.
TEST(MissingChinese, CapitalisedWordsTakeTheLowerCaseWordsChineseOnlyWhenTheSameWord) {
  EcdictData ecdict;
  ecdict.add("president", word("n. 总统, 总裁\\n[经] 总经理, 董事长",
                               "n. an executive officer of a firm or corporation"));
  ecdict.add("bible", word("n. 圣经", "n. the sacred writings of the Christian religions"));
  ecdict.add("navy",
             word("n. 海军, 海军人员\\nadj. 藏青色的", "n. an organization of military vessels"));
  ecdict.add("pope", word("n. 罗马教皇, 主教", "n. the head of the Roman Catholic Church"));
  ecdict.add("lewis",
             word("n. 吊楔", "n. United States rock star singer and pianist (born in 1935)"));
  ecdict.add("dragon", word("n. 龙, 凶暴的人",
                            "n. a creature of Teutonic mythology\\nn. a faint constellation"));
  ecdict.add("thymus", word("n. 胸腺", "n. large genus of Old World mints: thyme"));
  ecdict.add("ted", word("vt. 翻晒", "n. a tough youth of 1950's and 1960's"));
  ecdict.add("anu", word("abbr. 澳大利亚国立大学", "n. Babylonian god of the sky"));
  std::vector<DictEntry> entries = {
      entry("President",
            {"n. the person who holds the office of head of state of the United States "
             "government; \"the President likes to jog every morning\""}),
      entry("Bible", {"n. the sacred writings of the Christian religions; \"he went to carry "
                      "the Word to the heathen\""}),
      entry("Navy", {"n. the navy of the United States of America"}),
      entry("Pope", {"n. English poet and satirist (1688-1744)"}),
      entry("Lewis", {"n. United States rock star singer and pianist (born in 1935)"}),
      entry("Zorpner", {"n. German composer (1813-1883)", "n. the music of Zorpner"}),
      entry("Zorpy", {"n. the music of Zorpy"}),
      entry("Dragon", {"n. a faint constellation"}),
      entry("Thymus", {"n. large genus of Old World mints: thyme"}),
      entry("Ted", {"n. a tough youth of 1950's and 1960's"}),
      entry("Anu", {"n. Babylonian god of the sky"}),
      entry("Georgia", {"a place name; 格鲁吉亚", "n. a state in southeastern United States"}),
      entry("Presidents", {"plural of President"})};
  GivenNames given;
  given.male = {"Ted"};
  given.female = {"Ted"};
  const MissingChineseCounts counts = addMissingChinese(entries, ecdict, given);
  EXPECT_EQ(counts.capitalised, 4u);
  EXPECT_EQ(linesOf(entries, "President").front(), "n. 总统；总裁");
  EXPECT_EQ(linesOf(entries, "Bible").front(), "n. 圣经");
  EXPECT_EQ(linesOf(entries, "Navy").front(), "n. 海军；海军人员");  // no adjective line
  EXPECT_EQ(linesOf(entries, "Pope").front(), "n. 罗马教皇；主教");  // data/capitalised_words
  EXPECT_EQ(
      linesOf(entries, "Lewis"),
      (Lines{"a family name", "n. United States rock star singer and pianist (born in 1935)"}));
  // A bearer's works are the name's too; but no bearer, no name.
  EXPECT_EQ(linesOf(entries, "Zorpner").front(), "a family name");
  EXPECT_EQ(linesOf(entries, "Zorpy").size(), 1u);
  EXPECT_EQ(linesOf(entries, "Dragon"), (Lines{"n. a faint constellation"}));
  EXPECT_EQ(linesOf(entries, "Thymus"), (Lines{"n. large genus of Old World mints: thyme"}));
  EXPECT_EQ(linesOf(entries, "Ted"),
            (Lines{"a given name (male or female)", "n. a tough youth of 1950's and 1960's"}));
  EXPECT_EQ(linesOf(entries, "Anu"), (Lines{"n. Babylonian god of the sky"}));
  EXPECT_EQ(linesOf(entries, "Georgia").size(), 2u);
  EXPECT_EQ(linesOf(entries, "Presidents"), (Lines{"plural of President"}));
  EXPECT_EQ(counts.names, 3u);
}

TEST(MissingChinese, TablesReadAndRefuseMalformedLines) {
  std::map<char, std::string> letters;
  std::string error;
  ASSERT_TRUE(readLetterNames(kLettersText, letters, error)) << error;
  EXPECT_EQ(letters.size(), 26u);
  EXPECT_EQ(letters.at('Q'), "字母Q");
  letters.clear();
  EXPECT_FALSE(readLetterNames("A\t字母A\nb\t字母B\n", letters, error));
  EXPECT_EQ(error.rfind("line 2", 0), 0u) << error;
  EXPECT_FALSE(readLetterNames("A\tletter A\n", letters, error));

  std::map<std::string, std::string> words;
  ASSERT_TRUE(readCapitalisedWords(kCapitalisedWordsText, words, error)) << error;
  EXPECT_EQ(words.at("Pope"), "pope");
  words.clear();
  EXPECT_FALSE(readCapitalisedWords("Pope\tPope\n", words, error));
  EXPECT_FALSE(readCapitalisedWords("pope\tpope\n", words, error));

  std::vector<LetterSense> senses;
  ASSERT_TRUE(readLetterSenses(kLetterSensesText, senses, error)) << error;
  EXPECT_EQ(chineseOfLetterSense("the 2nd letter of the Greek alphabet", senses),
            "希腊字母表的第2个字母");
  EXPECT_EQ(chineseOfLetterSense("the 2nd letter of the Greek alphabet soup", senses), "");
  EXPECT_FALSE(readLetterSenses("the letter *\t字母{N}\n", senses, error));
  EXPECT_FALSE(readLetterSenses("the {N} letter\tletter {N}\n", senses, error));
}

// verify counts, of the covered spoken words, those whose entry has Chinese, and names the
// first without.
TEST(MissingChinese, SpokenCoverageCountsEntriesWithChinese) {
  SpokenFrequencies spoken;
  spoken.counts = {{"you", 90}, {"President", 80}, {"okay", 70}, {"y", 60}, {"Mulder", 50}};
  const std::vector<std::string> heads = {"you", "president", "okay", "y"};
  const auto isHeadword = [&](const std::string& w) {
    return std::find(heads.begin(), heads.end(), w) != heads.end();
  };
  const std::map<std::string, bool> chinese = {
      {"you", true}, {"President", false}, {"okay", true}, {"y", true}};
  const auto hasChinese = [&](const std::string& w) { return chinese.at(w); };
  const auto figures = measureSpokenCoverage(spoken, isHeadword, {5}, hasChinese);
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].covered, 4u);
  EXPECT_EQ(figures[0].withChinese, 3u);
  EXPECT_EQ(figures[0].withoutChinese, std::vector<std::string>{"President"});
  std::ostringstream out;
  printSpokenCoverage(figures[0], out);
  EXPECT_NE(out.str().find("  with Chinese: 75.00% (3 of 4 headwords)\n  most frequent without "
                           "Chinese: President\n"),
            std::string::npos)
      << out.str();
}
