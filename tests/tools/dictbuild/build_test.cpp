#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "build_stamp.h"
#include "dict_store.h"
#include "dictionary_builder.h"
#include "engine/phonetic_dictionary.h"
#include "tests/engine/test_dictionary.h"
#include "verify.h"

using namespace quorvi::dictbuild;
namespace fs = std::filesystem;

namespace {

struct Row {
  std::string caption, phonetic, explain;
};

class Build : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.runtimeDir = folder_.path().string();
    options_.useWordNet = false;
    options_.useNpmSources = false;
    options_.tsvFiles = {folder_.write("words.tsv",
                                       "cat\tkæt\ta small animal\t900\n"
                                       "house\t'haus\ta building for living in\\na home\t10\n"
                                       "example\t\tsomething typical\t50\n"
                                       "odd\tk@t\tunreadable transcription\n"
                                       "say \"hi\"\tsei\tquoted\n"
                                       "bell\x07\tbel\tcontrol character\n")};
  }
  BuildSummary build() {
    log_.str("");
    return buildDictionary(options_, log_);
  }
  std::vector<Row> rows() {
    std::string error;
    sqlite3* db = openKeyedDatabase(options_.databasePath(), false, error);
    EXPECT_NE(db, nullptr) << error;
    std::vector<Row> out;
    sqlite3_stmt* st = nullptr;
    if (db && sqlite3_prepare_v2(db, "SELECT w_caption, w_phonetic, w_explain FROM dict_word", -1,
                                 &st, nullptr) == SQLITE_OK) {
      while (sqlite3_step(st) == SQLITE_ROW) {
        auto text = [&](int c) {
          return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        };
        out.push_back({text(0), text(1), text(2)});
      }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
  }
  static std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  size_t filesInDictFolder() {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder_.path() / "dict")) ++n;
    return n;
  }

  quorvi::testing::TemporaryFolder folder_;
  BuildOptions options_;
  std::ostringstream log_;
};

}  // namespace

TEST_F(Build, WritesAKeyedDictionaryInRankOrderThatVerifies) {
  BuildSummary s = build();
  ASSERT_TRUE(s.ok) << log_.str();
  const auto r = rows();
  ASSERT_EQ(r.size(), 5u);  // the quoted headword cannot be looked up and is left out
  EXPECT_EQ(r[0].caption, "house");
  EXPECT_EQ(r[0].phonetic, "&#712;haus");
  EXPECT_EQ(r[0].explain, "noun<br/>a building for living in<br/>a home");
  EXPECT_EQ(r[1].caption, "house");  // the verb's pronunciation, a row of its own
  EXPECT_EQ(r[1].phonetic, "&#712;hauz");
  EXPECT_EQ(r[1].explain, "verb");
  EXPECT_EQ(r[2].caption, "example");
  EXPECT_EQ(r[2].phonetic, "i&#609;&#712;z&#593;&#720;mp&#601;l");  // made by espeak-ng
  EXPECT_EQ(r[3].caption, "cat");
  EXPECT_EQ(r[3].phonetic, "k&#230;t");
  EXPECT_EQ(r[4].caption, "odd");             // its own transcription unreadable:
  EXPECT_EQ(r[4].phonetic, "&#712;&#596;d");  // espeak-ng's instead
  const std::string log = log_.str();
  EXPECT_NE(log.find("imported transcription unreadable"), std::string::npos) << log;
  EXPECT_NE(log.find("double quote"), std::string::npos) << log;
  EXPECT_NE(log.find("control characters"), std::string::npos) << log;

  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
  EXPECT_NE(report.str().find("rows: 5"), std::string::npos);
  EXPECT_NE(report.str().find("uses an index"), std::string::npos);
}

TEST_F(Build, SkipsUnchangedInputsAndRebuildsWhenTheyChangeOrWhenForced) {
  ASSERT_TRUE(build().ok);
  BuildSummary again = build();
  EXPECT_TRUE(again.ok);
  EXPECT_TRUE(again.upToDate) << log_.str();

  options_.force = true;
  EXPECT_FALSE(build().upToDate);
  options_.force = false;

  folder_.write("words.tsv", "dog\tdɔɡ\ta dog\n");
  BuildSummary changed = build();
  EXPECT_TRUE(changed.ok);
  EXPECT_FALSE(changed.upToDate);
  EXPECT_EQ(rows().size(), 1u);
  options_.design = StorageDesign::SingleTable;  // options are part of the stamp too
  EXPECT_FALSE(build().upToDate);
  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
}

