#include <gtest/gtest.h>

#include "ecdict_importer.h"
#include "tests/engine/test_dictionary.h"
#include "tsv_importer.h"

using namespace quorvi::dictbuild;

namespace {

const std::string kHeader =
    "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,audio\n";

class Importers : public ::testing::Test {
 protected:
  // Rows after the standard header.
  ImportResult ecdict(const std::string& rows, bool lenient = false) {
    std::string content = kHeader;
    content += rows;
    return ecdictRaw(content, lenient);
  }
  ImportResult ecdictRaw(const std::string& content, bool lenient = false) {
    ImportOptions options;
    options.lenient = lenient;
    return importEcdict(folder_.write("words.csv", content), options, skipped_);
  }
  ImportResult tsv(const std::string& content, bool lenient = false) {
    ImportOptions options;
    options.lenient = lenient;
    return importTsv(folder_.write("words.tsv", content), options, skipped_);
  }
  quorvi::testing::TemporaryFolder folder_;
  SkipReport skipped_;
};

// The error names the file and the line, and the reason.
void expectErrorAt(const ImportResult& r, int line, const std::string& reason) {
  EXPECT_FALSE(r.ok());
  std::string where = ":";
  where += std::to_string(line);
  where += ": ";
  EXPECT_NE(r.error.find(where), std::string::npos) << r.error;
  EXPECT_NE(r.error.find(reason), std::string::npos) << r.error;
}

}  // namespace

TEST_F(Importers, EcdictRowsWithQuotingLineBreaksAndRanks) {
  auto r = ecdict(
      "apple,'æpl,\"n. fruit, round\",n. 苹果\\nn. 苹果树,n,3,1,zk,2000,1500,s:apples,,\n"
      "quote,kwәut,\"say \"\"this\"\"\",,v,,,,,0,,,\n"
      "multi,,\"two\nlines\",,,,,,,,,,\n");
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(r.entries.size(), 3u);
  EXPECT_EQ(r.entries[0].caption, "apple");
  EXPECT_EQ(r.entries[0].transcription, "'æpl");
  // translation wins over definition; its literal \n splits lines
  EXPECT_EQ(r.entries[0].explainLines, (std::vector<std::string>{"n. 苹果", "n. 苹果树"}));
  EXPECT_DOUBLE_EQ(r.entries[0].frequency, frequencyOfRank(1500));  // frq before bnc
  EXPECT_EQ(r.entries[1].explainLines, (std::vector<std::string>{"say \"this\""}));
  EXPECT_DOUBLE_EQ(r.entries[1].frequency, 0);
  EXPECT_EQ(r.entries[2].explainLines, (std::vector<std::string>{"two", "lines"}));
}

TEST_F(Importers, EcdictMalformedLinesStopWithTheirLineNumber) {
  const std::string good = "cat,kæt,a cat,,,,,,,,,,\n";
  expectErrorAt(ecdict(good + "dog,dɔɡ,a \"dog\",,,,,,,,,,\n"), 3, "stray quote");
  expectErrorAt(ecdict(good + "dog,dɔɡ,\"a dog\"x,,,,,,,,,,\n"), 3, "after a closing quote");
  expectErrorAt(ecdict(good + good + "dog,dɔɡ,\"never closed,,,,,,,,,,\n"), 4, "not closed");
  expectErrorAt(ecdict(good + "dog,dɔɡ,a dog\n"), 3, "expected 13 fields, found 3");
  expectErrorAt(ecdict(std::string("d\xFF") + "g,dɔɡ,a dog,,,,,,,,,,\n"), 2, "not valid UTF-8");
  expectErrorAt(ecdict("big,bɪɡ," + std::string(kMaxFieldBytes + 1, 'x') + ",,,,,,,,,,\n"), 2,
                "longer than");
  expectErrorAt(ecdict("big,bɪɡ,\"" + std::string(kMaxRecordBytes + 10, 'x') + "\",,,,,,,,,,\n"), 2,
                "longer than");
  expectErrorAt(ecdictRaw("word,phonetic,pos\ncat,kæt,n\n"), 1, "header");
  expectErrorAt(ecdictRaw(""), 1, "empty");
}

TEST_F(Importers, EcdictLenientSkipsAndCountsMalformedLines) {
  auto r = ecdict(std::string("cat,kæt,a cat,,,,,,,,,,\n") + "dog,dɔɡ,a dog\n" +
                      ",,no word,,,,,,,,,,\n" + "pig,pɪɡ,a pig,,,,,,,,,,\n",
                  true);
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(r.entries.size(), 2u);
  EXPECT_EQ(r.entries[1].caption, "pig");
  EXPECT_EQ(skipped_.count("malformed line: expected 13 fields, found 3"), 1u);
  EXPECT_EQ(skipped_.count("empty headword"), 1u);
}

TEST_F(Importers, TsvRowsAndMalformedLines) {
  auto r = tsv("# my words\n\ncat\tkæt\ta cat\\na small animal\n dog \t\ta dog\t12\r\n");
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(r.entries.size(), 2u);
  EXPECT_EQ(r.entries[0].explainLines.size(), 2u);
  EXPECT_EQ(r.entries[1].caption, "dog");
  EXPECT_EQ(r.entries[1].transcription, "");
  EXPECT_DOUBLE_EQ(r.entries[1].frequency, frequencyOfRank(12));

  expectErrorAt(tsv("cat\tkæt\ta cat\ndog\tdɔɡ\n"), 2, "expected 3 tab-separated fields");
  expectErrorAt(tsv("cat\tkæt\ta cat\tx\ty\n"), 1, "at most 4");
  expectErrorAt(tsv("cat\tk\xC3\ta cat\n"), 1, "not valid UTF-8");
  expectErrorAt(tsv("cat\tkæt\t" + std::string(kMaxFieldBytes + 1, 'x') + "\n"), 1, "longer than");
  expectErrorAt(tsv("cat\tkæt\ta cat\n" + std::string(kMaxRecordBytes + 5, 'x')), 2, "longer than");
  EXPECT_FALSE(importTsv((folder_.path() / "missing.tsv").string(), {}, skipped_).ok());
}
