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

TEST(Normaliser, WeakVowelsOfSpelledSuffixes) {
    EXPECT_EQ(encodeUtf8(adjustForSpelling("university", u"ˌjuːniˈvəːsiti")), "ˌjuːniˈvəːsəti");
    EXPECT_EQ(encodeUtf8(adjustForSpelling("possible", u"ˈpɔsibəl")), "ˈpɔsəbəl");
    // The stressed syllable and the second half of a glide keep their vowel.
    EXPECT_EQ(encodeUtf8(adjustForSpelling("city", u"ˈsiti")), "ˈsiti");
    EXPECT_EQ(encodeUtf8(adjustForSpelling("table", u"ˈteibəl")), "ˈteibəl");
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
