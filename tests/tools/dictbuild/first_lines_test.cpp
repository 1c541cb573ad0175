// What a learner reads first in an entry: no title, acronym, element or pointer to another
// word before the word's own sense, slurs saying they offend, Chinese for spoken forms and
// parts of phrases, and the verify scan that finds what is left.
#include <gtest/gtest.h>

#include "chinese_line.h"
#include "data_tables.h"
#include "element_symbols.h"
#include "first_line_scan.h"
#include "missing_chinese.h"
#include "slur_lines.h"
#include "surname_lines.h"

using namespace quorvi::dictbuild;

namespace {

using Lines = std::vector<std::string>;

DictEntry entry(const std::string& caption, Lines lines) {
  DictEntry e;
  e.caption = caption;
  e.explainLines = std::move(lines);
  return e;
}

}  // namespace

TEST(OtherSenses, TitlesAcronymsElementsAndPointersAreToldFromTheWordsOwnSense) {
  EXPECT_EQ(otherSenseOfLine("n. 烤出来的爱（电影名）"), OtherSense::Title);
  EXPECT_EQ(otherSenseOfLine("n. 月光（美国电视连续剧剧名）；月色"), OtherSense::Title);
  EXPECT_EQ(otherSenseOfLine("《月光》"), OtherSense::Title);
  // What a person did is no title.
  EXPECT_EQ(otherSenseOfLine("佐尔普（美国小说家、电影演员）"), OtherSense::None);
  EXPECT_EQ(otherSenseOfLine("佐尔普（小说家的同名电影）"), OtherSense::Title);
  // Nor is a character named with the title of its work.
  EXPECT_EQ(otherSenseOfLine("佐尔普(史诗《月光》中的英雄人物)"), OtherSense::None);
  EXPECT_EQ(otherSenseOfLine("《月光》中的歌"), OtherSense::Title);
  // A title's note names the words before it; a note before a word says whose sense it is.
  EXPECT_EQ(otherSenseOfLine("宝鸟服饰；报喜鸟（品牌名）"), OtherSense::Title);
  EXPECT_EQ(otherSenseOfLine("月色（诗）；月光（电影名）"), OtherSense::None);
  EXPECT_EQ(otherSenseOfLine("n. 英尺长度；(影片的)连续镜头"), OtherSense::None);
  EXPECT_EQ(otherSenseOfLine("abbr. 快速傅里叶变换（Fast Fourier Transform）"),
            OtherSense::Acronym);
  EXPECT_EQ(otherSenseOfLine("物料清单（Bill of Materials）"), OtherSense::Acronym);
  EXPECT_EQ(otherSenseOfLine("钠(11号元素)"), OtherSense::Element);
  EXPECT_EQ(otherSenseOfLine("n. =colour[亦作color]"), OtherSense::CrossReference);
  EXPECT_EQ(otherSenseOfLine("-zes 小东西"), OtherSense::CrossReference);
  // The word's own senses, whatever brackets they hold.
  for (const char* own : {"n. 商标；牌子", "n. 薯条（French fries）", "a given name (male); 人名",
                          "n. 元素；要素", "abbr. 先生", "拉（音符）", "n. 电影；影片"})
    EXPECT_EQ(otherSenseOfLine(own), OtherSense::None) << own;
  EXPECT_EQ(crossReferenceTarget("=colour[亦作color]"), "colour");
  EXPECT_EQ(crossReferenceTarget("= air plane"), "air plane");
  EXPECT_EQ(crossReferenceTarget("飞机"), "");
}

