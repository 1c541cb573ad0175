// re- meaning again: which words are read so, and how their transcription is written.
#include <gtest/gtest.h>

#include "again_prefix.h"
#include "utf8.h"

using namespace quorvi::dictbuild;

TEST(AgainPrefix, TheFirstSenseSaysAgain) {
  EXPECT_TRUE(senseMeansAgain({"重建；改建", "v. build again; \"The house was rebuilt\""}));
  EXPECT_TRUE(senseMeansAgain({"v. open again or anew"}));
  // The Chinese lines come first and open with a part of speech too: the English sense counts.
  EXPECT_TRUE(senseMeansAgain({"v. 重开；再开始；再开", "柯林斯★★", "v. open again or anew"}));
  EXPECT_TRUE(senseMeansAgain({"vt. 重新设定；重置", "n. 重新设定；重排版", "v. set anew"}));
  EXPECT_TRUE(senseMeansAgain({"v. focus once again"}));
  EXPECT_TRUE(senseMeansAgain({"n. the evaluation of something a second time (or more)"}));
  // Only the first sense counts, and not its examples.
  EXPECT_FALSE(senseMeansAgain({"v. get or find back", "v. cover anew"}));
  EXPECT_FALSE(senseMeansAgain({"v. gain in value; \"The yen appreciated again!\""}));
  EXPECT_FALSE(senseMeansAgain({"v. make reference to", "past tense of again"}));
  EXPECT_FALSE(senseMeansAgain({"past tense of rebuild"}));
  EXPECT_FALSE(senseMeansAgain({"n. the gain against the odds"}));  // a word, not a part
}

TEST(AgainPrefix, TheWordAfterRe) {
  EXPECT_EQ(againStem("rebuild"), "build");
  EXPECT_EQ(againStem("reopened"), "opened");
  EXPECT_EQ(againStem("re-create"), "create");
  // Words whose re- stays weak whatever their sense says, and their forms.
  for (const char* weak : {"repeat", "repeated", "recur", "recurring", "review", "renew",
                           "reiterate", "recover", "remark"})
    EXPECT_EQ(againStem(weak), "") << weak;
  // A phrase, too short a rest, a name.
  for (const char* no : {"rebuild it", "red", "rely", "Reading", "re-"})
    EXPECT_EQ(againStem(no), "") << no;
}

TEST(AgainPrefix, ReIsLongWithItsOwnStress) {
  EXPECT_EQ(encodeUtf8(withAgainPrefix(u"ˈbild")), "ˌriːˈbild");
  EXPECT_EQ(encodeUtf8(withAgainPrefix(u"ˈəupən")), "ˌriːˈəupən");
  EXPECT_EQ(encodeUtf8(withAgainPrefix(u"əˈkweint")), "ˌriːəˈkweint");
  EXPECT_EQ(encodeUtf8(withAgainPrefix(u"ˌintrəˈdjuːs")), "ˌriːˌintrəˈdjuːs");
}
