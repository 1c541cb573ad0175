#include "british_spelling_first.h"

#include <gtest/gtest.h>

#include "british_word_list.h"

using namespace quorvi::dictbuild;

namespace {

// A British word list as Debian's: British spellings only; "color" heard in films is vouched
// for by the spoken list, which makes it a word but not a British spelling.
BritishWordList britishList() {
  BritishWordList list;
  for (const char* word :
       {"colour", "colours", "centre",    "apologise",  "travelled", "catalogue", "defence",
        "fulfil", "anaemia", "grey",      "jewellery",  "for",       "four",      "pillar",
        "stelae", "stele",   "judgement", "instalment", "analyse",   "filled",    "filed"})
    list.add(word);
  list.attest("color");
  return list;
}

std::vector<std::string> spellings(const char* word) {
  static const BritishWordList list = britishList();
  return britishSpellingsOf(word, list);
}

}  // namespace

// Each kind of American spelling finds its British one; a word British spells alike, a
// name, a short word, and a rewrite that makes another word find none.
TEST(BritishSpellings, EachKindOfAmericanSpellingFindsItsBritishOne) {
  using V = std::vector<std::string>;
  EXPECT_EQ(spellings("color"), V{"colour"});
  EXPECT_EQ(spellings("colors"), V{"colours"});
  EXPECT_EQ(spellings("center"), V{"centre"});
  EXPECT_EQ(spellings("apologize"), V{"apologise"});
  EXPECT_EQ(spellings("analyze"), V{"analyse"});
  EXPECT_EQ(spellings("traveled"), V{"travelled"});
  EXPECT_EQ(spellings("catalog"), V{"catalogue"});
  EXPECT_EQ(spellings("defense"), V{"defence"});
  EXPECT_EQ(spellings("fulfill"), V{"fulfil"});
  EXPECT_EQ(spellings("anemia"), V{"anaemia"});
  EXPECT_EQ(spellings("grayer"), V{});  // the list has no greyer
  EXPECT_EQ(spellings("jewelry"), V{"jewellery"});
  EXPECT_EQ(spellings("judgment"), V{"judgement"});
  EXPECT_EQ(spellings("installment"), V{"instalment"});
  EXPECT_EQ(spellings("gray"), V{"grey"});
  for (const char* alike : {"for", "filed", "colour", "pilar", "Cent", "ger"})
    EXPECT_EQ(spellings(alike), V{}) << alike;
}

// The British spelling moves to just before the American one; the rest keeps its order, and
// a British spelling already first stays where it is.
TEST(BritishSpellings, TheBritishSpellingComesJustBeforeTheAmericanOne) {
  std::vector<DictEntry> entries(6);
  const char* captions[] = {"color", "colors", "the", "colour", "centre", "center"};
  for (size_t i = 0; i < entries.size(); ++i) entries[i].caption = captions[i];
  std::vector<size_t> order = {2, 0, 1, 4, 5, 3};  // the color colors centre center colour
  EXPECT_EQ(placeBritishSpellingsFirst(entries, britishList(), order), 1u);
  std::vector<std::string> listed;
  for (size_t i : order) listed.push_back(entries[i].caption);
  EXPECT_EQ(listed,
            (std::vector<std::string>{"the", "colour", "color", "colors", "centre", "center"}));
}
