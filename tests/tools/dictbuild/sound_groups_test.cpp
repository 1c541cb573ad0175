// The rows the builder stores grouped by sound count: a capped learner's search answered from
// them, before the whole rows are in memory, lists exactly what the whole rows list; damaged or
// missing groups hand the search to the whole rows; verify notices a group that differs.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>

#include <optional>
#include <random>

#include "dict_store.h"
#include "search_index_writer.h"
#include "stored_dictionary.h"
#include "engine/closest_match.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "engine/phonetic_index.h"
#include "engine/sound_code.h"
#include "engine/sound_count_groups.h"
#include "engine/sound_rows.h"
#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;
using quorvi::testing::DictionaryRow;

namespace {

// Short and long transcriptions of a few sounds, so that short inputs fill a screen from the
// shortest rows while longer ones need near-sound rows; headwords repeat far apart.
std::vector<DictionaryRow> groupedRows() {
  const char* pieces[] = {"k",      "t",      "&#230;", "&#643;", "&#720;",  "i", "e",
                          "&#601;", "s",      "p",      "l",      "&#712;",  "n", "&#952;",
                          "&#618;", "&#652;", "m",      "d",      "\xc3\xa9"};
  std::mt19937 rng(5);
  std::vector<DictionaryRow> rows;
  for (int i = 0; i < 12000; ++i) {
    std::string phonetic;
    for (int n = std::uniform_int_distribution<int>(1, 12)(rng); n > 0; --n)
      phonetic += pieces[std::uniform_int_distribution<int>(0, std::size(pieces) - 1)(rng)];
    // Built step by step: GCC 12 warns falsely of overlap on "ab" + std::string(...).
    std::string caption = std::to_string(i);
    caption.insert(0, 1, 'W');
    if (i % 4 == 0) {
      caption = "ab";
      caption.push_back(static_cast<char>('a' + i % 23));
    }
    rows.push_back({caption, phonetic, "x"});
  }
  return rows;
}

const char16_t* const kInputs[] = {u"k",   u"t",   u"kæt", u"ʃ",     u"i:",    u"ˈk",  u"ə",
                                   u"sp",  u"tʃ",  u"ɪ",   u"ʌm",    u"kæʃ",   u"θəd", u"lnm",
                                   u"pɪt", u"dɪs", u"mʌl", u"kæʃəm", u"ʃʃʃʃʃ", u"e"};

class SoundGroups : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_ = groupedRows();
    quorvi::testing::layOutPlainAndStored(plain_.path(), stored_.path(), rows_);
  }
  fs::path storedDb() const { return stored_.path() / "dict" / "words.db"; }

  void execute(const char* sql) {
    std::string error;
    sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(storedDb().string(), true, error);
    ASSERT_NE(connection, nullptr) << error;
    EXPECT_EQ(sqlite3_exec(connection, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(connection);
  }

  // Each input's capped list from a fresh engine on the stored copy (the groups, until they
  // cannot answer) and from the table's rows, then the next input on the same engines.
  void expectSameCappedLists() {
    std::optional<quorvi::testing::WorkingDirectory> cwd(std::in_place, stored_.path());
    PhoneticDictionary storeEngine;
    cwd.emplace(plain_.path());
    PhoneticDictionary rowsEngine;
    for (const char16_t* typed : kInputs) {
      // A fresh search each time, so that none of them has the whole rows yet.
      LearnerSearch fromStore(storeEngine), fromRows(rowsEngine);
      const QString input = QString::fromStdU16String(typed);
      const SearchOutcome a = fromStore.bySound(input, 0), b = fromRows.bySound(input, 0);
      EXPECT_EQ(a.words, b.words) << input.toStdString();
      EXPECT_EQ(a.nearSoundFrom, b.nearSoundFrom) << input.toStdString();
      EXPECT_EQ(a.reason, b.reason) << input.toStdString();
    }
  }

  std::vector<DictionaryRow> rows_;
  quorvi::testing::TemporaryFolder plain_;
  quorvi::testing::TemporaryFolder stored_;
};

}  // namespace

// The groups give the same ranked rows as the whole rows grouped in memory, for every input,
// capped or not; and the learner's capped lists are the same either way.
TEST_F(SoundGroups, RankLikeTheWholeRows) {
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary engine;
  std::shared_ptr<const PhoneticIndex> index = engine.completeSearchIndex();
  ASSERT_NE(index, nullptr);
  const SoundRows rows(index);
  PhoneticDictionary partialEngine;
  const std::shared_ptr<PhoneticIndex> groups = partialEngine.partialSearchIndex();
  ASSERT_NE(groups, nullptr);
  EXPECT_EQ(groups->rowCount(), rows.size());
  int screensFromGroups = 0;
  for (const char16_t* typed : kInputs) {
    const sound::TypedSounds sounds(sound::fromSymbols(typed));
    // The capped ranking, from the whole rows and from the groups read as needed.
    const SoundQuery query{sounds, false, 100};
    const std::vector<ScoredRow> fromRows = rankRows(rows, query);
    std::vector<ScoredRow> fromGroups;
    bool overBudget = false;
    ASSERT_TRUE(rankStoredRows(*groups, query, SIZE_MAX, fromGroups, overBudget));
    ASSERT_FALSE(overBudget);
    ASSERT_EQ(fromRows.size(), fromGroups.size()) << QString::fromStdU16String(typed).toStdString();
    for (std::size_t i = 0; i < fromRows.size(); ++i) {
      ASSERT_EQ(fromRows[i].row, fromGroups[i].row) << i;
      ASSERT_EQ(fromRows[i].key, fromGroups[i].key) << i;
      ASSERT_EQ(fromRows[i].nearSound, fromGroups[i].nearSound) << i;
    }
    if (fromRows.size() >= 100) ++screensFromGroups;
  }
  EXPECT_GE(screensFromGroups, 8);  // the inputs do reach the groups' path
  expectSameCappedLists();
}

