// The American transcriptions a dictionary stores beside the specified columns: one per row,
// in today's IPA as learners' dictionaries print American English (ˈwɑːtər), and whether
// espeak-ng's American voice made it (no source had the word).
#pragma once

#include <string>
#include <vector>

#include <QString>

class PhoneticDictionary;

struct AmericanTranscription {
  QString ipa;  // empty: the row has none
  bool byMachine = false;
};

// One per row of `utf8Headword`, in the order PhoneticDictionary::entryText gives the rows;
// none when the dictionary is closed, has no such headword, or stores no American
// transcriptions (a dictionary built before it did).
std::vector<AmericanTranscription> americanTranscriptions(const PhoneticDictionary& dictionary,
                                                          const std::string& utf8Headword);
