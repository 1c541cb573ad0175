#include "missing_chinese.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "ascii_case.h"
#include "data_tables.h"
#include "utf8.h"
#include "chinese_line.h"
#include "form_labels.h"
#include "form_chinese.h"
#include "function_words.h"

namespace quorvi::dictbuild {
namespace {

const std::map<char, std::string>& letterNames() {
  static const auto names = [] {
    std::map<char, std::string> m;
    std::string error;
    if (!readLetterNames(kLettersText, m, error)) m.clear();
    return m;
  }();
  return names;
}

const std::vector<LetterSense>& letterSenses() {
  static const auto senses = [] {
    std::vector<LetterSense> v;
    std::string error;
    if (!readLetterSenses(kLetterSensesText, v, error)) v.clear();
    return v;
  }();
  return senses;
}

// The count an ordinal gives ("13th", "seventh"); 0 for any other word.
int countOf(std::string_view word) {
  static constexpr std::string_view kOrdinals[] = {"first", "second", "third",    "fourth",
                                                   "fifth", "sixth",  "seventh",  "eighth",
                                                   "ninth", "tenth",  "eleventh", "twelfth"};
  for (size_t i = 0; i < std::size(kOrdinals); ++i)
    if (word == kOrdinals[i]) return static_cast<int>(i) + 1;
  size_t digits = 0;
  while (digits < word.size() && std::isdigit(static_cast<unsigned char>(word[digits]))) ++digits;
  const std::string_view suffix = word.substr(digits);
  if (digits == 0 || digits > 3 ||
      (suffix != "st" && suffix != "nd" && suffix != "rd" && suffix != "th"))
    return 0;
  return std::stoi(std::string(word.substr(0, digits)));
}

// Matches `gloss` from `at` against pieces[p...]: a literal piece in place, {N} an ordinal word,
// * any words (the fewest that let the rest match).
bool matchPieces(std::string_view gloss, const std::vector<std::string>& pieces, size_t p,
                 int& count) {
  if (p == pieces.size()) return gloss.empty();
  const std::string& piece = pieces[p];
  if (piece == "*") {
    for (size_t skip = 0; skip <= gloss.size(); ++skip)
      if (matchPieces(gloss.substr(skip), pieces, p + 1, count)) return true;
    return false;
  }
  if (piece == "{N}") {
    const size_t end = std::min(gloss.find(' '), gloss.size());
    count = countOf(gloss.substr(0, end));
    return count > 0 && matchPieces(gloss.substr(end), pieces, p + 1, count);
  }
  return gloss.starts_with(piece) && matchPieces(gloss.substr(piece.size()), pieces, p + 1, count);
}

// A sense line as WordNet writes it: "n. gloss; "example"; "example"".
struct Sense {
  char partOfSpeech = 0;
  std::string_view gloss;
  std::string_view examples;
};

Sense senseOf(std::string_view line) {
  Sense s;
  s.partOfSpeech = partOfSpeechOf(line);
  const size_t dot = line.find(". ");
  if (s.partOfSpeech == 0 || dot == std::string_view::npos || dot > 6) return s;
  std::string_view rest = line.substr(dot + 2);
  const size_t quote = rest.find("; \"");
  s.gloss = rest.substr(0, quote);
  if (quote != std::string_view::npos) s.examples = rest.substr(quote);
  return s;
}

// "German Nazi dictator during World War II (1889-1945)", "... (born in 1935)".
bool isPerson(std::string_view gloss) {
  if (gloss.empty() || gloss.back() != ')') return false;
  const size_t open = gloss.rfind('(');
  if (open == std::string_view::npos) return false;
  const std::string_view years = gloss.substr(open);
  return std::count_if(years.begin(), years.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) >= 3;
}

// "genus of fungi having the cap ...", "large genus of Old World mints": a Latin name.
bool namesTaxon(std::string_view gloss) {
  return gloss.find("genus") != std::string_view::npos ||
         gloss.find("family of") != std::string_view::npos;
}

// True when `text` holds `word` with no letter either side.
bool holdsWord(std::string_view text, std::string_view word) {
  const auto isLetter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    const size_t end = at + word.size();
    if ((at == 0 || !isLetter(text[at - 1])) && (end == text.size() || !isLetter(text[end])))
      return true;
  }
  return false;
}

bool namesWord(std::string_view gloss, const std::string& lower) {
  return holdsWord(lowerAscii(std::string(gloss)), lower);
}

bool examplesGiveArticle(std::string_view examples, const std::string& caption) {
  for (const char* article : {"the ", "The ", "a ", "A ", "an ", "An "})
    if (holdsWord(examples, article + caption)) return true;
  return false;
}

// ECDICT files the sense first under the lower-case word: its Chinese is that sense's.
bool filedFirstUnder(std::string_view gloss, const EcdictWord& word) {
  const std::string_view definition = word.definition;
  const std::string_view line =
      definition.substr(0, std::min(definition.find("\\n"), definition.find('\n')));
  const size_t dot = line.find(". ");
  return dot != std::string_view::npos && dot <= 6 && line.substr(dot + 2) == gloss;
}

const std::map<std::string, std::string>& capitalisedWords() {
  static const auto words = [] {
    std::map<std::string, std::string> m;
    std::string error;
    if (!readCapitalisedWords(kCapitalisedWordsText, m, error)) m.clear();
    return m;
  }();
  return words;
}

bool isFormRow(const DictEntry& e) {
  return std::any_of(e.explainLines.begin(), e.explainLines.end(),
                     [](const std::string& l) { return !formLabelLemma(l).empty(); });
}

bool hasNameLine(const DictEntry& e) {
  return std::any_of(e.explainLines.begin(), e.explainLines.end(), [](const std::string& l) {
    return l.rfind("a given name", 0) == 0 || l.rfind("a family name", 0) == 0 ||
           l.rfind("a place name", 0) == 0;
  });
}

bool hasChinese(const DictEntry& e) {
  return std::any_of(e.explainLines.begin(), e.explainLines.end(),
                     [](const std::string& l) { return holdsChineseMeaning(l); });
}

// Chinese of another thing spelled alike: an acronym's expansion, a title, a pointer ("atta":
// 泰国旅行社协会（Association Of Thai Travel Agents）). An element is a symbol's own sense.
bool isOthersChinese(std::string_view line) {
  const OtherSense kind = otherSenseOfLine(line);
  return kind != OtherSense::None && kind != OtherSense::Element;
}

// A line that holds Chinese of the word's own.
bool isOwnChineseLine(const std::string& line) {
  return holdsChineseMeaning(line) && !isOthersChinese(line);
}

// Lines that hold Chinese of the word's own: a row with only another's takes Chinese as a row
// without any does (in the phrase hoi polloi, not 钢铁雄心（游戏名, Hearts of Iron）).
bool holdsOwnChinese(const std::vector<std::string>& lines) {
  return std::any_of(lines.begin(), lines.end(), isOwnChineseLine);
}

// A capitalised word of one word, neither a letter nor written all in capitals.
bool isCapitalisedWord(const std::string& caption) {
  return caption.size() > 1 && startsCapitalised(caption) &&
         caption.find_first_of(" -'.") == std::string::npos &&
         std::any_of(caption.begin() + 1, caption.end(),
                     [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

bool giveLetterItsName(DictEntry& e, const EcdictData& ecdict) {
  const std::string& c = e.caption;
  // The article and the pronoun are words before they are letters.
  if (c.size() != 1 || !std::isalpha(static_cast<unsigned char>(c[0])) || c == "a" || c == "i" ||
      c == "I")
    return false;
  const char capital = static_cast<char>(std::toupper(static_cast<unsigned char>(c[0])));
  const auto name = letterNames().find(capital);
  if (name == letterNames().end()) return false;
  std::vector<std::string> lines = {"n. " + name->second};
  const std::string other(1, c[0] == capital ? static_cast<char>(std::tolower(capital)) : capital);
  for (const std::string& spelling : {c, other}) {
    const EcdictWord* w = ecdict.find(spelling);
    if (!w) continue;
    bool special = false;
    for (std::string& l : ecdictChineseLines(w->translation, 'n', false, &special))
      if (!special && l.find("字母") == std::string::npos &&
          std::find(lines.begin(), lines.end(), l) == lines.end() && lines.size() < 4)
        lines.push_back(std::move(l));
  }
  auto& explain = e.explainLines;
  while (!explain.empty() && holdsChineseMeaning(explain.front())) explain.erase(explain.begin());
  explain.insert(explain.begin(), lines.begin(), lines.end());
  return true;
}

// A row with no Chinese of its own, by its first sense that is a letter or syllable: "ti" is
// first a shrub WordNet knows, but the syllable a learner sings.
bool giveLetterSenseItsChinese(DictEntry& e) {
  if (holdsOwnChinese(e.explainLines)) return false;
  for (const std::string& line : e.explainLines) {
    const Sense s = senseOf(line);
    if (s.partOfSpeech != 'n') continue;
    std::string chinese = chineseOfLetterSense(s.gloss, letterSenses());
    if (chinese.empty()) continue;
    e.explainLines.insert(e.explainLines.begin(), "n. " + chinese);
    return true;
  }
  return false;
}

bool giveCapitalisedWordItsChinese(DictEntry& e, const EcdictData& ecdict) {
  const auto listed = capitalisedWords().find(e.caption);
  const std::string lower =
      listed != capitalisedWords().end() ? listed->second : lowerAscii(e.caption);
  const EcdictWord* w = ecdict.find(lower);
  if (!w) return false;
  std::string kinds;
  bool sameWord = listed != capitalisedWords().end();
  for (const std::string& line : e.explainLines) {
    const Sense s = senseOf(line);
    if (s.partOfSpeech == 0) continue;
    kinds += s.partOfSpeech;
    if (isPerson(s.gloss) || namesTaxon(s.gloss)) continue;
    if (filedFirstUnder(s.gloss, *w) || namesWord(s.gloss, lower) ||
        examplesGiveArticle(s.examples, e.caption))
      sameWord = true;
  }
  if (!sameWord) return false;
  if (kinds.empty()) kinds.push_back('n');
  bool special = false;
  std::vector<std::string> lines = ecdictChineseLines(w->translation, kinds[0], false, &special);
  if (special) return false;
  std::erase_if(lines, [&kinds](const std::string& l) {
    const char pos = partOfSpeechOf(l);
    return l.rfind("abbr.", 0) == 0 || (pos != 0 && kinds.find(pos) == std::string::npos);
  });
  if (lines.empty()) return false;
  e.explainLines.insert(e.explainLines.begin(), lines.begin(), lines.end());
  return true;
}

bool sayItIsAName(DictEntry& e, const GivenNames& given) {
  const bool male = given.male.count(e.caption) != 0;
  const bool female = given.female.count(e.caption) != 0;
  std::string line;
  if (male || female) {
    line = std::string("a given name (") +
           (male && female ? "male or female"
            : male         ? "male"
                           : "female") +
           ")";
  } else {
    // Famous bearers, and what one of them made ("the music of Wagner").
    size_t senses = 0, people = 0, works = 0;
    for (const std::string& l : e.explainLines) {
      const Sense s = senseOf(l);
      if (s.partOfSpeech == 0) continue;
      ++senses;
      if (isPerson(s.gloss))
        ++people;
      else if (holdsWord(s.gloss, e.caption))
        ++works;
    }
    if (people == 0 || people + works < senses) return false;
    line = "a family name";
  }
  e.explainLines.insert(e.explainLines.begin(), line);
  return true;
}

// What a row stands for, by its first line of English: a spoken form "ja: yes" (the first of
// "you, your"), a part of a phrase "in the name Las Vegas: ..."; no target otherwise.
struct StandsFor {
  std::string target;
  bool spokenForm = false;
};

StandsFor standsFor(const DictEntry& e) {
  const auto first = std::find_if(e.explainLines.begin(), e.explainLines.end(),
                                  [](const std::string& l) { return !holdsChineseMeaning(l); });
  if (first == e.explainLines.end()) return {};
  const std::string& line = *first;
  StandsFor out;
  std::string& target = out.target;
  for (const char* part : {"in the name ", "in the phrase "})
    if (line.rfind(part, 0) == 0) target = line.substr(std::string(part).size());
  if (target.empty() && line.rfind(e.caption + ": ", 0) == 0) {
    target = line.substr(e.caption.size() + 2);
    target.resize(std::min(target.find(", "), target.find("; ")) == std::string::npos
                      ? target.size()
                      : std::min(target.find(", "), target.find("; ")));
    out.spokenForm = true;
  }
  const size_t colon = target.find(": ");
  if (colon != std::string::npos) target.resize(colon);
  return out;
}

bool isGrammaticalWord(const std::string& word) {
  static const auto words = [] {
    std::unordered_set<std::string> set;
    for (const DictEntry& e : functionWords()) set.insert(e.caption);
    return set;
  }();
  return words.count(word) != 0;
}

// Whether two Chinese lines share a character: say the same in part (是 and 是的).
bool shareHan(const std::string& a, const std::string& b) {
  const auto x = decodeUtf8(a), y = decodeUtf8(b);
  return x && y && std::any_of(x->begin(), x->end(), [&](char32_t c) {
           return isHanCharacter(c) && y->find(c) != std::u32string::npos;
         });
}

// The sense a WordNet line gives, without its examples: shared by every word of one synset.
std::string senseKey(const std::string& line) {
  const Sense s = senseOf(line);
  if (s.partOfSpeech == 0 || s.gloss.empty() || holdsChineseMeaning(line)) return {};
  std::string key;
  key.reserve(s.gloss.size() + 1);
  key.push_back(s.partOfSpeech);
  key.append(s.gloss);
  return key;
}

// The first Chinese line of `e` a learner may read as the meaning of a sense of `partOfSpeech`:
// no title, acronym, element, cross-reference or note of which form it is ("be的现在时" of
// are), of that part of speech or of none.
const std::string* chineseLineFor(const DictEntry& e, char partOfSpeech) {
  for (const std::string& l : e.explainLines) {
    std::string lemma;
    if (!isChineseMeaningLine(l) || otherSenseOfLine(l) != OtherSense::None ||
        !formNote(l, lemma).empty())
      continue;
    const char pos = partOfSpeechOf(l);
    if (pos == 0 || pos == partOfSpeech) return &l;
  }
  return nullptr;
}

// A common word gives its Chinese to a synonym; a capitalised name of several words only to
// its abbreviation (HUD: Department of Housing and Urban Development). ECDICT's Chinese of an
// abbreviation is as often a name or another expansion (Jr: 冯内果) as the sense it shares, a
// name's is its transliteration (Lord: 洛德), and names share glosses across senses WordNet
// keeps apart (Queens and Brooklyn are each "a borough of New York City").
// A synonym that gives its Chinese: a common word; the expansion of an abbreviation; or, for
// a name alone, another name of one word for the same thing (Tai and Thai, Peking and
// Beijing), not written in capitals as an abbreviation is.
enum class Donor { Common, Expansion, Name, None };
// The most rows a sense may be given by for a name to take another name's Chinese for it.
constexpr size_t kMostNamesOfAThing = 3;

Donor donorKind(const std::string& caption) {
  if (caption.size() < 3) return Donor::None;
  if (std::none_of(caption.begin(), caption.end(),
                   [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; }))
    return Donor::Common;
  if (caption.find(' ') != std::string::npos) return Donor::Expansion;
  const bool name =
      startsCapitalised(caption) && std::all_of(caption.begin() + 1, caption.end(), [](char c) {
        return std::islower(static_cast<unsigned char>(c)) != 0;
      });
  return name ? Donor::Name : Donor::None;
}

// The best synonym of each kind that has Chinese for a sense.
struct Donors {
  size_t common = SIZE_MAX, expansion = SIZE_MAX, name = SIZE_MAX;
  size_t& of(Donor kind) {
    return kind == Donor::Common ? common : kind == Donor::Expansion ? expansion : name;
  }
};

// True when the letters of `abbreviation` (at most five) are, in order, initials of the words
// of `expansion`.
bool abbreviates(const std::string& abbreviation, const std::string& expansion) {
  if (abbreviation.size() > 5) return false;
  size_t next = 0;
  for (size_t at = 0; at < expansion.size() && next < abbreviation.size(); ++at)
    if ((at == 0 || expansion[at - 1] == ' ') &&
        std::tolower(static_cast<unsigned char>(expansion[at])) ==
            std::tolower(static_cast<unsigned char>(abbreviation[next])))
      ++next;
  return next == abbreviation.size();
}

// The words of four letters or more of an English text, in lower case, cut to their first
// four ("As Soon As Possible": soon, poss; "hours" and "hour" alike).
std::vector<std::string> wordStems(std::string_view text) {
  std::vector<std::string> out;
  std::string word;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
      word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i]))));
      continue;
    }
    if (word.size() >= 4) out.push_back(word.substr(0, 4));
    word.clear();
  }
  return out;
}

