#include "learner_headwords.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <unordered_map>

#include "ascii_case.h"
#include "chinese_line.h"
#include "data_tables.h"
#include "ecdict_heard_words.h"
#include "phrase_parts.h"
#include "spoken_forms.h"
#include "form_labels.h"
#include "word_fragments.h"

namespace quorvi::dictbuild {
namespace {

// The words that may become headwords: the spoken list's words and the British list's
// capitalised words, from its plain list and its hunspell stems (its lower-case words are
// forms of WordNet's, added as such elsewhere).
std::set<std::string> candidatesOf(const LearnerSources& sources) {
  std::set<std::string> out;
  for (const auto& [word, count] : sources.spoken.counts)
    if (count > 0) out.insert(word);
  for (const auto* words : {&sources.british.listedWords(), &sources.british.spelledOutWords()})
    for (const std::string& w : *words)
      if (startsCapitalised(w) && w.find('\'') == std::string::npos) out.insert(w);
  return out;
}

// A class of things has a plural: its noun sense opens with an article ("n. a native or
// inhabitant of Denmark", "n. the third day of the week"). A person's does not ("n. disciple
// of Jesus", "n. United States author"): the "plural" of such a name is a family name (Peters).
bool namesAClass(const std::vector<std::string>& lines) {
  if (lines.empty()) return false;
  const std::string& first = lines.front();
  // A name line says the word names a person: Trans is no plural of the family name Tran.
  for (const std::string& l : lines)
    if (l.rfind("a family name", 0) == 0 || l.rfind("a given name", 0) == 0) return false;
  if (first.rfind("n. ", 0) != 0) return true;
  for (const char* article : {"n. a ", "n. an ", "n. the ", "n. any ", "n. one "})
    if (first.rfind(article, 0) == 0) return true;
  return false;
}

// Whether a sense of a headword is a class of people: "n. a resident of modern Rome", "n. a
// member of an ancient Semitic people".
bool namesPeople(const DictEntry& e) {
  return std::any_of(e.explainLines.begin(), e.explainLines.end(), [](const std::string& l) {
    for (const char* opening :
         {"n. a native of", "n. an inhabitant of", "n. a native or inhabitant", "n. a resident of",
          "n. a member of", "n. a person ", "n. an adherent of", "n. a follower of"})
      if (l.rfind(opening, 0) == 0) return true;
    return false;
  });
}

// -es makes a plural after a hissing sound or an o (Marches, Negroes), nowhere else.
bool takesEsPlural(const std::string& base) {
  if (base.empty()) return false;
  const char last = base.back();
  return last == 's' || last == 'x' || last == 'z' || last == 'o' ||
         (base.size() > 1 && (base.compare(base.size() - 2, 2, "ch") == 0 ||
                              base.compare(base.size() - 2, 2, "sh") == 0));
}

// A noun sense that is one place, not a class: "n. a state in northwestern North America",
// "n. the capital of Turkey", "n. the highest waterfall".
bool namesOnePlace(const std::vector<std::string>& lines) {
  static const std::set<std::string> kPlaces = {
      "city",      "town",   "state",     "country",    "capital",   "province", "island",
      "river",     "lake",   "mountain",  "village",    "district",  "region",   "port",
      "borough",   "county", "territory", "department", "waterfall", "sea",      "bay",
      "peninsula", "desert", "ocean",     "volcano",    "canal",     "kingdom",  "republic"};
  if (lines.empty() || lines.front().rfind("n. ", 0) != 0) return false;
  const std::string& first = lines.front();
  size_t start = 3;
  for (int word = 0; word < 4 && start < first.size(); ++word) {
    size_t end = first.find_first_of(" ;,", start);
    if (end == std::string::npos) end = first.size();
    if (kPlaces.count(first.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

// A table word that stands for another and is said as it, by a reading of its own (Sgt
// ˈsɑːdʒənt): no interjection, no contraction.
bool isSaidAsWord(const DictEntry& f) {
  return !f.transcription.empty() && f.explainLines.size() == 2 &&
         f.explainLines.back().rfind("int.", 0) != 0 && f.caption.find('\'') == std::string::npos;
}

class Assembler {
 public:
  Assembler(std::vector<DictEntry>& entries, const LearnerSources& sources, SkipReport& skipped)
      : entries_(entries), sources_(sources), skipped_(skipped) {
    for (size_t i = 0; i < entries.size(); ++i) {
      byCaption_.emplace(entries[i].caption, i);
      byLower_.emplace(lowerAscii(entries[i].caption), i);
    }
  }

  bool isGivenName(const std::string& w) const {
    return sources_.givenNames.male.count(w) || sources_.givenNames.female.count(w);
  }

  bool known(const std::string& w) const {
    return byCaption_.count(w) || byLower_.count(w) || sources_.british.contains(w) ||
           isGivenName(w);
  }

  // The table's words. One WordNet has only for senses its tagged texts never meet ("yeah"
  // as yea) opens with the spoken sense and takes the table's pronunciation; a word met
  // in its own senses ("art", "col") keeps them alone, unless the table says how it is said
  // as the word it stands for: an abbreviation is heard so whatever WordNet explains it by (Ms,
  // Sr beside strontium), and so is its spelling with a full stop (Ms., sr.).
  void addTable() {
    for (DictEntry& f : spokenForms()) {
      const bool saidAsWord = isSaidAsWord(f);
      if (saidAsWord)
        for (const std::string& dotted : {f.caption + ".", lowerAscii(f.caption) + "."})
          if (auto it = byCaption_.find(dotted); it != byCaption_.end()) {
            DictEntry& e = entries_[it->second];
            if (e.anchor >= 0 || !e.transcription.empty()) continue;
            e.transcription = f.transcription;
            e.saidAsWord = true;
          }
      auto it = byCaption_.find(f.caption);
      if (it != byCaption_.end()) {
        DictEntry& e = entries_[it->second];
        if (e.anchor >= 0 || (e.frequency > 0 && !saidAsWord)) continue;
        e.explainLines.insert(e.explainLines.begin(), f.explainLines.begin(), f.explainLines.end());
        if (e.transcription.empty()) e.transcription = f.transcription;
        e.saidAsWord = saidAsWord;
        continue;
      }
      f.frequency = spokenFrequencyOf(f.caption, sources_.spoken);
      f.saidAsWord = saidAsWord;
      add(std::move(f));
      ++counts_.spokenForms;
    }
  }

  // WordNet explains a name by its famous bearers ("John: n. youngest son of Henry II",
  // "Strauss: n. Austrian composer"); a learner hears it as a name first, so a line that says
  // so opens it. The lists of given names hold family names too (Smith, Lincoln): a name that
  // WordNet's other headwords carry more often last ("Adam Smith") than first is taken as a
  // family name. A name that names a class of things or a place ("Georgia: n. a state in
  // southeastern United States") is left as it is.
  void sayWhichHeadwordsAreNames() {
    std::unordered_map<std::string, int> firstMinusLast;
    for (const DictEntry& e : entries_) {
      const size_t first = e.caption.find(' '), last = e.caption.rfind(' ');
      if (first == std::string::npos) continue;
      ++firstMinusLast[e.caption.substr(0, first)];
      --firstMinusLast[e.caption.substr(last + 1)];
    }
    const size_t wordNetRows = entries_.size();
    for (size_t i = 0; i < wordNetRows; ++i) {
      DictEntry& e = entries_[i];
      if (e.anchor >= 0 || !startsCapitalised(e.caption) || namesAClass(e.explainLines)) continue;
      const bool male = sources_.givenNames.male.count(e.caption) != 0;
      const bool female = sources_.givenNames.female.count(e.caption) != 0;
      const CedictName* c = sources_.cedictNames.find(e.caption);
      auto order = firstMinusLast.find(e.caption);
      const bool mostlyLast = order != firstMinusLast.end() && order->second < 0;
      std::string line;
      if ((male || female) && !mostlyLast)
        line = std::string("a given name (") +
               (male && female ? "male or female"
                : male         ? "male"
                               : "female") +
               ")";
      else if ((male || female) || (c && !c->place))
        line = "a family name";
      if (!line.empty()) e.explainLines.insert(e.explainLines.begin(), line);
    }
  }

  void consider(const std::string& word) {
    if (auto it = byCaption_.find(word); it != byCaption_.end()) {
      labelHeardPlural(entries_[it->second]);
      return;
    }
    const FragmentKind fragment =
        classifyFragment(word, [this](const std::string& w) { return known(w); });
    if (fragment != FragmentKind::Word) {
      ++counts_.fragments;
      skipped_.add(std::string("spoken-list entry refused: ") + describeFragment(fragment), word);
      return;
    }
    DictEntry e;
    e.caption = word;
    e.frequency = spokenFrequencyOf(word, sources_.spoken);
    if (explain(e)) return add(std::move(e));
    // A capitalised spelling of a headword is that word at the start of a sentence; the
    // spoken list writes a word so when most of its uses open one ("Cha" of cha-cha).
    const std::string lowered = lowerAscii(word);
    if (byLower_.count(lowered)) return;
    e.caption = lowered;
    if (lowered != word && sources_.spoken.counts.count(word) && explain(e))
      return add(std::move(e));
    ++counts_.unexplained;
    skipped_.add("heard or listed word left out: no source explains it", word);
  }

  void finish() { rankNamesBelowCommonWords(entries_, nameRows_, sources_.spoken); }
  const LearnerHeadwordCounts& counts() const { return counts_; }

 private:
  bool explain(DictEntry& e) {
    const std::string& w = e.caption;
    auto full = byCaption_.find(w + "g");
    if (full != byCaption_.end() && !(e.explainLines = droppedGExplanation(w, w + "g")).empty()) {
      ++counts_.spokenForms;
      return true;
    }
    const std::vector<std::string> chinese =
        sources_.chineseFor ? sources_.chineseFor(w) : std::vector<std::string>{};
    NameExplanation name =
        explainName(w, sources_.givenNames, sources_.cedictNames, chinese.empty());
    if (name.kind != NameKind::None) {
      e.explainLines = std::move(name.lines);
      countName(name.kind);
      nameRows_.push_back(entries_.size());
      return true;
    }
    if (auto hand = heardNames().find(w); hand != heardNames().end()) {
      e.explainLines = hand->second.lines;
      countName(hand->second.kind);
      nameRows_.push_back(entries_.size());
      return true;
    }
    if (!(e.explainLines = pluralOfCapitalised(w)).empty()) {
      ++counts_.plurals;
      return true;
    }
    const bool lowerKnown = byLower_.count(lowerAscii(w)) != 0;
    if (!lowerKnown && !(e.explainLines = phraseParts().explain(w, sources_.spoken)).empty()) {
      ++counts_.phraseParts;
      if (startsCapitalised(w)) nameRows_.push_back(entries_.size());
      return true;
    }
    // A name ECDICT gives a person, also where a common word is spelled the same (Peters);
    // not a spelling heard in lower case as part of a phrase (diem of carpe diem, not Diem).
    if (sources_.ecdict && !heardInPhrase(lowerAscii(w))) {
      name = ecdictPersonName(w, *sources_.ecdict);
      if (name.kind != NameKind::None) {
        e.explainLines = std::move(name.lines);
        countName(name.kind);
        nameRows_.push_back(entries_.size());
        return true;
      }
    }
    if (lowerKnown) return false;
    if (!chinese.empty()) {
      e.explainLines = {chineseLine(chinese)};
      ++counts_.chinese;
      return true;
    }
    if (!sources_.ecdict) return false;
    auto isHeadword = [this](const std::string& lemma) { return byCaption_.count(lemma) != 0; };
    if (!(e.explainLines = ecdictFormLabels(w, *sources_.ecdict, isHeadword)).empty()) {
      ++counts_.forms;
      return true;
    }
    if (std::string line = ecdictWordLine(w, *sources_.ecdict, sources_.british.contains(w));
        !line.empty()) {
      e.explainLines = {std::move(line)};
      ++counts_.chinese;
      return true;
    }
    return false;
  }

  // Whether the spoken list has `lower` in lower case and it is part of a name or phrase.
  bool heardInPhrase(const std::string& lower) {
    return sources_.spoken.countOf(lower) > 0 && !byLower_.count(lower) &&
           !phraseParts().explain(lower, sources_.spoken).empty();
  }

  // "Americans", "Sundays": the plural of a capitalised headword that names a class of
  // things, heard or listed as a word (not one of hunspell's made forms).
  // No plural of a name: not of a place or one thing ("Alaskas", "Acres" of the Brazilian
  // state), not where -es is no plural ending (Angeles, of Angel), not of a word that is itself a
  // form, and not of the last word of a name (Los Angeles, Buenos Aires).
  std::vector<std::string> pluralOfCapitalised(const std::string& w) const {
    if (!startsCapitalised(w) || w.size() < 4 || w.back() != 's') return {};
    if (sources_.spoken.countOf(w) <= 0 && !sources_.british.listsAsWord(w)) return {};
    if (endsAName(w)) return {};
    for (size_t cut : {size_t{1}, size_t{2}}) {
      if (cut == 2 && !takesEsPlural(w.substr(0, w.size() - 2))) continue;
      auto it = byCaption_.find(w.substr(0, w.size() - cut));
      if (it == byCaption_.end()) continue;
      const std::vector<std::string>& lines = entries_[it->second].explainLines;
      if (namesAClass(lines) && !namesOnePlace(lines) && formLabelLemma(lines.front()).empty())
        return {"plural of " + it->first};
    }
    return {};
  }

  // A capitalised headword WordNet explains by one thing alone (Romans: n. a New Testament book)
  // that the spoken list hears as the plural of a class of people (Roman: n. a resident of
  // modern Rome; not Tao's for the Taos people, nor Holland's for the gin Hollands) opens with
  // that plural, as a heard plural no headword has does; the Chinese
  // stage gives it its lemma's Chinese. Only where ECDICT's record of the capitalised lemma
  // lists that plural (Roman: s:romans; not brit's s:brits for Brits, nor mar's 3:mars for
  // Mars); not a place (Santos is no plural of Santo), a name (Peters) or a row that is a form
  // already.
  void labelHeardPlural(DictEntry& e) {
    if (!sources_.ecdict || e.anchor >= 0 || e.explainLines.empty() ||
        sources_.spoken.countOf(e.caption) <= 0 || namesOnePlace(e.explainLines))
      return;
    for (const std::string& l : e.explainLines)
      if (!formLabelLemma(l).empty() || l.rfind("a family name", 0) == 0 ||
          l.rfind("a given name", 0) == 0)
        return;
    const std::vector<std::string> label = pluralOfCapitalised(e.caption);
    if (label.empty()) return;
    const std::string lemmaCaption = formLabelLemma(label.front());
    const auto row = byCaption_.find(lemmaCaption);
    if (row == byCaption_.end() || !namesPeople(entries_[row->second])) return;
    const EcdictWord* lemma = sources_.ecdict->find(lemmaCaption);
    if (!lemma) return;
    const std::vector<std::string> plurals = exchangeValues(lemma->exchange, 's');
    if (std::find(plurals.begin(), plurals.end(), lowerAscii(e.caption)) == plurals.end() &&
        std::find(plurals.begin(), plurals.end(), e.caption) == plurals.end())
      return;
    e.explainLines.insert(e.explainLines.begin(), label.front());
    ++counts_.plurals;
  }

  // Whether `w` is the last word of a name of several words, each capitalised.
  bool endsAName(const std::string& w) const {
    if (!nameEndings_) {
      nameEndings_.emplace();
      for (const DictEntry& e : entries_) {
        const std::vector<std::string> words = splitText(e.caption, " ");
        if (words.size() > 1 && std::all_of(words.begin(), words.end(), [](const std::string& p) {
              return startsCapitalised(p);
            }))
          nameEndings_->insert(words.back());
      }
    }
    return nameEndings_->count(w) != 0;
  }

  const PhraseParts& phraseParts() {
    if (!phraseParts_) phraseParts_.emplace(entries_);
    return *phraseParts_;
  }

  void countName(NameKind kind) {
    if (kind == NameKind::GivenName)
      ++counts_.givenNames;
    else if (kind == NameKind::FamilyName)
      ++counts_.familyNames;
    else
      ++counts_.places;
  }

  void add(DictEntry&& e) {
    byCaption_.emplace(e.caption, entries_.size());
    byLower_.emplace(lowerAscii(e.caption), entries_.size());
    entries_.push_back(std::move(e));
  }

  std::vector<DictEntry>& entries_;
  const LearnerSources& sources_;
  SkipReport& skipped_;
  std::optional<PhraseParts> phraseParts_;  // made once the table's phrases are in
  mutable std::optional<std::set<std::string>>
      nameEndings_;  // Angeles, Aires: made when first asked
  std::unordered_map<std::string, size_t> byCaption_, byLower_;
  std::vector<size_t> nameRows_;
  LearnerHeadwordCounts counts_;
};

}  // namespace

double spokenFrequencyOf(const std::string& caption, const SpokenFrequencies& spoken) {
  const size_t apostrophe = caption.find('\'');
  if (apostrophe == std::string::npos) return spoken.countOf(caption);
  // "I'm" is counted as "I" and "m", "'em" as "em": the word beside the apostrophe.
  const std::string word = apostrophe == 0 ? caption.substr(1) : caption.substr(0, apostrophe);
  return spoken.countOf(word) / 10;
}

void rankNamesBelowCommonWords(std::vector<DictEntry>& entries, const std::vector<size_t>& nameRows,
                               const SpokenFrequencies& spoken) {
  std::unordered_map<std::string, double> commonFrequency;
  for (const DictEntry& e : entries)
    if (!startsCapitalised(e.caption)) {
      double& f = commonFrequency[e.caption];
      f = std::max(f, e.frequency);
    }
  for (size_t row : nameRows) {
    DictEntry& name = entries[row];
    auto it = commonFrequency.find(lowerAscii(name.caption));
    if (it == commonFrequency.end()) continue;
    if (spoken.counts.count(name.caption))
      name.frequency = std::max(name.frequency, it->second * 2);
    else if (name.frequency >= it->second)
      name.frequency = it->second / 2;
  }
}

void markNameLinesInChinese(std::vector<DictEntry>& entries) {
  for (DictEntry& e : entries)
    for (std::string& line : e.explainLines) {
      const bool given = line.rfind("a given name (", 0) == 0;
      if (!given && line.rfind("a family name", 0) != 0) continue;
      if (line.find("人名") != std::string::npos || line.find("姓") != std::string::npos) continue;
      const std::string label = given ? "人名" : "姓氏";
      const size_t semicolon = line.find("; ");
      if (semicolon == std::string::npos)
        line += "; " + label;
      else
        line.insert(semicolon + 2, label + "：");
    }
}

LearnerHeadwordCounts addLearnerHeadwords(std::vector<DictEntry>& entries,
                                          const LearnerSources& sources, SkipReport& skipped) {
  Assembler assembler(entries, sources, skipped);
  assembler.sayWhichHeadwordsAreNames();
  assembler.addTable();
  for (const std::string& word : candidatesOf(sources)) assembler.consider(word);
  assembler.finish();
  return assembler.counts();
}

void addHeardWords(std::vector<DictEntry>& entries, LearnerSources& sources,
                   ChineseLookup chineseFor, SkipReport& skipped, std::ostream& log,
                   const EcdictData* ecdict) {
  sources.ecdict = ecdict;
  sources.chineseFor = std::move(chineseFor);
  log << describeLearnerHeadwords(addLearnerHeadwords(entries, sources, skipped)) << "\n";
}

std::string describeLearnerHeadwords(const LearnerHeadwordCounts& c) {
  return "heard words added: " + std::to_string(c.added()) + " (spoken forms and contractions " +
         std::to_string(c.spokenForms) + ", given names " + std::to_string(c.givenNames) +
         ", family names " + std::to_string(c.familyNames) + ", places " +
         std::to_string(c.places) + ", parts of names and phrases " +
         std::to_string(c.phraseParts) + ", plurals of capitalised words " +
         std::to_string(c.plurals) + ", forms by ECDICT " + std::to_string(c.forms) +
         ", by Chinese equivalents " + std::to_string(c.chinese) +
         "); spoken-list fragments refused " + std::to_string(c.fragments) +
         ", words no source explains " + std::to_string(c.unexplained);
}

}  // namespace quorvi::dictbuild
