// The rows the builder stores grouped by sound count, and the one store of rows the engine reads
// them into: a learner's search answers alike before the store is complete (reading only the
// groups it needs), after it, while the read-ahead runs, and from a dictionary whose stored
// rows are gone (made from the table's rows); damaged or hostile stored rows never crash or
// mislead it; verify notices stored rows that differ from the table's.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>

#include <optional>
#include <random>
#include <span>
#include <vector>

#include "dict_store.h"
#include "search_index_writer.h"
#include "stored_dictionary.h"
#include "engine/closest_match.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "engine/row_store.h"
#include "engine/sound_alignment.h"
#include "engine/sound_code.h"
#include "engine/sound_count_groups.h"
#include "engine/table_sound_groups.h"
#include "tests/engine/test_dictionary.h"

namespace fs = std::filesystem;
using quorvi::testing::DictionaryRow;

namespace {

// Short and long transcriptions in every kind of stored text the search meets, so that short
// inputs fill a screen from the shortest rows while longer ones need near-sound rows; plain
// words the headwords of many rows far apart.
std::vector<DictionaryRow> mixedRows() {
  const char* pieces[] = {"k",      "t",      "&#230;",  "&#643;", "&#720;",       "i", "e",
                          "&#601;", "s",      "p",       "l",      "&#712;",       "n", "&#952;",
                          "&#618;", "&#652;", "m",       "d",      "\xc3\xa9",     "K", "&#64",
                          "&",      ";",      "&#6430;", "ei",     "\xe2\x84\xaa", "u"};
  std::mt19937 rng(5);
  std::vector<DictionaryRow> rows;
  for (int i = 0; i < 12000; ++i) {
    std::string phonetic;
    for (int n = std::uniform_int_distribution<int>(1, 12)(rng); n > 0; --n)
      phonetic += pieces[std::uniform_int_distribution<int>(0, std::size(pieces) - 1)(rng)];
    // Built step by step: GCC 12 warns falsely of overlap on "ab" + std::string(...).
    std::string caption = std::to_string(i);
    caption.insert(0, 1, 'W');
    if (i % 50 == 0) caption.append("\xc3\xa9");
    if (i % 4 == 0) {
      caption = "ab";
      caption.push_back(static_cast<char>('a' + i % 23));
    }
    rows.push_back({caption, phonetic, "x"});
  }
  // Every third row an American transcription, which mostly differs beyond the hearing classes.
  const char* american[] = {"k",  "t", "æ",  "ʃ", "iː", "ə",  "s",
                            "ɑː", "r", "oʊ", "ɚ", "ˈ",  "eɪ", "d"};
  std::mt19937 usRng(7);
  for (std::size_t i = 0; i < rows.size(); i += 3) {
    std::string ipa;
    for (int n = std::uniform_int_distribution<int>(1, 10)(usRng); n > 0; --n)
      ipa += american[std::uniform_int_distribution<int>(0, std::size(american) - 1)(usRng)];
    rows[i].american = ipa;
  }
  return rows;
}

const char16_t* const kInputs[] = {u"k",   u"t",   u"kæt", u"ʃ",     u"i:",    u"ˈk",  u"ə",
                                   u"sp",  u"tʃ",  u"ɪ",   u"ʌm",    u"kæʃ",   u"θəd", u"lnm",
                                   u"pɪt", u"dɪs", u"mʌl", u"kæʃəm", u"ʃʃʃʃʃ", u"e",   u"kei"};

struct Lists {
  std::vector<std::vector<std::string>> words;
  std::vector<HeadwordList::Index> nearSoundFrom;
  bool operator==(const Lists&) const = default;
};

// The first list that differs, for the failure message.
[[maybe_unused]] void PrintTo(const Lists& lists, std::ostream* out) {
  *out << lists.words.size() << " lists";
  for (std::size_t i = 0; i < lists.words.size(); ++i) {
    *out << (i % 2 == 0 ? "\n" : " | ");
    for (std::size_t w = 0; w < std::min<std::size_t>(4, lists.words[i].size()); ++w)
      *out << (w == 0 ? "" : " ") << lists.words[i][w];
    *out << " (" << lists.words[i].size() << ", near from " << lists.nearSoundFrom[i] << ")";
  }
}

// Every input, capped and not, from `search`; `fresh` makes a new search (nothing read yet)
// for each capped input.
Lists listsOf(PhoneticDictionary& engine, bool fresh, bool readAhead = false) {
  Lists lists;
  std::optional<LearnerSearch> search(std::in_place, engine);
  if (readAhead) search->prepareRows();
  for (const char16_t* typed : kInputs)
    for (int limitMode : {0, 1}) {
      if (fresh && limitMode == 0) {
        search.emplace(engine);
        if (readAhead) search->prepareRows();
      }
      const SearchOutcome outcome = search->bySound(typed, limitMode);
      EXPECT_FALSE(outcome.incomplete) << QString::fromStdU16String(typed).toStdString();
      lists.words.push_back(outcome.words.all());
      lists.nearSoundFrom.push_back(outcome.nearSoundFrom);
    }
  return lists;
}

class StoredRows : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_ = mixedRows();
    quorvi::testing::layOutPlainAndStored(plain_.path(), stored_.path(), rows_);
  }
  fs::path storedDb() const { return stored_.path() / "dict" / "words.db"; }

  void execute(const std::string& sql) {
    std::string error;
    sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(storedDb().string(), true, error);
    ASSERT_NE(connection, nullptr) << error;
    EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(connection);
  }
  quorvi::dictbuild::StoredSearchRows verified() {
    std::string error;
    sqlite3* connection = quorvi::dictbuild::openKeyedDatabase(storedDb().string(), false, error);
    const auto state = quorvi::dictbuild::checkSearchIndex(connection);
    sqlite3_close(connection);
    return state;
  }
  // The lists of the table's rows alone (no stored rows: the store makes its groups from them).
  Lists tableLists() {
    quorvi::testing::WorkingDirectory cwd(plain_.path());
    PhoneticDictionary engine;
    return listsOf(engine, false);
  }

  std::vector<DictionaryRow> rows_;
  quorvi::testing::TemporaryFolder plain_;
  quorvi::testing::TemporaryFolder stored_;
};

}  // namespace

