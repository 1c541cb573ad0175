// The hand-written place table: how it is read, and what it does to the entries.
#include <gtest/gtest.h>

#include "place_names.h"

using namespace quorvi::dictbuild;

TEST(PlaceNames, TheShippedTableIsReadWhole) {
  const PlaceTable& table = placeNames();
  EXPECT_GE(table.size(), 200u);
  ASSERT_TRUE(table.count("London"));
  EXPECT_EQ(table.at("London").chinese, "伦敦");
  EXPECT_EQ(table.at("London").reading, "");
  EXPECT_EQ(table.at("Reading").reading, "ˈrediŋ");
  EXPECT_EQ(table.at("Australia").chinese, "澳大利亚");
}

TEST(PlaceNames, ABadLineIsNamedNotPassedOver) {
  auto error = [](std::string_view text) {
    PlaceTable t;
    std::string why;
    return readPlaceTable(text, t, why) ? std::string("read") : why;
  };
  EXPECT_EQ(error("# comment\n\nLondon\t伦敦\t\t\nReading\t雷丁\tˈrediŋ\t\n"), "read");
  EXPECT_EQ(error("London\t伦敦\n"), "line 1: expected 4 fields separated by tabs, found 2");
  EXPECT_EQ(error("\nLondon\tLondon\t\t\n"), "line 2: a name and its Chinese are needed");
  EXPECT_EQ(error("\t伦敦\t\t\n"), "line 1: a name and its Chinese are needed");
  EXPECT_EQ(error("Reading\t雷丁\tREDING\t\n"), "line 1: unreadable reading REDING");
  EXPECT_EQ(error("London\t伦敦\t\t\nLondon\t伦敦\t\t\n"), "line 2: London is listed twice");
}

TEST(PlaceNames, APlaceOpensWithItsOwnChineseName) {
  PlaceTable table;
  std::string error;
  ASSERT_TRUE(readPlaceTable(
      "London\t伦敦\t\t\nReading\t雷丁\tˈrediŋ\t\nAmerica\t美洲；美国\t\t\nBanbury\t班伯里\t\t\n"
      "Norwich\t诺里奇\tˈnɔridʒ\ta city in Norfolk\nSuffolk\t萨福克\tˈsʌfək\t\n",
      table, error));
  std::vector<DictEntry> entries;
  auto add = [&](const char* caption, std::vector<std::string> lines) {
    DictEntry e;
    e.caption = caption;
    e.explainLines = std::move(lines);
    entries.push_back(std::move(e));
  };
  add("London", {"伦敦大学学院", "n. the capital of England"});
  add("Reading", {"n. a city on the River Thames"});
  add("America", {"n. North and South America"});
  add("Banbury", {"a town in Oxfordshire, England; 班伯里"});
  add("london", {"n. not a place"});
  EXPECT_EQ(applyPlaceNames(entries, table, false), 4u);
  EXPECT_EQ(entries.size(), 5u);
  // Chinese equivalents that named an institution in the place give way to its name.
  EXPECT_EQ(entries[0].explainLines,
            (std::vector<std::string>{"伦敦", "n. the capital of England"}));
  EXPECT_EQ(entries[0].transcription, "");
  // A place without Chinese gets it, and its British reading.
  EXPECT_EQ(entries[1].explainLines,
            (std::vector<std::string>{"雷丁", "n. a city on the River Thames"}));
  EXPECT_EQ(entries[1].transcription, "ˈrediŋ");
  EXPECT_EQ(entries[2].explainLines.front(), "美洲；美国");
  // A line that explains the place in English stays below the Chinese name.
  EXPECT_EQ(entries[3].explainLines,
            (std::vector<std::string>{"班伯里", "a town in Oxfordshire, England; 班伯里"}));
  EXPECT_EQ(entries[4].explainLines, std::vector<std::string>{"n. not a place"});
}

TEST(PlaceNames, APlaceNoSourceHasIsAddedWhenTheTableSaysWhatItIs) {
  PlaceTable table;
  std::string error;
  ASSERT_TRUE(
      readPlaceTable("Norwich\t诺里奇\tˈnɔridʒ\ta city in Norfolk\n"
                     "Suffolk\t萨福克\tˈsʌfək\t\nLondon\t伦敦\t\tthe capital\n",
                     table, error))
      << error;
  std::vector<DictEntry> entries(1);
  entries[0].caption = "London";
  entries[0].explainLines = {"n. the capital of England"};
  EXPECT_EQ(applyPlaceNames(entries, table, true), 2u);
  ASSERT_EQ(entries.size(), 2u);  // Suffolk has no description: nothing to say about it
  EXPECT_EQ(entries[1].caption, "Norwich");
  EXPECT_EQ(entries[1].explainLines, (std::vector<std::string>{"诺里奇", "a city in Norfolk"}));
  EXPECT_EQ(entries[1].transcription, "ˈnɔridʒ");
  EXPECT_EQ(entries[0].explainLines,
            (std::vector<std::string>{"伦敦", "n. the capital of England"}));
}

// A common noun spelled like a place loses the place's Chinese name its sources gave it, and
// keeps every other word; a line left empty goes; the place itself, and a word no place spells,
// keep theirs.
TEST(PlaceNames, ACommonNounSpelledLikeAPlaceLosesThePlacesChineseName) {
  PlaceTable table;
  table["Turkey"] = {"土耳其", "", ""};
  table["Guinea"] = {"几内亚", "", ""};
  std::vector<DictEntry> entries(5);
  entries[0].caption = "turkey";
  entries[0].explainLines = {"n. 火鸡；无用的家伙；土耳其", "n. large gallinaceous bird"};
  entries[1].caption = "guinea";
  entries[1].explainLines = {"n. 几内亚", "n. a former British gold coin"};
  entries[2].caption = "Turkey";
  entries[2].explainLines = {"土耳其"};
  entries[3].caption = "china";
  entries[3].explainLines = {"瓷；土耳其"};
  entries[4].caption = "guineas";
  entries[4].explainLines = {"plural of guinea / guinea的复数", "n. 几内亚"};
  EXPECT_EQ(dropPlaceNamesFromCommonNouns(entries, table), 3u);
  EXPECT_EQ(entries[4].explainLines, std::vector<std::string>{"plural of guinea / guinea的复数"});
  EXPECT_EQ(entries[0].explainLines,
            (std::vector<std::string>{"n. 火鸡；无用的家伙", "n. large gallinaceous bird"}));
  EXPECT_EQ(entries[1].explainLines, std::vector<std::string>{"n. a former British gold coin"});
  EXPECT_EQ(entries[2].explainLines, std::vector<std::string>{"土耳其"});
  EXPECT_EQ(entries[3].explainLines, std::vector<std::string>{"瓷；土耳其"});
}
