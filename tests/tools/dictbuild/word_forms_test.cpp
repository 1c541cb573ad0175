#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "data_tables.h"
#include "irregular_verbs.h"
#include "checked_inflections.h"
#include "inflections.h"

using namespace quorvi::dictbuild;

namespace {

// A few WordNet lemmas as the reader gives them, with the exception-list forms WordNet has
// for them, and a British word list written by hand for them.
class WordForms : public ::testing::Test {
 protected:
  void SetUp() override {
    lemma("same", 9, "a", 9);
    lemma("best", 9, "a", 9);
    lemma("big", 30, "a", 30);
    lemma("sheep", 5, "n", 5);
    lemma("cattle", 5, "n", 5);
    lemma("one", 50, "n", 50);
    lemma("algorithm", 0, "n", 0);
    lemma("radio", 4, "nv", 4);
    lemma("layer", 3, "nv", 3);
    lemma("work", 90, "nv", 90);
    lemma("show", 80, "nv", 80);
    lemma("go", 99, "v", 99);
    lemma("take", 95, "v", 95);
    lemma("overtake", 2, "v", 2);
    lemma("dream", 20, "nv", 20);
    lemma("see", 90, "v", 90);
    lemma("brother", 20, "n", 20);
    lemma("foot", 30, "nv", 30);
    lemma("bus", 10, "nv", 10);
    lemma("emphasis", 5, "n", 5);
    lemma("blick", 1, "v", 1);  // a verb no table knows
    lemma("ghostwrite", 1, "v", 1);
    lemma("misunderstand", 9, "v", 9);
    lemma("give", 60, "v", 60);
    lemma("give up", 8, "v", 8);
    lemma("throw out", 2, "v", 2);
    lemma("seed", 5, "nv", 5);
    lemma("put", 70, "v", 70);     // WordNet lists no past form: it is the verb itself
    lemma("relay", 3, "nv", 3);    // re + lay, yet regular
    lemma("befit", 2, "v", 2);     // stress on the last syllable doubles its consonant
    lemma("visit", 40, "nv", 40);  // none on it, none doubled
    lemma("genuineness", 1, "n", 1);
    lemma("weakness", 12, "n", 12);
    lemma("favourableness", 0, "n", 0);
    lemma("realize", 30, "v", 30);
    lemma("Achaemenid", 1, "n", 1);
    data_.exceptions['v'] = {{"wrought", {"work"}},
                             {"shown", {"show"}},
                             {"went", {"go"}},
                             {"gone", {"go"}},
                             {"took", {"take"}},
                             {"taken", {"take"}},
                             {"overtook", {"overtake"}},
                             {"overtaken", {"overtake"}},
                             {"dreamt", {"dream"}},
                             {"saw", {"see"}},
                             {"seen", {"see"}},
                             {"black", {"blick"}},
                             {"blicken", {"blick"}},
                             {"gave", {"give"}},
                             {"given", {"give"}},
                             {"throwing out", {"throw out"}},
                             {"ghostwrote", {"ghostwrite"}},
                             {"ghostwritten", {"ghostwrite"}},
                             {"misunderstood", {"misunderstand"}}};
    data_.exceptions['n'] = {{"brethren", {"brother"}},   {"feet", {"foot"}},
                             {"busses", {"bus"}},         {"emphases", {"emphasis"}},
                             {"aboideaux", {"aboideau"}}, {"achaemenidae", {"achaemenid"}}};
    for (const char* w : {"bigger",    "biggest",    "ones",     "algorithms", "radios",
                          "radioed",   "radioing",   "layers",   "layered",    "layering",
                          "works",     "worked",     "working",  "shows",      "showed",
                          "showing",   "goes",       "going",    "takes",      "taking",
                          "overtakes", "overtaking", "dreams",   "dreamed",    "dreaming",
                          "sees",      "seeing",     "seed",     "seeds",      "seeded",
                          "brothers",  "foots",      "footed",   "footing",    "feet",
                          "buses",     "bused",      "busing",   "emphasises", "befitted",
                          "befitting", "visited",    "visiting", "weaknesses", "favourablenesses",
                          "putted",    "relayed",    "blicks",   "blicked",    "blicking",
                          "gives",     "giving",     "throws",   "throwing"})
      list_.add(w);
    // Forms only hunspell's affix rules spell out.
    for (const char* w : {"genuinenesses", "realized", "realizes", "realizing"})
      list_.addSpelledOut(w);
  }
  void lemma(const std::string& caption, double frequency, const std::string& pos, double count) {
    DictEntry e;
    e.caption = caption;
    e.frequency = frequency;
    e.explainLines = {"a sense"};
    data_.headwords.push_back(e);
    data_.lemmaPos[caption] = pos;
    for (char p : pos) data_.posCounts[caption + '#' + p] = count;
  }
  const DictEntry* find(const std::string& caption) const {
    for (const auto& e : data_.headwords)
      if (e.caption == caption) return &e;
    return nullptr;
  }
  std::vector<std::string> labels(const std::string& caption) const {
    const DictEntry* e = find(caption);
    if (!e) return {"(no entry)"};
    std::vector<std::string> out;
    for (const auto& l : e->explainLines)
      if (l != "a sense") out.push_back(l);
    return out;
  }
  using Lines = std::vector<std::string>;
  // Each form is labelled with the one label beside it and nothing else.
  void expectLabels(std::initializer_list<std::pair<const char*, const char*>> expected) const {
    for (const auto& [form, label] : expected) EXPECT_EQ(labels(form), Lines{label}) << form;
  }
  WordNetData data_;
  BritishWordList list_;
};

}  // namespace

