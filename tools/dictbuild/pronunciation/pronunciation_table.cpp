// Headwords with more than one common pronunciation, written by hand in the symbols this
// dictionary stores, as British learner's dictionaries print them (ɡ may be written g), with
// the ə of a syllabic l or n written out as the rest of the dictionary stores it (ˈprezənt).
#include <initializer_list>

#include "pronunciation_variants.h"

namespace quorvi::dictbuild {
namespace {

// A function word: its strong form with every sense, then its weak forms.
HeadwordReadings weakForms(const char* word, const char* strong,
                           std::initializer_list<const char*> weak) {
  HeadwordReadings h{word, {{strong, "strong form", ""}}};
  for (const char* w : weak) h.readings.push_back({w, "weak form", ""});
  return h;
}

// A function word mostly heard unstressed: its weak forms first, the first with every sense
// (the ðə, ði, ðiː), then its strong form.
HeadwordReadings heardWeak(const char* word, const char* strong,
                           std::initializer_list<const char*> weak) {
  HeadwordReadings h{word, {}};
  for (const char* w : weak) h.readings.push_back({w, "weak form", ""});
  h.readings.push_back({strong, "strong form", ""});
  return h;
}

// A common variant of the usual pronunciation.
HeadwordReadings variants(const char* word, const char* usual,
                          std::initializer_list<const char*> others) {
  HeadwordReadings h{word, {{usual, "", ""}}};
  for (const char* o : others) h.readings.push_back({o, "other pronunciation", ""});
  return h;
}

// Noun (and adjective) stressed on the first syllable, verb on the second.
HeadwordReadings nounVerb(const char* word, const char* noun, const char* verb) {
  return {word, {{noun, "noun", "n. adj."}, {verb, "verb", "v."}}};
}

// The same where the verb is the commoner word and comes first.
HeadwordReadings verbNoun(const char* word, const char* verb, const char* noun) {
  return {word, {{verb, "verb", "v."}, {noun, "noun", "n. adj."}}};
}

// Most lead with the weak form a learner hears in speech; words as often stressed as not
// (that, some, there, just) lead with the strong one.
std::vector<HeadwordReadings> functionWords() {
  return {
      heardWeak("a", "ei", {"ə"}),
      heardWeak("an", "æn", {"ən"}),
      heardWeak("the", "ðiː", {"ðə", "ði"}),
      heardWeak("and", "ænd", {"ənd", "ən"}),
      heardWeak("of", "ɔv", {"əv"}),
      heardWeak("to", "tuː", {"tə", "tu"}),
      heardWeak("for", "fɔː", {"fə"}),
      heardWeak("from", "frɔm", {"frəm"}),
      heardWeak("at", "æt", {"ət"}),
      heardWeak("as", "æz", {"əz"}),
      heardWeak("but", "bʌt", {"bət"}),
      heardWeak("than", "ðæn", {"ðən"}),
      weakForms("that", "ðæt", {"ðət"}),
      heardWeak("was", "wɔz", {"wəz"}),
      heardWeak("were", "wəː", {"wə"}),
      heardWeak("am", "æm", {"əm"}),
      heardWeak("are", "ɑː", {"ə"}),
      heardWeak("be", "biː", {"bi"}),
      heardWeak("been", "biːn", {"bin"}),
      heardWeak("have", "hæv", {"həv", "əv"}),
      heardWeak("has", "hæz", {"həz", "əz"}),
      heardWeak("had", "hæd", {"həd", "əd"}),
      heardWeak("can", "kæn", {"kən"}),
      heardWeak("could", "kud", {"kəd"}),
      heardWeak("must", "mʌst", {"məst"}),
      heardWeak("shall", "ʃæl", {"ʃəl"}),
      heardWeak("should", "ʃud", {"ʃəd"}),
      heardWeak("would", "wud", {"wəd"}),
      heardWeak("do", "duː", {"du", "də"}),
      weakForms("some", "sʌm", {"səm"}),
      heardWeak("them", "ðem", {"ðəm"}),
      heardWeak("us", "ʌs", {"əs"}),
      heardWeak("her", "həː", {"hə", "əː"}),
      heardWeak("him", "him", {"im"}),
      heardWeak("his", "hiz", {"iz"}),
      heardWeak("he", "hiː", {"hi"}),
      heardWeak("she", "ʃiː", {"ʃi"}),
      heardWeak("we", "wiː", {"wi"}),
      heardWeak("you", "juː", {"ju"}),
      heardWeak("your", "jɔː", {"jə"}),
      heardWeak("me", "miː", {"mi"}),
      weakForms("there", "ðɛə", {"ðə"}),
      weakForms("just", "dʒʌst", {"dʒəst"}),
      weakForms("into", "ˈintuː", {"ˈintə"}),
      weakForms("upon", "əˈpɔn", {"əpən"}),
      heardWeak("or", "ɔː", {"ə"}),
      weakForms("will", "wil", {"əl"}),
  };
}

std::vector<HeadwordReadings> heteronyms() {
  return {
      {"read",
       {{"ˈriːd", "present tense, and noun", ""},
        {"ˈred", "past tense and past participle of read", ""}}},
      {"live", {{"ˈliv", "verb", "v."}, {"ˈlaiv", "adjective, adverb", "adj. adv."}}},
      {"lives", {{"ˈlivz", "", ""}, {"ˈlaivz", "plural of life", ""}}},
      {"lead",
       {{"ˈliːd", "verb, and noun: the first place; a leash", ""},
        {"ˈled", "noun: a soft heavy grey metal; the part of a pencil that writes", ""}}},
      {"wind",
       {{"ˈwind", "noun: moving air", "n."}, {"ˈwaind", "verb: turn, twist, wrap round", "v."}}},
      {"wound",
       {{"ˈwuːnd", "noun, verb: an injury", ""},
        {"ˈwaund", "past tense and past participle of wind", ""}}},
      {"tear",
       {{"ˈtiə", "noun: a drop from the eye", ""},
        {"ˈtɛə", "verb, noun: pull apart; a hole", "v."}}},
      {"tears", {{"ˈtiəz", "", ""}, {"ˈtɛəz", "third person singular of tear (pull apart)", ""}}},
      {"close",
       {{"ˈkləuz", "verb, noun: shut; end", "v."},
        {"ˈkləus", "adjective, adverb: near", "adj. adv."}}},
      {"use", {{"ˈjuːs", "noun", "n."}, {"ˈjuːz", "verb", "v."}}},
      {"used", {{"ˈjuːzd", "", ""}, {"ˈjuːst", "used to: did in the past; accustomed", ""}}},
      {"house", {{"ˈhaus", "noun", "n."}, {"ˈhauz", "verb", "v."}}},
      {"excuse", {{"ikˈskjuːs", "noun", "n."}, {"ikˈskjuːz", "verb", "v."}}},
      {"abuse", {{"əˈbjuːs", "noun", "n."}, {"əˈbjuːz", "verb", "v."}}},
      {"minute", {{"ˈminit", "noun", "n."}, {"maiˈnjuːt", "adjective: very small", "adj."}}},
      {"bow",
       {{"ˈbau", "verb, noun: bend the head or body; the front of a ship", ""},
        {"ˈbəu", "noun: a weapon for arrows; a knot with two loops", ""}}},
      {"row",
       {{"ˈrəu", "noun, verb: a line; use oars", ""}, {"ˈrau", "noun, verb: a noisy quarrel", ""}}},
      {"sow",
       {{"ˈsəu", "verb: put seeds in the ground", "v."}, {"ˈsau", "noun: a female pig", "n."}}},
      {"does",
       {{"dʌz", "strong form", ""}, {"dəz", "weak form", ""}, {"ˈdəuz", "plural of doe", ""}}},
      {"bass", {{"ˈbeis", "noun, adjective: low in sound", ""}, {"ˈbæs", "noun: a fish", ""}}},
      {"axes", {{"ˈæksiz", "plural of axe", ""}, {"ˈæksiːz", "plural of axis", ""}}},
      {"resume", {{"riˈzjuːm", "verb", "v."}, {"ˈrezjumei", "noun: a summary", "n."}}},
      {"invalid", {{"ˈinvəlid", "noun", "n."}, {"inˈvælid", "adjective: not valid", "adj."}}},
      {"content",
       {{"ˈkɔntent", "noun", "n."}, {"kənˈtent", "adjective, verb: satisfied", "adj. v."}}},
      {"entrance", {{"ˈentrəns", "noun", "n."}, {"inˈtrɑːns", "verb: fill with delight", "v."}}},
      {"refuse", {{"riˈfjuːz", "verb", "v."}, {"ˈrefjuːs", "noun: rubbish", "n."}}},
      {"produce", {{"prəˈdjuːs", "verb", "v."}, {"ˈprɔdjuːs", "noun", "n."}}},
      {"permit", {{"pəˈmit", "verb", "v."}, {"ˈpəːmit", "noun", "n."}}},
      {"perfect", {{"ˈpəːfikt", "adjective", "adj. n."}, {"pəˈfekt", "verb", "v."}}},
      {"upset", {{"ʌpˈset", "verb, adjective", "v. adj."}, {"ˈʌpset", "noun", "n."}}},
      {"update", {{"ʌpˈdeit", "verb", "v."}, {"ˈʌpdeit", "noun", "n."}}},
      {"compact", {{"kəmˈpækt", "adjective", "adj. v."}, {"ˈkɔmpækt", "noun", "n."}}},
      {"console", {{"kənˈsəul", "verb", "v."}, {"ˈkɔnsəul", "noun", "n."}}},
      {"digest", {{"daiˈdʒest", "verb", "v."}, {"ˈdaidʒest", "noun", "n."}}},
      {"estimate", {{"ˈestimit", "noun", "n."}, {"ˈestimeit", "verb", "v."}}},
      {"separate", {{"ˈseprit", "adjective", "adj. n."}, {"ˈsepəreit", "verb", "v."}}},
      {"graduate", {{"ˈɡrædʒuit", "noun", "n. adj."}, {"ˈɡrædʒueit", "verb", "v."}}},
      {"moderate", {{"ˈmɔdərit", "adjective, noun", "adj. n."}, {"ˈmɔdəreit", "verb", "v."}}},
      {"approximate", {{"əˈprɔksimit", "adjective", "adj."}, {"əˈprɔksimeit", "verb", "v."}}},
      {"advocate", {{"ˈædvəkit", "noun", "n."}, {"ˈædvəkeit", "verb", "v."}}},
      {"associate", {{"əˈsəuʃiət", "noun, adjective", "n. adj."}, {"əˈsəuʃieit", "verb", "v."}}},
      {"delegate", {{"ˈdeliɡit", "noun", "n."}, {"ˈdeliɡeit", "verb", "v."}}},
      {"duplicate",
       {{"ˈdjuːplikit", "adjective, noun", "adj. n."}, {"ˈdjuːplikeit", "verb", "v."}}},
      {"elaborate", {{"iˈlæbərit", "adjective", "adj."}, {"iˈlæbəreit", "verb", "v."}}},
      {"alternate", {{"ɔːlˈtəːnit", "adjective", "adj. n."}, {"ˈɔːltəneit", "verb", "v."}}},
      {"appropriate", {{"əˈprəupriət", "adjective", "adj."}, {"əˈprəuprieit", "verb", "v."}}},
      {"deliberate", {{"diˈlibərit", "adjective", "adj."}, {"diˈlibəreit", "verb", "v."}}},
      {"present", {{"ˈprezənt", "noun, adjective", "n. adj."}, {"priˈzent", "verb", "v."}}},
      {"subject", {{"ˈsʌbdʒikt", "noun, adjective", "n. adj."}, {"səbˈdʒekt", "verb", "v."}}},
      {"object", {{"ˈɔbdʒikt", "noun", "n."}, {"əbˈdʒekt", "verb", "v."}}},
      {"suspect", {{"ˈsʌspekt", "noun, adjective", "n. adj."}, {"səˈspekt", "verb", "v."}}},
      {"desert",
       {{"ˈdezət", "noun: a dry region", "n."}, {"diˈzəːt", "verb: leave, abandon", "v."}}},
      {"refund", {{"ˈriːfʌnd", "noun", "n."}, {"riˈfʌnd", "verb", "v."}}},
      {"reject", {{"riˈdʒekt", "verb", "v."}, {"ˈriːdʒekt", "noun", "n."}}},
      {"rebel", {{"ˈrebəl", "noun", "n. adj."}, {"riˈbel", "verb", "v."}}},
      {"discount", {{"ˈdiskaunt", "noun", "n."}, {"disˈkaunt", "verb", "v."}}},
      {"attribute", {{"ˈætribjuːt", "noun", "n."}, {"əˈtribjuːt", "verb", "v."}}},
      {"compound", {{"ˈkɔmpaund", "noun, adjective", "n. adj."}, {"kəmˈpaund", "verb", "v."}}},
      {"converse", {{"ˈkɔnvəːs", "noun, adjective", "n. adj."}, {"kənˈvəːs", "verb", "v."}}},
      {"discharge", {{"ˈdistʃɑːdʒ", "noun", "n."}, {"disˈtʃɑːdʒ", "verb", "v."}}},
      {"frequent", {{"ˈfriːkwənt", "adjective", "adj."}, {"friˈkwent", "verb", "v."}}},
      {"impact", {{"ˈimpækt", "noun", "n."}, {"imˈpækt", "verb", "v."}}},
      {"incense", {{"ˈinsens", "noun", "n."}, {"inˈsens", "verb: make very angry", "v."}}},
      {"perfume", {{"ˈpəːfjuːm", "noun", "n."}, {"pəˈfjuːm", "verb", "v."}}},
      {"ally", {{"ˈælai", "noun", "n."}, {"əˈlai", "verb", "v."}}},
      {"dictate", {{"dikˈteit", "verb", "v."}, {"ˈdikteit", "noun", "n."}}},
      {"essay", {{"ˈesei", "noun", "n."}, {"eˈsei", "verb: try", "v."}}},
      {"exploit", {{"ikˈsplɔit", "verb", "v."}, {"ˈeksplɔit", "noun", "n."}}},
      {"overflow", {{"ˌəuvəˈfləu", "verb", "v."}, {"ˈəuvəfləu", "noun", "n."}}},
      {"intimate", {{"ˈintimit", "adjective, noun", "adj. n."}, {"ˈintimeit", "verb", "v."}}},
      {"articulate", {{"ɑːˈtikjulit", "adjective", "adj."}, {"ɑːˈtikjuleit", "verb", "v."}}},
      {"sewer",
       {{"ˈsuːə", "noun: a pipe that carries waste water", ""},
        {"ˈsəuə", "noun: someone who sews", ""}}},
      {"buffet",
       {{"ˈbufei", "noun: a meal, a counter serving food", ""},
        {"ˈbʌfit", "verb: knock about; noun: a blow", "v."}}},
      {"aged",
       {{"ˈeidʒid", "adjective: old", "adj."},
        {"ˈeidʒd", "of the age of; past tense of age", "v."}}},
      {"learned",
       {{"ˈləːnid", "adjective: having much knowledge", "adj."},
        {"ˈləːnd", "past tense and past participle of learn", "v."}}},
      {"blessed",
       {{"ˈblesid", "adjective: holy", "adj."},
        {"ˈblest", "past tense and past participle of bless", "v."}}},
      {"beloved",
       {{"biˈlʌvid", "adjective, noun", "adj. n."}, {"biˈlʌvd", "adjective: loved by", ""}}},
      {"crooked",
       {{"ˈkrukid", "adjective: not straight; dishonest", "adj."},
        {"ˈkrukt", "past tense and past participle of crook", "v."}}},
      {"lower",
       {{"ˈləuə", "adjective, verb: less high; move down", ""},
        {"ˈlauə", "verb: frown; look dark", ""}}},
      {"putting",
       {{"ˈputiŋ", "present participle of put", ""},
        {"ˈpʌtiŋ", "present participle of putt (golf)", ""}}},
      {"uses",
       {{"ˈjuːsiz", "plural of use (noun)", ""},
        {"ˈjuːziz", "third person singular of use (verb)", ""}}},
      {"winds",
       {{"ˈwindz", "plural of wind (moving air)", ""},
        {"ˈwaindz", "third person singular of wind (turn)", ""}}},
  };
}

// Two-syllable nouns stressed first, verbs second.
std::vector<HeadwordReadings> stressShifts() {
  return {
      nounVerb("record", "ˈrekɔːd", "riˈkɔːd"),
      nounVerb("project", "ˈprɔdʒekt", "prəˈdʒekt"),
      nounVerb("contract", "ˈkɔntrækt", "kənˈtrækt"),
      nounVerb("conduct", "ˈkɔndʌkt", "kənˈdʌkt"),
      nounVerb("conflict", "ˈkɔnflikt", "kənˈflikt"),
      nounVerb("contrast", "ˈkɔntrɑːst", "kənˈtrɑːst"),
      nounVerb("increase", "ˈinkriːs", "inˈkriːs"),
      nounVerb("decrease", "ˈdiːkriːs", "diˈkriːs"),
      nounVerb("export", "ˈekspɔːt", "ikˈspɔːt"),
      nounVerb("import", "ˈimpɔːt", "imˈpɔːt"),
      nounVerb("insult", "ˈinsʌlt", "inˈsʌlt"),
      nounVerb("progress", "ˈprəuɡres", "prəˈɡres"),
      nounVerb("protest", "ˈprəutest", "prəˈtest"),
      nounVerb("survey", "ˈsəːvei", "səˈvei"),
      verbNoun("convert", "kənˈvəːt", "ˈkɔnvəːt"),
      nounVerb("convict", "ˈkɔnvikt", "kənˈvikt"),
      nounVerb("defect", "ˈdiːfekt", "diˈfekt"),
      nounVerb("extract", "ˈekstrækt", "ikˈstrækt"),
      nounVerb("transfer", "ˈtrænsfəː", "trænsˈfəː"),
      nounVerb("transport", "ˈtrænspɔːt", "trænˈspɔːt"),
      nounVerb("torment", "ˈtɔːment", "tɔːˈment"),
      verbNoun("combine", "kəmˈbain", "ˈkɔmbain"),
      nounVerb("conscript", "ˈkɔnskript", "kənˈskript"),
      nounVerb("contest", "ˈkɔntest", "kənˈtest"),
      nounVerb("escort", "ˈeskɔːt", "iˈskɔːt"),
      nounVerb("ferment", "ˈfəːment", "fəˈment"),
      verbNoun("incline", "inˈklain", "ˈinklain"),
      verbNoun("insert", "inˈsəːt", "ˈinsəːt"),
      nounVerb("segment", "ˈseɡmənt", "seɡˈment"),
  };
}

std::vector<HeadwordReadings> commonVariants() {
  return {
      variants("either", "ˈaiðə", {"ˈiːðə"}),
      variants("neither", "ˈnaiðə", {"ˈniːðə"}),
      variants("often", "ˈɔfən", {"ˈɔftən"}),
      variants("schedule", "ˈʃedjuːl", {"ˈskedʒuːl"}),
      variants("garage", "ˈɡærɑːʒ", {"ˈɡæridʒ", "ˈɡærɑːdʒ"}),
      variants("again", "əˈɡen", {"əˈɡein"}),
      variants("against", "əˈɡenst", {"əˈɡeinst"}),
      variants("ate", "ˈet", {"ˈeit"}),
      variants("economic", "ˌiːkəˈnɔmik", {"ˌekəˈnɔmik"}),
      variants("envelope", "ˈenvələup", {"ˈɔnvələup"}),
      variants("privacy", "ˈprivəsi", {"ˈpraivəsi"}),
      variants("direct", "diˈrekt", {"daiˈrekt"}),
      variants("direction", "diˈrekʃən", {"daiˈrekʃən"}),
      variants("data", "ˈdeitə", {"ˈdɑːtə"}),
      variants("status", "ˈsteitəs", {"ˈstætəs"}),
      variants("issue", "ˈiʃuː", {"ˈisjuː"}),
      variants("tissue", "ˈtiʃuː", {"ˈtisjuː"}),
      variants("controversy", "ˈkɔntrəvəːsi", {"kənˈtrɔvəsi"}),
      variants("zebra", "ˈzebrə", {"ˈziːbrə"}),
      variants("yoghurt", "ˈjɔɡət", {"ˈjəuɡət"}),
      variants("process", "ˈprəuses", {"ˈprɔses"}),
      variants("research", "riˈsəːtʃ", {"ˈriːsəːtʃ"}),
      variants("adult", "ˈædʌlt", {"əˈdʌlt"}),
      variants("kilometre", "ˈkiləmiːtə", {"kiˈlɔmitə"}),
      variants("interesting", "ˈintrəstiŋ", {"ˈintrestiŋ", "ˈintərestiŋ"}),
      variants("with", "wið", {"wiθ"}),
      variants("because", "biˈkɔz", {"biˈkəz"}),
      variants("nephew", "ˈnevjuː", {"ˈnefjuː"}),
      variants("February", "ˈfebruəri", {"ˈfebjuəri"}),
      variants("room", "ˈruːm", {"ˈrum"}),
      variants("Monday", "ˈmʌndei", {"ˈmʌndi"}),
      variants("Tuesday", "ˈtjuːzdei", {"ˈtjuːzdi"}),
      variants("Wednesday", "ˈwenzdei", {"ˈwenzdi"}),
      variants("Thursday", "ˈθəːzdei", {"ˈθəːzdi"}),
      variants("Friday", "ˈfraidei", {"ˈfraidi"}),
      variants("Saturday", "ˈsætədei", {"ˈsætədi"}),
      variants("Sunday", "ˈsʌndei", {"ˈsʌndi"}),
      variants("yesterday", "ˈjestədei", {"ˈjestədi"}),
      variants("hurricane", "ˈhʌrikən", {"ˈhʌrikein"}),
      variants("margarine", "ˌmɑːdʒəˈriːn", {"ˌmɑːɡəˈriːn"}),
      variants("primarily", "ˈpraimərəli", {"praiˈmerəli"}),
      variants("clothes", "ˈkləuðz", {"ˈkləuz"}),
      variants("forehead", "ˈfɔːhed", {"ˈfɔrid"}),
      variants("Asia", "ˈeiʃə", {"ˈeiʒə"}),
      variants("version", "ˈvəːʃən", {"ˈvəːʒən"}),
      variants("translate", "trænsˈleit", {"trænzˈleit", "trɑːnsˈleit"}),
      variants("patriot", "ˈpætriət", {"ˈpeitriət"}),
      variants("suit", "ˈsuːt", {"ˈsjuːt"}),
      variants("super", "ˈsuːpə", {"ˈsjuːpə"}),
      variants("assume", "əˈsjuːm", {"əˈsuːm"}),
      variants("comparable", "ˈkɔmpərəbəl", {"kəmˈpærəbəl"}),
      variants("applicable", "əˈplikəbəl", {"ˈæplikəbəl"}),
      variants("formidable", "ˈfɔːmidəbəl", {"fəˈmidəbəl"}),
      variants("hospitable", "hɔˈspitəbəl", {"ˈhɔspitəbəl"}),
      variants("exquisite", "ikˈskwizit", {"ˈekskwizit"}),
      variants("harass", "ˈhærəs", {"həˈræs"}),
      variants("finance", "ˈfainæns", {"faiˈnæns", "fiˈnæns"}),
      variants("falcon", "ˈfɔːlkən", {"ˈfælkən"}),
      variants("migraine", "ˈmiːɡrein", {"ˈmaiɡrein"}),
      variants("dissect", "diˈsekt", {"daiˈsekt"}),
      variants("respite", "ˈrespait", {"ˈrespit"}),
      variants("scone", "ˈskɔn", {"ˈskəun"}),
      variants("luxurious", "lʌɡˈʒuəriəs", {"lʌkˈsjuəriəs"}),
      // Weak vowels the British dictionaries print both ways.
      variants("chicken", "ˈtʃikin", {"ˈtʃikən"}),
      variants("kitchen", "ˈkitʃin", {"ˈkitʃən"}),
      variants("family", "ˈfæmili", {"ˈfæməli"}),
      variants("necessary", "ˈnesəsəri", {"ˈnesisəri"}),
  };
}

}  // namespace

const std::vector<HeadwordReadings>& pronunciationTable() {
  static const std::vector<HeadwordReadings> table = [] {
    std::vector<HeadwordReadings> all;
    for (auto part : {functionWords(), heteronyms(), stressShifts(), commonVariants()})
      for (HeadwordReadings& h : part) all.push_back(std::move(h));
    return all;
  }();
  return table;
}

}  // namespace quorvi::dictbuild
