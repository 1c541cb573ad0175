#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

#include "form_labels.h"
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

TEST_F(LabelTable, AFormRowCarriesItsLemmasChineseNotItsOwn) {
  row("break", "vt. 打破；弄破<br/>n. 破裂");
  row("breaking", "present participle of break / break的现在分词<br/>vt. 打破；弄破");
  row("breaks", "plural of break / break的复数<br/>n. 破裂");
  // A Chinese line no row of the lemma has.
  row("breakings", "plural of breaking / breaking的复数<br/>断开；停止");
  // The lemma has none: the form's own line is all there is.
  row("wug", "n. a made-up creature");
  row("wugs", "plural of wug / wug的复数<br/>沃格");
  // Senses of its own, labelled vulgar in Chinese too: no form row.
  row("fucking",
      "adj. 该死的<br/>n. [vulgar 粗俗] slang for sexual intercourse<br/>present participle of "
      "fuck");
  row("fuck", "n. 性交");
  const LabelCheck check = checkFormLabels(db_, out_);
  EXPECT_EQ(check.formRows, 4u);  // breaking, breaks, breakings, wugs
  EXPECT_EQ(check.ownChinese, 1u);
  EXPECT_FALSE(check.ok());
  EXPECT_NE(out_.str().find("breakings: 断开；停止"), std::string::npos) << out_.str();
  exec(
      "UPDATE dict_word SET w_explain = 'plural of breaking / breaking的复数' WHERE w_caption = "
      "'breakings'");
  EXPECT_TRUE(checkFormLabels(db_, out_).ok()) << out_.str();
}
