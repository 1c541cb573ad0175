// Export and import of the learner's words, and the dictionary facts an export shows.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "learner/delimited_text.h"
#include "learner/dictionary_facts.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/word_export.h"
#include "learner/word_import.h"
#include "tests/support/temporary_folder.h"

namespace fs = std::filesystem;
using namespace quorvi::learner;
using Words = std::vector<std::string>;

namespace {

// Facts full of what a delimited file must quote.
std::optional<WordFacts> awkwardFacts(const std::string& word) {
  if (word == "missing") return std::nullopt;
  WordFacts facts;
  facts.transcription = "ˈrɒk, ən \"rəʊl\"";
  facts.chinese = {"n. 摇滚乐；\"摇滚\"", "adj.\t摇滚的"};
  facts.firstSense = "a genre, of music; \"loud\"\nsecond line";
  facts.levels = {"CET4", "Oxford3000"};
  return facts;
}

const std::vector<SavedWord> kSaved = {{"rock 'n' roll", 1700000000, 3},
                                       {"say \"cheese\"", 1700000001, 0},
                                       {"a, b", 1700000002, 1},
                                       {"#hash", 1700000003, 0},
                                       {"missing", 1700000004, 0}};

Words wordsOf(const std::vector<SavedWord>& saved) {
  Words words;
  for (const SavedWord& s : saved) words.push_back(s.word);
  return words;
}

TEST(WordFiles, AnkiAndCsvExportsReadBackToTheSameWordsAndFields) {
  const std::string anki = exportText(kSaved, awkwardFacts, ExportFormat::kAnki);
  EXPECT_TRUE(anki.starts_with("#separator:tab\n#html:false\n#tags column:3\n")) << anki;
  std::string error;
  EXPECT_EQ(wordsOfFile(anki, error), wordsOf(kSaved));
  EXPECT_EQ(error, "");

  // Anki's fields as it reads them.
  const std::string body = anki.substr(anki.find("#tags column:3\n") + 15);
  const std::vector<Record> records = readRecords(body, '\t', error);
  ASSERT_EQ(records.size(), kSaved.size()) << error;
  EXPECT_EQ(records[0],
            (Record{"rock 'n' roll [ˈrɒk, ən \"rəʊl\"]",
                    "n. 摇滚乐；\"摇滚\"\nadj.\t摇滚的\na genre, of music; \"loud\"\nsecond line",
                    "CET4 Oxford3000"}));
  EXPECT_EQ(records[4], (Record{"missing", "", ""}));

  const std::string csv = exportText(kSaved, awkwardFacts, ExportFormat::kCsv);
  EXPECT_TRUE(csv.starts_with("word,transcription,chinese,first sense,levels,added,lookups\r\n"));
  EXPECT_EQ(wordsOfFile(csv, error), wordsOf(kSaved));
  const std::vector<Record> rows = readRecords(csv, ',', error);
  ASSERT_EQ(rows.size(), kSaved.size() + 1);
  EXPECT_EQ(rows[1],
            (Record{"rock 'n' roll", "ˈrɒk, ən \"rəʊl\"", "n. 摇滚乐；\"摇滚\"\nadj.\t摇滚的",
                    "a genre, of music; \"loud\"\nsecond line", "CET4 Oxford3000",
                    "2023-11-14T22:13:20Z", "3"}));

  // A quote left open is an error, not a guess.
  EXPECT_TRUE(wordsOfFile("word,transcription\r\n\"cat,x\r\n", error).empty());
  EXPECT_NE(error, "");
}

TEST(WordFiles, PlainListsDropBomCrlfBlanksAndImportSkipsDuplicatesAndUnknownWords) {
  std::string error;
  EXPECT_EQ(wordsOfFile("\xEF\xBB\xBF  cat \r\n\r\n\tdog\r\n\n  \ncat\nice cream", error),
            (Words{"cat", "dog", "cat", "ice cream"}));
  EXPECT_TRUE(wordsOfFile("", error).empty());
  EXPECT_TRUE(wordsOfFile("\xEF\xBB\xBF\r\n", error).empty());

  quorvi::testing::TemporaryFolder folder;
  LearnerStore store(folder.path() / "learner.db");
  ASSERT_EQ(addWord(store, "dog"), "");
  // The dictionary spells it in lower case and lacks "zzz".
  const HeadwordCheck check = [](const std::string& word) -> std::optional<std::string> {
    if (word == "zzz") return std::nullopt;
    std::string lower = word;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
  };
  ImportReport report;
  ASSERT_EQ(importWords(store, {"Cat", "dog", "zzz", "cat", "bird", std::string("a\0b", 3)}, check,
                        report),
            "");
  EXPECT_EQ(report.added, (Words{"cat", "bird"}));
  EXPECT_EQ(report.alreadyThere, (Words{"cat", "dog"}));
  EXPECT_EQ(report.unknown, (Words{"zzz", std::string("a\0b", 3)}));
  std::string listError;
  EXPECT_EQ(savedWords(store, listError).size(), 3u);

  // The same file again adds nothing.
  const std::string file = folder.write("list.txt",
                                        "\xEF\xBB\xBF"
                                        "cat\r\nbird\r\n");
  ASSERT_EQ(importFile(store, file, check, report), "");
  EXPECT_TRUE(report.added.empty());
  EXPECT_EQ(report.alreadyThere.size(), 2u);
  EXPECT_NE(importFile(store, folder.file("absent.txt"), check, report), "");
  EXPECT_NE(importFile(store, folder.path(), check, report), "");
}

TEST(WordFiles, ExportWritesWholeFilesAndAFailedOneKeepsTheEarlier) {
  quorvi::testing::TemporaryFolder folder;
  LearnerStore store(folder.path() / "learner.db");
  ASSERT_EQ(addWord(store, "cat"), "");
  const fs::path target = folder.path() / "words.csv";
  size_t count = 0;
  ASSERT_EQ(exportWords(store, {}, ExportFormat::kCsv, target, &count), "");
  EXPECT_EQ(count, 1u);
  std::ifstream in(target);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("cat,,,,,"), std::string::npos) << text.str();

