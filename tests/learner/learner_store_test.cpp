#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "learner/data_folder.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/schema.h"
#include "tests/support/temporary_folder.h"

namespace fs = std::filesystem;
using namespace quorvi::learner;

namespace {

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void exec(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
      << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
}

std::vector<std::string> wordsOf(LearnerStore& store) {
  std::string error;
  std::vector<std::string> words;
  for (const SavedWord& saved : savedWords(store, error)) words.push_back(saved.word);
  EXPECT_EQ(error, "");
  return words;
}

std::vector<fs::path> asideFiles(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& item : fs::directory_iterator(folder))
    if (item.path().filename().string().starts_with("learner.db.damaged-"))
      found.push_back(item.path());
  return found;
}

class LearnerStoreTest : public ::testing::Test {
 protected:
  fs::path file() const { return folder_.path() / "quorvi" / "learner.db"; }
  quorvi::testing::TemporaryFolder folder_;
};

TEST_F(LearnerStoreTest, FreshFileIsWalAtTheCurrentSchemaInAPrivateFolder) {
  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  EXPECT_EQ(store.schemaVersion(), kSchemaVersion);
  EXPECT_EQ(store.notice(), "");
  struct stat st {};
  ASSERT_EQ(stat(file().parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  {
    Statement mode(store.connection(), "PRAGMA journal_mode");
    ASSERT_EQ(mode.step(), SQLITE_ROW);
    EXPECT_EQ(mode.text(0), "wal");
  }

  // The store opens its file through the plain file layer, so the system's sqlite3 reads it.
  ASSERT_EQ(addWord(store, "cat"), "");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file().c_str(), &db, SQLITE_OPEN_READONLY, "unix"), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "SELECT * FROM my_words", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

TEST_F(LearnerStoreTest, OlderFileIsMigratedKeepingItsRowsAndNewerOneIsLeftAlone) {
  fs::create_directories(file().parent_path());
  // What the first version wrote.
  exec(file(),
       "CREATE TABLE history (word TEXT PRIMARY KEY NOT NULL, last_opened INTEGER NOT NULL,"
       " opened_count INTEGER NOT NULL DEFAULT 1, sequence INTEGER NOT NULL);"
       "CREATE TABLE my_words (word TEXT PRIMARY KEY NOT NULL, added INTEGER NOT NULL,"
       " sequence INTEGER NOT NULL);"
       "INSERT INTO my_words VALUES('cat', 100, 1), ('dog', 200, 2);"
       "INSERT INTO history VALUES('cat', 300, 4, 1);"
       "PRAGMA user_version=1;");
  {
    LearnerStore store(file());
    ASSERT_TRUE(store.isOpen()) << store.error();
    EXPECT_EQ(store.schemaVersion(), kSchemaVersion);
    std::string error;
    const std::vector<SavedWord> words = savedWords(store, error);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].word, "dog");
    EXPECT_EQ(words[1].word, "cat");
    EXPECT_EQ(words[1].added, 100);
    EXPECT_EQ(words[1].lookups, 4);
    Statement index(store.connection(),
                    "SELECT count(*) FROM sqlite_master WHERE name='history_newest'");
    ASSERT_EQ(index.step(), SQLITE_ROW);
    EXPECT_EQ(index.integer(0), 1);
  }

  // A file from a later version is not touched, nor taken for damage.
  exec(file(), "PRAGMA user_version=99");
  const std::string before = readAll(file());
  LearnerStore newer(file());
  EXPECT_FALSE(newer.isOpen());
  EXPECT_NE(newer.error().find("newer version"), std::string::npos) << newer.error();
  EXPECT_EQ(readAll(file()), before);
  EXPECT_TRUE(asideFiles(file().parent_path()).empty());
}

TEST_F(LearnerStoreTest, DamagedFileIsSetAsideAndAFreshOneWorks) {
  fs::create_directories(file().parent_path());
  // Not a database at all.
  quorvi::testing::writeFile(file(), std::string(4096, 'x'));
  {
    LearnerStore store(file());
    ASSERT_TRUE(store.isOpen()) << store.error();
    EXPECT_NE(store.notice().find("damaged"), std::string::npos);
    const std::vector<fs::path> aside = asideFiles(file().parent_path());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_NE(store.notice().find(aside[0].string()), std::string::npos);
    EXPECT_EQ(store.setAsideFile(), aside[0]);
    EXPECT_EQ(readAll(aside[0]), std::string(4096, 'x'));
    ASSERT_EQ(addWord(store, "cat"), "");
    EXPECT_EQ(wordsOf(store), std::vector<std::string>{"cat"});
  }
  fs::remove(asideFiles(file().parent_path())[0]);

  // A database whose pages are broken: the integrity check finds it.
  {
    LearnerStore store(file());
    std::vector<std::string> many;
    for (int i = 0; i < 2000; ++i) many.push_back("word" + std::to_string(i));
    std::vector<std::string> added;
    ASSERT_EQ(addWords(store, many, added), "");
    ASSERT_EQ(sqlite3_wal_checkpoint_v2(store.connection(), nullptr, SQLITE_CHECKPOINT_TRUNCATE,
                                        nullptr, nullptr),
              SQLITE_OK);
  }
  {
    std::fstream damage(file(), std::ios::in | std::ios::out | std::ios::binary);
    damage.seekp(4096);
    damage << std::string(4096 * 6, '\x7f');
  }
  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  EXPECT_NE(store.notice(), "");
  EXPECT_EQ(asideFiles(file().parent_path()).size(), 1u);
  EXPECT_TRUE(wordsOf(store).empty());
}

