// The compact search rows the builder stores in the dictionary: an engine reading them answers
// searches by sound exactly as an engine reading the table's rows (whose answers the engine's
// own tests hold against the statement), also once the stored copy is damaged or stale.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <sqlite3.h>

#include <cstring>
#include <random>

#include "dict_store.h"
#include "search_index_writer.h"
#include "stored_dictionary.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "engine/phonetic_index.h"
#include "engine/sound_alignment.h"
#include "engine/sound_code.h"
#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;
using quorvi::testing::DictionaryRow;

namespace {

// Enough rows for several stored blocks, in every kind of stored text the search meets.
std::vector<DictionaryRow> mixedRows() {
  const char* pieces[] = {"k",      "K",      "t",       "&#230;",   "&#643;",
                          "&#720;", "&#609;", "i",       "e",        "&#601;",
                          "&#593;", "s",      "z",       "&#64",     "&",
                          "#",      ";",      "&#6430;", "\xc3\xa9", "\xe2\x84\xaa",
                          "&#712;", "p",      "l",       "m",        "n",
                          "&#952;"};
  std::mt19937 rng(11);
  std::vector<DictionaryRow> rows;
  for (int i = 0; i < 20000; ++i) {
    std::string phonetic;
    for (int n = std::uniform_int_distribution<int>(1, 9)(rng); n > 0; --n)
      phonetic += pieces[std::uniform_int_distribution<int>(0, std::size(pieces) - 1)(rng)];
    std::string caption = std::to_string(i);
    caption.insert(0, 1, 'w');
    if (i % 50 == 0) caption.append("\xc3\xa9");
    // Plain lower-case words, each the headword of many rows far apart.
    if (i % 3 == 0) caption = std::string("ab") + static_cast<char>('a' + (i / 3) % 26);
    rows.push_back({caption, phonetic, "x"});
  }
  return rows;
}

void execute(const fs::path& db, const char* sql) {
  std::string error;
  sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(db.string(), true, error);
  ASSERT_NE(connection, nullptr) << error;
  EXPECT_EQ(sqlite3_exec(connection, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(connection);
}

quorvi::dictbuild::StoredSearchRows checked(const fs::path& db) {
  std::string error;
  sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(db.string(), false, error);
  const auto state = quorvi::dictbuild::checkSearchIndex(connection);
  sqlite3_close(connection);
  return state;
}

class StoredSearchRows : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_ = mixedRows();
    quorvi::testing::layOutPlainAndStored(plain_.path(), stored_.path(), rows_);
  }
  fs::path storedDb() const { return stored_.path() / "dict" / "words.db"; }

  // Every input, capped and not, prepared ahead or read by the first search.
  void expectSameAnswers() {
    const std::u16string inputs[] = {u"k", u"kt", u"kæt", u"tʃ", u"i:", u"ɡiː",   u"θ",
                                     u"ə", u"ks", u"mnl", u"ˈk", u"ss", u"tkʃæə", u"ɪ"};
    // Not prepared, prepared whole, prepared for the learner (the pattern part read later).
    for (int prepared : {0, 1, 2}) {
      std::optional<quorvi::testing::WorkingDirectory> cwd(std::in_place, stored_.path());
      PhoneticDictionary fromStore;
      if (prepared != 0) fromStore.prepareSearchIndex(prepared == 2);
      cwd.reset();
      cwd.emplace(plain_.path());
      PhoneticDictionary fromRows;
      for (const std::u16string& input : inputs)
        for (int limitMode : {0, 1}) {
          fromStore.searchByPhonetic(input, limitMode);
          fromRows.searchByPhonetic(input, limitMode);
          EXPECT_EQ(fromStore.getResults(), fromRows.getResults())
              << PhoneticDictionary::buildPhoneticPattern(input) << " limitMode " << limitMode;
          EXPECT_EQ(fromStore.lastError(), "");
        }
    }
  }

  std::vector<DictionaryRow> rows_;
  quorvi::testing::TemporaryFolder plain_;
  quorvi::testing::TemporaryFolder stored_;
};

}  // namespace

TEST_F(StoredSearchRows, AnswerLikeTheTableRows) {
  EXPECT_EQ(checked(storedDb()), quorvi::dictbuild::StoredSearchRows::Matching);
  expectSameAnswers();
}

TEST_F(StoredSearchRows, DamagedBlocksOrCatalogHandOverToTheTable) {
  execute(storedDb(), "UPDATE dict_search_index SET data = substr(data, 1, 40) WHERE block = 2");
  EXPECT_EQ(checked(storedDb()), quorvi::dictbuild::StoredSearchRows::Differing);
  expectSameAnswers();
  // A catalog claiming billions of rows in blocks of one row.
  execute(storedDb(),
          "UPDATE dict_search_index SET data = CAST(x'51504333ffffffff01000000' ||"
          " substr(data, 13) AS BLOB) WHERE block = 0");
  expectSameAnswers();
  execute(storedDb(), "UPDATE dict_search_index SET data = x'00ff' WHERE block = 0");
  expectSameAnswers();
}