// The same lists before the store is complete (each capped search on a fresh store reads only
// the groups it needs), after it, with the read-ahead running beside the searches, and from
// the table's rows.
TEST_F(StoredRows, SearchesBeforeAndAfterTheStoreIsCompleteListAlike) {
  EXPECT_EQ(verified(), quorvi::dictbuild::StoredSearchRows::Matching);
  const Lists fromTable = tableLists();
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary engine;
  int screens = 0;
  for (const std::vector<std::string>& words : fromTable.words) screens += words.size() >= 100;
  EXPECT_GE(screens, 16);  // the inputs fill screens, so the capped searches stop early

  {
    // A capped search reads only the groups it needs: the store is not complete after it, and
    // its ranking is the complete store's.
    const auto store = quorvi::engine::RowStore::open(engine.connection());
    const sound::TypedSounds typed(sound::fromSymbols(u"k\u00E6t"));
    ScoredRows before, after;
    ASSERT_TRUE(rankRows(*store, {typed, false, 100}, before));
    EXPECT_FALSE(store->complete());
    ASSERT_TRUE(store->readAll());
    ASSERT_TRUE(rankRows(*store, {typed, false, 100}, after));
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(before[i].key, after[i].key);
      EXPECT_EQ(before[i].placeAndNear, after[i].placeAndNear);
    }
    store->close();
  }
  EXPECT_EQ(listsOf(engine, true), fromTable);
  EXPECT_EQ(listsOf(engine, false), fromTable);
  EXPECT_EQ(listsOf(engine, true, true), fromTable);
  LearnerSearch complete(engine);
  ASSERT_NE(complete.spellingRows(), nullptr);
  EXPECT_TRUE(complete.spellingRows()->complete());
}