TEST_F(LearnerStoreTest, FullDiskIsAClearErrorAndKeepsEveryEarlierWord) {
  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  ASSERT_EQ(addWord(store, "kept"), "");
  // The file may not grow past its present size: the next pages have no room.
  Statement pages(store.connection(), "PRAGMA page_count");
  ASSERT_EQ(pages.step(), SQLITE_ROW);
  const std::string limit = "PRAGMA max_page_count=" + std::to_string(pages.integer(0));
  ASSERT_EQ(sqlite3_exec(store.connection(), limit.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);

  std::vector<std::string> many;
  for (int i = 0; i < 500; ++i) many.push_back(std::string(200, 'a') + std::to_string(i));
  std::vector<std::string> added;
  const std::string error = addWords(store, many, added);
  EXPECT_NE(error.find("the disk is full"), std::string::npos) << error;
  EXPECT_TRUE(added.empty());
  // Nothing of the failed batch, everything from before, and the store goes on.
  EXPECT_EQ(wordsOf(store), std::vector<std::string>{"kept"});
  EXPECT_NE(recordOpened(store, std::string(20000, 'b')), "");
  std::string historyError;
  EXPECT_TRUE(history(store, 0, historyError).empty());
  EXPECT_EQ(historyError, "");
  ASSERT_EQ(removeWord(store, "kept"), "");
  EXPECT_TRUE(wordsOf(store).empty());
}

TEST_F(LearnerStoreTest, HistoryIsNewestFirstWithCountsAndLookupsShowInMyWords) {
  LearnerStore store(file());
  ASSERT_EQ(recordOpened(store, "cat", 1000), "");
  ASSERT_EQ(recordOpened(store, "dog", 1000), "");
  ASSERT_EQ(recordOpened(store, "cat", 1000), "");  // same second: still the newest
  std::string error;
  std::vector<HistoryItem> items = history(store, 0, error);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].word, "cat");
  EXPECT_EQ(items[0].count, 2);
  EXPECT_EQ(items[1].word, "dog");
  EXPECT_EQ(history(store, 1, error).size(), 1u);

  bool added = false;
  ASSERT_EQ(addWord(store, "cat", &added), "");
  EXPECT_TRUE(added);
  ASSERT_EQ(addWord(store, "cat", &added), "");
  EXPECT_FALSE(added);
  EXPECT_TRUE(containsWord(store, "cat"));
  EXPECT_FALSE(containsWord(store, "dog"));
  EXPECT_EQ(savedWords(store, error).at(0).lookups, 2);
  bool removed = true;
  ASSERT_EQ(removeWord(store, "dog", &removed), "");
  EXPECT_FALSE(removed);
  ASSERT_EQ(clearHistory(store), "");
  EXPECT_TRUE(history(store, 0, error).empty());
}

TEST(LearnerDataFolder, FollowsXdgDataHomeOnlyWhenAbsolute) {
  const char* savedXdg = std::getenv("XDG_DATA_HOME");
  const std::string keptXdg = savedXdg ? savedXdg : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", "/data/x", 1);
  EXPECT_EQ(learnerDatabasePath(), fs::path("/data/x/quorvi/learner.db"));
  setenv("XDG_DATA_HOME", "relative/x", 1);
  EXPECT_EQ(learnerDataFolder(), fs::path(home) / ".local/share/quorvi");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(learnerDataFolder(), fs::path(home) / ".local/share/quorvi");
  if (savedXdg) setenv("XDG_DATA_HOME", keptXdg.c_str(), 1);

  // A file where the folder should be is an error, not a crash.
  quorvi::testing::TemporaryFolder folder;
  const std::string blocker = folder.write("quorvi", "not a folder");
  LearnerStore store(fs::path(blocker) / "learner.db");
  EXPECT_FALSE(store.isOpen());
  EXPECT_NE(store.error().find("not a folder"), std::string::npos) << store.error();
  EXPECT_NE(addWord(store, "cat"), "");
}

}  // namespace
