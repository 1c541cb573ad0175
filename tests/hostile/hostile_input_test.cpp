// Hostile input end to end, through quorvi-dict and through the engine: oversized text, NUL
// bytes, invalid UTF-8, runaway patterns, damaged dictionary files, a read-only or missing
// runtime folder. Each case must end with a clear message or an empty result, and the runtime
// folder must be byte for byte what it was before (checked after every test).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/phonetic_dictionary.h"
#include "engine/search_outcome.h"
#include "tests/engine/test_dictionary.h"
#include "tests/hostile/hostile_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using quorvi::testing::ChildRun;

namespace {

// A run that ended by itself with one of the documented exit codes, or a crash, a kill or an
// undocumented code otherwise.
::testing::AssertionResult endedCleanly(const ChildRun& r, std::initializer_list<int> allowed) {
  if (r.timedOut) return ::testing::AssertionFailure() << "hung; stderr: " << r.err;
  if (r.signal != 0)
    return ::testing::AssertionFailure()
           << "killed by signal " << r.signal << "; stderr: " << r.err;
  for (int code : allowed) {
    if (r.exitCode != code) continue;
    if (code != 0 && r.err.find("quorvi-dict") == std::string::npos)
      return ::testing::AssertionFailure() << "exit " << code << " without a message: " << r.err;
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "exit code " << r.exitCode << "; stderr: " << r.err;
}

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    auto rows = quorvi::testing::sampleRows();
    // Runs of one letter make a backtracking pattern work hard on every row.
    for (int i = 0; i < 200; ++i)
      rows.push_back({std::string(18, 'a') + "!" + std::to_string(i), "a", "x"});
    ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(root(), rows), "");
    settle();
  }

  void TearDown() override {
    EXPECT_EQ(quorvi::testing::describeChanges(before_, quorvi::testing::snapshotFolder(root())),
              "")
        << "the runtime folder changed";
  }

  const fs::path& root() const { return folder_.path(); }
  fs::path database() const { return root() / "dict" / "words.db"; }
  // Takes the folder as it is now as the state nothing may change.
  void settle() { before_ = quorvi::testing::snapshotFolder(root()); }

  ChildRun tool(const std::vector<std::string>& args) {
    return quorvi::testing::runChild(QUORVI_DICT_TOOL, args, root(), 60s);
  }

  void replaceDatabase(const std::string& bytes) {
    std::ofstream out(database(), std::ios::binary | std::ios::trunc);
    out << bytes;
  }

  std::string databaseBytes() const {
    std::ifstream in(database(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  quorvi::testing::TemporaryFolder folder_;
  quorvi::testing::FolderSnapshot before_;
};

TEST_F(HostileInput, OversizedTextEndsWithAnEmptyResultOrAMessage) {
  // One argument of a command line holds at most 128 KiB; the engine takes 1 MB directly.
  const std::string symbols = "k\xC3\xA6t";  // "kæt", four bytes
  std::string longTranscription;
  while (longTranscription.size() < 120 * 1024) longTranscription += symbols;
  const std::string longWord(120 * 1024, 'a');

  for (const auto& args :
       std::vector<std::vector<std::string>>{{"search", longTranscription},
                                             {"search", "--all", longTranscription},
                                             {"search", "--spelling", longWord},
                                             {"search", "--spelling", "--all", longWord + "("},
                                             {"search", longWord + "[]"},
                                             {"entry", longWord},
                                             {"pattern", longTranscription + "?"}}) {
    const ChildRun r = tool(args);
    // 7: no entry for the word (in any letter case).
    EXPECT_TRUE(endedCleanly(r, {0, 1, 7})) << args[0] << " " << args[1].substr(0, 20);
    EXPECT_EQ(r.out, "") << args[0];
  }

  quorvi::testing::WorkingDirectory cwd(root());
  PhoneticDictionary engine;
  ASSERT_TRUE(engine.isOpen());
  quorvi::testing::HangGuard guard("1 MB input through the engine", 60s);
  std::u16string typed;
  while (typed.size() < 1024 * 1024) typed += u"k\u00E6t";
  for (int limitMode : {0, 1}) {
    engine.searchByPhonetic(typed, limitMode);
    EXPECT_TRUE(engine.getResults().isEmpty());
    engine.searchByPhonetic(typed + u"[", limitMode);
    EXPECT_TRUE(engine.getResults().isEmpty());
    engine.searchByCaption(std::string(1024 * 1024, 'a'), limitMode);
    EXPECT_TRUE(engine.getResults().isEmpty());
  }
  EXPECT_TRUE(engine.entryText(std::string(1024 * 1024, 'a')).isEmpty());
  // The engine still answers after all that.
  engine.searchByCaption("^cat$", 0);
  EXPECT_EQ(engine.getResults(), QStringList{"cat"});
}

TEST_F(HostileInput, QuotesAndSqlInTheTextAreOnlyText) {
  for (const char* text : {"\"", "\"\"", "cat\"", "\"; DROP TABLE dict_word; --", "' OR ''='"}) {
    ChildRun r = tool({"entry", text});
    EXPECT_TRUE(endedCleanly(r, {7})) << text;
    EXPECT_EQ(r.out, "") << text;
    r = tool({"search", "--spelling", "--all", text});
    EXPECT_TRUE(endedCleanly(r, {0, 1})) << text;
    EXPECT_EQ(r.out, "") << text;
    r = tool({"search", text});
    EXPECT_TRUE(endedCleanly(r, {1})) << text;
  }
  // The table is still there and whole.
  const ChildRun r = tool({"search", "--spelling", "--all", "^(cat|London)$"});
  EXPECT_EQ(r.out, "cat\nLondon\n") << r.err;
}

TEST_F(HostileInput, NulBytesNeitherCutTheTextShortNorBreakTheQuery) {
  quorvi::testing::WorkingDirectory cwd(root());
  PhoneticDictionary engine;
  ASSERT_TRUE(engine.isOpen());
  // "cat" followed by a NUL and more is not the headword "cat".
  EXPECT_TRUE(engine.entryText(std::string("cat\0 OR 1=1", 11)).isEmpty());
  EXPECT_TRUE(engine.entryText(std::string(1, '\0')).isEmpty());
  engine.searchByCaption(std::string("^ca\0t", 5), 1);
  EXPECT_TRUE(engine.getResults().isEmpty());
  engine.searchByCaption(std::string("\0", 1), 1);
  EXPECT_TRUE(engine.getResults().isEmpty());
  engine.searchByPhonetic(std::u16string(u"k\u00E6\0t", 4), 1);
  EXPECT_TRUE(engine.getResults().isEmpty());
  EXPECT_FALSE(PhoneticDictionary::checkPhonetic(std::u16string(1, u'\0')));
  engine.searchByPhonetic(u"k\u00E6t", 1);
  EXPECT_EQ(engine.getResults(), QStringList{"cat"});
}

TEST_F(HostileInput, InvalidUtf8IsRejectedOrFindsNothing) {
  // Transcriptions: bytes that decode to no symbol make the input unreadable.
  for (const char* typed :
       {"\xFF\xFE", "k\xC3", "\xC3\xA6\x80", "\xED\xA0\x80", "\xF8\x88\x80\x80\x80"}) {
    const ChildRun r = tool({"search", typed});
    EXPECT_TRUE(endedCleanly(r, {1})) << typed;
    EXPECT_NE(r.err.find("not a transcription"), std::string::npos) << r.err;
  }
  // Spelling patterns: the REGEXP module reads them as UTF-8 and refuses what is not.
  for (const char* pattern : {"caf\xE9", "\xC3(", "\xFF*"}) {
    const ChildRun r = tool({"search", "--spelling", "--all", pattern});
    EXPECT_TRUE(endedCleanly(r, {0, 1})) << pattern;
    EXPECT_EQ(r.out, "") << pattern;
  }
  // Headwords: compared byte for byte, so nothing matches and nothing breaks.
  for (const char* word : {"caf\xE9", "\xFF", "\xC3"}) {
    const ChildRun r = tool({"entry", word});
    EXPECT_TRUE(endedCleanly(r, {7})) << word;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(HostileInput, BacktrackingPatternsStopAtTheLimitOnEveryPath) {
  // Exponential on the long runs of 'a': each must stop with the module's message, not spin.
  for (const char* pattern : {"(a+)+$", "(a|aa)+$", "(a*)*b", "(?:a+){20}$", "(a|a?)+c"}) {
    for (const char* limit : {"", "--all"}) {
      std::vector<std::string> args{"search", "--spelling"};
      if (*limit) args.push_back(limit);
      args.push_back(pattern);
      const ChildRun r = tool(args);
      EXPECT_TRUE(endedCleanly(r, {0, 1})) << pattern;
      if (r.exitCode == 1) {
        EXPECT_NE(r.err.find("regexp: "), std::string::npos) << r.err;
      }
      std::printf("[ timing   ] %-14s %-5s %.3f s\n", pattern, limit, r.seconds);
    }
  }
}

TEST_F(HostileInput, DamagedDictionaryIsReportedAndLeftAsItIs) {
  const std::string good = databaseBytes();
  ASSERT_GT(good.size(), 2048u);
  std::mt19937 random(20261208);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string flipped = good;
  flipped[flipped.size() / 2] ^= 0x5A;
  std::string headerFlipped = good;
  headerFlipped[20] ^= 0x01;

  const std::vector<std::pair<const char*, std::string>> files = {
      {"random bytes", noise},
      {"empty file", ""},
      {"first 1000 bytes", good.substr(0, 1000)},
      {"all but the last 100 bytes", good.substr(0, good.size() - 100)},
      {"a byte flipped mid-file", flipped},
      {"a byte flipped in page 1", headerFlipped},
      {"a plain SQLite header", std::string("SQLite format 3\0", 16) + std::string(4080, '\0')},
  };
  for (const auto& [what, bytes] : files) {
    replaceDatabase(bytes);
    settle();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"search", "--all", "k\xC3\xA6t"}, {"search", "--spelling", "a"}, {"entry", "cat"}}) {
      const ChildRun r = tool(args);
      // 3: not a dictionary it can read; 4: it opened, but a query ran into the damage.
      EXPECT_TRUE(endedCleanly(r, {0, 3, 4})) << what << ": " << args[0];
    }
    EXPECT_EQ(quorvi::testing::describeChanges(before_, quorvi::testing::snapshotFolder(root())),
              "")
        << what;
  }

  // A hot journal of garbage next to an intact dictionary: the read-only engine must neither
  // play it back nor delete it.
  replaceDatabase(good);
  {
    std::ofstream journal(root() / "dict" / "words.db-journal", std::ios::binary);
    journal << std::string("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) << noise.substr(0, 8192);
  }
  settle();
  const ChildRun r = tool({"entry", "cat"});
  EXPECT_TRUE(endedCleanly(r, {0, 3, 4}));
}

TEST_F(HostileInput, ReadOnlyRuntimeFolderWorksAndMissingOneIsReported) {
  // Read-only everywhere (for root the permission bits do not bind, but nothing may be
  // written either way).
  for (const fs::path& p : {database(), root() / "regexp.dll"})
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  for (const fs::path& p : {root() / "dict", root()})
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  settle();
  ChildRun r = tool({"search", "k\xC3\xA6t"});
  EXPECT_TRUE(endedCleanly(r, {0}));
  EXPECT_EQ(r.out, "cat\n");
  r = tool({"entry", "cat"});
  EXPECT_EQ(r.out, "cat\n[k\xC3\xA6t]\nn. a small furry animal\n") << r.err;
  r = tool({"search", "--spelling", "^lond"});
  EXPECT_EQ(r.out, "London\n") << r.err;
  EXPECT_EQ(quorvi::testing::describeChanges(before_, quorvi::testing::snapshotFolder(root())), "");
  fs::permissions(root(), fs::perms::owner_all, fs::perm_options::add);
  fs::permissions(root() / "dict", fs::perms::owner_all, fs::perm_options::add);

  // The runtime folder, or what is in it, missing or of the wrong kind.
  r = quorvi::testing::runChild(QUORVI_DICT_TOOL,
                                {"--dir", (root() / "gone").string(), "entry", "cat"}, root(), 60s);
  EXPECT_TRUE(endedCleanly(r, {3}));
  const fs::path odd = root() / "odd";
  fs::create_directories(odd / "dict" / "words.db");  // a folder where the file should be
  r = quorvi::testing::runChild(QUORVI_DICT_TOOL, {"search", "k\xC3\xA6t"}, odd, 60s);
  EXPECT_TRUE(endedCleanly(r, {3}));
  fs::remove(odd / "dict" / "words.db");
  fs::create_symlink("/dev/null", odd / "dict" / "words.db");
  r = quorvi::testing::runChild(QUORVI_DICT_TOOL, {"entry", "cat"}, odd, 60s);
  EXPECT_TRUE(endedCleanly(r, {3}));
  fs::remove_all(odd);
  settle();
}

// Opening a FIFO blocks until someone writes to it: the dictionary path must be refused first.
TEST_F(HostileInput, FifoInPlaceOfTheDictionaryIsRefusedAtOnce) {
  const fs::path odd = root() / "fifo";
  fs::create_directories(odd / "dict");
  fs::copy_file(root() / "regexp.dll", odd / "regexp.dll");
  ASSERT_EQ(mkfifo((odd / "dict" / "words.db").c_str(), 0600), 0);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"search", "k\xC3\xA6t"},
                                               {"entry", "cat"},
                                               {"search", "--spelling", "a"}}) {
    const ChildRun r = quorvi::testing::runChild(QUORVI_DICT_TOOL, args, odd, 20s);
    EXPECT_TRUE(endedCleanly(r, {3})) << args[0];
    // Searches say which folder they looked in; the entry lookup names the file.
    EXPECT_NE(r.err.find("the dictionary"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("words.db"), std::string::npos) << r.err;
  }
  fs::remove_all(odd);
  settle();
}