TEST(FirstLineScan, JudgesTheFirstChineseLineOfTheMostHeardWords) {
  EXPECT_EQ(firstLineFault("past tense of bake / bake的过去式<br/>vt. 烘焙<br/>n. 烤（电影名）"),
            FirstLineFault::None);
  EXPECT_EQ(firstLineFault("n. a sense<br/>n. 烤出来的爱（电影名）"), FirstLineFault::Title);
  EXPECT_EQ(firstLineFault("plural of bake / bake的复数<br/>n. a sense"),
            FirstLineFault::NoChinese);
  EXPECT_EQ(firstLineFault("中考 高考 · 柯林斯★"), FirstLineFault::NoChinese);
  // A symbol's row opening with its element's bare name; the element's own word is not at fault.
  EXPECT_EQ(firstLineFault("n. 镤<br/>同 protactinium", "Pa"), FirstLineFault::Element);
  EXPECT_EQ(firstLineFault("n. 镤", "protactinium"), FirstLineFault::None);
  EXPECT_EQ(firstLineFault("n. 爸", "pa"), FirstLineFault::None);
  EXPECT_EQ(firstLineFault("公司<br/>n. 钴", "Co"), FirstLineFault::None);
  std::vector<ChemicalElement> elements;
  std::string error;
  ASSERT_TRUE(readElementSymbols(kElementSymbolsText, elements, error)) << error;
  EXPECT_EQ(elements.size(), 118u);

  SpokenFrequencies spoken;
  spoken.counts = {{"bake", 50}, {"No", 40}, {"Wug", 30}, {"didn", 25}, {"zorp", 20}, {"gone", 10}};
  const std::map<std::string, std::string> rows = {
      {"bake", "vt. 烘焙"},
      {"No", "n. a radioactive element"},  // the element: a learner opens no
      {"no", "adv. 不"},
      {"Wug", "a given name (male); 人名"},
      {"wug", "n. a made-up creature"},
      {"gone", "n. 消失（电影名）"},
  };
  const auto isHeadword = [&](const std::string& w) {
    return w == "bake" || w == "no" || w == "wug" || w == "gone";
  };
  const auto firstRow = [&](const std::string& w) -> std::optional<HeardRow> {
    const auto it = rows.find(w == "No" ? std::string("no") : w);
    if (it == rows.end()) return std::nullopt;
    return HeardRow{it->first, it->second};
  };
  const auto scans = scanFirstLines(spoken, isHeadword, firstRow, {3, 10});
  ASSERT_EQ(scans.size(), 2u);
  EXPECT_EQ(scans[0].words, 3u) << "didn is a fragment, zorp no headword";
  EXPECT_EQ(scans[0].faulty(), 0u);
  EXPECT_EQ(scans[1].faulty(), 1u);
  EXPECT_EQ(scans[1].faults[static_cast<size_t>(FirstLineFault::Title)], 1u);
  ASSERT_EQ(scans[1].examples.size(), 1u);
  EXPECT_EQ(scans[1].examples[0], "gone (title): n. 消失（电影名）");
}

TEST(Slurs, SayTheyOffendBeforeWhatTheyMeanAndAfterAnOrdinarySense) {
  std::vector<DictEntry> entries = {
      entry("coon", {"n. 浣熊；黑人", "n. [offensive 冒犯] (ethnic slur) a black person"}),
      entry("Spic", {"n. 美籍西班牙人"}),
      entry("cat", {"n. 猫"}),
  };
  EXPECT_EQ(labelSlurs(entries), 2u);
  EXPECT_EQ(entries[0].explainLines, (Lines{"n. 浣熊", "n. 冒犯性用语；黑鬼",
                                            "n. [offensive 冒犯] (ethnic slur) a black person"}));
  EXPECT_EQ(entries[1].explainLines, (Lines{"n. 冒犯性用语；拉美佬"}));
  EXPECT_EQ(entries[2].explainLines, (Lines{"n. 猫"}));
  EXPECT_EQ(slurChineseLines({"弱智", "vt. 延迟"}), (Lines{"vt. 延迟", "n. 冒犯性用语；弱智"}));

  std::map<std::string, SlurChinese> table;
  std::string error;
  EXPECT_TRUE(readSlurs(kSlursText, table, error)) << error;
  EXPECT_FALSE(readSlurs("Coon\t黑鬼\t\n", table, error));
  EXPECT_EQ(error, "line 1: a slur is written in lower case");
  EXPECT_FALSE(readSlurs("zorp\tzorp\t\n", table, error));
}

