#include "men_plural.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorvi::dictbuild;

// A -men plural reads as its -man singular only when its lines call it that singular's plural
// and the singular ends in an unstressed mən: men, women and superman's plural keep their own.
TEST(MenPlurals, APluralOfAManCompoundReadsAsItsSingular) {
  const std::set<std::string> headwords = {"policeman", "Frenchman", "woman", "superman", "man"};
  const auto isHeadword = [&](const std::string& w) { return headwords.count(w) != 0; };
  EXPECT_EQ(menPluralSingular("policemen", {"plural of policeman / policeman的复数", "n. 警察"},
                              isHeadword),
            "policeman");
  EXPECT_EQ(menPluralSingular("Frenchmen", {"plural of Frenchman / Frenchman的复数"}, isHeadword),
            "Frenchman");
  EXPECT_EQ(menPluralSingular("policemen", {"n. 警察"}, isHeadword), "");
  EXPECT_EQ(menPluralSingular("women", {"plural of woman"}, isHeadword), "");
  EXPECT_EQ(menPluralSingular("men", {"plural of man"}, isHeadword), "");
  EXPECT_EQ(menPluralSingular("postmen", {"plural of postman"}, isHeadword), "");
  EXPECT_EQ(menPluralSingular("policemen", {"plural of policemanship"}, isHeadword), "");

  EXPECT_TRUE(endsInUnstressedMan(u"p\u0259\u02C8li\u02D0sm\u0259n"));
  EXPECT_FALSE(endsInUnstressedMan(u"\u02C8su\u02D0p\u0259m\u00E6n"));
  EXPECT_FALSE(endsInUnstressedMan(u"\u02C8m\u0259n"));
  EXPECT_FALSE(endsInUnstressedMan(u"m\u0259n"));
}
