#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace {

// An in-memory connection with the REGEXP module loaded.
class RegexpModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    sqlite3_enable_load_extension(db_, 1);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_load_extension(db_, QUORVI_REGEXP_MODULE, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    exec("CREATE TABLE t (v TEXT)");
  }
  void TearDown() override { sqlite3_close(db_); }

  void exec(const char* sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  }

  // Result of `value REGEXP pattern`; nullopt-like -1 when the statement failed, with the
  // message in lastError_.
  int matches(const char* pattern, const char* value, int valueBytes = -1) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT ? REGEXP ?", -1, &statement, nullptr) != SQLITE_OK)
      return -2;
    if (value) sqlite3_bind_text(statement, 1, value, valueBytes, SQLITE_TRANSIENT);
    if (pattern) sqlite3_bind_text(statement, 2, pattern, -1, SQLITE_TRANSIENT);
    int result = -1;
    if (sqlite3_step(statement) == SQLITE_ROW)
      result = sqlite3_column_int(statement, 0);
    else
      lastError_ = sqlite3_errmsg(db_);
    sqlite3_finalize(statement);
    return result;
  }

  sqlite3* db_ = nullptr;
  std::string lastError_;
};

TEST_F(RegexpModule, MatchesAnywhereIgnoringCase) {
  EXPECT_EQ(matches("lond", "London"), 1);
  EXPECT_EQ(matches("DON", "London"), 1);
  EXPECT_EQ(matches("^don", "London"), 0);
  EXPECT_EQ(matches("^london$", "LONDON"), 1);
  EXPECT_EQ(matches("i.*&#609;.*z.*&#593;.*&#720;.*", "i&#609;&#712;z&#593;&#720;mpl"), 1);
  EXPECT_EQ(matches("i.*&#609;.*z.*&#593;&#720;.*", "i&#609;&#712;z&#593;&#712;&#720;"), 0);
  // UTF-8 aware: "." is one character and case folding covers non-ASCII letters.
  EXPECT_EQ(matches("^caf.$", "caf\xc3\xa9"), 1);
  EXPECT_EQ(matches("CAF\xc3\x89", "caf\xc3\xa9"), 1);
  EXPECT_EQ(matches("", "anything"), 1);
}

TEST_F(RegexpModule, NullNeverMatches) {
  EXPECT_EQ(matches(nullptr, "abc"), 0);
  EXPECT_EQ(matches("abc", nullptr), 0);
  EXPECT_EQ(matches(nullptr, nullptr), 0);
}

TEST_F(RegexpModule, InvalidUtf8InTheValueIsJustText) {
  EXPECT_EQ(matches("b",
                    "a\xff\xfe"
                    "b",
                    4),
            1);
  EXPECT_EQ(matches("^a.b$",
                    "a\xc3"
                    "b",
                    3),
            0);
  EXPECT_EQ(matches("zz", "\xed\xa0\x80", 3), 0);
}

TEST_F(RegexpModule, BadPatternsEndTheStatementWithAClearError) {
  EXPECT_EQ(matches("(unclosed", "x"), -1);
  EXPECT_EQ(lastError_.rfind("regexp: bad pattern at offset 9: ", 0), 0u) << lastError_;
  EXPECT_EQ(matches("[z-a]", "x"), -1);
  EXPECT_EQ(lastError_.rfind("regexp: bad pattern", 0), 0u) << lastError_;
  // Invalid UTF-8 in the pattern is refused, not matched byte by byte.
  EXPECT_EQ(matches("a\xff", "a"), -1);
  EXPECT_EQ(lastError_.rfind("regexp: bad pattern", 0), 0u) << lastError_;
}

TEST_F(RegexpModule, CatastrophicBacktrackingStopsWithAnError) {
  EXPECT_EQ(matches("(a+)+$", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"), -1);
  EXPECT_EQ(lastError_.rfind("regexp: pattern too complex", 0), 0u) << lastError_;
  EXPECT_EQ(matches("^(\\w+\\s?)*$", "an ordinary headword with a bad ending!"), -1);
  EXPECT_EQ(lastError_.rfind("regexp: pattern too complex", 0), 0u) << lastError_;
  // The same pattern on a short text is fine.
  EXPECT_EQ(matches("(a+)+$", "aaab"), 0);
  EXPECT_EQ(matches("(a+)+$", "baaa"), 1);
}

TEST_F(RegexpModule, CompilesEachPatternOncePerStatement) {
  void* module = dlopen(QUORVI_REGEXP_MODULE, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(module, nullptr);
  auto compileCount = reinterpret_cast<long (*)()>(dlsym(module, "quorvi_regexp_compile_count"));
  ASSERT_NE(compileCount, nullptr);

  exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
      "INSERT INTO t SELECT 'word' || i FROM n");
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(db_, "SELECT count(*) FROM t WHERE v REGEXP ?", -1, &statement, nullptr),
      SQLITE_OK);
  for (const char* pattern : {"d1", "^word\\d{3}$"}) {
    const long before = compileCount();
    sqlite3_bind_text(statement, 1, pattern, -1, SQLITE_STATIC);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_GT(sqlite3_column_int(statement, 0), 100);
    EXPECT_EQ(compileCount() - before, 1);
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  dlclose(module);
}

}  // namespace

namespace {

// Each row stays far below the per-match limits, the rows together would take minutes: the
// statement ends with the module's error instead of running on.
TEST_F(RegexpModule, CostlyPatternOverManyRowsEndsTheStatement) {
  exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
      "INSERT INTO t SELECT printf('%d', i) || 'abcdefghijklmnopqrstuvwxyz' FROM n");
  EXPECT_EQ(matches("^(?:.?){17}[#~]", "0abcdefghijklmnopqrstuvwxyz"), 0);  // one row is fine
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT count(*) FROM t WHERE v REGEXP '^(?:.?){17}[#~]'", -1,
                               &statement, nullptr),
            SQLITE_OK);
  EXPECT_EQ(sqlite3_step(statement), SQLITE_ERROR);
  EXPECT_EQ(std::string(sqlite3_errmsg(db_)).rfind("regexp: pattern too costly", 0), 0u)
      << sqlite3_errmsg(db_);
  sqlite3_finalize(statement);
  // An honest pattern over the same rows runs to the end.
  ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT count(*) FROM t WHERE v REGEXP '^1.*z$'", -1,
                               &statement, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(statement, 0), 11111);
  sqlite3_finalize(statement);
}

}  // namespace