// An abbreviation ECDICT explains by what it stands for ("asap": abbr. 尽快（As Soon As
// Possible）) opens with that Chinese, of its first sense's part of speech, when its letters
// begin the expansion's words and its first WordNet sense names most of them ("as
// soon as possible"); not another expansion spelled alike (BB's ball bearing is no pellet,
// Tai's Thai Airways International no people).
bool giveAbbreviationItsExpansion(DictEntry& e, const EcdictData& ecdict) {
  if (holdsOwnChinese(e.explainLines) || isFormRow(e)) return false;
  const auto line = std::find_if(e.explainLines.begin(), e.explainLines.end(),
                                 [](const std::string& l) { return senseOf(l).partOfSpeech; });
  if (line == e.explainLines.end()) return false;
  const Sense sense = senseOf(*line);
  const std::vector<std::string> senseWords = wordStems(sense.gloss);
  std::string upper = e.caption;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string& spelling : {e.caption, lowerAscii(e.caption), upper}) {
    const EcdictWord* w = ecdict.find(spelling);
    if (!w) continue;
    for (const std::string& text : splitText(w->translation, "\\n"))
      for (std::string item : splitText(text, "；")) {
        if (item.starts_with("abbr.")) item.erase(0, 5);
        const size_t open = item.rfind("（"), close = item.rfind("）");
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        const std::string expansion = item.substr(open + 3, close - open - 3);
        const std::vector<std::string> words = wordStems(expansion);
        const size_t start = std::min(item.find_first_not_of(' '), open);
        const std::string chinese = item.substr(start, open - start);
        const auto named = std::count_if(words.begin(), words.end(), [&](const std::string& w) {
          return std::find(senseWords.begin(), senseWords.end(), w) != senseWords.end();
        });
        if (!abbreviates(e.caption, expansion) || !holdsChineseMeaning(chinese) || named == 0 ||
            2 * static_cast<size_t>(named) <= words.size())
          continue;
        static const std::map<char, std::string> kPartOfSpeech = {
            {'n', "n. "}, {'v', "v. "}, {'a', "adj. "}, {'r', "adv. "}};
        const auto pos = kPartOfSpeech.find(sense.partOfSpeech);
        e.explainLines.insert(e.explainLines.begin(),
                              (pos == kPartOfSpeech.end() ? "" : pos->second) + chinese);
        return true;
      }
  }
  return false;
}

