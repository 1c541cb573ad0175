#include "inflections.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "function_words.h"
#include "irregular_verbs.h"

namespace quorvi::dictbuild {
namespace {

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool isPlainWord(const std::string& s) {
  return s.size() >= 2 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// What a form is of its lemma; each has its own explanation line.
enum class Kind {
  Plural,
  ThirdPerson,
  PastTense,
  PastParticiple,
  PastBoth,
  Ing,
  Comparative,
  Superlative,
  Graded
};

std::string label(Kind k, const std::string& base) {
  switch (k) {
    case Kind::Plural:
      return "plural of " + base;
    case Kind::ThirdPerson:
      return "third person singular of " + base;
    case Kind::PastTense:
      return "past tense of " + base;
    case Kind::PastParticiple:
      return "past participle of " + base;
    case Kind::PastBoth:
      return "past tense and past participle of " + base;
    case Kind::Ing:
      return "present participle of " + base;
    case Kind::Comparative:
      return "comparative of " + base;
    case Kind::Superlative:
      return "superlative of " + base;
    case Kind::Graded:
      return "comparative or superlative of " + base;
  }
  return base;
}

Kind pastKind(PastSlots s) {
  if (s.pastTense && s.pastParticiple) return Kind::PastBoth;
  return s.pastTense ? Kind::PastTense : Kind::PastParticiple;
}

struct FormOf {
  std::string form;
  Kind kind;
};

// Forms the exception lists leave out but every learner meets.
struct FixedForm {
  const char* form;
  const char* base;
  const char* text;
};
const FixedForm kFixed[] = {
    {"am", "be", "first person singular present of be"},
    {"are", "be", "present tense of be"},
    {"is", "be", "third person singular of be"},
    {"was", "be", "past tense of be"},
    {"were", "be", "past tense of be"},
    {"been", "be", "past participle of be"},
    {"being", "be", "present participle of be"},
    {"has", "have", "third person singular of have"},
    {"had", "have", "past tense and past participle of have"},
    {"having", "have", "present participle of have"},
    {"does", "do", "third person singular of do"},
    {"did", "do", "past tense of do"},
    {"done", "do", "past participle of do"},
    {"doing", "do", "present participle of do"},
    {"others", "other", "plural of other"},
};
const std::set<std::string> kNoRegularForms = {"be", "have", "do"};

Kind classifyGraded(const std::string& form) {
  if (endsWith(form, "er") || form == "worse" || form == "less" || form == "more")
    return Kind::Comparative;
  if (endsWith(form, "st")) return Kind::Superlative;
  return Kind::Graded;
}

// The word a multiword form changes: "gave up" of "give up" -> gave, give.
std::pair<std::string, std::string> changedWord(const std::string& form, const std::string& base) {
  size_t f = 0, b = 0;
  while (f < form.size() && b < base.size()) {
    size_t fe = form.find(' ', f), be = base.find(' ', b);
    std::string fw = form.substr(f, fe - f), bw = base.substr(b, be - b);
    if (fw != bw || fe == std::string::npos || be == std::string::npos) return {fw, bw};
    f = fe + 1;
    b = be + 1;
  }
  return {form, base};
}

// What each exception-list form of a verb is. Verbs the irregular table does not know are
// told by their shape: -ed forms serve both past uses, an -n form beside another is the
// participle (hewn), a lone one serves both (wrought).
std::vector<FormOf> classifyVerbForms(const std::string& base,
                                      const std::vector<std::string>& forms) {
  std::vector<FormOf> out;
  std::vector<size_t> untold;
  for (const std::string& form : forms) {
    const auto [fw, bw] = changedWord(form, base);
    if (endsWith(fw, "ing"))
      out.push_back({form, Kind::Ing});
    else if (fw == bw + "s" || fw == bw + "es" ||
             (endsWith(bw, "y") && fw == bw.substr(0, bw.size() - 1) + "ies"))
      out.push_back({form, Kind::ThirdPerson});
    else if (auto slots = irregularPastSlots(fw, bw))
      out.push_back({form, pastKind(*slots)});
    else {
      untold.push_back(out.size());
      out.push_back({form, Kind::PastBoth});
    }
  }
  auto participleShape = [&](size_t i) {
    const std::string fw = changedWord(out[i].form, base).first;
    return endsWith(fw, "n") && !endsWith(changedWord(out[i].form, base).second, "n");
  };
  const bool hasParticiple = std::any_of(untold.begin(), untold.end(), participleShape);
  for (size_t i : untold) {
    if (endsWith(out[i].form, "ed")) continue;
    if (participleShape(i))
      out[i].kind = Kind::PastParticiple;
    else if (hasParticiple)
      out[i].kind = Kind::PastTense;
  }
  return out;
}

bool isVerbForm(WordForm f) {
  return f == WordForm::ThirdPerson || f == WordForm::Past || f == WordForm::PresentParticiple;
}

bool isPastKind(Kind k) {
  return k == Kind::PastTense || k == Kind::PastParticiple || k == Kind::PastBoth;
}

// Adds a label line to an explanation, joining "past tense of X" and "past participle of X"
// into one line. Returns false when the line was there already.
bool addLabel(std::vector<std::string>& lines, Kind kind, const std::string& base) {
  const std::string both = label(Kind::PastBoth, base);
  auto has = [&](const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
  };
  if (isPastKind(kind) && has(both)) return false;
  std::string text = label(kind, base);
  if (kind == Kind::PastTense || kind == Kind::PastParticiple) {
    const std::string other =
        label(kind == Kind::PastTense ? Kind::PastParticiple : Kind::PastTense, base);
    auto it = std::find(lines.begin(), lines.end(), other);
    if (it != lines.end()) {
      *it = both;
      return true;
    }
  }
  if (kind == Kind::PastBoth)
    std::erase_if(lines, [&](const std::string& l) {
      return l == label(Kind::PastTense, base) || l == label(Kind::PastParticiple, base);
    });
  if (has(text)) return false;
  lines.push_back(std::move(text));
  return true;
}

// Adds the forms of every lemma to the entries, checking forms made by rule against a word
// list when there is one.
class InflectionBuilder {
 public:
  InflectionBuilder(WordNetData& data, const BritishWordList* attested)
      : data_(data), entries_(data.headwords), attested_(attested) {
    for (size_t i = 0; i < entries_.size(); ++i) byCaption_.emplace(entries_[i].caption, i);
    for (const DictEntry& f : functionWords()) grammatical_.insert(f.caption);
  }

  InflectionSummary run() {
    const size_t lemmaCount = entries_.size();
    for (const auto& f : kFixed)
      if (byCaption_.count(f.base) || grammatical_.count(f.base)) addText(f.form, f.base, f.text);
    addListedForms();
    for (size_t i = 0; i < lemmaCount; ++i) {
      const std::string lemma = entries_[i].caption;
      if (isPlainWord(lemma))
        addRegularForms(lemma, entries_[i].frequency);
      else
        addMultiwordVerbForms(lemma, entries_[i].frequency);
    }
    summary_.madeKept = kept_.size();
    summary_.madeDropped = dropped_.size();
    // Examples from across the alphabet, not only its first letters.
    const size_t stride = std::max<size_t>(1, dropped_.size() / 12);
    size_t n = 0;
    for (auto it = dropped_.begin(); it != dropped_.end() && summary_.droppedExamples.size() < 12;
         ++it, ++n)
      if (n % stride == 0) summary_.droppedExamples.push_back(*it);
    return summary_;
  }

 private:
  bool checked() const { return attested_ != nullptr; }

  // A row for the form, or the line added to the row it already has.
  void addText(const std::string& form, const std::string& base, const std::string& line) {
    if (form.empty() || form == base) return;
    auto formIt = byCaption_.find(form);
    if (formIt != byCaption_.end()) {
      auto& lines = entries_[formIt->second].explainLines;
      if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
      followMoreUsefulLemma(formIt->second, base);
      return;
    }
    DictEntry e;
    e.caption = form;
    e.explainLines.push_back(line);
    anchorTo(e, base);
    byCaption_.emplace(form, entries_.size());
    entries_.push_back(std::move(e));
    ++summary_.rowsAdded;
  }

  void addForm(const std::string& form, const std::string& base, Kind kind) {
    if (form.empty() || form == base) return;
    auto formIt = byCaption_.find(form);
    if (formIt == byCaption_.end()) return addText(form, base, label(kind, base));
    addLabel(entries_[formIt->second].explainLines, kind, base);
    followMoreUsefulLemma(formIt->second, base);
  }

  void anchorTo(DictEntry& e, const std::string& base) {
    auto baseIt = byCaption_.find(base);
    if (baseIt == byCaption_.end()) return;
    e.anchor = static_cast<int>(baseIt->second);
    e.frequency = entries_[baseIt->second].frequency;
  }

  // A form made first for a less useful lemma moves next to the more useful one.
  void followMoreUsefulLemma(size_t formIndex, const std::string& base) {
    DictEntry& e = entries_[formIndex];
    auto baseIt = byCaption_.find(base);
    if (e.anchor >= 0 && baseIt != byCaption_.end() &&
        entries_[baseIt->second].frequency > entries_[e.anchor].frequency) {
      e.anchor = static_cast<int>(baseIt->second);
      e.frequency = entries_[baseIt->second].frequency;
    }
  }

  void addListedForms() {
    for (const auto& [pos, list] : data_.exceptions) {
      std::map<std::string, std::vector<std::string>> byBase;
      for (const auto& [form, bases] : list)
        for (const std::string& base : bases) byBase[base].push_back(form);
      for (const auto& [base, forms] : byBase) {
        std::vector<FormOf> told;
        if (pos == 'v')
          told = classifyVerbForms(base, forms);
        else
          for (const std::string& f : forms)
            told.push_back({f, pos == 'n' ? Kind::Plural : classifyGraded(f)});
        addFormsOfHeadword(base, told);
        listed_[{pos, base}] = std::move(told);
      }
    }
  }

  // The exception lists name some lemmas WordNet has no entry for (aboideau) and some in
  // lower case that it spells with a capital (achaemenid): a form names its headword as
  // spelled, or is left out rather than point to nothing.
  void addFormsOfHeadword(const std::string& base, const std::vector<FormOf>& forms) {
    std::string lemma = base;
    if (!byCaption_.count(lemma) && !lemma.empty() && lemma[0] >= 'a' && lemma[0] <= 'z')
      lemma[0] = static_cast<char>(lemma[0] - 'a' + 'A');
    if (!byCaption_.count(lemma)) {
      summary_.listedWithoutLemma += forms.size();
      return;
    }
    for (const FormOf& f : forms) {
      std::string form = f.form;
      if (lemma[0] != base[0] && !form.empty() && form[0] == base[0]) form[0] = lemma[0];
      addForm(form, lemma, f.kind);
    }
  }

  bool listedHas(char pos, const std::string& base, std::initializer_list<Kind> kinds) const {
    auto it = listed_.find({pos, base});
    if (it == listed_.end()) return false;
    return std::any_of(it->second.begin(), it->second.end(), [&](const FormOf& f) {
      return std::find(kinds.begin(), kinds.end(), f.kind) != kinds.end();
    });
  }

  // The spellings of a regular form worth keeping: with a word list, those it attests (and
  // no grammatical word: "as" is no plural of "a"); without, the rule's own spelling.
  std::vector<std::string> keptSpellings(WordForm form, const std::string& lemma) {
    std::vector<std::string> variants = spellingVariants(form, lemma);
    std::vector<std::string> kept;
    for (size_t i = 0; i < variants.size(); ++i) {
      const std::string& v = variants[i];
      if (v.empty() || v == lemma) continue;
      if (!checked()) return {v};
      // Verb forms may come from hunspell alone, as forms of this very verb (realized beside
      // realised); other forms must be listed one by one.
      const bool known =
          isVerbForm(form) ? attested_->confirmsForm(v, lemma) : attested_->listsAsWord(v);
      if (!known) {
        if (i == 0) dropped_.insert(v);  // the rule's own spelling, not an alternative tried
      } else if (!grammatical_.count(v)) {
        kept.push_back(v);
      }
    }
    return kept;
  }

  // The parts of speech a lemma takes regular forms in. Unchecked, only those it is met in
  // (no "catted" from a verb sense nobody uses); checked, the list tells what is real.
  std::string partsOfSpeech(const std::string& lemma, double frequency) const {
    if (kNoRegularForms.count(lemma)) return {};
    std::string pos;
    if (checked()) {
      auto it = data_.lemmaPos.find(lemma);
      return it == data_.lemmaPos.end() ? std::string() : it->second;
    }
    if (frequency <= 0 || grammatical_.count(lemma)) return {};
    for (char p : std::string("nva")) {
      auto it = data_.posCounts.find(lemma + '#' + p);
      if (it != data_.posCounts.end() && it->second >= 1) pos.push_back(p);
    }
    return pos;
  }

  void addRegularForms(const std::string& lemma, double frequency) {
    const std::string pos = partsOfSpeech(lemma, frequency);
    if (pos.find('n') != std::string::npos && takesRegularPlural(lemma, frequency))
      for (const std::string& f : keptSpellings(WordForm::Plural, lemma))
        addMade(f, lemma, Kind::Plural);
    if (pos.find('v') != std::string::npos)
      for (const FormOf& f : regularVerbForms(lemma)) addMade(f.form, lemma, f.kind);
    // Ordinals and compass points are not compared: no "fourthest", "southest".
    if (pos.find('a') != std::string::npos && !(endsWith(lemma, "th") && lemma != "smooth")) {
      if (!listedHas('a', lemma, {Kind::Comparative, Kind::Graded}))
        for (const std::string& f : keptSpellings(WordForm::Comparative, lemma))
          addMade(f, lemma, Kind::Comparative);
      if (!listedHas('a', lemma, {Kind::Superlative, Kind::Graded}))
        for (const std::string& f : keptSpellings(WordForm::Superlative, lemma))
          addMade(f, lemma, Kind::Superlative);
    }
  }

  void addMade(const std::string& form, const std::string& base, Kind kind) {
    kept_.insert(form);
    addForm(form, base, kind);
  }

  // Beside an irregular plural a regular one is real for brothers, pennies, formulas, buses,
  // but not where it is only a verb form (foots, mouses beside feet, mice), for a Greek -is
  // noun (emphasises), an f/ves noun (calfs) or where it is another word (genus, vases).
  // The word list has plurals of abstract -ness nouns nobody uses (favourablenesses):
  // they count only for nouns met in running text (weaknesses, illnesses).
  bool takesRegularPlural(const std::string& noun, double frequency) const {
    if (checked() && endsWith(noun, "ness") && frequency <= 0) return false;
    if (!listedHas('n', noun, {Kind::Plural}))
      return checked() || !endsWith(noun, "s") || endsWith(noun, "ss");
    if (!checked() || endsWith(noun, "is")) return false;
    auto pos = data_.lemmaPos.find(noun);
    const bool isVerb = pos != data_.lemmaPos.end() && pos->second.find('v') != std::string::npos;
    for (const FormOf& f : listed_.at({'n', noun}))
      if (endsWith(f.form, "ves") || (isVerb && f.form.compare(0, noun.size(), noun) != 0))
        return false;
    return !byCaption_.count(pluralOf(noun)) && !byCaption_.count(noun + "es");
  }

  // Third person, present participle and the -ed form of a verb, where the exception lists
  // leave them to the rule. The irregular table says which past uses an -ed form serves
  // (showed: past tense, shown: participle); other verbs' -ed forms serve both.
  std::vector<FormOf> regularVerbForms(const std::string& verb) {
    std::vector<FormOf> out;
    if (!listedHas('v', verb, {Kind::ThirdPerson}))
      for (const std::string& f : keptSpellings(WordForm::ThirdPerson, verb))
        out.push_back({f, Kind::ThirdPerson});
    if (!listedHas('v', verb, {Kind::Ing}))
      for (const std::string& f : keptSpellings(WordForm::PresentParticiple, verb))
        out.push_back({f, Kind::Ing});
    const bool listedPast =
        listedHas('v', verb, {Kind::PastTense, Kind::PastParticiple, Kind::PastBoth});
    if (listedPast && !checked()) return out;
    // A prefix makes an irregular verb only where WordNet lists irregular forms: relay,
    // unlike overlay, is regular.
    const bool irregular = isIrregularVerb(verb, listedPast);
    for (const std::string& f : keptSpellings(WordForm::Past, verb)) {
      if (!irregular)
        out.push_back({f, Kind::PastBoth});
      else if (auto slots = irregularPastSlots(f, verb))
        out.push_back({f, pastKind(*slots)});
    }
    return out;
  }

  // A multiword verb inflects its verb: give up -> gives up, gave up, given up, giving up.
  void addMultiwordVerbForms(const std::string& lemma, double frequency) {
    const size_t space = lemma.find(' ');
    if (space == std::string::npos || frequency <= 0) return;
    auto pos = data_.lemmaPos.find(lemma);
    if (pos == data_.lemmaPos.end() || pos->second.find('v') == std::string::npos) return;
    const std::string verb = lemma.substr(0, space), rest = lemma.substr(space);
    if (!isPlainWord(verb) || kNoRegularForms.count(verb)) return;
    std::vector<FormOf> forms = regularVerbForms(verb);
    if (auto it = listed_.find({'v', verb}); it != listed_.end())
      forms.insert(forms.end(), it->second.begin(), it->second.end());
    for (const FormOf& f : forms) addMade(f.form + rest, lemma, f.kind);
  }

  WordNetData& data_;
  std::vector<DictEntry>& entries_;
  const BritishWordList* attested_;
  std::unordered_map<std::string, size_t> byCaption_;
  std::map<std::pair<char, std::string>, std::vector<FormOf>> listed_;  // exception-list forms
  std::set<std::string> grammatical_;
  std::set<std::string> kept_, dropped_;  // forms made by rule
  InflectionSummary summary_;
};

}  // namespace
}  // namespace quorvi::dictbuild

namespace quorvi::dictbuild {

size_t addInflections(WordNetData& data) {
  return InflectionBuilder(data, nullptr).run().rowsAdded;
}

InflectionSummary addInflections(WordNetData& data, const BritishWordList& attested) {
  return InflectionBuilder(data, attested.empty() ? nullptr : &attested).run();
}

const char* fixedFormLabel(const std::string& form) {
  for (const auto& f : kFixed)
    if (form == f.form) return f.text;
  return nullptr;
}

}  // namespace quorvi::dictbuild
