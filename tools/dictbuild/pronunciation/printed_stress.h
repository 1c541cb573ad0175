#pragma once
// Stress marks as British learner's dictionaries print them: a secondary stress only before
// the main one (holiday ˈhɔlidei, not espeak-ng's ˈhɔliˌdei), a word said alone always with a
// main stress (what ˈwɔt, not ˌwɔt), and a full vowel that opens a word two or more syllables
// before the main stress marked as secondary (ˌkɔnvəˈseiʃən, ˌvaiəˈlin).
#include <string>

namespace quorvi::dictbuild {

// `symbols` in the stored notation, with its marks printed as above. `singleWord` is false for
// a phrase, whose words are no longer told apart: its marks before the last main stress stay.
std::u16string withPrintedStress(std::u16string symbols, bool singleWord);

}  // namespace quorvi::dictbuild
