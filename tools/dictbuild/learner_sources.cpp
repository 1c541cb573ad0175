#include "learner_sources.h"

#include "cedict_reader.h"

namespace quorvi::dictbuild {
namespace {

void loadNames(const std::string& path, std::unordered_set<std::string>& out, std::ostream& log) {
    std::string error;
    if (!path.empty() && !loadNameList(path, out, error))
        log << "build: optional source unreadable: " << error << "; its names are left out\n";
}

}  // namespace

void loadLearnerSources(const OptionalSourceFiles& files, const BritishWordList* british, LearnerSources& out,
                        std::ostream& log) {
    std::string error;
    if (!files.spokenFrequencies.empty() && !loadSpokenFrequencies(files.spokenFrequencies, out.spoken, error)) {
        log << "build: optional source unreadable: " << error << "; no headwords are taken from the spoken list\n";
        out.spoken = {};
    }
    std::vector<CedictEntry> cedict;
    error.clear();
    if (!files.cedict.empty() && !loadCedict(files.cedict, cedict, error))
        log << "build: optional source unreadable: " << error << "; names get no Chinese transliteration\n";
    out.cedictNames = CedictNames(cedict);
    loadNames(files.maleNames, out.givenNames.male, log);
    loadNames(files.femaleNames, out.givenNames.female, log);
    out.british = british;
}

void addHeardWords(std::vector<DictEntry>& entries, const OptionalSourceFiles& files, SkipReport& skipped,
                   std::ostream& log) {
    const BritishWordList british = britishWordList();
    for (const std::string& problem : british.problems())
        log << "build: optional source missing: " << problem << "; its names and places are left out\n";
    LearnerSources sources;
    loadLearnerSources(files, &british, sources, log);
    log << describeLearnerHeadwords(addLearnerHeadwords(entries, sources, skipped)) << "\n";
}

std::string describeLearnerHeadwords(const LearnerHeadwordCounts& c) {
    return "heard words added: " + std::to_string(c.added()) + " (spoken forms and contractions " +
           std::to_string(c.spokenForms) + ", given names " + std::to_string(c.givenNames) + ", family names " +
           std::to_string(c.familyNames) + ", places " + std::to_string(c.places) +
           ", parts of names " + std::to_string(c.nameParts) +
           ", plurals of capitalised words " + std::to_string(c.plurals) + ", by Chinese equivalents " +
           std::to_string(c.chinese) + "); spoken-list fragments refused " + std::to_string(c.fragments) +
           ", words no source explains " + std::to_string(c.unexplained);
}

}  // namespace quorvi::dictbuild