TEST_F(StoredSearchRows, EditedRowsDropTheStoredCopy) {
  execute(storedDb(),
          "UPDATE dict_head SET w_phonetic = 'zzz' WHERE id = 3;"
          "DELETE FROM dict_head WHERE id = 9000");
  execute(plain_.path() / "dict" / "words.db",
          "UPDATE dict_word SET w_phonetic = 'zzz' WHERE rowid = 3;"
          "DELETE FROM dict_word WHERE rowid = 9000");
  EXPECT_EQ(checked(storedDb()), quorvi::dictbuild::StoredSearchRows::Absent);
  expectSameAnswers();
}

// The rows the layers above the search read: every row, in the statement's order, with its
// headword and its transcription as stored, from the stored copy and from the table alike.
TEST_F(StoredSearchRows, RowAccessorsGiveTheTableRowsInOrder) {
  for (const fs::path& db : {storedDb(), plain_.path() / "dict" / "words.db"}) {
    std::string error;
    sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(db.string(), false, error);
    ASSERT_NE(connection, nullptr) << error;
    sqlite3_enable_load_extension(connection, 1);
    ASSERT_EQ(sqlite3_load_extension(connection, quorvi::testing::regexpModulePath().c_str(),
                                     nullptr, nullptr),
              SQLITE_OK);
    {
      PhoneticIndex index;
      ASSERT_TRUE(index.load(connection) && index.loadAllRows()) << db;
      ASSERT_EQ(index.rowCount(), rows_.size());
      for (size_t row = 0; row < rows_.size(); ++row) {
        ASSERT_EQ(index.caption(row), QString::fromStdString(*rows_[row].caption)) << row;
        ASSERT_EQ(index.transcription(row), *rows_[row].phonetic) << row;
      }
    }
    sqlite3_close(connection);
  }
}

// What the learner's search reads of each row: the stored copy holds exactly what the table's
// rows make, and the learner's lists are the same from either.
TEST_F(StoredSearchRows, LearnerRowsFromTheStoredCopyAreTheTableBuiltOnes) {
  std::shared_ptr<const PhoneticIndex> fromStore, fromRows;
  std::optional<quorvi::testing::WorkingDirectory> cwd(std::in_place, stored_.path());
  PhoneticDictionary storeEngine;
  storeEngine.prepareSearchIndex();
  fromStore = storeEngine.completeSearchIndex();
  cwd.reset();
  cwd.emplace(plain_.path());
  PhoneticDictionary rowsEngine;
  fromRows = rowsEngine.completeSearchIndex();
  ASSERT_TRUE(fromStore && fromRows);
  ASSERT_EQ(fromStore->rowCount(), fromRows->rowCount());
  for (size_t row = 0; row < fromRows->rowCount(); ++row) {
    ASSERT_EQ(fromStore->headword(row), fromRows->headword(row)) << row;
    ASSERT_EQ(fromStore->isPlainWord(row), fromRows->isPlainWord(row)) << row;
    ASSERT_EQ(fromStore->hasCaption(row), fromRows->hasCaption(row)) << row;
  }
  // Spot checks against the rows themselves: a repeated plain word groups under its first row.
  EXPECT_EQ(fromRows->headword(78), 0u);  // "aba" again
  EXPECT_TRUE(fromRows->isPlainWord(0));
  EXPECT_FALSE(fromRows->isPlainWord(1));  // "w1"
  for (int count = 0; count < 256; ++count) {
    const auto a = fromStore->soundStore().withCount(count);
    const auto b = fromRows->soundStore().withCount(count);
    ASSERT_TRUE(std::equal(a.rows.begin(), a.rows.end(), b.rows.begin(), b.rows.end())) << count;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const auto x = a.tokensOf(i), y = b.tokensOf(i);
      ASSERT_TRUE(std::equal(x.begin(), x.end(), y.begin(), y.end())) << count << " " << i;
    }
  }

  LearnerSearch storeSearch(storeEngine), rowsSearch(rowsEngine);
  for (const char16_t* typed : {u"k", u"kæt", u"tʃiː", u"ɡi", u"θə", u"mnl", u"pæs", u"ɪ"}) {
    const QString input = QString::fromStdU16String(typed);
    for (int limitMode : {0, 1}) {
      const SearchOutcome a = storeSearch.bySound(input, limitMode);
      const SearchOutcome b = rowsSearch.bySound(input, limitMode);
      EXPECT_EQ(a.words, b.words) << input.toStdString();
      EXPECT_EQ(a.nearSoundFrom, b.nearSoundFrom) << input.toStdString();
      EXPECT_EQ(a.reason, b.reason) << input.toStdString();
    }
  }
}