// True when `symbol` spells the start of `name` and then some of its letters in order, as an
// element's symbol does its name (Mt meitnerium, not darmstadtium, which WordNet glosses alike).
bool symbolOf(const std::string& symbol, const std::string& name) {
  if (symbol.empty() || name.empty() ||
      std::tolower(static_cast<unsigned char>(symbol[0])) !=
          std::tolower(static_cast<unsigned char>(name[0])))
    return false;
  size_t at = 1;
  for (size_t i = 1; i < symbol.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(symbol[i])));
    at = name.find(c, at);
    if (at == std::string::npos) return false;
    ++at;
  }
  return true;
}

// A word before a number ("atomic number 67": 原子序数67 says nothing of holmium), then the
// commoner.
bool donorBefore(const DictEntry& a, const DictEntry& b) {
  const auto holdsDigit = [](const DictEntry& e) {
    return std::any_of(e.caption.begin(), e.caption.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
  };
  if (holdsDigit(a) != holdsDigit(b)) return holdsDigit(b);
  return a.frequency > b.frequency;
}

}  // namespace

size_t borrowChineseOfWhatItStandsFor(std::vector<DictEntry>& entries) {
  std::unordered_map<std::string, size_t> byCaption;
  for (size_t i = 0; i < entries.size(); ++i) byCaption.emplace(entries[i].caption, i);
  const auto rowOf = [&](const std::string& caption) -> const DictEntry* {
    auto it = byCaption.find(caption);
    if (it == byCaption.end()) it = byCaption.find(lowerAscii(caption));
    return it == byCaption.end() ? nullptr : &entries[it->second];
  };
  size_t borrowed = 0;
  for (DictEntry& e : entries) {
    if (e.leftOut || isFormRow(e)) continue;
    const auto [target, spokenForm] = standsFor(e);
    const DictEntry* row = target.empty() || target == e.caption ? nullptr : rowOf(target);
    if (!row) continue;
    // A present participle said with its g dropped ("tellin: telling") is heard as the verb's,
    // whatever senses of its own the -ing word has (telling: 有效的).
    const DictEntry* verb = nullptr;
    for (const std::string& l : row->explainLines)
      if (target == e.caption + "g" && l.starts_with("present participle of ") && !verb)
        verb = rowOf(formLabelLemma(l));
    // A spoken form of a grammatical word or a verb whose Chinese of its own says nothing that
    // word's does is heard as it ("cos: because": 因为 before cosine's 余弦, "til: until" before
    // 芝麻, "tellin" 告诉 before 樱蛤); one that says it in part keeps its own ("yep: yes": 是).
    const auto own = std::find_if(e.explainLines.begin(), e.explainLines.end(), isOwnChineseLine);
    // A line of no part of speech is CC-CEDICT's for the spelling itself (hola: 你好), its own.
    if (own != e.explainLines.end() &&
        !(spokenForm && ((isGrammaticalWord(target) && partOfSpeechOf(*own) != 0) || verb)))
      continue;
    const std::vector<std::string>& lines = verb ? verb->explainLines : row->explainLines;
    const std::string* chinese = verb ? chineseLineFor(*verb, 'v') : nullptr;
    if (!verb)
      if (auto it = std::find_if(lines.begin(), lines.end(),
                                 [](const std::string& l) {
                                   return isChineseMeaningLine(l) &&
                                          otherSenseOfLine(l) == OtherSense::None;
                                 });
          it != lines.end())
        chinese = &*it;
    if (!chinese || (own != e.explainLines.end() &&
                     std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
                       return isChineseMeaningLine(l) && shareHan(*own, l);
                     })))
      continue;
    e.explainLines.insert(e.explainLines.begin(), *chinese);
    ++borrowed;
  }
  return borrowed;
}

