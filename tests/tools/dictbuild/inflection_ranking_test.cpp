#include <gtest/gtest.h>

#include <algorithm>

#include "function_words.h"
#include "heard_case.h"
#include "inflections.h"
#include "ranking.h"

using namespace quorvi::dictbuild;

TEST(Inflections, RegularSpellingRules) {
  struct Case {
    std::string (*form)(const std::string&);
    const char* word;
    const char* expected;  // "" when the word takes "more" or "most"
  };
  const Case cases[] = {
      {pluralOf, "cat", "cats"},
      {pluralOf, "box", "boxes"},
      {pluralOf, "church", "churches"},
      {pluralOf, "city", "cities"},
      {pluralOf, "day", "days"},
      {pluralOf, "woman", "women"},  // the exception lists leave -man to a rule
      {pluralOf, "human", "humans"},
      {thirdPersonOf, "go", "goes"},
      {thirdPersonOf, "try", "tries"},
      {pastOf, "walk", "walked"},
      {pastOf, "stop", "stopped"},
      {pastOf, "hope", "hoped"},
      {pastOf, "try", "tried"},
      {pastOf, "play", "played"},
      {pastOf, "visit", "visited"},
      {pastOf, "layer", "layered"},  // y after a vowel starts no syllable of its own
      {presentParticipleOf, "make", "making"},
      {presentParticipleOf, "die", "dying"},
      {presentParticipleOf, "see", "seeing"},
      {presentParticipleOf, "run", "running"},
      {presentParticipleOf, "fix", "fixing"},
      {comparativeOf, "big", "bigger"},
      {superlativeOf, "happy", "happiest"},
      {comparativeOf, "late", "later"},
      {comparativeOf, "beautiful", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.form(c.word), c.expected) << c.word;
}

namespace {

DictEntry entry(const std::string& caption, double frequency, int senses = 1) {
  DictEntry e;
  e.caption = caption;
  e.frequency = frequency;
  e.senseCount = senses;
  return e;
}

std::vector<std::string> captionsInOrder(const std::vector<DictEntry>& entries) {
  std::vector<std::string> out;
  for (size_t i : rankOrder(entries)) out.push_back(entries[i].caption);
  return out;
}

}  // namespace

TEST(Inflections, ExceptionListsAndRegularFormsBecomeEntriesOfTheirLemma) {
  WordNetData data;
  data.headwords = {entry("walk", 50),   entry("go", 80),  entry("cat", 20),
                    entry("walking", 5), entry("big", 30), entry("in", 40)};
  data.posCounts = {{"walk#v", 40}, {"walk#n", 10}, {"go#v", 80},
                    {"cat#n", 20},  {"big#a", 30},  {"in#a", 5}};
  data.exceptions['v'] = {{"went", {"go"}}, {"gone", {"go"}}};
  data.exceptions['a'] = {{"bigger", {"big"}}};
  addInflections(data);

  auto find = [&](const std::string& caption) -> const DictEntry* {
    for (const auto& e : data.headwords)
      if (e.caption == caption) return &e;
    return nullptr;
  };
  // A missing row fails the expectation that reads it instead of crashing the test binary.
  auto first = [&](const std::string& caption) {
    const DictEntry* e = find(caption);
    return e && !e->explainLines.empty() ? e->explainLines.front() : "(no row " + caption + ")";
  };
  auto last = [&](const std::string& caption) {
    const DictEntry* e = find(caption);
    return e && !e->explainLines.empty() ? e->explainLines.back() : "(no row " + caption + ")";
  };
  auto lineCount = [&](const std::string& caption) -> long {
    const DictEntry* e = find(caption);
    return e ? static_cast<long>(e->explainLines.size()) : -1;
  };
  EXPECT_EQ(first("went"), "past tense of go");
  EXPECT_EQ(first("gone"), "past participle of go");
  EXPECT_EQ(find("goed"), nullptr);  // the exception list gives the past forms
  EXPECT_NE(find("goes"), nullptr);
  EXPECT_EQ(first("walked"), "past tense and past participle of walk");
  EXPECT_EQ(lineCount("walks"), 2);  // plural and third person
  EXPECT_EQ(first("cats"), "plural of cat");
  EXPECT_EQ(find("catted"), nullptr);  // no verb use of cat
  EXPECT_EQ(first("biggest"), "superlative of big");
  EXPECT_EQ(lineCount("bigger"), 1);
  // An existing headword gets the line instead of a second row.
  EXPECT_EQ(std::count_if(data.headwords.begin(), data.headwords.end(),
                          [](const DictEntry& e) { return e.caption == "walking"; }),
            1);
  EXPECT_EQ(last("walking"), "present participle of walk");
  // Grammatical words take no endings.
  EXPECT_EQ(find("iner"), nullptr);
}

TEST(Ranking, FrequentFirstEachLemmaFollowedByItsForms) {
  std::vector<DictEntry> entries = {entry("cat", 20), entry("house", 500), entry("rare", 0)};
  DictEntry cats = entry("cats", 20);
  cats.anchor = 0;
  entries.push_back(cats);
  EXPECT_EQ(captionsInOrder(entries), (std::vector<std::string>{"house", "cat", "cats", "rare"}));
}

TEST(Ranking, TiesPutSingleWordsBeforePhrasesThenShorterFirst) {
  std::vector<DictEntry> entries = {entry("ice age", 0), entry("icebreaker", 0), entry("ice", 0),
                                    entry("Ice", 0)};
  EXPECT_EQ(captionsInOrder(entries),
            (std::vector<std::string>{"ice", "Ice", "icebreaker", "ice age"}));
}

TEST(Ranking, ShortWordsBeatLongerOnesOfSimilarFrequency) {
  // A learner typing "kæt" more likely means cat than catch, though catch is met more.
  std::vector<DictEntry> entries = {entry("character", 124), entry("cat", 58),
                                    entry("candidate", 90)};
  EXPECT_EQ(captionsInOrder(entries).front(), "cat");
}

// An element's symbol spelled like a heard word in another case takes none of its count; a
// symbol row with a sense of its own, or with no such word beside it, keeps it.
TEST(Ranking, ElementSymbolsSpelledLikeHeardWordsAreNotHeard) {
  std::vector<DictEntry> entries = {entry("he", 0), entry("He", 0), entry("Li", 0), entry("li", 0),
                                    entry("Fe", 0)};
  entries[1].explainLines = {"n. 氦", "同 helium"};
  entries[2].explainLines = {"a family name; 姓氏：李", "n. 锂"};
  entries[4].explainLines = {"n. 铁"};
  std::vector<double> heard(entries.size(), 500);
  EXPECT_EQ(leaveSymbolRowsUnheard(entries, heard), 1u);
  EXPECT_EQ(heard, (std::vector<double>{500, 0, 500, 500, 500}));
}

// A word said in capitals takes the count the list writes capitalised where no heard row is
// spelled so: TV, and CD once cadmium's Cd is unheard; not WAN beside the name Wan.
TEST(Ranking, WordsSaidInCapitalsTakeTheCountWrittenCapitalised) {
  SpokenFrequencies spoken;
  spoken.counts = {{"Tv", 5000}, {"Cd", 400}, {"Wan", 300}};
  const std::vector<DictEntry> entries = {entry("TV", 0), entry("CD", 0), entry("Cd", 0),
                                          entry("WAN", 0), entry("Wan", 0)};
  std::vector<double> heard = {0, 0, 0, 0, 300};
  EXPECT_EQ(giveCapitalsTheirCount(entries, spoken, heard), 2u);
  EXPECT_EQ(heard, (std::vector<double>{5000, 400, 0, 0, 300}));
}

TEST(FunctionWords, JoinWordNetEntriesAndRankFirst) {
  std::vector<DictEntry> entries = {entry("house", 500), entry("can", 30, 3)};
  entries[1].explainLines = {"n. a metal container"};
  addFunctionWords(entries);
  auto order = captionsInOrder(entries);
  EXPECT_LT(std::find(order.begin(), order.end(), "the") - order.begin(),
            std::find(order.begin(), order.end(), "house") - order.begin());
  const auto can = std::find_if(entries.begin(), entries.end(),
                                [](const DictEntry& e) { return e.caption == "can"; });
  ASSERT_NE(can, entries.end());
  EXPECT_EQ(can->explainLines.front().rfind("modal v.", 0), 0u);
  EXPECT_EQ(can->explainLines.back(), "n. a metal container");
  EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                          [](const DictEntry& e) { return e.caption == "can"; }),
            1);
}
