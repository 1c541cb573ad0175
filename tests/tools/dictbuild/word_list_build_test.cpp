#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "dict_store.h"
#include "dictionary_builder.h"
#include "tests/engine/test_dictionary.h"
#include "verify.h"

using namespace quorvi::dictbuild;

namespace {

// Whole builds from a WordNet folder in miniature (cat, sheep and the verb go), with and
// without the British word lists.
class WordListBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    wordnet_ = folder_.path() / "wordnet";
    std::filesystem::create_directories(wordnet_);
    write("index.noun", "cat n 1 0 1 1 00000100  \nsheep n 1 0 1 1 00000200  \n");
    write("data.noun",
          "00000100 05 n 01 cat 0 000 | feline mammal  \n"
          "00000200 05 n 01 sheep 0 000 | woolly animal  \n");
    write("index.verb", "go v 1 0 1 1 00000300  \n");
    write("data.verb", "00000300 38 v 01 go 0 000 | change location  \n");
    for (const char* f :
         {"index.adj", "data.adj", "index.adv", "data.adv", "noun.exc", "adj.exc", "adv.exc"})
      write(f, "");
    write("verb.exc", "went go\ngone go\n");
    write("cntlist.rev", "cat%1:05:00:: 1 9\nsheep%1:05:00:: 1 4\ngo%2:38:00:: 1 50\n");
    options_.runtimeDir = (folder_.path() / "runtime").string();
    options_.wordnetDir = wordnet_.string();
    options_.useNpmSources = false;  // the word lists alone decide here
  }
  void write(const std::string& name, const std::string& text) {
    quorvi::testing::writeFile(wordnet_ / name, text);
  }
  std::map<std::string, std::string> rows() {
    std::string error;
    sqlite3* db = openKeyedDatabase(options_.databasePath(), false, error);
    EXPECT_NE(db, nullptr) << error;
    std::map<std::string, std::string> out;
    sqlite3_stmt* st = nullptr;
    if (db && sqlite3_prepare_v2(db, "SELECT w_caption, w_explain FROM dict_word", -1, &st,
                                 nullptr) == SQLITE_OK)
      while (sqlite3_step(st) == SQLITE_ROW)
        out[reinterpret_cast<const char*>(sqlite3_column_text(st, 0))] =
            reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
  }
  quorvi::testing::TemporaryFolder folder_;
  std::filesystem::path wordnet_;
  BuildOptions options_;
  std::ostringstream log_;
};

}  // namespace

TEST_F(WordListBuild, WithoutTheListsTheBuildSaysWhatIsMissingAndGoesOn) {
  options_.wordLists = {(folder_.path() / "no-words").string(),
                        (folder_.path() / "no.dic").string()};
  BuildSummary s = buildDictionary(options_, log_);
  ASSERT_TRUE(s.ok) << log_.str();
  EXPECT_NE(log_.str().find("no-words (Debian package wbritish-large)"), std::string::npos)
      << log_.str();
  EXPECT_NE(log_.str().find("no British word list could be read"), std::string::npos);
  const auto r = rows();
  EXPECT_EQ(r.count("sheeps"), 1u);  // the rules' forms, unchecked, as before the lists
  EXPECT_EQ(r.at("went"), "past tense of go");
  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
}

TEST_F(WordListBuild, WithAListOnlyItsFormsAreWrittenAndANewListRebuilds) {
  options_.wordLists = {folder_.write("words", "cats\ngoes\ngoing\n"), ""};
  ASSERT_TRUE(buildDictionary(options_, log_).ok) << log_.str();
  auto r = rows();
  EXPECT_EQ(r.count("sheeps"), 0u);
  EXPECT_EQ(r.at("cats"), "plural of cat");
  EXPECT_EQ(r.at("gone"), "past participle of go");
  const std::string log = log_.str();
  ASSERT_NE(log.find("made-up ones left out ("), std::string::npos) << log;
  EXPECT_NE(log.find("sheeps", log.find("made-up ones left out (")), std::string::npos) << log;

  // The word list is an input of the build: a changed list is no reason to skip.
  folder_.write("words", "cats\ngoes\ngoing\nsheeps\n");
  log_.str("");
  BuildSummary again = buildDictionary(options_, log_);
  ASSERT_TRUE(again.ok) << log_.str();
  EXPECT_FALSE(again.upToDate);
  EXPECT_EQ(rows().count("sheeps"), 1u);
}