TEST(MissingChinese, SpokenFormsAndPartsOfPhrasesTakeTheChineseOfWhatTheyStandFor) {
  std::vector<DictEntry> entries = {
      entry("yes", {"是；是的", "adv. an affirmative"}),
      entry("yeh", {"yeh: yes, yeah", "spoken form"}),
      entry("Lanka", {"in the name Sri Lanka: an island country"}),
      entry("Sri Lanka", {"斯里兰卡", "n. an island country"}),
      entry("gonk", {"gonk: zorp", "spoken form"}),
      entry("yup", {"是的", "yup: yes"}),
      // Chinese only of an acronym or title spelled alike is none of the word's own; an
      // element is a symbol's own.
      entry("hoi", {"高阶接口（High Order Interface）", "in the phrase hoi polloi: the people"}),
      entry("hoi polloi", {"n. 民众；大众", "n. the common people"}),
      entry("Sl", {"钇(39号元素)", "in the name Sri Lanka: an island country"}),
      // A spoken form of a grammatical word is heard as that word unless its own Chinese
      // says the same in part.
      entry("because", {"conj. 因为", "conj. for the reason that"}),
      entry("cos", {"n. 余弦", "cos: because", "n. ratio of two sides"}),
      entry("yep", {"adv. 是", "yep: yes"}),
      entry("ol", {"n. 油", "ol: old"}),
      entry("yah", {"对", "yah: yes"}),  // CC-CEDICT's for the spelling: its own
      // A present participle with its g dropped is heard as its verb.
      entry("tell", {"vt. 告诉；说", "v. express in words"}),
      entry("telling", {"adj. 有效的", "adj. powerful", "present participle of tell"}),
      entry("tellin", {"n. 樱蛤", "tellin: telling", "spoken form, with the final g dropped"}),
  };
  EXPECT_EQ(borrowChineseOfWhatItStandsFor(entries), 5u);
  EXPECT_EQ(entries[1].explainLines.front(), "是；是的");
  EXPECT_EQ(entries[2].explainLines.front(), "斯里兰卡");
  EXPECT_EQ(entries[4].explainLines.front(), "gonk: zorp");
  EXPECT_EQ(entries[5].explainLines.size(), 2u);
  EXPECT_EQ(entries[6].explainLines, (Lines{"n. 民众；大众", "高阶接口（High Order Interface）",
                                            "in the phrase hoi polloi: the people"}));
  EXPECT_EQ(entries[8].explainLines.size(), 2u);
  EXPECT_EQ(entries[10].explainLines.front(), "conj. 因为");
  EXPECT_EQ(entries[11].explainLines.front(), "adv. 是");
  EXPECT_EQ(entries[12].explainLines.front(), "n. 油") << "old is no grammatical word";
  EXPECT_EQ(entries[13].explainLines.front(), "对");
  EXPECT_EQ(entries[16].explainLines.front(), "vt. 告诉；说");
}

// A name of one word takes the Chinese of another name for the same thing (Tai and Thai), not
// where a common word is spelled as it, nor from an abbreviation in capitals.
TEST(MissingChinese, ANameTakesTheChineseOfAnotherNameForTheSameThing) {
  const std::string people = "n. a native or inhabitant of Zorpland";
  const std::string dance = "n. a dance of Zorpland";
  std::vector<DictEntry> entries = {
      entry("Zorpish", {"n. 佐普人", people}),
      entry("Zorpic", {people}),
      entry("Blarg", {people}),
      entry("blarg", {"n. 一个普通的词"}),
      entry("ZDP", {"佐普舞（Zorp Dance Party）", dance}),
      entry("Zorpa", {dance}),
  };
  EXPECT_EQ(borrowChineseOfSynonyms(entries), 1u);
  EXPECT_EQ(entries[1].explainLines, (Lines{"n. 佐普人", "同 Zorpish", people}));
  EXPECT_EQ(entries[2].explainLines.size(), 1u);
  EXPECT_EQ(entries[5].explainLines.size(), 1u);

  // Nor for a gloss WordNet gives many things ("a genus of ..."): those are no names of one.
  const std::string genus = "n. a genus of Zorpidae";
  std::vector<DictEntry> genera = {entry("Zorpomys", {"沙鼠属", genus}),
                                   entry("Blargomys", {genus}), entry("Quuxomys", {genus}),
                                   entry("Fooomys", {genus})};
  EXPECT_EQ(borrowChineseOfSynonyms(genera), 0u);
}

