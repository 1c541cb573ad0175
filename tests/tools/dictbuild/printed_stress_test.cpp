#include "printed_stress.h"

#include <gtest/gtest.h>

using namespace quorvi::dictbuild;

// The marks as the books print them: no secondary stress after the main one, a main stress on
// a word said alone, a secondary one on a full vowel two or more syllables before the main.
TEST(PrintedStress, SecondaryStressOnlyBeforeTheMainOne) {
  EXPECT_EQ(withPrintedStress(u"ˈhɔliˌdei", true), u"ˈhɔlidei");
  EXPECT_EQ(withPrintedStress(u"ˈæɡriˌkʌltʃəˌrəl", true), u"ˈæɡrikʌltʃərəl");
  EXPECT_EQ(withPrintedStress(u"ˌkɔnɡrætʃuˈleiʃən", true), u"ˌkɔnɡrætʃuˈleiʃən");
  EXPECT_EQ(withPrintedStress(u"ˌwɔt", true), u"ˈwɔt");
  EXPECT_EQ(withPrintedStress(u"ˌmʌltiˌpəl", true), u"ˈmʌltipəl");
  EXPECT_EQ(withPrintedStress(u"ju", true), u"ju");  // a weak form stays unmarked
  // In a phrase the marks of the words before the last main stress stay as they are.
  EXPECT_EQ(withPrintedStress(u"ˈhɔtˌdɔɡˈstændˌbai", false), u"ˈhɔtˌdɔɡˈstændbai");
}

TEST(PrintedStress, AFullVowelTwoSyllablesBeforeTheMainStressIsSecondary) {
  EXPECT_EQ(withPrintedStress(u"kɔnvəˈseiʃən", true), u"ˌkɔnvəˈseiʃən");
  EXPECT_EQ(withPrintedStress(u"vaiəˈlin", true), u"ˌvaiəˈlin");
  EXPECT_EQ(withPrintedStress(u"suːpəˈviʒən", true), u"ˌsuːpəˈviʒən");
  // Next to the main stress, after a weak first vowel, or already marked: as it is.
  EXPECT_EQ(withPrintedStress(u"həuˈtel", true), u"həuˈtel");
  EXPECT_EQ(withPrintedStress(u"əpɔləˈdʒetik", true), u"əpɔləˈdʒetik");
  EXPECT_EQ(withPrintedStress(u"riˈspɔnsibəl", true), u"riˈspɔnsibəl");
  EXPECT_EQ(withPrintedStress(u"iˌmædʒiˈneiʃən", true), u"iˌmædʒiˈneiʃən");
  EXPECT_EQ(withPrintedStress(u"kɔnvəˈseiʃən", false), u"kɔnvəˈseiʃən");
}
