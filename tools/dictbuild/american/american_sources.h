#pragma once
// The two readings of an American pronunciation into sounds (american_phones.h): CMUdict's
// ARPAbet, and the IPA espeak-ng's American voice (en-us) writes for words no source has.
#include <string_view>
#include <vector>

#include "american_phones.h"

namespace quorvi::dictbuild {

// "W AO1 T ER0": the sounds of one word; empty when a name is no ARPAbet sound.
std::vector<AmericanPhone> phonesFromArpabet(std::string_view arpabet);

// espeak-ng's IPA ("wˈɔːɾɚ", words parted by spaces): its tap and glottal stop as t, its
// syllabic consonants after ə, its stress marks given to the vowel after them; empty when a
// symbol is no sound of American English.
std::vector<AmericanPhone> phonesFromEspeak(std::string_view ipa);

}  // namespace quorvi::dictbuild
