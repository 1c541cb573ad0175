#include "ecdict_annotation.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "ascii_case.h"
#include "chinese_line.h"
#include "data_tables.h"
#include "ecdict_heard_words.h"
#include "import_common.h"
#include "inflections.h"
#include "form_labels.h"

namespace quorvi::dictbuild {
namespace {

// The word-form labels, what ECDICT's exchange calls each and how Chinese says it.
struct FormLabel {
  const char* prefix;
  const char* codes;  // one of them in the lemma's exchange confirms the form
  const char* chinese;
};
const FormLabel kLabels[] = {
    {"plural of ", "s", "的复数"},
    {"third person singular of ", "3", "的第三人称单数"},
    {"past tense and past participle of ", "pd", "的过去式和过去分词"},
    {"past tense of ", "p", "的过去式"},
    {"past participle of ", "d", "的过去分词"},
    {"present participle of ", "i", "的现在分词"},
    {"comparative or superlative of ", "rt", "的比较级或最高级"},
    {"comparative of ", "r", "的比较级"},
    {"superlative of ", "t", "的最高级"},
    {"present tense of ", "", "的现在时"},
    {"first person singular present of ", "", "的第一人称单数现在时"},
};
const char kChineseLabelSeparator[] = " / ";

// The words of one kind of data/word_kinds.tsv (uncountable, same plural, vulgar), compiled in;
// none if a line is malformed (the tests read it too).
const std::set<std::string>& wordsOfKind(const std::string& kind) {
  static const auto kinds = [] {
    std::map<std::string, std::set<std::string>> m;
    std::string error;
    if (!readWordKinds(kWordKindsText, m, error)) m.clear();
    return m;
  }();
  static const std::set<std::string> none;
  auto it = kinds.find(kind);
  return it == kinds.end() ? none : it->second;
}

// Modal verbs have a past tense and nothing else.
const std::set<std::string> kModals = {"can", "may", "shall", "will", "must"};
const std::set<std::string> kFixedLemmas = {"be", "have", "do"};

// ECDICT's marks of a name in its translation.
const std::string_view kNameMarks[] = {"人名", "男子名", "女子名", "姓氏", "地名"};

struct ParsedLabel {
  const FormLabel* label = nullptr;
  std::string lemma;
};

ParsedLabel parseLabel(const std::string& line) {
  for (const FormLabel& l : kLabels) {
    const std::string prefix = l.prefix;
    if (line.size() <= prefix.size() || line.compare(0, prefix.size(), prefix) != 0) continue;
    std::string lemma = line.substr(prefix.size());
    if (const size_t slash = lemma.find(kChineseLabelSeparator); slash != std::string::npos)
      lemma.resize(slash);
    if (const size_t open = lemma.rfind(" ("); open != std::string::npos && lemma.back() == ')')
      lemma.resize(open);
    if (lemma.empty()) return {};
    return {&l, lemma};
  }
  return {};
}

bool listsForm(const EcdictWord* word, char code, const std::string& form) {
  if (!word) return false;
  // ECDICT writes the forms of capitalised words in lower case: s:americans.
  const std::string lower = lowerAscii(form);
  for (const std::string& v : exchangeValues(word->exchange, code))
    if (v == form || lowerAscii(v) == lower) return true;
  return false;
}

// A word ECDICT gives first as a grammatical word or adverb ("pron. 他", "adv. 如此").
bool isMainlyGrammatical(const EcdictWord& word) {
  for (const char* pos :
       {"pron. ", "adv. ", "prep. ", "conj. ", "art. ", "det. ", "aux. ", "int. "})
    if (word.translation.rfind(pos, 0) == 0) return true;
  return false;
}

bool hasNounLine(const EcdictWord& word) {
  const std::string& t = word.translation;
  for (const char* pos : {"n. ", "pl. ", "num. "})
    if (t.rfind(pos, 0) == 0 || t.find(std::string("\\n") + pos) != std::string::npos) return true;
  return false;
}

bool isFormOfAnother(const EcdictWord* word, const char* codes) {
  if (!word || exchangeValues(word->exchange, '0').empty()) return false;
  for (const std::string& which : exchangeValues(word->exchange, '1'))
    for (const char* c = codes; *c; ++c)
      if (which.find(*c) != std::string::npos) return true;
  return false;
}

bool isOffensiveGloss(const std::string& line) {
  return line.find("ethnic slur") != std::string::npos ||
         line.find("offensive term") != std::string::npos ||
         line.find("offensive name") != std::string::npos ||
         line.find("disparaging term") != std::string::npos ||
         line.find("derogatory term") != std::string::npos;
}

bool isVulgarGloss(const std::string& line) {
  return line.find("obscene") != std::string::npos || line.find("vulgar") != std::string::npos;
}

const char kOffensiveLabel[] = "[offensive 冒犯]";
const char kVulgarLabel[] = "[vulgar 粗俗]";
const char kOffensiveWordLine[] = "冒犯性用语，慎用 / offensive: avoid using it";
const char kVulgarWordLine[] = "粗俗用语，慎用 / vulgar: avoid using it";

// What tells that a lower-case record translates a name, not a common word spelled alike
// ("nancy": 女性化的男人, "pawnee": 收当人): a note in Chinese of what it names ("圣诞老人（等于
// Santa Claus）", "〈德〉盖世太保"), ...
bool saysWhatItNames(std::string_view translation) {
  for (const auto& [open, close] :
       {std::pair<std::string_view, std::string_view>{"（", "）"}, {"(", ")"}, {"〈", "〉"}})
    for (size_t at = translation.find(open); at != std::string_view::npos;
         at = translation.find(open, at + 1)) {
      // A note in English alone is an acronym's expansion: "（Asynchronous JavaScript and XML）".
      const size_t start = at + open.size(), end = translation.find(close, start);
      const std::string_view note = translation.substr(
          start, end == std::string_view::npos ? std::string_view::npos : end - start);
      if (std::any_of(note.begin(), note.end(), [](char c) { return (c & 0x80) != 0; }))
        return true;
    }
  return false;
}

// ... a god for a myth's name ("[罗神]伏尔甘（火和锻冶的神）", "朱庇特主神"; not 精神, 神经) ...
bool namesAGod(std::string_view translation) {
  for (size_t at = translation.find("神"); at != std::string_view::npos;
       at = translation.find("神", at + 1)) {
    const std::string_view before = translation.substr(0, at), after = translation.substr(at);
    if (!before.ends_with("精") && !after.starts_with("神经") && !after.starts_with("神秘"))
      return true;
  }
  return false;
}

// ... or a kind of place for a place ("约克郡", "百老汇大街").
bool namesAPlace(std::string_view translation) {
  for (std::string_view place :
       {"郡", "城", "市", "州", "岛", "首都", "首府", "湖", "河", "山", "街", "省", "港", "区"})
    if (translation.find(place) != std::string_view::npos) return true;
  return false;
}

// Whether WordNet's first sense names one place: "n. a city in ...", "n. the capital of ...".
bool namesOnePlace(const std::vector<std::string>& lines) {
  for (const std::string& l : lines) {
    if (partOfSpeechOf(l) == 0 || opensWithChineseLine(l)) continue;
    for (const char* start : {"n. a ", "n. an ", "n. the "}) {
      if (!l.starts_with(start)) continue;
      std::string_view rest = std::string_view(l).substr(std::string_view(start).size());
      for (const char* adjective : {"large ", "small ", "major ", "commercial ", "industrial ",
                                    "port ", "resort ", "ancient "})
        if (rest.starts_with(adjective)) rest.remove_prefix(std::string_view(adjective).size());
      for (const char* place : {"city", "town", "state", "capital", "county", "island", "river",
                                "lake", "street", "port", "region", "mountain", "district"})
        if (rest.starts_with(place)) return true;
    }
    return false;
  }
  return false;
}

// Whether WordNet's first sense names a people or its language and the record says so in
// Chinese: one of a place's people "人" ("n. an inhabitant of Scandinavia": 挪威人的), a member
// of a nation or its language "族" or "语" ("n. a member of the Siouan people": 克里语), not a
// common word spelled alike (pawnee's 收当人 is no member of the Pawnee nation).
bool namesAPeople(const std::vector<std::string>& lines, std::string_view translation) {
  const auto holds = [&](std::string_view part) {
    return translation.find(part) != std::string_view::npos;
  };
  for (const std::string& l : lines) {
    if (partOfSpeechOf(l) == 0 || opensWithChineseLine(l)) continue;
    for (const char* start :
         {"n. a native of", "n. an inhabitant of", "n. a native or inhabitant", "n. a resident of"})
      if (l.starts_with(start)) return holds("人") || holds("语");
    for (const char* start : {"n. a member of", "n. the language of"})
      if (l.starts_with(start)) return holds("族") || holds("语");
    return false;
  }
  return false;
}

// A line that says a headword names people: a name line, or a sense that is a person, with
// the years of a life ("German Nazi dictator during World War II (1889-1945)").
bool namesSomeone(std::string_view line) {
  if (line.starts_with("a given name") || line.starts_with("a family name")) return true;
  const size_t open = line.rfind(" ("), close = line.find(')', open + 1);
  if (open == std::string_view::npos || close == std::string_view::npos) return false;
  const std::string_view inside = line.substr(open + 2, close - open - 2);
  return inside.size() >= 8 && std::isdigit(static_cast<unsigned char>(inside[0])) &&
         inside.find_first_not_of("0123456789-") == std::string_view::npos;
}

// The sense a WordNet line or a line of ECDICT's English senses gives, without its part of
// speech: "n. an operating system" and ECDICT's "n an operating system" give the same.
std::string_view senseText(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos || space > 5) return line;
  const std::string_view kind = line.substr(0, space);
  if (!std::all_of(kind.begin(), kind.end(),
                   [](char c) { return std::islower(static_cast<unsigned char>(c)) || c == '.'; }))
    return line;
  return line.substr(space + 1);
}

// Whether ECDICT's English senses of a record ("n a ...\\nn the ...") hold one of WordNet's
// senses of a headword: then ECDICT filed that very word, in another letter case.
bool holdsASenseOf(std::string_view definition, const std::vector<std::string>& lines) {
  while (!definition.empty()) {
    size_t end = std::min(definition.find('\n'), definition.find("\\n"));
    const std::string_view sense = senseText(definition.substr(0, end));
    if (!sense.empty())
      for (const std::string& l : lines)
        if (partOfSpeechOf(l) != 0 && senseText(l) == sense) return true;
    if (end == std::string_view::npos) break;
    definition.remove_prefix(end + (definition[end] == '\n' ? 1 : 2));
  }
  return false;
}

// How far down ECDICT's corpus ranks a lower-case record may be and still be taken for a word
// written in capitals: ranks beyond are words few texts use, which ECDICT gave WordNet's senses
// of another word spelled alike.
constexpr long kCommonRank = 25000;

// A headword written in capitals alone, as WordNet writes an abbreviation said as a word (DOS,
// EXEC).
bool writtenInCapitals(const std::string& caption) {
  return caption.size() > 1 && std::all_of(caption.begin(), caption.end(), [](char c) {
           return std::isupper(static_cast<unsigned char>(c));
         });
}

class Annotator {
 public:
  Annotator(std::vector<DictEntry>& entries, const EcdictData& ecdict, const HeadwordUses& uses)
      : entries_(entries), ecdict_(ecdict), uses_(uses) {
    for (size_t i = 0; i < entries_.size(); ++i) {
      byCaption_.emplace(entries_[i].caption, i);
      lowerCaptions_.insert(lowerAscii(entries_[i].caption));
    }
  }

