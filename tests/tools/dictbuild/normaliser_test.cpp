#include <gtest/gtest.h>

#include "phonetic_notation.h"
#include "espeak_transcriber.h"
#include "spelling_adjustments.h"
#include "transcription_normaliser.h"
#include "utf8.h"

using namespace quorvi::dictbuild;

namespace {

std::string norm(const std::string& ipa) {
  NormalisedTranscription n = normaliseTranscription(ipa);
  return n.ok() ? encodeUtf8(n.symbols) : "ERROR: " + n.error;
}

// Each transcription normalises to the text beside it ("ERROR: " and the reason when refused).
void expectNormalised(std::initializer_list<std::pair<std::string, std::string>> cases) {
  for (const auto& [ipa, expected] : cases) EXPECT_EQ(norm(ipa), expected) << ipa;
}

}  // namespace

TEST(Normaliser, NarrowVowelsBecomeTheTextbookSymbols) {
  expectNormalised({
      {"hˈɒt", "ˈhɔt"},
      {"bˈʊk", "ˈbuk"},
      {"sˈɪŋ", "ˈsiŋ"},
      {"ɹˈɛd", "ˈred"},
      {"bˈɜːd", "ˈbəːd"},
      {"lˈɒx", "ˈlɔk"},
      {"ðə", "ðə"},
  });
}

TEST(Normaliser, DiphthongsAndGlides) {
  expectNormalised({
      {"ðˈeə", "ˈðɛə"},  // square
      {"hˈɛː", "ˈhɛə"},  // square written long
      {"hˈiə", "ˈhiə"},
      {"ɡˈəʊɪŋ", "ˈɡəuiŋ"},
      {"fˈaɪə", "ˈfaiə"},
      {"bˈɔɪ", "ˈbɔi"},
      {"nˈeɪʃən", "ˈneiʃən"},
      {"ˈaʊɐ", "ˈauə"},
      // A long vowel before schwa is printed as the glide.
      {"jˈuːʒuːəl", "ˈjuːʒuəl"},
      // American o-glide and nurse vowel as RP symbols.
      {"ɡoʊ", "ɡəu"},
      {"bɝd", "bəːd"},
  });
}

TEST(Normaliser, NoRAfterAVowelUnlessAVowelFollows) {
  expectNormalised({
      {"kˈɑːɹ", "ˈkɑː"},
      {"kɑːrd", "kɑːd"},
      {"fˈɑːɹ ɐwˈeɪ", "ˈfɑːəˈwei"},
      {"vˈɛɹi", "ˈveri"},
      {"ɐɹˈaɪv", "əˈraiv"},  // r that begins the stressed syllable stays
      {"ɡɹˈiːn", "ˈɡriːn"},
  });
}

TEST(Normaliser, SyllabicConsonantsGetTheirSchwa) {
  expectNormalised({
      {"bˈʌtn̩", "ˈbʌtən"},
      {"lˈɪtl̩", "ˈlitəl"},
      {"lˈɪtəl", "ˈlitəl"},  // already written out: no second schwa
  });
}

TEST(Normaliser, StressMovesToTheStartOfItsSyllable) {
  expectNormalised({
      {"ɪɡzˈɑːmpəl", "iɡˈzɑːmpəl"},  // gz cannot begin a syllable
      {"ɪkstɹˈiːm", "ikˈstriːm"},    // str can
      {"ɹɪzjˈuːm", "riˈzjuːm"},      // so can zj
      {"jˌuːnɪvˈɜːsɪtɪ", "ˌjuːniˈvəːsiti"},
      {"kˈæt", "ˈkæt"},
      {"ɐbˈaʊt", "əˈbaut"},
      {"fˈəʊtəɡɹˌɑːf", "ˈfəutəˌɡrɑːf"},
      {"ɹˈɛd kˈɑː", "ˈredˈkɑː"},  // each word keeps its own
      // A mark already at the syllable start stays there.
      {"iɡ'zɑːmpl", "iɡˈzɑːmpl"},
      // Under stress espeak's ɐ is the strut vowel.
      {"ˈɐp", "ˈʌp"},
  });
}