// The learner's store holds every row with a headword once, under its own sound count, in
// the table's order within a count, with its own transcription's tokens and kinds; and it is
// made alike whether the rows were read ahead on a thread (for the window) or by the first
// search.
TEST_F(StoredSearchRows, SoundStoreHoldsEachListedRowOnceWithItsOwnSounds) {
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary plainEngine, laidOutEngine;
  laidOutEngine.prepareSearchIndex(true);
  const std::shared_ptr<const PhoneticIndex> plain = plainEngine.completeSearchIndex();
  const std::shared_ptr<const PhoneticIndex> laidOut = laidOutEngine.completeSearchIndex();
  ASSERT_TRUE(plain && laidOut);
  while (!laidOutEngine.searchIndexReadAhead())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const quorvi::engine::SoundStore& store = laidOut->soundStore();
  std::vector<int> seen(laidOut->rowCount(), 0);
  std::size_t listed = 0;
  for (std::size_t row = 0; row < laidOut->rowCount(); ++row) listed += laidOut->hasCaption(row);
  ASSERT_EQ(store.size(), listed);
  ASSERT_GT(listed, 0u);
  for (int key = 0; key < 256; ++key) {
    const quorvi::engine::SoundStore::Count count = store.withCount(key);
    for (std::size_t i = 0; i < count.size(); ++i) {
      const std::uint32_t row = count.rows[i];
      ASSERT_TRUE(laidOut->hasCaption(row)) << row;
      const std::string codes = sound::fromStored(*rows_[row].phonetic);
      ASSERT_EQ(std::count_if(codes.begin(), codes.end(), [](char c) { return !sound::isMark(c); }),
                key)
          << row;
      if (i > 0) {
        ASSERT_LT(count.rows[i - 1], row) << key;
      }
      ++seen[row];
      std::uint8_t own[sound::TypedSounds::kMaxRow];
      const std::size_t n = std::min(sound::tokenize(codes, own, sound::TypedSounds::kMaxRow),
                                     sound::TypedSounds::kMaxRow);
      const auto tokens = count.tokensOf(i);
      ASSERT_EQ(std::vector<std::uint8_t>(own, own + n),
                std::vector<std::uint8_t>(tokens.begin(), tokens.end()))
          << key << " " << i;
      ASSERT_EQ(count.kinds[i], sound::kindsOf(own, n)) << key << " " << i;
    }
    const auto a = count.rows, b = plain->soundStore().withCount(key).rows;
    ASSERT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << key;
  }
  for (std::size_t row = 0; row < seen.size(); ++row)
    ASSERT_EQ(seen[row], laidOut->hasCaption(row) ? 1 : 0) << row;
  EXPECT_EQ(store.withCount(-1).size(), 0u);
  EXPECT_EQ(store.withCount(256).size(), 0u);
  LearnerSearch plainSearch(plainEngine), laidOutSearch(laidOutEngine);
  for (const char16_t* typed : {u"k", u"kæt", u"tʃiː", u"mnl", u"pæs", u"ɪ", u"sɪkstiːn"}) {
    const QString input = QString::fromStdU16String(typed);
    for (int limitMode : {0, 1}) {
      const SearchOutcome a = plainSearch.bySound(input, limitMode);
      const SearchOutcome b = laidOutSearch.bySound(input, limitMode);
      EXPECT_EQ(a.words, b.words) << input.toStdString();
      EXPECT_EQ(a.nearSoundFrom, b.nearSoundFrom) << input.toStdString();
    }
  }
}

