#pragma once
// Checks a built dictionary the way the program will read it.
#include <ostream>
#include <string>

namespace quorvi::dictbuild {

struct VerifyReport {
  bool ok = false;
  long long rows = 0;
  long long badTranscriptions = 0;
  long long emptyCaptions = 0;
};

// Opens and keys the file, runs PRAGMA integrity_check, counts rows, checks that every
// stored transcription is readable by the phonetic search and that the headword lookup uses
// an index, and that every word-form label names a headword. With a spoken frequency list
// (subtlex index.json), also reports how much of its top 5,000 and top 20,000 words are
// headwords. Writes a report to `out`; with `firstLinesPath`, the first row a learner opens for
// each of the 20,000 most heard words to that file, one a line.
VerifyReport verifyDictionary(const std::string& path, std::ostream& out,
                              const std::string& spokenListPath = {},
                              const std::string& firstLinesPath = {});

}  // namespace quorvi::dictbuild