// The stamp is stored in the dictionary, in the step that puts the dictionary in place: a
// stamp that says other inputs (a stamp file written for another build, or left behind when
// the process died between the dictionary and its stamp) never makes a build "up to date".
TEST_F(Build, AStampOfOtherInputsNeverPassesForTheDictionarys) {
  const fs::path words = folder_.path() / "words.tsv";
  folder_.write("words.tsv", "cat\tk\xC3\xA6t\ta cat\n");
  const auto oldTime = fs::last_write_time(words);
  ASSERT_TRUE(build().ok) << log_.str();
  const std::string oldStamp = readStoredStamp(options_.databasePath());
  EXPECT_NE(oldStamp.find("words.tsv"), std::string::npos) << oldStamp;
  const std::string oldStampFile = bytesOf(options_.stampPath());
  {
    // The engine hands the window's about page the record stored inside the dictionary.
    quorvi::testing::WorkingDirectory cwd(folder_.path());
    EXPECT_EQ(PhoneticDictionary().buildStamp(), oldStamp);
  }

  folder_.write("words.tsv", "dog\td\xC9\x94\xC9\xA1\ta dog\nhen\then\ta hen\n");
  ASSERT_TRUE(build().ok) << log_.str();
  EXPECT_EQ(rows().size(), 2u);
  EXPECT_NE(readStoredStamp(options_.databasePath()), oldStamp);

  // The first build's inputs and stamp file again, beside the second build's dictionary.
  folder_.write("words.tsv", "cat\tk\xC3\xA6t\ta cat\n");
  fs::last_write_time(words, oldTime);
  {
    std::ofstream out(options_.stampPath(), std::ios::binary | std::ios::trunc);
    out << oldStampFile;
  }
  const BuildSummary again = build();
  EXPECT_TRUE(again.ok) << log_.str();
  EXPECT_FALSE(again.upToDate) << log_.str();
  ASSERT_EQ(rows().size(), 1u);
  EXPECT_EQ(rows()[0].caption, "cat");
  EXPECT_EQ(readStoredStamp(options_.databasePath()), oldStamp);
  EXPECT_TRUE(build().upToDate);

  // A dictionary without a stored stamp (another builder's, or an older one) is rebuilt.
  std::string error;
  sqlite3* db = openKeyedDatabase(options_.databasePath(), true, error);
  ASSERT_NE(db, nullptr) << error;
  EXPECT_EQ(sqlite3_exec(db, "DROP TABLE dict_build_stamp", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(readStoredStamp(options_.databasePath()), "");
  EXPECT_FALSE(build().upToDate);
}

TEST_F(Build, AFailedBuildLeavesThePreviousDictionaryIntact) {
  ASSERT_TRUE(build().ok);
  const std::string before = bytesOf(options_.databasePath());
  const size_t filesBefore = filesInDictFolder();

  for (const std::string& bad : {std::string("cat\tkæt\n"), std::string("cat\tk\xFF\tx\n"),
                                 std::string("cat\tkæt\t") + std::string(100000, 'x') + "\n"}) {
    folder_.write("words.tsv", "dog\tdɔɡ\ta dog\n" + bad);
    BuildSummary s = build();
    EXPECT_FALSE(s.ok);
    EXPECT_NE(log_.str().find("words.tsv:2:"), std::string::npos) << log_.str();
    EXPECT_NE(log_.str().find("previous dictionary is unchanged"), std::string::npos);
    EXPECT_EQ(bytesOf(options_.databasePath()), before);
    EXPECT_EQ(filesInDictFolder(), filesBefore);  // no temporary file left behind
  }
  options_.tsvFiles = {(folder_.path() / "missing.tsv").string()};
  EXPECT_FALSE(build().ok);
  EXPECT_EQ(bytesOf(options_.databasePath()), before);
}

// A build killed with -9 leaves its words.db.tmp-PID behind; the next build removes those of
// dead processes and leaves alone those of running builds and files it did not make.
TEST_F(Build, RemovesTemporaryFilesOfKilledBuilds) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  fs::create_directories(folder_.path() / "dict");
  const std::string base = options_.databasePath() + ".tmp-";
  for (const std::string& suffix :
       {std::to_string(dead), std::to_string(getppid()), std::string("notes")})
    std::ofstream(base + suffix) << "left over";
  ASSERT_TRUE(build().ok) << log_.str();
  EXPECT_FALSE(fs::exists(base + std::to_string(dead)));
  EXPECT_TRUE(fs::exists(base + std::to_string(getppid())));
  EXPECT_TRUE(fs::exists(base + "notes"));
}

TEST(Verify, RejectsMissingUnkeyedAndBrokenFiles) {
  quorvi::testing::TemporaryFolder folder;
  std::ostringstream out;
  EXPECT_FALSE(verifyDictionary((folder.path() / "none.db").string(), out).ok);
  EXPECT_NE(out.str().find("does not exist"), std::string::npos);

  const auto junk = folder.path() / "junk.db";
  std::ofstream(junk, std::ios::binary) << std::string(8192, 'j');
  out.str("");
  EXPECT_FALSE(verifyDictionary(junk.string(), out).ok);

  // A dictionary whose rows the phonetic search cannot read.
  const auto bad = folder.path() / "bad.db";
  ASSERT_EQ(
      quorvi::testing::writeDictionary(bad, {{"book", "b&#650;k", "x"}, {"cat", "k&#230;t", "y"}}),
      "");
  out.str("");
  EXPECT_FALSE(verifyDictionary(bad.string(), out).ok);
  EXPECT_NE(out.str().find("unreadable transcription: book"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("unreadable transcriptions: 1"), std::string::npos);
}
