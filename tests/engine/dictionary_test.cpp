#include <gtest/gtest.h>

#include <sqlite3.h>

#include <random>

#include <QtGlobal>

#include "codec/codec_vfs.h"

#include "engine/phonetic_dictionary.h"
#include "tests/engine/test_dictionary.h"

// Readable failure output for the toolkit's strings.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace fs = std::filesystem;
using quorvi::testing::DictionaryRow;

namespace {

QStringList capturedLines;

void captureMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
  capturedLines.append(message);
}

// Captures the debug lines written during its lifetime.
class DebugCapture {
 public:
  DebugCapture() {
    capturedLines.clear();
    previous_ = qInstallMessageHandler(captureMessage);
  }
  ~DebugCapture() { qInstallMessageHandler(previous_); }
  const QStringList& lines() const { return capturedLines; }

 private:
  QtMessageHandler previous_;
};

const QString kInitError = QStringLiteral("initDB(): Error");
const QString kLoadError =
    QStringLiteral("sqlite3_load_extension(sqliteDB_, \"./regexp.dll\", 0, 0): Error");

QStringList strings(std::initializer_list<const char*> texts) {
  QStringList list;
  for (const char* text : texts) list.append(QString::fromUtf8(text));
  return list;
}

class Dictionary : public ::testing::Test {
 protected:
  // Lays out the folder with `rows` and opens an engine in it.
  void open(const std::vector<DictionaryRow>& rows, bool withRegexp = true) {
    ASSERT_EQ(quorvi::testing::layOutRuntimeFolder(folder_.path(), rows, withRegexp), "");
    cwd_.emplace(folder_.path());
    engine_.emplace();
  }
  std::vector<DictionaryRow> manyCats(int count) {
    std::vector<DictionaryRow> rows;
    for (int i = 0; i < count; ++i)
      rows.push_back({"cat" + std::to_string(i), "k&#230;t" + std::to_string(i % 7), "n."});
    return rows;
  }

  quorvi::testing::TemporaryFolder folder_;
  std::optional<quorvi::testing::WorkingDirectory> cwd_;
  std::optional<PhoneticDictionary> engine_;
};

