#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

#include "verify_labels.h"

using namespace quorvi::dictbuild;

namespace {

// A dictionary table in memory: the label check reads only dict_word.
class LabelTable : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    exec("CREATE TABLE dict_word(w_caption TEXT, w_phonetic TEXT, w_explain TEXT)");
  }
  void TearDown() override { sqlite3_close(db_); }
  void exec(const std::string& sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }
  void row(const std::string& caption, const std::string& explain) {
    exec("INSERT INTO dict_word VALUES('" + caption + "', 'x', '" + explain + "')");
  }
  sqlite3* db_ = nullptr;
  std::ostringstream out_;
};

}  // namespace

TEST_F(LabelTable, FormLabelsMustNameAHeadword) {
  row("go", "v. move");
  row("went", "past tense of go");
  row("give up", "v. stop trying");
  row("gave up", "past tense of give up");
  row("found", "v. set up<br/>past tense and past participle of find");  // find is missing
  row("aboideaux", "plural of aboideau");                                // so is aboideau
  row("plural",
      "n. more than one; plural of nothing in particular");  // no label: not at line start
  row("use", "n. the act of using");
  row("uses", "plural of use (noun)");  // a form of one pronunciation names its sense
  LabelCheck check = checkFormLabels(db_, out_);
  EXPECT_EQ(check.labels, 5u);
  EXPECT_EQ(check.dangling, 2u);
  EXPECT_FALSE(check.ok());
  EXPECT_NE(out_.str().find("found: find"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("aboideaux: aboideau"), std::string::npos);
}

TEST_F(LabelTable, TheOldPastLabelThatSaysNeitherIsRefused) {
  row("take", "v. get hold of");
  row("took", "past tense or past participle of take");
  LabelCheck check = checkFormLabels(db_, out_);
  EXPECT_EQ(check.ambiguous, 1u);
  EXPECT_FALSE(check.ok());
  exec("UPDATE dict_word SET w_explain = 'past tense of take' WHERE w_caption = 'took'");
  EXPECT_TRUE(checkFormLabels(db_, out_).ok());
}

TEST_F(LabelTable, ATableThatCannotBeReadIsReported) {
  exec("DROP TABLE dict_word");
  LabelCheck check = checkFormLabels(db_, out_);
  EXPECT_FALSE(check.ok());
  EXPECT_NE(out_.str().find("cannot read"), std::string::npos);
}