TEST(Normaliser, ImportedNotations) {
  expectNormalised({
      {"ig'zɑ:mpl", "iɡˈzɑːmpl"},
      {"[ˌɪntəˈnæʃənl]", "ˌintəˈnæʃənl"},
      {"/'fɑ:ðә/", "ˈfɑːðə"},  // Cyrillic schwa
      {"ˌju:ni'vә:siti", "ˌjuːniˈvəːsiti"},
      {"'kʌlә(r)", "ˈkʌlə"},          // optional r goes
      {"t͡ʃɜːt͡ʃ", "tʃəːtʃ"},           // tie bars
      {"'teibl; 'teibəl", "ˈteibl"},  // first variant
  });
}

TEST(Normaliser, UnreadableInputIsReportedNotGuessed) {
  expectNormalised({
      {"", "ERROR: no speech sounds"},
      {"ˈ", "ERROR: no speech sounds"},
      {"k\xC3", "ERROR: not valid UTF-8"},
      {"kæt7", "ERROR: unknown symbol U+0037"},
      {"KAT", "ERROR: unknown symbol U+004B"},
  });
}

TEST(Normaliser, StressMarksNeverSplitWhatALearnerTypesAsOne) {
  // A secondary mark inside a glide goes; a primary mark moves in front of the pair.
  expectNormalised({
      {"ɹˈeɪdɪˌəʊ", "ˈreidiəu"},
      {"vˈɪdɪˌəʊ", "ˈvidiəu"},
      {"dɪˈəʊdəɹənt", "ˈdiəudərənt"},
      {"ˈhɒt ɹˈɒd", "ˈhɔˈtrɔd"},
      {"bˈɛdˌɹuːm", "ˈbeˌdruːm"},
      // Moved in front of one pair, the mark must not land inside the pair before it.
      {"pˈæpɪˌəʊ ˈɜːsɪnəs", "ˈpæˈpiəuəːsinəs"},
      {"leɪˈɜːd", "ˈleiəːd"},  // and on to the start of its syllable
      // Pairs that are no typed unit keep the mark where the syllable starts.
      {"ˌɪnkəɹˈɛkt", "ˌinkəˈrekt"},
      {"pɪˈænəʊ", "piˈænəu"},
      {"ɪkstɹˈiːm", "ikˈstriːm"},
  });
}

TEST(Normaliser, StressMarksInAConsonantClusterGoWhereTheSyllableBegins) {
  // ts, dz, tl, dl and ŋ-clusters begin no syllable inside a word: the mark goes after the
  // first consonant, as a learner's dictionary prints outside, itself, anxiety.
  expectNormalised({
      {"aʊtsˈaɪd", "autˈsaid"},
      {"ɪtsˈɛlf", "itˈself"},
      {"ɡɒdzˈɪlə", "ɡɔdˈzilə"},
      {"bɛstsˈɛlə", "bestˈselə"},
      {"aʊtstˈandɪŋ", "autˈstændiŋ"},
      {"bɒtswˈɑːnə", "bɔtˈswɑːnə"},
      {"ətlˈantɪk", "ətˈlæntik"},
      {"æŋzˈaɪəti", "æŋˈzaiəti"},
      {"hˈɛdzˌɒf", "ˈhedˌzɔf"},
  });
  // A word break is a syllable break: the mark stays at the start of the next word.
  expectNormalised({
      {"fɹˈɪdʒɪd zˈəʊn", "ˈfridʒidˈzəun"},
      {"ɡɹˈaʊnd zˈiəɹəʊ", "ˈɡraundˈziərəu"},
      {"wɒts ˈʌp", "wɔtsˈʌp"},
  });
  // Clusters that can begin a syllable, and word-initial ones, keep the mark in front.
  expectNormalised({
      {"ˈɛkstɹə", "ˈekstrə"},
      {"ˈæbstɹækt", "ˈæbstrækt"},
      {"ɪkstɹˈiːm", "ikˈstriːm"},
      {"tsuːnˈɑːmi", "tsuːˈnɑːmi"},
      {"ˈpiːtsə", "ˈpiːtsə"},
      {"ˈaʊtsɛt", "ˈautset"},
      {"ˈæŋzɪəs", "ˈæŋziəs"},
      {"ˈɪŋɡlɪʃ", "ˈiŋɡliʃ"},
  });
}