size_t borrowChineseOfSynonyms(std::vector<DictEntry>& entries) {
  // sense -> the commonest common word and expansion with Chinese for it
  std::unordered_map<std::string, Donors> donorsOf;
  // The rows, and the lines of them, that lack Chinese: a row's explanation, or the senses of
  // an abbreviation said as a word that are read letter by letter (Mt, meitnerium).
  std::vector<std::pair<size_t, std::vector<std::string>*>> takers;
  const auto lacksChinese = [](const std::vector<std::string>& lines) {
    return !lines.empty() && !holdsOwnChinese(lines);
  };
  // The letter-read senses' glosses, with every common word that has Chinese for them: such a
  // gloss is often shared by senses WordNet keeps apart ("a radioactive transuranic element").
  std::unordered_map<std::string, std::vector<size_t>> symbolDonorsOf;
  for (size_t i = 0; i < entries.size(); ++i) {
    DictEntry& e = entries[i];
    if (e.leftOut || isFormRow(e)) continue;
    for (std::vector<std::string>* lines : {&e.explainLines, &e.letterReadLines}) {
      if (!lacksChinese(*lines)) continue;
      takers.emplace_back(i, lines);
      for (const std::string& line : *lines)
        if (std::string key = senseKey(line); !key.empty()) {
          if (lines == &e.letterReadLines) symbolDonorsOf.emplace(key, std::vector<size_t>());
          donorsOf.emplace(std::move(key), Donors());
        }
    }
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const DictEntry& e = entries[i];
    const Donor kind = donorKind(e.caption);
    if (e.leftOut || isFormRow(e) || !hasChinese(e) || kind == Donor::None) continue;
    // Only the first sense of each part of speech, which its first Chinese line is most likely
    // to translate (movement's 运动 is not bowel movement's).
    std::string kinds;
    for (const std::string& line : e.explainLines) {
      const std::string key = senseKey(line);
      if (key.empty() || kinds.find(key[0]) != std::string::npos) continue;
      kinds.push_back(key[0]);
      const auto it = donorsOf.find(key);
      const std::string* chinese = chineseLineFor(e, key[0]);
      if (it == donorsOf.end() || !chinese) continue;
      // A word of three letters is as often an abbreviation (Jr: 冯内果), and its first Chinese
      // line another sense's (loo: 卢牌戏): only a number's (two: 二) is its own.
      if (e.caption.size() == 3 && !chinese->starts_with("num. ")) continue;
      if (auto symbol = symbolDonorsOf.find(key);
          symbol != symbolDonorsOf.end() && kind == Donor::Common)
        symbol->second.push_back(i);
      size_t& best = it->second.of(kind);
      if (best == SIZE_MAX || donorBefore(e, entries[best])) best = i;
    }
  }
  // A name takes another name's Chinese only where no common word is spelled as it (Crane's
  // constellation is no crane's 鹤), and only for a sense few rows give: the names of one thing
  // (Tai, Thai), not a gloss WordNet gives many ("n. a genus of Cricetidae": voles, gerbils).
  std::unordered_set<std::string> captions;
  std::unordered_map<std::string, size_t> holders;
  for (const DictEntry& e : entries) {
    captions.insert(e.caption);
    for (const std::string& line : e.explainLines)
      if (std::string key = senseKey(line); !key.empty() && donorsOf.count(key)) ++holders[key];
  }
  size_t borrowed = 0;
  for (auto [i, taken] : takers) {
    const DictEntry& e = entries[i];
    for (const std::string& line : *taken) {
      const std::string key = senseKey(line);
      const auto it = donorsOf.find(key);
      if (it == donorsOf.end()) continue;
      size_t donorIndex = it->second.common;
      if (donorIndex == SIZE_MAX && it->second.expansion != SIZE_MAX &&
          abbreviates(e.caption, entries[it->second.expansion].caption))
        donorIndex = it->second.expansion;
      if (donorIndex == SIZE_MAX && donorKind(e.caption) == Donor::Name &&
          !captions.count(lowerAscii(e.caption)) && holders[key] <= kMostNamesOfAThing)
        donorIndex = it->second.name;
      if (taken == &e.letterReadLines) {
        donorIndex = SIZE_MAX;
        for (size_t d : symbolDonorsOf[key])
          if (symbolOf(e.caption, entries[d].caption) &&
              (donorIndex == SIZE_MAX || donorBefore(entries[d], entries[donorIndex])))
            donorIndex = d;
      }
      if (donorIndex == SIZE_MAX) continue;
      const DictEntry& donor = entries[donorIndex];
      const std::vector<std::string> lines = {*chineseLineFor(donor, key[0]),
                                              "同 " + donor.caption};
      taken->insert(taken->begin(), lines.begin(), lines.end());
      ++borrowed;
      break;
    }
  }
  return borrowed;
}