TEST_F(WordForms, FormsMadeByRuleStayOnlyWhenTheWordListHasThem) {
  const size_t lemmas = data_.headwords.size();
  const InflectionSummary summary = addInflections(data_, list_);
  for (const char* madeUp : {"samest", "samer", "bestest", "sheeps", "cattles", "radioes",
                             "layerred", "goed", "taked", "overtaked", "blickeds"})
    EXPECT_EQ(find(madeUp), nullptr) << madeUp;
  // Real regular forms, also where WordNet lists an irregular one beside them or the lemma
  // is never tagged in running text.
  EXPECT_EQ(labels("worked"), Lines{"past tense and past participle of work"});
  EXPECT_EQ(labels("brothers"), Lines{"plural of brother"});
  EXPECT_EQ(labels("ones"), Lines{"plural of one"});
  EXPECT_EQ(labels("algorithms"), Lines{"plural of algorithm"});
  EXPECT_EQ(labels("radios"), (Lines{"plural of radio", "third person singular of radio"}));
  EXPECT_EQ(labels("layered"), Lines{"past tense and past participle of layer"});
  EXPECT_EQ(labels("biggest"), Lines{"superlative of big"});
  EXPECT_EQ(labels("buses"), (Lines{"plural of bus", "third person singular of bus"}));
  // A regular spelling that is only a verb form or another word gets no false label.
  EXPECT_EQ(labels("foots"), Lines{"third person singular of foot"});
  EXPECT_EQ(labels("seed"), Lines{});  // not "past tense of see"
  EXPECT_EQ(find("putted"), nullptr);  // of putt, not of put
  EXPECT_EQ(labels("befitted"), Lines{"past tense and past participle of befit"});
  EXPECT_EQ(labels("befitting"), Lines{"present participle of befit"});
  EXPECT_EQ(find("befited"), nullptr);
  EXPECT_EQ(labels("visited"), Lines{"past tense and past participle of visit"});
  EXPECT_EQ(find("visitted"), nullptr);
  EXPECT_EQ(labels("relayed"), Lines{"past tense and past participle of relay"});
  EXPECT_EQ(find("emphasises"), nullptr);
  // Hunspell's rules vouch for verb forms (the -ize spellings a British list lacks), not for
  // plurals of uncountable nouns.
  EXPECT_EQ(labels("realized"), Lines{"past tense and past participle of realize"});
  EXPECT_EQ(find("genuinenesses"), nullptr);
  EXPECT_EQ(labels("weaknesses"), Lines{"plural of weakness"});
  EXPECT_EQ(find("favourablenesses"), nullptr);  // listed, but never met in running text
  // Exception-list forms name their headword as WordNet spells it, or are left out.
  EXPECT_EQ(find("aboideaux"), nullptr);
  EXPECT_EQ(summary.listedWithoutLemma, 1u);
  EXPECT_EQ(labels("Achaemenidae"), Lines{"plural of Achaemenid"});
  EXPECT_GE(summary.madeDropped, 10u);
  // Every single-word row added is in the list or in WordNet's exception lists, but for the
  // hand-listed forms of be, have, do and other, and a listed form spelled as its headword.
  const std::set<std::string> handListed = {
      "am",  "are",    "is",   "was", "were", "been",  "being",  "has",
      "had", "having", "does", "did", "done", "doing", "others", "Achaemenidae"};
  for (size_t i = lemmas; i < data_.headwords.size(); ++i) {
    const DictEntry& e = data_.headwords[i];
    if (e.caption.find(' ') != std::string::npos) continue;
    if (handListed.count(e.caption)) continue;
    bool listed = false;
    for (const auto& [pos, forms] : data_.exceptions)
      for (const auto& f : forms) listed = listed || f.first == e.caption;
    EXPECT_TRUE(list_.contains(e.caption) || listed) << e.caption;
  }
  ASSERT_FALSE(summary.droppedExamples.empty());
  for (const std::string& example : summary.droppedExamples)
    EXPECT_EQ(find(example), nullptr) << example;
}

