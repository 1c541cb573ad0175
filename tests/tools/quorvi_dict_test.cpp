#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/test_dictionary.h"
#include "tests/support/child_process.h"

namespace fs = std::filesystem;

namespace {

class QuorviDict : public ::testing::Test {
 protected:
  void SetUp() override {
    auto rows = quorvi::testing::sampleRows();
    rows.push_back({"aa", "a", "x"});
    rows.push_back({"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "a", "x"});
    rows.push_back({"aaa", "a", "x"});
    rows.push_back({"dot", "d&#596;t", "n. a small round mark", "\u02C8d\u0251\u02D0t"});
    ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(folder_.path(), rows), "");
  }

  // Runs the tool with --dir set to the runtime folder unless `dir` says otherwise.
  quorvi::testing::ChildRun run(const std::vector<std::string>& args,
                                const fs::path* dir = nullptr) {
    std::vector<std::string> line;
    if (dir == nullptr) dir = &folder_.path();
    if (!dir->empty()) line.insert(line.end(), {"--dir", dir->string()});
    line.insert(line.end(), args.begin(), args.end());
    return quorvi::testing::runChild(QUORVI_DICT_TOOL, line, folder_.path());
  }

  // Runs the tool, which must succeed and print `out`.
  void expectListed(const std::vector<std::string>& args, const std::string& out) {
    const quorvi::testing::ChildRun r = run(args);
    EXPECT_EQ(r.exitCode, 0) << args.back() << ": " << r.err;
    EXPECT_EQ(r.out, out) << args.back();
  }

  quorvi::testing::TemporaryFolder folder_;
};

TEST_F(QuorviDict, LooksWordsUpLikeTheWindow) {
  expectListed({"search", "igz\xC9\x91:mpl"}, "example\nexampling\n");

  expectListed({"search", "--all", "k\xC3\xA6t"}, "cat\n");

  expectListed({"search", "--spelling", "LONDON"}, "London\n");

  expectListed({"entry", "caf\xC3\xA9"},
               "caf\xC3\xA9\n[\xCB\x88k\xC3\xA6"
               "fei]\nn. a small restaurant\n");

  // The American transcription on a line of its own after the row's lines.
  expectListed({"entry", "dot"},
               "dot\n[d\u0254t]\nn. a small round mark\nUS [\u02C8d\u0251\u02D0t]\n");
  // Another letter case when no headword has the typed one.
  expectListed({"entry", "london"}, run({"entry", "London"}).out);
  EXPECT_NE(run({"entry", "london"}).out, "");
  quorvi::testing::ChildRun none = run({"entry", "xylophone"});
  EXPECT_EQ(none.exitCode, 7);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("no entry for \"xylophone\""), std::string::npos) << none.err;

  expectListed({"pattern", "t\xCA\x83t\xCA\x83"}, "t&#643;.*t.*&#643;.*\n");