TEST_F(Dictionary, SearchBySoundCapsTheTypingPathAndKeepsTheEngineOrder) {
  auto rows = manyCats(150);
  rows.insert(rows.begin() + 10, {"dog", "d&#596;g", "n."});
  open(rows);
  ASSERT_TRUE(engine_->isOpen());

  engine_->searchByPhonetic(u"k\u00E6t", 0);
  ASSERT_EQ(engine_->getResults().size(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(engine_->getResults()[i], QString("cat%1").arg(i));

  engine_->searchByPhonetic(u"k\u00E6t", 1);
  ASSERT_EQ(engine_->getResults().size(), 150);
  EXPECT_EQ(engine_->getResults().back(), "cat149");
  EXPECT_EQ(engine_->lastError(), "");

  // Rejected input empties a list an earlier call had filled.
  engine_->searchByPhonetic(u"k\u00E6t ", 1);
  EXPECT_TRUE(engine_->getResults().isEmpty());
  engine_->searchByPhonetic(u"", 0);
  EXPECT_TRUE(engine_->getResults().isEmpty());
}

TEST_F(Dictionary, SearchBySoundMatchesTheSymbolsInOrderWithAnythingBetween) {
  open(quorvi::testing::sampleRows());
  engine_->searchByPhonetic(u"igz\u0251:mpl", 0);
  EXPECT_EQ(engine_->getResults(), strings({"example", "exampling"}));
  engine_->searchByPhonetic(u"\u026A\u0261\u02C8z\u0251\u02D0mpl", 1);
  EXPECT_TRUE(engine_->getResults().isEmpty());  // "ɪ" is stored as "&#618;", not "i"
  engine_->searchByPhonetic(u"l\u028Cn", 1);
  EXPECT_EQ(engine_->getResults(), strings({"London"}));
  engine_->searchByPhonetic(u"t\u0283t\u0283", 1);
  EXPECT_EQ(engine_->getResults(), strings({"church"}));
  engine_->searchByPhonetic(u"k\u00E6f", 1);
  EXPECT_EQ(engine_->getResults(), strings({"caf\u00e9"}));
}

// Headwords of the search statement itself, run on a connection of its own.
QStringList statementResults(const fs::path& db, const std::string& pattern, bool capped) {
  quorvi::codec::registerCodecVfs();
  sqlite3* connection = nullptr;
  QStringList rows;
  sqlite3_open_v2(db.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_key(connection, quorvi::testing::kDictionaryPassphrase,
              sizeof quorvi::testing::kDictionaryPassphrase - 1);
  sqlite3_enable_load_extension(connection, 1);
  sqlite3_load_extension(connection, quorvi::testing::regexpModulePath().c_str(), nullptr, nullptr);
  sqlite3_stmt* statement = nullptr;
  const std::string sql = std::string("SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?") +
                          (capped ? " LIMIT 100" : "");
  if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
    sqlite3_bind_text(statement, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(statement) == SQLITE_ROW)
      rows.append(
          QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
  }
  sqlite3_finalize(statement);
  sqlite3_close(connection);
  return rows;
}

// Searches by sound answer from memory; they must give what the statement gives, row for row,
// also for stored text outside the usual notation.
TEST_F(Dictionary, SearchBySoundAgreesWithItsStatement) {
  const char* pieces[] = {"k",        "K",       "t",
                          "&#230;",   "&#643;",  "&#720;",
                          "&#609;",   "i",       "e",
                          "&#601;",   "&#593;",  "s",
                          "z",        "T",       "&#64",
                          "&",        "#",       ";",
                          "&#",       "&#6430;", "\xe2\x84\xaa" /* Kelvin sign, folds to k */,
                          "\xc3\xa9", "\n",      "\xff",
                          "&#712;",   "p",       "l",
                          "m",        "n",       "&#952;"};
  std::mt19937 rng(7);
  std::vector<DictionaryRow> rows;
  for (int i = 0; i < 3000; ++i) {
    std::string phonetic;
    for (int n = std::uniform_int_distribution<int>(1, 9)(rng); n > 0; --n)
      phonetic += pieces[std::uniform_int_distribution<int>(0, std::size(pieces) - 1)(rng)];
    DictionaryRow row{std::string("w").append(std::to_string(i)), phonetic, "x"};
    if (i % 97 == 5) row.phonetic.reset();
    if (i % 89 == 3) row.caption.reset();
    rows.push_back(row);
  }
  open(rows);
  const fs::path db = folder_.path() / "dict" / "words.db";
  const std::u16string inputs[] = {u"k",  u"kt",  u"kæt", u"tʃ", u"i:", u"ɡiː", u"θ",    u"ks",
                                   u"əe", u"mnl", u"pkæ", u"ˈk", u"ss", u"aa",  u"tkʃæə"};
  for (const std::u16string& input : inputs) {
    const std::string pattern = PhoneticDictionary::buildPhoneticPattern(input);
    for (int limitMode : {0, 1}) {
      engine_->searchByPhonetic(input, limitMode);
      EXPECT_EQ(engine_->getResults(), statementResults(db, pattern, limitMode == 0))
          << pattern << " limitMode " << limitMode;
    }
  }
}

TEST_F(Dictionary, SearchBySpellingIsUtf8CaseInsensitiveAndCapped) {
  auto rows = manyCats(120);
  rows.push_back({"caf\u00e9", "k&#230;fei", "n."});
  rows.push_back({"London", "l&#652;nd&#601;n", "n."});
  rows.push_back({std::nullopt, "k&#230;t", "n."});
  open(rows);

  engine_->searchByCaption("cat", 0);
  EXPECT_EQ(engine_->getResults().size(), 100);
  engine_->searchByCaption("^cat1", 1);
  EXPECT_EQ(engine_->getResults().size(), 31);  // cat1, cat10..19, cat100..119
  engine_->searchByCaption("london", 0);
  EXPECT_EQ(engine_->getResults(), strings({"London"}));
  engine_->searchByCaption("caf\u00e9$", 0);
  EXPECT_EQ(engine_->getResults(), strings({"caf\u00e9"}));
  engine_->searchByCaption("CAF\u00c9", 0);
  EXPECT_EQ(engine_->getResults(), strings({"caf\u00e9"}));
  engine_->searchByCaption("^caf.$", 0);
  EXPECT_EQ(engine_->getResults(), strings({"caf\u00e9"}));

  // A NULL headword whose transcription matches arrives as an empty string.
  engine_->searchByPhonetic(u"k\u00E6t", 1);
  ASSERT_EQ(engine_->getResults().size(), 121);
  EXPECT_EQ(engine_->getResults().back(), "");
}

TEST_F(Dictionary, TypedTextIsNeverReadAsSql) {
  auto rows = quorvi::testing::sampleRows();
  rows.push_back({"say \"hi\"", "sei", "v. greet"});
  open(rows);

  // A column name is a pattern like any other: it matches no headword.
  engine_->searchByCaption("w_caption", 1);
  EXPECT_TRUE(engine_->getResults().isEmpty());
  EXPECT_EQ(engine_->lastError(), "");
  // A quote neither breaks the statement nor opens it to a condition of its own.
  engine_->searchByCaption("x\" OR 1=1 OR \"", 1);
  EXPECT_TRUE(engine_->getResults().isEmpty());
  EXPECT_EQ(engine_->lastError(), "");
  engine_->searchByCaption("\"hi\"", 1);
  EXPECT_EQ(engine_->getResults(), strings({"say \"hi\""}));
  EXPECT_EQ(engine_->entryText("say \"hi\"").size(), 3);
  EXPECT_TRUE(engine_->entryText("\" OR 1=1 OR \"").isEmpty());
}

TEST_F(Dictionary, EntryLinesDecodeTheTranscriptionAndBreakTheExplanation) {
  open({
      {"example", "i&#609;&#712;z&#593;&#720;mpl", "n. an instance<br/>a model<br/>v. show"},
      {"odd", "&#7424;d&#601", "a<br>b<BR/>c<br />d<b>e</b>"},
      {"lead", "li&#720;d", "v. to guide"},
      {"lead", "led", "n. a metal"},
      {"blank", std::nullopt, std::nullopt},
      {"caf\u00e9", "k&#230;fei", "n. a small restaurant"},
  });
  EXPECT_EQ(engine_->entryText("example"), strings({"example", "[i\u0261\u02C8z\u0251\u02D0mpl]",
                                                    "n. an instance\na model\nv. show"}));
  EXPECT_EQ(engine_->entryText("odd"),
            strings({"odd", "[&#7424;d&#601]", "a<br>b<BR/>c<br />d<b>e</b>"}));
  EXPECT_EQ(engine_->entryText("lead"),
            strings({"lead", "[li\u02D0d]", "v. to guide", "lead", "[led]", "n. a metal"}));
  EXPECT_EQ(engine_->entryText("blank"), strings({"blank", "[]", ""}));
  EXPECT_EQ(engine_->entryText("caf\u00e9"),
            strings({"caf\u00e9", "[k\u00E6fei]", "n. a small restaurant"}));
  EXPECT_TRUE(engine_->entryText("Example").isEmpty());
  EXPECT_TRUE(engine_->entryText("example ").isEmpty());
}

TEST_F(Dictionary, EntryInAnyCaseTriesAnotherCaseOnlyWhenTheTypedOneHasNone) {
  open({
      {"No", "n&#601;u", "n. nobelium"},
      {"no", "n&#601;u", "adv. not"},
      {"Peggy", "pe&#609;i", "n. a given name"},
      {"NATO", "neit&#601;u", "n. a military alliance"},
      {"caf\u00e9", "k&#230;fei", "n. a small restaurant"},
  });
  EXPECT_EQ(engine_->entryTextInAnyCase("No").value(2), "n. nobelium");
  EXPECT_EQ(engine_->entryTextInAnyCase("NO").value(2), "adv. not");
  EXPECT_EQ(engine_->entryTextInAnyCase("peggy").value(0), "Peggy");
  EXPECT_EQ(engine_->entryTextInAnyCase("PEGGY").value(0), "Peggy");
  EXPECT_EQ(engine_->entryTextInAnyCase("nato").value(0), "NATO");
  EXPECT_EQ(engine_->entryTextInAnyCase("CAF\u00c9").value(0), "caf\u00e9");
  EXPECT_TRUE(engine_->entryTextInAnyCase("xylophone").isEmpty());
  EXPECT_TRUE(engine_->entryTextInAnyCase("").isEmpty());
}

TEST_F(Dictionary, MissingDictFolderLeavesTheEngineClosed) {
  cwd_.emplace(folder_.path());
  DebugCapture capture;
  {
    PhoneticDictionary engine;
    EXPECT_FALSE(engine.isOpen());
    engine.searchByPhonetic(u"k\u00E6t", 0);
    EXPECT_TRUE(engine.getResults().isEmpty());
    engine.searchByCaption("a", 1);
    EXPECT_TRUE(engine.getResults().isEmpty());
    EXPECT_TRUE(engine.entryText("example").isEmpty());
  }
  EXPECT_EQ(capture.lines(), QStringList{kInitError});
  EXPECT_FALSE(fs::exists(folder_.path() / "dict"));
}

TEST_F(Dictionary, MissingDictionaryFileIsNotCreated) {
  fs::create_directories(folder_.path() / "dict");
  cwd_.emplace(folder_.path());
  DebugCapture capture;
  PhoneticDictionary engine;
  EXPECT_FALSE(engine.isOpen());
  EXPECT_EQ(capture.lines(), QStringList{kInitError});
  EXPECT_FALSE(fs::exists(folder_.path() / "dict" / "words.db"));
}

TEST_F(Dictionary, WrongKeyOrForeignFileLeavesTheEngineClosed) {
  fs::create_directories(folder_.path() / "dict");
  const fs::path db = folder_.path() / "dict" / "words.db";
  cwd_.emplace(folder_.path());
  {
    ASSERT_EQ(quorvi::testing::writeDictionary(db, quorvi::testing::sampleRows(), "another key"),
              "");
    DebugCapture capture;
    PhoneticDictionary engine;
    EXPECT_FALSE(engine.isOpen());
    EXPECT_TRUE(engine.entryText("example").isEmpty());
    EXPECT_EQ(capture.lines(), QStringList{kInitError});
  }
  {
    std::FILE* file = std::fopen(db.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a dictionary at all, just some text in a file\n", file);
    std::fclose(file);
    DebugCapture capture;
    PhoneticDictionary engine;
    EXPECT_FALSE(engine.isOpen());
    EXPECT_EQ(capture.lines(), QStringList{kInitError});
  }
}

TEST_F(Dictionary, WithoutTheRegexpModuleOnlyEntryLookupsWork) {
  DebugCapture capture;
  open(quorvi::testing::sampleRows(), /*withRegexp=*/false);
  EXPECT_TRUE(engine_->isOpen());
  EXPECT_FALSE(engine_->hasRegexp());
  EXPECT_EQ(capture.lines(), QStringList{kLoadError});

  engine_->searchByPhonetic(u"k\u00E6t", 0);
  EXPECT_TRUE(engine_->getResults().isEmpty());
  EXPECT_NE(engine_->lastError(), "");
  engine_->searchByCaption("cat", 1);
  EXPECT_TRUE(engine_->getResults().isEmpty());
  EXPECT_EQ(engine_->entryText("cat").size(), 3);
  EXPECT_EQ(capture.lines().size(), 1);
}

TEST_F(Dictionary, RegexpErrorPartwayKeepsTheRowsFoundBeforeIt) {
  open({
      {"aa", "a", "x"},
      {"baa", "a", "x"},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "a", "x"},
      {"aaa", "a", "x"},
  });
  engine_->searchByCaption("(a+)+$", 1);
  EXPECT_EQ(engine_->getResults(), strings({"aa", "baa"}));
  EXPECT_TRUE(engine_->lastError().starts_with("regexp: ")) << engine_->lastError();

  engine_->searchByCaption("(unclosed", 0);
  EXPECT_TRUE(engine_->getResults().isEmpty());
  EXPECT_TRUE(engine_->lastError().starts_with("regexp: bad pattern")) << engine_->lastError();

  // The next query starts clean.
  engine_->searchByCaption("^aaa$", 0);
  EXPECT_EQ(engine_->getResults(), strings({"aaa"}));
  EXPECT_EQ(engine_->lastError(), "");
}

TEST_F(Dictionary, BacktrackingSearchBySoundStopsAtTheModulesBoundsOnBothPaths) {
  // A transcription that is not plain ASCII is matched by PCRE2 in memory, as by the module:
  // a run of "t" then "d" before "b" sends the pattern "t.*t.*...b.*d.*" through every way
  // of choosing the t's. Both the in-memory rows and the statement stop at the same bounds.
  std::string transcription = "&#230;" + std::string(4000, 't') +
                              "d\xC3\xA9"
                              "b";
  open({{"cat", "k&#230;t", "n."}, {"long", transcription, "x"}});
  const std::u16string typed = std::u16string(40, u't') + u"bd";
  for (int limitMode : {0, 1, 0}) {
    engine_->searchByPhonetic(typed, limitMode);
    EXPECT_TRUE(engine_->getResults().isEmpty());
    EXPECT_TRUE(engine_->lastError().starts_with("regexp: ")) << engine_->lastError();
  }
  // The stopped search leaves the in-memory rows in use for the next one.
  engine_->searchByPhonetic(u"kæt", 0);
  EXPECT_EQ(engine_->getResults(), strings({"cat"}));
  EXPECT_EQ(engine_->lastError(), "");
}

}  // namespace