// Any change to the rows empties the stored copy (its triggers), and the rows are then read
// from the table however little time the REGEXP module has left (on a slow machine the
// decryption of every page had spent its second): a learner's search answers as from the
// stored copy, never with the plain statement's unranked list.
TEST_F(StoredSearchRows, EmptiedStoredRowsAnswerAsTheStoredOnes) {
  const char16_t* const inputs[] = {u"k\u00E6t", u"\u026A", u"s", u"t\u0283", u"mnl"};
  std::vector<SearchOutcome> stored;
  {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    LearnerSearch search(engine);
    for (const char16_t* typed : inputs)
      for (int limitMode : {0, 1})
        stored.push_back(search.bySound(QString::fromStdU16String(typed), limitMode));
  }
  execute(storedDb(), "DELETE FROM dict_search_index");
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary engine;
  const auto exhausted = [](sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_error(context,
                         "regexp: pattern too costly, the search used up its time of matching", -1);
  };
  ASSERT_EQ(sqlite3_create_function(engine.connection(), "regexp", 2, SQLITE_UTF8, nullptr,
                                    exhausted, nullptr, nullptr),
            SQLITE_OK);
  LearnerSearch search(engine);
  std::size_t i = 0;
  for (const char16_t* typed : inputs)
    for (int limitMode : {0, 1}) {
      const QString input = QString::fromStdU16String(typed);
      const SearchOutcome outcome = search.bySound(input, limitMode);
      const SearchOutcome& expected = stored[i++];
      EXPECT_FALSE(expected.words.isEmpty()) << input.toStdString();
      EXPECT_EQ(outcome.words, expected.words) << input.toStdString() << " " << limitMode;
      EXPECT_EQ(outcome.nearSoundFrom, expected.nearSoundFrom) << input.toStdString();
      EXPECT_EQ(outcome.reason, expected.reason) << outcome.message;
      EXPECT_FALSE(outcome.incomplete);
    }
}

// A damaged stored block: the learner's rows are then built from the table, and are the same.
TEST_F(StoredSearchRows, LearnerRowsSurviveADamagedBlock) {
  execute(storedDb(), "UPDATE dict_search_index SET data = substr(data, 1, 40) WHERE block = 2");
  std::optional<quorvi::testing::WorkingDirectory> cwd(std::in_place, stored_.path());
  PhoneticDictionary storeEngine;
  storeEngine.prepareSearchIndex();
  LearnerSearch storeSearch(storeEngine);
  cwd.reset();
  cwd.emplace(plain_.path());
  PhoneticDictionary rowsEngine;
  LearnerSearch rowsSearch(rowsEngine);
  for (const char16_t* typed : {u"kæt", u"ɪ", u"s"}) {
    const QString input = QString::fromStdU16String(typed);
    const SearchOutcome a = storeSearch.bySound(input, 1);
    EXPECT_FALSE(a.words.isEmpty());
    EXPECT_EQ(a.words, rowsSearch.bySound(input, 1).words) << input.toStdString();
  }
}

// A block read part by part, in any order, is the block read whole; a part read twice is read
// once; a part of another image, or a cut image, is refused and leaves the part unread.
TEST(StoredSearchBlock, PartsReadApartMakeTheWholeBlock) {
  using namespace quorvi::engine;
  SymbolCatalog catalog;
  IndexBlock written;
  written.append("cat", "k&#230;t", catalog);
  written.append("Cat", "k&#230;t", catalog);
  written.append("cat", "k&#230;&#720;t", catalog);
  written.append("", "\xc3\xa9x", catalog);
  const std::string image = written.serialise();

  struct Source : BlockSource {
    std::string_view bytes;
    size_t size() const override { return bytes.size(); }
    bool read(void* to, size_t count, size_t offset) override {
      if (offset > bytes.size() || count > bytes.size() - offset) return false;
      std::memcpy(to, bytes.data() + offset, count);
      return true;
    }
  } source;
  source.bytes = image;
  IndexBlock parts(0);
  ASSERT_TRUE(parts.read(source, kCaptionPart, catalog));
  EXPECT_EQ(parts.parts(), unsigned{kCaptionPart});
  EXPECT_EQ(parts.caption(1), "Cat");
  ASSERT_TRUE(parts.read(source, kBlockParts, catalog));
  ASSERT_TRUE(parts.read(source, kPatternPart, catalog));
  EXPECT_EQ(parts.serialise(), image);
  EXPECT_EQ(parts.transcription(2, catalog), "k&#230;&#720;t");
  EXPECT_TRUE(parts.isRawText(3));

  IndexBlock other;
  other.append("dog", "d&#594;g", catalog);
  const std::string otherImage = other.serialise();
  IndexBlock mixed(0);
  ASSERT_TRUE(mixed.read(source, kCaptionPart, catalog));
  source.bytes = otherImage;
  EXPECT_FALSE(mixed.read(source, kPatternPart, catalog));
  EXPECT_EQ(mixed.parts(), unsigned{kCaptionPart});

  const std::string cut = image.substr(0, image.size() - 1);
  source.bytes = cut;
  IndexBlock short_(0);
  EXPECT_FALSE(short_.read(source, kCaptionPart, catalog));
  EXPECT_EQ(short_.parts(), 0u);
  // A symbol id the catalog does not know.
  SymbolCatalog fewer;
  source.bytes = image;
  IndexBlock unknown(0);
  EXPECT_FALSE(unknown.read(source, kPatternPart, fewer));
  EXPECT_EQ(unknown.parts(), 0u);
}
