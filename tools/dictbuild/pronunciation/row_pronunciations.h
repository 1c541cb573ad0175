#pragma once
// The pronunciation stage: the rows to write, in the order stage's order, each headword with its
// transcription in the stored notation (an imported one when readable, else espeak-ng's,
// corrected where the spelling tells) and one row per common pronunciation, each with the
// explanation lines that belong to it.
#include <cstddef>
#include <string>
#include <vector>

#include "dict_entry.h"
#include "espeak_transcriber.h"
#include "skip_report.h"

namespace quorvi::dictbuild {

struct PronouncedRow {
  std::string caption;
  std::string phonetic;  // stored notation
  std::string explain;   // lines joined by "<br/>"
  // The American transcription (american/american_pronunciations.h), in today's IPA; empty
  // when none could be made. By espeak-ng's American voice where no source has the word.
  std::string american;
  bool americanByMachine = false;
  // The senses of an abbreviation said as a word that are read letter by letter (DictEntry::
  // letterReadLines): the American stage reads the spelling too, not the word's reading.
  bool spelledOut = false;
  // The word a spoken form or abbreviation stands for ("Fr": Father, "Dr": doctor), whose
  // American reading the row takes where it is nearer the British one than the headword's own;
  // empty for any other row.
  std::string saidAs = {};
};

// The rows of `entries` taken in `order`; what is left out, or read otherwise, goes to
// `skipped`. `headwords` counts the entries that gave a row.
std::vector<PronouncedRow> pronounceRows(const std::vector<DictEntry>& entries,
                                         const std::vector<size_t>& order,
                                         EspeakTranscriber& espeak, SkipReport& skipped,
                                         size_t& headwords);

}  // namespace quorvi::dictbuild
