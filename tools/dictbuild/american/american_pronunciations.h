#pragma once
// The American stage: each row to write gets its American transcription (american_phones.h
// says how it is printed): CMUdict's, where it has the word (a phrase's or compound's words
// each), else what espeak-ng's American voice makes, marked as made by machine.
#include <cstddef>
#include <vector>

#include "cmudict_reader.h"
#include "espeak_transcriber.h"
#include "row_pronunciations.h"
#include "skip_report.h"

namespace quorvi::dictbuild {

struct AmericanCounts {
  size_t fromCmudict = 0;
  size_t byMachine = 0;
  size_t none = 0;
};

// `cmudict` may be null (built without it): every row is then espeak-ng's. A headword of
// several rows (a heteronym, a weak form) gives each the CMUdict pronunciation nearest its
// British one; a headword of one row, CMUdict's first.
AmericanCounts pronounceAmerican(std::vector<PronouncedRow>& rows, const CmuDictionary* cmudict,
                                 EspeakTranscriber& americanVoice, SkipReport& skipped);

}  // namespace quorvi::dictbuild
