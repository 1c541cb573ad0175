// The everyday phrases and interjection senses a learner hears, added by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "chinese_line.h"
#include "spoken_forms.h"
#include "transcription_normaliser.h"

using namespace quorvi::dictbuild;

namespace {

DictEntry entry(const char* caption, std::vector<std::string> lines) {
  DictEntry e;
  e.caption = caption;
  e.explainLines = std::move(lines);
  return e;
}

const DictEntry* find(const std::vector<DictEntry>& entries, const std::string& caption) {
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const DictEntry& e) { return e.caption == caption; });
  return it == entries.end() ? nullptr : &*it;
}

}  // namespace

TEST(HeardPhrases, EachHasChineseAGlossAndAReadableReading) {
  std::vector<DictEntry> entries;
  const size_t added = addHeardPhrases(entries);
  EXPECT_GE(added, 60u);
  EXPECT_EQ(entries.size(), added);
  for (const DictEntry& e : entries) {
    ASSERT_EQ(e.explainLines.size(), 2u) << e.caption;
    std::string why;
    EXPECT_TRUE(checkChineseLine(e.explainLines[0], why)) << e.caption << ": " << why;
    EXPECT_NE(e.explainLines[1].find(". "), std::string::npos) << e.caption;
    EXPECT_TRUE(normaliseTranscription(e.transcription).ok()) << e.caption;
  }
  for (const char* phrase :
       {"you know", "I mean", "excuse me", "see you", "no worries", "how come", "you're welcome",
        "no problem", "fair enough", "ta", "selfie", "cheers"})
    EXPECT_NE(find(entries, phrase), nullptr) << phrase;
}

TEST(HeardPhrases, ABadLineOfTheTableIsNamed) {
  auto error = [](std::string_view text) {
    std::vector<DictEntry> out;
    std::string why;
    return readHeardPhrases(text, out, why) ? std::to_string(out.size()) : why;
  };
  EXPECT_EQ(error("# comment\n\nta\tint. thank you\t谢谢\tˈtɑː\n"), "1");
  EXPECT_EQ(error("ta\tint. thank you\t谢谢\n"),
            "line 1: expected 4 fields separated by tabs, found 3");
  EXPECT_EQ(error("\nta\tthank you\t谢谢\tˈtɑː\n"),
            "line 2: a phrase and its gloss, opening with its part of speech, are needed");
  EXPECT_EQ(error("ta\tint. thank you\tthanks\tˈtɑː\n"),
            "line 1: Chinese of ta: a word without Chinese characters");
  EXPECT_EQ(error("ta\tint. thank you\t谢谢\tTA\n"), "line 1: unreadable reading of ta");
}

TEST(HeardPhrases, AWordAlreadyInOpensWithWhatALearnerHearsItSay) {
  std::vector<DictEntry> entries = {
      entry("cheers", {"欢声", "plural of cheer"}),
      entry("take care", {"v. be careful"}),
      entry("ta", {"a given name; 塔"}),
  };
  const size_t before = entries.size();
  addHeardPhrases(entries);
  EXPECT_EQ(find(entries, "cheers") - entries.data(), 0);
  // Chinese equivalents of the plural give way; the form's own line stays below.
  EXPECT_EQ(entries[0].explainLines,
            (std::vector<std::string>{
                "干杯；谢谢；再见",
                "int. British, informal: thank you; goodbye; said when drinking together",
                "plural of cheer"}));
  EXPECT_EQ(entries[0].transcription, "ˈtʃiəz");
  EXPECT_EQ(entries[1].explainLines.size(), 3u);
  EXPECT_EQ(entries[1].explainLines.back(), "v. be careful");
  // A line that explains the word in English is kept, though it holds Chinese.
  EXPECT_EQ(entries[2].explainLines.back(), "a given name; 塔");
  EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                          [](const DictEntry& e) { return e.caption == "cheers"; }),
            1);
  EXPECT_GT(entries.size(), before);
}