  EcdictSummary run() {
    const size_t count = entries_.size();
    // Chinese lines of every headword first: a form takes those of its lemma as they stand.
    own_.resize(count);
    crossReferences_.resize(count);
    for (size_t i = 0; i < count; ++i) own_[i] = ownLines(i);
    for (size_t i = 0; i < count; ++i) followCrossReference(i);
    for (size_t i = 0; i < count; ++i) annotate(i);
    addLearnerWords();
    return summary_;
  }

 private:
  const EcdictWord* recordOf(const std::string& caption) const { return ecdict_.find(caption); }

  // ECDICT files some common words only capitalised ("Demo": n. 演示): a lower-case headword
  // it lacks takes that record's lines unless they name a person or a place or are of a special
  // field alone ("Bourbon": [机] 波旁).
  const EcdictWord* ownRecordOf(const DictEntry& e) {
    const std::string& caption = e.caption;
    if (const EcdictWord* w = recordOf(caption)) return w;
    if (caption.empty() || !std::isalpha(static_cast<unsigned char>(caption[0]))) return nullptr;
    if (lowerAscii(caption) != caption) return lowerCaseRecordOf(e);
    std::string capitalised = caption;
    capitalised[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capitalised[0])));
    const EcdictWord* w = recordOf(capitalised);
    if (!w || std::any_of(std::begin(kNameMarks), std::end(kNameMarks), [&](std::string_view m) {
          return w->translation.find(m) != std::string::npos;
        }))
      return nullptr;
    bool special = false;
    ecdictChineseLines(w->translation, 0, false, &special);
    return special ? nullptr : w;
  }

  // And the other way round, ECDICT files some names of one thing only in lower case
  // ("vulcan": [罗神]伏尔甘, "hondo": 本州（日本最大的岛屿）): a capitalised headword of one word
  // that ECDICT lacks takes that record when the lower-case spelling is no headword of its own
  // (crane's 鹤 is no Crane's), the headword names no one (Parker is no 停放车辆的人) unless the
  // record's note names a place, the record
  // bears no mark of a person's or place's name, gives a part of speech WordNet gives the
  // headword ("soho": interj. 哈 is no Soho), is of no special field alone unless it is a myth's
  // and so is a sense of the headword ("(Roman mythology) god of fire"), and says it translates
  // a name: a god for a myth's, a note of what it names, a kind of place for a place, or a
  // people or language for a people.
  const EcdictWord* lowerCaseRecordOf(const DictEntry& e) {
    const std::string lower = lowerAscii(e.caption);
    if (!startsCapitalised(e.caption)) return nullptr;
    if (e.caption.find(' ') != std::string::npos) return otherCaseNameRecordOf(e.caption);
    if (e.caption.find_first_of("-.'") != std::string::npos || byCaption_.count(lower) != 0)
      return nullptr;
    const EcdictWord* w = recordOf(lower);
    if (!w || std::any_of(std::begin(kNameMarks), std::end(kNameMarks), [&](std::string_view m) {
          return w->translation.find(m) != std::string::npos;
        }))
      return nullptr;
    const bool learnerWord =
        e.caption.size() <= 3 && (w->collins > 0 || w->oxford || !w->tag.empty());
    if (writtenInCapitals(e.caption) || learnerWord) {
      if (const EcdictWord* same = sameWordInLowerCase(e, *w, learnerWord)) return same;
      if (writtenInCapitals(e.caption)) return nullptr;
    }
    // A record whose note says it names a place names it whoever else bears the name
    // ("cumberland": n. 坎伯兰郡（英格兰一郡名） for the general, the river and the county).
    // Not a record with a mark of use or field ("goldberg": [俚]犹太老板（...黑人聚居区...）).
    const bool namesItsPlace = saysWhatItNames(w->translation) && namesAPlace(w->translation) &&
                               w->translation.find('[') == std::string::npos;
    std::string kinds;
    bool myth = false;
    for (const std::string& l : e.explainLines) {
      if (namesSomeone(l) && !namesItsPlace) return nullptr;
      if (const char kind = partOfSpeechOf(l); kind != 0 && !opensWithChineseLine(l)) {
        kinds.push_back(kind);
        myth = myth || l.find("mythology)") != std::string::npos;
      }
    }
    bool special = false;
    const std::vector<std::string> lines = ecdictChineseLines(w->translation, 0, false, &special);
    if (special && !myth) return nullptr;
    if (!(myth ? namesAGod(w->translation)
               : saysWhatItNames(w->translation) ||
                     (namesOnePlace(e.explainLines) && namesAPlace(w->translation)) ||
                     namesAPeople(e.explainLines, w->translation)))
      return nullptr;
    const bool sharesKind = std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
      const char kind = partOfSpeechOf(l);
      return kind == 0 || kinds.find(kind) != std::string::npos;
    });
    if (!sharesKind) return nullptr;
    ++summary_.lowerCaseRecords;
    return w;
  }

  // A word WordNet writes in capitals that ECDICT files only in lower case ("exec": n. 主任参谋,
  // 副舰长, "dos": 磁盘操作系统) is that word where the record's English senses hold one of the
  // headword's, the word is among the commonest of ECDICT's corpora (abb's 等外羊毛 and cer's 陶瓷,
  // far down, are no ABB's or CER's) and its Chinese is of a part of speech
  // WordNet gives the headword and of no special field alone. ECDICT put its English senses
  // from WordNet beside its own Chinese under one spelling, so that Chinese may be another
  // word's: ne's 原姓...的 (née) is no NE's, an unranked epi's 直沙嘴 no EPI's.
  //
  // So does a capitalised spelling of two or three letters whose record is a learner's word
  // (starred by Collins, on an exam list or in the Oxford 3000), of whatever part of speech: the
  // word heard so is that one ("Gi", gi: a. 美国军人的; "Ta", ta: interj. 谢谢), not the rare
  // sense WordNet files under the spelling (a unit, an element). A longer name keeps its own
  // (Viking's 维京人 is no viking's 海盗).
  const EcdictWord* sameWordInLowerCase(const DictEntry& e, const EcdictWord& w,
                                        bool learnerWord = false) {
    if (w.rank() <= 0 || (!learnerWord && w.rank() > kCommonRank) ||
        !holdsASenseOf(w.definition, e.explainLines))
      return nullptr;
    bool special = false;
    const std::vector<std::string> lines = ecdictChineseLines(w.translation, 0, false, &special);
    if (lines.empty() || special) return nullptr;
    if (!learnerWord)
      for (const std::string& l : lines)
        if (const char kind = partOfSpeechOf(l);
            kind != 0 &&
            std::none_of(e.explainLines.begin(), e.explainLines.end(), [&](const std::string& own) {
              return !opensWithChineseLine(own) && partOfSpeechOf(own) == kind;
            }))
          return nullptr;
    ++summary_.lowerCaseRecords;
    return &w;
  }

  // A name of several words ECDICT writes in other cases ("viet nam": n. 越南, "Mardi gras") is
  // that name, unless a headword is spelled so.
  const EcdictWord* otherCaseNameRecordOf(const std::string& caption) {
    if (namesOfSeveralWords_.empty())
      for (const auto& [word, record] : ecdict_.words())
        if (word.find(' ') != std::string::npos)
          namesOfSeveralWords_.emplace(lowerAscii(word), word);
    const auto it = namesOfSeveralWords_.find(lowerAscii(caption));
    if (it == namesOfSeveralWords_.end() || byCaption_.count(it->second) != 0) return nullptr;
    const EcdictWord* w = recordOf(it->second);
    bool special = false;
    if (ecdictChineseLines(w->translation, 0, false, &special).empty() || special) return nullptr;
    ++summary_.lowerCaseRecords;
    return w;
  }

  std::vector<std::string> ownLines(size_t i) {
    const DictEntry& e = entries_[i];
    const EcdictWord* w = ownRecordOf(e);
    if (!w) return {};
    const bool vulgar = wordsOfKind("vulgar").count(lowerAscii(e.caption)) > 0 ||
                        std::any_of(e.explainLines.begin(), e.explainLines.end(), [](auto& l) {
                          return isOffensiveGloss(l) || isVulgarGloss(l);
                        });
    // A form row (fastest: adj. 最快速的（fast的最高级）, does) reads as its lemma, not as the
    // senses beside the note.
    const bool form = fixedFormLabel(e.caption) != nullptr ||
                      std::any_of(e.explainLines.begin(), e.explainLines.end(),
                                  [](const std::string& l) { return parseLabel(l).label; });
    bool special = false;
    auto lines = ecdictChineseLines(w->translation, commonestOf(e), vulgar, &special,
                                    &crossReferences_[i], form);
    if (special) ownSpecial_.insert(e.caption);
    return lines;
  }

  // A word whose translation only points to another ("=decarbonize") shows that word's
  // Chinese and says whose it is: "同 decarbonize".
  void followCrossReference(size_t i) {
    const std::string& target = crossReferences_[i];
    if (target.empty() || target == entries_[i].caption ||
        (!own_[i].empty() && !ownSpecial_.count(entries_[i].caption)))
      return;
    std::vector<std::string> lines = linesOf(target);
    if (const EcdictWord* w = recordOf(target); lines.empty() && w)
      lines = ecdictChineseLines(w->translation);
    if (lines.empty()) return;
    lines.push_back("同 " + target);
    own_[i] = std::move(lines);
    ownSpecial_.erase(entries_[i].caption);
  }

  // The part of speech of the entry's first sense, which runs from the commonest; else the
  // one WordNet tags most often.
  char commonestOf(const DictEntry& e) const {
    for (size_t l = 0; l < e.explainLines.size(); ++l) {
      const std::string& line = e.explainLines[l];
      if (parseLabel(line).label || (l == 0 && opensWithChineseLine(line))) continue;
      if (const char kind = partOfSpeechOf(line)) return kind;
      break;
    }
    return useOf(uses_, e.caption).commonest;
  }

  // A word ECDICT gives learners: on a list, starred or among its 20,000 most frequent.
  static bool isCommonLearnerWord(const EcdictWord& w) {
    const long rank = w.rank();
    return !w.tag.empty() || w.oxford || w.collins > 0 || (rank > 0 && rank <= 20000);
  }

  // A spelling made by adding an ending to a headword ("hes", "furnitures", "worser").
  bool looksMadeUp(const std::string& caption) const {
    for (const char* ending : {"s", "es", "r", "er", "st", "est"}) {
      const std::string tail = ending;
      if (caption.size() > tail.size() + 1 &&
          caption.compare(caption.size() - tail.size(), tail.size(), tail) == 0 &&
          byCaption_.count(caption.substr(0, caption.size() - tail.size())))
        return true;
    }
    return false;
  }

  // The labels ECDICT's exchange gives a word that is a form of another ("0:cat/1:s").
  std::vector<std::string> exchangeLabels(const EcdictWord& w) const {
    const auto lemmas = exchangeValues(w.exchange, '0');
    const auto kinds = exchangeValues(w.exchange, '1');
    if (lemmas.empty() || kinds.empty() || !byCaption_.count(lemmas.front())) return {};
    const std::string& lemma = lemmas.front();
    const std::string& k = kinds.front();
    std::vector<std::string> out;
    const bool past = k.find('p') != std::string::npos,
               participle = k.find('d') != std::string::npos;
    if (k.find('s') != std::string::npos) out.push_back("plural of " + lemma);
    if (k.find('3') != std::string::npos) out.push_back("third person singular of " + lemma);
    if (past && participle)
      out.push_back("past tense and past participle of " + lemma);
    else if (past)
      out.push_back("past tense of " + lemma);
    else if (participle)
      out.push_back("past participle of " + lemma);
    if (k.find('i') != std::string::npos) out.push_back("present participle of " + lemma);
    if (k.find('r') != std::string::npos) out.push_back("comparative of " + lemma);
    if (k.find('t') != std::string::npos) out.push_back("superlative of " + lemma);
    return out;
  }

  // The lines of a lemma that fit what its forms are: a plural takes the noun lines, a verb
  // form the verb lines; the first line when none fits.
  std::vector<std::string> fittingLines(const std::vector<std::string>& lines,
                                        const std::vector<std::string>& labels) const {
    std::string kinds;
    for (const std::string& l : labels) {
      const ParsedLabel p = parseLabel(l);
      if (!p.label) continue;
      const std::string codes = p.label->codes;
      if (codes.find('s') != std::string::npos) kinds += 'n';
      if (codes.find_first_of("pdi3") != std::string::npos || codes.empty()) kinds += 'v';
      if (codes.find_first_of("rt") != std::string::npos) kinds += "ar";
    }
    std::vector<std::string> out;
    for (const char kind : kinds)
      for (const std::string& l : lines)
        if (partOfSpeechOf(l) == kind && std::find(out.begin(), out.end(), l) == out.end())
          out.push_back(l);
    if (out.empty() && !lines.empty()) out.push_back(lines.front());
    return out;
  }

  // Whether the lemma's entry shows ECDICT's lines of its own: not where they are of special
  // fields alone and the lemma is itself a form (breaking: its lines are break's), so that a
  // form of it (breakings) shows no Chinese its lemma does not.
  bool lemmaShowsOwnLines(const std::string& lemma) const {
    if (!ownSpecial_.count(lemma)) return true;
    auto it = byCaption_.find(lemma);
    if (it == byCaption_.end()) return true;
    const auto& lines = entries_[it->second].explainLines;
    return std::none_of(lines.begin(), lines.end(),
                        [](const std::string& l) { return parseLabel(l).label != nullptr; });
  }

  std::vector<std::string> linesOf(const std::string& caption) const {
    auto it = byCaption_.find(caption);
    return it == byCaption_.end() ? std::vector<std::string>() : own_[it->second];
  }

  bool isName(const std::string& lemma) const {
    if (lemma.empty() || !std::isupper(static_cast<unsigned char>(lemma[0]))) return false;
    if (auto it = byCaption_.find(lemma); it != byCaption_.end())
      for (const std::string& l : entries_[it->second].explainLines)
        if (l.find("given name") != std::string::npos ||
            l.find("family name") != std::string::npos || l.find("place name") != std::string::npos)
          return true;
    // ECDICT's first line says what the word mainly is: "[人名] 约翰" for John, not for German.
    const EcdictWord* w = recordOf(lemma);
    if (!w) return false;
    const std::string_view first =
        std::string_view(w->translation).substr(0, w->translation.find("\\n"));
    return std::any_of(std::begin(kNameMarks), std::end(kNameMarks),
                       [&](std::string_view m) { return first.find(m) != std::string_view::npos; });
  }

  // Whether a form label is right; it may be narrowed ("past tense and past participle of
  // may" -> "past tense of may").
  bool confirm(const std::string& form, std::string& line, const ParsedLabel& label) const {
    const std::string& lemma = label.lemma;
    const std::string codes = label.label->codes;
    if (kFixedLemmas.count(lemma)) {
      const char* fixed = fixedFormLabel(form);
      return fixed && line == fixed;
    }
    if (kModals.count(lemma) && codes.find_first_of("pdi3") != std::string::npos) {
      if (codes.find('p') == std::string::npos) return false;
      line = "past tense of " + lemma;
      return true;
    }
    if (codes.empty()) return true;
    const EcdictWord* lemmaWord = recordOf(lemma);
    const EcdictWord* formWord = recordOf(form);
    // No form of a form of the same kind: "mens", "worser" (but strangers, of stranger).
    if (codes == "s" && isFormOfAnother(lemmaWord, "s")) return false;
    if (codes.find_first_of("rt") != std::string::npos && isFormOfAnother(lemmaWord, "rt"))
      return false;
    // A past tense WordNet knows in no sense of its own has no plural or third person:
    // "choses" (French, or the law's rare chose in action) is neither of chose, though ECDICT
    // lists it so (founds is, of the verb found; lefts, of the noun left).
    if ((codes == "s" || codes == "3") && isFormOfAnother(lemmaWord, "pd") &&
        !useOf(uses_, lemma).has(codes == "s" ? 'n' : 'v'))
      return false;
    if (codes == "s") {
      if (wordsOfKind("uncountable").count(lemma) || isName(lemma)) return false;
      // A word ECDICT never gives as a noun has no plural.
      if (lemmaWord && !listsForm(lemmaWord, 's', form) &&
          (isMainlyGrammatical(*lemmaWord) ||
           (!hasNounLine(*lemmaWord) && !useOf(uses_, lemma).has('n'))))
        return false;
    }
    // Verb forms are made by rule and checked against the word lists; ECDICT's exchange
    // misses too many spellings (ageing beside aging) to overrule them.
    if (codes.find_first_of("srt") == std::string::npos) return true;
    if (codes == "s" && wordsOfKind("same plural").count(lemma)) return false;
    for (char c : codes)
      if (listsForm(lemmaWord, c, form)) return true;
    // ECDICT lists the form as another one: "knows" is know's third person, no plural.
    for (char c : std::string("sptdi3rt"))
      if (codes.find(c) == std::string::npos && listsForm(lemmaWord, c, form)) return false;
    // A second form a learner meets: brethren beside brothers.
    if (formWord && isCommonLearnerWord(*formWord)) {
      const auto lemmas = exchangeValues(formWord->exchange, '0');
      if (std::find(lemmas.begin(), lemmas.end(), lemma) != lemmas.end()) return true;
    }
    // Beside ECDICT's -os plural an -oes one is in use too, and the other way round:
    // mosquitoes, volcanoes.
    if (codes == "s" && lemmaWord && !lemma.empty() && lemma.back() == 'o' &&
        (form == lemma + "es" || form == lemma + "s"))
      for (const std::string& other : exchangeValues(lemmaWord->exchange, 's'))
        if (other == lemma + "s" || other == lemma + "es") return true;
    // ECDICT gives the lemma another form of this kind: oxen, not "oxes".
    for (char c : codes)
      if (lemmaWord && !exchangeValues(lemmaWord->exchange, c).empty()) return false;
    if (formWord) {
      const auto lemmas = exchangeValues(formWord->exchange, '0');
      if (std::find(lemmas.begin(), lemmas.end(), lemma) != lemmas.end()) return true;
    }
    // A word of its own that only looks like a comparative: owner, forest, archer.
    if (codes != "s" && formWord && exchangeValues(formWord->exchange, '0').empty()) return false;
    return true;
  }

  void annotate(size_t i) {
    DictEntry& e = entries_[i];
    std::vector<std::string> labels, senses;
    std::string leadingChinese;
    for (size_t l = 0; l < e.explainLines.size(); ++l) {
      std::string line = e.explainLines[l];
      const ParsedLabel label = parseLabel(line);
      if (label.label) {
        if (confirm(e.caption, line, label)) {
          if (std::find(labels.begin(), labels.end(), line) == labels.end()) labels.push_back(line);
        } else {
          if (summary_.droppedExamples.size() < 12)
            summary_.droppedExamples.push_back(e.caption + ": " + line);
          ++summary_.labelsDropped;
        }
        continue;
      }
      if (l == 0 && opensWithChineseLine(line)) {
        leadingChinese = line;
        continue;
      }
      senses.push_back(line);
    }
    if (labels.empty() && senses.empty() && !leadingChinese.empty()) {
      // A heard word explained by Chinese equivalents alone: ECDICT tells whether it is a
      // form, a word of its own or a spelling nobody uses.
      const EcdictWord* w = recordOf(e.caption);
      if (w && !exchangeValues(w->exchange, '0').empty()) {
        for (std::string line : exchangeLabels(*w))
          if (const ParsedLabel p = parseLabel(line); confirm(e.caption, line, p))
            labels.push_back(line);
        if (labels.empty()) leadingChinese.clear();
      } else if (!(w && isCommonLearnerWord(*w) && !own_[i].empty()) && looksMadeUp(e.caption)) {
        leadingChinese.clear();
      }
      if (leadingChinese.empty()) ++summary_.madeUpDropped;
    }
    if (labels.empty() && senses.empty() && leadingChinese.empty()) {
      // A name taken for a form (Peters, of peter) is still the name ECDICT gives a person.
      if (NameExplanation name = ecdictPersonName(e.caption, ecdict_);
          name.kind != NameKind::None) {
        e.explainLines = own_[i];
        e.explainLines.insert(e.explainLines.end(), name.lines.begin(), name.lines.end());
        return;
      }
      e.explainLines.clear();  // nothing right was left to say: the row is left out
      e.leftOut = true;
      return;
    }
    // Third person before plural for a word used mainly as a verb.
    std::stable_sort(labels.begin(), labels.end(), [&](const std::string& a, const std::string& b) {
      auto rank = [&](const std::string& l) {
        const ParsedLabel p = parseLabel(l);
        const bool verbLabel =
            std::string(p.label->codes).find_first_of("pdi3") != std::string::npos;
        const char commonest = useOf(uses_, p.lemma).commonest;
        return (commonest == 'v') == verbLabel ? 0 : 1;
      };
      return rank(a) < rank(b);
    });

    // Senses that are slurs or vulgar say so, and come after the others.
    const bool vulgarWord = wordsOfKind("vulgar").count(lowerAscii(e.caption)) > 0;
    bool allOffensive = !senses.empty(), anyOffensive = false;
    for (std::string& s : senses) {
      int kind = 0;
      s = labelOffensiveSense(s, &kind);
      if (kind == 0 && vulgarWord) s = labelOffensiveSense(s, &kind, true);
      if (kind == 0) allOffensive = false;
      if (kind == 2) anyOffensive = true;
    }
    std::stable_partition(senses.begin(), senses.end(), [](const std::string& s) {
      return s.find(kOffensiveLabel) == std::string::npos &&
             s.find(kVulgarLabel) == std::string::npos;
    });

    const EcdictWord* own = recordOf(e.caption);
    std::string lemma = labels.empty() ? std::string() : parseLabel(labels.front()).lemma;
    const HeadwordUse use = useOf(uses_, e.caption);
    const bool pureForm = senses.empty() && !labels.empty();
    // The form use is the everyday one when ECDICT says so in the translation ("see的过去式")
    // or WordNet never met the word's own senses.
    // ECDICT with nothing general of its own for a form ("knocking": 爆震) knows it as a form.
    const bool ownGeneral = !own_[i].empty() && !ownSpecial_.count(e.caption);
    // A past tense, third person or plural whose own senses WordNet's corpus never met ("lied":
    // the German song) is heard as the form.
    const bool untaggedSenses =
        use.tagged == 0 &&
        (!use.base.empty() ||
         (!use.partsOfSpeech.empty() && std::any_of(labels.begin(), labels.end(), [](auto& l) {
           const ParsedLabel p = parseLabel(l);
           return std::string(p.label->codes).find_first_of("p3s") != std::string::npos;
         })));
    const bool formFirst =
        pureForm ||
        (!labels.empty() && ((own && own->translation.find(lemma + "的") != std::string::npos) ||
                             untaggedSenses || !ownGeneral));
    std::vector<std::string> chinese;
    std::vector<std::string> lemmaLines =
        lemma.empty() ? std::vector<std::string>() : linesOf(lemma);
    if (pureForm) {
      if (lemmaShowsOwnLines(lemma)) chinese = fittingLines(lemmaLines, labels);
    } else {
      chinese = own_[i];
      if (!labels.empty() && !ownGeneral) chinese.clear();
      std::string noteLemma;
      const std::string note =
          own && labels.empty() ? formNote(own->translation, noteLemma) : std::string();
      if (chinese.empty() && !note.empty() && byCaption_.count(noteLemma)) {
        // "was": be的过去式, then be's verb line.
        chinese.push_back(note);
        const auto lines = fittingLines(linesOf(noteLemma), {"past tense of " + noteLemma});
        chinese.insert(chinese.end(), lines.begin(), lines.end());
      } else if (const char* fixed = fixedFormLabel(e.caption); chinese.empty() && fixed) {
        // "am": be的第一人称单数现在时, then be's verb line.
        const ParsedLabel p = parseLabel(fixed);
        if (p.label) {
          chinese.push_back(chineseFormLabel(fixed));
          const auto lines = fittingLines(linesOf(p.lemma), {fixed});
          chinese.insert(chinese.end(), lines.begin(), lines.end());
        }
      } else if (chinese.empty() && formFirst)
        chinese = fittingLines(lemmaLines, labels);
      else if (formFirst && !lemmaLines.empty() && !chinese.empty())
        chinese.insert(chinese.begin(), fittingLines(lemmaLines, labels).front());
    }
    for (std::string& l : labels) l += kChineseLabelSeparator + chineseFormLabel(l);

    std::vector<std::string> out;
    if (formFirst) out = labels;
    if (!chinese.empty()) {
      out.insert(out.end(), chinese.begin(), chinese.end());
      ++summary_.chinese;
    } else if (!leadingChinese.empty()) {
      out.push_back(leadingChinese);
    }
    // A vulgar word ECDICT alone explains says so too (motherfucking).
    if (allOffensive || (vulgarWord && senses.empty() && labels.empty()))
      out.push_back(anyOffensive ? kOffensiveWordLine : kVulgarWordLine);
    if (own && !pureForm) {
      const std::string levels = learnerLevelsLine(*own);
      if (!levels.empty()) {
        out.push_back(levels);
        ++summary_.levels;
      }
      // The learner levels and ECDICT's rank lift the word among those not heard in speech.
      if (e.anchor < 0) {
        e.frequency = std::max(e.frequency, frequencyOfRank(own->rank()));
        e.frequency *= learnerLevelWeight(*own);
      }
    }
    out.insert(out.end(), senses.begin(), senses.end());
    if (!formFirst) out.insert(out.end(), labels.begin(), labels.end());
    e.explainLines = std::move(out);
  }

  // ECDICT's learner words the dictionary lacks, as headwords of their own: single
  // lower-case words that are no form of another word.
  void addLearnerWords() {
    for (const auto& [word, w] : ecdict_.words()) {
      if (word.size() < 2 || word.size() > 24 || lowerCaptions_.count(word)) continue;
      if (!std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        continue;
      const long rank = w.rank();
      const bool learner =
          !w.tag.empty() || w.oxford || w.collins > 0 || (rank > 0 && rank <= 20000);
      if (!learner || !exchangeValues(w.exchange, '0').empty()) continue;
      std::vector<std::string> lines = ecdictChineseLines(w.translation);
      if (lines.empty()) continue;
      DictEntry e;
      e.caption = word;
      e.explainLines = std::move(lines);
      if (std::string levels = learnerLevelsLine(w); !levels.empty())
        e.explainLines.push_back(levels);
      e.frequency = frequencyOfRank(rank) * learnerLevelWeight(w);
      entries_.push_back(std::move(e));
      ++summary_.headwordsAdded;
    }
  }

  std::vector<DictEntry>& entries_;
  const EcdictData& ecdict_;
  const HeadwordUses& uses_;
  std::unordered_map<std::string, size_t> byCaption_;
  std::unordered_set<std::string> lowerCaptions_;
  // ECDICT's headwords of several words by their lower-case spelling, made when first asked.
  std::unordered_map<std::string, std::string> namesOfSeveralWords_;
  std::vector<std::vector<std::string>> own_;
  std::vector<std::string> crossReferences_;  // the headword each one's translation points to
  mutable std::unordered_set<std::string>
      ownSpecial_;  // whose own lines are of special fields alone
  EcdictSummary summary_;
};

}  // namespace

