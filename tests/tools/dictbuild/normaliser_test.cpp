#include <gtest/gtest.h>

#include "phonetic_notation.h"
#include "transcription_normaliser.h"
#include "utf8.h"

using namespace quorvi::dictbuild;

namespace {

std::string norm(const std::string& ipa) {
    NormalisedTranscription n = normaliseTranscription(ipa);
    return n.ok() ? encodeUtf8(n.symbols) : "ERROR: " + n.error;
}

}  // namespace

TEST(Normaliser, NarrowVowelsBecomeTheTextbookSymbols) {
    EXPECT_EQ(norm("hˈɒt"), "ˈhɔt");
    EXPECT_EQ(norm("bˈʊk"), "ˈbuk");
    EXPECT_EQ(norm("sˈɪŋ"), "ˈsiŋ");
    EXPECT_EQ(norm("ɹˈɛd"), "ˈred");
    EXPECT_EQ(norm("bˈɜːd"), "ˈbəːd");
    EXPECT_EQ(norm("lˈɒx"), "ˈlɔk");
    EXPECT_EQ(norm("ðə"), "ðə");
}

TEST(Normaliser, DiphthongsAndGlides) {
    EXPECT_EQ(norm("ðˈeə"), "ˈðɛə");   // square
    EXPECT_EQ(norm("hˈɛː"), "ˈhɛə");   // square written long
    EXPECT_EQ(norm("hˈiə"), "ˈhiə");
    EXPECT_EQ(norm("ɡˈəʊɪŋ"), "ˈɡəuiŋ");
    EXPECT_EQ(norm("fˈaɪə"), "ˈfaiə");
    EXPECT_EQ(norm("bˈɔɪ"), "ˈbɔi");
    EXPECT_EQ(norm("nˈeɪʃən"), "ˈneiʃən");
    EXPECT_EQ(norm("ˈaʊɐ"), "ˈauə");
    // A long vowel before schwa is printed as the glide.
    EXPECT_EQ(norm("jˈuːʒuːəl"), "ˈjuːʒuəl");
    // American o-glide and nurse vowel as RP symbols.
    EXPECT_EQ(norm("ɡoʊ"), "ɡəu");
    EXPECT_EQ(norm("bɝd"), "bəːd");
}

TEST(Normaliser, NoRAfterAVowelUnlessAVowelFollows) {
    EXPECT_EQ(norm("kˈɑːɹ"), "ˈkɑː");
    EXPECT_EQ(norm("kɑːrd"), "kɑːd");
    EXPECT_EQ(norm("fˈɑːɹ ɐwˈeɪ"), "ˈfɑːəˈwei");
    EXPECT_EQ(norm("vˈɛɹi"), "ˈveri");
    EXPECT_EQ(norm("ɐɹˈaɪv"), "əˈraiv");   // r that begins the stressed syllable stays
    EXPECT_EQ(norm("ɡɹˈiːn"), "ˈɡriːn");
}

TEST(Normaliser, SyllabicConsonantsGetTheirSchwa) {
    EXPECT_EQ(norm("bˈʌtn̩"), "ˈbʌtən");
    EXPECT_EQ(norm("lˈɪtl̩"), "ˈlitəl");
    EXPECT_EQ(norm("lˈɪtəl"), "ˈlitəl");  // already written out: no second schwa
}

TEST(Normaliser, StressMovesToTheStartOfItsSyllable) {
    EXPECT_EQ(norm("ɪɡzˈɑːmpəl"), "iɡˈzɑːmpəl");        // gz cannot begin a syllable
    EXPECT_EQ(norm("ɪkstɹˈiːm"), "ikˈstriːm");          // str can
    EXPECT_EQ(norm("ɹɪzjˈuːm"), "riˈzjuːm");            // so can zj
    EXPECT_EQ(norm("jˌuːnɪvˈɜːsɪtɪ"), "ˌjuːniˈvəːsiti");
    EXPECT_EQ(norm("kˈæt"), "ˈkæt");
    EXPECT_EQ(norm("ɐbˈaʊt"), "əˈbaut");
    EXPECT_EQ(norm("fˈəʊtəɡɹˌɑːf"), "ˈfəutəˌɡrɑːf");
    EXPECT_EQ(norm("ɹˈɛd kˈɑː"), "ˈredˈkɑː");           // each word keeps its own
    // A mark already at the syllable start stays there.
    EXPECT_EQ(norm("iɡ'zɑːmpl"), "iɡˈzɑːmpl");
    // Under stress espeak's ɐ is the strut vowel.
    EXPECT_EQ(norm("ˈɐp"), "ˈʌp");
}

