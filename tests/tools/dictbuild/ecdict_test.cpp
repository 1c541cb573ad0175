// ECDICT as the Chinese source: its translation lines, learner levels, the word forms its
// exchange confirms, offensive and vulgar senses, and the learner words it adds.
#include <gtest/gtest.h>

#include <algorithm>

#include "chinese_line.h"
#include "data_tables.h"
#include "ecdict_annotation.h"
#include "ecdict_source.h"
#include "form_chinese.h"
#include "tests/engine/test_dictionary.h"

using namespace quorvi::dictbuild;
using quorvi::testing::writeFile;

namespace {

using Lines = std::vector<std::string>;

EcdictWord word(const std::string& translation, const std::string& exchange = "",
                const std::string& tag = "", int collins = 0, bool oxford = false, long frq = 0) {
  EcdictWord w;
  w.translation = translation;
  w.exchange = exchange;
  w.tag = tag;
  w.collins = collins;
  w.oxford = oxford;
  w.frq = frq;
  return w;
}

DictEntry entry(const std::string& caption, Lines lines, int anchor = -1) {
  DictEntry e;
  e.caption = caption;
  e.explainLines = std::move(lines);
  e.anchor = anchor;
  return e;
}

const DictEntry& find(const std::vector<DictEntry>& entries, const std::string& caption) {
  static const DictEntry none;
  for (const DictEntry& e : entries)
    if (e.caption == caption) return e;
  return none;
}

bool hasLine(const DictEntry& e, const std::string& line) {
  return std::find(e.explainLines.begin(), e.explainLines.end(), line) != e.explainLines.end();
}

bool hasLineStarting(const DictEntry& e, const std::string& start) {
  return std::any_of(e.explainLines.begin(), e.explainLines.end(),
                     [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

}  // namespace

TEST(EcdictChinese, OneLinePerPartOfSpeechWithoutSpecialFieldsWebGlossesOrFormNotes) {
  const std::string saw =
      "n. 锯子, 谚语\\nvt. 锯, 锯开, 来回移动\\nvi. 拉锯, 移动\\nsee的过去式\\n[计] "
      "计算机辅助\\n[网络] 锯子网";
  EXPECT_EQ(ecdictChineseLines(saw),
            (Lines{"n. 锯子；谚语", "vt. 锯；锯开；来回移动", "vi. 拉锯；移动"}));
  // The commonest part of speech first.
  EXPECT_EQ(ecdictChineseLines(saw, 'v'),
            (Lines{"vt. 锯；锯开；来回移动", "vi. 拉锯；移动", "n. 锯子；谚语"}));
  // A mark of a special field holds for its whole line; one on a sense drops that sense.
  EXPECT_EQ(ecdictChineseLines("v. 是, 表示\\n[计] 后端, 总线允许"), (Lines{"v. 是；表示"}));
  EXPECT_EQ(ecdictChineseLines("n. 物主, [律] 业主, 主人"), (Lines{"n. 物主；主人"}));
  // A line the source broke mid-sentence goes on with the one before, mark and all.
  EXPECT_EQ(ecdictChineseLines(
                "磁盘操作系统\\n[计] 磁盘操作系统; 内部命令:装入高内存区\\n且允许装入上层内存块"),
            (Lines{"磁盘操作系统"}));
  EXPECT_EQ(ecdictChineseLines("n. 并列的\\n[计] 装入\\n             并显示状态"),
            (Lines{"n. 并列的"}));
  // Only special senses: the first of them, without their marks.
  EXPECT_EQ(ecdictChineseLines("[经] 北京"), (Lines{"北京"}));
  // A form's own special senses are no Chinese for it; the note names its lemma.
  const std::string is = "be的现在式第三人称\\n[计] 信息系统";
  EXPECT_TRUE(ecdictChineseLines(is).empty());
  std::string lemma;
  EXPECT_EQ(formNote(is, lemma), "be的现在式第三人称");
  EXPECT_EQ(lemma, "be");
  // A form note in brackets beside senses of the word's own leaves them, and still marks a form.
  EXPECT_EQ(ecdictChineseLines("(biker 的复数) n. 骑自行车的人"), (Lines{"n. 骑自行车的人"}));
  EXPECT_EQ(ecdictChineseLines("n. 焦虑不安；心惊肉跳（willy的复数）\\n[计] 窗口"),
            (Lines{"n. 焦虑不安；心惊肉跳"}));
  EXPECT_TRUE(ecdictChineseLines("（biker的复数）\\n[计] 骑手").empty());
  // Not for a word read as that form: its Chinese is its lemma's.
  EXPECT_TRUE(ecdictChineseLines("adj. 最快速的（fast的最高级）", 0, false, nullptr, nullptr, true)
                  .empty());
  EXPECT_EQ(ecdictChineseLines("a. 好的, 良好的, 优秀的, 漂亮的, 健康的"),
            (Lines{"adj. 好的；良好的；优秀的；漂亮的"}));
}

TEST(EcdictChinese, TitlesAcronymsAndElementsGoLastAndPointersAreLeftOut) {
  bool special = false;
  std::string pointer;
  EXPECT_EQ(ecdictChineseLines("abbr. 设备测试站（Equipment Test Station）\\nvt. 吃, 吃饭", 0,
                               false, &special),
            (Lines{"vt. 吃；吃饭"}));
  EXPECT_FALSE(special);
  EXPECT_EQ(ecdictChineseLines("n. 锂(3号元素)\\nn. 李（姓氏）"), (Lines{"n. 李（姓氏）"}));
  EXPECT_EQ(ecdictChineseLines("n. 薯条（French fries）"), (Lines{"n. 薯条（French fries）"}));
  EXPECT_EQ(ecdictChineseLines("n. 星光, 星夜（电影名）\\nadj. 星形的"), (Lines{"adj. 星形的"}));
  // A title's note names the words before it, not one after it or with a note of its own.
  EXPECT_EQ(ecdictChineseLines("n. 芭比（女子名）, 芭比娃娃（商标名）"),
            (Lines{"n. 芭比（女子名）"}));
  EXPECT_EQ(ecdictChineseLines("n. 佐尔普（商标名）, 佐尔普手枪"), (Lines{"n. 佐尔普手枪"}));
  // Alone, a title is still shown, but as what the special fields say.
  EXPECT_EQ(ecdictChineseLines("n. 因祸得福（电影名）", 0, false, &special),
            (Lines{"因祸得福（电影名）"}));
  EXPECT_TRUE(special);
  // Beside senses of a special field, after them.
  EXPECT_EQ(ecdictChineseLines("n. 奥瑞丝（电影名）；[天] 奥瑞丝星（小行星）"),
            (Lines{"奥瑞丝星（小行星）；奥瑞丝（电影名）"}));
  EXPECT_EQ(ecdictChineseLines("[医] 钴(27号元素)；钴蓝色"), (Lines{"钴蓝色；钴(27号元素)"}));
  EXPECT_TRUE(ecdictChineseLines("n. =colour[亦作color]", 0, false, nullptr, &pointer).empty());
  EXPECT_EQ(pointer, "colour");
  pointer.clear();
  EXPECT_EQ(ecdictChineseLines("n. -bos 小坏蛋, 小家伙", 0, false, nullptr, &pointer),
            (Lines{"n. 小家伙"}));
  EXPECT_EQ(pointer, "");
}

TEST(EcdictChinese, ABodyWordIsTheMeaningOnlyWhenItIsTheFirstSense) {
  EXPECT_EQ(ecdictChineseLines("n. 阴茎\\n[医] 阴茎"), (Lines{"n. 阴茎"}));
  EXPECT_EQ(ecdictChineseLines("n. 球, 舞会, 睾丸"), (Lines{"n. 球；舞会"}));
}

TEST(EcdictChinese, LinesPassTheChineseLineCheckWhateverTheTranslationHolds) {
  for (const char* t :
       {"adv. meretricious（浮华的；华而不实的）的变形", "短叶丝兰（等于tree 约书亚树；yucca）",
        "说出使人震惊的事[1700～1710；1925～1930]", "n. <美>电梯, 升降机 & 其他",
        "vt. 与...性交, 欺骗"}) {
    for (const std::string& line : ecdictChineseLines(t)) {
      std::string why;
      EXPECT_TRUE(checkChineseLine(line, why)) << t << " -> " << line << ": " << why;
    }
  }
}

TEST(EcdictChinese, VulgarChineseOnlyOnVulgarWordsAndLabelledThere) {
  EXPECT_EQ(ecdictChineseLines("n. 混血儿, 杂种, 混合物"), (Lines{"n. 混血儿；混合物"}));
  EXPECT_EQ(ecdictChineseLines("n. 乳汁, 奶子"), (Lines{"n. 乳汁"}));
  EXPECT_EQ(ecdictChineseLines("interj. 他妈的, 混帐", 0, true),
            (Lines{"interj. 他妈的（粗俗）；混帐（粗俗）"}));
  EXPECT_TRUE(holdsVulgarChinese("狗日的"));
  EXPECT_FALSE(holdsVulgarChinese("混合物"));
}

TEST(EcdictLevels, ExamListsOxfordAndCollinsOnALineOfTheirOwn) {
  const EcdictWord w = word("v. 看见", "", "gk zk cet4 toefl gre", 3, true);
  EXPECT_EQ(learnerLevelsLine(w), "中考 高考 四级 托福 GRE · 牛津3000 · 柯林斯★★★");
  EXPECT_TRUE(isLearnerLevelsLine(learnerLevelsLine(w)));
  EXPECT_EQ(learnerLevelsLine(word("n. 鹿", "", "", 2)), "柯林斯★★");
  EXPECT_EQ(learnerLevelsLine(word("n. 鹿")), "");
  EXPECT_GT(learnerLevelWeight(w), learnerLevelWeight(word("n. 鹿")));
  EXPECT_FALSE(isLearnerLevelsLine("柯林斯★★★★★★"));
  EXPECT_FALSE(isLearnerLevelsLine("中考 大考"));
  EXPECT_TRUE(looksLikeLearnerLevels("中考 大考"));
  EXPECT_FALSE(looksLikeLearnerLevels("n. 锯子"));
  EXPECT_FALSE(looksLikeLearnerLevels("柯林斯；科林斯"));
}

TEST(EcdictData, ReadsTheCsvLayoutAndPassesOverMalformedRecords) {
  quorvi::testing::TemporaryFolder folder;
  const std::string path = (folder.path() / "ecdict.csv").string();
  writeFile(path,
            "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,"
            "audio\n"
            "saw,sɒ:,\"n. hand tool\\nv. cut\",\"n. 锯子, 谚语\\nsee的过去式\",,1,,cet4 "
            "ky,6947,7433,0:see/1:p/s:saws,,\n"
            "broken,only,three\n"
            "see,si:,,\"vt. 看见,\n查看\",,5,1,zk gk,47,67,d:seen/p:saw,,\n"
            "a,ei,,\"第一个字母 A；一个\\r\\nart. 一\r\",,5,1,,1,1,,,\n"
            "empty,,,,,,,,0,0,,,\n");
  EcdictData data;
  std::string error;
  size_t skipped = 0;
  ASSERT_TRUE(loadEcdictData(path, data, error, &skipped)) << error;
  EXPECT_EQ(skipped, 1u);
  EXPECT_EQ(data.size(), 3u) << "no record without a translation";
  // Lines ended by the escape \r\n, or a real carriage return, end without it.
  ASSERT_NE(data.find("a"), nullptr);
  EXPECT_EQ(ecdictChineseLines(data.find("a")->translation),
            (Lines{"第一个字母 A；一个", "art. 一"}));
  const EcdictWord* saw = data.find("saw");
  ASSERT_NE(saw, nullptr);
  EXPECT_EQ(saw->collins, 1);
  EXPECT_EQ(saw->rank(), 7433);
  EXPECT_EQ(exchangeValues(saw->exchange, '0'), (Lines{"see"}));
  EXPECT_EQ(exchangeValues(saw->exchange, 's'), (Lines{"saws"}));
  const EcdictWord* see = data.find("see");
  ASSERT_NE(see, nullptr);
  EXPECT_TRUE(see->oxford);
  EXPECT_EQ(ecdictChineseLines(see->translation), (Lines{"vt. 看见", "查看"}));

  writeFile(path, "word,phonetic,definition\nsaw,,a tool\n");
  EXPECT_FALSE(loadEcdictData(path, data, error));
  EXPECT_NE(error.find("no word and translation"), std::string::npos) << error;
  EXPECT_FALSE(loadEcdictData((folder.path() / "missing.csv").string(), data, error));
}

// A small dictionary as the builder has it before the Chinese lines, and ECDICT for it.
class EcdictAnnotation : public ::testing::Test {
 protected:
  void SetUp() override {
    entries_ = {
        entry("see", {"v. perceive by sight"}),
        entry("saw",
              {"n. hand tool having a toothed blade", "v. cut with a saw", "past tense of see"}),
        entry("know", {"v. be cognizant"}),
        entry("knows", {"plural of know", "third person singular of know"}, 2),
        entry("own", {"v. have ownership"}),
        entry("owner", {"n. a person who owns something", "comparative of own"}),
        entry("fore", {"adj. situated at the front"}),
        entry("forest", {"n. land covered with trees", "superlative of fore"}),
        entry("be", {"v. have the quality of being"}),
        entry("are", {"v. present tense of be (plural and second person)", "present tense of be",
                      "past tense of be"}),
        entry("may", {"modal v. expresses possibility"}),
        entry("might", {"n. physical strength", "past participle of may"}),
        entry("can", {"n. airtight sealed metal container"}),
        entry("cans", {"plural of can"}, 12),
        entry("furniture", {"n. furnishings"}),
        entry("furnitures", {"plural of furniture"}, 14),
        entry("ox", {"n. an adult castrated bull"}),
        entry("oxes", {"plural of ox"}, 16),
        entry("he", {"n. a chemical element"}),
        entry("hes", {"他；夫"}),
        entry("John", {"a given name (male)"}),
        entry("Johns", {"plural of John"}, 20),
        entry("sound", {"n. the sensation of hearing", "v. appear in a certain way"}),
        entry("sounds", {"plural of sound", "third person singular of sound"}, 22),
        entry("cat", {"n. feline mammal"}),
        entry("cats", {"plural of cat"}, 24),
        entry("hybrid", {"n. a composite of mixed origin"}),
        entry("chink", {"n. (ethnic slur) offensive term for a person of Chinese descent",
                        "n. a narrow opening"}),
        entry("fuck", {"n. slang for sexual intercourse"}),
        entry("wug", {"n. a made-up creature"}),
        entry("wugs", {"沃格"}),
        entry("mosquito", {"n. two-winged insect"}),
        entry("mosquitoes", {"plural of mosquito"}, 31),
        entry("Peter", {"a given name (male)"}),
        entry("Peters", {"plural of Peter"}, 33),
        entry("motherfucking", {"adj. 〈美俚〉〈粗〉不要脸的"}),
        entry("break", {"v. destroy the integrity of"}),
        entry("breaking", {"present participle of break"}, 36),
        entry("breakings", {"plural of breaking"}, 37),
        entry("choose", {"v. pick out, select"}),
        entry("chose", {"past tense of choose"}, 38),
        entry("choses", {"plural of chose", "third person singular of chose"}, 39),
        entry("found", {"v. set up or found"}),
        entry("founds", {"third person singular of found"}, 41),
        entry("bake", {"v. cook in an oven"}),
        entry("baked", {"past tense and past participle of bake", "adj. cooked in an oven"}, 44),
        entry("bow", {"v. bend the head"}),
        entry("bowed", {"past tense and past participle of bow", "adj. curved"}, 46),
        entry("airplane", {"n. an aircraft"}),
        entry("gizmo", {"n. a small gadget"}),
        entry("smith", {"n. a metalworker"}),
        entry("gadget", {"n. a device"}),
        entry("aeroplane", {"n. an aircraft"}),
        entry("Vulcan", {"n. (Roman mythology) god of fire"}),
        entry("Hondo", {"n. the largest of the four main islands of Japan"}),
        entry("Pawnee", {"n. a member of the Pawnee nation"}),
        entry("Soho", {"n. a city district of central London"}),
        entry("Cat", {"n. a large tracked vehicle"}),
        entry("Viet Nam", {"n. a communist state in Indochina"}),
        entry("Norse", {"n. an inhabitant of Scandinavia", "adj. of Scandinavia"}),
        entry("Sea Scout", {"n. a scout trained in seamanship"}),
        entry("sea scout", {"n. a made-up headword of its own"}),
        entry("EXEC", {"n. the chief executive department"}),
        entry("NE", {"n. the compass point midway between north and east"}),
        entry("EPI", {"n. a self-report personality inventory"}),
        entry("AR", {"n. a unit of surface area"}),
        entry("CER", {"n. an emotional response"}),
        entry("Gi", {"n. a unit of magnetomotive force"}),
        entry("Zumberland", {"n. English general (1721-1765)", "n. a river in Kentucky"}),
        entry("Zoldberg", {"n. United States cartoonist (1883-1970)"}),
        entry("Zorpling", {"n. a raider of the zorp coasts"}),
    };
    auto withSenses = [](EcdictWord w, const std::string& definition, long bnc) {
      w.definition = definition;
      w.bnc = bnc;
      return w;
    };
    auto add = [&](const std::string& w, EcdictWord e) { ecdict_.add(w, std::move(e)); };
    add("see",
        word("vt. 看见, 查看\\nvi. 看", "p:saw/d:seen/3:sees/i:seeing", "zk gk", 5, true, 67));
    add("saw", word("n. 锯子, 谚语\\nvt. 锯\\nsee的过去式", "0:see/1:p/s:saws"));
    add("know", word("v. 知道, 了解", "p:knew/d:known/3:knows/i:knowing"));
    add("own", word("a. 自己的\\nvt. 拥有", "d:owned/3:owns/p:owned/i:owning"));
    add("owner", word("n. 拥有者, 物主\\n[经] 业主", "s:owners"));
    add("fore", word("a. 在前的", "s:fores"));
    add("forest", word("n. 森林", "s:forests"));
    add("be", word("v. 是, 在\\n[计] 总线允许", "p:was/3:is/d:been/i:being"));
    add("are", word("be的现在时复数或第二人称单数"));
    add("may", word("aux. 可以\\nn. 五月"));
    add("might", word("n. 力量\\naux. 可能"));
    add("can", word("vt. 装罐\\nn. 罐头\\naux. 能", "s:cans/p:could"));
    add("furniture", word("n. 家具"));
    add("ox", word("n. 牛", "s:oxen"));
    add("he", word("pron. 他\\nn. 男孩"));
    add("John", word("[人名] 约翰"));
    add("sound", word("n. 声音\\nvi. 发出声音", "s:sounds/3:sounds"));
    add("cat", word("n. 猫", "s:cats"));
    add("hybrid", word("n. 混血儿, 杂种, 混合物"));
    add("chink", word("n. 裂口, 裂缝"));
    add("fuck", word("n. 性交\\ninterj. 他妈的"));
    add("selfie", word("n. 自拍照", "", "", 0, false, 15000));
    add("zzyzx", word("n. 地名"));
    add("went", word("go的过去式", "0:go/1:p"));
    add("wugs", word("", "0:wug/1:s"));
    add("mosquito", word("n. 蚊子", "s:mosquitos"));
    add("peters", word("n. 彼得斯（姓氏, 男子名）", "0:peter/1:s"));
    add("break", word("vt. 打破", "i:breaking"));
    add("breaking", word("[计] 断开, 停止", "0:break/1:i/s:breakings"));
    add("choose", word("vt. 选择", "p:chose/d:chosen/3:chooses"));
    add("chose", word("n. 动产\\nchoose的过去式", "0:choose/1:p/s:choses/3:choses"));
    add("found", word("vt. 建立\\nfind的过去式", "0:find/1:pd/3:founds"));
    add("bake", word("vt. 烘焙, 烤"));
    add("baked", word("n. 烤出来的爱（电影名）", "0:bake/1:pd"));
    add("bow", word("vi. 鞠躬\nvt. 使弯曲"));
    add("bowed", word("a. 弯曲的", "0:bow/1:pd"));
    add("airplane", word("n. 飞机"));
    add("Gizmo", word("n. 小玩意儿"));
    add("Smith", word("n. 史密斯（姓氏）"));
    add("Gadget", word("[机] 小机件"));
    add("aeroplane", word("n. =airplane[亦作aeroplane]"));
    add("vulcan", word("n. [罗神]伏尔甘（火和锻冶的神）"));
    add("hondo", word("n. 本州（日本最大的岛屿）"));
    add("pawnee", word("n. 收当人"));
    add("soho", word("interj. 哈（猎人的呼声）"));
    add("viet nam", word("n. 越南\\n [地名] [亚细亚洲] 越南"));
    add("sea scout", word("n. 受过航海训练的童子军"));
    add("norse", word("a. 挪威人的；挪威的"));
    add("exec", withSenses(word("n. 主任参谋, 副舰长"),
                           "n the chief executive department\\nn the top man", 12420));
    add("ne", withSenses(word("a. 原姓...的"),
                         "n a gaseous element\\nn the compass point midway between north and east",
                         9000));
    add("epi", withSenses(word("直沙嘴, 离岸沙坝"), "n a self-report personality inventory", 0));
    add("cer", withSenses(word("n. 陶瓷"), "n an emotional response", 47067));
    add("ar", withSenses(word("n. 公亩"), "n a colorless and odorless inert gas", 8000));
    add("zumberland", word("n. 赞伯兰郡（英格兰一郡名）"));
    add("zoldberg", word("n. [俚]佐德老板（尤指在聚居区开店的）"));
    add("gi", withSenses(word("a. 军用的；美国军人的", "", "", 1),
                         "n a unit of magnetomotive force", 9320));
    add("zorpling", withSenses(word("n. 海盗", "", "", 1), "n a raider of the zorp coasts", 9000));
    uses_["baked"] = {"a", 'a', "", 4};
    uses_["bowed"] = {"a", 'a', "", 0};
    uses_["found"].partsOfSpeech = "v";
    uses_["sound"].commonest = 'v';
    uses_["sound"].partsOfSpeech = "nv";
    uses_["can"].partsOfSpeech = "nv";
    summary_ = addEcdictLines(entries_, ecdict_, uses_);
  }

  std::vector<DictEntry> entries_;
  EcdictData ecdict_;
  HeadwordUses uses_;
  EcdictSummary summary_;
};

TEST_F(EcdictAnnotation, AFormRowSaysWhatItIsFirstAndCarriesItsLemmasChinese) {
  EXPECT_EQ(find(entries_, "knows").explainLines,
            (Lines{"third person singular of know / know的第三人称单数", "v. 知道；了解"}));
  EXPECT_EQ(find(entries_, "cats").explainLines, (Lines{"plural of cat / cat的复数", "n. 猫"}));
  // A heard word ECDICT calls a form keeps its Chinese line when the lemma has none.
  EXPECT_EQ(find(entries_, "wugs").explainLines, (Lines{"plural of wug / wug的复数", "沃格"}));
  // Where the form is the everyday use, it comes before the word's own senses.
  const Lines& saw = find(entries_, "saw").explainLines;
  ASSERT_GE(saw.size(), 4u);
  EXPECT_EQ(saw[0], "past tense of see / see的过去式");
  EXPECT_EQ(saw[1], "vt. 看见；查看");
  EXPECT_EQ(saw[2], "n. 锯子；谚语");
  // A verb mainly used as a verb: third person before plural, the verb's Chinese first.
  EXPECT_EQ(find(entries_, "sounds").explainLines,
            (Lines{"third person singular of sound / sound的第三人称单数",
                   "plural of sound / sound的复数", "vi. 发出声音", "n. 声音"}));
}

TEST_F(EcdictAnnotation, AFormWhoseOwnChineseIsATitleOrUnheardOpensWithItsLemmas) {
  EXPECT_EQ(find(entries_, "baked").explainLines,
            (Lines{"past tense and past participle of bake / bake的过去式和过去分词",
                   "vt. 烘焙；烤", "adj. cooked in an oven"}));
  const Lines& bowed = find(entries_, "bowed").explainLines;
  ASSERT_GE(bowed.size(), 3u);
  EXPECT_EQ(bowed[0], "past tense and past participle of bow / bow的过去式和过去分词");
  EXPECT_EQ(bowed[2], "adj. 弯曲的") << "its own sense after the form";
}

TEST_F(EcdictAnnotation, ALowerCaseWordEcdictFilesOnlyCapitalisedTakesThatRecordUnlessAName) {
  EXPECT_EQ(find(entries_, "gizmo").explainLines.front(), "n. 小玩意儿");
  EXPECT_EQ(find(entries_, "smith").explainLines, (Lines{"n. a metalworker"}));
  EXPECT_EQ(find(entries_, "gadget").explainLines, (Lines{"n. a device"}));
}

// The other way round, only where the record says it translates the name: a god for a myth's,
// a note of what it names; not a common word spelled alike, of another part of speech, or the
// record of a headword in lower case.
TEST_F(EcdictAnnotation, ACapitalisedNameEcdictFilesOnlyInLowerCaseTakesThatRecordWhenItSaysSo) {
  EXPECT_EQ(find(entries_, "Vulcan").explainLines.front(), "伏尔甘（火和锻冶的神）");
  EXPECT_EQ(find(entries_, "Hondo").explainLines.front(), "n. 本州（日本最大的岛屿）");
  for (const char* other : {"Pawnee", "Soho", "Cat"})
    EXPECT_EQ(find(entries_, other).explainLines.size(), 1u) << other;
  // A people's name, where the record says it is one of that people (not pawnee's 收当人).
  EXPECT_EQ(find(entries_, "Norse").explainLines.front(), "adj. 挪威人的；挪威的");
  // A name of several words: any record of its letters in other cases that no headword has.
  EXPECT_EQ(find(entries_, "Viet Nam").explainLines.front(), "n. 越南");
  EXPECT_EQ(find(entries_, "Sea Scout").explainLines.size(), 1u);
  // A name someone bears takes a record whose note names a place it is, not a slang word's.
  EXPECT_EQ(find(entries_, "Zumberland").explainLines.front(), "n. 赞伯兰郡（英格兰一郡名）");
  EXPECT_EQ(find(entries_, "Zoldberg").explainLines.size(), 1u);
  EXPECT_EQ(summary_.lowerCaseRecords, 7u);
}

// A word WordNet writes in capitals takes ECDICT's lower-case record only where that record
// is the same word: its English senses hold the headword's, it is among ECDICT's commonest, and
// its Chinese is of a part of speech the headword has (ne's 原姓...的 is née's).
TEST_F(EcdictAnnotation, AWordInCapitalsTakesTheLowerCaseRecordThatHoldsItsOwnSenses) {
  EXPECT_EQ(find(entries_, "EXEC").explainLines.front(), "n. 主任参谋；副舰长");
  // A capitalised spelling of two or three letters whose record is a learner's word is that
  // word, of whatever part of speech; a longer name keeps its own (维京人 is no 海盗).
  EXPECT_EQ(find(entries_, "Gi").explainLines.front(), "adj. 军用的；美国军人的");
  for (const char* other : {"NE", "EPI", "CER", "AR", "Zorpling"})
    EXPECT_EQ(find(entries_, other).explainLines.size(), 1u) << other;
}

TEST_F(EcdictAnnotation, ATranslationPointingToAnotherWordShowsThatWordsChinese) {
  const Lines& aeroplane = find(entries_, "aeroplane").explainLines;
  ASSERT_GE(aeroplane.size(), 2u);
  EXPECT_EQ(aeroplane[0], "n. 飞机");
  EXPECT_EQ(aeroplane[1], "同 airplane");
  for (const std::string& l : aeroplane) EXPECT_EQ(l.find('='), std::string::npos) << l;
}

TEST_F(EcdictAnnotation, WrongLabelsAndMadeUpFormsAreDropped) {
  EXPECT_FALSE(hasLineStarting(find(entries_, "owner"), "comparative of"));
  EXPECT_FALSE(hasLineStarting(find(entries_, "forest"), "superlative of"));
  EXPECT_FALSE(hasLineStarting(find(entries_, "knows"), "plural of"));
  EXPECT_FALSE(hasLineStarting(find(entries_, "might"), "past participle of"));
  EXPECT_FALSE(hasLineStarting(find(entries_, "are"), "past tense of"));
  EXPECT_TRUE(hasLine(find(entries_, "are"), "present tense of be / be的现在时"));
  EXPECT_TRUE(hasLine(find(entries_, "cans"), "plural of can / can的复数"))
      << "a modal's noun keeps its plural";
  for (const char* made : {"furnitures", "oxes", "hes", "Johns"}) {
    EXPECT_TRUE(find(entries_, made).leftOut) << made;
    EXPECT_TRUE(find(entries_, made).explainLines.empty()) << made;
  }
  // A past tense WordNet knows in nothing of its own has no plural or third person, though
  // ECDICT lists them (choses); the verb found has its own.
  EXPECT_FALSE(hasLineStarting(find(entries_, "choses"), "plural of"));
  EXPECT_FALSE(hasLineStarting(find(entries_, "choses"), "third person singular of"));
  EXPECT_TRUE(hasLineStarting(find(entries_, "founds"), "third person singular of found"));
  EXPECT_GE(summary_.labelsDropped, 9u);
}

TEST_F(EcdictAnnotation, EntriesOpenWithEcdictsChineseThenTheLearnerLevels) {
  const DictEntry& see = find(entries_, "see");
  EXPECT_EQ(see.explainLines,
            (Lines{"vt. 看见；查看", "vi. 看", "中考 高考 · 牛津3000 · 柯林斯★★★★★",
                   "v. perceive by sight"}));
  EXPECT_GT(see.frequency, find(entries_, "cat").frequency) << "levels and rank lift the word";
  EXPECT_EQ(find(entries_, "be").explainLines.front(), "v. 是；在");
  EXPECT_EQ(find(entries_, "owner").explainLines.front(), "n. 拥有者；物主");
  // The lines of the first sense's part of speech first.
  EXPECT_EQ(find(entries_, "might").explainLines.front(), "n. 力量");
  EXPECT_EQ(find(entries_, "may").explainLines.front(), "aux. 可以");
}

TEST_F(EcdictAnnotation, OffensiveAndVulgarSensesAreLabelledInBothLanguages) {
  const Lines& chink = find(entries_, "chink").explainLines;
  ASSERT_FALSE(chink.empty());
  EXPECT_EQ(chink.back(),
            "n. [offensive 冒犯] (ethnic slur) offensive term for a person of Chinese descent");
  EXPECT_EQ(find(entries_, "hybrid").explainLines.front(), "n. 混血儿；混合物");
  const DictEntry& fuck = find(entries_, "fuck");
  EXPECT_TRUE(hasLine(fuck, "interj. 他妈的（粗俗）"));
  EXPECT_TRUE(hasLine(fuck, "粗俗用语，慎用 / vulgar: avoid using it"));
  EXPECT_TRUE(hasLine(fuck, "n. [vulgar 粗俗] slang for sexual intercourse"));
  EXPECT_EQ(labelOffensiveSense("n. a narrow opening"), "n. a narrow opening");
}

TEST_F(EcdictAnnotation, AddsOnlyLearnerWordsThatAreNoFormsOfOthers) {
  EXPECT_EQ(find(entries_, "selfie").explainLines, (Lines{"n. 自拍照"}));
  EXPECT_TRUE(find(entries_, "zzyzx").caption.empty());
  EXPECT_TRUE(find(entries_, "went").caption.empty());
  EXPECT_EQ(summary_.headwordsAdded, 1u);
}

TEST(EcdictLabels, TheChineseOfAFormLabelAndTheLemmaItNames) {
  EXPECT_EQ(chineseFormLabel("past tense and past participle of give up"),
            "give up的过去式和过去分词");
  EXPECT_EQ(chineseFormLabel("plural of use (noun)"), "use的复数");
  EXPECT_EQ(chineseFormLabel("n. a cat"), "");
}

TEST_F(EcdictAnnotation, SecondSpellingsNamesAndVulgarWordsKeepTheirRows) {
  // ECDICT lists mosquitos; mosquitoes is in use as much.
  EXPECT_EQ(find(entries_, "mosquitoes").explainLines,
            (Lines{"plural of mosquito / mosquito的复数", "n. 蚊子"}));
  // No plural of a name, but the family name ECDICT gives in lower case.
  const DictEntry& peters = find(entries_, "Peters");
  EXPECT_FALSE(peters.leftOut);
  EXPECT_EQ(peters.explainLines, (Lines{"彼得斯", "a family name"}));
  // The lemma shows its verb's lines, not ECDICT's special-field ones: nor does its plural.
  EXPECT_EQ(find(entries_, "breakings").explainLines, Lines{"plural of breaking / breaking的复数"});
  // A vulgar word only ECDICT explains carries the warning too.
  EXPECT_TRUE(hasLine(find(entries_, "motherfucking"), "粗俗用语，慎用 / vulgar: avoid using it"));
}

TEST(FormChinese, AFormRowShowsTheChineseItsLemmasRowShows) {
  std::vector<DictEntry> entries = {
      entry("take care", {"保重；当心", "int. goodbye"}),
      entry("took care", {"past tense of take care / take care的过去式", "当心；小心"}),
      entry("styling", {"present participle of style / style的现在分词", "vt. 称呼；设计"}),
      entry("stylings", {"plural of styling / styling的复数", "n. 款式"}),
      entry("cat", {"n. 猫", "vt. 把锚吊放在锚架上"}),
      entry("cats", {"plural of cat / cat的复数", "n. 猫"}),
      entry("catted", {"past tense of cat / cat的过去式", "猫了"}),
      entry("wug", {"n. a made-up creature"}),
      entry("wugs", {"plural of wug / wug的复数", "沃格"}),
      entry("saw", {"past tense of see / see的过去式", "n. 锯子", "n. a hand tool"}),
      entry("glorps", {"plural of cat / cat的复数", "n. an acronym for something"}),
  };
  EXPECT_EQ(giveFormsTheirLemmasChinese(entries), 4u);
  // A row with senses of its own but no Chinese at all keeps them after its lemma's lines.
  EXPECT_EQ(find(entries, "glorps").explainLines,
            (Lines{"plural of cat / cat的复数", "n. 猫", "n. an acronym for something"}));
  // The lemma's lines that name no part of speech serve any form.
  EXPECT_EQ(find(entries, "took care").explainLines,
            (Lines{"past tense of take care / take care的过去式", "保重；当心"}));
  // No noun line to give a plural: the label alone.
  EXPECT_EQ(find(entries, "stylings").explainLines, Lines{"plural of styling / styling的复数"});
  EXPECT_EQ(find(entries, "catted").explainLines,
            (Lines{"past tense of cat / cat的过去式", "vt. 把锚吊放在锚架上"}));
  // Already the lemma's; a lemma with no Chinese; a row with senses of its own: unchanged.
  EXPECT_EQ(find(entries, "cats").explainLines, (Lines{"plural of cat / cat的复数", "n. 猫"}));
  EXPECT_EQ(find(entries, "wugs").explainLines, (Lines{"plural of wug / wug的复数", "沃格"}));
  EXPECT_EQ(find(entries, "saw").explainLines.size(), 3u);
  EXPECT_FALSE(isChineseMeaningLine("n. [vulgar 粗俗] slang for sexual intercourse"));
  EXPECT_FALSE(isChineseMeaningLine("中考 高考 · 牛津3000 · 柯林斯★★"));
  EXPECT_TRUE(isChineseMeaningLine("adj. 〈美俚〉〈粗〉不要脸的"));
  EXPECT_TRUE(isChineseMeaningLine("n. 姐妹（等于sister）")) << "the word it equals is a note";
  EXPECT_TRUE(isChineseMeaningLine("conj. 因为")) << "a part of speech is no English sense";
  EXPECT_FALSE(isChineseMeaningLine("vt. 观看（watch现在分词）"));
}

TEST(WordKindTable, ReadsEachKindAndRefusesUnknownKinds) {
  std::map<std::string, std::set<std::string>> kinds;
  std::string error;
  ASSERT_TRUE(readWordKinds(kWordKindsText, kinds, error)) << error;
  EXPECT_TRUE(kinds["uncountable"].count("furniture"));
  EXPECT_TRUE(kinds["same plural"].count("sheep"));
  EXPECT_TRUE(kinds["vulgar"].count("motherfucking"));
  kinds.clear();
  EXPECT_FALSE(readWordKinds("news\tuncountable\nnews\tuncountable\n", kinds, error));
  EXPECT_EQ(error, "line 2: \"news\" is empty or listed twice");
  EXPECT_FALSE(readWordKinds("news\tcountless\n", kinds, error));
  EXPECT_EQ(error, "line 1: unknown kind \"countless\"");
}