bool holdsChineseMeaning(std::string_view line) {
  if (looksLikeLearnerLevels(line)) return false;
  const auto text = decodeUtf8(line);
  return text && std::any_of(text->begin(), text->end(), isHanCharacter);
}

bool readLetterNames(std::string_view text, std::map<char, std::string>& out, std::string& error) {
  return readTsvRows(
      text, 2,
      [&out](const std::vector<std::string>& row, std::string& why) {
        const std::string& letter = row[0];
        if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z' || out.count(letter[0])) {
          why = "\"" + letter + "\" is no capital letter or is listed twice";
          return false;
        }
        const auto chinese = decodeUtf8(row[1]);
        if (!chinese || std::none_of(chinese->begin(), chinese->end(), isHanCharacter)) {
          why = "the name of " + letter + " holds no Chinese";
          return false;
        }
        out.emplace(letter[0], row[1]);
        return true;
      },
      error);
}

bool readLetterSenses(std::string_view text, std::vector<LetterSense>& out, std::string& error) {
  return readTsvRows(
      text, 2,
      [&out](const std::vector<std::string>& row, std::string& why) {
        LetterSense sense;
        std::string_view gloss = row[0];
        while (!gloss.empty()) {
          const size_t n = gloss.find("{N}"), star = gloss.find('*');
          const size_t at = std::min(n, star);
          if (at > 0) sense.pieces.emplace_back(gloss.substr(0, std::min(at, gloss.size())));
          if (at == std::string_view::npos) break;
          sense.pieces.emplace_back(at == n ? "{N}" : "*");
          gloss.remove_prefix(at + (at == n ? 3 : 1));
        }
        const auto chinese = decodeUtf8(row[1]);
        if (std::count(sense.pieces.begin(), sense.pieces.end(), "{N}") != 1 ||
            row[1].find("{N}") == std::string::npos || !chinese ||
            std::none_of(chinese->begin(), chinese->end(), isHanCharacter)) {
          why = "\"" + row[0] + "\" needs one {N} and Chinese with it";
          return false;
        }
        sense.chinese = row[1];
        out.push_back(std::move(sense));
        return true;
      },
      error);
}

