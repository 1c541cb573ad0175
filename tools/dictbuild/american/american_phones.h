#pragma once
// An American pronunciation as a row of sounds, the form both of its sources are read into
// (CMUdict's ARPAbet, espeak-ng's en-us IPA), and its printing in the one convention the
// dictionary stores: the IPA that learners' dictionaries print for American English.
//
// The convention: ɑː for the vowels of lot and father, ɔː for thought, æ, e, ɪ, ʊ, ʌ, ə, iː,
// uː, eɪ, aɪ, ɔɪ, oʊ, aʊ; r written wherever it is said (car kɑːr, water ˈwɔːtər), the
// r-coloured vowels as ɜːr (stressed) and ər (weak); the vowels before r as the books print
// them (near nɪr, square sker, cure kjʊr, north nɔːrθ); weak i and u at the end of a word or
// before a vowel (happy ˈhæpi); the flapped t written t; a stress mark at the start of the
// stressed syllable (in a word of one syllable too, as the British transcriptions print it),
// a secondary one only before the primary; each word of a phrase printed as it is alone, a
// space between.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

struct AmericanPhone {
  // An ARPAbet name (AA, AE ... ZH), upper case, without stress.
  std::string name;
  // Vowels: 0 weak, 1 primary, 2 secondary. Consonants: -1.
  int stress = -1;
  bool wordStart = false;  // the first sound of a word of a phrase
};

// True for the ARPAbet vowels.
bool isArpabetVowel(const std::string& name);
// True for a name of ARPAbet's 39 sounds.
bool isArpabetSound(const std::string& name);

// The sounds printed in the convention above; empty when there is no vowel.
std::string printAmerican(const std::vector<AmericanPhone>& phones);

}  // namespace quorvi::dictbuild
