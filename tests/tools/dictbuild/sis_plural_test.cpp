#include "sis_plural.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorvi::dictbuild;

// A -ses plural reads as its -sis singular with siːz at the end, only when its lines call it
// that singular's plural (buses and the verb's "synthesises" keep their own reading).
TEST(SisPlurals, APluralOfASisNounEndsInSiz) {
  const std::set<std::string> headwords = {"synopsis", "oasis", "bus", "synthesis"};
  const auto isHeadword = [&](const std::string& w) { return headwords.count(w) != 0; };
  EXPECT_EQ(sisPluralSingular("synopses", {"plural of synopsis / synopsis的复数"}, isHeadword),
            "synopsis");
  EXPECT_EQ(sisPluralSingular("oases", {"n. 绿洲", "plural of oasis"}, isHeadword), "oasis");
  EXPECT_EQ(sisPluralSingular("synthesises", {"third person singular of synthesise"}, isHeadword),
            "");
  EXPECT_EQ(sisPluralSingular("buses", {"plural of bus"}, isHeadword), "");
  EXPECT_EQ(sisPluralSingular("theses", {"plural of thesis"}, isHeadword), "") << "no headword";

  EXPECT_EQ(sisPluralReading(u"si\u02C8n\u0254psis"), u"si\u02C8n\u0254psi\u02D0z");
  EXPECT_EQ(sisPluralReading(u"\u02C8b\u028Cs"), std::nullopt);
}
