#pragma once
// Entries of the spoken frequency list that are not words. Subtitles are cut into words at
// apostrophes ("didn" and "t" of "didn't", "ll" of "I'll") and were partly read by character
// recognition, which takes a capital I for a small l and back ("ls" for "Is", "Weli" for
// "Well", "Iittle" for "little"), or lost apostrophes ("dont", "im").
#include <functional>
#include <string>

namespace quorvi::dictbuild {

enum class FragmentKind {
  Word,              // a word, or at least nothing recognised as a fragment
  ContractionPiece,  // "didn", "ll", "s": a piece of a contraction
  LostApostrophe,    // "dont", "youre": a contraction without its apostrophe
  MisreadLetters,    // "ls", "Weli", "Iittle": a known word with I and l mixed up
  NotSpelling,       // digits, a single letter that is no word, other marks
  NoVowel,           // "Pl", "Gs", "Rsvp": letters without a vowel, an abbreviation
  EndingPiece,       // "ing", "ers", "ly": an ending cut off its word
};

// Whether `word` is a known word in any source (case as listed, or lower case).
using KnownWord = std::function<bool(const std::string&)>;

// Classifies an entry of the spoken list. Known words are never fragments, except contraction
// pieces, which are listed as words by some sources ("isn" is not; "don" is, but the list's
// "don" is nearly always the piece of "don't").
FragmentKind classifyFragment(const std::string& word, const KnownWord& known);

inline bool isFragment(const std::string& word, const KnownWord& known) {
  return classifyFragment(word, known) != FragmentKind::Word;
}

const char* describeFragment(FragmentKind kind);

// "didn", "ll", "s", "gon" (of "gon na", any case): what subtitles leave of a contraction on one
// side of its apostrophe.
bool isContractionPiece(const std::string& word);

}  // namespace quorvi::dictbuild