// Someone's folder holding a keyed dictionary (the passphrase is no secret) and a regexp.dll
// of their own: started there, the engine and quorvi-dict load the program's own module and
// never run that one's code.
TEST_F(HostileInput, ModulePlantedInTheWorkingFolderIsNeverLoaded) {
  fs::copy_file(QUORVI_PLANTED_MODULE, root() / "regexp.dll", fs::copy_options::overwrite_existing);
  settle();
  const fs::path marker = root() / "planted-module-ran";
  // This process's own folder holds the real module, as build/runtime does.
  PhoneticDictionary::setModuleFolder(quorvi::testing::regexpModulePath().parent_path().string());
  {
    quorvi::testing::WorkingDirectory cwd(root());
    PhoneticDictionary engine;
    EXPECT_TRUE(engine.hasRegexp());
    engine.searchByPhonetic(u"k\u00E6t", 0);
    EXPECT_EQ(engine.getResults(), QStringList({"cat"}));
  }
  EXPECT_FALSE(fs::exists(marker)) << "the engine ran the planted module";

  ChildRun r = tool({"search", "k\xC3\xA6t"});
  EXPECT_TRUE(endedCleanly(r, {0}));
  EXPECT_EQ(r.out, "cat\n");
  r = tool({"search", "--spelling", "^lond"});
  EXPECT_EQ(r.out, "London\n") << r.err;
  EXPECT_FALSE(fs::exists(marker)) << "quorvi-dict ran the planted module";
}

