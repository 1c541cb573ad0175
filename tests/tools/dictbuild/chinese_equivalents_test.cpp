#include <gtest/gtest.h>

#include "cedict_gloss.h"
#include "chinese_annotation.h"
#include "chinese_equivalents.h"
#include "chinese_line.h"
#include "english_stems.h"

using namespace quorvi::dictbuild;

namespace {

using Words = std::vector<std::string>;

CedictEntry row(const std::string& simplified, const std::string& pinyin, Words glosses,
                bool variant = false) {
  return CedictEntry{simplified, simplified, pinyin, std::move(glosses), variant};
}

HeadwordUse use(const std::string& parts, char commonest) {
  return HeadwordUse{parts, commonest, ""};
}

// A few entries written the way CC-CEDICT writes them, with word counts in the manner of a
// Chinese frequency list.
const std::vector<CedictEntry>& sample() {
  static const std::vector<CedictEntry> rows = {
      row("跑", "pao3", {"to run", "to run away", "to escape"}),
      row("跑步", "pao3 bu4", {"to run", "to jog", "(military) to march at the double"}),
      row("得分", "de2 fen1", {"to score", "run (baseball)"}),
      row("一泻千里", "yi1 xie4 qian1 li3", {"(idiom) to run", "to flow rapidly"}),
      row("飞", "fei1", {"to fly"}),
      row("苍蝇", "cang1 ying5", {"housefly", "fly (CL:隻|只[zhi1])"}),
      row("看", "kan4", {"to see", "to look at", "to read"}),
      row("样子", "yang4 zi5", {"appearance", "look"}),
      row("中国", "Zhong1 guo2", {"China"}),
      row("瓷器", "ci2 qi4", {"china", "porcelain"}),
      row("王", "Wang2", {"surname Wang"}),
      row("个", "ge4", {"classifier for people or objects in general"}),
      row("貓", "mao1", {"cat"}, true),
      row("猫", "mao1", {"cat (CL:隻|只[zhi1])", "(dialect) to hide oneself"}),
      row("北大", "Bei3 Da4", {"abbr. for Peking University"}),
      row("颜色", "yan2 se4", {"color", "CL:種|种[zhong3]"}),
      row("大", "da4", {"big", "huge", "large"}),
      row("巨大", "ju4 da4", {"huge", "big"}),
      row("硕大", "shuo4 da4", {"big", "huge"}),
      row("庞大", "pang2 da4", {"huge", "big"}),
      row("很大", "hen3 da4", {"big"}),
      row("伟", "wei3", {"big", "great"}),
      row("顾", "gu4", {"(archaic) big"}),
      row("怕", "pa4", {"to be afraid", "to fear"}),
      row("女士", "nu:3 shi4", {"lady", "madam", "Miss", "Ms"}),
      row("毫秒", "hao2 miao3", {"millisecond, ms"}),
  };
  return rows;
}

const ChineseWordFrequencies& counts() {
  static const ChineseWordFrequencies c = {
      {"跑", 9000},   {"跑步", 2000},  {"得分", 800},  {"一泻千里", 30}, {"看", 90000},
      {"样子", 8000}, {"中国", 90000}, {"瓷器", 300},  {"飞", 20000},    {"苍蝇", 1500},
      {"猫", 3000},   {"颜色", 2500},  {"大", 150000}, {"巨大", 9000},   {"硕大", 40},
      {"庞大", 3000}, {"很大", 5000},  {"伟", 20},     {"怕", 8000},     {"女士", 9000},
      {"毫秒", 200}};
  return c;
}

}  // namespace

TEST(CedictGloss, ReadsPlainVerbAndAdjectiveGlossesAsTheirEnglishWords) {
  GlossReading run = readGloss("to run");
  EXPECT_EQ(run.keys, Words{"run"});
  EXPECT_TRUE(run.verb);
  EXPECT_FALSE(run.skip || run.qualified || run.idiom);

  GlossReading cat = readGloss("cat (CL:隻|只[zhi1])");
  EXPECT_EQ(cat.keys, Words{"cat"});
  EXPECT_FALSE(cat.verb || cat.qualified);

  GlossReading care = readGloss("to look after sb; to take care of sth");
  EXPECT_EQ(care.keys, (Words{"look after", "take care of"}));

  GlossReading afraid = readGloss("to be afraid");
  EXPECT_EQ(afraid.keys, Words{"afraid"});
  EXPECT_TRUE(afraid.stative);
  EXPECT_FALSE(afraid.verb);

  EXPECT_EQ(readGloss("a book").keys, Words{"book"});
  EXPECT_EQ(readGloss("big, huge").keys, (Words{"big", "huge"}));
  EXPECT_EQ(readGloss("1,4-benzoquinone").keys, Words{"1,4-benzoquinone"});
  EXPECT_EQ(readGloss("the Yellow Emperor 黃帝|黄帝[Huang2 di4]").keys, Words{});
}