// The store holds every row once, under its own sound count, in table order within a count,
// with its own transcription's tokens and kinds and its headword's text.
TEST_F(StoredRows, TheStoreHoldsEachRowOnceWithItsOwnSounds) {
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary engine;
  LearnerSearch search(engine);
  const std::shared_ptr<const quorvi::engine::RowStore> store = search.spellingRows();
  ASSERT_NE(store, nullptr);
  ASSERT_EQ(store->rowCount(), rows_.size());
  for (std::uint32_t row = 0; row < store->rowCount(); ++row) {
    const quorvi::engine::RowStore::Row stored = store->rowInTable(row);
    ASSERT_EQ(stored.group->row(stored.index), row);
    ASSERT_EQ(stored.caption(), *rows_[row].caption) << row;
    const std::vector<std::uint8_t> own = [&] {
      std::uint8_t tokens[sound::TypedSounds::kMaxRow];
      const std::size_t n = std::min(sound::tokenize(sound::fromStored(*rows_[row].phonetic),
                                                     tokens, sound::TypedSounds::kMaxRow),
                                     sound::TypedSounds::kMaxRow);
      return std::vector<std::uint8_t>(tokens, tokens + n);
    }();
    const auto tokens = stored.group->tokens(stored.index);
    ASSERT_EQ(std::vector<std::uint8_t>(tokens.begin(), tokens.end()), own) << row;
    ASSERT_EQ(stored.group,
              store->group(quorvi::engine::soundCount(own), quorvi::engine::bandOf(row)))
        << row;
  }
  // A repeated plain word has the row of its first spelling for headword.
  const quorvi::engine::RowStore::Row again = store->rowInTable(92);  // "aba" again
  EXPECT_EQ(again.group->headword(again.index), 0u);
  EXPECT_TRUE(again.group->isPlainWord(again.index));
  const quorvi::engine::RowStore::Row name = store->rowInTable(1);  // "W1"
  EXPECT_FALSE(name.group->isPlainWord(name.index));
  // A row's American entry: its row, headword and kind of word, no text of its own, and the
  // place of its British entry, whose text it shares.
  std::size_t americanEntries = 0;
  for (int count = 0; count <= quorvi::engine::kMaxSoundCount; ++count)
    for (int band = 0; band < store->bands(); ++band) {
      const quorvi::engine::SoundCountGroup& group = *store->group(count, band);
      for (std::size_t i = 0; i < group.size(); ++i) {
        if (!group.isAmerican(i)) continue;
        ++americanEntries;
        const quorvi::engine::RowStore::Row british = store->rowInTable(group.row(i));
        ASSERT_TRUE(rows_[group.row(i)].american) << group.row(i);
        EXPECT_EQ(group.britishPlace(i), store->placeInTable(group.row(i)));
        EXPECT_EQ(group.headword(i), british.group->headword(british.index));
        EXPECT_EQ(group.isPlainWord(i), british.group->isPlainWord(british.index));
        EXPECT_EQ(group.caption(i), "");
      }
    }
  EXPECT_GT(americanEntries, rows_.size() / 4);
  EXPECT_LE(americanEntries, rows_.size() / 3 + 1);
}

