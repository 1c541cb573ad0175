#pragma once
// English word forms a dictionary of glosses may list a word under.
//
// The bases a regularly inflected English word may come from: "wanted" -> want (verb),
// "stopping" -> stop (verb), "hours" -> hour (noun or verb), "bigger" -> big (adjective; a
// "chopper" is no comparative of chop). Candidates only: the caller keeps those its word
// list knows with that part of speech.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

struct BaseCandidate {
  std::string base;
  std::string partsOfSpeech;  // WordNet letters the base must have for the form to be one of it
};

std::vector<BaseCandidate> regularBaseCandidates(const std::string& word);

// The American spellings a British one may have: colour -> color, theatre -> theater,
// defence -> defense, realise -> realize (lower case in, candidates out; empty when none).
std::vector<std::string> americanSpellings(const std::string& word);

}  // namespace quorvi::dictbuild