bool readWordKinds(std::string_view text, std::map<std::string, std::set<std::string>>& out,
                   std::string& error) {
  return readTsvRows(
      text, 2,
      [&out](const std::vector<std::string>& row, std::string& why) {
        if (row[1] != "uncountable" && row[1] != "same plural" && row[1] != "vulgar") {
          why = "unknown kind \"" + row[1] + "\"";
          return false;
        }
        if (row[0].empty() || !out[row[1]].insert(row[0]).second) {
          why = "\"" + row[0] + "\" is empty or listed twice";
          return false;
        }
        return true;
      },
      error);
}

std::string chineseFormLabel(const std::string& line) {
  const ParsedLabel p = parseLabel(line);
  return p.label ? p.lemma + p.label->chinese : std::string();
}

std::string labelOffensiveSense(const std::string& line, int* kind, bool vulgarWord) {
  const int k = isOffensiveGloss(line) ? 2 : ((vulgarWord || isVulgarGloss(line)) ? 1 : 0);
  if (kind) *kind = k;
  if (k == 0 || line.find(k == 2 ? kOffensiveLabel : kVulgarLabel) != std::string::npos)
    return line;
  const std::string label = k == 2 ? kOffensiveLabel : kVulgarLabel;
  // After the part of speech ("n. "), which tells the pronunciation rows apart.
  const size_t dot = line.find(". ");
  const bool hasPos = dot != std::string::npos && dot <= 5 &&
                      std::all_of(line.begin(), line.begin() + static_cast<long>(dot),
                                  [](char c) { return c >= 'a' && c <= 'z'; });
  if (!hasPos) return label + " " + line;
  return line.substr(0, dot + 2) + label + " " + line.substr(dot + 2);
}

EcdictSummary addEcdictLines(std::vector<DictEntry>& entries, const EcdictData& ecdict,
                             const HeadwordUses& uses) {
  return Annotator(entries, ecdict, uses).run();
}

}  // namespace quorvi::dictbuild