TEST(CedictGloss, MarksReferencesNamesAndRestrictedUsesToBeLeftOut) {
  for (const char* gloss :
       {"variant of 貽|贻[yi2]", "old variant of 五[wu3]", "surname Wang",
        "abbr. for Peking University", "classifier for flat objects", "see 貓腰|猫腰[mao2 yao1]",
        "used in 貓腰|猫腰[mao2 yao1]", "(archaic) to present", "(dialect) to hide oneself",
        "(Tw) lunch box", "(slang) cool", "(polite) your letter", "erhua variant of 點|点[dian3]"})
    EXPECT_TRUE(readGloss(gloss).skip) << gloss;
  EXPECT_TRUE(readGloss("(fig.) to soar").qualified);
  EXPECT_TRUE(readGloss("(of an animal) to paw").qualified);
  EXPECT_TRUE(readGloss("(honorific) your").skip);
  EXPECT_EQ(readGloss("beside oneself").keys, Words{"beside oneself"});
  EXPECT_FALSE(readGloss("(coll.) to chat").qualified);
  EXPECT_TRUE(readGloss("to run like the wind (idiom)").idiom);
}

TEST(ChineseEquivalents, OffersTheVerbOfAVerbAndShortEverydayWordsBeforeIdioms) {
  ChineseEquivalents zh(sample(), counts());
  // "run" is mostly a verb: "to run" answers it, before the baseball noun and the idiom.
  const Words run = zh.lookup("run", use("nv", 'v'));
  ASSERT_GE(run.size(), 2u);
  EXPECT_EQ(run[0], "跑");
  EXPECT_EQ(run[1], "跑步");
  EXPECT_EQ(std::find(run.begin(), run.end(), "一泻千里"), run.end());
  // Which part of speech leads decides between a verb and a noun of the same spelling.
  EXPECT_EQ(zh.lookup("fly", use("nv", 'v')).front(), "飞");
  EXPECT_EQ(zh.lookup("fly", use("nv", 'n')).front(), "苍蝇");
  // "to look at" answers the verb "look" ahead of the noun "look".
  EXPECT_EQ(zh.lookup("look", use("nv", 'v')).front(), "看");
  EXPECT_EQ(zh.lookup("look", use("nv", 'n')).front(), "样子");
  // An adjective glossed as a state: "to be afraid".
  EXPECT_EQ(zh.lookup("afraid", use("a", 'a')), Words{"怕"});
}

TEST(ChineseEquivalents, GivesProperNamesToCapitalisedHeadwordsOnlyAndSkipsWhatIsNoEquivalent) {
  ChineseEquivalents zh(sample(), counts());
  EXPECT_EQ(zh.lookup("china", use("n", 'n')), Words{"瓷器"});
  EXPECT_EQ(zh.lookup("China", use("n", 'n')).front(), "中国");
  EXPECT_EQ(zh.lookup("China", use("n", 'n'), ChineseEquivalents::Beside::LowerCase),
            Words{"中国"});  // beside "china": names only
  // Beside "Ms", "ms" takes none of the glosses written capitalised: 女士 is the title's.
  EXPECT_EQ(zh.lookup("ms", use("n", 'n')), (Words{"毫秒", "女士"}));
  EXPECT_EQ(zh.lookup("ms", use("n", 'n'), ChineseEquivalents::Beside::Capitalised), Words{"毫秒"});
  EXPECT_EQ(zh.lookup("lady", use("n", 'n'), ChineseEquivalents::Beside::Capitalised),
            Words{"女士"});
  // The variant 貓 and the dialect sense are not offered; surnames, classifiers and
  // abbreviations are nobody's equivalent.
  EXPECT_EQ(zh.lookup("cat", use("n", 'n')), Words{"猫"});
  EXPECT_TRUE(zh.lookup("hide oneself", use("v", 'v')).empty());
  EXPECT_TRUE(zh.lookup("Wang", {}).empty());
  EXPECT_TRUE(zh.lookup("Peking University", {}).empty());
  EXPECT_TRUE(zh.lookup("classifier for people or objects in general", {}).empty());
  EXPECT_TRUE(zh.lookup("zebra", use("n", 'n')).empty());
}