// A journal left beside the read-only dictionary (a crash of some other writer, or planted)
// neither makes it unreadable nor is played back or removed.
TEST_F(HostileInput, StrayJournalBesideTheDictionaryChangesNothing) {
  {
    std::ofstream journal(root() / "dict" / "words.db-journal", std::ios::binary);
    journal << std::string("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) << std::string(8192, 'j');
  }
  settle();
  ChildRun r = tool({"entry", "cat"});
  EXPECT_TRUE(endedCleanly(r, {0}));
  EXPECT_EQ(r.out, "cat\n[k\xC3\xA6t]\nn. a small furry animal\n") << r.err;
  r = tool({"search", "k\xC3\xA6t"});
  EXPECT_TRUE(endedCleanly(r, {0}));
  EXPECT_EQ(r.out, "cat\n");
  quorvi::testing::WorkingDirectory cwd(root());
  PhoneticDictionary engine;
  EXPECT_TRUE(engine.isOpen());
  EXPECT_EQ(engine.entryText("London").value(0), "London");
}

// A loop of symbolic links and a folder that may not be read are each named for what they
// are, not reported as a dictionary that is not there.
TEST_F(HostileInput, LinkLoopAndUnreadableFolderAreToldApart) {
  const fs::path odd = root() / "odd";
  fs::create_directories(odd / "dict");
  fs::create_symlink("words.db", odd / "dict" / "words.db");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"search", "k\xC3\xA6t"}, {"entry", "cat"}}) {
    const ChildRun r = quorvi::testing::runChild(QUORVI_DICT_TOOL, args, odd, 20s);
    EXPECT_TRUE(endedCleanly(r, {3})) << args[0];
    EXPECT_NE(r.err.find("symbolic links lead round in a loop"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("not found"), std::string::npos) << r.err;
  }
  fs::remove(odd / "dict" / "words.db");
  fs::copy_file(database(), odd / "dict" / "words.db");
  fs::permissions(odd / "dict", fs::perms::none);
  if (::geteuid() != 0) {  // the permission bits do not bind root
    const ChildRun r =
        quorvi::testing::runChild(QUORVI_DICT_TOOL, {"search", "k\xC3\xA6t"}, odd, 20s);
    EXPECT_TRUE(endedCleanly(r, {3}));
    EXPECT_NE(r.err.find("permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("not found"), std::string::npos) << r.err;
  }
  EXPECT_EQ(inspectDictionaryFile((odd / "dict" / "words.db").string()),
            ::geteuid() != 0 ? DictionaryFileState::NoAccess : DictionaryFileState::Present);
  fs::permissions(odd / "dict", fs::perms::owner_all);
  fs::remove_all(odd);
}

// The search rows cannot be read (a damaged page at the table's end), while the plain capped
// statement still finds a screenful before it: the list is then unranked, which quorvi-dict
// says, with its own exit code, instead of passing it off as the ranked answer.
TEST_F(HostileInput, SearchWhoseRowsCannotBeReadSaysItIsIncomplete) {
  const fs::path odd = root() / "unranked";
  std::vector<quorvi::testing::DictionaryRow> rows;
  for (int i = 0; i < 150; ++i) rows.push_back({"cat" + std::to_string(i), "k&#230;t", "n."});
  for (int i = 0; i < 3000; ++i) rows.push_back({"filler" + std::to_string(i), "z&#601;", "x"});
  ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(odd, rows), "");
  const fs::path db = odd / "dict" / "words.db";
  const auto size = fs::file_size(db);
  ASSERT_GT(size, 16u * 4096);
  {
    std::fstream file(db, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(size - 4096));
    file << std::string(4096, '\x5A');
  }
  const ChildRun r =
      quorvi::testing::runChild(QUORVI_DICT_TOOL, {"search", "k\xC3\xA6t"}, odd, 60s);
  EXPECT_TRUE(endedCleanly(r, {5}));
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 100) << r.out;
  EXPECT_NE(r.err.find("the search is incomplete"), std::string::npos) << r.err;
  fs::remove_all(odd);
}

}  // namespace
