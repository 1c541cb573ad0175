#pragma once
// English word forms a dictionary of glosses may list a word under.
//
// The bases a regularly inflected English word may come from: "wanted" -> want, wante;
// "stopping" -> stop; "hours" -> hour; "bigger" -> big. Candidates only: the caller keeps
// those its word list knows.
#include <string>
#include <vector>

namespace quorvi::dictbuild {

std::vector<std::string> regularBaseCandidates(const std::string& word);

// The American spellings a British one may have: colour -> color, theatre -> theater,
// defence -> defense, realise -> realize (lower case in, candidates out; empty when none).
std::vector<std::string> americanSpellings(const std::string& word);

}  // namespace quorvi::dictbuild