// A name glossed only before a description of what it names is that name's Chinese, for the
// capitalised headword alone and where no gloss names it plainly; never a firm's or brand's.
TEST(ChineseEquivalents, ANameBeforeItsDescriptionIsItsChineseWhereNothingElseIs) {
  const std::vector<CedictEntry> rows = {
      row("荷马", "He2 ma3", {"Homer, poet of ancient Greece"}),
      row("科浦", "Ke1 pu3", {"Coop, Swiss retailer branded as \"coop\""}),
      row("中国", "Zhong1 guo2", {"China"}),
      row("瓷国", "Ci2 guo2", {"China, country of porcelain in the east"})};
  ChineseEquivalents zh(rows, {});
  EXPECT_EQ(zh.lookupName("Homer"), Words{"荷马"});
  EXPECT_TRUE(zh.lookup("Homer", {}).empty()) << "the heard words take no name so";
  EXPECT_TRUE(zh.lookupName("homer").empty());
  EXPECT_TRUE(zh.lookupName("HOMER").empty()) << "an abbreviation spelled alike is no name";
  EXPECT_TRUE(zh.lookupName("Coop").empty());
  EXPECT_TRUE(zh.lookupName("China").empty()) << "a plain gloss names it";
}

TEST(ChineseEquivalents, GivesAtMostFourCommonWordsAndFindsBritishSpellings) {
  ChineseEquivalents zh(sample(), counts());
  const Words big = zh.lookup("big", use("a", 'a'));
  EXPECT_EQ(big.size(), 4u);
  EXPECT_EQ(big.front(), "大");
  EXPECT_EQ(std::find(big.begin(), big.end(), "伟"), big.end()) << "rare past the first";
  EXPECT_EQ(std::find(big.begin(), big.end(), "顾"), big.end()) << "archaic";
  EXPECT_EQ(zh.lookup("big", use("a", 'a'), ChineseEquivalents::Beside::Nothing, 2).size(), 2u);
  EXPECT_EQ(zh.lookup("colour", use("n", 'n')), Words{"颜色"});
  EXPECT_EQ(zh.lookup("Colour", use("n", 'n')), Words{"颜色"});

  // Without a frequency list, how common a word's characters are stands in.
  ChineseEquivalents plain(sample(), {});
  EXPECT_EQ(plain.lookup("run", use("nv", 'v')).front(), "跑");
  EXPECT_FALSE(plain.lookup("big", use("a", 'a')).empty());
}

TEST(ChineseLine, JoinsAtMostFourChineseWordsAndRejectsAnythingElse) {
  EXPECT_EQ(chineseLine({"跑", "跑步"}), "跑；跑步");
  EXPECT_EQ(chineseLine({}), "");
  std::string why;
  EXPECT_TRUE(checkChineseLine("跑；跑步<br/>v. move fast", why)) << why;
  EXPECT_TRUE(checkChineseLine("T恤", why)) << why;
  EXPECT_FALSE(checkChineseLine("跑；跑步；奔跑；运行；跑动", why));
  EXPECT_FALSE(checkChineseLine("run；跑", why));
  EXPECT_FALSE(checkChineseLine("跑；；走", why));
  EXPECT_FALSE(checkChineseLine("<b>跑</b>", why));
  EXPECT_FALSE(checkChineseLine("跑\x01", why));
  EXPECT_FALSE(checkChineseLine("\xe8\xb7", why));
  EXPECT_EQ(why, "not UTF-8");

  EXPECT_TRUE(opensWithChineseLine("猫<br/>n. a cat"));
  EXPECT_FALSE(opensWithChineseLine("n. a cat<br/>猫"));
  EXPECT_FALSE(opensWithChineseLine("n. a café"));
}