  // A folder where the file should go: an error, and nothing left beside it.
  fs::create_directories(folder.path() / "taken" / "inner");
  EXPECT_NE(exportWords(store, {}, ExportFormat::kAnki, folder.path() / "taken", nullptr), "");
  EXPECT_NE(exportWords(store, {}, ExportFormat::kAnki, folder.path() / "no" / "x.txt"), "");
  for (const auto& item : fs::directory_iterator(folder.path()))
    EXPECT_EQ(item.path().filename().string().find(".part"), std::string::npos) << item.path();
}

TEST(DictionaryFacts, EntryLinesGiveTranscriptionChineseFirstSenseAndLevelTags) {
  const WordFacts facts = factsOfEntry(
      {"example", "[iɡˈzɑːmpəl]",
       "n. 例子；样本\nvt. 作为…的例子\n中考 高考 四级 · 牛津3000 · 柯林斯★★★\nn. an item of "
       "information\nn. a model"});
  EXPECT_EQ(facts.transcription, "iɡˈzɑːmpəl");
  EXPECT_EQ(facts.chinese, (Words{"n. 例子；样本", "vt. 作为…的例子"}));
  EXPECT_EQ(facts.firstSense, "n. an item of information");
  EXPECT_EQ(facts.levels, (Words{"Zhongkao", "Gaokao", "CET4", "Oxford3000", "Collins3"}));

  // An entry without Chinese or levels; lines that only look like a levels line.
  const WordFacts plain = factsOfEntry({"cat", "[kæt]", "n. a small furry animal"});
  EXPECT_TRUE(plain.chinese.empty());
  EXPECT_TRUE(plain.levels.empty());
  EXPECT_EQ(plain.firstSense, "n. a small furry animal");
  EXPECT_TRUE(levelTags(QStringLiteral("柯林斯；科林斯")).empty());
  EXPECT_TRUE(levelTags(QStringLiteral("柯林斯★★★★★★")).empty());
  EXPECT_TRUE(levelTags(QStringLiteral("中考 about")).empty());
}

}  // namespace
