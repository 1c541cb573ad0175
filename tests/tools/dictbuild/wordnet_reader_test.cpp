#include <gtest/gtest.h>

#include "tests/engine/test_dictionary.h"
#include "wordnet_reader.h"

using namespace quorvi::dictbuild;

namespace {

// A WordNet folder in miniature: turkey the bird and Turkey the country, an adjective with its
// syntactic marker, a verb, sense counts and example sentences.
class MiniWordNet : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.write("index.noun",
                  "  1 this licence header line starts with spaces\n"
                  "turkey n 2 1 @ 2 1 00000100 00000200  \n"
                  "cat n 1 0 1 1 00000300  \n"
                  "go n 3 0 3 1 00000600 00000700 00000800  \n");
    folder_.write(
        "data.noun",
        "  1 licence\n"
        "00000100 05 n 02 turkey 0 domestic_turkey 0 000 | large bird; \"we ate turkey\"  \n"
        "00000200 15 n 01 Turkey 0 000 | a republic in Asia Minor  \n"
        "00000300 05 n 01 cat 0 000 | feline mammal; \"the cat sat\"; \"cats purr\"  \n"
        "00000600 04 n 01 go 0 000 | a time for working  \n"
        "00000700 06 n 01 go 0 000 | street names for methylenedioxymethamphetamine  \n"
        "00000800 04 n 01 go 0 000 | a board game for two players  \n");
    folder_.write("index.verb",
                  "walk v 1 0 1 1 00000400  \ngo v 3 0 3 2 00000410 00000420 00000430  \n");
    folder_.write("data.verb",
                  "00000400 38 v 01 walk 0 000 | use one's feet; \"we walked home\"  \n"
                  "00000410 38 v 01 go 0 000 | change location; move  \n"
                  "00000420 30 v 01 go 0 000 | follow a procedure  \n"
                  "00000430 42 v 01 go 0 000 | be awarded  \n");
    folder_.write("index.adj", "elect a 1 0 1 0 00000500  \n");
    folder_.write("data.adj",
                  "00000500 00 s 01 elect(ip) 0 000 | elected but not yet in office  \n");
    folder_.write("index.adv", "");
    folder_.write("data.adv", "");
    folder_.write("noun.exc", "turkeys turkey\n");
    folder_.write("verb.exc", "");
    folder_.write("adj.exc", "");
    folder_.write("adv.exc", "");
    folder_.write("cntlist.rev",
                  "turkey%1:05:00:: 1 7\n"
                  "turkey%1:15:00:: 2 3\n"
                  "walk%2:38:00:: 1 4\n"
                  "go%1:04:00:: 2 5\n"
                  "go%2:38:00:: 1 343\n"
                  "go%2:30:00:: 2 3\n");
  }
  const DictEntry* find(const WordNetData& d, const std::string& caption) {
    for (const auto& e : d.headwords)
      if (e.caption == caption) return &e;
    return nullptr;
  }
  quorvi::testing::TemporaryFolder folder_;
};

}  // namespace

TEST_F(MiniWordNet, HeadwordsAsSpelledWithSensesCountsAndMarkersRemoved) {
  WordNetData d;
  std::string error;
  ASSERT_TRUE(readWordNet(folder_.path().string(), d, error)) << error;

  const DictEntry* bird = find(d, "turkey");
  const DictEntry* country = find(d, "Turkey");
  ASSERT_NE(bird, nullptr);
  ASSERT_NE(country, nullptr);
  EXPECT_EQ(bird->explainLines, (std::vector<std::string>{"n. large bird; \"we ate turkey\""}));
  EXPECT_EQ(country->explainLines, (std::vector<std::string>{"n. a republic in Asia Minor"}));
  // Sense tag counts go to the sense's own headword; example words add to their lemma.
  EXPECT_DOUBLE_EQ(bird->frequency, 7 + 1);
  EXPECT_DOUBLE_EQ(country->frequency, 3 + 1);
  EXPECT_DOUBLE_EQ(find(d, "cat")->frequency, 2);       // "cat" and "cats" in its examples
  EXPECT_DOUBLE_EQ(find(d, "walk")->frequency, 4 + 1);  // "walked"
  EXPECT_DOUBLE_EQ(d.posCounts["walk#v"], 4);

  const DictEntry* elect = find(d, "elect");
  ASSERT_NE(elect, nullptr);  // "elect(ip)" in the data file
  EXPECT_EQ(elect->explainLines.front(), "adj. elected but not yet in office");
  EXPECT_EQ(d.exceptions['n'].front().first, "turkeys");
  EXPECT_EQ(d.lemmaPos["walk"], "v");
}

TEST_F(MiniWordNet, MissingFilesAreReportedByName) {
  std::filesystem::remove(folder_.path() / "data.verb");
  WordNetData d;
  std::string error;
  EXPECT_FALSE(readWordNet(folder_.path().string(), d, error));
  EXPECT_NE(error.find("data.verb"), std::string::npos) << error;
}

TEST_F(MiniWordNet, SensesRunFromTheCommonestWhateverTheirPartOfSpeech) {
  WordNetData d;
  std::string error;
  ASSERT_TRUE(readWordNet(folder_.path().string(), d, error)) << error;
  const DictEntry* go = find(d, "go");
  ASSERT_NE(go, nullptr);
  // Tagged senses by count across parts of speech (343 v, 5 n, 3 v); then untagged ones, the
  // verb's before the noun's since "go" is mostly a verb, each in WordNet's own order.
  EXPECT_EQ(go->explainLines, (std::vector<std::string>{
                                  "v. change location; move",
                                  "n. street names for methylenedioxymethamphetamine",
                                  "v. follow a procedure",
                                  "v. be awarded",
                                  "n. a time for working",
                                  "n. a board game for two players",
                              }));
  EXPECT_EQ(go->senseCount, 6);
  EXPECT_DOUBLE_EQ(d.posCounts["go#v"], 346);
  EXPECT_DOUBLE_EQ(d.posCounts["go#n"], 5);
}