TEST(Normaliser, EndingsAreVoicedLikeTheSoundBeforeThem) {
  expectNormalised({
      {"ˈeɪkz", "ˈeiks"},
      {"kˈæts", "ˈkæts"},
      {"stˈɒpz", "ˈstɔps"},
      {"lˈɑːfz", "ˈlɑːfs"},
      {"mˈʌnθz", "ˈmʌnθs"},
      {"fˈeɪsd", "ˈfeist"},
      {"wˈɪʃd", "ˈwiʃt"},
      {"ɹˈiːtʃd", "ˈriːtʃt"},
      {"lˈaɪkd", "ˈlaikt"},
      {"stˈɒpd", "ˈstɔpt"},
      // Each word of a phrase ends on its own.
      {"ˈeɪkz ənd pˈeɪnz", "ˈeiksəndˈpeinz"},
      {"fˈeɪsd ˈʌp", "ˈfeistˈʌp"},
  });
  // After a voiced sound or a vowel, and inside a word, they stay as they are.
  expectNormalised({
      {"dˈɒɡz", "ˈdɔɡz"},
      {"ˈeɪdʒɪz", "ˈeidʒiz"},
      {"bˈæɡz", "ˈbæɡz"},
      {"plˈeɪd", "ˈpleid"},
      {"ɪnvˈɒlvd", "inˈvɔlvd"},
      {"wˈɒntɪd", "ˈwɔntid"},
      {"ˈæbsənt", "ˈæbsənt"},
      {"wˈɪzdəm", "ˈwizdəm"},
      {"ˈʌpsaɪd", "ˈʌpsaid"},
      {"ˈæksɪz", "ˈæksiz"},
  });
}

TEST(Normaliser, OneWordHasOnePrimaryStress) {
  expectNormalised({
      {"kənˈɡɹætʃʊˈleɪʃənz", "kənˌɡrætʃuˈleiʃənz"},
      {"aɪˈdɛntɪfɪˈkeɪʃən", "aiˌdentifiˈkeiʃən"},
      {"ˈsuːpəˈfɪʃəl", "ˌsuːpəˈfiʃəl"},
      {"ˈɛmˈeɪ", "ˌeˈmei"},
      {"ˈɔːkʃəˈnɪə", "ˌɔːkʃəˈniə"},
  });
  // Secondary and primary in one word, and one primary in each word of a phrase, stay.
  expectNormalised({
      {"ˌɛɡzˈæmpəl", "ˌeɡˈzæmpəl"},
      {"jˌuːnɪvˈɜːsɪtɪ", "ˌjuːniˈvəːsiti"},
      {"fˈəʊtəɡɹˌɑːf", "ˈfəutəˌɡrɑːf"},
      {"ɹˈɛd kˈɑː", "ˈredˈkɑː"},
      {"bˈɪznəs kˈɑːd", "ˈbiznəsˈkɑːd"},
  });
}

namespace {

std::string adjusted(const char* caption, const char16_t* symbols) {
  return encodeUtf8(adjustForSpelling(caption, symbols));
}

struct Adjustment {
  const char* caption;
  const char16_t* symbols;
  const char* expected;
};

// Each word's transcription becomes the text beside it once adjusted for the spelling.
void expectAdjusted(std::initializer_list<Adjustment> cases) {
  for (const Adjustment& a : cases)
    EXPECT_EQ(adjusted(a.caption, a.symbols), a.expected) << a.caption;
}

}  // namespace