TEST(Normaliser, ImportedNotations) {
    EXPECT_EQ(norm("ig'zɑ:mpl"), "iɡˈzɑːmpl");
    EXPECT_EQ(norm("[ˌɪntəˈnæʃənl]"), "ˌintəˈnæʃənl");
    EXPECT_EQ(norm("/'fɑ:ðә/"), "ˈfɑːðə");        // Cyrillic schwa
    EXPECT_EQ(norm("ˌju:ni'vә:siti"), "ˌjuːniˈvəːsiti");
    EXPECT_EQ(norm("'kʌlә(r)"), "ˈkʌlə");         // optional r goes
    EXPECT_EQ(norm("t͡ʃɜːt͡ʃ"), "tʃəːtʃ");          // tie bars
    EXPECT_EQ(norm("'teibl; 'teibəl"), "ˈteibl");  // first variant
}

TEST(Normaliser, UnreadableInputIsReportedNotGuessed) {
    EXPECT_EQ(norm(""), "ERROR: no speech sounds");
    EXPECT_EQ(norm("ˈ"), "ERROR: no speech sounds");
    EXPECT_EQ(norm("k\xC3"), "ERROR: not valid UTF-8");
    EXPECT_EQ(norm("kæt7"), "ERROR: unknown symbol U+0037");
    EXPECT_EQ(norm("KAT"), "ERROR: unknown symbol U+004B");
}

TEST(Normaliser, StressMarksNeverSplitWhatALearnerTypesAsOne) {
    // A secondary mark inside a glide goes; a primary mark moves in front of the pair.
    EXPECT_EQ(norm("ɹˈeɪdɪˌəʊ"), "ˈreidiəu");
    EXPECT_EQ(norm("vˈɪdɪˌəʊ"), "ˈvidiəu");
    EXPECT_EQ(norm("dɪˈəʊdəɹənt"), "ˈdiəudərənt");
    EXPECT_EQ(norm("aʊtsˈaɪd"), "auˈtsaid");
    EXPECT_EQ(norm("ˈhɒt ɹˈɒd"), "ˈhɔˈtrɔd");
    EXPECT_EQ(norm("bˈɛdˌɹuːm"), "ˈbeˌdruːm");
    EXPECT_EQ(norm("hˈɛdzˌɒf"), "ˈhedzɔf");
    // Moved in front of one pair, the mark must not land inside the pair before it.
    EXPECT_EQ(norm("pˈæpɪˌəʊ ˈɜːsɪnəs"), "ˈpæˈpiəuəːsinəs");
    EXPECT_EQ(norm("leɪˈɜːd"), "ˈleiəːd");  // and on to the start of its syllable
    // Pairs that are no typed unit keep the mark where the syllable starts.
    EXPECT_EQ(norm("ˌɪnkəɹˈɛkt"), "ˌinkəˈrekt");
    EXPECT_EQ(norm("pɪˈænəʊ"), "piˈænəu");
    EXPECT_EQ(norm("ɪkstɹˈiːm"), "ikˈstriːm");
}

namespace {

std::string adjusted(const char* caption, const char16_t* symbols) {
    return encodeUtf8(adjustForSpelling(caption, symbols));
}

}  // namespace

