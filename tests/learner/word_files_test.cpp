// Export and import of the learner's words, and the dictionary facts an export shows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "learner/delimited_text.h"
#include "learner/dictionary_facts.h"
#include "learner/headword_spellings.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/safe_file_output.h"
#include "learner/text_decoding.h"
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

std::vector<std::string> unknownNames(const ImportReport& report) {
  std::vector<std::string> names;
  for (const UnknownWord& unknown : report.unknown) names.push_back(unknown.written);
  return names;
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
  const HeadwordSpellings headwords({"cat", "dog", "bird", "zz"});
  ImportOptions options;
  options.headwords = &headwords;
  ImportReport report;
  ASSERT_EQ(importWords(store, {"Cat", "dog", "zzz", "cat", "bird", std::string("a\0b", 3)},
                        options, report),
            "");
  EXPECT_EQ(report.added, (Words{"cat", "bird"}));
  EXPECT_EQ(report.alreadyThere, 2u);
  EXPECT_EQ(unknownNames(report), (Words{"zzz", std::string("a\0b", 3)}));
  EXPECT_EQ(report.unknown[0].closeSpelling, "zz");
  std::string listError;
  EXPECT_EQ(savedWords(store, listError).size(), 3u);

  // The same file again adds nothing.
  const std::string file = folder.write("list.txt",
                                        "\xEF\xBB\xBF"
                                        "cat\r\nbird\r\n");
  ASSERT_EQ(importFile(store, file, options, report), "");
  EXPECT_TRUE(report.added.empty());
  EXPECT_EQ(report.alreadyThere, 2u);
  EXPECT_NE(importFile(store, folder.file("absent.txt"), options, report), "");
  EXPECT_NE(importFile(store, folder.path(), options, report), "");
}

// UTF-16 and UTF-32 with their marks, and GB18030, as UTF-8; any line end; binary refused.
TEST(WordFiles, EveryEncodingAndLineEndALearnerHasReadsTheSameWords) {
  const auto utf16 = [](const std::u16string& text, bool big) {
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
      const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
      bytes += big ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
  };
  std::string utf32 = std::string("\xFF\xFE\0\0", 4);
  for (const char32_t c : std::u32string(U"cat\r\n\U0001F600dog\n"))
    for (int k = 0; k < 4; ++k) utf32 += static_cast<char>((c >> (8 * k)) & 0xFF);
  std::string error;
  EXPECT_EQ(wordsOfFile(utf16(u"cat\r\nd\u00f6g\r\n", false), error), (Words{"cat", "d\u00f6g"}));
  EXPECT_EQ(wordsOfFile(utf16(u"cat\ndog", true), error), (Words{"cat", "dog"}));
  EXPECT_EQ(wordsOfFile(utf32, error), (Words{"cat", "\U0001F600dog"}));
  EXPECT_EQ(wordsOfFile("cat\rdog\rbird", error), (Words{"cat", "dog", "bird"}));
  // What Chinese Windows saves as "ANSI": 猫狗 in GB18030.
  EXPECT_EQ(wordsOfFile("cat\t\xC3\xA8\xB9\xB7\r\n", error), (Words{"cat\t猫狗"}));

  for (const std::string& binary :
       {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), std::string("cat\0dog", 7),
        std::string("\xFF\xFE\x00\xD8", 4) /* a lone surrogate */}) {
    EXPECT_TRUE(wordsOfFile(binary, error).empty());
    EXPECT_NE(error.find("not a text file"), std::string::npos) << error;
  }
}

// Anki's own text export, a table with a header row in any case, and the plain lists
// learners keep (a translation after the word, a number before it).
TEST(WordFiles, AnkiExportsTablesAndAnnotatedListsGiveTheirWords) {
  std::string error;
  EXPECT_EQ(wordsOfFile("#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n"
                        "#deck column:3\n#tags column:6\n"
                        "g1\tBasic\tEnglish\t<b>cat</b>&nbsp;[sound:cat.mp3]\t猫\t\n"
                        "g2\tBasic\tEnglish\tice &amp; snow\t冰雪\ttag\n",
                        error),
            (Words{"cat", "ice & snow"}));
  EXPECT_EQ(wordsOfFile("#separator:Semicolon\n#columns:Chinese;Word\n猫;cat\n狗;dog\n", error),
            (Words{"cat", "dog"}));
  EXPECT_EQ(wordsOfFile("WORD,Chinese\r\ncat,猫\r\n\"a, b\",x\r\n", error), (Words{"cat", "a, b"}));
  EXPECT_EQ(wordsOfFile("Chinese\tEnglish\n猫\tcat\n", error), (Words{"cat"}));

  quorvi::testing::TemporaryFolder folder;
  LearnerStore store(folder.path() / "learner.db");
  const HeadwordSpellings headwords({"cat", "abandon", "London", "ice cream", "church", "Church"});
  ImportOptions options;
  options.headwords = &headwords;
  ImportReport report;
  const std::string list = folder.write(
      "list.txt", "1. cat 猫\n2) abandon v. 放弃\nlondon\t伦敦\nICE CREAM - 冰淇淋\nCHURCH\n# a note\n");
  ASSERT_EQ(importFile(store, list, options, report), "");
  EXPECT_EQ(report.added, (Words{"cat", "abandon", "London", "ice cream", "church"}));
  EXPECT_EQ(report.unknownCount, 0u);
}