TEST(SpellingAdjustments, WeakEndingsArePrintedWithI) {
  expectAdjusted({
      {"ability", u"əˈbiləti", "əˈbiliti"},
      {"electricity", u"ilekˈtrisəti", "ilekˈtrisiti"},
      {"qualities", u"ˈkwɔlətiz", "ˈkwɔlitiz"},
      {"senate", u"ˈsenət", "ˈsenit"},
      {"fortunately", u"ˈfɔːtʃənətli", "ˈfɔːtʃənitli"},
      {"visible", u"ˈvizəbəl", "ˈvizibəl"},
      {"terribly", u"ˈterəbli", "ˈteribli"},
      {"homeless", u"ˈhəumləs", "ˈhəumlis"},
      {"carelessness", u"ˈkɛələsnəs", "ˈkɛəlisnis"},
      {"darkness", u"ˈdɑːknəs", "ˈdɑːknis"},
      {"witnesses", u"ˈwitnəsiz", "ˈwitnisiz"},
      {"shortage", u"ˈʃɔːtədʒ", "ˈʃɔːtidʒ"},
      {"painted", u"ˈpeintəd", "ˈpeintid"},
      {"roses", u"ˈrəuzəz", "ˈrəuziz"},
      {"waitresses", u"ˈweitrəsiz", "ˈweitrisiz"},
      {"hostess", u"ˈhəustəs", "ˈhəustis"},
      {"viewers", u"ˈvjuəz", "ˈvjuːəz"},
      {"truer", u"ˈtruə", "ˈtruːə"},
  });
}

TEST(SpellingAdjustments, WeakEndingsKeepWhatTheDictionariesKeep) {
  // -iety and -iate keep ə; a stressed syllable keeps its vowel; verbs in -ate have ei.
  expectAdjusted({
      {"society", u"səˈsaiəti", "səˈsaiəti"},
      {"appropriate", u"əˈprəupriət", "əˈprəupriət"},
      {"city", u"ˈsiti", "ˈsiti"},
      {"create", u"kriˈeit", "kriˈeit"},
      {"unless", u"ənˈles", "ənˈles"},
      {"congress", u"ˈkɔŋɡres", "ˈkɔŋɡres"},
      {"success", u"səkˈses", "səkˈses"},
      {"hundred", u"ˈhʌndrəd", "ˈhʌndrəd"},
      {"table", u"ˈteibəl", "ˈteibəl"},
      {"comfortable", u"ˈkʌmftəbəl", "ˈkʌmftəbəl"},
  });
}

TEST(SpellingAdjustments, WeakPrefixesArePrintedWithI) {
  expectAdjusted({
      {"escape", u"eˈskeip", "iˈskeip"},
      {"endure", u"enˈdjuə", "inˈdjuə"},
      {"befriend", u"bəˈfrend", "biˈfrend"},
      {"demand", u"dəˈmɑːnd", "diˈmɑːnd"},
      {"retain", u"rəˈtein", "riˈtein"},
      {"prevent", u"prəˈvent", "priˈvent"},
      // Stressed prefixes and vowel-initial stems stay as they are.
      {"extra", u"ˈekstrə", "ˈekstrə"},
      {"decorate", u"ˈdekəreit", "ˈdekəreit"},
      {"react", u"riˈækt", "riˈækt"},
      {"eight", u"ˈeit", "ˈeit"},
  });
}

TEST(SpellingAdjustments, TheVowelOfThoughtBeforeLAndAConsonantIsLong) {
  expectAdjusted({
      {"salt", u"ˈsɔlt", "ˈsɔːlt"},
      {"false", u"ˈfɔls", "ˈfɔːls"},
      {"default", u"diˈfɔlt", "diˈfɔːlt"},
      {"alterations", u"ˌɔltəˈreiʃənz", "ˌɔːltəˈreiʃənz"},
      // Spelled with o, or l before another letter: short as said.
      {"revolt", u"riˈvɔlt", "riˈvɔlt"},
      {"dollar", u"ˈdɔlə", "ˈdɔlə"},
      {"salvage", u"ˈsælvidʒ", "ˈsælvidʒ"},
  });
}

TEST(SpellingAdjustments, FullVowelsTheDictionariesReduce) {
  expectAdjusted({
      {"column", u"ˈkɔlʌm", "ˈkɔləm"},
      {"autumn", u"ˈɔːtʌm", "ˈɔːtəm"},
      {"autumns", u"ˈɔːtʌmz", "ˈɔːtəmz"},
      {"troublesome", u"ˈtrʌbəlsʌm", "ˈtrʌbəlsəm"},
      {"cumbersome", u"ˈkʌmbəˌsʌm", "ˈkʌmbəsəm"},
      {"obtain", u"ɔbˈtein", "əbˈtein"},
      {"obstruct", u"ɔbˈstrʌkt", "əbˈstrʌkt"},
      // Full where the dictionaries keep them full.
      {"observation", u"ɔbzəˈveiʃən", "ɔbzəˈveiʃən"},
      {"abnormal", u"əbˈnɔːməl", "æbˈnɔːməl"},
      {"income", u"ˈinkʌm", "ˈinkʌm"},
  });
}

