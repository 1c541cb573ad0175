#include "spelling_adjustments.h"

#include <algorithm>
#include <cctype>

namespace quorvi::dictbuild {
namespace {

constexpr std::u16string_view kVowelLetters = u"iueæʌɔəɑoaɛ";

bool endsWith(std::u16string_view s, std::u16string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}
bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}
bool startsWith(std::string_view s, std::string_view head) {
  return s.substr(0, head.size()) == head;
}
bool isVowelLetter(char c) {
  return std::string_view("aeiouy").find(c) != std::string_view::npos;
}
bool isMark(char16_t c) {
  return c == u'ˈ' || c == u'ˌ';
}

std::string lowerCase(std::string_view caption) {
  std::string out(caption);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// True when the vowel at `at` is not the stressed one: another vowel stands between the last
// stress mark and it, and it is not the second half of a glide (ei, ai, ɔi).
bool unstressedAt(const std::u16string& s, size_t at) {
  if (at > 0 && std::u16string_view(u"eaɔ").find(s[at - 1]) != std::u16string_view::npos)
    return false;
  size_t mark = s.find_last_of(u"ˈˌ", at);
  if (mark == std::u16string::npos) return true;
  for (size_t i = mark + 1; i < at; ++i)
    if (kVowelLetters.find(s[i]) != std::u16string_view::npos) return true;
  return false;
}

struct Ending {
  const char* spelling;
  const char16_t* heard;      // what espeak-ng gives at the end of the word
  const char16_t* printed;    // what the dictionaries print
  const char* notAfter;       // a longer spelling that keeps the weak ə (society, immediate)
  bool evenStressed = false;  // applies to a stressed vowel too
};

// Endings the dictionaries print otherwise than the machine says them; for one spelling the
// first sound sequence that fits is used. First weak ɪ where the machine says ə.
constexpr Ending kWeakEndings[] = {
    {"ities", u"ətiz", u"itiz", "ieties"},
    {"ity", u"əti", u"iti", "iety"},
    {"ately", u"ətli", u"itli", "iately"},
    {"ates", u"əts", u"its", "iates"},
    {"ate", u"ət", u"it", "iate"},
    {"ibly", u"əbli", u"ibli", nullptr},
    {"ible", u"əbəl", u"ibəl", nullptr},
    {"lessness", u"ləsnəs", u"lisnis", nullptr},
    {"lessly", u"ləsli", u"lisli", nullptr},
    {"less", u"ləs", u"lis", nullptr},
    {"nesses", u"nəsiz", u"nisiz", nullptr},
    {"ness", u"nəs", u"nis", nullptr},
    {"esses", u"əsiz", u"isiz", nullptr},
    {"ess", u"əs", u"is", nullptr},  // actress, hostess
    {"ages", u"ədʒiz", u"idʒiz", nullptr},
    {"age", u"ədʒ", u"idʒ", nullptr},
    // -ed after t or d, -es after a hissing sound: wanted, needed, boxes, wishes, judges.
    {"ted", u"təd", u"tid", nullptr},
    {"ded", u"dəd", u"did", nullptr},
    {"ses", u"səz", u"siz", nullptr},
    {"ses", u"zəz", u"ziz", nullptr},
    {"ces", u"səz", u"siz", nullptr},
    {"xes", u"səz", u"siz", nullptr},
    {"zes", u"zəz", u"ziz", nullptr},
    {"ches", u"ʃəz", u"ʃiz", nullptr},
    {"shes", u"ʃəz", u"ʃiz", nullptr},
    {"ges", u"ʒəz", u"ʒiz", nullptr},
    // -er after a long u keeps it long: newer ˈnjuːə, viewer ˈvjuːə (usual ˈjuːʒuəl is a glide).
    {"ewers", u"uəz", u"uːəz", nullptr, true},
    {"ewer", u"uə", u"uːə", nullptr, true},
    {"uers", u"uəz", u"uːəz", nullptr, true},
    {"uer", u"uə", u"uːə", nullptr, true},
    // Full vowels the dictionaries reduce.
    {"umn", u"ʌm", u"əm", nullptr},
    {"umns", u"ʌmz", u"əmz", nullptr},
    {"some", u"ˌsʌm", u"səm", nullptr, true},  // troublesome ˈtrʌbəlsəm: no second stress either
    {"some", u"sʌm", u"səm", nullptr},
    {"somely", u"sʌmli", u"səmli", nullptr},
};

void printWeakEndings(const std::string& word, std::u16string& s) {
  for (const Ending& e : kWeakEndings) {
    if (!endsWith(word, e.spelling) || (e.notAfter && endsWith(word, e.notAfter))) continue;
    const std::u16string_view heard = e.heard;
    if (!endsWith(s, heard)) continue;
    const size_t start = s.size() - heard.size();
    const size_t vowel = start + std::min(heard.find_first_of(kVowelLetters), heard.size() - 1);
    if (e.evenStressed || unstressedAt(s, vowel)) s.replace(start, heard.size(), e.printed);
    return;  // one ending per word
  }
}

// be-, de-, re-, pre-, e- before a consonant letter, unstressed: bi, di, ri, pri, i.
void printWeakPrefix(const std::string& word, std::u16string& s) {
  size_t letters = 0;
  for (const char* p : {"pre", "be", "de", "re", "e"})
    if (startsWith(word, p)) {
      letters = std::string_view(p).size();
      break;
    }
  if (letters == 0 || word.size() <= letters + 1 || isVowelLetter(word[letters])) return;
  const size_t vowel = letters - 1;  // the prefix's consonants come out one symbol each
  if (s.size() <= vowel + 1 || (s[vowel] != u'ə' && s[vowel] != u'e')) return;
  if (std::u16string_view(u"iuəː").find(s[vowel + 1]) != std::u16string_view::npos)
    return;  // a glide
  if (s.find_first_of(u"ˈˌ") < vowel) return;
  if (s.find(u'ˈ') == std::u16string::npos) return;  // no stress at all: a weak form, leave it
  s[vowel] = u'i';
}

// in-, en-, un-, con-, non-, syn- before a velar keep their n when the prefix is not the
// stressed syllable: include inˈkluːd, incorrect ˌinkəˈrekt; concrete ˈkɔŋkriːt keeps ŋ.
void keepPrefixNasal(const std::string& word, std::u16string& s) {
  static const char* const kPrefixes[] = {"con", "non", "syn", "in", "en", "un"};
  size_t letters = 0;
  for (const char* p : kPrefixes)
    if (startsWith(word, p)) {
      letters = std::string_view(p).size();
      break;
    }
  if (letters == 0 || word.size() <= letters ||
      std::string_view("ckgq").find(word[letters]) == std::string_view::npos)
    return;
  const size_t nasal = s.find(u'ŋ');
  if (nasal == std::u16string::npos || s.find(u'ˈ') < nasal) return;
  size_t sounds = 0;  // the prefix: one vowel, and its consonant for con-, non-, syn-
  for (size_t i = 0; i < nasal; ++i) sounds += !isMark(s[i]);
  if (sounds != letters - 1) return;
  size_t next = nasal + 1;
  while (next < s.size() && isMark(s[next])) ++next;
  if (next < s.size() && (s[next] == u'k' || s[next] == u'ɡ')) s[nasal] = u'n';
}

// The spellings that give the cure vowel uə where RP voices now say ɔː.
bool spellsCureVowel(const std::string& word) {
  for (const char* p : {"tour", "gour", "dour"})
    if (word.find(p) != std::string::npos) return true;
  for (size_t at = word.find("oor"); at != std::string::npos; at = word.find("oor", at + 1))
    if (!(at >= 1 && word[at - 1] == 'd') && !(at >= 2 && word.compare(at - 2, 2, "fl") == 0))
      return true;
  for (size_t at = word.find("ur"); at != std::string::npos; at = word.find("ur", at + 1)) {
    const bool inOurOrAur = at > 0 && (word[at - 1] == 'a' || word[at - 1] == 'o');
    if (!inOurOrAur && (at + 2 == word.size() || isVowelLetter(word[at + 2]))) return true;
  }
  return false;
}

// Letters that may spell ɔː (more, law, taught, call, talk, salt, board, war, quarter), but
// not the or of poor or of a final -or (juror), the au of -eau, the all of allure or -ally.
bool maySpellOpenO(const std::string& word) {
  for (const char* p : {"aw", "alk", "alt", "oar", "war", "quar"})
    if (word.find(p) != std::string::npos) return true;
  auto anyWhere = [&](const char* letters, auto counts) {
    for (size_t at = word.find(letters); at != std::string::npos; at = word.find(letters, at + 1))
      if (counts(at)) return true;
    return false;
  };
  const size_t n = word.size();
  return anyWhere("or",
                  [&](size_t at) {
                    const bool atWordEnd = at + 2 == n || (at + 3 == n && word[at + 2] == 's');
                    return (at == 0 || word[at - 1] != 'o') && !atWordEnd;
                  }) ||
         anyWhere("au", [&](size_t at) { return at == 0 || word[at - 1] != 'e'; }) ||
         anyWhere("all", [&](size_t at) { return at + 3 == n || !(isVowelLetter(word[at + 3])); });
}

// The one ɔː is the cure vowel when one word spells it and no word may spell ɔː otherwise:
// sure thing, poor man; not Agriculture Organization, arboriculture.
bool cureVowelWord(const std::string& caption) {
  int cure = 0, other = 0;
  size_t start = 0;
  while (start <= caption.size()) {
    const size_t end = std::min(caption.find_first_of(" -", start), caption.size());
    const std::string word = caption.substr(start, end - start);
    cure += spellsCureVowel(word);
    other += maySpellOpenO(word);
    start = end + 1;
  }
  return cure == 1 && other == 0;
}

void printCureVowel(const std::string& word, std::u16string& s) {
  const size_t at = s.find(u"ɔː");
  if (at == std::u16string::npos || s.find(u"ɔː", at + 2) != std::u16string::npos)
    return;  // one only
  if (cureVowelWord(word)) s.replace(at, 2, u"uə");
}

// A j the machine hears as a vowel i before ə: million ˈmiljən, canyon ˈkænjən, onion ˈʌnjən.
void printPalatalGlide(const std::string& word, std::u16string& s) {
  std::u16string_view heard;
  for (const char* p : {"llion", "lliant", "lliance", "lliard", "lliam"})
    if (word.find(p) != std::string::npos) heard = u"liə";
  for (size_t at = word.find("ny"); heard.empty() && at != std::string::npos;
       at = word.find("ny", at + 1))
    if (at + 2 < word.size() && isVowelLetter(word[at + 2])) heard = u"niə";
  const size_t nion = word.find("nion");
  if (heard.empty() && nion != std::string::npos && nion > 0 && isVowelLetter(word[nion - 1]))
    heard = u"niə";
  if (heard.empty()) return;
  const size_t at = s.rfind(heard);
  if (at != std::u16string::npos) s[at + 1] = u'j';
}

void replaceAll(std::u16string& s, std::u16string_view from, std::u16string_view to) {
  for (size_t at = s.find(from); at != std::u16string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

// one, none and the words made with them have the strut vowel.
void printStrutInOne(const std::string& word, std::u16string& s) {
  if (word.find("none") != std::string::npos) replaceAll(s, u"nɔn", u"nʌn");
  if (word.find("one") != std::string::npos) replaceAll(s, u"wɔn", u"wʌn");
}

// No r where the letters write none: the machine links aw to a vowel ending with one
// (drawing ˈdrɔːriŋ), the books print drawing ˈdrɔːiŋ, sawing ˈsɔːiŋ.
void dropIntrusiveR(const std::string& word, std::u16string& s) {
  bool awBeforeVowel = false;
  for (size_t i = 0; i + 2 < word.size(); ++i)
    awBeforeVowel =
        awBeforeVowel || (word[i] == 'a' && word[i + 1] == 'w' && isVowelLetter(word[i + 2]));
  if (!awBeforeVowel) return;
  replaceAll(s, u"ɔːri", u"ɔːi");
  replaceAll(s, u"ɔːrə", u"ɔːə");
}

// The ending -sis is never stressed: analysis əˈnæləsis, paralysis pəˈræləsis.
void unstressSisEnding(const std::string& word, std::u16string& s) {
  if (endsWith(word, std::string_view("sis")) && endsWith(s, u"ˌsis")) s.erase(s.size() - 4, 1);
}

// A place name in -chester ends weak: Winchester ˈwintʃistə, Rochester ˈrɔtʃistə, where the
// machine says the chest of the word chest.
void weakenChesterEnding(const std::string& word, std::u16string& s) {
  if (endsWith(word, std::string_view("chester")) && endsWith(s, u"tʃestə")) s[s.size() - 4] = u'i';
}

// ob- right before the stressed syllable is weak: obtain əbˈtein, observe əbˈzəːv (but
// observation ˌɔbzəˈveiʃn keeps its vowel).
void reduceObPrefix(const std::string& word, std::u16string& s) {
  if (startsWith(word, "ob") && s.compare(0, 3, u"ɔbˈ") == 0) s[0] = u'ə';
}

// A schwa the machine elides between a consonant and r where the letters keep a vowel and the
// books print it: camera ˈkæmərə, average ˈævəridʒ, favourite ˈfeivərit (every ˈevri keeps
// none). Only pairs that cannot begin a syllable (m+r, v+r ...) are such places; tr, pr, fr ...
// are clusters. Single words only, and not after a prefix (unreal, enrol).
void restoreElidedSchwa(const std::string& word, std::u16string& s) {
  struct Place {
    char16_t sound;
    const char* letters;
  };
  static constexpr Place kPlaces[] = {
      {u'm', "m"}, {u'n', "n"}, {u'v', "v"}, {u'ð', "th"}, {u'l', "l"}};
  if (word.find_first_of(" -") != std::string::npos) return;
  for (const char* prefix : {"un", "in", "en", "con", "non"})
    if (startsWith(word, prefix)) return;
  for (const Place& p : kPlaces) {
    const size_t at = s.find(std::u16string{p.sound, u'r'});
    if (at == std::u16string::npos) continue;
    bool spelled = false;
    for (const char* v : {"er", "or", "ar", "our", "ur"}) {
      const std::string letters = std::string(p.letters) + v;
      const size_t found = word.find(letters);
      const size_t after = found + letters.size();
      spelled = spelled || (found != std::string::npos && after < word.size() &&
                            isVowelLetter(word[after]) && word[after] != 'y');
    }
    if (spelled) s.insert(at + 1, 1, u'ə');
  }
}

// a or au before l and t, s, d or z is the long vowel of thought, as the books print it where
// the machine says it short: salt sɔːlt, false fɔːls, fault fɔːlt, alter ˈɔːltə.
void lengthenVowelBeforeLt(const std::string& word, std::u16string& s) {
  if (word.find_first_of(" -") != std::string::npos) return;
  bool spelled = false;
  for (size_t l = word.find('l', 1); l != std::string::npos && l + 1 < word.size();
       l = word.find('l', l + 1))
    spelled = spelled || (std::string_view("tsdz").find(word[l + 1]) != std::string_view::npos &&
                          (word[l - 1] == 'a' || (l >= 2 && word.compare(l - 2, 2, "au") == 0)));
  if (!spelled) return;
  for (size_t at = s.find(u"ɔl"); at != std::u16string::npos; at = s.find(u"ɔl", at + 2))
    if (at + 2 < s.size() &&
        std::u16string_view(u"tsdzθ").find(s[at + 2]) != std::u16string_view::npos)
      s.insert(at + 1, 1, u'ː');
}

struct WordFix {
  const char* stem;  // the caption starts with it
  const char16_t* heard;
  const char16_t* printed;
};

constexpr WordFix kWordFixes[] = {
    {"advanc", u"væn", u"vɑːn"}, {"absorb", u"sɔːb", u"zɔːb"}, {"empire", u"ˈimp", u"ˈemp"},
    {"abnorm", u"əb", u"æb"},    {"anxious", u"ŋʃ", u"ŋkʃ"},   {"authorit", u"əˈθ", u"ɔːˈθ"},
};

void fixSingleWords(const std::string& word, std::u16string& s) {
  for (const WordFix& f : kWordFixes) {
    if (!startsWith(word, f.stem)) continue;
    const size_t at = s.find(f.heard);
    if (at != std::u16string::npos) s.replace(at, std::u16string_view(f.heard).size(), f.printed);
  }
}

std::u16string_view withoutLeadingMark(std::u16string_view s) {
  if (!s.empty() && isMark(s.front())) s.remove_prefix(1);
  return s;
}

}  // namespace

std::u16string printWordsAsTheirHeadwords(std::u16string phrase,
                                          const std::vector<WordReading>& words) {
  size_t from = 0;
  for (const WordReading& w : words) {
    const std::u16string_view heard = withoutLeadingMark(w.heard);
    const std::u16string_view printed = withoutLeadingMark(w.printed);
    if (heard.empty()) continue;
    const size_t at = phrase.find(heard, from);
    if (at == std::u16string::npos) continue;
    if (heard != printed) phrase.replace(at, heard.size(), printed);
    from = at + printed.size();
  }
  return phrase;
}

std::u16string adjustForSpelling(std::string_view caption, std::u16string symbols) {
  const std::string word = lowerCase(caption);
  printWeakEndings(word, symbols);
  printWeakPrefix(word, symbols);
  reduceObPrefix(word, symbols);
  restoreElidedSchwa(word, symbols);
  keepPrefixNasal(word, symbols);
  printCureVowel(word, symbols);
  printPalatalGlide(word, symbols);
  printStrutInOne(word, symbols);
  dropIntrusiveR(word, symbols);
  unstressSisEnding(word, symbols);
  weakenChesterEnding(word, symbols);
  lengthenVowelBeforeLt(word, symbols);
  fixSingleWords(word, symbols);
  return symbols;
}

std::u16string withMainStressLast(std::u16string symbols) {
  const size_t last = symbols.find_last_of(u"ˈˌ");
  if (last == std::u16string::npos) return symbols;
  for (size_t i = 0; i < last; ++i)
    if (symbols[i] == u'ˈ') symbols[i] = u'ˌ';
  symbols[last] = u'ˈ';
  return symbols;
}

std::u16string withLinkingR(std::u16string phrase, const std::vector<WordReading>& words,
                            const std::vector<std::string>& spellings) {
  const auto isVowelLetter = [](char c) {
    return std::string_view("aeiouAEIOU").find(c) != std::string_view::npos;
  };
  size_t from = 0;
  for (size_t i = 0; i < words.size() && i < spellings.size(); ++i) {
    const std::u16string_view printed = withoutLeadingMark(words[i].printed);
    if (printed.empty()) continue;
    const size_t at = phrase.find(printed, from);
    if (at == std::u16string::npos) continue;
    from = at + printed.size();
    const std::string& spelled = spellings[i];
    const bool endsInR = (!spelled.empty() && (spelled.back() == 'r' || spelled.back() == 'R')) ||
                         (spelled.size() > 2 && spelled.compare(spelled.size() - 2, 2, "re") == 0);
    // Only the vowels an r closes link with it: ə, ɑː, ɔː, əː, ɛə, iə, uə (not pre's iː).
    const bool linkingVowel =
        printed.back() == u'ə' || (printed.size() > 1 && printed.back() == u'ː' &&
                                   std::u16string_view(u"ɑɔə").find(printed[printed.size() - 2]) !=
                                       std::u16string_view::npos);
    if (!endsInR || !linkingVowel || i + 1 >= spellings.size() || spellings[i + 1].empty())
      continue;
    // The next part opens with a vowel as it is said (hour), else as it is spelled.
    const std::u16string_view next = withoutLeadingMark(words[i + 1].printed);
    if (next.empty() ? !isVowelLetter(spellings[i + 1][0])
                     : std::u16string_view(u"aeiouæɑɒɔəɛɜʌʊɪ").find(next.front()) ==
                           std::u16string_view::npos)
      continue;
    // Said before a vowel: the r opens no syllable of its own, so it goes before the mark.
    phrase.insert(from, 1, u'r');
    ++from;
  }
  return phrase;
}

}  // namespace quorvi::dictbuild
