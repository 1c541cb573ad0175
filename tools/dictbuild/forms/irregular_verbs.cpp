#include "irregular_verbs.h"

#include <sstream>
#include <unordered_map>
#include <vector>

namespace quorvi::dictbuild {
namespace {

// base, past tense forms, past participle forms (alternatives joined by commas), as a
// learner's dictionary lists them, British forms first.
const char kTable[] =
    "abide abode,abided abode,abided|arise arose arisen|awake awoke awoken|bear bore borne,born|"
    "beat beat beaten|become became become|beget begot begotten|begin began begun|bend bent bent|"
    "beseech besought,beseeched besought,beseeched|bet bet,betted bet,betted|"
    "bid bid,bade bid,bidden|bind bound bound|bite bit bitten|bleed bled bled|"
    "bless blessed,blest blessed,blest|blow blew blown|break broke broken|breed bred bred|"
    "bring brought brought|broadcast broadcast broadcast|build built built|"
    "burn burnt,burned burnt,burned|burst burst burst|bust bust,busted bust,busted|"
    "buy bought bought|cast cast cast|catch caught caught|choose chose chosen|"
    "cleave cleaved,cleft,clove cleaved,cleft,cloven|cling clung clung|"
    "clothe clothed,clad clothed,clad|come came come|cost cost cost|creep crept crept|"
    "cut cut cut|deal dealt dealt|dig dug dug|dive dived,dove dived|do did done|draw drew drawn|"
    "dream dreamt,dreamed dreamt,dreamed|drink drank drunk|drive drove driven|"
    "dwell dwelt,dwelled dwelt,dwelled|eat ate eaten|fall fell fallen|feed fed fed|"
    "feel felt felt|fight fought fought|find found found|flee fled fled|fling flung flung|"
    "fly flew flown|forbid forbade,forbad forbidden|forsake forsook forsaken|freeze froze frozen|"
    "get got got,gotten|gild gilded,gilt gilded,gilt|gird girded,girt girded,girt|"
    "give gave given|go went gone|grind ground ground|grow grew grown|"
    "hang hung,hanged hung,hanged|hear heard heard|heave heaved,hove heaved,hove|"
    "hew hewed hewn,hewed|hide hid hidden|hit hit hit|hold held held|hurt hurt hurt|"
    "keep kept kept|kneel knelt,kneeled knelt,kneeled|knit knitted,knit knitted,knit|"
    "know knew known|lade laded laden|lay laid laid|lead led led|lean leant,leaned leant,leaned|"
    "leap leapt,leaped leapt,leaped|learn learnt,learned learnt,learned|leave left left|"
    "lend lent lent|let let let|lie lay,lied lain,lied|light lit,lighted lit,lighted|"
    "lose lost lost|make made made|mean meant meant|meet met met|mow mowed mown,mowed|"
    "pay paid paid|plead pleaded,pled pleaded,pled|prove proved proved,proven|put put put|"
    "quit quit,quitted quit,quitted|read read read|rend rent rent|rid rid rid|ride rode ridden|"
    "ring rang rung|rise rose risen|run ran run|saw sawed sawn,sawed|say said said|see saw seen|"
    "seek sought sought|sell sold sold|send sent sent|set set set|sew sewed sewn,sewed|"
    "shake shook shaken|shave shaved shaved,shaven|shear sheared shorn,sheared|shed shed shed|"
    "shine shone,shined shone,shined|shit shit,shat shit,shat|shoe shod shod|shoot shot shot|"
    "show showed shown|shrink shrank shrunk,shrunken|shut shut shut|sing sang sung|"
    "sink sank sunk,sunken|sit sat sat|slay slew slain|sleep slept slept|slide slid slid|"
    "sling slung slung|slink slunk slunk|slit slit slit|smell smelt,smelled smelt,smelled|"
    "smite smote smitten|sneak sneaked,snuck sneaked,snuck|sow sowed sown,sowed|"
    "speak spoke spoken|speed sped,speeded sped,speeded|spell spelt,spelled spelt,spelled|"
    "spend spent spent|spill spilt,spilled spilt,spilled|spin spun spun|spit spat spat|"
    "split split split|spoil spoilt,spoiled spoilt,spoiled|spread spread spread|"
    "spring sprang sprung|stand stood stood|steal stole stolen|stick stuck stuck|"
    "sting stung stung|stink stank stunk|strew strewed strewn,strewed|stride strode stridden|"
    "strike struck struck|string strung strung|strive strove striven|swear swore sworn|"
    "sweep swept swept|swell swelled swollen,swelled|swim swam swum|swing swung swung|"
    "take took taken|teach taught taught|tear tore torn|tell told told|think thought thought|"
    "thrive thrived,throve thrived,thriven|throw threw thrown|thrust thrust thrust|"
    "tread trod trodden|wake woke woken|wear wore worn|weave wove woven|"
    "wed wed,wedded wed,wedded|weep wept wept|wet wet,wetted wet,wetted|win won won|"
    "wind wound wound|wring wrung wrung|write wrote written";

// Prefixes that make new verbs of irregular ones: overtake, mislead, withdraw, undergo ...
const char* const kPrefixes[] = {"be", "for", "fore",  "mis", "out", "over",
                                 "re", "un",  "under", "up",  "with"};

struct Principal {
  std::vector<std::string> past;
  std::vector<std::string> participle;
};

std::vector<std::string> splitCommas(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string part; std::getline(in, part, ',');) out.push_back(part);
  return out;
}

const std::unordered_map<std::string, Principal>& table() {
  static const std::unordered_map<std::string, Principal> verbs = [] {
    std::unordered_map<std::string, Principal> m;
    std::istringstream in(kTable);
    for (std::string row; std::getline(in, row, '|');) {
      std::istringstream fields(row);
      std::string base, past, participle;
      fields >> base >> past >> participle;
      m.emplace(base, Principal{splitCommas(past), splitCommas(participle)});
    }
    return m;
  }();
  return verbs;
}

bool contains(const std::vector<std::string>& list, const std::string& s) {
  for (const std::string& x : list)
    if (x == s) return true;
  return false;
}

// The table row of a verb and what stands before the table's verb: nothing, one of the
// prefixes (over + take), or with `anyFront` whatever does (ghost + write, misunder + stand),
// the longest table verb first.
const Principal* lookUp(const std::string& verb, std::string& front, bool anyFront) {
  const auto& verbs = table();
  front.clear();
  if (auto it = verbs.find(verb); it != verbs.end()) return &it->second;
  for (const char* p : kPrefixes) {
    const std::string pre = p;
    if (verb.size() <= pre.size() + 1 || verb.compare(0, pre.size(), pre) != 0) continue;
    if (auto it = verbs.find(verb.substr(pre.size())); it != verbs.end()) {
      front = pre;
      return &it->second;
    }
  }
  for (size_t i = 1; anyFront && i + 2 <= verb.size(); ++i) {
    if (auto it = verbs.find(verb.substr(i)); it != verbs.end()) {
      front = verb.substr(0, i);
      return &it->second;
    }
  }
  return nullptr;
}

}  // namespace

std::optional<PastSlots> irregularPastSlots(const std::string& form, const std::string& verb) {
  std::string prefix;
  const Principal* row = lookUp(verb, prefix, true);
  if (!row || form.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::string rest = form.substr(prefix.size());
  PastSlots slots{contains(row->past, rest), contains(row->participle, rest)};
  if (!slots.pastTense && !slots.pastParticiple) return std::nullopt;
  return slots;
}

bool isIrregularVerb(const std::string& verb, bool behindPrefix) {
  std::string prefix;
  return lookUp(verb, prefix, false) != nullptr && (behindPrefix || prefix.empty());
}

}  // namespace quorvi::dictbuild