TEST(SpellingAdjustments, ASchwaTheLettersKeepIsRestoredBeforeR) {
  expectAdjusted({
      {"camera", u"ˈkæmrə", "ˈkæmərə"},
      {"averages", u"ˈævridʒiz", "ˈævəridʒiz"},
      {"favourite", u"ˈfeivrit", "ˈfeivərit"},
      {"general", u"ˈdʒenrəl", "ˈdʒenərəl"},
      // Clusters, words spelled without the vowel, prefixes and phrases stay as they are.
      {"different", u"ˈdifrənt", "ˈdifrənt"},
      {"every", u"ˈevri", "ˈevri"},
      {"Henry", u"ˈhenri", "ˈhenri"},
      {"unreal", u"ʌnˈriəl", "ʌnˈriəl"},
      {"gun runner", u"ˈɡʌnrʌnə", "ˈɡʌnrʌnə"},
  });
}

TEST(SpellingAdjustments, PrefixesKeepTheirNBeforeKOrG) {
  expectAdjusted({
      {"include", u"iŋˈkluːd", "inˈkluːd"},
      {"congratulate", u"kəŋˈɡrætʃuleit", "kənˈɡrætʃuleit"},
      {"incorrect", u"ˌiŋkəˈrekt", "ˌinkəˈrekt"},
      {"unkind", u"ʌŋˈkaind", "ʌnˈkaind"},
      {"engage", u"iŋˈɡeidʒ", "inˈɡeidʒ"},
      {"synchronic", u"siŋˈkrɔnik", "sinˈkrɔnik"},
      // A stressed prefix and a plain ŋ inside a stem keep ŋ.
      {"concrete", u"ˈkɔŋkriːt", "ˈkɔŋkriːt"},
      {"uncle", u"ˈʌŋkəl", "ˈʌŋkəl"},
      {"inkling", u"ˈiŋkliŋ", "ˈiŋkliŋ"},
      {"anchor", u"ˈæŋkə", "ˈæŋkə"},
  });
}

TEST(SpellingAdjustments, TheCureVowel) {
  expectAdjusted({
      {"pure", u"ˈpjɔː", "ˈpjuə"},
      {"insurance", u"inˈʃɔːrəns", "inˈʃuərəns"},
      {"rural", u"ˈrɔːrəl", "ˈruərəl"},
      {"moorland", u"ˈmɔːlənd", "ˈmuələnd"},
      {"tourism", u"ˈtɔːrizəm", "ˈtuərizəm"},
      {"Europe", u"ˈjɔːrəp", "ˈjuərəp"},
      // ɔː spelled otherwise stays.
      {"door", u"ˈdɔː", "ˈdɔː"},
      {"floor", u"ˈflɔː", "ˈflɔː"},
      {"court", u"ˈkɔːt", "ˈkɔːt"},
      {"your", u"jɔː", "jɔː"},
      {"aura", u"ˈɔːrə", "ˈɔːrə"},
      // In a phrase, only when no other word may spell the ɔː.
      {"poor man", u"ˈpɔːˈmæn", "ˈpuəˈmæn"},
      {"Agriculture Organization", u"ˈæɡriˌkʌltʃəˌɔːɡənaiˈzeiʃən", "ˈæɡriˌkʌltʃəˌɔːɡənaiˈzeiʃən"},
      {"arboriculture", u"ˈɑːbɔːˌrikʌltʃə", "ˈɑːbɔːˌrikʌltʃə"},
      {"jurors", u"ˈdʒɔːrəz", "ˈdʒuərəz"},
      {"bureau", u"ˈbjɔːrəu", "ˈbjuərəu"},
      {"alluring", u"əˈlɔːriŋ", "əˈluəriŋ"},
      {"rurally", u"ˈrɔːrəli", "ˈruərəli"},
      {"sure enough", u"ˈʃɔːiˈnʌf", "ˈʃuəiˈnʌf"},
  });
}

