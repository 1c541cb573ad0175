// The listening drill's data: the boxes, the order words are asked in, the confusions an answer
// records, the migration of an older file, and the word lists read from a dictionary.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
#include <vector>

#include "engine/phonetic_dictionary.h"
#include "learner/drill.h"
#include "learner/drill_sources.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/schema.h"
#include "tests/engine/test_dictionary.h"
#include "tests/support/temporary_folder.h"

namespace fs = std::filesystem;
using namespace quorvi::learner;

namespace {

class DrillTest : public ::testing::Test {
 protected:
  fs::path file() const { return folder_.path() / "quorvi" / "learner.db"; }
  quorvi::testing::TemporaryFolder folder_;
};

std::string next(LearnerStore& store, const std::vector<std::string>& source, std::mt19937& random,
                 const std::string& previous = {}) {
  std::string error;
  std::string word = nextDrillWord(store, source, random, previous, error);
  EXPECT_EQ(error, "");
  return word;
}

}  // namespace

TEST_F(DrillTest, RightMovesAWordUpABoxWrongSendsItBackAndBothCount) {
  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  DrillScore score;
  for (int i = 0; i < 6; ++i)
    ASSERT_EQ(recordAnswer(store, "think", true, {}, 1000 + i, &score), "");
  // Up one box an answer, never past the last.
  EXPECT_EQ(score.box, kDrillBoxes);
  EXPECT_EQ(score.right, 6);
  EXPECT_EQ(score.dueAfter, 6 + questionsUntilDue(kDrillBoxes));
  ASSERT_EQ(recordAnswer(store, "think", false, {}, 2000, &score), "");
  EXPECT_EQ(score.box, 1);
  EXPECT_EQ(score.wrong, 1);
  EXPECT_EQ(score.asked(), 7);
  EXPECT_EQ(score.dueAfter, 7 + questionsUntilDue(1));

  // What was written is what is read back, also after the file is opened again.
  ASSERT_EQ(recordAnswer(store, "sink", true, {}, 3000), "");
  LearnerStore again(file());
  const std::optional<DrillScore> think = drillScore(again, "think");
  ASSERT_TRUE(think);
  EXPECT_EQ(think->box, 1);
  EXPECT_EQ(think->right, 6);
  EXPECT_EQ(think->lastAsked, 2000);
  EXPECT_EQ(drillScore(again, "sink")->box, 2);
  EXPECT_EQ(questionsAsked(again), 8);
  EXPECT_FALSE(drillScore(again, "never"));
  EXPECT_NE(recordAnswer(again, "", true, {}), "");
  EXPECT_EQ(questionsAsked(again), 8);
}

TEST_F(DrillTest, TheMostOverdueWordComesFirstAndAWrongOneComesBackSooner) {
  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  const std::vector<std::string> source = {"a", "b", "c", "d", "e", "f"};

  // New words are drawn from the seed: the same seed, the same words.
  std::mt19937 first(7), second(7);
  const std::string drawn = next(store, source, first);
  EXPECT_EQ(next(store, source, second), drawn);
  EXPECT_NE(std::find(source.begin(), source.end(), drawn), source.end());

  // "a" answered right, "b" wrong: "b" is due first, after a couple of other questions, and
  // "a" only later.
  ASSERT_EQ(recordAnswer(store, "a", true, {}), "");
  ASSERT_EQ(recordAnswer(store, "b", false, {}), "");
  std::mt19937 random(1);
  std::vector<std::string> asked;
  std::string previous = "b";
  for (int i = 0; i < 8; ++i) {
    previous = next(store, source, random, previous);
    asked.push_back(previous);
    ASSERT_EQ(recordAnswer(store, previous, true, {}), "");
  }
  const auto at = [&](const std::string& word) {
    return std::find(asked.begin(), asked.end(), word) - asked.begin();
  };
  ASSERT_LT(at("b"), 8);
  EXPECT_LE(at("b"), 2);
  EXPECT_LT(at("b"), at("a"));
  // Never the same word twice in a row.
  for (size_t i = 1; i < asked.size(); ++i) EXPECT_NE(asked[i], asked[i - 1]) << i;

  // Every word drilled, none due: the one due soonest; a one-word source asks its word again.
  std::mt19937 other(3);
  EXPECT_FALSE(next(store, source, other).empty());
  EXPECT_EQ(next(store, {"a"}, other, "a"), "a");
  EXPECT_EQ(next(store, {}, other), "");
}

