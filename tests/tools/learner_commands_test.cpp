// quorvi-dict history and words, run as the learner runs them, with the learner's data in a
// scratch folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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
  // "-" is standard output, for a pipe.
  const quorvi::testing::ChildRun piped = run({"words", "export", "-", "--csv"});
  EXPECT_TRUE(piped.out.starts_with("word,transcription")) << piped.out;
  EXPECT_NE(piped.err.find("exported 3 words"), std::string::npos) << piped.err;

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
  // Any letter case takes the dictionary's spelling; unknown words are named safely for a
  // terminal, each with a close spelling, the first 20 of them.
  std::string list = "LONDON\r\nexampel\r\n\x1b]0;owned\x07\r\n";
  for (int i = 0; i < 25; ++i) list += "zz" + std::to_string(i) + "\r\n";
  quorvi::testing::writeFile(folder_.path() / "odd.txt", list);
  const quorvi::testing::ChildRun odd = run({"words", "import", "odd.txt"});
  EXPECT_EQ(odd.out.substr(0, odd.out.find('\n')),
            "added 0, already in my words 1, not in the dictionary 27");
  EXPECT_NE(odd.out.find("not in the dictionary: exampel (close: example)\n"), std::string::npos);
  EXPECT_NE(odd.out.find("not in the dictionary: \\x1B]0;owned\\x07\n"), std::string::npos)
      << odd.out;
  EXPECT_EQ(odd.out.find('\x1b'), std::string::npos);
  EXPECT_NE(odd.out.find("and 7 more not in the dictionary\n"), std::string::npos);
  // A file that is no text adds nothing.
  quorvi::testing::writeFile(folder_.path() / "binary.dat", std::string("cat\0\x01\x02dog", 9));
  const quorvi::testing::ChildRun binary = run({"words", "import", "binary.dat"});
  EXPECT_EQ(binary.exitCode, 1);
  EXPECT_NE(binary.err.find("not a text file"), std::string::npos) << binary.err;
  EXPECT_EQ(run({"words", "import", "absent.txt"}).exitCode, 1);
  quorvi::testing::writeFile(folder_.path() / "open.csv", "word,transcription\n\"cat\n");
  EXPECT_EQ(run({"words", "import", "open.csv"}).exitCode, 1);
  EXPECT_EQ(firstFields({"words"}).size(), 5u);
}

// A read-only data folder (as a user the modes bind: root ignores them) and a full disk (a
// small file system of a namespace of its own): the words are still listed and exported, and
// a change says why it cannot be saved.
TEST_F(LearnerCommands, AStoreThatCannotBeWrittenIsStillRead) {
  for (const char* word : {"cat", "about"}) ASSERT_EQ(run({"words", "add", word}).exitCode, 0);
  const fs::path data = data_.path() / "quorvi";
  // On a full disk, where not even the shared-memory file can be made.
  const std::string script =
      "set -e; mount -t tmpfs -o size=200k tmpfs \"$1\"; mkdir \"$1/quorvi\";"
      " cp \"$2\" \"$1/quorvi/\"; dd if=/dev/zero of=\"$1/fill\" bs=4k 2>/dev/null || true;"
      " export XDG_DATA_HOME=\"$1\"; shift 2;"
      " \"$@\" words list; echo \"list $?\"; \"$@\" words add London || echo \"add $?\"";
  const fs::path mountPoint = folder_.path() / "small-disk";
  fs::create_directories(mountPoint);
  const quorvi::testing::ChildRun full = quorvi::testing::runChild(
      "/usr/bin/unshare",
      {"-Urm", "/bin/sh", "-c", script, "sh", mountPoint.string(), (data / "learner.db").string(),
       QUORVI_DICT_TOOL, "--dir", folder_.path().string()},
      folder_.path());
  EXPECT_NE(full.out.find("about\t"), std::string::npos) << full.out << full.err;
  EXPECT_NE(full.out.find("list 0"), std::string::npos) << full.out << full.err;
  EXPECT_NE(full.out.find("add 6"), std::string::npos) << full.out << full.err;
  EXPECT_NE(full.err.find("the disk is full"), std::string::npos) << full.err;

  // A folder the learner may only read. The learner runs a copy of the tool, with the module
  // its word book commands live in, from a folder it may read, as an installed one is: the
  // build's own may sit below a folder only its owner may enter.
  const fs::path tools = folder_.path() / "tools";
  if (getuid() == 0) {
    fs::create_directories(tools);
    const fs::path built = fs::path(QUORVI_DICT_TOOL).parent_path();
    for (const char* file : {"quorvi-dict", "quorvi-dictlearner.so"})
      fs::copy_file(built / file, tools / file);
  }
  const std::string tool = getuid() == 0 ? (tools / "quorvi-dict").string() : QUORVI_DICT_TOOL;
  const std::vector<std::string> asLearner =
      getuid() == 0 ? std::vector<std::string>{"/usr/bin/setpriv", "--reuid=65534", "--regid=65534",
                                               "--clear-groups", tool}
                    : std::vector<std::string>{tool};
  if (getuid() == 0) {
    for (const fs::path& path : {folder_.path(), data_.path(), tools})
      ASSERT_EQ(chmod(path.c_str(), 0755), 0);
    for (const auto& item : fs::recursive_directory_iterator(data_.path()))
      ASSERT_EQ(lchown(item.path().c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(chmod(data.c_str(), 0500), 0);
  const auto runAsLearner = [&](const std::vector<std::string>& args) {
    std::vector<std::string> line(asLearner.begin() + 1, asLearner.end());
    line.insert(line.end(), {"--dir", folder_.path().string()});
    line.insert(line.end(), args.begin(), args.end());
    return quorvi::testing::runChild(asLearner[0], line, folder_.path());
  };
  const quorvi::testing::ChildRun listed = runAsLearner({"words", "list"});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("about\t"), std::string::npos);
  EXPECT_NE(listed.err.find("changes cannot be saved (no permission)"), std::string::npos)
      << listed.err;
  EXPECT_EQ(runAsLearner({"words", "export", "-"}).exitCode, 0);
  const quorvi::testing::ChildRun added = runAsLearner({"words", "add", "London"});
  EXPECT_EQ(added.exitCode, 6);
  EXPECT_NE(added.err.find("no permission"), std::string::npos) << added.err;
  ASSERT_EQ(chmod(data.c_str(), 0700), 0);
}

}  // namespace