TEST(SpellingAdjustments, JBeforeTheWeakVowel) {
  expectAdjusted({
      {"trillion", u"ˈtriliən", "ˈtriljən"},
      {"brilliance", u"ˈbriliəns", "ˈbriljəns"},
      {"canyons", u"ˈkæniənz", "ˈkænjənz"},
      {"dominion", u"dəˈminiən", "dəˈminjən"},
      {"communion", u"kəˈmjuːniən", "kəˈmjuːnjən"},
      // No j where the i is a syllable of its own.
      {"champion", u"ˈtʃæmpiən", "ˈtʃæmpiən"},
      {"senior", u"ˈsiːniə", "ˈsiːniə"},
  });
}

TEST(SpellingAdjustments, OneAndItsCompoundsHaveTheStrutVowel) {
  expectAdjusted({
      {"ones", u"ˈwɔnz", "ˈwʌnz"},
      {"everyone", u"ˈevriwɔn", "ˈevriwʌn"},
      {"nonetheless", u"ˌnɔnðəˈles", "ˌnʌnðəˈles"},
      {"nonsense", u"ˈnɔnsəns", "ˈnɔnsəns"},
      {"wander", u"ˈwɔndə", "ˈwɔndə"},
  });
}

TEST(SpellingAdjustments, NoRWhereTheLettersWriteNone) {
  EXPECT_EQ(adjustForSpelling("pawing", u"ˈpɔːriŋ"), u"ˈpɔːiŋ");
  EXPECT_EQ(adjustForSpelling("outlawed", u"ˈautlɔːrəd"), u"ˈautlɔːəd");
  EXPECT_EQ(adjustForSpelling("boring", u"ˈbɔːriŋ"), u"ˈbɔːriŋ");
  EXPECT_EQ(adjustForSpelling("awry", u"əˈrai"), u"əˈrai");
}

TEST(SpellingAdjustments, TheEndingSisIsNeverStressed) {
  EXPECT_EQ(adjustForSpelling("catalysis", u"kəˈtæləˌsis"), u"kəˈtæləsis");
  EXPECT_EQ(adjustForSpelling("basis", u"ˈbeisis"), u"ˈbeisis");
}

TEST(SpellingAdjustments, SingleWords) {
  expectAdjusted({
      {"advancement", u"ədˈvænsmənt", "ədˈvɑːnsmənt"},
      {"absorbing", u"əbˈsɔːbiŋ", "əbˈzɔːbiŋ"},
      {"empire", u"ˈimpaiə", "ˈempaiə"},
      {"anxiously", u"ˈæŋʃəsli", "ˈæŋkʃəsli"},
      {"authority", u"əˈθɔrəti", "ɔːˈθɔriti"},
  });
}

TEST(StoredNotation, SymbolsAreWrittenAsReferencesAndReadBack) {
  const std::u16string symbols = u"iɡˈzɑːmpəl";
  const std::string stored = encodeStoredPhonetic(symbols);
  EXPECT_EQ(stored, "i&#609;&#712;z&#593;&#720;mp&#601;l");
  EXPECT_EQ(decodeStoredPhonetic(stored), symbols);
  // Only the sixteen references are decoded; others stay as written.
  EXPECT_EQ(encodeUtf8(decodeStoredPhonetic("a&#7424;b&#601")), "a&#7424;b&#601");
  EXPECT_TRUE(acceptedBySymbolKeys(decodeStoredPhonetic(stored)));
  EXPECT_FALSE(acceptedBySymbolKeys(u"bʊk"));
  EXPECT_FALSE(acceptedBySymbolKeys(u"k t"));
}