TEST_F(DrillTest, AnAnswerCountsTheSoundsHeardAsOthers) {
  // "siŋk" typed for [ˈθiŋk]: θ heard as s, the rest the same.
  const std::vector<sound::AlignedSound> steps =
      alignHeard(QStringLiteral("siŋk"), QStringLiteral("ˈθiŋk"));
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].kind, sound::AlignedSound::Kind::HeardAs);
  const std::vector<Confusion> heard = confusionsOf(steps);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].stored, "θ");
  EXPECT_EQ(heard[0].heard, "s");
  // Unreadable typing is no alignment.
  // A syllabic consonant with or without ə is one sound: nothing marked, either way round.
  using Kind = sound::AlignedSound::Kind;
  for (const auto& [typed, stored] : {std::pair{"ˈæpl", "ˈæpəl"}, std::pair{"ˈæpəl", "ˈæpl"},
                                      std::pair{"ˈbʌtn", "ˈbʌtən"}, std::pair{"ˈlisənz", "ˈlisnz"}})
    for (const sound::AlignedSound& step : alignHeard(QString::fromUtf8(typed), QString::fromUtf8(stored)))
      EXPECT_EQ(step.kind, Kind::Same) << typed << " / " << stored << ": " << step.stored;
  // An ə between vowels, or before another sound, is still a sound of its own.
  bool marked = false;
  for (const sound::AlignedSound& step : alignHeard(QStringLiteral("ˈsofə"), QStringLiteral("ˈsof")))
    marked |= step.kind != Kind::Same;
  EXPECT_TRUE(marked);
  EXPECT_TRUE(alignHeard(QStringLiteral("#"), QStringLiteral("ˈθiŋk")).empty());
  // Another word heard altogether is no confusion of its sounds.
  EXPECT_TRUE(confusionsOf(alignHeard(QStringLiteral("θiŋk"), QStringLiteral("ˈmilkiŋ"))).empty());

  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  ASSERT_EQ(recordAnswer(store, "think", false, heard), "");
  ASSERT_EQ(recordAnswer(store, "thin", false, confusionsOf(alignHeard("sin", "θin"))), "");
  ASSERT_EQ(recordAnswer(store, "very", false, confusionsOf(alignHeard("wɛri", "ˈveri"))), "");
  // A pair that is no confusion is not counted.
  ASSERT_EQ(recordAnswer(store, "cat", true, {{"k", "k", 1}, {"", "s", 1}}), "");
  std::string error;
  const std::vector<Confusion> common = commonConfusions(store, 5, error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(common.size(), 2u);
  EXPECT_EQ(common[0].stored, "θ");
  EXPECT_EQ(common[0].heard, "s");
  EXPECT_EQ(common[0].count, 2);
  EXPECT_EQ(common[1].stored, "v");
  EXPECT_EQ(common[1].heard, "w");
  EXPECT_EQ(commonConfusions(store, 1, error).size(), 1u);
}

TEST_F(DrillTest, AFileOfThePreviousVersionKeepsEveryWordAndHistoryRow) {
  fs::create_directories(file().parent_path());
  {
    // What the previous version wrote: its schema, at its version.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db,
                     "PRAGMA journal_mode=WAL;"
                     "CREATE TABLE history (word TEXT PRIMARY KEY NOT NULL, last_opened INTEGER"
                     " NOT NULL, opened_count INTEGER NOT NULL DEFAULT 1, sequence INTEGER NOT"
                     " NULL);"
                     "CREATE TABLE my_words (word TEXT PRIMARY KEY NOT NULL, added INTEGER NOT"
                     " NULL, sequence INTEGER NOT NULL);"
                     "CREATE INDEX history_newest ON history(sequence);"
                     "CREATE INDEX my_words_newest ON my_words(sequence);"
                     "INSERT INTO my_words VALUES('think', 100, 1), ('sink', 200, 2);"
                     "INSERT INTO history VALUES('think', 300, 4, 1), ('cat', 400, 1, 2);"
                     "PRAGMA user_version=2;",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
  }
  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  EXPECT_EQ(store.schemaVersion(), kSchemaVersion);
  std::string error;
  const std::vector<SavedWord> words = savedWords(store, error);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].word, "sink");
  EXPECT_EQ(words[1].word, "think");
  EXPECT_EQ(words[1].lookups, 4);
  const std::vector<HistoryItem> items = history(store, 0, error);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].word, "cat");
  EXPECT_EQ(items[1].lastOpened, 300);
  // The drill's tables are there and work.
  EXPECT_EQ(questionsAsked(store), 0);
  ASSERT_EQ(recordAnswer(store, "think", true, {}), "");
  EXPECT_EQ(drillScore(store, "think")->box, 2);
}

TEST(DrillSources, LevelsAndTheMostHeardWordsAreReadInTheTablesOrder) {
  quorvi::testing::TemporaryFolder folder;
  const std::vector<quorvi::testing::DictionaryRow> rows = {
      {"the", "&#240;&#601;", "art. 这<br/>中考 高考 四级 · 牛津3000"},
      {"Monday", "&#712;m&#652;ndei", "n. 星期一<br/>中考 四级"},
      {"think", "&#712;&#952;i&#331;k", "v. 想<br/>中考 高考 四级 六级 · 柯林斯★★★★★"},
      {"New York", "nju&#720; j&#596;&#720;k", "n. 纽约"},
      {"think", "&#712;&#952;i&#331;k", "n. 想法<br/>四级"},
      // "四级" only in a sense, not on a levels line.
      {"cet", "set", "n. 考试<br/>中考<br/>the 四级 exam"},
      {"ephemeral", "i&#712;fem&#601;r&#601;l", "adj. 短暂的<br/>GRE"},
  };
  ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(folder.path(), rows), "");
  quorvi::testing::WorkingDirectory cwd(folder.path());
  PhoneticDictionary dictionary;
  ASSERT_TRUE(dictionary.isOpen());
  std::string error;
  EXPECT_EQ(levelWords(dictionary.connection(), "CET4", nullptr, error),
            (std::vector<std::string>{"the", "Monday", "think"}));
  EXPECT_EQ(error, "");
  EXPECT_EQ(levelWords(dictionary.connection(), "GRE", nullptr, error),
            std::vector<std::string>{"ephemeral"});
  EXPECT_EQ(mostHeardWords(dictionary.connection(), 3, nullptr, error),
            (std::vector<std::string>{"the", "think", "cet"}));
  EXPECT_TRUE(levelWords(dictionary.connection(), "Klingon", nullptr, error).empty());
  EXPECT_NE(error, "");
  const std::atomic<bool> stop = true;
  EXPECT_TRUE(levelWords(dictionary.connection(), "CET4", &stop, error).empty());
  EXPECT_TRUE(mostHeardWords(nullptr, 3, nullptr, error).empty());
  EXPECT_NE(error, "");
}
