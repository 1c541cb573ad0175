// Where the s and z of a reading follow something besides the letters: a derivative says its
// stem's, a name in -as ends unvoiced.
#include "voicing.h"

#include <gtest/gtest.h>

using namespace quorvi::dictbuild;

TEST(Voicing, ADerivativeTakesItsStemsVoicingAndANameInAsEndsUnvoiced) {
  const auto isHeadword = [](const std::string& w) { return w == "desist" || w == "blorse"; };
  EXPECT_EQ(voicingStemOf("desistance", isHeadword), "desist");
  EXPECT_EQ(voicingStemOf("desistor", isHeadword), "desist");
  EXPECT_EQ(voicingStemOf("blorseful", isHeadword), "blorse");
  EXPECT_EQ(voicingStemOf("persistent", isHeadword), "");
  // One s or z within the stem's sounds differs: the stem's; anything else: none.
  EXPECT_EQ(withStemVoicing(u"diˈsistəns", u"diˈzist"), std::u16string(u"diˈzistəns"));
  EXPECT_EQ(withStemVoicing(u"ˈbləːzə", u"bləːs"), std::u16string(u"ˈbləːsə"));
  EXPECT_FALSE(withStemVoicing(u"diˈzistəns", u"diˈzist"));
  EXPECT_FALSE(withStemVoicing(u"ˈresidəns", u"riˈzaid"));
  EXPECT_FALSE(withStemVoicing(u"dis", u"diˈzist"));
  const std::vector<std::string> name = {"a given name (male)"};
  EXPECT_EQ(withNameEndingAs("Pergas", name, u"ˈpəːɡəz"), std::u16string(u"ˈpəːɡəs"));
  EXPECT_EQ(withNameEndingAs("Zorbas", {"plural of Zorba / Zorba的复数"}, u"ˈzɔːbəz"),
            std::u16string(u"ˈzɔːbəz"));
  EXPECT_EQ(withNameEndingAs("Boreas", name, u"ˈbɔːriəz"), std::u16string(u"ˈbɔːriəz"));
  EXPECT_EQ(withNameEndingAs("pergas", name, u"ˈpəːɡəz"), std::u16string(u"ˈpəːɡəz"));
}