TEST(SpellingAdjustments, APhrasePrintsEachWordAsItsHeadwordDoes) {
  auto printed = [](const char16_t* phrase, std::vector<WordReading> words) {
    return encodeUtf8(printWordsAsTheirHeadwords(phrase, words));
  };
  EXPECT_EQ(printed(u"ˈbiznəsˈkɑːd", {{u"ˈbiznəs", u"ˈbiznis"}, {u"ˈkɑːd", u"ˈkɑːd"}}),
            "ˈbiznisˈkɑːd");
  // The phrase's own marks stay: a word said with a secondary stress keeps it.
  EXPECT_EQ(printed(u"ˌtʃɔklətˈkʌləd", {{u"ˈtʃɔklət", u"ˈtʃɔklit"}, {u"ˈkʌləd", u"ˈkʌləd"}}),
            "ˌtʃɔklitˈkʌləd");
  // Words in order: the second business, not the first one again.
  EXPECT_EQ(printed(u"ˈbiznəsəzˈbiznəs",
                    {{u"ˈbiznəs", u"ˈbiznis"}, {u"əz", u"əz"}, {u"ˈbiznəs", u"ˈbiznis"}}),
            "ˈbiznisəzˈbiznis");
  // A word whose sounds the phrase does not hold, or that has no reading, is left alone.
  EXPECT_EQ(printed(u"ˈbiznəsˈkɑːd", {{u"ˈbɪznɪs", u"x"}, {u"", u""}}), "ˈbiznəsˈkɑːd");
}

// A hyphenated compound: the text espeak-ng reads (a word break at each inner hyphen, but not
// beside a letter said as a letter), the main stress moved to the last part and a final r
// linked before a vowel.
TEST(HyphenatedCompounds, AreReadPartByPartWithTheMainStressLast) {
  EXPECT_EQ(withHyphensAsWordBreaks("hands-on"), "hands on");
  EXPECT_EQ(withHyphensAsWordBreaks("mother-in-law"), "mother in law");
  EXPECT_EQ(withHyphensAsWordBreaks("lady's-finger"), "lady's finger");
  EXPECT_EQ(withHyphensAsWordBreaks("A-line"), "A-line");
  EXPECT_EQ(withHyphensAsWordBreaks("B-52"), "B-52");
  EXPECT_EQ(withHyphensAsWordBreaks("ex-"), "ex-");
  EXPECT_EQ(withHyphensAsWordBreaks("-ism"), "-ism");
  EXPECT_EQ(withHyphensAsWordBreaks("death's-head moth"), "death's head moth");

  EXPECT_EQ(withMainStressLast(u"ˈhændzˈɔn"), u"ˌhændzˈɔn");
  EXPECT_EQ(withMainStressLast(u"ˈtwentiˌwʌn"), u"ˌtwentiˈwʌn");
  EXPECT_EQ(withMainStressLast(u"ˈmeriˌɡəuˈraund"), u"ˌmeriˌɡəuˈraund");
  EXPECT_EQ(withMainStressLast(u"ə"), u"ə");

  const std::vector<WordReading> matter = {
      {u"ˈmætə", u"ˈmætə"}, {u"ɔv", u"ɔv"}, {u"ˈfækt", u"ˈfækt"}};
  EXPECT_EQ(withLinkingR(u"ˈmætəɔvˈfækt", matter, {"matter", "of", "fact"}), u"ˈmætərɔvˈfækt");
  // "hour" opens with a vowel as it is said.
  const std::vector<WordReading> after = {{u"ˈɑːftə", u"ˈɑːftə"}, {u"ˈauəz", u"ˈauəz"}};
  EXPECT_EQ(withLinkingR(u"ˈɑːftəˈauəz", after, {"after", "hours"}), u"ˈɑːftərˈauəz");
  // pre- ends in iː, which no r closes; "hands" ends in no r.
  const std::vector<WordReading> pre = {{u"ˈpriː", u"ˈpriː"}, {u"iɡˈzistiŋ", u"iɡˈzistiŋ"}};
  EXPECT_EQ(withLinkingR(u"ˈpriːiɡˈzistiŋ", pre, {"pre", "existing"}), u"ˈpriːiɡˈzistiŋ");
  const std::vector<WordReading> hands = {{u"ˈhændz", u"ˈhændz"}, {u"ˈɔn", u"ˈɔn"}};
  EXPECT_EQ(withLinkingR(u"ˈhændzˈɔn", hands, {"hands", "on"}), u"ˈhændzˈɔn");
}
