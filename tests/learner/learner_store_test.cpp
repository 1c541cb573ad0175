#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "learner/data_folder.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/schema.h"
#include "tests/support/child_process.h"
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
    if (const std::string name = item.path().filename().string();
        name.starts_with("learner.db.damaged-") && !name.ends_with("-wal") && !name.ends_with("-shm"))
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
  // What the broken pages held is lost; the rest is saved.
  EXPECT_LT(store.salvage().words, 2000);
  EXPECT_EQ(wordsOf(store).size(), static_cast<size_t>(store.salvage().words));
}

// The leaf pages of `table` and how many rows each holds.
std::vector<std::pair<long long, long long>> leafPages(const fs::path& file, const char* table) {
  std::vector<std::pair<long long, long long>> pages;
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, "unix"), SQLITE_OK);
  {
    Statement query(db, "SELECT pageno, ncell FROM dbstat WHERE name=?1 AND pagetype='leaf'"
                        " ORDER BY pageno");
    query.bind(1, std::string(table));
    while (query.step() == SQLITE_ROW) pages.emplace_back(query.integer(0), query.integer(1));
  }
  sqlite3_close(db);
  return pages;
}

void damagePage(const fs::path& file, long long page) {
  std::fstream damage(file, std::ios::in | std::ios::out | std::ios::binary);
  damage.seekp((page - 1) * 4096);
  damage << std::string(4096, '\x7f');
}

// A store of `words` saved words and `opened` history rows, closed (its log folded in).
void fillStore(const fs::path& file, int words, int opened) {
  LearnerStore store(file);
  ASSERT_TRUE(store.isOpen()) << store.error();
  std::vector<std::string> batch, added;
  for (int i = 0; i < words; ++i) batch.push_back(std::string(60, 'w').append(std::to_string(i)));
  ASSERT_EQ(addWords(store, batch, added), "");
  for (int i = 0; i < opened; ++i)
    ASSERT_EQ(recordOpened(store, std::string(60, 's').append(std::to_string(i)), 1000 + i), "");
}

TEST_F(LearnerStoreTest, DamagedStoreKeepsTheOriginalAndSavesEveryRowStillReadable) {
  fillStore(file(), 120, 300);
  const auto historyPages = leafPages(file(), "history");
  const auto wordPages = leafPages(file(), "my_words");
  ASSERT_GT(historyPages.size(), 3u);
  ASSERT_GT(wordPages.size(), 1u);
  // One page of history rows and one of words gone; the indexes still name their rows.
  const auto [historyPage, historyLost] = historyPages[historyPages.size() / 2];
  damagePage(file(), historyPage);
  damagePage(file(), wordPages[0].first);
  const std::string original = readAll(file());

  LearnerStore store(file());
  ASSERT_TRUE(store.isOpen()) << store.error();
  ASSERT_EQ(asideFiles(file().parent_path()).size(), 1u);
  EXPECT_EQ(readAll(store.setAsideFile()), original);
  // Saved words keep the word even where their row is gone.
  EXPECT_EQ(store.salvage().words, 120);
  EXPECT_EQ(store.salvage().history, 300 - historyLost);
  EXPECT_EQ(store.salvage().lost, historyLost);
  EXPECT_EQ(wordsOf(store).size(), 120u);
  std::string error;
  EXPECT_EQ(history(store, 0, error).size(), static_cast<size_t>(300 - historyLost));
  EXPECT_NE(store.notice().find(std::to_string(historyLost) + " rows could not be read"),
            std::string::npos)
      << store.notice();
  struct stat st {};
  ASSERT_EQ(stat(file().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Damage found again within the same second gets a name of its own.
  damagePage(file(), 2);
  LearnerStore again(file());
  EXPECT_TRUE(again.isOpen()) << again.error();
  EXPECT_EQ(asideFiles(file().parent_path()).size(), 2u);
  EXPECT_EQ(readAll(store.setAsideFile()), original);
}

// Several programs find the same damaged file at once: one sets it aside and saves its rows,
// the others wait and use the fresh file, and no acknowledged word is lost.
TEST_F(LearnerStoreTest, ProgramsOpeningADamagedStoreAtOnceLoseNothing) {
  fillStore(file(), 40, 0);
  damagePage(file(), leafPages(file(), "my_words").back().first);
  const std::string original = readAll(file());
  constexpr int kWriters = 4;
  std::vector<quorvi::testing::ChildRun> runs(kWriters);
  std::vector<std::thread> threads;
  for (int i = 0; i < kWriters; ++i)
    threads.emplace_back([&, i] {
      std::string prefix = std::to_string(i);
      prefix.insert(0, 1, 'p').push_back('-');
      runs[i] = quorvi::testing::runChild(QUORVI_LEARNER_WRITER, {file().string(), prefix, "15"},
                                          folder_.path());
    });
  LearnerStore mine(file());
  for (std::thread& thread : threads) thread.join();
  ASSERT_TRUE(mine.isOpen()) << mine.error();

  std::vector<fs::path> aside = asideFiles(file().parent_path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(readAll(aside[0]), original);
  int salvaged = mine.setAsideFile().empty() ? 0 : 1;
  std::set<std::string> acknowledged;
  for (const quorvi::testing::ChildRun& run : runs) {
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("salvaged ")) {
        ++salvaged;
        EXPECT_EQ(line, "salvaged 40 0 1 0");  // every word, and the drill's question count
      } else {
        acknowledged.insert(line);
      }
    }
  }
  EXPECT_EQ(salvaged, 1);
  EXPECT_EQ(acknowledged.size(), 60u);
  LearnerStore after(file());
  std::vector<std::string> words = wordsOf(after);
  const std::set<std::string> saved(words.begin(), words.end());
  for (const std::string& word : acknowledged) EXPECT_TRUE(saved.contains(word)) << word;
  EXPECT_EQ(saved.size(), 100u);
}

// A lock held by another program is no damage: the file stays where it is.
TEST_F(LearnerStoreTest, ABusyStoreIsNeverSetAside) {
  fillStore(file(), 3, 0);
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file().c_str(), &holder, SQLITE_OPEN_READWRITE, "unix"), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  LearnerStore store(file(), 100);
  EXPECT_FALSE(store.isOpen());
  EXPECT_EQ(store.problem(), FileProblem::kBusy) << store.error();
  EXPECT_TRUE(asideFiles(file().parent_path()).empty());
  sqlite3_close(holder);
  LearnerStore later(file());
  EXPECT_EQ(wordsOf(later).size(), 3u);
}

// Whatever modes the learner's files had, they become the learner's alone.
TEST_F(LearnerStoreTest, AnExistingStoreAndItsFolderBecomePrivate) {
  fillStore(file(), 1, 0);
  ASSERT_EQ(chmod(file().parent_path().c_str(), 0755), 0);
  ASSERT_EQ(chmod(file().c_str(), 0644), 0);
  LearnerStore store(file());
  ASSERT_EQ(addWord(store, "cat"), "");
  for (const fs::path& path : {file(), fs::path(file().string() + "-wal"),
                               fs::path(file().string() + "-shm")}) {
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0) << path;
    EXPECT_EQ(st.st_mode & 0777, 0600u) << path;
  }
  struct stat folder {};
  ASSERT_EQ(stat(file().parent_path().c_str(), &folder), 0);
  EXPECT_EQ(folder.st_mode & 0777, 0700u);
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