TEST(MissingChinese, ARowWithoutChineseTakesItsSynonymsForTheSenseTheyShare) {
  const std::string gloss = "n. a lustrous metallic element; \"a bar of it\"";
  std::vector<DictEntry> entries = {
      entry("Zq", {"n. a lustrous metallic element", "n. an old dance"}),
      entry("zorpium", {"v. 熔炼", "n. 锆钽；锆钽合金", gloss}),
      entry("zorpite", {"n. 锆石", gloss}),
      entry("Zx", {"n. an old dance"}),
      entry("zorpiums", {"plural of zorpium / zorpium的复数"}),
      entry("blarg", {"n. a sense no other word has"}),
      entry("atomic number 99", {"原子序数99", gloss}),
      entry("ZQ", {"佐奎", gloss}),
      entry("zorpery", {"n. 舞会", "n. a party", gloss}),
      entry("ZDP", {"n. the zorp department"}),
      entry("Zorp Department of Planning", {"佐普规划部", "n. the zorp department"}),
      entry("Zorpland", {"n. the zorp department"}),
  };
  entries[1].frequency = 5;
  entries[2].frequency = 1;
  entries[6].frequency = 9;
  entries[7].frequency = 9;
  entries[8].frequency = 9;
  EXPECT_EQ(borrowChineseOfSynonyms(entries), 2u);
  // A capitalised name gives its Chinese to its abbreviation only.
  EXPECT_EQ(entries[9].explainLines.front(), "佐普规划部");
  EXPECT_EQ(entries[11].explainLines.size(), 1u);
  // The commonest synonym that is no number or abbreviation and has the sense first, its line of
  // the sense's part of speech, and whose it is.
  EXPECT_EQ(entries[0].explainLines, (Lines{"n. 锆钽；锆钽合金", "同 zorpium",
                                            "n. a lustrous metallic element", "n. an old dance"}));
  // A sense no word with Chinese shares, and a word form, are left to the other rules.
  EXPECT_EQ(entries[3].explainLines.size(), 1u);
  EXPECT_EQ(entries[4].explainLines.size(), 1u);
  EXPECT_EQ(entries[5].explainLines.size(), 1u);

  // A word of three letters gives a number's Chinese only; a note of which form a word is
  // ("be的现在时") is no Chinese of a sense.
  std::vector<DictEntry> shortWords = {
      entry("vi", {"adj. being one more than five"}),
      entry("six", {"num. 六", "adj. being one more than five"}),
      entry("wc", {"n. a toilet"}),
      entry("loo", {"n. 卢牌戏", "n. a toilet"}),
      entry("ar", {"n. a unit of area"}),
      entry("aree", {"be的现在时", "n. a unit of area"}),
  };
  EXPECT_EQ(borrowChineseOfSynonyms(shortWords), 1u);
  EXPECT_EQ(shortWords[0].explainLines.front(), "num. 六");
  EXPECT_EQ(shortWords[2].explainLines.size(), 1u);
  EXPECT_EQ(shortWords[4].explainLines.size(), 1u);
}

TEST(Surnames, AChineseFamilyNameOpensWithItsUsualCharacterUnlessTheSpellingIsAnEverydayWord) {
  const auto cedict = [](std::string simplified, std::string pinyin, Lines glosses) {
    CedictEntry e;
    e.simplified = std::move(simplified);
    e.pinyin = std::move(pinyin);
    e.glosses = std::move(glosses);
    return e;
  };
  // Two characters are "surname Gao"; more people CC-CEDICT names write the second.
  const CedictNames names({cedict("皋", "Gao1", {"high riverbank", "surname Gao"}),
                           cedict("高", "Gao1", {"high", "surname Gao"}),
                           cedict("高适", "Gao1 Shi4", {"Gao Shi (704-765), poet"}),
                           cedict("高明", "Gao1 Ming2", {"Gao Ming, playwright"}),
                           cedict("皋陶", "Gao1 Yao2", {"Gao Yao, a minister"}),
                           cedict("龙", "Long2", {"surname Long"}),
                           cedict("佐", "Xo1", {"surname Xo"})});  // no one bears it
  EcdictData ecdict;
  EcdictWord everyday;
  everyday.tag = "zk gk";
  ecdict.add("long", everyday);
  std::vector<DictEntry> entries = {
      entry("Gao", {"n. 市高", "a family name; 姓氏", "n. a unit of length"}),
      entry("Long", {"a family name; 姓氏"}),
      entry("Zorp", {"n. 佐普"}),
      entry("Xo", {"n. an old coin"}),
  };
  EXPECT_EQ(putChineseSurnamesFirst(entries, names, &ecdict), 1u);
  EXPECT_EQ(entries[0].explainLines,
            (Lines{"a family name; 姓氏：高", "n. 市高", "n. a unit of length"}));
  EXPECT_EQ(entries[1].explainLines, (Lines{"a family name; 姓氏"}));
  EXPECT_EQ(entries[2].explainLines, (Lines{"n. 佐普"}));
  EXPECT_EQ(entries[3].explainLines, (Lines{"n. an old coin"}));
}