TEST(ChineseAnnotation, PutsTheLineOnTopAndLetsFormsShareTheirLemmas) {
  ChineseEquivalents zh(
      {row("去", "qu4", {"to go"}), row("要", "yao4", {"to want"}),
       row("保持", "bao3 chi2", {"to keep"}), row("他", "ta1", {"he"}),
       row("氦", "hai4", {"helium"}), row("砍", "kan3", {"to chop"}), row("是", "shi4", {"to be"}),
       row("公亩", "gong1 mu3", {"are (unit of area)"})},
      {});
  std::vector<DictEntry> entries(7);
  const char* captions[] = {"go", "went", "want", "wanted", "keep", "kept", "He"};
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].caption = captions[i];
    entries[i].explainLines = {"v. something"};
  }
  entries[1].anchor = 0;  // went: a form of go
  entries.push_back(DictEntry{"he", {"pron. a man"}, "", "", 0, 0, -1, false});
  entries.push_back(DictEntry{"chop", {"v. cut"}, "", "", 0, 0, -1, false});
  entries.push_back(DictEntry{"chopper", {"n. a helicopter"}, "", "", 0, 0, -1, false});
  entries.push_back(DictEntry{"be", {"v. exist"}, "", "", 0, 0, -1, false});
  entries.push_back(DictEntry{"are", {"n. a unit of area"}, "", "", 0, 0, -1, false});
  HeadwordUses uses = {{"go", use("v", 'v')},
                       {"want", use("v", 'v')},
                       {"wanted", use("a", 'a')},
                       {"keep", use("v", 'v')},
                       {"kept", HeadwordUse{"", 0, "keep"}},
                       {"he", use("n", 'n')},
                       {"chop", use("v", 'v')},
                       {"chopper", use("n", 'n')},
                       {"be", use("v", 'v')},
                       {"are", HeadwordUse{"n", 'n', "be", 0}}};
  EXPECT_EQ(addChineseLines(entries, zh, uses), 10u);
  EXPECT_EQ(entries[0].explainLines, (Words{"去", "v. something"}));
  EXPECT_EQ(entries[1].explainLines.front(), "去");
  EXPECT_EQ(entries[3].explainLines.front(), "要");    // wanted: a regular base WordNet knows
  EXPECT_EQ(entries[5].explainLines.front(), "保持");  // kept: WordNet's exception list
  EXPECT_EQ(entries[6].explainLines, Words{"v. something"}) << "He beside he takes names only";
  EXPECT_EQ(entries[7].explainLines.front(), "他");
  EXPECT_EQ(entries[9].explainLines, Words{"n. a helicopter"})
      << "an -er noun is no form of its verb";
  EXPECT_EQ(entries[11].explainLines.front(), "是") << "a form of be before a sense no text uses";
}

TEST(EnglishStems, ListsRegularBasesWithTheirPartOfSpeechAndAmericanSpellings) {
  auto has = [](const std::vector<BaseCandidate>& list, const std::string& base,
                const std::string& pos) {
    return std::any_of(list.begin(), list.end(), [&](const BaseCandidate& c) {
      return c.base == base && c.partsOfSpeech == pos;
    });
  };
  EXPECT_TRUE(has(regularBaseCandidates("stopping"), "stop", "v"));
  EXPECT_TRUE(has(regularBaseCandidates("making"), "make", "v"));
  EXPECT_TRUE(has(regularBaseCandidates("wanted"), "want", "v"));
  EXPECT_TRUE(has(regularBaseCandidates("carried"), "carry", "v"));
  EXPECT_TRUE(has(regularBaseCandidates("hours"), "hour", "nv"));
  EXPECT_TRUE(has(regularBaseCandidates("boxes"), "box", "nv"));
  EXPECT_TRUE(has(regularBaseCandidates("bigger"), "big", "a"));
  EXPECT_TRUE(has(regularBaseCandidates("chopper"), "chop", "a"))
      << "a comparative only if chop were an adjective";
  EXPECT_TRUE(regularBaseCandidates("is").empty());

  const auto spelt = [](const std::string& british, const std::string& american) {
    const Words list = americanSpellings(british);
    return std::find(list.begin(), list.end(), american) != list.end();
  };
  EXPECT_TRUE(spelt("colour", "color"));
  EXPECT_TRUE(spelt("theatre", "theater"));
  EXPECT_TRUE(spelt("defence", "defense"));
  EXPECT_TRUE(spelt("realise", "realize"));
  EXPECT_TRUE(spelt("behaviour", "behavior"));
  EXPECT_TRUE(spelt("neighbourhood", "neighborhood"));
  EXPECT_TRUE(americanSpellings("our").empty());
}