TEST(SpellingAdjustments, WeakEndingsArePrintedWithI) {
    EXPECT_EQ(adjusted("ability", u"əˈbiləti"), "əˈbiliti");
    EXPECT_EQ(adjusted("electricity", u"ilekˈtrisəti"), "ilekˈtrisiti");
    EXPECT_EQ(adjusted("qualities", u"ˈkwɔlətiz"), "ˈkwɔlitiz");
    EXPECT_EQ(adjusted("senate", u"ˈsenət"), "ˈsenit");
    EXPECT_EQ(adjusted("fortunately", u"ˈfɔːtʃənətli"), "ˈfɔːtʃənitli");
    EXPECT_EQ(adjusted("visible", u"ˈvizəbəl"), "ˈvizibəl");
    EXPECT_EQ(adjusted("terribly", u"ˈterəbli"), "ˈteribli");
    EXPECT_EQ(adjusted("homeless", u"ˈhəumləs"), "ˈhəumlis");
    EXPECT_EQ(adjusted("carelessness", u"ˈkɛələsnəs"), "ˈkɛəlisnis");
    EXPECT_EQ(adjusted("darkness", u"ˈdɑːknəs"), "ˈdɑːknis");
    EXPECT_EQ(adjusted("witnesses", u"ˈwitnəsiz"), "ˈwitnisiz");
    EXPECT_EQ(adjusted("shortage", u"ˈʃɔːtədʒ"), "ˈʃɔːtidʒ");
    EXPECT_EQ(adjusted("painted", u"ˈpeintəd"), "ˈpeintid");
    EXPECT_EQ(adjusted("roses", u"ˈrəuzəz"), "ˈrəuziz");
    EXPECT_EQ(adjusted("waitresses", u"ˈweitrəsiz"), "ˈweitrisiz");
    EXPECT_EQ(adjusted("hostess", u"ˈhəustəs"), "ˈhəustis");
    EXPECT_EQ(adjusted("viewers", u"ˈvjuəz"), "ˈvjuːəz");
    EXPECT_EQ(adjusted("truer", u"ˈtruə"), "ˈtruːə");
}

TEST(SpellingAdjustments, WeakEndingsKeepWhatTheDictionariesKeep) {
    // -iety and -iate keep ə; a stressed syllable keeps its vowel; verbs in -ate have ei.
    EXPECT_EQ(adjusted("society", u"səˈsaiəti"), "səˈsaiəti");
    EXPECT_EQ(adjusted("appropriate", u"əˈprəupriət"), "əˈprəupriət");
    EXPECT_EQ(adjusted("city", u"ˈsiti"), "ˈsiti");
    EXPECT_EQ(adjusted("create", u"kriˈeit"), "kriˈeit");
    EXPECT_EQ(adjusted("unless", u"ənˈles"), "ənˈles");
    EXPECT_EQ(adjusted("congress", u"ˈkɔŋɡres"), "ˈkɔŋɡres");
    EXPECT_EQ(adjusted("success", u"səkˈses"), "səkˈses");
    EXPECT_EQ(adjusted("hundred", u"ˈhʌndrəd"), "ˈhʌndrəd");
    EXPECT_EQ(adjusted("table", u"ˈteibəl"), "ˈteibəl");
    EXPECT_EQ(adjusted("comfortable", u"ˈkʌmftəbəl"), "ˈkʌmftəbəl");
}

TEST(SpellingAdjustments, WeakPrefixesArePrintedWithI) {
    EXPECT_EQ(adjusted("escape", u"eˈskeip"), "iˈskeip");
    EXPECT_EQ(adjusted("endure", u"enˈdjuə"), "inˈdjuə");
    EXPECT_EQ(adjusted("befriend", u"bəˈfrend"), "biˈfrend");
    EXPECT_EQ(adjusted("demand", u"dəˈmɑːnd"), "diˈmɑːnd");
    EXPECT_EQ(adjusted("retain", u"rəˈtein"), "riˈtein");
    EXPECT_EQ(adjusted("prevent", u"prəˈvent"), "priˈvent");
    // Stressed prefixes and vowel-initial stems stay as they are.
    EXPECT_EQ(adjusted("extra", u"ˈekstrə"), "ˈekstrə");
    EXPECT_EQ(adjusted("decorate", u"ˈdekəreit"), "ˈdekəreit");
    EXPECT_EQ(adjusted("react", u"riˈækt"), "riˈækt");
    EXPECT_EQ(adjusted("eight", u"ˈeit"), "ˈeit");
}

