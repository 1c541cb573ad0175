// quorvi-dict history and words, run as the learner runs them, with the learner's data in a
// scratch folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/test_dictionary.h"
#include "tests/support/child_process.h"

namespace fs = std::filesystem;

namespace {

class LearnerCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(folder_.path(), quorvi::testing::sampleRows()),
              "");
    setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_DATA_HOME"); }

  quorvi::testing::ChildRun run(const std::vector<std::string>& args) {
    std::vector<std::string> line{"--dir", folder_.path().string()};
    line.insert(line.end(), args.begin(), args.end());
    return quorvi::testing::runChild(QUORVI_DICT_TOOL, line, folder_.path());
  }

  // The first field of each line of `words list` (or `history`).
  std::vector<std::string> firstFields(const std::vector<std::string>& args) {
    const quorvi::testing::ChildRun r = run(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> fields;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
      fields.push_back(line.substr(0, line.find('\t')));
    return fields;
  }

  quorvi::testing::TemporaryFolder folder_;
  quorvi::testing::TemporaryFolder data_;
};

using Words = std::vector<std::string>;

TEST_F(LearnerCommands, AddRemoveListAndExitCodes) {
  EXPECT_EQ(run({"words", "add", "cat"}).out, "added cat\n");
  EXPECT_EQ(run({"words", "add", "cat"}).out, "cat is already in my words\n");
  // The dictionary's spelling of a word typed in another case.
  EXPECT_EQ(run({"words", "add", "CHURCH"}).out, "added church\n");
  const quorvi::testing::ChildRun unknown = run({"words", "add", "zebra"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("zebra"), std::string::npos);
  EXPECT_EQ(firstFields({"words"}), (Words{"church", "cat"}));
  EXPECT_EQ(firstFields({"words", "list"}), (Words{"church", "cat"}));
  EXPECT_EQ(run({"words", "remove", "cat"}).out, "removed cat\n");
  EXPECT_EQ(run({"words", "remove", "cat"}).exitCode, 0);
  EXPECT_EQ(firstFields({"words"}), (Words{"church"}));
  EXPECT_TRUE(fs::exists(data_.path() / "quorvi" / "learner.db"));

  EXPECT_EQ(run({"words", "add"}).exitCode, 2);
  EXPECT_EQ(run({"words", "shuffle"}).exitCode, 2);
  EXPECT_EQ(run({"words", "export"}).exitCode, 2);
  EXPECT_EQ(run({"history", "--limit", "0"}).exitCode, 2);
  EXPECT_EQ(run({"history", "extra"}).exitCode, 2);
  EXPECT_EQ(firstFields({"history"}), Words{});

  // Data that cannot be written: a clear error and its own exit code.
  setenv("XDG_DATA_HOME", (folder_.path() / "dict" / "words.db").c_str(), 1);
  const quorvi::testing::ChildRun blocked = run({"words", "list"});
  EXPECT_EQ(blocked.exitCode, 6);
  EXPECT_NE(blocked.err.find("not a folder"), std::string::npos) << blocked.err;
}

TEST_F(LearnerCommands, ExportImportRoundTripAndPlainLists) {
  for (const char* word : {"cat", "London", "example"})
    ASSERT_EQ(run({"words", "add", word}).exitCode, 0);
  const fs::path anki = folder_.path() / "words.txt";
  const quorvi::testing::ChildRun exported = run({"words", "export", "words.txt"});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  std::ifstream in(anki);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("cat [k\xC3\xA6t]\tn. a small furry animal\t\n"), std::string::npos)
      << text.str();
  ASSERT_EQ(run({"words", "export", "words.csv", "--csv"}).exitCode, 0);

  // Into fresh data: the same words, and a second import adds none.
  quorvi::testing::TemporaryFolder other;
  setenv("XDG_DATA_HOME", other.path().c_str(), 1);
  EXPECT_EQ(run({"words", "import", "words.txt"}).out,
            "added 3, already in my words 0, not in the dictionary 0\n");
  EXPECT_EQ(run({"words", "import", "words.csv"}).out,
            "added 0, already in my words 3, not in the dictionary 0\n");
  quorvi::testing::writeFile(folder_.path() / "plain.txt",
                             "\xEF\xBB\xBF"
                             "about\r\n\r\nthought\r\nzebra\r\nabout\r\n");
  EXPECT_EQ(run({"words", "import", "plain.txt"}).out,
            "added 2, already in my words 1, not in the dictionary 1\n"
            "not in the dictionary: zebra\n");
  EXPECT_EQ(run({"words", "import", "absent.txt"}).exitCode, 1);
  quorvi::testing::writeFile(folder_.path() / "open.csv", "word,transcription\n\"cat\n");
  EXPECT_EQ(run({"words", "import", "open.csv"}).exitCode, 1);
  EXPECT_EQ(firstFields({"words"}).size(), 5u);
}

}  // namespace
