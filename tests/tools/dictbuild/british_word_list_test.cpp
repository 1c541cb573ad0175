#include <gtest/gtest.h>

#include "british_word_list.h"
#include "hunspell_checker.h"
#include "hunspell_expander.h"
#include "tests/engine/test_dictionary.h"

using namespace quorvi::dictbuild;

namespace {

class WordListFiles : public ::testing::Test {
 protected:
  // A small affix file in the shape of en_GB.aff: plural and verb suffixes, a prefix that
  // combines with them, a flag for stems that only occur in compounds.
  void writeHunspell() {
    folder_.write("en.aff",
                  "SET UTF-8\n"
                  "ONLYINCOMPOUND _\n"
                  "PFX A Y 1\n"
                  "PFX A 0 re .\n"
                  "SFX S Y 4\n"
                  "SFX S y ies [^aeiou]y\n"
                  "SFX S 0 s [aeiou]y\n"
                  "SFX S 0 es [sxzh]\n"
                  "SFX S 0 s [^sxzhy]\n"
                  "SFX D Y 3\n"
                  "SFX D 0 d e\n"
                  "SFX D y ied [^aeiou]y\n"
                  "SFX D 0 ed [^ey]\n"
                  "SFX G N 2\n"
                  "SFX G e ing e\n"
                  "SFX G 0 ing [^e]\n");
    dic_ = folder_.write("en.dic",
                         "\xEF\xBB\xBF"
                         "6\nwork/ADSG\ncity/S\nbox/S\nrealize/DGS\t Verb\n1th/_\nsheep\n");
  }
  quorvi::testing::TemporaryFolder folder_;
  std::string dic_;
};

}  // namespace

TEST_F(WordListFiles, HunspellStemsAreSpelledOutThroughTheirAffixRules) {
  writeHunspell();
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(expandHunspell(
      dic_, (folder_.path() / "en.aff").string(), [&](const std::string& w) { words.push_back(w); },
      error))
      << error;
  for (const char* w :
       {"work", "works", "worked", "working", "rework", "reworked", "reworks", "city", "cities",
        "box", "boxes", "realize", "realized", "realizing", "realizes", "sheep"})
    EXPECT_NE(std::find(words.begin(), words.end(), w), words.end()) << w;
  // Rules apply only where their condition holds; a prefix without cross product stays on
  // the stem ("reworking" comes from G, which does not cross); compound-only stems are no words.
  for (const char* w : {"citys", "boxs", "realizeed", "workes", "reworking", "sheeps", "1th", "6"})
    EXPECT_EQ(std::find(words.begin(), words.end(), w), words.end()) << w;
}

TEST_F(WordListFiles, BothSourcesJoinIntoOneListAndMissingOnesAreNamed) {
  writeHunspell();
  WordListSources sources;
  sources.wordsFile = folder_.write("words", "A\nalgorithms\ncolours\r\nworked\n");
  sources.hunspellDictionary = dic_;
  BritishWordList list = britishWordList(sources);
  EXPECT_TRUE(list.problems().empty());
  EXPECT_EQ(list.filesRead().size(), 2u);
  for (const char* w : {"A", "algorithms", "colours", "worked", "realized", "cities"})
    EXPECT_TRUE(list.contains(w)) << w;
  EXPECT_FALSE(list.contains("a"));  // spelling as listed, case included
  EXPECT_TRUE(list.listsAsWord("algorithms"));
  EXPECT_FALSE(list.listsAsWord("cities"));  // only spelled out by hunspell's rules
  EXPECT_FALSE(list.contains("colours\r"));

  sources.wordsFile = (folder_.path() / "no-such-list").string();
  list = britishWordList(sources);
  ASSERT_EQ(list.problems().size(), 1u);
  EXPECT_NE(list.problems().front().find("no-such-list"), std::string::npos);
  EXPECT_NE(list.problems().front().find("wbritish-large"), std::string::npos);
  EXPECT_TRUE(list.contains("worked"));     // the hunspell list still counts
  EXPECT_TRUE(list.listsAsWord("cities"));  // and is the only list there is

  sources.hunspellDictionary = (folder_.path() / "none.dic").string();
  list = britishWordList(sources);
  EXPECT_EQ(list.problems().size(), 2u);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(britishWordListFiles(sources).back(), (folder_.path() / "none.aff").string());
}

TEST_F(WordListFiles, MalformedAffixFilesAreRefusedOrReadSafely) {
  folder_.write("odd.dic", "2\nwork/ZZ\n/\n");
  folder_.write("odd.aff", "SFX\nSFX Z\nSFX Z Y 1\nSFX Z 0 ed [^e\nPFX\n");
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(expandHunspell((folder_.path() / "odd.dic").string(),
                             (folder_.path() / "odd.aff").string(),
                             [&](const std::string& w) { words.push_back(w); }, error));
  EXPECT_EQ(words, (std::vector<std::string>{"work", "worked", "worked"}));
  folder_.write("long.aff", "FLAG long\n");
  EXPECT_FALSE(expandHunspell((folder_.path() / "odd.dic").string(),
                              (folder_.path() / "long.aff").string(), [](const std::string&) {},
                              error));
  EXPECT_NE(error.find("long"), std::string::npos);
}

TEST_F(WordListFiles, HunspellsLibraryConfirmsTheFormsItsRulesAllow) {
  writeHunspell();
  HunspellChecker checker(dic_);
  ASSERT_TRUE(checker.ready()) << checker.error();
  for (const char* w : {"works", "reworked", "cities", "boxes", "realizing", "sheep"})
    EXPECT_TRUE(checker.spell(w)) << w;
  for (const char* w : {"citys", "boxs", "sheeps", "workied", "1th", ""})
    EXPECT_FALSE(checker.spell(w)) << w;
  EXPECT_TRUE(checker.isFormOf("worked", "work"));
  EXPECT_FALSE(checker.isFormOf("worked", "city"));
  EXPECT_TRUE(checker.stems("sheeps").empty());
  // The list takes hunspell's word where the plain list has none.
  BritishWordList list = britishWordList({"", dic_});
  EXPECT_TRUE(list.confirmsForm("realized", "realize"));
  EXPECT_FALSE(list.confirmsForm("realizeed", "realize"));
  list.add("realizeed");  // listed one by one: taken as it stands
  EXPECT_TRUE(list.confirmsForm("realizeed", "realize"));
  // A missing file is named, never a checker that accepts nothing in silence.
  HunspellChecker missing((folder_.path() / "none.dic").string());
  EXPECT_FALSE(missing.ready());
  EXPECT_NE(missing.error().find("cannot read"), std::string::npos);
  EXPECT_FALSE(missing.spell("work"));
}
