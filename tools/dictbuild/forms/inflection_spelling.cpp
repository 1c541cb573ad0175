#include "inflection_spelling.h"

#include <set>

namespace quorvi::dictbuild {
namespace {

bool isVowelLetter(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int vowelGroups(const std::string& w) {
  int groups = 0;
  bool inGroup = false;
  for (size_t i = 0; i < w.size(); ++i) {
    // y is a vowel after a consonant (happy, dry), a consonant after a vowel (layer, day).
    bool v = isVowelLetter(w[i]) || (w[i] == 'y' && i > 0 && !isVowelLetter(w[i - 1]));
    if (v && !inGroup) ++groups;
    inGroup = v;
  }
  // A final silent e ("make") does not make a syllable.
  if (groups > 1 && endsWith(w, "e") && !endsWith(w, "ee") && !isVowelLetter(w[w.size() - 2]))
    --groups;
  return groups;
}

// One-syllable words ending consonant-vowel-consonant double the consonant: stop -> stopped.
bool doublesFinal(const std::string& w) {
  if (w.size() < 3 || vowelGroups(w) != 1) return false;
  char last = w.back(), mid = w[w.size() - 2], before = w[w.size() - 3];
  if (isVowelLetter(last) || last == 'w' || last == 'x' || last == 'y') return false;
  if (!isVowelLetter(mid) || isVowelLetter(before)) return false;
  if (before == 'q' || (w.size() >= 4 && w[w.size() - 4] == 'q')) return true;  // quit -> quitting
  return true;
}

bool consonantY(const std::string& w) {
  return w.size() >= 2 && w.back() == 'y' && !isVowelLetter(w[w.size() - 2]);
}

std::string sibilantPlural(const std::string& w) {
  if (endsWith(w, "s") || endsWith(w, "x") || endsWith(w, "z") || endsWith(w, "ch") ||
      endsWith(w, "sh"))
    return w + "es";
  if (consonantY(w)) return w.substr(0, w.size() - 1) + "ies";
  return w + "s";
}

std::string withSuffixE(const std::string& w, const std::string& suffix) {
  // suffix starts with 'e': "ed", "er", "est"
  if (endsWith(w, "e")) return w + suffix.substr(1);
  if (consonantY(w)) return w.substr(0, w.size() - 1) + "i" + suffix;
  if (doublesFinal(w)) return w + w.back() + suffix;
  return w + suffix;
}

// A longer word ending in one vowel and one consonant doubles it where the last syllable is
// stressed (commit -> committed, befit -> befitted) and, in British spelling, after l
// (travel -> travelled); which of the two spellings is real only a word list can say.
bool mayDoubleFinal(const std::string& w) {
  if (w.size() < 4 || vowelGroups(w) < 2) return false;
  const char last = w.back();
  return !isVowelLetter(last) && std::string("hwxy").find(last) == std::string::npos &&
         isVowelLetter(w[w.size() - 2]) && !isVowelLetter(w[w.size() - 3]);
}

bool endsInSingleO(const std::string& w) {
  return endsWith(w, "o") && !endsWith(w, "oo");
}

}  // namespace

std::string pluralOf(const std::string& noun) {
  // man -> men, woman -> women, fireman -> firemen; not human, German, talisman ...
  static const std::set<std::string> manPlurals = {"human",    "german",  "roman",  "shaman",
                                                   "talisman", "caiman",  "cayman", "ottoman",
                                                   "dolman",   "doberman"};
  if (endsWith(noun, "man") && !manPlurals.count(noun))
    return noun.substr(0, noun.size() - 3) + "men";
  return sibilantPlural(noun);
}

std::string thirdPersonOf(const std::string& verb) {
  if (endsWith(verb, "o") && !endsWith(verb, "oo")) return verb + "es";  // goes, echoes
  return sibilantPlural(verb);
}

std::string pastOf(const std::string& verb) {
  return withSuffixE(verb, "ed");
}

std::string presentParticipleOf(const std::string& verb) {
  if (endsWith(verb, "ie")) return verb.substr(0, verb.size() - 2) + "ying";
  if (endsWith(verb, "e") && !endsWith(verb, "ee") && !endsWith(verb, "ye") &&
      !endsWith(verb, "oe") && verb.size() > 2)
    return verb.substr(0, verb.size() - 1) + "ing";
  if (doublesFinal(verb)) return verb + verb.back() + "ing";
  return verb + "ing";
}

std::string comparativeOf(const std::string& adjective) {
  int groups = vowelGroups(adjective);
  if (groups == 1 || (groups == 2 && consonantY(adjective))) return withSuffixE(adjective, "er");
  return {};
}

std::string superlativeOf(const std::string& adjective) {
  int groups = vowelGroups(adjective);
  if (groups == 1 || (groups == 2 && consonantY(adjective))) return withSuffixE(adjective, "est");
  return {};
}

std::vector<std::string> spellingVariants(WordForm form, const std::string& lemma) {
  switch (form) {
    case WordForm::Plural:
      if (endsInSingleO(lemma)) return {lemma + "s", lemma + "es"};  // radios, potatoes
      return {pluralOf(lemma)};
    case WordForm::ThirdPerson:
      if (endsInSingleO(lemma)) return {lemma + "es", lemma + "s"};
      return {thirdPersonOf(lemma)};
    case WordForm::Past:
      if (mayDoubleFinal(lemma)) return {pastOf(lemma), lemma + lemma.back() + "ed"};
      return {pastOf(lemma)};
    case WordForm::PresentParticiple:
      if (mayDoubleFinal(lemma)) return {presentParticipleOf(lemma), lemma + lemma.back() + "ing"};
      return {presentParticipleOf(lemma)};
    case WordForm::Comparative:
      return {comparativeOf(lemma)};
    case WordForm::Superlative:
      return {superlativeOf(lemma)};
  }
  return {};
}

}  // namespace quorvi::dictbuild