// Letter case takes the dictionary's spelling; a word that is none gets a close one.
TEST(WordFiles, HeadwordSpellingsFollowTheDictionarysCaseAndSuggestCloseWords) {
  const HeadwordSpellings headwords(
      {"the", "receive", "London", "May", "may", "NASA", "Nasa", "London", "believe"});
  EXPECT_EQ(headwords.size(), 8u);
  EXPECT_EQ(headwords.spellingOf("London"), "London");
  EXPECT_EQ(headwords.spellingOf("london"), "London");
  EXPECT_EQ(headwords.spellingOf("LONDON"), "London");
  EXPECT_EQ(headwords.spellingOf("MAY"), "may");
  EXPECT_EQ(headwords.spellingOf("nasa"), "NASA");  // the more common of two
  EXPECT_EQ(headwords.spellingOf("Londres"), std::nullopt);
  EXPECT_EQ(headwords.closeSpelling("recieve"), "receive");  // two letters swapped
  EXPECT_EQ(headwords.closeSpelling("beleive"), "believe");
  EXPECT_EQ(headwords.closeSpelling("lundun"), "London");
  EXPECT_EQ(headwords.closeSpelling("xylophone"), "");
  EXPECT_EQ(printableText("red\x1b[31m\u202Eevil\x7f\xff"),
            "red\\x1B[31m\\u202Eevil\\x7F\\xFF");
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

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

mode_t modeOf(const fs::path& file) {
  struct stat st {};
  return stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Through a link to the file it names; never onto a device, a FIFO or a folder; the modes a
// learner expects; no temporary file left behind, not even a killed export's.
TEST(WordFiles, ExportWritesThroughLinksRefusesOtherFilesAndKeepsModes) {
  quorvi::testing::TemporaryFolder folder;
  const fs::path real = folder.path() / "synced" / "words.txt";
  quorvi::testing::writeFile(real, "earlier");
  const fs::path link = folder.path() / "words.txt";
  fs::create_symlink("synced/words.txt", link);
  ASSERT_EQ(writeWholeFile(link, "new"), "");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contentOf(real), "new");

  fs::create_symlink("loop-b", folder.path() / "loop-a");
  fs::create_symlink("loop-a", folder.path() / "loop-b");
  FileProblem problem = FileProblem::kNone;
  EXPECT_NE(writeWholeFile(folder.path() / "loop-a", "x", &problem), "");
  EXPECT_EQ(problem, FileProblem::kLinkLoop);

  const fs::path fifo = folder.path() / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::vector<fs::path> refused{fifo, folder.path() / "synced"};
  // A private device node of our own (only root may make one): /dev/null's numbers.
  const fs::path device = folder.path() / "null-device";
  if (mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) refused.push_back(device);
  for (const fs::path& target : refused) {
    const std::string error = writeWholeFile(target, "x", &problem);
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_EQ(problem, FileProblem::kNotAFile);
    EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(target))) << target;
  }

  // A new file follows the umask; an existing one keeps its mode.
  const mode_t saved = umask(077);
  ASSERT_EQ(writeWholeFile(folder.path() / "private.txt", "x"), "");
  umask(022);
  ASSERT_EQ(writeWholeFile(folder.path() / "shared.txt", "x"), "");
  umask(saved);
  EXPECT_EQ(modeOf(folder.path() / "private.txt"), 0600u);
  EXPECT_EQ(modeOf(folder.path() / "shared.txt"), 0644u);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(writeWholeFile(link, "again"), "");
  EXPECT_EQ(modeOf(real), 0640u);

  // What a killed export left (no writer holds it any more) goes with the next export.
  const fs::path leftover = real.parent_path() / ".words.txt.part-AbC123";
  quorvi::testing::writeFile(leftover, "half");
  ASSERT_EQ(writeWholeFile(real, "whole"), "");
  EXPECT_FALSE(fs::exists(leftover));
  for (const auto& item : fs::directory_iterator(real.parent_path()))
    EXPECT_EQ(item.path().filename(), "words.txt");
}

// Cells a spreadsheet would run as a formula are written inert and read back as they were.
TEST(WordFiles, CsvCellsNeverRunAsFormulasAndRoundTripToTheSameWords) {
  const std::vector<SavedWord> saved = {{"-bos", 1, 0}, {"=limelight", 2, 0}, {"'=quoted", 3, 0},
                                        {"@home", 4, 0}, {"+1", 5, 0},         {"'em", 6, 0}};
  const FactsLookup facts = [](const std::string&) -> std::optional<WordFacts> {
    WordFacts f;
    f.chinese = {"=limelight [...]", "-bos 小坏蛋"};
    return f;
  };
  const std::string csv = exportText(saved, facts, ExportFormat::kCsv);
  std::string error;
  const std::vector<Record> rows = readRecords(csv, ',', error);
  ASSERT_EQ(rows.size(), saved.size() + 1);
  for (std::size_t i = 1; i < rows.size(); ++i)
    for (const std::string& cell : rows[i])
      EXPECT_TRUE(cell.empty() || std::string("=+-@\t\r").find(cell[0]) == std::string::npos) << cell;
  EXPECT_EQ(rows[1][2], "'=limelight [...]\n-bos 小坏蛋");
  EXPECT_EQ(rows[3][0], "''=quoted");
  EXPECT_EQ(rows[6][0], "'em");
  EXPECT_EQ(wordsOfFile(csv, error), wordsOf(saved));
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
