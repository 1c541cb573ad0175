#pragma once
// Corrections of a machine transcription that need the spelling: where espeak-ng's RP voice
// departs from what British learner's dictionaries print and the letters tell which syllable
// or which sound it is. Each step is one convention:
//   weak endings and prefixes  ability əˈbiliti, private ˈpraivit, careless ˈkɛəlis, actress
//   ˈæktris,
//                              escape iˈskeip
//   reduced vowels             column ˈkɔləm, handsome ˈhænsəm, obtain əbˈtein
//   elided schwa               camera ˈkæmərə, average ˈævəridʒ
//   n before k/ɡ at a prefix   include inˈkluːd, conclude kənˈkluːd (concrete ˈkɔŋkriːt stays)
//   the cure vowel             sure ʃuə, poor puə, tour tuə, during ˈdjuəriŋ (door dɔː stays)
//   j after l and n            million ˈmiljən, canyon ˈkænjən, opinion əˈpinjən
//   one with the strut vowel   one wʌn, none nʌn, someone ˈsʌmwʌn
//   no r the letters lack      drawing ˈdrɔːiŋ, sawing ˈsɔːiŋ (storing ˈstɔːriŋ keeps it)
//   -sis unstressed            analysis əˈnæləsis
//   -chester weak              Winchester ˈwintʃistə
//   single words               advance ədˈvɑːns, absorb əbˈzɔːb, empire ˈempaiə, anxious ˈæŋkʃəs
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::dictbuild {

// `symbols` is a normalised transcription of `caption`; returns it with the corrections above.
std::u16string adjustForSpelling(std::string_view caption, std::u16string symbols);

// How a word of a phrase is said alone, as the machine gives it and as its headword's row
// prints it.
struct WordReading {
  std::u16string heard;
  std::u16string printed;
};

// The phrase's transcription with each word printed as its own headword prints it: business
// card ˈbiznəsˈkɑːd -> ˈbiznisˈkɑːd. `words` are the phrase's words in order; a word whose
// sounds cannot be found in the phrase is left as it is. Stress marks at a word's start are
// the phrase's own.
std::u16string printWordsAsTheirHeadwords(std::u16string phrase,
                                          const std::vector<WordReading>& words);

// A compound written with hyphens, its parts said as words ("ˈhændzˈɔn"), is printed as a
// learner's dictionary prints one: the last stress is the main one, those before it secondary
// (ˌhændzˈɔn, ˌtwentiˈwʌn, ˌwelˈnəun).
std::u16string withMainStressLast(std::u16string symbols);

// A part spelled with a final r said before a part that opens with a vowel links with its r,
// as in a word: matter-of-fact ˌmætərəvˈfækt, four-in-hand. `words` and `spellings` are the
// parts in order, as for printWordsAsTheirHeadwords.
std::u16string withLinkingR(std::u16string phrase, const std::vector<WordReading>& words,
                            const std::vector<std::string>& spellings);

}  // namespace quorvi::dictbuild
