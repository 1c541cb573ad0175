#include <gtest/gtest.h>

#include <algorithm>

#include "function_words.h"
#include "inflections.h"
#include "ranking.h"

using namespace quorvi::dictbuild;

TEST(Inflections, RegularSpellingRules) {
    EXPECT_EQ(pluralOf("cat"), "cats");
    EXPECT_EQ(pluralOf("box"), "boxes");
    EXPECT_EQ(pluralOf("church"), "churches");
    EXPECT_EQ(pluralOf("city"), "cities");
    EXPECT_EQ(pluralOf("day"), "days");
    EXPECT_EQ(pluralOf("woman"), "women");   // the exception lists leave -man to a rule
    EXPECT_EQ(pluralOf("human"), "humans");
    EXPECT_EQ(thirdPersonOf("go"), "goes");
    EXPECT_EQ(thirdPersonOf("try"), "tries");
    EXPECT_EQ(pastOf("walk"), "walked");
    EXPECT_EQ(pastOf("stop"), "stopped");
    EXPECT_EQ(pastOf("hope"), "hoped");
    EXPECT_EQ(pastOf("try"), "tried");
    EXPECT_EQ(pastOf("play"), "played");
    EXPECT_EQ(pastOf("visit"), "visited");
    EXPECT_EQ(pastOf("layer"), "layered");   // y after a vowel starts no syllable of its own   // no doubling without a stressed final syllable
    EXPECT_EQ(presentParticipleOf("make"), "making");
    EXPECT_EQ(presentParticipleOf("die"), "dying");
    EXPECT_EQ(presentParticipleOf("see"), "seeing");
    EXPECT_EQ(presentParticipleOf("run"), "running");
    EXPECT_EQ(presentParticipleOf("fix"), "fixing");
    EXPECT_EQ(comparativeOf("big"), "bigger");
    EXPECT_EQ(superlativeOf("happy"), "happiest");
    EXPECT_EQ(comparativeOf("late"), "later");
    EXPECT_EQ(comparativeOf("beautiful"), "");
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
    data.headwords = {entry("walk", 50), entry("go", 80), entry("cat", 20), entry("walking", 5),
                      entry("big", 30), entry("in", 40)};
    data.posCounts = {{"walk#v", 40}, {"walk#n", 10}, {"go#v", 80}, {"cat#n", 20}, {"big#a", 30},
                      {"in#a", 5}};
    data.exceptions['v'] = {{"went", {"go"}}, {"gone", {"go"}}};
    data.exceptions['a'] = {{"bigger", {"big"}}};
    addInflections(data);

    auto find = [&](const std::string& caption) -> const DictEntry* {
        for (const auto& e : data.headwords)
            if (e.caption == caption) return &e;
        return nullptr;
    };
    ASSERT_NE(find("went"), nullptr);
    EXPECT_EQ(find("went")->explainLines.front(), "past tense of go");
    EXPECT_EQ(find("gone")->explainLines.front(), "past participle of go");
    EXPECT_EQ(find("goed"), nullptr);  // the exception list gives the past forms
    ASSERT_NE(find("goes"), nullptr);
    EXPECT_EQ(find("walked")->explainLines.front(), "past tense and past participle of walk");
    EXPECT_EQ(find("walks")->explainLines.size(), 2u);  // plural and third person
    EXPECT_EQ(find("cats")->explainLines.front(), "plural of cat");
    EXPECT_EQ(find("catted"), nullptr);  // no verb use of cat
    EXPECT_EQ(find("biggest")->explainLines.front(), "superlative of big");
    EXPECT_EQ(find("bigger")->explainLines.size(), 1u);
    // An existing headword gets the line instead of a second row.
    ASSERT_NE(find("walking"), nullptr);
    EXPECT_EQ(std::count_if(data.headwords.begin(), data.headwords.end(),
                            [](const DictEntry& e) { return e.caption == "walking"; }),
              1);
    EXPECT_EQ(find("walking")->explainLines.back(), "present participle of walk");
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
    EXPECT_EQ(captionsInOrder(entries), (std::vector<std::string>{"ice", "Ice", "icebreaker", "ice age"}));
}

TEST(Ranking, ShortWordsBeatLongerOnesOfSimilarFrequency) {
    // A learner typing "kæt" more likely means cat than catch, though catch is met more.
    std::vector<DictEntry> entries = {entry("character", 124), entry("cat", 58), entry("candidate", 90)};
    EXPECT_EQ(captionsInOrder(entries).front(), "cat");
}

TEST(FunctionWords, JoinWordNetEntriesAndRankFirst) {
    std::vector<DictEntry> entries = {entry("house", 500), entry("can", 30, 3)};
    entries[1].explainLines = {"n. a metal container"};
    addFunctionWords(entries);
    auto order = captionsInOrder(entries);
    EXPECT_LT(std::find(order.begin(), order.end(), "the") - order.begin(),
              std::find(order.begin(), order.end(), "house") - order.begin());
    const auto can = std::find_if(entries.begin(), entries.end(), [](const DictEntry& e) { return e.caption == "can"; });
    ASSERT_NE(can, entries.end());
    EXPECT_EQ(can->explainLines.front().rfind("modal v.", 0), 0u);
    EXPECT_EQ(can->explainLines.back(), "n. a metal container");
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const DictEntry& e) { return e.caption == "can"; }), 1);
}