std::string chineseOfLetterSense(std::string_view gloss, const std::vector<LetterSense>& senses) {
  for (const LetterSense& sense : senses) {
    int count = 0;
    if (!matchPieces(gloss, sense.pieces, 0, count)) continue;
    std::string chinese = sense.chinese;
    chinese.replace(chinese.find("{N}"), 3, std::to_string(count));
    return chinese;
  }
  return {};
}

bool readCapitalisedWords(std::string_view text, std::map<std::string, std::string>& out,
                          std::string& error) {
  return readTsvRows(
      text, 2,
      [&out](const std::vector<std::string>& row, std::string& why) {
        if (!isCapitalisedWord(row[0]) || lowerAscii(row[1]) != row[1] || row[1].empty() ||
            !out.emplace(row[0], row[1]).second) {
          why = "\"" + row[0] + "\" is no capitalised word, listed twice, or \"" + row[1] +
                "\" is not in lower case";
          return false;
        }
        return true;
      },
      error);
}

MissingChineseCounts addMissingChinese(std::vector<DictEntry>& entries, const EcdictData& ecdict,
                                       const GivenNames& givenNames) {
  MissingChineseCounts counts;
  for (DictEntry& e : entries) {
    if (e.leftOut) continue;
    if (giveLetterItsName(e, ecdict)) {
      ++counts.letters;
      continue;
    }
    if (giveLetterSenseItsChinese(e)) {
      ++counts.letterSenses;
      continue;
    }
    if (giveAbbreviationItsExpansion(e, ecdict)) {
      ++counts.expansions;
      continue;
    }
    if (!isCapitalisedWord(e.caption) || hasChinese(e) || isFormRow(e)) continue;
    if (giveCapitalisedWordItsChinese(e, ecdict)) {
      ++counts.capitalised;
    } else if (!hasNameLine(e) && sayItIsAName(e, givenNames))
      ++counts.names;
  }
  return counts;
}

}  // namespace quorvi::dictbuild
