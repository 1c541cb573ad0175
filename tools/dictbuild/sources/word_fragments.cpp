#include "word_fragments.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <unordered_set>

#include "ascii_case.h"
#include "function_words.h"
#include "spoken_form_table.h"

namespace quorvi::dictbuild {
namespace {

// What is left of a contraction on either side of its apostrophe. "don" and "won" are words
// too, but in subtitles nearly always the pieces of don't and won't; "gon" is what subtitles
// that write "gon na" leave of gonna.
constexpr std::array<std::string_view, 25> kContractionPieces = {
    "s",     "t",    "m",    "d",     "ll",    "re",     "ve",     "don",     "didn",
    "doesn", "isn",  "wasn", "weren", "aren",  "couldn", "wouldn", "shouldn", "hasn",
    "haven", "hadn", "ain",  "mustn", "needn", "mightn", "gon"};

// Endings subtitles cut off their words ("go ing"); none is a word alone.
constexpr std::array<std::string_view, 6> kEndingPieces = {"ing", "ers", "ly", "ed", "est", "ness"};
// What subtitles leave of an ordinal number cut after its digits ("4th", "2nd", "3rd"): the
// list's "th" is nearly always that, though dictionaries give th (thorium) a row.
constexpr std::array<std::string_view, 3> kOrdinalEndings = {"th", "nd", "rd"};

bool hasVowelLetter(const std::string& word) {
  return std::any_of(word.begin(), word.end(), [](char c) {
    return std::string_view("aeiouyAEIOUY").find(c) != std::string_view::npos;
  });
}

bool isLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool isVowel(char c) {
  return std::string_view("aeiouAEIOU").find(c) != std::string_view::npos;
}

bool knownAnyCase(const std::string& word, const KnownWord& known) {
  return known(word) || known(lowerAscii(word));
}

// Contractions written without their apostrophe: "dont", "youre", "im".
const std::unordered_set<std::string>& contractionsWithoutApostrophe() {
  static const std::unordered_set<std::string> set = [] {
    std::unordered_set<std::string> s;
    auto addFrom = [&s](const std::vector<DictEntry>& entries) {
      for (const DictEntry& e : entries) {
        if (e.caption.find('\'') == std::string::npos) continue;
        std::string bare = lowerAscii(e.caption);
        bare.erase(std::remove(bare.begin(), bare.end(), '\''), bare.end());
        s.insert(bare);
      }
    };
    addFrom(functionWords());
    addFrom(spokenForms());
    return s;
  }();
  return set;
}

// No English word starts with an l before a consonant other than l or y: "ls", "ln", "lt"
// and "Ld" are "Is", "In", "It" and "I'd" with the capital I read as a small l.
bool startsWithMisreadI(const std::string& word) {
  if (word.size() < 2 || (word[0] != 'l' && word[0] != 'L')) return false;
  const char next = static_cast<char>(std::tolower(static_cast<unsigned char>(word[1])));
  return isLetter(next) && !isVowel(next) && next != 'l' && next != 'y';
}

// One I/l confusion undone gives a known word: "Weli" -> "Well", "Iittle" -> "little".
bool misreadOfKnownWord(const std::string& word, const KnownWord& known) {
  for (size_t i = 0; i < word.size(); ++i) {
    std::string fixed = word;
    if (word[i] == 'i' && i > 0 && word[i - 1] == 'l')
      fixed[i] = 'l';
    else if (word[i] == 'I' && i == 0)
      fixed[i] = 'l';
    else if (word[i] == 'l' && i == 0)
      fixed[i] = 'I';
    else
      continue;
    if (knownAnyCase(fixed, known)) return true;
  }
  return false;
}

}  // namespace

bool isContractionPiece(const std::string& word) {
  return std::find(kContractionPieces.begin(), kContractionPieces.end(), lowerAscii(word)) !=
         kContractionPieces.end();
}

FragmentKind classifyFragment(const std::string& word, const KnownWord& known) {
  if (isContractionPiece(word)) return FragmentKind::ContractionPiece;
  if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) {
        return isLetter(c) || c == '\'' || c == '-' || c == '.' ||
               static_cast<unsigned char>(c) >= 0x80;
      }))
    return FragmentKind::NotSpelling;
  if (std::find(kOrdinalEndings.begin(), kOrdinalEndings.end(), word) != kOrdinalEndings.end())
    return FragmentKind::EndingPiece;
  // "Il" is the "ll" of "I'll" with its l read as a capital I, whatever "il" may be.
  if (word == "Il" || word == "IL") return FragmentKind::MisreadLetters;
  if (knownAnyCase(word, known)) return FragmentKind::Word;
  if (word.size() == 1) return FragmentKind::NotSpelling;
  if (contractionsWithoutApostrophe().count(lowerAscii(word))) return FragmentKind::LostApostrophe;
  if (startsWithMisreadI(word) || misreadOfKnownWord(word, known))
    return FragmentKind::MisreadLetters;
  if (!hasVowelLetter(word)) return FragmentKind::NoVowel;
  if (std::find(kEndingPieces.begin(), kEndingPieces.end(), lowerAscii(word)) !=
      kEndingPieces.end())
    return FragmentKind::EndingPiece;
  return FragmentKind::Word;
}

const char* describeFragment(FragmentKind kind) {
  switch (kind) {
    case FragmentKind::Word:
      return "word";
    case FragmentKind::ContractionPiece:
      return "piece of a contraction";
    case FragmentKind::LostApostrophe:
      return "contraction without its apostrophe";
    case FragmentKind::MisreadLetters:
      return "subtitle misreading of I and l";
    case FragmentKind::NotSpelling:
      return "not a spelling";
    case FragmentKind::NoVowel:
      return "no vowel: an abbreviation";
    case FragmentKind::EndingPiece:
      return "an ending cut off its word";
  }
  return "word";
}

}  // namespace quorvi::dictbuild