TEST(SpellingAdjustments, FullVowelsTheDictionariesReduce) {
    EXPECT_EQ(adjusted("column", u"ˈkɔlʌm"), "ˈkɔləm");
    EXPECT_EQ(adjusted("autumn", u"ˈɔːtʌm"), "ˈɔːtəm");
    EXPECT_EQ(adjusted("autumns", u"ˈɔːtʌmz"), "ˈɔːtəmz");
    EXPECT_EQ(adjusted("troublesome", u"ˈtrʌbəlsʌm"), "ˈtrʌbəlsəm");
    EXPECT_EQ(adjusted("cumbersome", u"ˈkʌmbəˌsʌm"), "ˈkʌmbəsəm");
    EXPECT_EQ(adjusted("obtain", u"ɔbˈtein"), "əbˈtein");
    EXPECT_EQ(adjusted("obstruct", u"ɔbˈstrʌkt"), "əbˈstrʌkt");
    // Full where the dictionaries keep them full.
    EXPECT_EQ(adjusted("observation", u"ɔbzəˈveiʃən"), "ɔbzəˈveiʃən");
    EXPECT_EQ(adjusted("abnormal", u"əbˈnɔːməl"), "æbˈnɔːməl");
    EXPECT_EQ(adjusted("income", u"ˈinkʌm"), "ˈinkʌm");
}

TEST(SpellingAdjustments, ASchwaTheLettersKeepIsRestoredBeforeR) {
    EXPECT_EQ(adjusted("camera", u"ˈkæmrə"), "ˈkæmərə");
    EXPECT_EQ(adjusted("averages", u"ˈævridʒiz"), "ˈævəridʒiz");
    EXPECT_EQ(adjusted("favourite", u"ˈfeivrit"), "ˈfeivərit");
    EXPECT_EQ(adjusted("general", u"ˈdʒenrəl"), "ˈdʒenərəl");
    // Clusters, words spelled without the vowel, prefixes and phrases stay as they are.
    EXPECT_EQ(adjusted("different", u"ˈdifrənt"), "ˈdifrənt");
    EXPECT_EQ(adjusted("every", u"ˈevri"), "ˈevri");
    EXPECT_EQ(adjusted("Henry", u"ˈhenri"), "ˈhenri");
    EXPECT_EQ(adjusted("unreal", u"ʌnˈriəl"), "ʌnˈriəl");
    EXPECT_EQ(adjusted("gun runner", u"ˈɡʌnrʌnə"), "ˈɡʌnrʌnə");
}

TEST(SpellingAdjustments, PrefixesKeepTheirNBeforeKOrG) {
    EXPECT_EQ(adjusted("include", u"iŋˈkluːd"), "inˈkluːd");
    EXPECT_EQ(adjusted("congratulate", u"kəŋˈɡrætʃuleit"), "kənˈɡrætʃuleit");
    EXPECT_EQ(adjusted("incorrect", u"ˌiŋkəˈrekt"), "ˌinkəˈrekt");
    EXPECT_EQ(adjusted("unkind", u"ʌŋˈkaind"), "ʌnˈkaind");
    EXPECT_EQ(adjusted("engage", u"iŋˈɡeidʒ"), "inˈɡeidʒ");
    EXPECT_EQ(adjusted("synchronic", u"siŋˈkrɔnik"), "sinˈkrɔnik");
    // A stressed prefix and a plain ŋ inside a stem keep ŋ.
    EXPECT_EQ(adjusted("concrete", u"ˈkɔŋkriːt"), "ˈkɔŋkriːt");
    EXPECT_EQ(adjusted("uncle", u"ˈʌŋkəl"), "ˈʌŋkəl");
    EXPECT_EQ(adjusted("inkling", u"ˈiŋkliŋ"), "ˈiŋkliŋ");
    EXPECT_EQ(adjusted("anchor", u"ˈæŋkə"), "ˈæŋkə");
}