  // No row near: the nearest ones, each marked as a near sound.
  const quorvi::testing::ChildRun far = run({"search", "\xCE\xB8\xCE\xB8\xCE\xB8"});
  EXPECT_EQ(far.exitCode, 0);
  EXPECT_TRUE(far.out.starts_with("~ ")) << far.out;
  EXPECT_EQ(far.out.find("\n") + 1, far.out.find("~ ", 1)) << far.out;
}

TEST_F(QuorviDict, SearchPrintsTheWindowsListAndExactTheStatementsRows) {
  // Closest first; --exact keeps the table's order.
  expectListed({"search", "\xC9\x99"}, "about\nchurch\nLondon\n");
  expectListed({"search", "--exact", "\xC9\x99"}, "London\nabout\nchurch\n");

  // A row that took a slip is marked "~ ": "sɔːt" is thought with s for θ.
  expectListed({"search", "s\xC9\x94\xCB\x90t"}, "~ thought\n");

  // Input as learners write it; --exact reads only what the plain search reads.
  expectListed({"search", "[\xCB\x88k\xC3\xA6t] "}, "cat\n");
  EXPECT_EQ(run({"search", "--exact", "[k\xC3\xA6t]"}).exitCode, 1);

  // Spelling: the word itself first.
  expectListed({"search", "--spelling", "aa"},
               "aa\naaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab\naaa\n");
  EXPECT_EQ(run({"search", "--spelling", "--exact", "^c"}).out, "cat\nchurch\ncaf\xC3\xA9\n");
  EXPECT_EQ(run({"search", "--spelling", "^c"}).out, "cat\nchurch\ncaf\xC3\xA9\n");
}

TEST_F(QuorviDict, StderrSaysWhyNothingIsListed) {
  quorvi::testing::ChildRun r = run({"search", "b\xCA\x8A%"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("not a transcription it can read: character 3, \"%\" (U+0025)"),
            std::string::npos)
      << r.err;

  r = run({"search", "--spelling", "zzz"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("no word is spelt like this"), std::string::npos) << r.err;
  EXPECT_EQ(run({"search", " "}).exitCode, 1);

  const fs::path empty = folder_.path() / "empty";
  fs::create_directories(empty);
  r = run({"search", "k\xC3\xA6t"}, &empty);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("dictionary not found in " + fs::canonical(empty).string() + "/dict"),
            std::string::npos)
      << r.err;
}

TEST_F(QuorviDict, ExitCodesTellWhatWentWrong) {
  EXPECT_EQ(run({"--help"}).exitCode, 0);
  EXPECT_EQ(run({}).exitCode, 2);
  EXPECT_EQ(run({"lookup", "x"}).exitCode, 2);
  EXPECT_EQ(run({"search"}).exitCode, 2);
  EXPECT_EQ(run({"search", "--fast", "k"}).exitCode, 2);
  EXPECT_EQ(run({"entry", "a", "b"}).exitCode, 2);

  quorvi::testing::ChildRun r = run({"pattern", "[k\xC3\xA6t]"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("not a transcription"), std::string::npos) << r.err;
  EXPECT_EQ(run({"search", "xylo%phone"}).exitCode, 1);

  const fs::path missing = folder_.path() / "no such folder";
  EXPECT_EQ(run({"entry", "cat"}, &missing).exitCode, 3);
  const fs::path empty = folder_.path() / "empty";
  fs::create_directories(empty);
  r = run({"entry", "cat"}, &empty);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("initDB(): Error"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("cannot open the dictionary"), std::string::npos) << r.err;

  // The module comes from the tool's own folder: a copy of the tool in a folder without it
  // cannot run the plain statement, whatever the working folder holds (the learner's search,
  // which never calls the module, still answers).
  const fs::path lone = folder_.path() / "lone";
  fs::create_directories(lone);
  fs::copy_file(QUORVI_DICT_TOOL, lone / "quorvi-dict");
  r = quorvi::testing::runChild((lone / "quorvi-dict").string(),
                                {"--dir", folder_.path().string(), "search", "k\xC3\xA6t"},
                                folder_.path());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "cat\n");
  r = quorvi::testing::runChild(
      (lone / "quorvi-dict").string(),
      {"--dir", folder_.path().string(), "search", "--exact", "k\xC3\xA6t"}, folder_.path());
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("sqlite3_load_extension(sqliteDB_, \"./regexp.dll\", 0, 0): Error"),
            std::string::npos)
      << r.err;
  // The entry's command is a module beside the tool, from its own folder too.
  r = quorvi::testing::runChild((lone / "quorvi-dict").string(),
                                {"--dir", folder_.path().string(), "entry", "cat"}, folder_.path());
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("cannot load the entry and word book commands"), std::string::npos) << r.err;
  fs::copy_file(fs::path(QUORVI_DICT_TOOL).parent_path() / "quorvi-dictlearner.so",
                lone / "quorvi-dictlearner.so");
  r = quorvi::testing::runChild((lone / "quorvi-dict").string(),
                                {"--dir", folder_.path().string(), "entry", "cat"}, folder_.path());
  EXPECT_EQ(r.out, "cat\n[k\xC3\xA6t]\nn. a small furry animal\n");
}

TEST_F(QuorviDict, HostileSpellingPatternsEndCleanly) {
  expectListed({"search", "--spelling", "--all", "x\" OR 1=1 OR \""}, "");

  quorvi::testing::ChildRun r = run({"search", "--spelling", "--all", "(a+)+$"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "aa\n");  // the rows before the runaway one
  EXPECT_NE(r.err.find("regexp: pattern too complex"), std::string::npos) << r.err;

  r = run({"search", "--spelling", "(oops"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("regexp: bad pattern"), std::string::npos) << r.err;
}

}  // namespace

namespace {

// A runtime folder with the tool and its REGEXP module (laid out by QuorviDict) in it, and a link
// to the tool from elsewhere, as /usr/bin/quorvi-dict links into /usr/lib/quorvi.
class InstalledQuorviDict : public QuorviDict {
 protected:
  void SetUp() override {
    QuorviDict::SetUp();
    const fs::path tool(QUORVI_DICT_TOOL);
    fs::copy_file(tool, folder_.path() / "quorvi-dict");
    fs::create_directories(folder_.path() / "bin");
    fs::create_symlink("../quorvi-dict", folder_.path() / "bin" / "quorvi-dict");
    fs::create_directories(elsewhere());
  }
  fs::path elsewhere() const { return folder_.path() / "elsewhere"; }
  quorvi::testing::ChildRun runLinked(const std::vector<std::string>& args) {
    return quorvi::testing::runChild((folder_.path() / "bin" / "quorvi-dict").string(), args,
                                     elsewhere());
  }
};

}  // namespace

TEST_F(InstalledQuorviDict, ALookupFromAnyFolderReadsTheToolsOwnDictionary) {
  quorvi::testing::ChildRun r = runLinked({"search", "k\xC3\xA6t"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "cat\n");
  // The REGEXP module comes from the tool's folder too.
  r = runLinked({"search", "--spelling", "^lon"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "London\n");
  // A folder with a dictionary of its own, or one named with --dir, comes first.
  const fs::path other = folder_.path() / "other";
  std::vector<quorvi::testing::DictionaryRow> rows = {{"dog", "d&#594;g", "n. a dog"}};
  ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(other, rows), "");
  r = quorvi::testing::runChild((folder_.path() / "bin" / "quorvi-dict").string(),
                                {"search", "--spelling", "."}, other);
  EXPECT_EQ(r.out, "dog\n") << r.err;
  r = runLinked({"--dir", elsewhere().string(), "search", "k\xC3\xA6t"});
  EXPECT_EQ(r.exitCode, 3);
  // So does one whose dictionary cannot be used: that is said, not passed over.
  fs::create_directories(elsewhere() / "dict");
  fs::create_symlink("words.db", elsewhere() / "dict" / "words.db");
  r = runLinked({"search", "k\xC3\xA6t"});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.out, "");
}