// A group that is cut, or missing, or a directory that is damaged: the capped lists come from
// the whole rows and are the same; verify reports the stored rows as differing.
TEST_F(SoundGroups, DamagedGroupsHandOverToTheWholeRows) {
  const auto verified = [this] {
    std::string error;
    sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(storedDb().string(), false, error);
    const auto state = quorvi::dictbuild::checkSearchIndex(connection);
    sqlite3_close(connection);
    return state;
  };
  EXPECT_EQ(verified(), quorvi::dictbuild::StoredSearchRows::Matching);
  const std::string cut =
      "UPDATE dict_search_index SET data = substr(data, 1, length(data) - 3)"
      " WHERE block = " +
      std::to_string(quorvi::engine::soundGroupKey(2));
  execute(cut.c_str());
  EXPECT_EQ(verified(), quorvi::dictbuild::StoredSearchRows::Differing);
  expectSameCappedLists();
  const std::string missing = "DELETE FROM dict_search_index WHERE block = " +
                              std::to_string(quorvi::engine::soundGroupKey(1));
  execute(missing.c_str());
  expectSameCappedLists();
  execute("UPDATE dict_search_index SET data = x'00' WHERE block = -1");
  expectSameCappedLists();
}

// Counts in the stored rows past what the stored blocks hold are not believed, as memory is
// laid out by them: a directory naming 2^32 - 1 rows made every capped search allocate half a
// gigabyte, and a catalog of 2^26 rows in one small block reserved a gigabyte. The searches
// hand over to the whole rows and answer the same.
TEST_F(SoundGroups, CountsPastTheStoredRowsAreRefused) {
  const auto peakKiB = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
  };
  execute(
      "UPDATE dict_search_index SET data = substr(data, 1, 4) || x'ffffffff' || substr(data, 9)"
      " WHERE block = -1");
  {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    PhoneticIndex index;
    EXPECT_FALSE(index.openStored(engine.connection()));
  }
  const long before = peakKiB();
  expectSameCappedLists();
  EXPECT_LT(peakKiB() - before, 256 * 1024) << "KiB more at the peak";

  execute(
      "UPDATE dict_search_index SET data = substr(data, 1, 4) || x'00000004' || x'00000004'"
      " || substr(data, 13) WHERE block = 0");
  execute("DELETE FROM dict_search_index WHERE block > 1");
  {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    PhoneticIndex index;
    EXPECT_FALSE(index.openStored(engine.connection()));
  }
  expectSameCappedLists();

  quorvi::engine::SoundGroupDirectory directory;
  directory.indexRows = 10;
  directory.groupRows[3] = 4;
  EXPECT_TRUE(directory.parse(directory.serialise(), 10));
  EXPECT_FALSE(directory.parse(directory.serialise(), 9));
  EXPECT_FALSE(directory.parse(directory.serialise(), 11));
}

// What a group accepts: rows in rising order within the index, headwords no later than their
// rows, and codes holding the group's sound count.
TEST(SoundCountGroup, ParsesOnlyWhatItsCountAndIndexAllow) {
  using quorvi::engine::SoundCountGroup;
  SoundCountGroup group;
  group.append(3, 3, true, "k'At");
  group.append(9, 3, false, "kAt");
  const std::string image = group.serialise(3);
  SoundCountGroup read;
  ASSERT_TRUE(read.parse(image, 3, 2, 10));
  EXPECT_EQ(read.codes(0), "k'At");
  EXPECT_EQ(read.codes(1), "kAt");
  EXPECT_EQ(read.row(1), 9u);
  EXPECT_FALSE(read.isPlainWord(1));
  EXPECT_FALSE(read.parse(image, 2, 2, 10));  // another count
  EXPECT_FALSE(read.parse(image, 3, 3, 10));  // another size
  EXPECT_FALSE(read.parse(image, 3, 2, 9));   // a row past the index
  EXPECT_FALSE(read.parse(image.substr(0, image.size() - 1), 3, 2, 10));
  EXPECT_EQ(read.size(), 0u);

  const auto refused = [](std::uint32_t first, std::uint32_t second, std::uint32_t headword,
                          const char* codes) {
    SoundCountGroup bad;
    bad.append(first, first, true, "kAt");
    bad.append(second, headword, true, codes);
    SoundCountGroup parsed;
    return !parsed.parse(bad.serialise(3), 3, 2, 100);
  };
  EXPECT_FALSE(refused(1, 2, 1, "kAt"));
  EXPECT_TRUE(refused(2, 2, 2, "kAt"));   // not rising
  EXPECT_TRUE(refused(1, 2, 5, "kAt"));   // headword after its row
  EXPECT_TRUE(refused(1, 2, 1, "kA"));    // two sounds in the group of three
  EXPECT_TRUE(refused(1, 2, 1, "k\nt"));  // not a sound code
}