TEST(SpellingAdjustments, TheCureVowel) {
    EXPECT_EQ(adjusted("pure", u"ˈpjɔː"), "ˈpjuə");
    EXPECT_EQ(adjusted("insurance", u"inˈʃɔːrəns"), "inˈʃuərəns");
    EXPECT_EQ(adjusted("rural", u"ˈrɔːrəl"), "ˈruərəl");
    EXPECT_EQ(adjusted("moorland", u"ˈmɔːlənd"), "ˈmuələnd");
    EXPECT_EQ(adjusted("tourism", u"ˈtɔːrizəm"), "ˈtuərizəm");
    EXPECT_EQ(adjusted("Europe", u"ˈjɔːrəp"), "ˈjuərəp");
    // ɔː spelled otherwise stays.
    EXPECT_EQ(adjusted("door", u"ˈdɔː"), "ˈdɔː");
    EXPECT_EQ(adjusted("floor", u"ˈflɔː"), "ˈflɔː");
    EXPECT_EQ(adjusted("court", u"ˈkɔːt"), "ˈkɔːt");
    EXPECT_EQ(adjusted("your", u"jɔː"), "jɔː");
    EXPECT_EQ(adjusted("aura", u"ˈɔːrə"), "ˈɔːrə");
    // In a phrase, only when no other word may spell the ɔː.
    EXPECT_EQ(adjusted("poor man", u"ˈpɔːˈmæn"), "ˈpuəˈmæn");
    EXPECT_EQ(adjusted("Agriculture Organization", u"ˈæɡriˌkʌltʃəˌɔːɡənaiˈzeiʃən"),
              "ˈæɡriˌkʌltʃəˌɔːɡənaiˈzeiʃən");
    EXPECT_EQ(adjusted("arboriculture", u"ˈɑːbɔːˌrikʌltʃə"), "ˈɑːbɔːˌrikʌltʃə");
    EXPECT_EQ(adjusted("jurors", u"ˈdʒɔːrəz"), "ˈdʒuərəz");
    EXPECT_EQ(adjusted("bureau", u"ˈbjɔːrəu"), "ˈbjuərəu");
    EXPECT_EQ(adjusted("alluring", u"əˈlɔːriŋ"), "əˈluəriŋ");
    EXPECT_EQ(adjusted("rurally", u"ˈrɔːrəli"), "ˈruərəli");
    EXPECT_EQ(adjusted("sure enough", u"ˈʃɔːiˈnʌf"), "ˈʃuəiˈnʌf");
}

TEST(SpellingAdjustments, JBeforeTheWeakVowel) {
    EXPECT_EQ(adjusted("trillion", u"ˈtriliən"), "ˈtriljən");
    EXPECT_EQ(adjusted("brilliance", u"ˈbriliəns"), "ˈbriljəns");
    EXPECT_EQ(adjusted("canyons", u"ˈkæniənz"), "ˈkænjənz");
    EXPECT_EQ(adjusted("dominion", u"dəˈminiən"), "dəˈminjən");
    EXPECT_EQ(adjusted("communion", u"kəˈmjuːniən"), "kəˈmjuːnjən");
    // No j where the i is a syllable of its own.
    EXPECT_EQ(adjusted("champion", u"ˈtʃæmpiən"), "ˈtʃæmpiən");
    EXPECT_EQ(adjusted("senior", u"ˈsiːniə"), "ˈsiːniə");
}

TEST(SpellingAdjustments, OneAndItsCompoundsHaveTheStrutVowel) {
    EXPECT_EQ(adjusted("ones", u"ˈwɔnz"), "ˈwʌnz");
    EXPECT_EQ(adjusted("everyone", u"ˈevriwɔn"), "ˈevriwʌn");
    EXPECT_EQ(adjusted("nonetheless", u"ˌnɔnðəˈles"), "ˌnʌnðəˈles");
    EXPECT_EQ(adjusted("nonsense", u"ˈnɔnsəns"), "ˈnɔnsəns");
    EXPECT_EQ(adjusted("wander", u"ˈwɔndə"), "ˈwɔndə");
}

TEST(SpellingAdjustments, SingleWords) {
    EXPECT_EQ(adjusted("advancement", u"ədˈvænsmənt"), "ədˈvɑːnsmənt");
    EXPECT_EQ(adjusted("absorbing", u"əbˈsɔːbiŋ"), "əbˈzɔːbiŋ");
    EXPECT_EQ(adjusted("empire", u"ˈimpaiə"), "ˈempaiə");
    EXPECT_EQ(adjusted("anxiously", u"ˈæŋʃəsli"), "ˈæŋkʃəsli");
    EXPECT_EQ(adjusted("authority", u"əˈθɔrəti"), "ɔːˈθɔriti");
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