// Only American sounds from a source that an American hearing of the British ones (the r after
// a vowel, LOT, GOAT, the dropped yod, the flap) would not give make an entry: not those
// espeak-ng made.
TEST(AmericanEntries, OnlySoundsBeyondTheHearingClassesMakeOne) {
  quorvi::testing::TemporaryFolder folder;
  ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(
                folder.path(), {{"border", "&#712;b&#596;&#720;d&#601;", "n.", "ˈbɔːrdər"},
                                {"potter", "&#712;p&#596;t&#601;", "n.", "ˈpɑːdər"},
                                {"stupid", "&#712;stju&#720;pid", "adj.", "ˈstuːpɪd"},
                                {"pillow", "&#712;pil&#601;u", "n.", "ˈpɪloʊ"},
                                {"lever", "&#712;li&#720;v&#601;", "n.", "ˈlevər"},
                                {"fragile", "&#712;fr&#230;d&#658;ail", "adj.", "ˈfrædʒəl"},
                                {"mauve", "m&#601;uv", "adj."},
                                {"sloth", "sl&#601;u&#952;", "n.", "ˈslɑːθ"}}),
            "");
  std::string error;
  sqlite3* db = quorvi::dictbuild::openKeyedDatabase((folder.path() / "dict" / "words.db").string(),
                                                     true, error);
  ASSERT_NE(db, nullptr) << error;
  ASSERT_EQ(sqlite3_exec(db, "UPDATE dict_word SET w_us_by_machine = 1 WHERE w_caption = 'sloth'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  quorvi::testing::WorkingDirectory cwd(folder.path());
  PhoneticDictionary engine;
  quorvi::engine::SoundGroups groups;
  ASSERT_TRUE(quorvi::engine::makeSoundGroups(engine.connection(), groups));
  EXPECT_EQ(groups.directory.tableRows, 8u);
  EXPECT_EQ(groups.directory.americanRows, 2u);  // lever and fragile
}

// Rows changed after the build empty the stored rows (their triggers): the store is then made
// from the table's rows, whatever time the REGEXP module has left (on a slow machine the
// decryption of every page had spent its second), and the lists are the stored ones.
TEST_F(StoredRows, RowsChangedAfterTheBuildAreMadeFromTheTable) {
  const Lists stored = [&] {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    return listsOf(engine, false);
  }();
  execute("UPDATE dict_head SET w_phonetic = w_phonetic WHERE id = 3");
  EXPECT_EQ(verified(), quorvi::dictbuild::StoredSearchRows::Absent);
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary engine;
  const auto exhausted = [](sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_error(context,
                         "regexp: pattern too costly, the search used up its time of matching", -1);
  };
  ASSERT_EQ(sqlite3_create_function(engine.connection(), "regexp", 2, SQLITE_UTF8, nullptr,
                                    exhausted, nullptr, nullptr),
            SQLITE_OK);
  EXPECT_EQ(listsOf(engine, true, true), stored);
}

// A cut or missing group: the searches that need it say that they fell back to the plain
// statement, whose rows they list; verify reports the stored rows as differing. A damaged
// directory is no stored rows: the table's rows answer.
TEST_F(StoredRows, DamagedGroupsFallBackToTheStatementAndSaySo) {
  execute("UPDATE dict_search_index SET data = substr(data, 1, length(data) - 3) WHERE block = " +
          std::to_string(quorvi::engine::soundGroupKey(3, 0)));
  EXPECT_EQ(verified(), quorvi::dictbuild::StoredSearchRows::Differing);
  {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    LearnerSearch search(engine);
    const SearchOutcome outcome = search.bySound(u"k\u00E6t", 0);
    EXPECT_TRUE(outcome.incomplete);
    engine.searchByPhonetic(u"k\u00E6t", 0);
    QStringList statement = engine.getResults();
    statement.removeDuplicates();
    ASSERT_EQ(outcome.words.size(), statement.size());
    for (qsizetype i = 0; i < statement.size(); ++i)
      EXPECT_EQ(outcome.words.at(i), statement[i].toStdString());
    EXPECT_EQ(search.spellingRows(), nullptr);
    EXPECT_FALSE(search.bySpelling("ab", 0).words.isEmpty());
  }
  execute("DELETE FROM dict_search_index WHERE block = " +
          std::to_string(quorvi::engine::soundGroupKey(3, 0)));
  {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    LearnerSearch search(engine);
    EXPECT_TRUE(search.bySound(u"k\u00E6t", 1).incomplete);
  }
  execute("UPDATE dict_search_index SET data = x'00' WHERE block = -1");
  const Lists fromTable = tableLists();
  quorvi::testing::WorkingDirectory cwd(stored_.path());
  PhoneticDictionary engine;
  EXPECT_EQ(listsOf(engine, false), fromTable);
}

// Counts in the stored rows past what their bytes can hold are not believed, as memory is laid
// out by them: a directory naming 2^32 - 1 rows made every search allocate gigabytes. Such a
// directory is no stored rows; the table's rows answer the same.
TEST_F(StoredRows, CountsPastTheStoredBytesAreRefused) {
  const auto peakKiB = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
  };
  const Lists fromTable = tableLists();
  execute(
      "UPDATE dict_search_index SET data = substr(data, 1, 4) || x'ffffffff' || substr(data, 9)"
      " WHERE block = -1");
  const long before = peakKiB();
  {
    quorvi::testing::WorkingDirectory cwd(stored_.path());
    PhoneticDictionary engine;
    EXPECT_EQ(listsOf(engine, false), fromTable);
  }
  EXPECT_LT(peakKiB() - before, 256 * 1024) << "KiB more at the peak";

  quorvi::engine::SoundGroupDirectory directory(2000);
  directory.rowsOf(3, 0) = 1500;
  directory.rowsOf(5, 1) = 500;
  const double enough = 2000 * quorvi::engine::SoundGroupDirectory::kFixedRowBytes;
  EXPECT_TRUE(directory.parse(directory.serialise(), enough));
  EXPECT_EQ(directory.bands, 2);
  EXPECT_FALSE(directory.parse(directory.serialise(), enough - 1));
  directory.tableRows = 2001;  // more rows than the groups hold
  EXPECT_FALSE(directory.parse(directory.serialise(), 2 * enough));
  quorvi::engine::SoundGroupDirectory fewerBands(2000);
  fewerBands.bands = 1;  // 2000 rows take two bands
  fewerBands.groupRows.resize(256);
  fewerBands.groupRows[3] = 2000;
  EXPECT_FALSE(fewerBands.parse(fewerBands.serialise(), 2 * enough));
}