TEST_F(WordForms, PastTenseAndPastParticipleAreLabelledApart) {
  addInflections(data_, list_);
  expectLabels({
      {"went", "past tense of go"},
      {"gone", "past participle of go"},
      {"took", "past tense of take"},
      {"taken", "past participle of take"},
      {"overtook", "past tense of overtake"},  // take behind a prefix
      {"overtaken", "past participle of overtake"},
      {"ghostwrote", "past tense of ghostwrite"},  // write inside a compound
      {"ghostwritten", "past participle of ghostwrite"},
      {"misunderstood", "past tense and past participle of misunderstand"},
      {"saw", "past tense of see"},
      {"showed", "past tense of show"},  // the rule's form beside shown
      {"shown", "past participle of show"},
      {"dreamt", "past tense and past participle of dream"},
      {"dreamed", "past tense and past participle of dream"},
      {"wrought", "past tense and past participle of work"},  // a lone form
      {"black", "past tense of blick"},                       // told by shape: -n is the participle
      {"blicken", "past participle of blick"},
      {"blicked", "past tense and past participle of blick"},
      {"going", "present participle of go"},
      {"goes", "third person singular of go"},
  });
}

TEST_F(WordForms, AMultiwordVerbInflectsItsVerb) {
  addInflections(data_, list_);
  expectLabels({
      {"gave up", "past tense of give up"},
      {"given up", "past participle of give up"},
      {"gives up", "third person singular of give up"},
      {"giving up", "present participle of give up"},
      {"throwing out", "present participle of throw out"},
      {"throws out", "third person singular of throw out"},
  });
  EXPECT_EQ(find("throwed out"), nullptr);  // "throwed" is in no list
  EXPECT_EQ(find("throwing out")->anchor >= 0, true);
}

TEST_F(WordForms, WithoutAWordListTheRulesFormsAreKeptAndTheLogSaysSo) {
  WordListSources missing{"/nonexistent/british-english-large", "/nonexistent/en_GB.dic"};
  std::ostringstream log;
  const InflectionSummary summary = addCheckedInflections(data_, missing, log);
  EXPECT_NE(log.str().find("/nonexistent/british-english-large"), std::string::npos) << log.str();
  EXPECT_NE(log.str().find("wbritish-large"), std::string::npos);
  EXPECT_NE(log.str().find("hunspell-en-gb"), std::string::npos);
  EXPECT_NE(log.str().find("unchecked"), std::string::npos);
  EXPECT_GT(summary.rowsAdded, 0u);
  EXPECT_EQ(summary.madeDropped, 0u);
  // As before the lists existed: forms of tagged lemmas, unchecked, labelled apart.
  EXPECT_NE(find("sheeps"), nullptr);
  EXPECT_EQ(find("algorithms"), nullptr);  // never tagged in running text
  EXPECT_EQ(labels("went"), Lines{"past tense of go"});
  EXPECT_EQ(labels("gave up"), Lines{"past tense of give up"});
}

TEST(IrregularVerbTable, ReadsEveryVerbAndRefusesMalformedLines) {
  std::unordered_map<std::string, Principal> verbs;
  std::string error;
  ASSERT_TRUE(readIrregularVerbs(kIrregularVerbsText, verbs, error)) << error;
  EXPECT_GE(verbs.size(), 180u);
  EXPECT_EQ(verbs.at("get").participle, (std::vector<std::string>{"got", "gotten"}));
  EXPECT_EQ(verbs.at("go").past, std::vector<std::string>{"went"});
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"go\twent\n", "line 1: expected 3 fields separated by tabs, found 2"},
      {"# a comment\ngo\twent,\tgone\n", "line 2: an empty or spaced form of go"},
      {"go\twent\tgone\ngo\twent\tgone\n", "line 2: \"go\" is empty or listed twice"},
  };
  for (const auto& b : bad) {
    verbs.clear();
    EXPECT_FALSE(readIrregularVerbs(b.text, verbs, error)) << b.text;
    EXPECT_EQ(error, b.error);
  }
}