// What a group accepts: rows in rising order within the table, headwords no later than their
// rows, and tokens that are sounds adding up to the group's count.
TEST(SoundCountGroup, ParsesOnlyWhatItsCountAndTableAllow) {
  using quorvi::engine::SoundCountGroup;
  using quorvi::engine::SoundGroupWriter;
  const std::uint8_t cat[] = {sound::kK, sound::kAe, sound::kT};
  const std::uint8_t cart[] = {sound::kK, sound::kA | sound::kLongToken, sound::kT};
  SoundGroupWriter group;
  group.append(3, 3, true, cat, "cat");
  group.append(9, 3, false, cart, "cart");
  const std::string image = group.serialise(3);
  SoundCountGroup read;
  ASSERT_TRUE(read.parse(image, 3, 0, 2, 10));
  EXPECT_EQ(read.caption(1), "cart");
  EXPECT_EQ(read.tokens(1)[1], sound::kA | sound::kLongToken);
  EXPECT_EQ(read.row(1), 9u);
  EXPECT_FALSE(read.isPlainWord(1));
  EXPECT_FALSE(read.parse(image, 2, 0, 2, 10));  // another count
  EXPECT_FALSE(read.parse(image, 3, 1, 2, 10));  // another band
  EXPECT_FALSE(read.parse(image, 3, 0, 3, 10));  // another size
  EXPECT_FALSE(read.parse(image, 3, 0, 2, 9));   // a row past the table
  EXPECT_FALSE(read.parse(image.substr(0, image.size() - 1), 3, 0, 2, 10));
  EXPECT_EQ(read.size(), 0u);

  const auto refused = [&](std::uint32_t second, std::uint32_t headword,
                           std::vector<std::uint8_t> tokens) {
    SoundGroupWriter bad;
    bad.append(1, 1, true, cat, "cat");
    bad.append(second, headword, true, tokens, "x");
    SoundCountGroup parsed;
    return !parsed.parse(bad.serialise(3), 3, 0, 2, 100);
  };
  EXPECT_FALSE(refused(2, 1, {sound::kK, sound::kAe, sound::kT}));
  EXPECT_TRUE(refused(1, 1, {sound::kK, sound::kAe, sound::kT}));  // not rising
  EXPECT_TRUE(refused(2, 5, {sound::kK, sound::kAe, sound::kT}));  // headword after its row
  EXPECT_TRUE(refused(2, 1, {sound::kK, sound::kAe}));             // two sounds in three's group
  EXPECT_TRUE(refused(2, 1, {sound::kK, sound::kEi}));             // a glide is one sound
  EXPECT_FALSE(refused(2, 1, {sound::kK, sound::kEi, sound::kT}));
  EXPECT_TRUE(refused(2, 1, {sound::kK, 0, sound::kT}));  // no sound
  EXPECT_TRUE(refused(2, 1, {sound::kK, sound::kT | sound::kLongToken, sound::kT}));
  EXPECT_TRUE(refused(2, 1, {sound::kK, 200, sound::kT}));

  // Only the last count's rows differ in length: its group says where each row's tokens end.
  constexpr int kLast = quorvi::engine::kMaxSoundCount;
  const std::vector<std::uint8_t> longest(sound::TypedSounds::kMaxRow, sound::kT);
  SoundGroupWriter last;
  last.append(1, 1, true, std::span(longest).first(kLast), "a");
  last.append(2, 2, true, longest, "b");
  ASSERT_TRUE(read.parse(last.serialise(kLast), kLast, 0, 2, 10));
  EXPECT_EQ(read.tokens(0).size(), static_cast<std::size_t>(kLast));
  EXPECT_EQ(read.tokens(1).size(), longest.size());
  EXPECT_EQ(read.caption(1), "b");
}
